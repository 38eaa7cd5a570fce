#include "crv/common/drawing/panel.h"

#include "crv/common/drawing/drawing_error.h"

#include <cmath>

namespace crv::common {

void SetPanelMapping(PanelRecord& p) {
    const double sheetW = static_cast<double>(p.SheetRect.xmax) - p.SheetRect.xmin;
    const double sheetH = static_cast<double>(p.SheetRect.ymax) - p.SheetRect.ymin;
    if (sheetW == 0.0 || sheetH == 0.0 || !std::isfinite(sheetW) || !std::isfinite(sheetH)) {
        throw DrawingError("The panel's sheet rectangle has no width or no height.");
    }
    p.ScaleX = static_cast<float>((static_cast<double>(p.DataRect.xmax) - p.DataRect.xmin) / sheetW);
    p.ScaleY = static_cast<float>((static_cast<double>(p.DataRect.ymax) - p.DataRect.ymin) / sheetH);
    p.ClipDataRect.xmin = static_cast<float>((static_cast<double>(p.ClipRect.xmin) - p.SheetRect.xmin) * p.ScaleX + p.DataRect.xmin);
    p.ClipDataRect.xmax = static_cast<float>((static_cast<double>(p.ClipRect.xmax) - p.SheetRect.xmax) * p.ScaleX + p.DataRect.xmax);
    p.ClipDataRect.ymin = static_cast<float>((static_cast<double>(p.ClipRect.ymin) - p.SheetRect.ymin) * p.ScaleY + p.DataRect.ymin);
    p.ClipDataRect.ymax = static_cast<float>((static_cast<double>(p.ClipRect.ymax) - p.SheetRect.ymax) * p.ScaleY + p.DataRect.ymax);
}

void MapPanelPoint(double x, double y, const PanelRecord& panel, double& px, double& py) {
    px = (x - panel.SheetRect.xmin) * panel.ScaleX + panel.DataRect.xmin;
    py = (y - panel.SheetRect.ymin) * panel.ScaleY + panel.DataRect.ymin;
}

}  // namespace crv::common
