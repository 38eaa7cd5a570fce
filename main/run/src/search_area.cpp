#include "crv/main/run/search_area.h"

#include <algorithm>
#include <cmath>
#include <initializer_list>
#include <optional>
#include <string_view>

#include "crv/common/conversions.h"
#include "crv/common/lat_lon.h"
#include "crv/common/math_utils.h"
#include "crv/formats/case_file.h"
#include "crv/formats/facility_records.h"
#include "crv/formats/search_lines.h"
#include "crv/platform/text_file.h"

namespace crv::main::run {

using crv::common::ParseLatLon;
using crv::common::Val;
using crv::formats::textAt;
namespace nav = crv::formats::navaid_line;

namespace {

// Semi-axes of a localizer or TLS service area before widening.
struct EllipseBase {
    float a;
    float b;
};

EllipseBase ellipseBase(int svType) {
    if (svType == 1 || svType == 3) return {13.0f, 9.85f};
    return {9.7f, 5.9f};
}

float circleRadius(int svType, const std::string& navaidRecord) {
    if (svType == 5) return 25.0f;
    if (svType == 6 || svType == 7) return 40.0f;
    return static_cast<float>(Val(textAt(navaidRecord, nav::serviceVolumeRadius)));
}

bool isBlank(const std::string& text) {
    return std::all_of(text.begin(), text.end(), [](char c) { return c == ' '; });
}

struct Area {
    std::int32_t option = 0;
    float centreLat = 0, centreLon = 0;
    float f1Lat = 0, f1Lon = 0, f2Lat = 0, f2Lon = 0;
    float radius = 0;  // the circle's radius, or the ellipse's semi-major axis
};

// The widened area around the navaid. A localizer whose course is not known
// (a blank database bearing, stored as -1) gets the circle that holds its
// ellipse in every direction rather than an ellipse along a made-up course.
Area buildArea(EngineApi& engine, int svType, float radiusNmi, const std::string& navaidRecord) {
    Area area;
    area.centreLat = static_cast<float>(ParseLatLon(textAt(navaidRecord, nav::latitude)));
    area.centreLon = static_cast<float>(ParseLatLon(textAt(navaidRecord, nav::longitude)));
    if (svType < 5) {
        const EllipseBase base = ellipseBase(svType);
        const float bigA = base.a + radiusNmi;
        const float bigB = base.b + radiusNmi;
        const double course = Val(textAt(navaidRecord, nav::runwayHeading));
        if (course < 0) {
            area.option = 3;
            area.radius = base.a + bigA;
            return area;
        }
        area.option = 2;
        area.radius = bigA;
        const float bearing = crv::common::WrapAngle(static_cast<float>(course) + 180.0f, 0.0f, 360.0f);
        const float c = std::sqrt(bigA * bigA - bigB * bigB);
        engine.DistLL(base.a - c, bearing, area.centreLat, area.centreLon, area.f1Lat, area.f1Lon);
        engine.DistLL(base.a + c, bearing, area.centreLat, area.centreLon, area.f2Lat, area.f2Lon);
        return area;
    }
    area.option = svType <= 7 ? 3 : 4;
    area.radius = circleRadius(svType, navaidRecord) + radiusNmi;
    return area;
}

bool insideArea(EngineApi& engine, const Area& area, float lat, float lon) {
    float d1 = 0, d2 = 0, bearing = 0;
    if (area.option == 2) {
        engine.LLDist(lat, lon, area.f1Lat, area.f1Lon, d1, bearing);
        engine.LLDist(lat, lon, area.f2Lat, area.f2Lon, d2, bearing);
        return d1 + d2 <= 2.0f * area.radius;
    }
    engine.LLDist(lat, lon, area.centreLat, area.centreLon, d1, bearing);
    return d1 <= area.radius;
}

bool has(std::string_view text, std::initializer_list<std::string_view> parts) {
    for (auto p : parts)
        if (text.find(p) != std::string_view::npos) return true;
    return false;
}

}  // namespace

void SetSearchArea(EngineApi& engine, std::int16_t svType, float radiusNmi, const std::string& proponentRecord,
                   const std::string& navaidRecord, bool& inside, SearchParams& record) {
    const Area area = buildArea(engine, svType, radiusNmi, navaidRecord);
    record.option = area.option;
    record.centreLatitude = area.centreLat;
    record.centreLongitude = area.centreLon;
    record.focus1Latitude = area.f1Lat;
    record.focus1Longitude = area.f1Lon;
    record.focus2Latitude = area.f2Lat;
    record.focus2Longitude = area.f2Lon;
    record.radiusNmi = area.radius;
    inside = true;
    if (isBlank(proponentRecord)) return;
    const float lat = static_cast<float>(ParseLatLon(textAt(proponentRecord, crv::formats::rf_source_line::latitude)));
    const float lon = static_cast<float>(ParseLatLon(textAt(proponentRecord, crv::formats::rf_source_line::longitude)));
    inside = insideArea(engine, area, lat, lon);
}

bool CheckNavaidDistance(EngineApi& engine, std::int16_t svType, float radiusNmi, float proponentLatitude,
                         float proponentLongitude, const std::string& navaidRecord) {
    const Area area = buildArea(engine, svType, radiusNmi, navaidRecord);
    return insideArea(engine, area, proponentLatitude, proponentLongitude);
}

double widenedReachNmi(std::int16_t svType, double svRadiusNmi, double radiusNmi) {
    if (svType < 5) {
        const EllipseBase base = ellipseBase(svType);
        return base.a + base.a + radiusNmi;  // the far end of the widened ellipse
    }
    if (svType == 5) return 25.0 + radiusNmi;
    if (svType <= 7) return 40.0 + radiusNmi;
    return svRadiusNmi + radiusNmi;
}

double largestComServiceRadiusNmi(const std::string& comDatabase) {
    constexpr double kDefaultRadiusNmi = 50.0;
    double largest = kDefaultRadiusNmi;
    crv::platform::LineReader reader;
    if (!reader.open(comDatabase)) return largest;
    reader.setMaxLineLength(4096);
    std::string line;
    while (reader.next(line)) {
        // The digits of the field after any blanks before them: generous
        // beside the search, which reads a field that starts with a blank as
        // no radius, so the reach never falls short of a facility's area.
        const std::string_view field = textAt(line, crv::formats::com_database_record::radius);
        std::size_t i = field.find_first_not_of(' ');
        long value = 0;
        for (; i != std::string_view::npos && i < field.size() && field[i] >= '0' && field[i] <= '9'; ++i)
            value = value * 10 + (field[i] - '0');
        if (value > 0) largest = std::max(largest, static_cast<double>(value));
    }
    return largest;
}

std::int16_t GetAntennaType(const std::string& description) {
    namespace ad = crv::formats::antenna_description;
    const int code = static_cast<int>(crv::common::roundHalfEven(Val(textAt(description, ad::code))));
    const std::string d2(textAt(description, ad::descriptive2));
    const std::string d3(textAt(description, ad::descriptive3));
    const std::string_view D2 = d2, D3 = d3;

    // The rule list: the first rule whose condition holds decides; when its
    // further test fails the list ends without a type.
    auto fromList = [&]() -> std::optional<int> {
        if (has(D3, {"CA1339", "CA1220", "CA1560", "CA1406", "CA1672", "CA1623", "FA5121", "CA3448", "FA5282",
                     "FA5182", "FA5549", "FA5482"}))
            return 2;
        if (has(D3, {"FA5693", "FA5692", "FA5708", "FA5707", "FA8002", "FA8001", "FA8036", "FA8035", "FA8621",
                     "FA8038", "FA8719", "FA8622", "FA8843", "FA8720", "FA8844"}))
            return 3;
        if (has(D3, {"FA9320"})) return 4;
        if (has(D3, {"FA9325"})) return 5;
        if (has(D3, {"FA9708", "FA9358", "FA9912"})) return 6;
        if (has(D3, {"FA9759"})) return 8;
        if (has(D2, {"WAVEG"})) return 13;
        if (has(D2, {"MVRING"})) return code == 12 ? std::optional<int>(14) : std::nullopt;
        if (has(D3, {"1201"})) return 15;
        if (has(D3, {"1203"})) return 16;
        if (has(D3, {"1204"})) return 17;
        if (has(D3, {"1261"})) return 18;
        if (has(D3, {"STAN"})) return 19;
        if (has(D3, {"AIL", "55"})) return code == 13 ? std::optional<int>(20) : std::nullopt;
        if (has(D3, {"MK XII", "MK-XII", "MKXII", "MK 12", "MK-12", "MK12", "MK II", "MK-II", "MKII", "MK 2",
                     "MK-2", "MK2", "MK I", "MK-I", "MKI", "MK 1", "MK-1", "MK1"})) {
            if (code == 17) return 6;
            if (code == 20) return 7;
            return std::nullopt;
        }
        if (has(D3, {"1100"}) && has(D3, {"ASI"})) return code == 17 ? std::optional<int>(6) : std::nullopt;
        if (has(D3, {"GRN-027", "GRN-27", "GRN027", "GRN27"})) {
            if (code == 17 && has(D2, {"TRAVEL", "TRV"})) return 9;
            if (code == 17 && has(D2, {"PARAB"})) {
                if (has(D3, {"(N)"})) return 10;
                if (has(D3, {"(W)"})) return 11;
            }
            return std::nullopt;
        }
        if (has(D3, {"MRN7"})) return 12;
        if (has(D3, {"GRN-029", "GRN-29", "GRN029", "GRN29"}))
            return code == 23 ? std::optional<int>(8) : std::nullopt;
        if (has(D3, {"GRN-030", "GRN-30", "GRN030", "GRN30"}))
            return (code == 23 || code == 28) ? std::optional<int>(8) : std::nullopt;
        return std::nullopt;
    };

    std::optional<int> type = fromList();
    if (!type) {
        switch (code) {
        case 4: type = 2; break;
        case 12:
            if (has(D2, {"VRING"})) type = 3;
            else if (has(D2, {"WAVEG"})) type = 13;
            else if (has(D2, {"MODV"})) type = 14;
            else if (has(D2, {"DIPOLE"})) type = 19;
            break;
        case 13: type = 20; break;
        case 14:
            if (has(D2, {"TRAV", "TRV"})) type = 4;
            else if (has(D2, {"DIPOLE"})) type = 17;
            break;
        case 15: type = 18; break;
        case 16: type = 15; break;
        case 17:
            if (has(D2, {"TRAV", "TRV"})) type = has(D2, {"6"}) ? 9 : 5;
            else if (has(D2, {"LOG", "LPD"})) type = 6;
            break;
        case 20: type = 7; break;
        case 23: type = 8; break;
        default: break;
        }
    }
    if (!type && has(D3, {"MK I", "MK-I", "MKI", "MK 1", "MK-1", "MK1"})) type = 6;
    return static_cast<std::int16_t>(type.value_or(0));
}

}  // namespace crv::main::run
