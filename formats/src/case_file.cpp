#include "crv/formats/case_file.h"

#include <cmath>

#include "crv/formats/numbers.h"

namespace crv::formats {

namespace {

// One line being written field by field; remembers the first field whose
// value did not fit.
class LineWriter {
public:
    LineWriter(int length, std::string* cut) : line_(static_cast<std::size_t>(length), ' '), cut_(cut) {
        if (cut_) cut_->clear();
    }
    // As given, from the field's first column: trailing blanks only pad.
    void text(Columns c, std::string_view value, const char* name) {
        if (static_cast<int>(trimRight(value).size()) > c.width()) note(name);
        putText(line_, c, value);
    }
    void number(Columns c, double value, int decimals, const char* name) {
        right(c, formatDecimal(value, decimals), name);
    }
    void position(Columns c, const DmsField& f, const char* name) { right(c, dmsFieldText(f, c.width()), name); }
    std::string str() const { return line_; }

private:
    static std::string_view trimRight(std::string_view s) {
        while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
        return s;
    }
    void right(Columns c, const std::string& text, const char* name) {
        const auto width = static_cast<std::size_t>(c.width());
        if (text.size() > width) note(name);
        const std::string field = text.size() >= width ? text.substr(0, width) : std::string(width - text.size(), ' ') + text;
        line_.replace(static_cast<std::size_t>(c.first - 1), width, field);
    }
    void note(const char* name) {
        if (cut_ && cut_->empty()) *cut_ = name;
    }
    std::string line_;
    std::string* cut_;
};

std::string twoDigits(int v) {
    std::string s = std::to_string(v < 0 ? -v : v);
    return s.size() < 2 ? "0" + s : s;
}

// Degrees, minutes and seconds of a position field; the degrees carry the
// hemisphere.
DmsField positionAt(FieldReader& r, Columns degrees, Columns minutes, Columns seconds) {
    DmsField f;
    f.negative = r.negative(degrees);
    const long long d = r.whole(degrees);
    f.degrees = static_cast<int>(d < 0 ? -d : d);
    f.minutes = static_cast<int>(r.whole(minutes));
    f.seconds = static_cast<int>(r.whole(seconds));
    return f;
}

}  // namespace

std::optional<NavaidLine> readNavaidLine(std::string_view line, NavaidMark* mark, Columns* bad) {
    namespace c = navaid_line;
    FieldReader r(line, bad);
    NavaidLine n;
    n.identifier = r.text(c::identifier);
    n.runwayHeadingDeg = r.real(c::runwayHeading);
    n.frequencyMHz = r.real(c::frequency);
    n.latitude = positionAt(r, c::latDegrees, c::latMinutes, c::latSeconds);
    n.longitude = positionAt(r, c::lonDegrees, c::lonMinutes, c::lonSeconds);
    n.fieldElevationFt = r.real(c::fieldElevation);
    n.runwayLengthFt = r.real(c::runwayLength);
    n.transmitterPower = r.real(c::transmitterPower);
    n.arrayType = static_cast<int>(r.whole(c::arrayType));
    n.serviceVolumeType = static_cast<int>(r.whole(c::serviceVolumeType));
    n.serviceVolumeRadiusNmi = r.real(c::serviceVolumeRadius);
    n.serviceVolumeHeightFt = r.real(c::serviceVolumeHeight);
    if (!r.ok()) return std::nullopt;
    if (mark) {
        const std::string_view after = line.size() > c::kLength ? line.substr(c::kLength) : std::string_view();
        *mark = after == std::string(" ") + c::kCheckedMark ? NavaidMark::Checked
                : after == "  "                            ? NavaidMark::Pending
                                                           : NavaidMark::None;
    }
    return n;
}

std::optional<RfSourceLine> readRfSourceLine(std::string_view line, Columns* bad) {
    namespace c = rf_source_line;
    FieldReader r(line, bad);
    RfSourceLine s;
    s.callSign = r.text(c::callSign);
    s.frequencyMHz = r.real(c::frequency);
    s.latitude = positionAt(r, c::latDegrees, c::latMinutes, c::latSeconds);
    s.longitude = positionAt(r, c::lonDegrees, c::lonMinutes, c::lonSeconds);
    s.erpKw = r.real(c::erp);
    s.antennaElevationFt = r.real(c::antennaElevation);
    s.elementType = static_cast<int>(r.whole(c::elementType));
    s.horizontalPattern = static_cast<int>(r.whole(c::horizontalPattern));
    s.rotationDeg = r.real(c::rotation);
    s.proponentStatus = static_cast<int>(r.whole(c::proponentStatus));
    s.licenceStatus = r.text(c::licenceStatus);
    s.dummyMask = static_cast<long>(r.whole(c::dummyMask));
    if (!r.ok()) return std::nullopt;
    return s;
}

std::optional<OptionsLine> readOptionsLine(std::string_view line, Columns* bad) {
    namespace c = options_line;
    FieldReader r(line, bad);
    OptionsLine o;
    o.gridType = static_cast<int>(r.whole(c::gridType));
    o.intermodType = static_cast<int>(r.whole(c::intermodType));
    o.antennaRejection = static_cast<int>(r.whole(c::antennaRejection));
    o.criteriaType = static_cast<int>(r.whole(c::criteriaType));
    o.cutoffType = static_cast<int>(r.whole(c::cutoffType));
    o.outputStyle = static_cast<int>(r.whole(c::outputStyle));
    o.gridAltitudeFt = r.real(c::gridAltitude);
    o.gridAngleDeg = r.real(c::gridAngle);
    o.horizontalIncrementFt = r.real(c::horizontalIncrement);
    o.verticalIncrementFt = r.real(c::verticalIncrement);
    o.prescreening = static_cast<int>(r.whole(c::prescreening));
    o.observeIcaoMinimum = static_cast<int>(r.whole(c::observeIcaoMinimum));
    if (!r.ok()) return std::nullopt;
    return o;
}

std::optional<CaseLine> readCaseLine(std::string_view line, Columns* bad) {
    namespace c = case_line;
    FieldReader r(line, bad);
    CaseLine l;
    l.airspaceCase = r.text(c::airspaceCase);
    l.site = r.text(c::site);
    l.date = r.text(c::date);
    l.searchRadiusNmi = r.real(c::searchRadius);
    if (!r.ok()) return std::nullopt;
    return l;
}

std::string dmsFieldText(const DmsField& f, int width) {
    std::string degrees = (f.negative || f.degrees < 0 ? "-" : "") + std::to_string(f.degrees < 0 ? -f.degrees : f.degrees);
    const std::size_t degreeWidth = static_cast<std::size_t>(width) - 6;
    if (degrees.size() < degreeWidth) degrees.insert(0, degreeWidth - degrees.size(), ' ');
    return degrees + " " + twoDigits(f.minutes) + " " + twoDigits(f.seconds);
}

std::string writeNavaidLine(const NavaidLine& n, NavaidMark mark, std::string* cut) {
    namespace c = navaid_line;
    LineWriter w(c::kLength, cut);
    w.text(c::identifier, n.identifier, "Navaid ID");
    w.number(c::runwayHeading, n.runwayHeadingDeg, 0, "Runway Heading");
    w.number(c::frequency, n.frequencyMHz, 3, "Frequency");
    w.position(c::latitude, n.latitude, "Latitude");
    w.position(c::longitude, n.longitude, "Longitude");
    w.number(c::fieldElevation, n.fieldElevationFt, 0, "Field Elevation");
    w.number(c::runwayLength, n.runwayLengthFt, 0, "Runway Length");
    w.number(c::transmitterPower, n.transmitterPower, 0, "Transmitter Power");
    w.number(c::arrayType, n.arrayType, 0, "Array Type");
    w.number(c::serviceVolumeType, n.serviceVolumeType, 0, "Service Volume Type");
    w.number(c::serviceVolumeRadius, n.serviceVolumeRadiusNmi, 0, "Service Volume Radius");
    w.number(c::serviceVolumeHeight, n.serviceVolumeHeightFt, 0, "Service Volume Height");
    std::string line = w.str();
    if (mark == NavaidMark::Checked) line += std::string(" ") + c::kCheckedMark;
    if (mark == NavaidMark::Pending) line += "  ";
    return line;
}

std::string writeRfSourceLine(const RfSourceLine& s, std::string* cut) {
    namespace c = rf_source_line;
    LineWriter w(c::kLength, cut);
    w.text(c::callSign, s.callSign, "Call Letters");
    w.number(c::frequency, s.frequencyMHz, 3, "Frequency");
    w.position(c::latitude, s.latitude, "Latitude");
    w.position(c::longitude, s.longitude, "Longitude");
    w.number(c::erp, s.erpKw, 4, "Effective Radiated Power");
    w.number(c::antennaElevation, s.antennaElevationFt, 0, "Elevation of Radiator");
    w.number(c::elementType, s.elementType, 0, "Radiating Element Type");
    w.number(c::horizontalPattern, s.horizontalPattern, 0, "Horizontal Radiation Pattern");
    w.number(c::rotation, s.rotationDeg, 0, "Pattern Rotation Angle");
    w.number(c::proponentStatus, s.proponentStatus, 0, "Proponent Status");
    w.text(c::licenceStatus, s.licenceStatus, "License Status");
    w.number(c::dummyMask, static_cast<double>(s.dummyMask), 0, "Dummy Value Flag");
    return w.str();
}

std::string writeOptionsLine(const OptionsLine& o, std::string* cut) {
    namespace c = options_line;
    LineWriter w(c::kLength, cut);
    w.number(c::gridType, o.gridType, 0, "Grid Type");
    w.number(c::intermodType, o.intermodType, 0, "Intermod Calculations");
    w.number(c::antennaRejection, o.antennaRejection, 0, "Antenna Rejection");
    w.number(c::criteriaType, o.criteriaType, 0, "Interference Criteria");
    w.number(c::cutoffType, o.cutoffType, 0, "Cutoff Criteria");
    w.number(c::outputStyle, o.outputStyle, 0, "Output Style");
    w.number(c::gridAltitude, o.gridAltitudeFt, 0, "Grid Altitude");
    w.number(c::gridAngle, o.gridAngleDeg, 0, "Grid Angle");
    w.number(c::horizontalIncrement, o.horizontalIncrementFt, 0, "Horizontal Increment");
    w.number(c::verticalIncrement, o.verticalIncrementFt, 0, "Vertical Increment");
    w.number(c::prescreening, o.prescreening, 0, "Coarse Grid Prescreening");
    w.number(c::observeIcaoMinimum, o.observeIcaoMinimum, 0, "Observe ICAO Minimum");
    return w.str();
}

std::string writeCaseLine(const CaseLine& l, std::string* cut) {
    namespace c = case_line;
    LineWriter w(c::kLength, cut);
    w.text(c::airspaceCase, l.airspaceCase, "Airspace Case");
    w.text(c::site, l.site, "Site");
    w.text(c::date, l.date, "Date");
    w.number(c::searchRadius, l.searchRadiusNmi, 0, "Search Radius");
    return w.str();
}

std::string newCaseNavaidLine(std::string_view navaidRecord) {
    std::string line;
    putText(line, navaid_record::caseColumns, textAt(navaidRecord, navaid_record::caseColumns));
    return line + " ";
}

std::string proponentLine(std::string_view proponentRecord) {
    RfSourceLine tail;
    tail.proponentStatus = 1;
    tail.licenceStatus = "PRP";
    std::string line = writeRfSourceLine(tail);
    line.replace(0, static_cast<std::size_t>(rf_source_line::proponentRecord.width()),
                 leftSet(proponentRecord, static_cast<std::size_t>(rf_source_line::proponentRecord.width())));
    return line;
}

std::optional<int> serviceVolumeType(std::string_view navaidLine) {
    const auto value = realAt(navaidLine, navaid_line::serviceVolumeType);
    if (!value) return std::nullopt;
    return static_cast<int>(roundHalfEven(*value));
}

}  // namespace crv::formats
