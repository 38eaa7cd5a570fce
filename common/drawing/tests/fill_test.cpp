#include "crv/common/drawing/fill_outline.h"
#include "crv/common/drawing/flood_fill.h"
#include "crv/common/drawing/primitives.h"
#include "recording_helpers.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace crv::common {
namespace {

constexpr Colour kPink = 0xC0C0FF;

TEST(FindEnclosingOutline, BoxAroundTheSeed) {
    const std::vector<Stroke> strokes{{kPink, {{0, 0}, {100, 0}, {100, 100}, {0, 100}, {0, 0}}}};
    EXPECT_EQ(findEnclosingOutline(strokes, kPink, {50, 50}).size(), 4u);
    EXPECT_EQ(findEnclosingOutline(strokes, kPink, {100, 50}).size(), 4u);  // on the edge
    EXPECT_TRUE(findEnclosingOutline(strokes, kPink, {150, 50}).empty());
    EXPECT_TRUE(findEnclosingOutline(strokes, kBlack, {50, 50}).empty());  // other colour
}

TEST(FindEnclosingOutline, SmallestLoopAroundTheSeed) {
    const std::vector<Stroke> strokes{
        {kPink, {{0, 0}, {1000, 0}, {1000, 1000}, {0, 1000}, {0, 0}}},
        {kPink, {{400, 400}, {600, 400}, {600, 600}, {400, 600}, {400, 400}}},
    };
    EXPECT_EQ(findEnclosingOutline(strokes, kPink, {500, 500})[0], (PagePoint{400, 400}));
    EXPECT_EQ(findEnclosingOutline(strokes, kPink, {100, 100})[0], (PagePoint{0, 0}));
}

TEST(FindEnclosingOutline, HalfOfANorthArrow) {
    // T, T+(0,22), T+(-16,32), T, T+(16,32), T+(0,22): two triangles sharing
    // the shaft; the seed lies in the left one only.
    const std::vector<Stroke> strokes{{kBlack, {{100, 100}, {100, 122}, {84, 132}, {100, 100}, {116, 132}, {100, 122}}}};
    const auto outline = findEnclosingOutline(strokes, kBlack, {95, 120});
    const std::vector<PagePoint> left{{100, 100}, {100, 122}, {84, 132}};
    EXPECT_EQ(outline, left);
}

TEST(FindEnclosingOutline, EllipseHalvesJoin) {
    auto plot = test::plotWithWindow(test::kPageWindow);
    DrawContext& dc = plot->picture();
    SetPenColor(dc, kPink);
    PlotEllipse(dc, 3000, 3000, 2000, 1000, 90);
    FillArea(dc, kPink, 3000, 3000);
    const auto fills = test::commandsOf<rec::Fill>(dc);
    ASSERT_EQ(fills.size(), 1u);
    EXPECT_GT(fills[0].outline.size(), 300u);
    EXPECT_EQ(fills[0].colour, kPink);
}

TEST(FindEnclosingOutline, PenChangeMidPathSplitsTheStroke) {
    auto plot = test::plotWithWindow(test::kPageWindow);
    DrawContext& dc = plot->picture();
    SetPenColor(dc, kPink);
    PlotMoveTo(dc, 0, 0);
    PlotLineTo(dc, 100, 0);
    PlotLineTo(dc, 100, 100);
    SetPenColor(dc, kBlack);
    PlotLineTo(dc, 0, 100);
    PlotLineTo(dc, 0, 0);
    FillArea(dc, kPink, 50, 50);
    EXPECT_TRUE(test::commandsOf<rec::Fill>(dc)[0].outline.empty());
}

// A picture 12 x 9 with a diamond drawn as one-pixel diagonal steps.
struct Picture {
    static constexpr int W = 12, H = 9;
    std::vector<std::uint32_t> px = std::vector<std::uint32_t>(W * H, 0xFFFFFF);
    void set(int x, int y, std::uint32_t c) { px[y * W + x] = c; }
    std::uint32_t at(int x, int y) const { return px[y * W + x]; }
};

TEST(FloodFill, StaysInsideADiagonalOutline) {
    Picture p;
    const int diamond[][2] = {{5, 1}, {4, 2}, {6, 2}, {3, 3}, {7, 3}, {2, 4}, {8, 4},
                              {3, 5}, {7, 5}, {4, 6}, {6, 6}, {5, 7}};
    for (const auto& d : diamond) p.set(d[0], d[1], kPink);
    const long long n = floodFill(p.px.data(), Picture::W, Picture::H, Picture::W, 5, 4, kPink, kPink,
                                  {0, 0, Picture::W - 1, Picture::H - 1});
    EXPECT_EQ(n, 1 + 3 + 5 + 3 + 1);  // rows 2..6 inside the walls
    EXPECT_EQ(p.at(5, 4), kPink);
    EXPECT_EQ(p.at(0, 0), 0xFFFFFFu);
    EXPECT_EQ(p.at(3, 2), 0xFFFFFFu);  // just outside a diagonal step
    EXPECT_EQ(p.at(9, 4), 0xFFFFFFu);
}

TEST(FloodFill, NeverLeavesTheLimitNorStartsOnTheWall) {
    Picture p;
    const long long n = floodFill(p.px.data(), Picture::W, Picture::H, Picture::W, 1, 1, kPink, kPink, {0, 0, 3, 2});
    EXPECT_EQ(n, 12);
    EXPECT_EQ(p.at(4, 0), 0xFFFFFFu);
    EXPECT_EQ(floodFill(p.px.data(), Picture::W, Picture::H, Picture::W, 1, 1, kPink, kPink, {0, 0, 3, 2}), 0);
    EXPECT_EQ(floodFill(p.px.data(), Picture::W, Picture::H, Picture::W, 50, 1, kPink, kPink, {0, 0, 99, 99}), 0);
}

}  // namespace
}  // namespace crv::common
