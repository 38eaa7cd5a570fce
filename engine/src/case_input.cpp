#include "case_input.h"

#include <cmath>
#include <cstdint>
#include <optional>
#include <string_view>

#include "crv/formats/case_file.h"
#include "crv/platform/numbers.h"
#include "crv/platform/text_file.h"
#include "failure.h"
#include "file_units.h"
#include "fixed_text.h"
#include "geodesy.h"
#include "navaid_models.h"
#include "paths.h"
#include "pattern_files.h"

namespace crv::engine {

namespace {

using crv::formats::Columns;
using crv::formats::textAt;
using crv::platform::LineReader;
namespace nav = crv::formats::navaid_line;
namespace src = crv::formats::rf_source_line;
namespace cl = crv::formats::case_line;

constexpr const char* kRoutine = kReadDataRoutine;
constexpr const char* kCaseFile = "simulation data file";

[[noreturn]] void refuse(std::string message) { fail(kRoutine, std::move(message)); }

// One line of the case file, read by fixed columns. A blank numeric field reads
// as zero; anything else that is not a number is refused with the line and
// columns, so the user can find it.
class FixedLine {
public:
    FixedLine(const std::string& line, long number, const std::string& path)
        : line_(line), number_(number), path_(path) {}

    std::string text(Columns c) const { return trimRightCopy(textAt(line_, c)); }

    double real(Columns c) const {
        auto v = crv::formats::realAt(line_, c);
        if (!v || !std::isfinite(*v)) unreadable(c);
        return *v;
    }

    std::int32_t integer(Columns c) const {
        auto v = crv::formats::integerAt(line_, c);
        if (!v || *v < INT32_MIN || *v > INT32_MAX) unreadable(c);
        return static_cast<std::int32_t>(*v);
    }

    // The degrees field carries the hemisphere; "-0" must stay south or east.
    bool negative(Columns c) const { return crv::formats::trimmedAt(line_, c).starts_with('-'); }

    long number() const { return number_; }

private:
    [[noreturn]] void unreadable(Columns c) const {
        refuse("Could not read the number \"" + std::string(crv::formats::trimmedAt(line_, c)) + "\" in line " +
               std::to_string(number_) + ", columns " + std::to_string(c.first) + "-" + std::to_string(c.last) +
               ", of " + kCaseFile + ":\r" + path_);
    }

    const std::string& line_;
    long number_;
    const std::string& path_;
};

[[noreturn]] void endsEarly(const std::string& detail, const std::string& path) {
    refuse("The simulation data file ends early (" + detail + "):\r" + path);
}

// The next line, or the failure that says why there is none: a read error
// or an over-long line is not the end of the file.
bool nextLine(LineReader& in, std::string& line, const std::string& path) {
    if (in.next(line)) return true;
    if (in.failed()) refuse("Could not read simulation data file (" + in.reason() + "):\r" + path);
    return false;
}

// The longest line the case file can hold: fixed columns to 75, the options
// line and the option texts well within it. A longer line is not a case file.
constexpr std::size_t kMaxCaseLine = 512;

std::int32_t toKHz(double frequencyMHz) { return static_cast<std::int32_t>(std::lround(frequencyMHz * 1000.0 + 0.2)); }

// Frequencies feed logarithms and whole-kHz comparisons: they must be positive
// and small enough for a kHz count.
bool usableFrequency(double mhz) { return std::isfinite(mhz) && mhz > 0.0 && mhz < 1.0e6; }

bool arrayUsesPower(int arrayType) {
    return (arrayType >= 2 && arrayType <= 31) || arrayType == 33 || arrayType == 34 || arrayType == 36 ||
           arrayType == 37 || arrayType == 38;
}

std::int16_t optionInteger(std::string_view field, long lineNumber, const std::string& path) {
    auto v = crv::platform::parseInteger(field);
    if (!v || *v < INT16_MIN || *v > INT16_MAX)
        refuse("Could not read the number \"" + std::string(field.substr(0, 20)) + "\" in line " +
               std::to_string(lineNumber) + " of " + kCaseFile + ":\r" + path);
    return static_cast<std::int16_t>(*v);
}

double optionReal(std::string_view field, long lineNumber, const std::string& path) {
    auto v = crv::platform::parseReal(field);
    if (!v || !std::isfinite(*v))
        refuse("Could not read the number \"" + std::string(field.substr(0, 20)) + "\" in line " +
               std::to_string(lineNumber) + " of " + kCaseFile + ":\r" + path);
    // The grid altitude and angle go into every plot header as single reals:
    // a value beyond any altitude, angle or increment is a damaged line.
    if (std::fabs(*v) > 1.0e30)
        refuse("The value \"" + std::string(field.substr(0, 20)) + "\" in line " + std::to_string(lineNumber) +
               " of " + kCaseFile + " is out of range:\r" + path);
    return *v;
}

void readVersion(LineReader& in, const std::string& path) {
    std::string line;
    if (!nextLine(in, line, path)) endsEarly("no version line", path);
    // Compared as 20-byte blank-padded fields, byte by byte.
    const std::string version = padded(line, 20);
    if (version < padded("CRV Version 5.0.2", 20) || version > padded(crv::formats::kVersionText, 20))
        refuse("Could not read obsolete data file");
}

void readNavaid(LineReader& in, const std::string& path, Facility& nav) {
    std::string line;
    if (!nextLine(in, line, path)) endsEarly("no navaid line", path);
    const FixedLine f(line, in.lineNumber(), path);
    nav.identifier = f.text(nav::identifier);
    nav.runwayHeadingDeg = f.real(nav::runwayHeading);
    nav.frequencyMHz = f.real(nav::frequency);
    nav.latDeg = f.integer(nav::latDegrees);
    nav.latMin = f.integer(nav::latMinutes);
    nav.latSec = f.integer(nav::latSeconds);
    nav.lonDeg = f.integer(nav::lonDegrees);
    nav.lonMin = f.integer(nav::lonMinutes);
    nav.lonSec = f.integer(nav::lonSeconds);
    nav.fieldElevationFt = f.real(nav::fieldElevation);
    nav.runwayLengthFt = f.real(nav::runwayLength);
    nav.transmitterPower = f.real(nav::transmitterPower);
    const std::int32_t arrayType = f.integer(nav::arrayType);
    const std::int32_t svType = f.integer(nav::serviceVolumeType);
    nav.serviceVolumeRadiusNmi = f.real(nav::serviceVolumeRadius);
    nav.serviceVolumeHeightFt = f.real(nav::serviceVolumeHeight);

    nav.latitude = DMS2Deg(nav.latDeg, nav.latMin, nav.latSec, f.negative(nav::latDegrees));
    nav.longitude = DMS2Deg(nav.lonDeg, nav.lonMin, nav.lonSec, f.negative(nav::lonDegrees));

    if (arrayType < 0 || arrayType > 38) refuse("Invalid navaid array type");
    if (svType < 0 || svType > 8) refuse("Invalid navaid service volume type");
    nav.arrayType = static_cast<std::int16_t>(arrayType == 0 ? 6 : arrayType);
    nav.serviceVolumeType = static_cast<std::int16_t>(svType);

    const std::string mismatch = navaidModelMismatch(nav.arrayType, nav.serviceVolumeType);
    if (!mismatch.empty()) refuse(mismatch);
    if (!usableFrequency(nav.frequencyMHz))
        refuse("Invalid navaid frequency in line " + std::to_string(f.number()) + " of " + kCaseFile +
               " (it must be greater than 0 MHz).");
    nav.frequencyKHz = toKHz(nav.frequencyMHz);
    if (arrayUsesPower(nav.arrayType) && !(nav.transmitterPower > 0.0))
        refuse("Invalid navaid transmitter power in line " + std::to_string(f.number()) + " of " + kCaseFile +
               " (it must be greater than 0).");
}

struct PatternMarks {
    std::array<bool, 26> horizontal{};
    std::array<bool, 7> vertical{};
};

void readStations(LineReader& in, const std::string& path, EngineState& s, PatternMarks& marks) {
    std::string line;
    int ordinal = 0;
    for (;;) {
        ++ordinal;
        if (!nextLine(in, line, path)) endsEarly("no line \" $$$$\" after the RF sources", path);
        const FixedLine f(line, in.lineNumber(), path);
        Station st;
        st.callSign = f.text(src::callSign);
        if (st.callSign == "$$$$") return;
        st.frequencyMHz = f.real(src::frequency);
        st.latDeg = f.integer(src::latDegrees);
        st.latMin = f.integer(src::latMinutes);
        st.latSec = f.integer(src::latSeconds);
        st.lonDeg = f.integer(src::lonDegrees);
        st.lonMin = f.integer(src::lonMinutes);
        st.lonSec = f.integer(src::lonSeconds);
        st.erpKw = f.real(src::erp);
        st.antennaElevationFt = f.real(src::antennaElevation);
        st.elementType = f.integer(src::elementType);
        st.horizontalPattern = f.integer(src::horizontalPattern);
        st.rotationDeg = f.real(src::rotation);
        const std::int32_t status = f.integer(src::proponentStatus);
        st.licenceStatus = f.text(src::licenceStatus);

        if (status == 2) continue;  // ignored: not stored, but it keeps its ordinal

        const std::string where = " in line " + std::to_string(f.number()) + " of " + kCaseFile;
        if (!usableFrequency(st.frequencyMHz))
            refuse("Invalid frequency of RF source " + st.callSign + where + " (it must be greater than 0 MHz).");
        st.frequencyKHz = toKHz(st.frequencyMHz);
        // Equal frequencies are equal whole kHz, as the files write them.
        if (st.frequencyKHz == s.navaid.frequencyKHz) refuse("Navaid frequency is duplicated in input data file");
        if (st.elementType >= 58 && st.elementType <= 63)
            marks.vertical[static_cast<std::size_t>(st.elementType - 57)] = true;
        else if (st.elementType < 0 || st.elementType > 63)
            refuse("Invalid radiating element type");
        if (st.horizontalPattern >= 1 && st.horizontalPattern <= 25)
            marks.horizontal[static_cast<std::size_t>(st.horizontalPattern)] = true;
        else if (st.horizontalPattern != 0)
            refuse("Invalid FM horizontal pattern number");
        if (!(st.erpKw > 0.0)) refuse("Invalid ERP of RF source " + st.callSign + where + " (it must be greater than 0).");
        if (static_cast<int>(s.stations.size()) >= kMaxStations)
            refuse("The simulation data file holds more than " + std::to_string(kMaxStations) +
                   " RF sources (ignored lines not counted).");
        if (ordinal > kMaxStationOrdinal)
            refuse("RF source " + st.callSign + where + " is RF-source line " + std::to_string(ordinal) +
                   "; result files can name RF-source lines only up to " + std::to_string(kMaxStationOrdinal) + ".");

        st.latitude = DMS2Deg(st.latDeg, st.latMin, st.latSec, f.negative(src::latDegrees));
        st.longitude = DMS2Deg(st.lonDeg, st.lonMin, st.lonSec, f.negative(src::lonDegrees));
        st.proponent = status == 1;
        st.ordinal = static_cast<std::int16_t>(ordinal);
        s.stations.push_back(std::move(st));
    }
}

void readOptions(LineReader& in, const std::string& path, EngineState& s) {
    std::string line;
    if (!nextLine(in, line, path)) endsEarly("no options line", path);
    const long n = in.lineNumber();
    const auto fields = crv::platform::splitFreeFormat(line);
    if (fields.size() < 12)
        refuse("The options line (line " + std::to_string(n) + ") of the simulation data file holds fewer than 12 values:\r" +
               path);
    CaseOptions& o = s.options;
    o.gridType = optionInteger(fields[0], n, path);
    o.intermodType = optionInteger(fields[1], n, path);
    o.antennaRejection = optionInteger(fields[2], n, path);
    o.criteriaType = optionInteger(fields[3], n, path);
    o.cutoffType = optionInteger(fields[4], n, path);
    o.outputStyle = optionInteger(fields[5], n, path);
    o.gridAltitudeFt = optionReal(fields[6], n, path);
    o.gridAngleDeg = optionReal(fields[7], n, path);
    o.horIncrementFt = optionReal(fields[8], n, path);
    o.vrtIncrementFt = optionReal(fields[9], n, path);
    o.prescreen = optionInteger(fields[10], n, path);
    o.observeIcaoMinimum = optionInteger(fields[11], n, path);

    o.regressionCriteria = o.criteriaType == 1 || o.criteriaType == 5 || o.criteriaType == 7;
    // The field edition offers no separate antenna and cutoff models.
    if (!s.scientific) {
        o.antennaRejection = o.criteriaType;
        o.cutoffType = o.criteriaType;
    }
    if (o.gridType < 1 || o.gridType > 12) refuse("Invalid simulation grid type");
    if (o.intermodType < 0 || o.intermodType > 6) refuse("Invalid intermod calculation type");
    if (o.antennaRejection < 1 || o.antennaRejection > 63) refuse("Invalid antenna rejection type");
    if (o.criteriaType < 1 || o.criteriaType > 7) refuse("Invalid interference criteria type");
    if (o.cutoffType < 1 || o.cutoffType > 6) refuse("Invalid cutoff criteria type");
}

void readCaseTexts(LineReader& in, const std::string& path, CaseTexts& texts) {
    std::string line;
    if (!nextLine(in, line, path)) endsEarly("no case line", path);
    texts.airspaceCase = trimRightCopy(textAt(line, cl::airspaceCase));
    texts.site = trimRightCopy(textAt(line, cl::site));
    texts.date = trimRightCopy(textAt(line, cl::date));
    while (texts.labels.size() < 8 && in.next(line)) texts.labels.push_back(trimRightCopy(textAt(line, crv::formats::kOptionText)));
}

void readCaseFile(const std::string& path, EngineState& s, PatternMarks& marks) {
    FileUnit unit(kRoutine);
    LineReader in;
    if (!in.open(path)) refuse("Could not open simulation data file:\r" + path);
    in.setMaxLineLength(kMaxCaseLine);
    readVersion(in, path);
    readNavaid(in, path, s.navaid);
    readStations(in, path, s, marks);
    readOptions(in, path, s);
    readCaseTexts(in, path, s.texts);
}

std::string twoDigits(int n) { return (n < 10 ? "0" : "") + std::to_string(n); }

void readPatterns(EngineState& s, const PatternMarks& marks) {
    const std::string& folder = s.paths.userFolder;
    if (s.navaid.arrayType == 38)
        s.patterns.localizerGainDb =
            readPatternFile(folder + "LocHor.pat", PatternKind::Localizer, s.patterns.localizer, kRoutine);
    for (int n = 1; n <= 25; ++n)
        if (marks.horizontal[static_cast<std::size_t>(n)])
            readPatternFile(folder + "FmHor" + twoDigits(n) + ".pat", PatternKind::FmHorizontal,
                            s.patterns.fmHorizontal[static_cast<std::size_t>(n)], kRoutine);
    for (int n = 1; n <= 6; ++n)
        if (marks.vertical[static_cast<std::size_t>(n)])
            readPatternFile(folder + "FmVrt" + std::to_string(n) + ".pat", PatternKind::FmVertical,
                            s.patterns.fmVertical[static_cast<std::size_t>(n)], kRoutine);
    if (s.options.antennaRejection == 63)
        readAntennaCalibration(folder + "Antenna.cal", s.patterns.antennaCalibration, kRoutine);
    if (s.options.intermodType != 0 && s.options.criteriaType == 7)
        readReceiverCalibration(folder + "Receiver.cal", s.patterns.receiverCalibration, kRoutine);
}

void setProponentsAndGridAngle(EngineState& s) {
    for (int slot = static_cast<int>(s.stations.size()); slot >= 1; --slot)
        if (s.slot(slot).proponent) s.proponents.push_back(static_cast<std::int16_t>(slot));
    double angle = s.options.gridAngleDeg;
    if (s.options.gridType == 4 || s.options.gridType == 6) {
        if (s.proponents.empty())
            refuse("Grid types 4 and 6 aim the vertical grid at the first proponent, but no RF source of the case "
                   "is marked as proponent.");
        const Station& p = s.slot(s.proponents.front());
        angle = LLDist(s.navaid.latitude, s.navaid.longitude, p.latitude, p.longitude).bearingDeg;
        if (s.navaid.serviceVolumeType <= 4) angle += 180.0;
    }
    s.options.gridAngleUsedDeg = WrapAng(angle, 0.0, 360.0);
}

}  // namespace

void ReadData(EngineState& state, const std::string& runFolder) {
    // Built aside and handed over whole: a failed read leaves the caller's
    // state as it was, so a half-read case can never be used.
    EngineState s;
    GetPaths(s);
    s.paths.runFolder = asFolder(runFolder);
    PatternMarks marks;
    readCaseFile(s.paths.runFolder + "Rfi.plt", s, marks);
    setProponentsAndGridAngle(s);
    readPatterns(s, marks);
    state = std::move(s);
}

}  // namespace crv::engine
