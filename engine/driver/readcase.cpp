// "crv50 readcase RUNFOLDER": what the engine reads of a case, for tests and
// for users chasing a bad case. Runs the engine's own case reader so what is
// printed is what every evaluation would work from.
#include <cstdio>
#include <string>

#include "case_input.h"
#include "crv/platform/numbers.h"
#include "failure.h"
#include "output.h"

namespace {

std::string real(double v) { return crv::platform::formatShortest(v); }

void printLine(const std::string& key, const std::string& value) { crv::driver::printValue(key, value); }
void printLine(const std::string& key, long long value) { std::printf("%s=%lld\n", key.c_str(), value); }

}  // namespace

int readCaseCommand(const std::string& runFolder) {
    crv::engine::EngineState state;
    try {
        crv::engine::ReadData(state, runFolder);
    } catch (const crv::engine::EngineFailure& e) {
        std::string message = e.message();
        for (char& c : message)
            if (c == '\r') c = '\n';
        const std::string routine(crv::platform::trimBlanks(e.routine()));
        std::fprintf(stderr, "crv50: %s: %s\n", routine.c_str(), message.c_str());
        return 2;
    }
    const auto& n = state.navaid;
    printLine("edition", state.paths.edition);
    printLine("navaid.identifier", n.identifier);
    printLine("navaid.course", real(n.runwayHeadingDeg));
    printLine("navaid.frequency_mhz", real(n.frequencyMHz));
    printLine("navaid.frequency_khz", n.frequencyKHz);
    printLine("navaid.latitude", real(n.latitude));
    printLine("navaid.longitude", real(n.longitude));
    printLine("navaid.field_elevation_ft", real(n.fieldElevationFt));
    printLine("navaid.runway_length_ft", real(n.runwayLengthFt));
    printLine("navaid.transmitter_power", real(n.transmitterPower));
    printLine("navaid.array_type", n.arrayType);
    printLine("navaid.service_volume_type", n.serviceVolumeType);
    printLine("navaid.service_volume_radius_nmi", real(n.serviceVolumeRadiusNmi));
    printLine("navaid.service_volume_height_ft", real(n.serviceVolumeHeightFt));

    printLine("stations", static_cast<long long>(state.stations.size()));
    for (std::size_t i = 0; i < state.stations.size(); ++i) {
        const auto& s = state.stations[i];
        const std::string k = "station." + std::to_string(i + 1) + ".";
        printLine(k + "ordinal", s.ordinal);
        printLine(k + "call_sign", s.callSign);
        printLine(k + "frequency_mhz", real(s.frequencyMHz));
        printLine(k + "frequency_khz", s.frequencyKHz);
        printLine(k + "latitude", real(s.latitude));
        printLine(k + "longitude", real(s.longitude));
        printLine(k + "erp_kw", real(s.erpKw));
        printLine(k + "antenna_elevation_ft", real(s.antennaElevationFt));
        printLine(k + "element_type", s.elementType);
        printLine(k + "horizontal_pattern", s.horizontalPattern);
        printLine(k + "rotation", real(s.rotationDeg));
        printLine(k + "proponent", s.proponent ? 1 : 0);
        printLine(k + "licence_status", s.licenceStatus);
    }

    std::string proponents;
    for (auto slot : state.proponents) proponents += (proponents.empty() ? "" : " ") + std::to_string(slot);
    printLine("proponents", proponents);

    const auto& o = state.options;
    printLine("options.grid_type", o.gridType);
    printLine("options.intermod_type", o.intermodType);
    printLine("options.antenna_rejection_type", o.antennaRejection);
    printLine("options.criteria_type", o.criteriaType);
    printLine("options.cutoff_type", o.cutoffType);
    printLine("options.output_style", o.outputStyle);
    printLine("options.grid_altitude_ft", real(o.gridAltitudeFt));
    printLine("options.grid_angle", real(o.gridAngleDeg));
    printLine("options.horizontal_increment_ft", real(o.horIncrementFt));
    printLine("options.vertical_increment_ft", real(o.vrtIncrementFt));
    printLine("options.prescreen", o.prescreen);
    printLine("options.observe_icao_minimum", o.observeIcaoMinimum);
    printLine("options.regression_criteria", o.regressionCriteria ? 1 : 0);
    printLine("grid_angle_used", real(o.gridAngleUsedDeg));

    printLine("case.airspace_case", state.texts.airspaceCase);
    printLine("case.site", state.texts.site);
    printLine("case.date", state.texts.date);
    return 0;
}
