#pragma once
// The panel record: maps data values onto a rectangular region of the sheet.
// The plot modules fill SheetRect, DataRect and ClipRect; SetPanelMapping
// computes the rest. Typical use: SetPanelMapping, then SetWorldWindow with
// ClipDataRect, after which drawing in data values lands inside SheetRect.
#include "crv/common/drawing/page.h"

namespace crv::common {

struct PanelRecord {
    WorldRect SheetRect;     // where the panel lies on the sheet, in inches
    WorldRect DataRect;      // the data values at the edges of SheetRect
    WorldRect ClipRect;      // a rectangle in sheet inches (usually PageFrame)
    WorldRect ClipDataRect;  // ClipRect in data units (computed)
    float ScaleX = 0.0f;     // data units per sheet inch in x (computed)
    float ScaleY = 0.0f;     // the same in y (computed)
};

// Completes the record. Throws DrawingError when SheetRect has no width or
// no height: such a panel maps nothing anywhere.
void SetPanelMapping(PanelRecord& panel);

// A sheet position (inches) as data values.
void MapPanelPoint(double x, double y, const PanelRecord& panel, double& px, double& py);

}  // namespace crv::common
