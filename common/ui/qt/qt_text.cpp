#include "crv/common/ui/qt/qt_text.h"

#include <array>

#include <QFile>

namespace crv::common::ui {
namespace {

// 0x80-0x9F; 0 where Windows-1252 leaves the byte undefined (kept as the C1 control).
constexpr std::array<char16_t, 32> kHigh = {0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                            0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
                                            0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                            0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

void appendByte(QString& out, unsigned char b) {
    if (b >= 0x80 && b < 0xA0 && kHigh[b - 0x80] != 0)
        out.append(QChar(kHigh[b - 0x80]));
    else
        out.append(QChar(char16_t(b)));
}

// Length of the well-formed UTF-8 sequence of two or more bytes at `i`, or 0.
std::size_t utf8SequenceAt(std::string_view t, std::size_t i) {
    const auto at = [&](std::size_t k) { return static_cast<unsigned char>(t[k]); };
    const unsigned char b = at(i);
    std::size_t n = 0;
    unsigned char lo = 0x80, hi = 0xBF;  // range of the second byte
    if (b >= 0xC2 && b <= 0xDF)
        n = 2;
    else if (b == 0xE0)
        n = 3, lo = 0xA0;
    else if (b >= 0xE1 && b <= 0xEF)
        n = 3, hi = b == 0xED ? 0x9F : 0xBF;
    else if (b == 0xF0)
        n = 4, lo = 0x90;
    else if (b >= 0xF1 && b <= 0xF3)
        n = 4;
    else if (b == 0xF4)
        n = 4, hi = 0x8F;
    if (n == 0 || i + n > t.size()) return 0;
    if (at(i + 1) < lo || at(i + 1) > hi) return 0;
    for (std::size_t k = 2; k < n; ++k)
        if (at(i + k) < 0x80 || at(i + k) > 0xBF) return 0;
    return n;
}

}  // namespace

QString toQt(std::string_view text) {
    QString out;
    out.reserve(qsizetype(text.size()));
    for (char ch : text) appendByte(out, static_cast<unsigned char>(ch));
    return out;
}

QString pathToQt(std::string_view path) { return QFile::decodeName(QByteArray(path.data(), qsizetype(path.size()))); }

std::string pathFromQt(const QString& path) {
    const QByteArray bytes = QFile::encodeName(path);
    return std::string(bytes.constData(), std::size_t(bytes.size()));
}

QString displayToQt(std::string_view text) {
    QString out;
    out.reserve(qsizetype(text.size()));
    for (std::size_t i = 0; i < text.size();) {
        if (const std::size_t n = utf8SequenceAt(text, i)) {
            out += QString::fromUtf8(text.data() + i, qsizetype(n));
            i += n;
        } else {
            appendByte(out, static_cast<unsigned char>(text[i++]));
        }
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
