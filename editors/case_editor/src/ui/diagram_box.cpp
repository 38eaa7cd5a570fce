#include "crv/editors/case_editor/diagram_box.h"

#include "crv/common/conversions.h"

namespace crv::editors {

namespace {
DiagramPainter& painterSlot() {
    static DiagramPainter painter;
    return painter;
}
}  // namespace

DiagramSize diagramSize(DiagramKind kind) {
    switch (kind) {
        case DiagramKind::ArrayPattern: return {2220, 1560};
        case DiagramKind::ServiceVolume: return {2040, 2160};
        case DiagramKind::Grid: return {3240, 1440};
        default: return {};
    }
}

void setDiagramPainter(DiagramPainter painter) { painterSlot() = std::move(painter); }
const DiagramPainter& diagramPainter() { return painterSlot(); }

DiagramFields diagramFields(const PageFields& pages) {
    const CasePages& m = pages.model();
    auto number = [&](int n) -> float {
        return n ? static_cast<float>(crv::common::Val(m.field(n).text)) : 0.0f;
    };
    DiagramFields d;
    d.arrayType = pages.arrayTypeField ? static_cast<int>(crv::common::Val(m.field(pages.arrayTypeField).text)) : 0;
    d.serviceVolumeType = m.serviceVolumeType();
    d.gridType = m.gridType();
    d.runwayHeading = number(pages.runwayHeadingField);
    d.fieldElevation = number(pages.fieldElevationField);
    d.runwayLength = number(pages.runwayLengthField);
    d.serviceVolumeRadius = number(pages.svRadiusField);
    d.serviceVolumeHeight = number(pages.svHeightField);
    d.gridAltitude = number(pages.gridAltitudeField);
    if (pages.gridAngleField) {
        std::string t = m.field(pages.gridAngleField).text;
        const auto b = t.find_first_not_of(' ');
        d.gridAngleText = b == std::string::npos ? "" : t.substr(b);
    }
    return d;
}

}  // namespace crv::editors
