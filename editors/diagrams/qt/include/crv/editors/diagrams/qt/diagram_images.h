#pragma once
// The diagram box's pictures as images: an outline diagram played at the
// box's size, and the array-pattern tile stretched over the box.
#include <QImage>
#include <QSize>

#include "crv/editors/site_diagrams.h"

namespace crv::editors {

// The whole array-pattern sheet at the screen's twips per pixel (made once).
const QImage& arraySheetImage(double twipsPerPixelX, double twipsPerPixelY);
// ShowArrayPattern's picture: the array type's tile over the whole box; a
// null image when the type has no picture.
QImage ShowArrayPattern(int arrayType, QSize boxPx, double twipsPerPixelX = 15, double twipsPerPixelY = 15);
// An outline diagram played onto a white image of the box's size.
QImage diagramImage(const common::PlotOutput& out);

}  // namespace crv::editors
