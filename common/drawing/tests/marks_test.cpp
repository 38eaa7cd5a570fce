// Point markers: consecutive markers of one text share one run, 8 bytes a
// point; any other command or text starts a new run. The metafile gets the
// texts they stand for.
#include "crv/common/drawing/metafile_export.h"
#include "crv/common/drawing/primitives.h"
#include "recording_helpers.h"

#include <gtest/gtest.h>

namespace crv::common {
namespace {

TEST(PlotMark, RunsOfOneText) {
    auto plot = test::plotWithWindow(test::kPageWindow);
    DrawContext& dc = plot->picture();
    const std::size_t before = dc.recording().commands.size();
    for (int i = 0; i < 1000; ++i) PlotMark(dc, "MW@", i, 2 * i);
    SetTextColor(dc, 0xFF);
    PlotMark(dc, "MW@", 5, 5);
    PlotMark(dc, "1", 6, 6);
    const auto runs = test::commandsOf<rec::Marks>(dc);
    ASSERT_EQ(runs.size(), 3u);
    EXPECT_EQ(dc.recording().commands.size(), before + 4);
    ASSERT_EQ(runs[0].points.size(), 1000u);
    EXPECT_EQ(runs[0].points[999], (PagePoint{999, 1998}));
    EXPECT_EQ(runs[0].text, "MW@");
    EXPECT_EQ(runs[2].text, "1");
    static_assert(sizeof(PagePoint) == 8);
}

class CountingMetrics : public TextMetrics {
public:
    TextExtent measure(const Font&, double emPx, const std::u16string& text) const override {
        ++calls;
        TextExtent e;
        e.width = emPx * text.size();
        e.height = emPx;
        e.advances.assign(text.size(), emPx);
        return e;
    }
    mutable int calls = 0;
};

TEST(PlotMark, MetafileWritesOneTextPerCharacterAndPoint) {
    auto plot = BeginPlot({750, 1000}, true, std::string("Corvane\0m\0\0", 11));
    SetWorldWindow(*plot, test::kPageWindow);
    PlotMark(*plot->metafile(), "MW", 100, 100);
    PlotMark(*plot->metafile(), "MW", 200, 200);
    const PlotOutput out = EndPlot(std::move(plot));
    CountingMetrics metrics;
    const auto bytes = encodeEnhancedMetafile(*out.metafile, metrics);
    EXPECT_EQ(metrics.calls, 4);
    EXPECT_FALSE(bytes.empty());
}

}  // namespace
}  // namespace crv::common
