#include "crv/formats/numbers.h"

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <system_error>

#include "crv/platform/numbers.h"

namespace crv::formats {

namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// Shortest decimal digits of |value| and the position of the decimal point
// relative to the first digit: value = 0.d1d2d3... x 10^pointPos.
struct Decimal {
    std::string digits;
    int pointPos = 0;
};

Decimal shortestDecimal(double magnitude) {
    char buf[64];
    auto [end, ec] = std::to_chars(buf, buf + sizeof buf, magnitude, std::chars_format::scientific);
    Decimal d;
    if (ec != std::errc()) return d;
    std::string_view text(buf, static_cast<std::size_t>(end - buf));
    const auto e = text.find('e');
    for (char c : text.substr(0, e))
        if (isDigit(c)) d.digits += c;
    d.pointPos = std::atoi(std::string(text.substr(e + 1)).c_str()) + 1;
    return d;
}

std::string nonFinite(double value) {
    if (std::isnan(value)) return "NaN";
    return value < 0 ? "-Infinity" : "Infinity";
}

}  // namespace

double Val(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
    std::string number;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        if (text[i] == '-') number += '-';
        ++i;
    }
    bool anyDigit = false;
    while (i < text.size() && isDigit(text[i])) {
        number += text[i++];
        anyDigit = true;
    }
    if (i < text.size() && text[i] == '.') {
        number += '.';
        ++i;
        while (i < text.size() && isDigit(text[i])) {
            number += text[i++];
            anyDigit = true;
        }
    }
    if (!anyDigit) return 0.0;
    if (i < text.size() && (text[i] == 'E' || text[i] == 'e' || text[i] == 'D' || text[i] == 'd')) {
        std::size_t j = i + 1;
        std::string exponent = "e";
        if (j < text.size() && (text[j] == '+' || text[j] == '-')) exponent += text[j++];
        if (j < text.size() && isDigit(text[j])) {
            while (j < text.size() && isDigit(text[j])) exponent += text[j++];
            number += exponent;
        }
    }
    const char* first = number.data();
    bool negative = false;
    if (*first == '-') {
        negative = true;
        ++first;
    }
    double value = 0.0;
    auto [end, ec] = std::from_chars(first, number.data() + number.size(), value);
    if (ec == std::errc::result_out_of_range)
        value = number.find("e-") != std::string::npos ? 0.0 : std::numeric_limits<double>::infinity();
    (void)end;
    return negative ? -value : value;
}

std::string Mid(std::string_view text, int start, int length) {
    if (start < 1) start = 1;
    const auto begin = static_cast<std::size_t>(start - 1);
    if (begin >= text.size() || length == 0) return {};
    if (length < 0) return std::string(text.substr(begin));
    return std::string(text.substr(begin, static_cast<std::size_t>(length)));
}

std::string leftSet(std::string_view text, std::size_t width) {
    std::string out(text.substr(0, width));
    out.resize(width, ' ');
    return out;
}

double roundHalfEven(double value) { return std::nearbyint(value); }

std::int16_t toInt16(double value) {
    if (!std::isfinite(value)) return 0;
    const double r = roundHalfEven(value);
    if (r > 32767.0) return 32767;
    if (r < -32768.0) return -32768;
    return static_cast<std::int16_t>(r);
}

std::string formatDecimal(double value, int decimals, int minIntegerDigits) {
    if (!std::isfinite(value)) return nonFinite(value);
    if (decimals < 0) decimals = 0;
    const bool negative = std::signbit(value);
    std::string intPart;
    std::string frac;
    if (value != 0.0) {
        Decimal d = shortestDecimal(std::fabs(value));
        if (d.pointPos > 0) {
            const auto p = static_cast<std::size_t>(d.pointPos);
            intPart = d.digits.substr(0, std::min(p, d.digits.size()));
            if (intPart.size() < p) intPart.append(p - intPart.size(), '0');
            if (d.digits.size() > p) frac = d.digits.substr(p);
        } else {
            frac = std::string(static_cast<std::size_t>(-d.pointPos), '0') + d.digits;
        }
    }
    if (intPart.empty()) intPart = "0";
    const auto keep = static_cast<std::size_t>(decimals);
    if (frac.size() > keep) {
        const bool up = frac[keep] >= '5';
        frac.resize(keep);
        if (up) {
            // Carry through the kept decimals, then the whole part.
            int i = static_cast<int>(frac.size()) - 1;
            for (; i >= 0; --i) {
                if (frac[static_cast<std::size_t>(i)] == '9') {
                    frac[static_cast<std::size_t>(i)] = '0';
                } else {
                    ++frac[static_cast<std::size_t>(i)];
                    break;
                }
            }
            if (i < 0) {
                int j = static_cast<int>(intPart.size()) - 1;
                for (; j >= 0; --j) {
                    if (intPart[static_cast<std::size_t>(j)] == '9') {
                        intPart[static_cast<std::size_t>(j)] = '0';
                    } else {
                        ++intPart[static_cast<std::size_t>(j)];
                        break;
                    }
                }
                if (j < 0) intPart.insert(intPart.begin(), '1');
            }
        }
    }
    frac.resize(keep, '0');
    // Strip leading zeros the shortest text never has, then pad to the pattern.
    while (intPart.size() > 1 && intPart.front() == '0') intPart.erase(0, 1);
    if (minIntegerDigits > 0 && intPart.size() < static_cast<std::size_t>(minIntegerDigits))
        intPart.insert(0, static_cast<std::size_t>(minIntegerDigits) - intPart.size(), '0');
    if (minIntegerDigits <= 0 && intPart == "0") intPart.clear();
    std::string out = intPart;
    if (keep > 0) out += "." + frac;
    const bool allZero = out.find_first_not_of("0.") == std::string::npos;
    if (negative && !allZero) out.insert(out.begin(), '-');
    return out;
}

std::string formatGeneral(double value, int significant) {
    if (!std::isfinite(value)) return nonFinite(value);
    if (value == 0.0) return "0";
    if (significant < 1) significant = 1;
    char buf[64];
    auto [end, ec] = std::to_chars(buf, buf + sizeof buf, std::fabs(value), std::chars_format::scientific,
                                   significant - 1);
    if (ec != std::errc()) return {};
    std::string_view text(buf, static_cast<std::size_t>(end - buf));
    const auto e = text.find('e');
    std::string digits;
    for (char c : text.substr(0, e))
        if (isDigit(c)) digits += c;
    const int exponent = std::atoi(std::string(text.substr(e + 1)).c_str());
    while (digits.size() > 1 && digits.back() == '0') digits.pop_back();
    std::string out = value < 0 ? "-" : "";
    if (exponent < -4 || exponent >= significant) {
        out += digits.substr(0, 1);
        if (digits.size() > 1) out += "." + digits.substr(1);
        out += exponent < 0 ? "E-" : "E+";
        const int a = std::abs(exponent);
        if (a < 10) out += '0';
        out += std::to_string(a);
    } else if (exponent < 0) {
        out += "0." + std::string(static_cast<std::size_t>(-exponent - 1), '0') + digits;
    } else {
        const auto p = static_cast<std::size_t>(exponent + 1);
        if (digits.size() <= p) {
            out += digits + std::string(p - digits.size(), '0');
        } else {
            out += digits.substr(0, p) + "." + digits.substr(p);
        }
    }
    return out;
}

std::string formatGeneral(float value) { return formatGeneral(static_cast<double>(value), 7); }

double singleToDouble(float value) {
    if (!std::isfinite(value)) return static_cast<double>(value);
    char buf[64];
    auto [end, ec] = std::to_chars(buf, buf + sizeof buf, value);
    double out = static_cast<double>(value);
    if (ec == std::errc()) std::from_chars(buf, end, out);
    return out;
}

std::string Str(double value) {
    std::string text = formatGeneral(value);
    return (value < 0 ? "" : " ") + text;
}

std::string formatGrouped(double value, int decimals) {
    std::string text = formatDecimal(value, decimals < 0 ? 0 : decimals);
    const bool negative = !text.empty() && text[0] == '-';
    if (negative) text.erase(0, 1);
    const std::size_t point = text.find('.');
    const std::size_t intLen = point == std::string::npos ? text.size() : point;
    std::string out;
    for (std::size_t i = 0; i < intLen; ++i) {
        if (i > 0 && (intLen - i) % 3 == 0) out += ',';
        out += text[i];
    }
    out += text.substr(intLen);
    return negative ? "-" + out : out;
}

std::string formatG(double value, int precision) {
    if (std::isnan(value)) return std::signbit(value) ? "-nan" : "nan";
    if (std::isinf(value)) return value < 0 ? "-inf" : "inf";
    char buf[64];
    const auto [end, ec] =
        std::to_chars(buf, buf + sizeof buf, value, std::chars_format::general, precision < 1 ? 1 : precision);
    return ec == std::errc() ? std::string(buf, end) : std::string();
}

std::string FormatField(double value, int width, int decimals) {
    std::string text = formatDecimal(value, decimals < 0 ? 0 : decimals);
    const auto w = static_cast<std::size_t>(width < 0 ? 0 : width);
    if (text.size() > w) return text.substr(0, w);
    return std::string(w - text.size(), ' ') + text;
}

std::string fixedField(double value, int width, int decimals) {
    const std::string stars(static_cast<std::size_t>(width), '*');
    if (!std::isfinite(value)) return stars;
    // Printed as the report prints an F field, so that a pattern reads the same
    // in both: the exact binary value rounded with halves away from zero, no
    // minus sign on a value that rounds to zero, and the leading zero of "0.5"
    // dropped when the field is too narrow for it.
    std::string text = crv::platform::formatFixed(std::fabs(value), decimals + 40);
    const std::size_t cut = text.find('.') + 1 + static_cast<std::size_t>(decimals);
    const bool roundUp = text[cut] >= '5';
    text.resize(cut);
    if (roundUp) {
        int i = static_cast<int>(cut) - 1;
        for (; i >= 0; --i) {
            char& digit = text[static_cast<std::size_t>(i)];
            if (digit == '.') continue;
            if (digit != '9') {
                ++digit;
                break;
            }
            digit = '0';
        }
        if (i < 0) text.insert(0, "1");
    }
    if (value < 0 && text.find_first_of("123456789") != std::string::npos) text.insert(0, "-");
    if (static_cast<int>(text.size()) > width) {
        if (text.rfind("0.", 0) == 0)
            text.erase(0, 1);
        else if (text.rfind("-0.", 0) == 0)
            text.erase(1, 1);
    }
    if (static_cast<int>(text.size()) > width) return stars;
    return std::string(static_cast<std::size_t>(width) - text.size(), ' ') + text;
}

double DMS2Deg(std::int32_t degrees, std::int32_t minutes, std::int32_t seconds, bool negative) {
    const double fraction = std::fabs(minutes / 60.0 + seconds / 3600.0);
    if (degrees < 0 || (degrees == 0 && negative)) return degrees - fraction;
    return degrees + fraction;
}

double withImpliedDecimals(double value, std::string_view text, int impliedDecimals) {
    if (text.find('.') == std::string_view::npos) value /= std::pow(10.0, impliedDecimals);
    return value;
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

std::string NextToken(std::string_view delimiters, std::string& text) {
    const auto start = text.find_first_not_of(delimiters);
    if (start == std::string::npos) {
        text.clear();
        return {};
    }
    const auto stop = text.find_first_of(delimiters, start);
    std::string token = text.substr(start, stop == std::string::npos ? std::string::npos : stop - start);
    text = stop == std::string::npos ? std::string() : text.substr(stop + 1);
    return token;
}

std::vector<std::string> SplitFields(std::string_view line, std::string_view delimiter, int maxCount) {
    std::vector<std::string> fields;
    std::size_t b = line.find_first_not_of(' ');
    std::size_t e = line.find_last_not_of(' ');
    if (b == std::string_view::npos) return fields;
    std::string_view s = line.substr(b, e - b + 1);
    std::size_t pos = 0;
    while (static_cast<int>(fields.size()) < maxCount && pos < s.size()) {
        std::size_t next = delimiter.empty() ? std::string_view::npos : s.find(delimiter, pos);
        std::string_view part = s.substr(pos, next == std::string_view::npos ? std::string_view::npos : next - pos);
        const auto last = part.find_last_not_of(' ');
        fields.emplace_back(last == std::string_view::npos ? std::string_view() : part.substr(0, last + 1));
        if (next == std::string_view::npos) break;
        pos = next + delimiter.size();
        while (pos < s.size() && s[pos] == ' ') ++pos;
    }
    return fields;
}

}  // namespace crv::formats
