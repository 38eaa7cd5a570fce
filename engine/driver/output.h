#pragma once
// The driver's standard output: one "key=value" per line, so a caller can
// split it by lines. A value holding a line break would start a line of its
// own (a path "x\nstatus=0" would print a status nobody reported), so a
// backslash and every control character in a value are written as C escapes
// ("\\", "\n", "\r", "\t", "\xHH"); any other byte goes out as it is.
#include <cstdio>
#include <string>
#include <string_view>

namespace crv::driver {

inline std::string printable(std::string_view value) {
    std::string out;
    out.reserve(value.size());
    for (const char ch : value) {
        const auto c = static_cast<unsigned char>(ch);
        switch (c) {
            case '\\': out += "\\\\"; break;
            case '\n': out += "\\n"; break;
            case '\r': out += "\\r"; break;
            case '\t': out += "\\t"; break;
            default:
                if (c < 0x20 || c == 0x7f) {
                    static const char kHex[] = "0123456789ABCDEF";
                    out += "\\x";
                    out += kHex[c >> 4];
                    out += kHex[c & 0xf];
                } else {
                    out += ch;
                }
        }
    }
    return out;
}

inline void printValue(std::string_view key, std::string_view value) {
    std::printf("%.*s=%s\n", static_cast<int>(key.size()), key.data(), printable(value).c_str());
}

}  // namespace crv::driver
