// The heading of the simulation report "Rfi.txt".
#include "report_heading.h"

#include <cmath>

#include "geodesy.h"

namespace crv::engine {

namespace {

// The degree sign as the report's Windows-1252 text holds it.
const std::string kDegreeSign = "\xB0";

std::string label(const EngineState& state, int line) {
    const auto index = static_cast<std::size_t>(line - 1);
    return index < state.texts.labels.size() ? state.texts.labels[index] : std::string();
}

long long nearestFoot(double ft) { return std::llround(ft); }

void facility(const EngineState& state, ReportFile& report) {
    const Facility& nav = state.navaid;
    report.write("(1X,'Airspace Case:',T25,A15,/,1X,'Site:',T25,A25,/,1X,'Date:',T25,A8,/)",
                 {state.texts.airspaceCase, state.texts.site, state.texts.date});
    report.write("(1X,'Facility Identifier:',T25,A3,/,1X,'Facility Frequency:',T25,F7.3,' MHz',/)",
                 {nav.identifier, nav.frequencyMHz});
    report.write("(1X,'Facility Latitude:',T24,I4,A1,1X,I2.2,'''',1X,I2.2,'\"')",
                 {static_cast<long long>(nav.latDeg), kDegreeSign, static_cast<long long>(nav.latMin),
                  static_cast<long long>(nav.latSec)});
    report.write("(1X,'Facility Longitude:',T24,I4,A1,1X,I2.2,'''',1X,I2.2,'\"',/)",
                 {static_cast<long long>(nav.lonDeg), kDegreeSign, static_cast<long long>(nav.lonMin),
                  static_cast<long long>(nav.lonSec)});
    if (nav.serviceVolumeType <= 4) {
        report.write("(1X,'Runway Heading:',T25,F5.1,' deg (true)')", {nav.runwayHeadingDeg});
        report.write("(1X,'Runway Elevation:',T25,I5,' ft MSL')", {nearestFoot(nav.fieldElevationFt)});
        report.write("(1X,'Runway Length:',T25,I5,' ft')", {nearestFoot(nav.runwayLengthFt)});
    } else {
        report.write("(1X,'Facility Elevation:',T25,I5,' ft MSL')", {nearestFoot(nav.fieldElevationFt)});
    }
}

void stationTable(const EngineState& state, ReportFile& report) {
    report.write("(/,/,1X,'Prop ID  Call      Freq   Latitude  Longitude','    ERP   Height Range  Radial  Lic')");
    report.write("(1X,'                   MHz                       ','    kW    ft MSL  nmi    true')");
    report.separator();
    const EditFormat row(
        "(2X,A1,1X,I4,2X,A7,1X,F7.3,2(I4,1X,I2.2,1X,I2.2,1X),F8.4,1X,I5,1X,F6.2,2X,F6.2,2X,A3)");
    const Facility& nav = state.navaid;
    for (const Station& st : state.stations) {
        // A localizer's stations are placed by where they lie seen from the
        // approach (station to navaid); an omnidirectional facility's by
        // its radial (navaid to station).
        const DistBearing db = nav.serviceVolumeType <= 4
                                   ? LLDist(st.latitude, st.longitude, nav.latitude, nav.longitude)
                                   : LLDist(nav.latitude, nav.longitude, st.latitude, st.longitude);
        report.write(row, {std::string(st.proponent ? "*" : " "), static_cast<long long>(st.ordinal), st.callSign,
                           st.frequencyMHz, static_cast<long long>(st.latDeg), static_cast<long long>(st.latMin),
                           static_cast<long long>(st.latSec), static_cast<long long>(st.lonDeg),
                           static_cast<long long>(st.lonMin), static_cast<long long>(st.lonSec), st.erpKw,
                           nearestFoot(st.antennaElevationFt), db.distanceNmi, db.bearingDeg, st.licenceStatus});
    }
}

void models(const EngineState& state, ReportFile& report) {
    report.write("(/,/,1X,'Interference thresholds are computed using ','the following:',/)");
    const EditFormat line("(1X,A27,2X,A45)");
    if (state.navaid.arrayType == 1)
        report.write("(1X,'Constant localizer level of -86.0 dBm')");
    else
        report.write(line, {std::string("Facility antenna type:     "), label(state, 1)});
    report.write(line, {std::string("Service volume type:       "), label(state, 2)});
    if (state.scientific) {
        report.write(line, {std::string("Receiver antenna rejection:"), label(state, 5)});
        report.write(line, {std::string("Interference criteria:     "), label(state, 6)});
        report.write(line, {std::string("Cutoff criteria:           "), label(state, 7)});
    }
}

}  // namespace

void WriteHeader(const EngineState& state, ReportFile& report) {
    report.write("(1X,'Corvane, Version 5.0',/)");
    facility(state, report);
    stationTable(state, report);
    WritePatterns(state, report);
    report.separator();
    models(state, report);
    report.separator();
}

}  // namespace crv::engine
