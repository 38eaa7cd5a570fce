#include "crv/platform/numbers.h"

#include <charconv>
#include <cmath>
#include <system_error>

namespace crv::platform {

namespace {
bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }
}  // namespace

std::string_view trimBlanks(std::string_view text) {
    while (!text.empty() && isBlank(text.front())) text.remove_prefix(1);
    return trimRight(text);
}

std::string_view trimRight(std::string_view text) {
    while (!text.empty() && isBlank(text.back())) text.remove_suffix(1);
    return text;
}

std::optional<double> parseReal(std::string_view text) {
    text = trimBlanks(text);
    if (text.empty()) return std::nullopt;
    std::string buf(text);
    bool negative = false;
    std::size_t pos = 0;
    if (buf[0] == '+' || buf[0] == '-') {
        negative = buf[0] == '-';
        pos = 1;
    }
    // Fortran writes double-precision exponents with D.
    for (char& c : buf)
        if (c == 'D' || c == 'd') c = 'E';
    std::string_view digits(buf.data() + pos, buf.size() - pos);
    if (digits.empty() || digits[0] == '+' || digits[0] == '-') return std::nullopt;
    // Words like "inf" or "nan" are not numbers in a data file.
    if (!(std::isdigit(static_cast<unsigned char>(digits[0])) || digits[0] == '.')) return std::nullopt;
    double value = 0;
    auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), value,
                                     std::chars_format::general);
    if (ec == std::errc::result_out_of_range) {
        // Underflow reads as zero, overflow as infinity: the caller's range checks decide.
        value = digits.find("E-") != std::string_view::npos || digits.find("e-") != std::string_view::npos
                    ? 0.0
                    : HUGE_VAL;
    } else if (ec != std::errc()) {
        return std::nullopt;
    }
    if (end != digits.data() + digits.size()) return std::nullopt;
    return negative ? -value : value;
}

std::optional<long long> parseInteger(std::string_view text) {
    text = trimBlanks(text);
    if (text.empty()) return std::nullopt;
    bool negative = false;
    if (text[0] == '+' || text[0] == '-') {
        negative = text[0] == '-';
        text.remove_prefix(1);
    }
    if (text.empty() || !std::isdigit(static_cast<unsigned char>(text[0]))) return std::nullopt;
    long long value = 0;
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || end != text.data() + text.size()) return std::nullopt;
    return negative ? -value : value;
}

std::string_view columns(std::string_view line, int first, int last) {
    if (first < 1) first = 1;
    if (last < first) return {};
    const auto begin = static_cast<std::size_t>(first - 1);
    if (begin >= line.size()) return {};
    const auto count = static_cast<std::size_t>(last - first + 1);
    return line.substr(begin, count);
}

std::vector<std::string_view> splitFreeFormat(std::string_view line) {
    std::vector<std::string_view> out;
    std::size_t i = 0;
    auto sep = [](char c) { return c == ' ' || c == '\t' || c == ',' || c == '\r' || c == '\n'; };
    while (i < line.size()) {
        while (i < line.size() && sep(line[i])) ++i;
        std::size_t start = i;
        while (i < line.size() && !sep(line[i])) ++i;
        if (i > start) out.push_back(line.substr(start, i - start));
    }
    return out;
}

std::string formatFixed(double value, int decimals) {
    char buf[512];
    auto [end, ec] = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::fixed, decimals);
    if (ec != std::errc()) return std::string(std::isnan(value) ? "NaN" : (value < 0 ? "-Infinity" : "Infinity"));
    return std::string(buf, end);
}

std::string formatShortest(double value) {
    char buf[64];
    auto [end, ec] = std::to_chars(buf, buf + sizeof buf, value);
    if (ec != std::errc()) return {};
    return std::string(buf, end);
}

std::string formatShortest(float value) {
    char buf[64];
    auto [end, ec] = std::to_chars(buf, buf + sizeof buf, value);
    if (ec != std::errc()) return {};
    return std::string(buf, end);
}

}  // namespace crv::platform
