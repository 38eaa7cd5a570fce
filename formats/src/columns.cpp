#include "crv/formats/columns.h"

#include <cmath>

#include "crv/platform/numbers.h"

namespace crv::formats {

std::string_view textAt(std::string_view line, Columns c) { return crv::platform::columns(line, c.first, c.last); }

std::string_view trimmedAt(std::string_view line, Columns c) { return crv::platform::trimBlanks(textAt(line, c)); }

std::optional<double> realAt(std::string_view line, Columns c) {
    const std::string_view field = trimmedAt(line, c);
    if (field.empty()) return 0.0;
    return crv::platform::parseReal(field);
}

std::optional<long long> integerAt(std::string_view line, Columns c) {
    const std::string_view field = trimmedAt(line, c);
    if (field.empty()) return 0;
    return crv::platform::parseInteger(field);
}

void putText(std::string& line, Columns c, std::string_view text) {
    const auto first = static_cast<std::size_t>(c.first - 1);
    const auto width = static_cast<std::size_t>(c.width());
    if (line.size() < first + width) line.resize(first + width, ' ');
    std::string field(text.substr(0, width));
    field.resize(width, ' ');
    line.replace(first, width, field);
}

std::string FieldReader::text(Columns c) const {
    std::string_view t = textAt(line_, c);
    while (!t.empty() && t.back() == ' ') t.remove_suffix(1);
    return std::string(t);
}

double FieldReader::real(Columns c) {
    if (!ok_) return 0;
    const auto v = realAt(line_, c);
    if (!v || !std::isfinite(*v)) return failAt(c);
    return *v;
}

long long FieldReader::whole(Columns c) {
    if (!ok_) return 0;
    const auto v = integerAt(line_, c);
    if (!v || *v < -2147483647LL || *v > 2147483647LL) return static_cast<long long>(failAt(c));
    return *v;
}

double FieldReader::failAt(Columns c) {
    if (bad_) *bad_ = c;
    ok_ = false;
    return 0;
}

void ColumnLine::text(Columns c, std::string_view value) {
    const auto width = static_cast<std::size_t>(c.width());
    value = value.substr(0, width);
    text_.replace(static_cast<std::size_t>(c.first - 1), value.size(), value);
}

void ColumnLine::rightAligned(Columns c, const std::string& value) {
    const auto width = static_cast<std::size_t>(c.width());
    const std::string field =
        value.size() > width ? std::string(width, '*') : std::string(width - value.size(), ' ') + value;
    text_.replace(static_cast<std::size_t>(c.first - 1), width, field);
}

void ColumnLine::integer(Columns c, long long value) { rightAligned(c, std::to_string(value)); }

void ColumnLine::twoDigits(Columns c, long long value) {
    std::string digits = std::to_string(value < 0 ? -value : value);
    if (digits.size() < 2) digits.insert(0, 2 - digits.size(), '0');
    if (value < 0) digits.insert(0, 1, '-');
    rightAligned(c, digits);
}

void ColumnLine::real(Columns c, double value, int decimals) {
    if (!std::isfinite(value)) {
        rightAligned(c, std::string(static_cast<std::size_t>(c.width() + 1), '*'));
        return;
    }
    std::string text = crv::platform::formatFixed(value, decimals);
    if (text == "-" + crv::platform::formatFixed(0.0, decimals)) text.erase(0, 1);
    rightAligned(c, text);
}

void ColumnLine::degrees(Columns c, std::int32_t value, bool negative) {
    rightAligned(c, value == 0 && negative ? std::string("-0") : std::to_string(value));
}

}  // namespace crv::formats
