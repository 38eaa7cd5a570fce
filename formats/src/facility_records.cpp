#include "crv/formats/facility_records.h"

#include <cmath>

#include "crv/formats/numbers.h"
#include "crv/platform/numbers.h"

namespace crv::formats {

namespace {

// A whole number of a position field; a blank field is 0. Position fields
// are a few digits wide: anything beyond eight is no position.
std::optional<std::int32_t> wholeAt(std::string_view record, Columns c, bool* negative = nullptr) {
    const std::string_view field = trimmedAt(record, c);
    if (negative) *negative = !field.empty() && field.front() == '-';
    if (field.empty()) return 0;
    const auto value = crv::platform::parseInteger(field);
    if (!value || *value < -99999999 || *value > 99999999) return std::nullopt;
    return static_cast<std::int32_t>(*value);
}

}  // namespace

std::optional<DmsPosition> positionOf(std::string_view record, Columns* bad) {
    namespace c = database_record;
    DmsPosition p;
    struct Field {
        Columns columns;
        std::int32_t* value;
        bool* negative;
    } fields[] = {{c::latDegrees, &p.latDeg, &p.latNegative}, {c::latMinutes, &p.latMin, nullptr},
                  {c::latSeconds, &p.latSec, nullptr},       {c::lonDegrees, &p.lonDeg, &p.lonNegative},
                  {c::lonMinutes, &p.lonMin, nullptr},       {c::lonSeconds, &p.lonSec, nullptr}};
    for (const Field& f : fields) {
        const auto value = wholeAt(record, f.columns, f.negative);
        if (!value) {
            if (bad) *bad = f.columns;
            return std::nullopt;
        }
        *f.value = *value;
    }
    p.latitude = DMS2Deg(p.latDeg, p.latMin, p.latSec, p.latNegative);
    p.longitude = DMS2Deg(p.lonDeg, p.lonMin, p.lonSec, p.lonNegative);
    return p;
}

std::optional<double> databaseReal(std::string_view record, Columns c, int impliedDecimals) {
    const std::string_view field = trimmedAt(record, c);
    if (field.empty()) return 0.0;
    const auto value = crv::platform::parseReal(field);
    if (!value || !std::isfinite(*value)) return std::nullopt;
    return withImpliedDecimals(*value, field, impliedDecimals);
}

}  // namespace crv::formats
