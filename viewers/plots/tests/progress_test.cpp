// Cancel in the progress display stops a page where it is and says so.
#include "crv/viewers/plot_builders.h"

#include <gtest/gtest.h>

using namespace crv::common;
using namespace crv::viewers;

namespace {

class CancelAfter : public ProgressDisplay {
public:
    explicit CancelAfter(int updates) : left_(updates) {}
    void Initialize(const std::string&) override {}
    void MaxValue(std::int32_t v) override { max = v; }
    void Value(std::int32_t v) override {
        last = v;
        ++updates;
        if (left_ > 0) --left_;
    }
    bool Canceled() const override { return left_ == 0; }
    void FinalMsg(const std::string&) override {}
    void Remove() override {}
    std::int32_t max = -1, last = -1;
    int updates = 0;

private:
    int left_;
};

TEST(Progress, CancelStopsEachPage) {
    const std::string data = CRV_PLOT_DATA;
    {
        CancelAfter p(2);
        auto plot = BeginPlot({750, 1000}, true, "");
        auto page = PlotSimulationFile(*plot, data, "Rcvr_Loc.plx", LevelBands{}, &p);
        ASSERT_TRUE(page) << page.error();
        EXPECT_TRUE(page->canceled);
        EXPECT_EQ(p.updates, 2);
        EXPECT_GT(p.max, 0);
    }
    {
        CancelAfter p(1000000);
        auto plot = BeginPlot({750, 1000}, true, "");
        auto page = PlotSimulationFile(*plot, data, "Rcvr_Loc.plx", LevelBands{}, &p);
        ASSERT_TRUE(page);
        EXPECT_FALSE(page->canceled);
        EXPECT_LE(p.updates, 21);  // about every twentieth of the points
    }
    {
        CancelAfter p(3);
        auto plot = BeginPlot({750, 1000}, true, "");
        EXPECT_TRUE(DrawLegend(*plot, LevelBands{}, &p));
        EXPECT_EQ(p.last, 3);
        EXPECT_EQ(p.max, 14);
    }
    {
        CancelAfter p(5);
        auto plot = BeginPlot({750, 1000}, true, "");
        auto page = PlotAntennaPattern(*plot, data, "LocHorU.ptx", true, true, &p);
        ASSERT_TRUE(page);
        EXPECT_TRUE(page->canceled);
        // No titles on a cancelled page.
        for (const Command& c : plot->picture().recording().commands)
            if (const auto* t = std::get_if<rec::Text>(&c)) {
                EXPECT_NE(t->text, "Corvane Plot");
            }
    }
}

}  // namespace
