#include "crv/common/drawing/drawing_error.h"
#include "crv/common/drawing/service_volume_shapes.h"
#include "recording_helpers.h"

#include <gtest/gtest.h>

namespace crv::common {
namespace {

using test::commandsOf;
using test::pathPoints;

// Elevation views below: x 0..75 nmi and y 0..10000 ft, so one nmi is 100
// page units and one foot is one.
constexpr WorldRect kElevation{0, 75, 0, 10000};

TEST(PlotSectorProfile, LocalizerHasTheTwoDegreeFloor) {
    auto plot = test::plotWithWindow(kElevation);
    PlotSectorProfile(plot->picture(), 0, 1000, 4500, 18, 0.5, 1);
    // 0.5 + 1000 / 6076.115 / tan 2 = 5.2129 nmi; 4500 / 6076.115 / tan 7 =
    // 6.0317 nmi; tan 7 * 1 * 6076.115 = 746.05 ft.
    const std::vector<PagePoint> expected{{50, 0},     {521, 1000}, {1800, 1000}, {1800, 4500},
                                          {603, 4500}, {100, 746},  {50, 0}};
    EXPECT_EQ(pathPoints(plot->picture()), expected);
}

TEST(PlotSectorProfile, TlsGoesStraightOutAndRisesAtFifteenDegrees) {
    auto plot = test::plotWithWindow(kElevation);
    PlotSectorProfile(plot->picture(), 4, 0, 10000, 18, 0.5, 1);
    // 10000 / 6076.115 / tan 15 = 6.1422 nmi; tan 15 * 6076.115 = 1628.1 ft.
    const std::vector<PagePoint> expected{{50, 0},      {1800, 0}, {1800, 10000}, {614, 10000},
                                          {100, 1628}, {50, 0}};
    EXPECT_EQ(pathPoints(plot->picture()), expected);
}

TEST(PlotSectorPlan, OpenSectorStartsAndEndsAtTheCentre) {
    auto plot = test::plotWithWindow({-37.5f, 37.5f, -50, 50});
    PlotSectorPlan(plot->picture(), 0, 0, 270, 10, 18, 0);
    const auto lines = commandsOf<rec::LineTo>(plot->picture());
    ASSERT_EQ(lines.size(), 74u);  // 26 + 21 + 26 arc points and the way back
    EXPECT_EQ(commandsOf<rec::MoveTo>(plot->picture())[0].to, (PagePoint{3750, 5000}));
    EXPECT_EQ(lines[0].to, (PagePoint{4569, 4426}));  // r35 at -35 degrees
    EXPECT_EQ(lines[36].to, (PagePoint{5550, 5000}));  // r10 on the course line
    EXPECT_EQ(lines.back().to, (PagePoint{3750, 5000}));
}

TEST(PlotSectorPlan, InnerArcClosesTheBand) {
    auto plot = test::plotWithWindow({-37.5f, 37.5f, -50, 50});
    PlotSectorPlan(plot->picture(), 0, 0, 270, 10, 18, 2);
    const auto lines = commandsOf<rec::LineTo>(plot->picture());
    ASSERT_EQ(lines.size(), 146u);  // 37 inner, 73 outer, 35 inner, back
    EXPECT_EQ(commandsOf<rec::MoveTo>(plot->picture())[0].to, (PagePoint{3950, 5000}));
    EXPECT_EQ(lines.back().to, (PagePoint{3950, 5000}));
}

TEST(PlotVorProfile, FloorInFiveHundredStepsThenTheTop) {
    auto plot = test::plotWithWindow({-37.5f, 37.5f, 0, 20000});
    PlotVorProfile(plot->picture(), 5, 12000, -25, 25);
    const auto pts = pathPoints(plot->picture());
    ASSERT_EQ(pts.size(), 504u);
    EXPECT_EQ(pts[0], (PagePoint{1250, 500}));      // floor 1000 ft at 25 nmi
    EXPECT_EQ(pts[250], (PagePoint{3750, 0}));      // floor 0 over the VOR
    EXPECT_EQ(pts[501], (PagePoint{6250, 6000}));   // up to the top
    EXPECT_EQ(pts[502], (PagePoint{1250, 6000}));
    EXPECT_EQ(pts[503], pts[0]);
}

class Radials : public ::testing::Test {
protected:
    // 75 page units per nmi across, 100 down.
    std::unique_ptr<Plot> plot = test::plotWithWindow({-50, 50, -50, 50});
    DrawContext& dc = plot->picture();
};

TEST_F(Radials, BearingOutsideTheSectorDrawsNothing) {
    const std::size_t before = dc.recording().commands.size();
    PlotRadials(dc, false, 0.15, 180, 0, 10, 18, 90);
    EXPECT_EQ(dc.recording().commands.size(), before);
}

TEST_F(Radials, RadiusAndLabelByRelativeAngle) {
    struct Case {
        double bearing;
        PagePoint end;
        PagePoint label;
    };
    // Course 90. 0 off: r10 = 18, label 0.225 in (3 nmi) beyond. 5 off: r10.
    // 11 off: r35 = 10, label moved out to 12 degrees. 20 off: r35. 11 the
    // other way (349): label moved to 348.
    const Case cases[] = {
        {90, {5100, 5000}, {5325, 5000}},
        {95, {5095, 4843}, {0, 0}},
        {101, {4486, 4809}, {4704, 4742}},
        {110, {4455, 4658}, {0, 0}},
        {79, {4486, 5191}, {4704, 5258}},
    };
    for (const Case& c : cases) {
        auto p = test::plotWithWindow({-50, 50, -50, 50});
        DrawContext& d = p->picture();
        PlotRadials(d, false, c.label.x ? 0.15 : 0.0, c.bearing, 0, 10, 18, 90);
        const auto pts = pathPoints(d);
        ASSERT_EQ(pts.size(), 2u) << c.bearing;
        EXPECT_EQ(pts[0], (PagePoint{3750, 5000})) << c.bearing;
        EXPECT_EQ(pts[1], c.end) << c.bearing;
        const auto texts = commandsOf<rec::Text>(d);
        if (c.label.x) {
            ASSERT_EQ(texts.size(), 1u);
            EXPECT_EQ(texts[0].anchor, c.label) << c.bearing;
            EXPECT_EQ(texts[0].align, 4);
            EXPECT_EQ(texts[0].text, std::to_string(static_cast<int>(c.bearing)));
            EXPECT_EQ(d.font().height, -150);
        } else {
            EXPECT_TRUE(texts.empty());
        }
        EXPECT_EQ(d.pen().width, 6);
        const auto pens = commandsOf<rec::SelectPen>(d);
        EXPECT_EQ(pens[pens.size() - 2].pen.width, 20);  // the radial itself
    }
}

TEST_F(Radials, TickMarksTheBoundaryAndLabelRoundsHalvesToEven) {
    PlotRadials(dc, true, 0.15, 92.5, 6, 40, 18, 0);  // VOR: 92.5 + 180 = 272.5 degrees
    const auto pts = pathPoints(dc);
    ASSERT_EQ(pts.size(), 2u);
    // 0.9 nmi either side of 18 nmi (67.5 page units at 75 per nmi), pointing
    // almost straight down the page (+y page at 272.5 degrees).
    EXPECT_NEAR(pts[0].y, 5000 + 17.1 * 0.99905 * 100, 2);
    EXPECT_NEAR(pts[1].y, 5000 + 18.9 * 0.99905 * 100, 2);
    EXPECT_EQ(commandsOf<rec::Text>(dc)[0].text, "92");
}

TEST_F(Radials, NeedsAWorldWindow) {
    auto p = BeginPlot({750, 1000}, false, "");
    EXPECT_THROW(PlotRadials(p->picture(), true, 0.15, 90, 0, 10, 18, 90), DrawingError);
}

TEST(PlotGridLine, SelectedAltitudeAboveTheTopDrawsNothing) {
    auto plot = test::plotWithWindow(kElevation);
    DrawContext& dc = plot->picture();
    PlotGridLine(dc, 3, 5000, 0, 1000, 4500, 18, 0.5);
    PlotGridLine(dc, 3, -1, 0, 1000, 4500, 18, 0.5);
    PlotGridLine(dc, 3, 13000, 5, 1000, 12000, 25, 0);
    EXPECT_TRUE(commandsOf<rec::LineTo>(dc).empty());
    EXPECT_EQ(dc.pen().width, 6);
}

TEST(PlotGridLine, SectorLines) {
    auto plot = test::plotWithWindow(kElevation);
    DrawContext& dc = plot->picture();
    // Below the floor: from the 7-degree line (0.670 nmi) to the 2-degree
    // line from x0 (0.5 + 2.356 = 2.856 nmi).
    PlotGridLine(dc, 3, 500, 0, 1000, 4500, 18, 0.5);
    // The bottom: along the ground to x0, up the 2-degree line, out.
    PlotGridLine(dc, 1, 0, 0, 1000, 4500, 18, 0.5);
    // The top of a TLS starts on the 15-degree line above x0.
    PlotGridLine(dc, 2, 0, 4, 0, 10000, 18, 0.5);
    const std::vector<PagePoint> expected{{67, 500},  {286, 500},  {0, 0},       {50, 0},      {521, 1000},
                                          {1800, 1000}, {50, 814}, {614, 10000}, {1800, 10000}};
    EXPECT_EQ(pathPoints(dc), expected);
    EXPECT_EQ(dc.pen().width, 6);
}

TEST(PlotGridLine, VorLines) {
    auto plot = test::plotWithWindow({-37.5f, 37.5f, 0, 20000});
    DrawContext& dc = plot->picture();
    PlotGridLine(dc, 3, 500, 5, 1000, 12000, 25, 0);  // reaches 17.8 nmi each way
    PlotGridLine(dc, 2, 0, 5, 1000, 12000, 25, 0);
    PlotGridLine(dc, 1, 0, 5, 1000, 12000, 25, 0);
    const auto pts = pathPoints(dc);
    ASSERT_EQ(pts.size(), 2u + 2u + 1u + 501u);
    EXPECT_EQ(pts[0], (PagePoint{1970, 250}));
    EXPECT_EQ(pts[1], (PagePoint{5530, 250}));
    EXPECT_EQ(pts[2], (PagePoint{1250, 6000}));
    EXPECT_EQ(pts[3], (PagePoint{6250, 6000}));
    EXPECT_EQ(pts[4], (PagePoint{1250, 500}));  // the move to (-range, floor)
    EXPECT_EQ(pts[255], (PagePoint{3750, 0}));  // i = 0 over the VOR
    EXPECT_EQ(dc.pen().width, 6);
}

}  // namespace
}  // namespace crv::common
