#include "crv/common/drawing/drawing_error.h"
#include "crv/common/drawing/primitives.h"
#include "recording_helpers.h"

#include <gtest/gtest.h>

#include <cmath>

namespace crv::common {
namespace {

using test::commandsOf;
using test::pathPoints;

TEST(ClipSegment, Table) {
    struct Case {
        const char* what;
        Segment in;
        bool drawn;
        Segment out;
    };
    // Window 0..10 by 0..10; expected ends worked out by hand.
    const Case cases[] = {
        {"inside", {1, 2, 8, 9}, true, {1, 2, 8, 9}},
        {"on the edge", {0, 0, 0, 10}, true, {0, 0, 0, 10}},
        {"both left", {-5, 1, -1, 9}, false, {}},
        {"both above", {1, 11, 9, 15}, false, {}},
        {"inside to outside", {5, 5, 15, 5}, true, {5, 5, 10, 5}},
        {"outside to inside", {5, 15, 5, 5}, true, {5, 10, 5, 5}},
        {"through both sides", {-5, 5, 15, 5}, true, {0, 5, 10, 5}},
        {"corner to corner", {-5, -5, 15, 15}, true, {0, 0, 10, 10}},
        {"bottom to right", {2, -4, 14, 8}, true, {6, 0, 10, 4}},
        // Passes the corner (0, 10) outside the window; the end codes (left,
        // above) share no bit, yet nothing of it is inside.
        {"past the corner", {-2, 9, 2, 13}, false, {}},
        {"past the corner reversed", {2, 13, -2, 9}, false, {}},
        {"touches the corner", {-1, 9, 1, 11}, true, {0, 10, 0, 10}},
        // Cuts off the corner (0, 10): enters through the left edge, leaves
        // through the top one.
        {"cuts the top left corner", {-1, 8, 2, 11}, true, {0, 9, 1, 10}},
        {"cuts the top left corner reversed", {2, 11, -1, 8}, true, {1, 10, 0, 9}},
        {"cuts the bottom right corner", {8, -1, 11, 2}, true, {9, 0, 10, 1}},
        {"through two corners", {-2, 12, 12, -2}, true, {0, 10, 10, 0}},
        {"along the top edge past both ends", {-5, 10, 15, 10}, true, {0, 10, 10, 10}},
        {"parallel to the left edge outside", {-1, 2, -1, 8}, false, {}},
        {"vertical through top and bottom", {4, -5, 4, 15}, true, {4, 0, 4, 10}},
        {"a point inside", {3, 3, 3, 3}, true, {3, 3, 3, 3}},
        {"a point outside", {11, 3, 11, 3}, false, {}},
        {"towards infinity", {5, 5, HUGE_VAL, 5}, true, {5, 5, 10, 5}},
    };
    for (const Case& c : cases) {
        const auto r = clipSegment(c.in, 0, 10, 0, 10);
        ASSERT_EQ(r.has_value(), c.drawn) << c.what;
        if (!r) continue;
        EXPECT_NEAR(r->x1, c.out.x1, 1e-12) << c.what;
        EXPECT_NEAR(r->y1, c.out.y1, 1e-12) << c.what;
        EXPECT_NEAR(r->x2, c.out.x2, 1e-12) << c.what;
        EXPECT_NEAR(r->y2, c.out.y2, 1e-12) << c.what;
        // A window given the other way round clips the same.
        const auto swapped = clipSegment(c.in, 10, 0, 10, 0);
        ASSERT_TRUE(swapped.has_value()) << c.what;
        EXPECT_NEAR(swapped->x1, c.out.x1, 1e-12) << c.what;
    }
}

TEST(PlotClippedLine, DrawsOnlyTheInsidePart) {
    auto plot = test::plotWithWindow({0, 10, 0, 10});
    DrawContext& dc = plot->picture();
    PlotClippedLine(dc, -2, 9, 2, 13, 0, 10, 0, 10);
    EXPECT_TRUE(commandsOf<rec::LineTo>(dc).empty());
    PlotClippedLine(dc, 5, 5, 15, 5, 0, 10, 0, 10);
    const auto pts = pathPoints(dc);
    ASSERT_EQ(pts.size(), 2u);
    EXPECT_EQ(pts[0], (PagePoint{3750, 5000}));
    EXPECT_EQ(pts[1], (PagePoint{7500, 5000}));
}

TEST(PlotBox, FourCornersAndBack) {
    auto plot = test::plotWithWindow(test::kPageWindow);
    PlotBox(plot->picture(), 10, 20, 30, 40);
    const std::vector<PagePoint> expected{{10, 20}, {30, 20}, {30, 40}, {10, 40}, {10, 20}};
    EXPECT_EQ(pathPoints(plot->picture()), expected);
}

TEST(PlotCircle, ClosesOnItselfAfter314Points) {
    auto plot = test::plotWithWindow(test::kPageWindow);
    PlotCircle(plot->picture(), 3000, 4000, 1000);
    const auto moves = commandsOf<rec::MoveTo>(plot->picture());
    const auto lines = commandsOf<rec::LineTo>(plot->picture());
    ASSERT_EQ(moves.size(), 1u);
    EXPECT_EQ(moves[0].to, (PagePoint{4000, 4000}));
    ASSERT_EQ(lines.size(), 315u);  // 314 points, then back to the start
    EXPECT_EQ(lines.back().to, (PagePoint{4000, 4000}));
    // Point 79 is at t = 1.58 rad: (3000 + 1000 cos 1.58, 4000 + 1000 sin 1.58).
    EXPECT_NEAR(lines[78].to.x, 3000 + 1000 * std::cos(1.58), 1.0);
    EXPECT_NEAR(lines[78].to.y, 4000 + 1000 * std::sin(1.58), 1.0);
    // The last computed point, t = 6.28, is just short of a full turn.
    EXPECT_EQ(lines[313].to, (PagePoint{4000, 3997}));
}

TEST(PlotEllipse, TwoHalvesFromOneEnd) {
    auto plot = test::plotWithWindow(test::kPageWindow);
    // Long axis along +x (angle 90 from +y): ends at (1000, 3000) and (5000, 3000).
    PlotEllipse(plot->picture(), 3000, 3000, 2000, 1000, 90);
    const auto moves = commandsOf<rec::MoveTo>(plot->picture());
    const auto lines = commandsOf<rec::LineTo>(plot->picture());
    ASSERT_EQ(moves.size(), 2u);
    ASSERT_EQ(lines.size(), 400u);
    EXPECT_EQ(moves[0].to, (PagePoint{1000, 3000}));
    EXPECT_EQ(moves[1].to, (PagePoint{1000, 3000}));
    EXPECT_EQ(lines[199].to, (PagePoint{5000, 3000}));
    // Half way (i = 100) each half is b across the axis: the first half
    // (side -1) on the -y side, the second on the +y side.
    EXPECT_EQ(lines[99].to, (PagePoint{3000, 2000}));
    EXPECT_EQ(lines[299].to, (PagePoint{3000, 4000}));
}

TEST(PlotEllipse, FlatEllipseDrawsTheAxisTwiceAndZeroAxisIsAnError) {
    auto plot = test::plotWithWindow(test::kPageWindow);
    PlotEllipse(plot->picture(), 3000, 3000, 2000, 0, 0);
    for (const auto& l : commandsOf<rec::LineTo>(plot->picture())) EXPECT_EQ(l.to.x, 3000);
    EXPECT_THROW(PlotEllipse(plot->picture(), 3000, 3000, 0, 1000, 0), DrawingError);
}

}  // namespace
}  // namespace crv::common
