#include "crv/common/drawing/qt/qt_output.h"

#include <QFontMetricsF>
#include <QString>

#include <algorithm>
#include <cmath>

namespace crv::common {

QString substituteFace(const std::string& face) {
    const QString f = QString::fromStdString(face).trimmed();
    if (f.compare(QLatin1String("Arial"), Qt::CaseInsensitive) == 0 ||
        f.compare(QLatin1String("Small Fonts"), Qt::CaseInsensitive) == 0 ||
        f.compare(QLatin1String("MS Sans Serif"), Qt::CaseInsensitive) == 0) {
        return QStringLiteral("Liberation Sans");
    }
    if (f.compare(QLatin1String("Courier New"), Qt::CaseInsensitive) == 0) {
        return QStringLiteral("Liberation Mono");
    }
    if (f.compare(QLatin1String("Times New Roman"), Qt::CaseInsensitive) == 0) {
        return QStringLiteral("Liberation Serif");
    }
    return f.isEmpty() ? QStringLiteral("Liberation Sans") : f;
}

QFont qtFontFor(const Font& font, double emPx) {
    QFont q(substituteFace(font.face));
    // Qt takes whole pixel sizes for raster fonts; a size below one pixel
    // would be refused.
    q.setPixelSize(std::max(1, static_cast<int>(std::lround(emPx))));
    q.setWeight(static_cast<QFont::Weight>(std::clamp(font.weight, 1, 1000)));
    q.setItalic(font.italic);
    q.setStyleStrategy(QFont::PreferOutline);
    q.setHintingPreference(QFont::PreferNoHinting);
    return q;
}

TextExtent QtTextMetrics::measure(const Font& font, double emPx, const std::u16string& text) const {
    // Measured at a large size and scaled down: outline fonts scale linearly
    // without hinting, and whole-pixel sizes would otherwise skew small text.
    constexpr double kMeasurePx = 1000.0;
    const double k = emPx / kMeasurePx;
    const QFont q = qtFontFor(font, kMeasurePx);
    const QFontMetricsF fm(q);
    TextExtent e;
    const QString s = QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size()));
    e.width = fm.horizontalAdvance(s) * k;
    e.height = fm.height() * k;
    e.advances.reserve(text.size());
    double previous = 0.0;
    for (qsizetype i = 1; i <= s.size(); ++i) {
        // Advances taken from the running width keep kerning in the sum.
        const double upTo = fm.horizontalAdvance(s.left(i));
        e.advances.push_back((upTo - previous) * k);
        previous = upTo;
    }
    return e;
}

}  // namespace crv::common
