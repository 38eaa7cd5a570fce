#include "crv/common/drawing/draw_context.h"
#include "crv/common/drawing/panel.h"
#include "crv/common/drawing/primitives.h"
#include "crv/editors/array_patterns.h"
#include "crv/editors/site_diagrams.h"

#include <algorithm>
#include <string>

namespace crv::editors {

using namespace crv::common;

std::optional<int> arrayTileFor(int arrayType) {
    const int c = arrayType == 0 ? 6 : arrayType;
    if (c < kFirstArrayType || c > kLastArrayType) return std::nullopt;
    return c - kFirstArrayType;
}

SheetRect arrayTileRect(int tile) {
    const int column = tile % 6, row = tile / 6;
    return {250.0 + 2309.0 * column, 150.0 + 1305.0 * row, 2300, 1300};
}

PlotOutput drawArraySheet(PlotSurface sheetPx) {
    auto plot = BeginPlot(sheetPx, false, "");
    DrawContext& dc = plot->picture();
    const WorldRect frame = plot->PageFrame;
    auto inchX = [&](double u) { return float(frame.xmin + u / kArraySheetScaleWidth * (frame.xmax - frame.xmin)); };
    auto inchY = [&](double v) { return float(frame.ymin + v / kArraySheetScaleHeight * (frame.ymax - frame.ymin)); };
    for (int tile = 0; tile < 30; ++tile) {
        const SheetRect t = arrayTileRect(tile);
        // The plot area inside the tile leaves room for the scale labels
        // (left), the angle labels (below) and the array type (above).
        PanelRecord panel;
        panel.SheetRect = {inchX(t.left + 0.17 * t.width), inchX(t.left + 0.9 * t.width), inchY(t.top + 0.2 * t.height),
                           inchY(t.top + 0.8 * t.height)};
        panel.DataRect = {0, 180, 0, -50};
        panel.ClipRect = frame;
        SetPanelMapping(panel);
        SetWorldWindow(*plot, panel.ClipDataRect);
        SetPenColor(dc, kBlack);
        SetPlotFont(dc, 0.16, "Arial");
        PlotBox(dc, 0, 0, 180, -50);
        for (int dB = -10; dB > -50; dB -= 10) PlotLine(dc, 0, dB, 4, dB);
        for (int deg = 30; deg < 180; deg += 30) PlotLine(dc, deg, -50, deg, -48.5);
        PlotText(dc, "0", -4, 0, 7, 0);
        PlotText(dc, "-50", -4, -50, 7, 0);
        PlotText(dc, "0", 0, -51.5, 3, 0);
        PlotText(dc, "180", 180, -51.5, 3, 0);
        PlotText(dc, "Type " + std::to_string(tile + kFirstArrayType), 90, 1.5, 5, 0);
        SetPenColor(dc, 0xA00000);  // dark blue trace
        const int type = tile + kFirstArrayType;
        PlotMoveTo(dc, 0, std::clamp(arrayPatternDb(type, 0), -50.0, 0.0));
        for (int deg = 1; deg <= 180; ++deg) PlotLineTo(dc, deg, std::clamp(arrayPatternDb(type, deg), -50.0, 0.0));
    }
    return EndPlot(std::move(plot));
}

}  // namespace crv::editors
