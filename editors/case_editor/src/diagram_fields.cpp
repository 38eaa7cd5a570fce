#include "crv/editors/case_editor/diagram_box.h"

#include "crv/common/conversions.h"

namespace crv::editors {

DiagramFields diagramFields(const PageFields& pages) {
    // A box being edited shows what is typed; the pictures follow it.
    auto text = [&](int n) -> std::string {
        const FieldBox* f = pages.field(n);
        return f ? f->value : std::string();
    };
    auto number = [&](int n) { return static_cast<float>(crv::common::Val(text(n))); };
    auto code = [&](int n) {
        const FieldBox* f = pages.field(n);
        return f ? f->code() : 0;
    };
    DiagramFields d;
    d.arrayType = code(pages.arrayTypeField);
    d.serviceVolumeType = code(pages.svTypeField);
    d.runwayHeadingDeg = number(pages.runwayHeadingField);
    d.fieldElevationFt = number(pages.fieldElevationField);
    d.runwayLengthFt = number(pages.runwayLengthField);
    d.serviceVolumeRadiusNmi = number(pages.svRadiusField);
    d.serviceVolumeHeightFt = number(pages.svHeightField);
    d.gridType = code(pages.gridTypeField);
    d.gridAltitudeFt = number(pages.gridAltitudeField);
    std::string angle = text(pages.gridAngleField);
    const auto b = angle.find_first_not_of(' ');
    d.gridAngleText = b == std::string::npos ? "" : angle.substr(b, angle.find_last_not_of(' ') - b + 1);
    return d;
}

}  // namespace crv::editors
