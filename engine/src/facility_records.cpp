#include "facility_records.h"

#include <cmath>

#include "crv/platform/numbers.h"
#include "failure.h"
#include "geodesy.h"

namespace crv::engine {

namespace {
using crv::platform::columns;
using crv::platform::trimBlanks;

[[noreturn]] void notANumber(std::string_view record, int first, int last, const RecordSource& source) {
    fail(source.routine, "Record " + std::to_string(source.number) + " of the " + std::string(source.label) +
                             " database file holds no number in columns " + std::to_string(first) + "-" +
                             std::to_string(last) + " (\"" + std::string(columns(record, first, last)) +
                             "\"):\r" + std::string(source.path));
}

DmsPosition readPosition(std::string_view record, const RecordSource& source) {
    DmsPosition p;
    p.latDeg = integerField(record, 8, 10, source, &p.latNegative);
    p.latMin = integerField(record, 11, 12, source);
    p.latSec = integerField(record, 13, 14, source);
    p.lonDeg = integerField(record, 15, 18, source, &p.lonNegative);
    p.lonMin = integerField(record, 19, 20, source);
    p.lonSec = integerField(record, 21, 22, source);
    p.latitude = DMS2Deg(p.latDeg, p.latMin, p.latSec, p.latNegative);
    p.longitude = DMS2Deg(p.lonDeg, p.lonMin, p.lonSec, p.lonNegative);
    return p;
}

FacilityRecord readRecord(std::string raw, const RecordSource& source, int freqFirst, int freqLast,
                          int impliedDecimals) {
    FacilityRecord r;
    r.number = source.number;
    r.position = readPosition(raw, source);
    r.frequencyMHz = realField(raw, freqFirst, freqLast, impliedDecimals, source);
    r.frequencyKHz = frequencyKHzOf(r.frequencyMHz);
    r.raw = std::move(raw);
    return r;
}
}  // namespace

double realField(std::string_view record, int first, int last, int impliedDecimals, const RecordSource& source) {
    const std::string_view field = trimBlanks(columns(record, first, last));
    if (field.empty()) return 0;
    auto value = crv::platform::parseReal(field);
    if (!value || !std::isfinite(*value)) notANumber(record, first, last, source);
    if (field.find('.') == std::string_view::npos) *value /= std::pow(10.0, impliedDecimals);
    return *value;
}

std::int32_t integerField(std::string_view record, int first, int last, const RecordSource& source,
                          bool* negative) {
    const std::string_view field = trimBlanks(columns(record, first, last));
    if (negative) *negative = !field.empty() && field.front() == '-';
    if (field.empty()) return 0;
    auto value = crv::platform::parseInteger(field);
    if (!value || *value < -99999999 || *value > 99999999) notANumber(record, first, last, source);
    return static_cast<std::int32_t>(*value);
}

FacilityRecord ReadFCC(std::string raw, const RecordSource& source) {
    return readRecord(std::move(raw), source, 31, 35, 1);
}
FacilityRecord ReadQVA(std::string raw, const RecordSource& source) {
    return readRecord(std::move(raw), source, 23, 30, 4);
}
FacilityRecord ReadCOM(std::string raw, const RecordSource& source) {
    return readRecord(std::move(raw), source, 23, 30, 4);
}

std::int32_t LeadingInt(std::string_view text, bool* found) {
    std::int64_t value = 0;
    bool any = false;
    for (char c : text) {
        if (c < '0' || c > '9') break;
        // The database fields are a few digits wide; stop well before overflow.
        if (value < 100000000) value = value * 10 + (c - '0');
        any = true;
    }
    if (found) *found = any;
    return static_cast<std::int32_t>(value);
}

std::int32_t frequencyKHzOf(double frequencyMHz) {
    const double kHz = frequencyMHz * 1000.0;
    if (!std::isfinite(kHz) || kHz < 0 || kHz > 2.0e9) return -1;
    return static_cast<std::int32_t>(std::llround(kHz));
}

std::string Base36(const FacilityRecord& record) {
    const DmsPosition& p = record.position;
    auto mod5 = [](std::int64_t v) { return ((v % 5) + 5) % 5; };
    const std::int64_t a = mod5(p.latDeg + 90) * 3600 + p.latMin * 60 + p.latSec;
    const std::int64_t b = mod5(p.lonDeg + 180) * 3600 + p.lonMin * 60 + p.lonSec;
    constexpr std::int64_t kRange = 36 * 36 * 36;
    // 500 units per MHz above 118, counted from the frequency in tenths of a
    // kHz (the four decimals the COM database holds): 118.075 gives exactly
    // 37.5 and rounds to 38 however the field was written, and a channel
    // between whole kHz (118.0125 gives 6.25) keeps its own identifier. The
    // tenths are reduced by a whole number of identifier ranges first, which
    // leaves the identifier as it is and keeps far-out values in range.
    double tenths = std::round((record.frequencyMHz - 118.0) * 10000.0);
    tenths = std::isfinite(tenths) ? std::fmod(tenths, 20.0 * kRange) : 0.0;
    const auto t = static_cast<std::int64_t>(tenths);
    const std::int64_t f = t >= 0 ? (t + 10) / 20 : -((-t + 10) / 20);
    // Frequencies below 118 MHz or a blank field make the sum negative: keep
    // it within three digits instead of writing a broken identifier.
    const std::int64_t s = (((a + b + f) % kRange) + kRange) % kRange;
    static constexpr char kDigits[] = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ";
    std::string id(3, '0');
    id[0] = kDigits[s / 1296];
    id[1] = kDigits[(s / 36) % 36];
    id[2] = kDigits[s % 36];
    return id;
}

}  // namespace crv::engine
