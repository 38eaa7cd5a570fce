#include "crv/common/drawing/text_layout.h"

#include "crv/common/drawing/primitives.h"

#include <cmath>

namespace crv::common {

TextOrigin textOrigin(double px, double py, int align, double angleDeg, double cx, double cy) {
    const double dx = -(align / 3) * cx / 2.0;
    const double dy = -(align % 3) * cy / 2.0;
    if (angleDeg == 0.0) return {px + dx, py + dy};
    const double c = std::cos(angleDeg * kDegToRad);
    const double s = std::sin(angleDeg * kDegToRad);
    return {px + dx * c + dy * s, py - dx * s + dy * c};
}

namespace {
// Windows-1252 0x80-0x9F; the rest of the code page is Latin-1.
constexpr char16_t kCp1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

bool decodeUtf8(std::string_view s, std::u16string& out) {
    out.clear();
    for (std::size_t i = 0; i < s.size();) {
        const unsigned char b = static_cast<unsigned char>(s[i]);
        char32_t cp = 0;
        int extra = 0;
        if (b < 0x80) {
            cp = b;
        } else if ((b & 0xE0) == 0xC0) {
            cp = b & 0x1F;
            extra = 1;
        } else if ((b & 0xF0) == 0xE0) {
            cp = b & 0x0F;
            extra = 2;
        } else if ((b & 0xF8) == 0xF0) {
            cp = b & 0x07;
            extra = 3;
        } else {
            return false;
        }
        if (i + static_cast<std::size_t>(extra) >= s.size() && extra > 0) return false;
        for (int k = 1; k <= extra; ++k) {
            const unsigned char c = static_cast<unsigned char>(s[i + k]);
            if ((c & 0xC0) != 0x80) return false;
            cp = (cp << 6) | (c & 0x3F);
        }
        if ((extra == 1 && cp < 0x80) || (extra == 2 && cp < 0x800) || (extra == 3 && cp < 0x10000) ||
            cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
            return false;
        }
        if (cp >= 0x10000) {
            cp -= 0x10000;
            out.push_back(static_cast<char16_t>(0xD800 + (cp >> 10)));
            out.push_back(static_cast<char16_t>(0xDC00 + (cp & 0x3FF)));
        } else {
            out.push_back(static_cast<char16_t>(cp));
        }
        i += 1 + extra;
    }
    return true;
}
}  // namespace

std::u16string decodeText(std::string_view text) {
    std::u16string out;
    if (decodeUtf8(text, out)) return out;
    out.clear();
    for (char ch : text) {
        const unsigned char b = static_cast<unsigned char>(ch);
        out.push_back(b >= 0x80 && b < 0xA0 ? kCp1252High[b - 0x80] : static_cast<char16_t>(b));
    }
    return out;
}

}  // namespace crv::common
