#include "facility_records.h"

#include <cmath>

#include "crv/platform/numbers.h"
#include "failure.h"

namespace crv::engine {

namespace {
using crv::formats::Columns;
using crv::platform::columns;

[[noreturn]] void notANumber(std::string_view record, Columns c, const RecordSource& source) {
    fail(source.routine, "Record " + std::to_string(source.number) + " of the " + std::string(source.label) +
                             " database file holds no number in columns " + std::to_string(c.first) + "-" +
                             std::to_string(c.last) + " (\"" + std::string(columns(record, c.first, c.last)) +
                             "\"):\r" + std::string(source.path));
}

FacilityRecord readRecord(std::string raw, const RecordSource& source, Columns frequency, int impliedDecimals) {
    FacilityRecord r;
    r.number = source.number;
    Columns bad{0, 0};
    const auto position = crv::formats::positionOf(raw, &bad);
    if (!position) notANumber(raw, bad, source);
    r.position = *position;
    r.frequencyMHz = realField(raw, frequency, impliedDecimals, source);
    r.frequencyKHz = frequencyKHzOf(r.frequencyMHz);
    r.raw = std::move(raw);
    return r;
}
}  // namespace

double realField(std::string_view record, Columns c, int impliedDecimals, const RecordSource& source) {
    const auto value = crv::formats::databaseReal(record, c, impliedDecimals);
    if (!value) notANumber(record, c, source);
    return *value;
}

std::int32_t integerField(std::string_view record, Columns c, const RecordSource& source) {
    const auto value = crv::formats::integerAt(record, c);
    if (!value || *value < -99999999 || *value > 99999999) notANumber(record, c, source);
    return static_cast<std::int32_t>(*value);
}

FacilityRecord ReadFCC(std::string raw, const RecordSource& source) {
    namespace f = crv::formats::fm_database_record;
    return readRecord(std::move(raw), source, f::frequency, f::kFrequencyImpliedDecimals);
}
FacilityRecord ReadQVA(std::string raw, const RecordSource& source) {
    namespace f = crv::formats::navaid_database_record;
    return readRecord(std::move(raw), source, f::frequency, f::kFrequencyImpliedDecimals);
}
FacilityRecord ReadCOM(std::string raw, const RecordSource& source) {
    namespace f = crv::formats::com_database_record;
    return readRecord(std::move(raw), source, f::frequency, f::kFrequencyImpliedDecimals);
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
