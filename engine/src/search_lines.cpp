#include "search_lines.h"

#include <cmath>

#include "crv/platform/numbers.h"

namespace crv::engine {

namespace {
using crv::platform::columns;

long long nint(double v) { return std::llround(v); }  // halves away from zero

// An RF source's ERP is written with 4 decimals in 8 columns; the search
// divides by 39.8 where a horizontal and a vertical figure are related.
constexpr double kErpRatio = 39.8;

// Columns 18-37 of navaid and RF-source lines: the case file's position fields.
void casePosition(ColumnLine& line, const DmsPosition& p) {
    line.degrees(18, 20, p.latDeg, p.latNegative);
    line.twoDigits(22, p.latMin);
    line.twoDigits(25, p.latSec);
    line.degrees(28, 31, p.lonDeg, p.lonNegative);
    line.twoDigits(33, p.lonMin);
    line.twoDigits(36, p.lonSec);
}

// Kind 4: a line of the case file's RF-source table. Pattern, rotation,
// proponent status and dummy mask are 0 for a station found by a search.
std::string rfSourceLine(std::string_view callSign, const FacilityRecord& r, double erpKw, long long elevationFt,
                         int element, std::string_view licence) {
    ColumnLine line(75);
    line.text(2, 8, callSign);
    line.real(10, 16, r.frequencyMHz, 3);
    casePosition(line, r.position);
    line.real(39, 46, erpKw, 4);
    line.integer(48, 52, elevationFt);
    line.integer(54, 55, element);
    line.integer(57, 58, 0);
    line.integer(60, 62, 0);
    line.integer(64, 65, 0);
    line.text(67, 69, licence);
    line.integer(71, 75, 0);
    return line.str();
}

// Kind 5: the RF-source search report line.
std::string rfSourceReportLine(std::string_view callSign, const FacilityRecord& r, std::string_view licence,
                               double erpKw, long long elevationFt, const HitGeometry& hit, std::string_view name,
                               std::string_view state) {
    const DmsPosition& p = r.position;
    ColumnLine line(106);
    line.text(2, 8, callSign);
    line.real(11, 17, r.frequencyMHz, 3);
    line.text(21, 23, licence);
    line.degrees(26, 28, p.latDeg, p.latNegative);
    line.twoDigits(30, p.latMin);
    line.twoDigits(33, p.latSec);
    line.degrees(37, 40, p.lonDeg, p.lonNegative);
    line.twoDigits(42, p.lonMin);
    line.twoDigits(45, p.lonSec);
    line.real(49, 56, erpKw, 4);
    line.integer(59, 63, elevationFt);
    line.integer(67, 69, nint(hit.bearingDeg));
    line.integer(72, 75, nint(hit.distanceNmi));
    line.text(79, 102, name);
    line.text(105, 106, state);
    return line.str();
}

// Kind 2: columns 1-69 are a navaid line of the case file.
struct NavaidFields {
    std::string identifier;
    long long course = 0;
    long long siteElevationFt = 0;
    long long runwayLengthFt = 0;
    long long power = 0;
    int serviceVolumeType = 0;
    long long radiusNmi = 0;
    long long heightFt = 0;
    int backCourse = 0;
    std::string_view name, state;
};

ColumnLine navaidLine(const FacilityRecord& r, const NavaidFields& f) {
    ColumnLine line(136);
    line.text(2, 4, f.identifier);
    line.integer(6, 8, f.course);
    line.real(10, 16, r.frequencyMHz, 3);
    casePosition(line, r.position);
    line.integer(39, 43, f.siteElevationFt);
    line.integer(45, 49, f.runwayLengthFt);
    line.integer(51, 53, f.power);
    line.integer(55, 56, 0);  // array type: the default antenna
    line.integer(58, 59, f.serviceVolumeType);
    line.integer(61, 63, f.radiusNmi);
    line.integer(65, 69, f.heightFt);
    line.integer(71, 72, f.backCourse);
    line.text(74, 97, f.name);
    line.text(99, 100, f.state);
    return line;
}

// Kind 3: the navaid search report line.
std::string navaidReportLine(char classLetter, const FacilityRecord& r, const NavaidFields& f,
                             const HitGeometry& hit) {
    const DmsPosition& p = r.position;
    ColumnLine line(100);
    line.text(2, 2, std::string_view(&classLetter, 1));
    line.text(3, 5, f.identifier);
    line.integer(9, 11, f.course);
    line.real(15, 21, r.frequencyMHz, 3);
    line.degrees(24, 26, p.latDeg, p.latNegative);
    line.twoDigits(28, p.latMin);
    line.twoDigits(31, p.latSec);
    line.degrees(35, 38, p.lonDeg, p.lonNegative);
    line.twoDigits(40, p.lonMin);
    line.twoDigits(43, p.lonSec);
    line.integer(48, 50, f.power);
    line.integer(53, 57, f.siteElevationFt);
    line.integer(61, 63, nint(hit.bearingDeg));
    line.integer(67, 69, nint(hit.distanceNmi));
    line.text(73, 96, f.name);
    line.text(99, 100, f.state);
    return line.str();
}

// The first n characters of a field, each blank replaced by "x" so the
// programs' fixed-column readers never see a short call sign or identifier.
std::string withoutBlanks(std::string_view field, std::size_t n) {
    std::string out(field.substr(0, n));
    out.resize(n, ' ');
    for (char& c : out)
        if (c == ' ') c = 'x';
    return out;
}
}  // namespace

void ColumnLine::text(int first, int last, std::string_view value) {
    const auto width = static_cast<std::size_t>(last - first + 1);
    value = value.substr(0, width);
    text_.replace(static_cast<std::size_t>(first - 1), value.size(), value);
}

void ColumnLine::rightAligned(int first, int last, const std::string& value) {
    const auto width = static_cast<std::size_t>(last - first + 1);
    const std::string field = value.size() > width ? std::string(width, '*') : std::string(width - value.size(), ' ') + value;
    text_.replace(static_cast<std::size_t>(first - 1), width, field);
}

void ColumnLine::integer(int first, int last, long long value) { rightAligned(first, last, std::to_string(value)); }

void ColumnLine::twoDigits(int first, long long value) {
    std::string digits = std::to_string(value < 0 ? -value : value);
    if (digits.size() < 2) digits.insert(0, 2 - digits.size(), '0');
    if (value < 0) digits.insert(0, 1, '-');
    rightAligned(first, first + 1, digits);
}

void ColumnLine::real(int first, int last, double value, int decimals) {
    if (!std::isfinite(value)) {
        rightAligned(first, last, std::string(static_cast<std::size_t>(last - first + 2), '*'));
        return;
    }
    std::string text = crv::platform::formatFixed(value, decimals);
    if (text == "-" + crv::platform::formatFixed(0.0, decimals)) text.erase(0, 1);
    rightAligned(first, last, text);
}

void ColumnLine::degrees(int first, int last, std::int32_t value, bool negative) {
    rightAligned(first, last, value == 0 && negative ? std::string("-0") : std::to_string(value));
}

SearchLines WriteFCC(const FacilityRecord& r, bool longLayout, const HitGeometry& hit, const RecordSource& source) {
    SearchLines out;
    const std::string licence(columns(r.raw, 82, 84));
    // Deleted licences stay in the database but are no facility any more.
    if (licence == "DEL") return out;

    const std::string callSign = withoutBlanks(columns(r.raw, 23, 30), 4) + "   ";
    const double erp1 = realField(r.raw, 94, 99, 0, source);
    const double erp2 = longLayout ? realField(r.raw, 100, 105, 0, source) : 0.0;
    const double heightM = longLayout ? realField(r.raw, 106, 109, 0, source) : realField(r.raw, 100, 103, 0, source);
    const long long elevationFt = nint(heightM * 3.28084);
    // A circle around a COM facility counts the second ERP first.
    const double preferred = hit.option == 4 ? erp2 : erp1;
    const double other = hit.option == 4 ? erp1 : erp2;
    const double erpKw = preferred > 0 ? preferred : other / kErpRatio;
    const std::string_view state = columns(r.raw, 36, 37);
    const std::string_view city = columns(r.raw, 38, 67);

    if (hit.option <= 1) {
        ColumnLine line(90);
        line.text(2, 8, callSign);
        line.real(10, 16, r.frequencyMHz, 3);
        casePosition(line, r.position);
        line.real(39, 46, erpKw, 4);
        line.integer(48, 52, elevationFt);
        line.text(54, 83, city);
        line.text(85, 86, state);
        line.text(88, 90, licence);
        out.line1 = line.str();
    } else {
        out.line1 = rfSourceLine(callSign, r, erpKw, elevationFt, 0, licence);
        out.line2 = rfSourceReportLine(callSign, r, licence, erpKw, elevationFt, hit, city, state);
    }
    out.counted = true;
    return out;
}

SearchLines WriteQVA(const FacilityRecord& r, const HitGeometry& hit, const RecordSource& source) {
    SearchLines out;
    const std::string_view code = columns(r.raw, 108, 112);
    int type = 0;
    char classLetter = 'I';
    if (code == "STD  " || code == "OPT B")
        type = 0;
    else if (code == "OPT A" || code == "OPT C")
        type = 1;
    else if (code == "OPT T" || code == "OPT L" || code == "OPT H") {
        type = code == "OPT T" ? 5 : code == "OPT L" ? 6 : 7;
        classLetter = 'V';
    } else {
        // No service volume the programs know: writing it would give it the
        // type of whatever record came before.
        return out;
    }

    NavaidFields f;
    f.identifier = withoutBlanks(columns(r.raw, 72, 79), 3);
    f.serviceVolumeType = type;
    f.backCourse = (code == "OPT B" || code == "OPT C") ? 1 : 0;
    if (classLetter == 'I') {
        // The database holds the bearing of the localizer's front course
        // reversed; a missing one is marked -1 for the editor to ask for.
        bool found = false;
        const long long b = LeadingInt(columns(r.raw, 69, 71), &found);
        f.course = !found ? -1 : (b <= 180 ? b + 180 : b - 180);
        f.runwayLengthFt = 15000;
    }
    f.siteElevationFt = LeadingInt(columns(r.raw, 93, 98));
    const long long antennaElevationFt = f.siteElevationFt + LeadingInt(columns(r.raw, 99, 103));
    f.power = integerField(r.raw, 133, 135, source);
    f.name = columns(r.raw, 45, 68);
    f.state = columns(r.raw, 41, 42);

    if (hit.option <= 1) {
        ColumnLine line = navaidLine(r, f);
        line.text(102, 104, columns(r.raw, 80, 82));
        line.text(106, 115, columns(r.raw, 83, 92));
        line.text(117, 136, columns(r.raw, 113, 132));
        out.line1 = line.str();
        out.line2 = navaidReportLine(classLetter, r, f, hit);
        out.counted = true;
        return out;
    }
    // Only the VOR transmitters are RF sources of other facilities.
    if (classLetter != 'V') return out;
    double erpKw = static_cast<double>(f.power) / 1000.0;
    if (hit.option == 4) erpKw /= kErpRatio;
    const std::string callSign = "V" + f.identifier + "   ";
    out.line1 = rfSourceLine(callSign, r, erpKw, antennaElevationFt, 56, "VOR");
    out.line2 = rfSourceReportLine(callSign, r, "VOR", erpKw, antennaElevationFt, hit, f.name, f.state);
    out.counted = true;
    return out;
}

SearchLines WriteCOM(const FacilityRecord& r, const HitGeometry& hit) {
    SearchLines out;
    NavaidFields f;
    f.siteElevationFt = LeadingInt(columns(r.raw, 93, 98));
    const long long antennaElevationFt = f.siteElevationFt + LeadingInt(columns(r.raw, 99, 103));
    f.power = LeadingInt(columns(r.raw, 131, 133));
    // A COM record without a service volume gets the usual one: 50 nmi up to
    // 10000 ft.
    f.radiusNmi = LeadingInt(columns(r.raw, 134, 137));
    if (f.radiusNmi <= 0) f.radiusNmi = 50;
    f.heightFt = 100LL * LeadingInt(columns(r.raw, 138, 140));
    if (f.heightFt < 1) f.heightFt = 10000;
    f.serviceVolumeType = 8;
    f.identifier = Base36(r);
    f.name = columns(r.raw, 45, 68);
    f.state = columns(r.raw, 41, 42);

    if (hit.option <= 1) {
        out.line1 = navaidLine(r, f).str();
        out.line2 = navaidReportLine('C', r, f, hit);
    } else {
        double erpKw = static_cast<double>(f.power) / 1000.0;
        if (hit.option != 4) erpKw /= kErpRatio;
        const std::string callSign = "C" + f.identifier + "   ";
        out.line1 = rfSourceLine(callSign, r, erpKw, antennaElevationFt, 57, "COM");
        out.line2 = rfSourceReportLine(callSign, r, "COM", erpKw, antennaElevationFt, hit, f.name, f.state);
    }
    out.counted = true;
    return out;
}

}  // namespace crv::engine
