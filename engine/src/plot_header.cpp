#include "plot_header.h"

#include "export_call.h"
#include "failure.h"

namespace crv::engine {

crv::formats::PlotHeader plotHeaderFor(const EngineState& state, const std::string& fileName,
                                       const std::string& title1, const std::string& title2) {
    crv::formats::PlotHeader h;
    h.airspaceCase = state.texts.airspaceCase;
    h.site = state.texts.site;
    h.date = state.texts.date;
    h.fileName = fileName;
    h.title1 = title1;
    h.title2 = title2;
    h.headingDeg = static_cast<float>(state.navaid.runwayHeadingDeg);
    h.frequencyMHz = static_cast<float>(state.navaid.frequencyMHz);
    h.fieldElevationFt = static_cast<float>(state.navaid.fieldElevationFt);
    h.runwayLengthFt = static_cast<float>(state.navaid.runwayLengthFt);
    h.serviceVolumeType = state.navaid.serviceVolumeType;
    h.navaidId = state.navaid.identifier;
    h.serviceVolumeRadiusNmi = static_cast<float>(state.navaid.serviceVolumeRadiusNmi);
    h.serviceVolumeHeightFt = static_cast<float>(state.navaid.serviceVolumeHeightFt);
    h.gridType = state.options.gridType;
    h.gridAltitudeFt = static_cast<float>(state.options.gridAltitudeFt);
    h.gridAngleDeg = static_cast<float>(state.options.gridAngleUsedDeg);
    return h;
}

void PlotHdr(const EngineState& state, crv::formats::RecordWriter& writer, const std::string& fileName,
             const std::string& title1, const std::string& title2, std::string_view routine) {
    const std::string path = state.paths.runFolder + fileName;
    if (!writer.open(path)) fail(routine, "Could not create plot file:\r" + writer.error());
    noteResultFile(path);
    writer.writeHeader(plotHeaderFor(state, fileName, title1, title2));
}

}  // namespace crv::engine
