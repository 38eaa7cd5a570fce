#include "crv/common/ui/qt_text.h"

#include <array>

namespace crv::common::ui {
namespace {

// 0x80-0x9F; 0 where Windows-1252 leaves the byte undefined (kept as the C1 control).
constexpr std::array<char16_t, 32> kHigh = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

}  // namespace

QString toQt(std::string_view text) {
    QString out;
    out.reserve(qsizetype(text.size()));
    for (char ch : text) {
        const auto b = static_cast<unsigned char>(ch);
        if (b >= 0x80 && b < 0xA0 && kHigh[b - 0x80] != 0)
            out.append(QChar(kHigh[b - 0x80]));
        else
            out.append(QChar(char16_t(b)));
    }
    return out;
}

std::string fromQt(const QString& text) {
    std::string out;
    out.reserve(std::size_t(text.size()));
    for (QChar c : text) {
        const char16_t u = c.unicode();
        if (u < 0x80 || (u >= 0xA0 && u < 0x100) || ((u >= 0x80 && u < 0xA0) && kHigh[u - 0x80] == 0)) {
            out.push_back(static_cast<char>(u));
            continue;
        }
        char b = '?';
        for (std::size_t i = 0; i < kHigh.size(); ++i)
            if (kHigh[i] == u && u != 0) b = static_cast<char>(0x80 + i);
        out.push_back(b);
    }
    return out;
}

}  // namespace crv::common::ui
