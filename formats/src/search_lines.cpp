#include "crv/formats/search_lines.h"

#include <cmath>

#include "crv/formats/numbers.h"

namespace crv::formats {

namespace {

long long nint(double v) { return std::llround(v); }  // halves away from zero

// Where a line kind holds the six numbers of a position.
struct PositionColumns {
    Columns latDegrees, latMinutes, latSeconds, lonDegrees, lonMinutes, lonSeconds;
};
static_assert(navaid_line::latDegrees.first == rf_source_line::latDegrees.first &&
                  navaid_line::lonSeconds.last == rf_source_line::lonSeconds.last,
              "navaid and RF-source lines hold their positions in the same columns");
constexpr PositionColumns kCasePosition{rf_source_line::latDegrees, rf_source_line::latMinutes,
                                        rf_source_line::latSeconds, rf_source_line::lonDegrees,
                                        rf_source_line::lonMinutes, rf_source_line::lonSeconds};
constexpr PositionColumns kNavaidReportPosition{navaid_report_line::latDegrees, navaid_report_line::latMinutes,
                                                navaid_report_line::latSeconds, navaid_report_line::lonDegrees,
                                                navaid_report_line::lonMinutes, navaid_report_line::lonSeconds};
constexpr PositionColumns kRfSourceReportPosition{
    rf_source_report_line::latDegrees, rf_source_report_line::latMinutes, rf_source_report_line::latSeconds,
    rf_source_report_line::lonDegrees, rf_source_report_line::lonMinutes, rf_source_report_line::lonSeconds};

void position(ColumnLine& line, const PositionColumns& c, const DmsPosition& p) {
    line.degrees(c.latDegrees, p.latDeg, p.latNegative);
    line.twoDigits(c.latMinutes, p.latMin);
    line.twoDigits(c.latSeconds, p.latSec);
    line.degrees(c.lonDegrees, p.lonDeg, p.lonNegative);
    line.twoDigits(c.lonMinutes, p.lonMin);
    line.twoDigits(c.lonSeconds, p.lonSec);
}

DmsPosition positionAt(FieldReader& r, const PositionColumns& c) {
    DmsPosition p;
    p.latNegative = r.negative(c.latDegrees);
    p.lonNegative = r.negative(c.lonDegrees);
    p.latDeg = static_cast<std::int32_t>(r.whole(c.latDegrees));
    p.latMin = static_cast<std::int32_t>(r.whole(c.latMinutes));
    p.latSec = static_cast<std::int32_t>(r.whole(c.latSeconds));
    p.lonDeg = static_cast<std::int32_t>(r.whole(c.lonDegrees));
    p.lonMin = static_cast<std::int32_t>(r.whole(c.lonMinutes));
    p.lonSec = static_cast<std::int32_t>(r.whole(c.lonSeconds));
    p.latitude = DMS2Deg(p.latDeg, p.latMin, p.latSec, p.latNegative);
    p.longitude = DMS2Deg(p.lonDeg, p.lonMin, p.lonSec, p.lonNegative);
    return p;
}

}  // namespace

std::optional<FmProponentFields> readFmProponentLine(std::string_view line, Columns* bad) {
    namespace c = fm_proponent_line;
    FieldReader r(line, bad);
    FmProponentFields f;
    f.callSign = r.view(c::callSign);
    f.frequencyMHz = r.real(c::frequency);
    f.position = positionAt(r, kCasePosition);
    f.erpKw = r.real(c::erp);
    f.antennaElevationFt = r.whole(c::antennaElevation);
    f.city = r.view(c::city);
    f.state = r.view(c::state);
    f.licenceStatus = r.view(c::licenceStatus);
    if (!r.ok()) return std::nullopt;
    return f;
}

std::optional<NavaidSearchFields> readNavaidSearchLine(std::string_view line, Columns* bad) {
    namespace n = navaid_line;
    namespace c = navaid_search_line;
    FieldReader r(line, bad);
    NavaidSearchFields f;
    f.identifier = r.view(n::identifier);
    f.course = r.whole(n::runwayHeading);
    f.frequencyMHz = r.real(n::frequency);
    f.position = positionAt(r, kCasePosition);
    f.siteElevationFt = r.whole(n::fieldElevation);
    f.runwayLengthFt = r.whole(n::runwayLength);
    f.power = r.whole(n::transmitterPower);
    f.serviceVolumeType = static_cast<int>(r.whole(n::serviceVolumeType));
    f.radiusNmi = r.whole(n::serviceVolumeRadius);
    f.heightFt = r.whole(n::serviceVolumeHeight);
    f.backCourse = static_cast<int>(r.whole(c::backCourse));
    f.name = r.view(c::name);
    f.state = r.view(c::state);
    f.descriptive1 = r.view(c::descriptive1);
    f.descriptive2 = r.view(c::descriptive2);
    f.descriptive3 = r.view(c::descriptive3);
    if (!r.ok()) return std::nullopt;
    return f;
}

std::optional<NavaidReportFields> readNavaidReportLine(std::string_view line, Columns* bad) {
    namespace c = navaid_report_line;
    FieldReader r(line, bad);
    NavaidReportFields f;
    const std::string_view letter = r.view(c::classLetter);
    f.classLetter = letter.empty() ? ' ' : letter.front();
    f.identifier = r.view(c::identifier);
    f.course = r.whole(c::course);
    f.frequencyMHz = r.real(c::frequency);
    f.position = positionAt(r, kNavaidReportPosition);
    f.power = r.whole(c::power);
    f.siteElevationFt = r.whole(c::siteElevation);
    f.bearingDeg = r.real(c::bearing);
    f.distanceNmi = r.real(c::distance);
    f.name = r.view(c::name);
    f.state = r.view(c::state);
    if (!r.ok()) return std::nullopt;
    return f;
}

std::optional<RfSourceReportFields> readRfSourceReportLine(std::string_view line, Columns* bad) {
    namespace c = rf_source_report_line;
    FieldReader r(line, bad);
    RfSourceReportFields f;
    f.callSign = r.view(c::callSign);
    f.frequencyMHz = r.real(c::frequency);
    f.licenceStatus = r.view(c::licenceStatus);
    f.position = positionAt(r, kRfSourceReportPosition);
    f.erpKw = r.real(c::erp);
    f.antennaElevationFt = r.whole(c::antennaElevation);
    f.bearingDeg = r.real(c::bearing);
    f.distanceNmi = r.real(c::distance);
    f.name = r.view(c::name);
    f.state = r.view(c::state);
    if (!r.ok()) return std::nullopt;
    return f;
}

std::string writeFmProponentLine(const FmProponentFields& f) {
    namespace c = fm_proponent_line;
    ColumnLine line(c::kLength);
    line.text(c::callSign, f.callSign);
    line.real(c::frequency, f.frequencyMHz, 3);
    position(line, kCasePosition, f.position);
    line.real(c::erp, f.erpKw, 4);
    line.integer(c::antennaElevation, f.antennaElevationFt);
    line.text(c::city, f.city);
    line.text(c::state, f.state);
    line.text(c::licenceStatus, f.licenceStatus);
    return line.str();
}

std::string writeNavaidSearchLine(const NavaidSearchFields& f) {
    namespace n = navaid_line;
    namespace c = navaid_search_line;
    ColumnLine line(c::kLength);
    line.text(n::identifier, f.identifier);
    line.integer(n::runwayHeading, f.course);
    line.real(n::frequency, f.frequencyMHz, 3);
    position(line, kCasePosition, f.position);
    line.integer(n::fieldElevation, f.siteElevationFt);
    line.integer(n::runwayLength, f.runwayLengthFt);
    line.integer(n::transmitterPower, f.power);
    line.integer(n::arrayType, 0);  // the default antenna
    line.integer(n::serviceVolumeType, f.serviceVolumeType);
    line.integer(n::serviceVolumeRadius, f.radiusNmi);
    line.integer(n::serviceVolumeHeight, f.heightFt);
    line.integer(c::backCourse, f.backCourse);
    line.text(c::name, f.name);
    line.text(c::state, f.state);
    line.text(c::descriptive1, f.descriptive1);
    line.text(c::descriptive2, f.descriptive2);
    line.text(c::descriptive3, f.descriptive3);
    return line.str();
}

std::string writeNavaidReportLine(const NavaidReportFields& f) {
    namespace c = navaid_report_line;
    ColumnLine line(c::kLength);
    line.text(c::classLetter, std::string_view(&f.classLetter, 1));
    line.text(c::identifier, f.identifier);
    line.integer(c::course, f.course);
    line.real(c::frequency, f.frequencyMHz, 3);
    position(line, kNavaidReportPosition, f.position);
    line.integer(c::power, f.power);
    line.integer(c::siteElevation, f.siteElevationFt);
    line.integer(c::bearing, nint(f.bearingDeg));
    line.integer(c::distance, nint(f.distanceNmi));
    line.text(c::name, f.name);
    line.text(c::state, f.state);
    return line.str();
}

std::string writeRfSourceSearchLine(const RfSourceSearchFields& f) {
    namespace c = rf_source_line;
    ColumnLine line(c::kLength);
    line.text(c::callSign, f.callSign);
    line.real(c::frequency, f.frequencyMHz, 3);
    position(line, kCasePosition, f.position);
    line.real(c::erp, f.erpKw, 4);
    line.integer(c::antennaElevation, f.antennaElevationFt);
    line.integer(c::elementType, f.elementType);
    line.integer(c::horizontalPattern, 0);
    line.integer(c::rotation, 0);
    line.integer(c::proponentStatus, 0);
    line.text(c::licenceStatus, f.licenceStatus);
    line.integer(c::dummyMask, 0);
    return line.str();
}

std::string writeRfSourceReportLine(const RfSourceReportFields& f) {
    namespace c = rf_source_report_line;
    ColumnLine line(c::kLength);
    line.text(c::callSign, f.callSign);
    line.real(c::frequency, f.frequencyMHz, 3);
    line.text(c::licenceStatus, f.licenceStatus);
    position(line, kRfSourceReportPosition, f.position);
    line.real(c::erp, f.erpKw, 4);
    line.integer(c::antennaElevation, f.antennaElevationFt);
    line.integer(c::bearing, nint(f.bearingDeg));
    line.integer(c::distance, nint(f.distanceNmi));
    line.text(c::name, f.name);
    line.text(c::state, f.state);
    return line.str();
}

}  // namespace crv::formats
