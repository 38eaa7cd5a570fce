#include "crv/common/text_utils.h"

#include <algorithm>

#include "crv/common/conversions.h"

namespace crv::common {

int LastPos(std::string_view text, std::string_view search) {
    if (search.empty()) return 0;
    const auto p = text.rfind(search);
    return p == std::string_view::npos ? 0 : static_cast<int>(p) + 1;
}

std::string AddBackslash(std::string_view path) {
    std::string out(path);
    if (out.empty() || out.back() != '/') out += '/';
    return out;
}

std::string RemoveBackslash(std::string_view path) {
    if (!path.empty() && path.back() == '/') path.remove_suffix(1);
    return std::string(path);
}

std::string ShortenPath(const TextMeasure& measure, std::string_view path, double maxWidth) {
    if (measure(path) <= maxWidth) return std::string(path);
    std::string result(path);
    const int p = LastPos(path, "/");
    if (p > 2) {
        const std::string tail = "..." + std::string(path.substr(static_cast<std::size_t>(p - 1)));
        result = tail;
        if (measure(tail) < maxWidth) {
            for (int k = p - 2; k >= 0; --k) {
                std::string candidate = std::string(path.substr(0, static_cast<std::size_t>(k))) + tail;
                if (measure(candidate) <= maxWidth) {
                    result = candidate;
                    break;
                }
            }
        }
    }
    if (measure(result) > maxWidth) {
        std::string base = result;
        for (auto n = static_cast<long>(base.size()) - 1; n >= 0; --n) {
            result = base.substr(0, static_cast<std::size_t>(n)) + "...";
            if (measure(result) <= maxWidth || n == 0) break;
        }
    }
    return result;
}

char upperAscii(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

std::string upperAscii(std::string_view text) {
    std::string out(text);
    for (char& c : out) c = upperAscii(c);
    return out;
}

bool equalsNoCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return upperAscii(x) == upperAscii(y); });
}

bool containsNoCase(std::string_view text, std::string_view part) {
    return upperAscii(text).find(upperAscii(part)) != std::string::npos;
}

bool startsWithNoCase(std::string_view text, std::string_view prefix) {
    return text.size() >= prefix.size() && equalsNoCase(text.substr(0, prefix.size()), prefix);
}

}  // namespace crv::common
