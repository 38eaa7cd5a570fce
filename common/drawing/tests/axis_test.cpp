#include "crv/common/conversions.h"
#include "crv/common/drawing/axis.h"
#include "crv/common/drawing/drawing_error.h"
#include "recording_helpers.h"

#include <gtest/gtest.h>

#include <cmath>

namespace crv::common {
namespace {

using test::commandsOf;

TEST(AxisLabelFormat, GroupsThousandsAndKeepsTheDecimals) {
    const struct {
        double v;
        int decimals;
        const char* text;
    } cases[] = {
        {1234.5, 2, "1,234.50"}, {-1234.5, 2, "-1,234.50"}, {0, 0, "0"},           {999.999, 2, "1,000.00"},
        {1234567, 0, "1,234,567"}, {100, 0, "100"},         {0.5, 1, "0.5"},       {-0.001, 2, "0.00"},
        {-5, 0, "-5"},             {12.345, 0, "12"},       {123456.75, 1, "123,456.8"},
    };
    for (const auto& c : cases) EXPECT_EQ(formatGrouped(c.v, c.decimals), c.text) << c.v;
}

// A panel 6 x 4 inches showing x 0..60 and y 100 (top) .. 0 (bottom): 10 data
// units per inch across and -25 per inch down. The world window makes one data
// unit 100 page units (x 0..75, y 0..100), so page points read off directly.
class Axes : public ::testing::Test {
protected:
    Axes() {
        panel.SheetRect = {1, 7, 1, 5};
        panel.DataRect = {0, 60, 100, 0};
        panel.ClipRect = {0.5f, 8.0f, 0.5f, 10.5f};
        SetPanelMapping(panel);
    }
    PanelRecord panel;
    std::unique_ptr<Plot> plot = test::plotWithWindow({0, 75, 0, 100});
    DrawContext& dc = plot->picture();
};

TEST_F(Axes, XAxisTicksLabelsAndTitle) {
    AxisRecord a;
    a.MinorStep = 20;
    a.MinorLength = 0.05f;
    a.LabelMode = 1;
    a.LabelHeight = "0.15";
    a.Title = "Range";
    PlotXAxis(dc, panel, a);
    // Ticks from y 0 down 0.05 in (-1.25); labels 0.02 in (0.5) below them;
    // the title 0.9 x 0.15 in (3.375) and 0.11 in (2.75) further.
    const std::vector<PagePoint> ticks{{0, 0}, {0, -125}, {2000, 0}, {2000, -125},
                                       {4000, 0}, {4000, -125}, {6000, 0}, {6000, -125}};
    EXPECT_EQ(test::pathPoints(dc), ticks);
    const auto texts = commandsOf<rec::Text>(dc);
    ASSERT_EQ(texts.size(), 5u);
    const char* labels[] = {"0", "20", "40", "60"};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(texts[i].text, labels[i]);
        EXPECT_EQ(texts[i].anchor, (PagePoint{2000 * i, -175}));
        EXPECT_EQ(texts[i].align, 3);
    }
    EXPECT_EQ(texts[4].text, "Range");
    EXPECT_EQ(texts[4].anchor, (PagePoint{3000, -788}));  // -787.5 to even
    const auto fonts = commandsOf<rec::SelectFont>(dc);
    EXPECT_EQ(fonts[fonts.size() - 2].font.height, -135);
    EXPECT_EQ(fonts.back().font.height, -150);
}

TEST_F(Axes, XAxisAboveWithAbsoluteDecimalLabels) {
    AxisRecord a;
    a.AxisX = 30;
    a.AxisY = 100;
    a.MajorStep = 15;
    a.MajorLength = 0.1f;
    a.MajorPlacement = 2;  // standing above the line
    a.MinorStep = 30;
    a.MinorLength = 0.04f;
    a.MinorPlacement = 0;
    a.LabelMode = 2;
    a.LabelSide = 2;
    a.Decimals = 2;
    a.LabelHeight = "0.2";
    panel.DataRect = {-30, 30, 100, 0};
    PlotXAxis(dc, panel, a);
    // Labels above the minor row (upper end y 100) by 0.06 in (1.5 units).
    const auto texts = commandsOf<rec::Text>(dc);
    ASSERT_EQ(texts.size(), 3u);
    EXPECT_EQ(texts[0].text, "0.00");    // 30 - 30
    EXPECT_EQ(texts[1].text, "30.00");   // -30 shown as its absolute value
    EXPECT_EQ(texts[2].text, "30.00");   // 30
    EXPECT_EQ(texts[1].anchor, (PagePoint{-3000, 10150}));
    EXPECT_EQ(texts[1].align, 5);
}

TEST_F(Axes, NoMinorStepMeansNoLabelsButStillATitle) {
    AxisRecord a;
    a.MajorStep = 10;
    a.MajorLength = 0.1f;
    a.LabelMode = 1;
    a.Title = "Azimuth";
    PlotXAxis(dc, panel, a);
    const auto texts = commandsOf<rec::Text>(dc);
    ASSERT_EQ(texts.size(), 1u);
    // The tick row ends 0.1 in (-2.5) below; the title 0.11 in (-2.75) beyond.
    EXPECT_EQ(texts[0].anchor, (PagePoint{3000, -525}));
}

TEST_F(Axes, YAxisLabelsLeftAndTurnedTitle) {
    AxisRecord a;
    a.MinorStep = 25;
    a.MinorLength = 0.1f;
    a.LabelMode = 1;
    a.LabelHeight = "0.15";
    a.Title = "Altitude";
    PlotYAxis(dc, panel, a);
    // Ticks from x 0 to -1 (0.1 in at 10 per inch); labels 0.04 in (0.4) left.
    const auto texts = commandsOf<rec::Text>(dc);
    ASSERT_EQ(texts.size(), 6u);
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(texts[i].anchor, (PagePoint{-140, 2500 * i}));
        EXPECT_EQ(texts[i].align, 7);
    }
    EXPECT_EQ(texts[2].text, "50");
    // Widest label "100": 3 x 0.55 x 0.15 in = 2.475; then 0.12 in (1.2).
    EXPECT_EQ(texts[5].anchor, (PagePoint{-508, 5000}));  // -507.5 to even
    EXPECT_EQ(texts[5].angleDeg, 90.0);
    EXPECT_EQ(texts[5].align, 5);

    auto other = test::plotWithWindow({0, 75, 0, 100});
    a.LabelSide = 2;
    PlotYAxis(other->picture(), panel, a);
    const auto right = commandsOf<rec::Text>(other->picture());
    EXPECT_EQ(right[0].anchor, (PagePoint{80, 0}));  // 0.08 in right of x1 = 0
    EXPECT_EQ(right[0].align, 1);
    EXPECT_EQ(right.back().angleDeg, 270.0);
}

// A row of labels too close for their width keeps every tick but labels only a
// regular subset, landing on the major ticks: panels 6 inches wide, labels
// 0.9 x 0.15 in high (digits 0.556 em).
TEST(AxisLabelThinning, CrowdedRowsLabelEveryMajorTick) {
    const struct {
        const char* what;
        float lo, hi, minor, major;
        std::vector<const char*> labels;  // down from -minor, then up from 0
    } cases[] = {
        // 2 nmi = 0.092 in apart, "64" needs about 0.18 in: every 10 nmi.
        {"VOR +-65", -65, 65, 2, 10, {"10", "20", "30", "40", "50", "60", "0", "10", "20", "30", "40", "50", "60"}},
        // 5 nmi = 0.094 in apart, "160" needs about 0.26 in: every 20 nmi.
        {"COM +-160", -160, 160, 5, 20,
         {"20", "40", "60", "80", "100", "120", "140", "160", "0", "20", "40", "60", "80", "100", "120", "140", "160"}},
        // 1 nmi = 0.2 in apart is room enough: every tick keeps its label.
        {"ILS 0..30", 0, 30, 1, 5, {"0", "1", "2", "3", "4", "5", "6", "7", "8", "9", "10", "11", "12", "13", "14", "15",
                                    "16", "17", "18", "19", "20", "21", "22", "23", "24", "25", "26", "27", "28", "29", "30"}},
    };
    for (const auto& c : cases) {
        PanelRecord panel;
        panel.SheetRect = {1.25f, 7.25f, 6.3f, 7.8f};
        panel.DataRect = {c.lo, c.hi, 100, 0};
        panel.ClipRect = {0.5f, 8.0f, 0.5f, 10.5f};
        SetPanelMapping(panel);
        auto plot = test::plotWithWindow(panel.ClipDataRect);
        AxisRecord a;
        a.MinorStep = c.minor;
        a.MinorLength = 0.06f;
        a.MajorStep = c.major;
        a.MajorLength = 0.12f;
        a.LabelMode = 2;
        a.LabelHeight = "0.15";
        PlotXAxis(plot->picture(), panel, a);
        std::vector<std::string> texts;
        for (const auto& t : commandsOf<rec::Text>(plot->picture())) texts.push_back(t.text);
        EXPECT_EQ(texts, std::vector<std::string>(c.labels.begin(), c.labels.end())) << c.what;
        const int minors = int(std::floor(-c.lo / c.minor + 1e-6)) + int(std::floor(c.hi / c.minor + 1e-6)) + (c.lo <= 0 ? 1 : 0);
        const int majors = int(std::floor(-c.lo / c.major + 1e-6)) + int(std::floor(c.hi / c.major + 1e-6)) + (c.lo <= 0 ? 1 : 0);
        EXPECT_EQ(commandsOf<rec::LineTo>(plot->picture()).size(), std::size_t(minors + majors)) << c.what;
    }
}

TEST(AxisLabelThinning, CrowdedVerticalRowIsThinnedToo) {
    // 20 ticks over 1 inch: labels 0.135 in high need every third or so; the
    // minors per major (4) give every fourth.
    PanelRecord panel;
    panel.SheetRect = {1, 7, 1, 2};
    panel.DataRect = {0, 60, 100, 0};
    panel.ClipRect = {0.5f, 8.0f, 0.5f, 10.5f};
    SetPanelMapping(panel);
    auto plot = test::plotWithWindow(panel.ClipDataRect);
    AxisRecord a;
    a.MinorStep = 5;
    a.MinorLength = 0.05f;
    a.MajorStep = 20;
    a.MajorLength = 0.1f;
    a.LabelMode = 1;
    a.LabelHeight = "0.15";
    PlotYAxis(plot->picture(), panel, a);
    std::vector<std::string> texts;
    for (const auto& t : commandsOf<rec::Text>(plot->picture())) texts.push_back(t.text);
    EXPECT_EQ(texts, (std::vector<std::string>{"0", "20", "40", "60", "80", "100"}));
}

TEST_F(Axes, TicksPerRowAreCapped) {
    AxisRecord a;
    a.AxisX = 30;
    a.MinorStep = 1e-6f;
    a.MinorLength = 0.05f;
    PlotXAxis(dc, panel, a);
    EXPECT_EQ(commandsOf<rec::LineTo>(dc).size(), 2u * kMaxTicksPerDirection);
}

TEST_F(Axes, LabelHeightThatIsNoNumberIsAnError) {
    AxisRecord a;
    a.LabelHeight = "abc";
    EXPECT_THROW(PlotXAxis(dc, panel, a), DrawingError);
    EXPECT_THROW(PlotYAxis(dc, panel, a), DrawingError);
}

}  // namespace
}  // namespace crv::common
