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

std::string cellKey(int latitudeCell, int longitudeCell) {
    ColumnLine key(static_cast<std::size_t>(database_record::cellKey.width()));
    auto part = [&](Columns c, int value, int digits) {
        std::string text = std::to_string(value < 0 ? -value : value);
        if (static_cast<int>(text.size()) < digits) text.insert(0, static_cast<std::size_t>(digits) - text.size(), '0');
        key.text(c, (value < 0 ? "-" : " ") + text);
    };
    part({1, 3}, latitudeCell, 2);
    part({4, 7}, longitudeCell, 3);
    return key.str();
}

std::string writeDatabasePosition(const DmsPosition& p) {
    namespace c = database_record;
    ColumnLine line(static_cast<std::size_t>(c::lonSeconds.last));
    line.text(c::cellKey, cellKey(p.latDeg, p.lonDeg));
    line.degrees(c::latDegrees, p.latDeg, p.latNegative);
    line.twoDigits(c::latMinutes, p.latMin);
    line.twoDigits(c::latSeconds, p.latSec);
    line.degrees(c::lonDegrees, p.lonDeg, p.lonNegative);
    line.twoDigits(c::lonMinutes, p.lonMin);
    line.twoDigits(c::lonSeconds, p.lonSec);
    return line.str();
}

std::optional<double> databaseReal(std::string_view record, Columns c, int impliedDecimals) {
    const std::string_view field = trimmedAt(record, c);
    if (field.empty()) return 0.0;
    const auto value = crv::platform::parseReal(field);
    if (!value || !std::isfinite(*value)) return std::nullopt;
    return withImpliedDecimals(*value, field, impliedDecimals);
}

}  // namespace crv::formats
