#include "crv/common/drawing/drawing_error.h"
#include "crv/common/drawing/panel.h"
#include "crv/common/drawing/plot.h"
#include "recording_helpers.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace crv::common {
namespace {

using test::plotWithWindow;

TEST(RoundToInt32, HalvesGoToTheEvenNeighbour) {
    const struct {
        double in;
        int out;
    } cases[] = {{2.5, 2}, {3.5, 4}, {-2.5, -2}, {-3.5, -4}, {0.5, 0}, {1.5, 2}, {2.4999, 2}, {7499.5, 7500}};
    for (const auto& c : cases) EXPECT_EQ(roundToInt32(c.in, "x"), c.out) << c.in;
}

TEST(RoundToInt32, RefusesWhatDoesNotFit) {
    EXPECT_THROW(roundToInt32(std::numeric_limits<double>::infinity(), "x"), DrawingError);
    EXPECT_THROW(roundToInt32(std::nan(""), "x"), DrawingError);
    EXPECT_THROW(roundToInt32(3.0e9, "x"), DrawingError);
    EXPECT_THROW(roundToInt32(-3.0e9, "x"), DrawingError);
    EXPECT_EQ(roundToInt32(2147483647.0, "x"), 2147483647);
}

TEST(PageOfWorldPoint, WindowWithYUpward) {
    auto plot = plotWithWindow({0, 10, 10, 0});
    EXPECT_EQ(plot->picture().toPage(0, 10), (PagePoint{0, 0}));
    EXPECT_EQ(plot->picture().toPage(10, 0), (PagePoint{7500, 10000}));
    EXPECT_EQ(plot->picture().toPage(5, 5), (PagePoint{3750, 5000}));
}

TEST(PageOfWorldPoint, RoundsHalvesToEven) {
    auto plot = plotWithWindow(test::kPageWindow);
    EXPECT_EQ(plot->picture().toPage(2.5, 3.5), (PagePoint{2, 4}));
    EXPECT_EQ(plot->picture().toPage(-0.5, 10.5), (PagePoint{0, 10}));
}

TEST(PageOfWorldPoint, FaultsAreReported) {
    auto plot = BeginPlot({750, 1000}, false, "");
    // No window yet.
    EXPECT_THROW(plot->picture().toPage(1, 1), DrawingError);
    SetWorldWindow(*plot, {0, 1e-3f, 0, 1e-3f});
    // Far outside: the page coordinate does not fit 32 bits.
    EXPECT_THROW(plot->picture().toPage(1e6, 0), DrawingError);
    EXPECT_THROW(PlotLineTo(plot->picture(), std::nan(""), 0), DrawingError);
}

TEST(SetWorldWindow, ZeroSizeWindowIsAnErrorAndKeepsTheOldTransform) {
    auto plot = plotWithWindow({0, 10, 10, 0});
    const WorldRect bad[] = {{1, 1, 0, 10}, {0, 10, 5, 5}, {0, 0, 0, 0}, {0, 1e-45f, 0, 10}};
    for (const WorldRect& w : bad) EXPECT_THROW(SetWorldWindow(*plot, w), DrawingError);
    EXPECT_EQ(plot->picture().toPage(10, 0), (PagePoint{7500, 10000}));
}

TEST(PointInRect, EdgesAreInside) {
    const WorldRect r{1, 3, 2, 4};
    EXPECT_TRUE(PointInRect(1, 2, r));
    EXPECT_TRUE(PointInRect(3, 4, r));
    EXPECT_TRUE(PointInRect(2, 4, r));
    EXPECT_FALSE(PointInRect(0.999, 3, r));
    EXPECT_FALSE(PointInRect(2, 4.001, r));
}

TEST(BeginPlot, SmallTextFaceDependsOnSurfaceHeight) {
    // round(0.168 * 1000 * 500 / 10000) = round(8.4) = 8 -> small face;
    // 600 px gives round(10.08) = 10.
    EXPECT_EQ(BeginPlot({400, 500}, false, "")->TextFontFace, "Small Fonts");
    EXPECT_EQ(BeginPlot({450, 600}, false, "")->TextFontFace, "Arial");
    // 595 px: round(9.996) = 10.
    EXPECT_EQ(BeginPlot({450, 595}, false, "")->TextFontFace, "Arial");
    // 560 px: round(9.408) = 9.
    EXPECT_EQ(BeginPlot({450, 560}, false, "")->TextFontFace, "Small Fonts");
}

TEST(BeginPlot, StartsWithPlotFontAndPen) {
    auto plot = BeginPlot({640, 480}, true, "");
    for (DrawContext* dc : {&plot->picture(), plot->metafile()}) {
        ASSERT_NE(dc, nullptr);
        EXPECT_EQ(dc->pen(), (Pen{kBlack, 6}));
        EXPECT_EQ(dc->font().face, "Arial");
        EXPECT_EQ(dc->font().height, -150);
        EXPECT_EQ(dc->font().weight, 400);
    }
    EXPECT_FLOAT_EQ(plot->PageFrame.xmin, 0.5f);
    EXPECT_FLOAT_EQ(plot->PageFrame.xmax, 8.0f);
    EXPECT_FLOAT_EQ(plot->PageFrame.ymin, 0.5f);
    EXPECT_FLOAT_EQ(plot->PageFrame.ymax, 10.5f);
}

TEST(BeginPlot, MetafileFrameFollowsTheSurface) {
    // 25000 * 640 / 480 = 33333.3 -> 33333; at 96 dpi a reference pixel is
    // 0.2645833 mm: 33333 / 26.45833 = 1259.8 -> 1260, 25000 / 26.45833 =
    // 944.9 -> 945.
    const MetafileFrame f = metafileFrameFor({640, 480});
    EXPECT_EQ(f.rightHmm, 33333);
    EXPECT_EQ(f.bottomHmm, 25000);
    EXPECT_EQ(f.viewportWidth, 1260);
    EXPECT_EQ(f.viewportHeight, 945);
    // Wider than a 32-bit product 25000 * W would hold: still a sound frame.
    EXPECT_EQ(metafileFrameFor({100000, 50000}).rightHmm, 50000);
}

TEST(BeginPlot, SurfaceWithoutSizeIsAnError) {
    EXPECT_THROW(BeginPlot({640, 0}, false, ""), DrawingError);
    EXPECT_THROW(BeginPlot({0, 480}, true, ""), DrawingError);
    EXPECT_THROW(BeginPlot({-5, 480}, false, ""), DrawingError);
}

TEST(EndPlot, MetafileOnlyWhenAskedFor) {
    auto without = BeginPlot({640, 480}, false, "");
    EXPECT_EQ(without->metafile(), nullptr);
    EXPECT_FALSE(EndPlot(std::move(without)).metafile.has_value());

    auto with = BeginPlot({640, 480}, true, std::string("Corvane\0Legend\0\0", 16));
    const PlotOutput out = EndPlot(std::move(with));
    ASSERT_TRUE(out.metafile.has_value());
    EXPECT_EQ(out.metafile->description, std::string("Corvane\0Legend\0\0", 16));
    EXPECT_EQ(out.metafile->frame.rightHmm, 33333);
}

TEST(EndPlot, TwoPlotsKeepTheirOwnState) {
    auto a = plotWithWindow({0, 10, 10, 0});
    auto b = plotWithWindow(test::kPageWindow);
    EXPECT_EQ(a->picture().toPage(10, 0), (PagePoint{7500, 10000}));
    EXPECT_EQ(b->picture().toPage(10, 0), (PagePoint{10, 0}));
}

TEST(PenAndFont, ReplacingOneAttributeKeepsTheOthers) {
    auto plot = plotWithWindow(test::kPageWindow);
    DrawContext& dc = plot->picture();
    SetPenColor(dc, 0x0000FF);
    SetPenWidth(dc, 20);
    EXPECT_EQ(dc.pen(), (Pen{0x0000FF, 20}));
    SetPenColor(dc, 0x00FF00);
    EXPECT_EQ(dc.pen().width, 20);

    SetPlotFont(dc, 0.2, "Courier New");
    SetPlotFont(dc, 0.2, "");
    EXPECT_EQ(dc.font().height, -200);
    EXPECT_EQ(dc.font().face, "Courier New");
    EXPECT_THROW(SetPlotFont(dc, std::nan(""), ""), DrawingError);
    EXPECT_THROW(SetPenWidth(dc, -1), DrawingError);
}

TEST(PlotText, RecordsAnchorAlignmentAndAngle) {
    auto plot = plotWithWindow({0, 10, 10, 0});
    PlotText(plot->picture(), "N", 5, 5, 8, 90);
    const auto texts = test::commandsOf<rec::Text>(plot->picture());
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_EQ(texts[0].anchor, (PagePoint{3750, 5000}));
    EXPECT_EQ(texts[0].align, 8);
    EXPECT_EQ(texts[0].angleDeg, 90.0);
    EXPECT_THROW(PlotText(plot->picture(), "x", 0, 0, 9, 0), DrawingError);
}

TEST(Panel, MappingAndItsInverse) {
    PanelRecord p;
    p.SheetRect = {1, 7, 1, 5};
    p.DataRect = {0, 60, 100, 0};
    p.ClipRect = {0.5f, 8.0f, 0.5f, 10.5f};
    SetPanelMapping(p);
    // 60 / 6 = 10 per inch across; -100 / 4 = -25 per inch down.
    EXPECT_FLOAT_EQ(p.ScaleX, 10.0f);
    EXPECT_FLOAT_EQ(p.ScaleY, -25.0f);
    EXPECT_FLOAT_EQ(p.ClipDataRect.xmin, -5.0f);    // (0.5 - 1) * 10 + 0
    EXPECT_FLOAT_EQ(p.ClipDataRect.xmax, 70.0f);    // (8 - 7) * 10 + 60
    EXPECT_FLOAT_EQ(p.ClipDataRect.ymin, 112.5f);   // (0.5 - 1) * -25 + 100
    EXPECT_FLOAT_EQ(p.ClipDataRect.ymax, -137.5f);  // (10.5 - 5) * -25 + 0
    double x = 0, y = 0;
    MapPanelPoint(4, 3, p, x, y);
    EXPECT_DOUBLE_EQ(x, 30.0);
    EXPECT_DOUBLE_EQ(y, 50.0);

    // The panel's sheet corner lands on the page where the sheet says.
    auto plot = BeginPlot({750, 1000}, false, "");
    SetWorldWindow(*plot, p.ClipDataRect);
    // Data (0, 100) is sheet (1, 1) inch: 0.5 inch into the 7.5 x 10 frame.
    EXPECT_EQ(plot->picture().toPage(0, 100), (PagePoint{500, 500}));

    PanelRecord flat = p;
    flat.SheetRect = {1, 1, 1, 5};
    EXPECT_THROW(SetPanelMapping(flat), DrawingError);
}

TEST(TryDrawing, TurnsAFaultIntoAnErrorValue) {
    auto plot = BeginPlot({640, 480}, false, "");
    const auto r = tryDrawing([&] { SetWorldWindow(*plot, {0, 0, 0, 1}); });
    ASSERT_FALSE(r);
    EXPECT_NE(r.error().find("world window"), std::string::npos);
    EXPECT_TRUE(tryDrawing([] {}));
}

}  // namespace
}  // namespace crv::common
