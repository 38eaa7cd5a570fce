#pragma once
// The diagram box beside the case editor's fields: the array pattern image
// and the service-volume outline on the navaid page, the grid diagram on the
// simulation page (field edition). The drawings themselves are supplied by
// a painter; without one the box stays hidden.
#include <functional>
#include <string>

#include "crv/editors/case_editor/page_fields.h"

class QImage;

namespace crv::editors {

// The fields the drawings read, as they stand when the picture is asked for.
struct DiagramFields {
    int arrayType = 0;
    int serviceVolumeType = 0;
    int gridType = 0;
    float runwayHeading = 0;
    float fieldElevation = 0;
    float runwayLength = 0;
    float serviceVolumeRadius = 0;
    float serviceVolumeHeight = 0;
    float gridAltitude = 0;
    std::string gridAngleText;  // "" leaves out the vertical part
};

// Box sizes in twips (15 twips a pixel on the editor's screen).
struct DiagramSize {
    int width = 0;
    int height = 0;
};
DiagramSize diagramSize(DiagramKind kind);

// Draws the picture of `kind` into `picture` (already sized); returns false
// when no picture applies, which hides the box.
using DiagramPainter = std::function<bool(DiagramKind kind, const DiagramFields& fields, QImage& picture)>;
void setDiagramPainter(DiagramPainter painter);
const DiagramPainter& diagramPainter();

// The fields of the pages as the painter reads them.
DiagramFields diagramFields(const PageFields& pages);

}  // namespace crv::editors
