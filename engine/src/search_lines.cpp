#include "search_lines.h"

#include <cmath>

#include "crv/formats/search_lines.h"
#include "crv/platform/numbers.h"

namespace crv::engine {

namespace {
using crv::formats::Columns;
using crv::platform::columns;

namespace fm = crv::formats::fm_database_record;
namespace nav = crv::formats::navaid_database_record;
namespace com = crv::formats::com_database_record;

long long nint(double v) { return std::llround(v); }  // halves away from zero

std::string_view at(const FacilityRecord& r, Columns c) { return columns(r.raw, c.first, c.last); }

// An RF source's ERP is written with 4 decimals in 8 columns; the search
// divides by 39.8 where a horizontal and a vertical figure are related.
constexpr double kErpRatio = 39.8;

// The first n characters of a field, each blank replaced by "x" so the
// programs' fixed-column readers never see a short call sign or identifier.
std::string withoutBlanks(std::string_view field, std::size_t n) {
    std::string out(field.substr(0, n));
    out.resize(n, ' ');
    for (char& c : out)
        if (c == ' ') c = 'x';
    return out;
}

// An RF source found by an RF-source search (options 2-4): its line for the
// case file and its line for the report.
SearchLines rfSource(const FacilityRecord& r, std::string_view callSign, double erpKw, long long elevationFt,
                     int element, std::string_view licence, const HitGeometry& hit, std::string_view name,
                     std::string_view state) {
    SearchLines out;
    out.line1 = crv::formats::writeRfSourceSearchLine(
        {callSign, r.frequencyMHz, r.position, erpKw, elevationFt, element, licence});
    out.line2 = crv::formats::writeRfSourceReportLine({callSign, r.frequencyMHz, licence, r.position, erpKw,
                                                       elevationFt, hit.bearingDeg, hit.distanceNmi, name, state});
    out.counted = true;
    return out;
}
}  // namespace

SearchLines WriteFCC(const FacilityRecord& r, bool longLayout, const HitGeometry& hit, const RecordSource& source) {
    SearchLines out;
    const std::string licence(at(r, fm::licenceUsed));
    // Deleted licences stay in the database but are no facility any more.
    if (licence == "DEL") return out;

    const std::string callSign = withoutBlanks(at(r, fm::callSign), 4) + "   ";
    const double erp1 = realField(r.raw, fm::erp1, 0, source);
    const double erp2 = longLayout ? realField(r.raw, fm::erp2, 0, source) : 0.0;
    const double heightM = realField(r.raw, longLayout ? fm::heightLong : fm::heightShort, 0, source);
    const long long elevationFt = nint(heightM * 3.28084);
    // A circle around a COM facility counts the second ERP first.
    const double preferred = hit.option == 4 ? erp2 : erp1;
    const double other = hit.option == 4 ? erp1 : erp2;
    const double erpKw = preferred > 0 ? preferred : other / kErpRatio;
    const std::string_view state = at(r, fm::state);
    const std::string_view city = at(r, fm::city);

    if (hit.option <= 1) {
        out.line1 = crv::formats::writeFmProponentLine(
            {callSign, r.frequencyMHz, r.position, erpKw, elevationFt, city, state, licence});
        out.counted = true;
        return out;
    }
    return rfSource(r, callSign, erpKw, elevationFt, 0, licence, hit, city, state);
}

SearchLines WriteQVA(const FacilityRecord& r, const HitGeometry& hit, const RecordSource& source) {
    SearchLines out;
    const std::string_view code = at(r, nav::serviceVolumeCode);
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

    const std::string identifier = withoutBlanks(at(r, nav::identifier), 3);
    crv::formats::NavaidSearchFields f;
    f.identifier = identifier;
    f.frequencyMHz = r.frequencyMHz;
    f.position = r.position;
    f.serviceVolumeType = type;
    f.backCourse = (code == "OPT B" || code == "OPT C") ? 1 : 0;
    if (classLetter == 'I') {
        // The database holds the bearing of the localizer's front course
        // reversed; a missing one is marked -1 for the editor to ask for.
        bool found = false;
        const long long b = LeadingInt(at(r, nav::bearing), &found);
        f.course = !found ? -1 : (b <= 180 ? b + 180 : b - 180);
        f.runwayLengthFt = 15000;
    }
    f.siteElevationFt = LeadingInt(at(r, nav::siteElevation));
    const long long antennaElevationFt = f.siteElevationFt + LeadingInt(at(r, nav::antennaHeight));
    f.power = integerField(r.raw, nav::power, source);
    f.name = at(r, nav::name);
    f.state = at(r, nav::state);

    if (hit.option <= 1) {
        f.descriptive1 = at(r, nav::descriptive1);
        f.descriptive2 = at(r, nav::descriptive2);
        f.descriptive3 = at(r, nav::descriptive3);
        out.line1 = crv::formats::writeNavaidSearchLine(f);
        out.line2 = crv::formats::writeNavaidReportLine({classLetter, f.identifier, f.course, r.frequencyMHz,
                                                         r.position, f.power, f.siteElevationFt, hit.bearingDeg,
                                                         hit.distanceNmi, f.name, f.state});
        out.counted = true;
        return out;
    }
    // Only the VOR transmitters are RF sources of other facilities.
    if (classLetter != 'V') return out;
    double erpKw = static_cast<double>(f.power) / 1000.0;
    if (hit.option == 4) erpKw /= kErpRatio;
    const std::string callSign = "V" + identifier + "   ";
    return rfSource(r, callSign, erpKw, antennaElevationFt, 56, "VOR", hit, f.name, f.state);
}

SearchLines WriteCOM(const FacilityRecord& r, const HitGeometry& hit) {
    SearchLines out;
    const std::string identifier = Base36(r);
    crv::formats::NavaidSearchFields f;
    f.identifier = identifier;
    f.frequencyMHz = r.frequencyMHz;
    f.position = r.position;
    f.siteElevationFt = LeadingInt(at(r, com::siteElevation));
    const long long antennaElevationFt = f.siteElevationFt + LeadingInt(at(r, com::antennaHeight));
    f.power = LeadingInt(at(r, com::power));
    // A COM record without a service volume gets the usual one: 50 nmi up to
    // 10000 ft.
    f.radiusNmi = LeadingInt(at(r, com::radius));
    if (f.radiusNmi <= 0) f.radiusNmi = 50;
    f.heightFt = 100LL * LeadingInt(at(r, com::height));
    if (f.heightFt < 1) f.heightFt = 10000;
    f.serviceVolumeType = 8;
    f.name = at(r, com::name);
    f.state = at(r, com::state);

    if (hit.option <= 1) {
        out.line1 = crv::formats::writeNavaidSearchLine(f);
        out.line2 = crv::formats::writeNavaidReportLine({'C', f.identifier, f.course, r.frequencyMHz, r.position,
                                                         f.power, f.siteElevationFt, hit.bearingDeg, hit.distanceNmi,
                                                         f.name, f.state});
        out.counted = true;
        return out;
    }
    double erpKw = static_cast<double>(f.power) / 1000.0;
    if (hit.option != 4) erpKw /= kErpRatio;
    const std::string callSign = "C" + identifier + "   ";
    return rfSource(r, callSign, erpKw, antennaElevationFt, 57, "COM", hit, f.name, f.state);
}

}  // namespace crv::engine
