#include "crv/common/drawing/flood_fill.h"
#include "crv/common/drawing/qt/qt_output.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPolygonF>

#include <algorithm>
#include <cmath>
#include <map>
#include <tuple>
#include <type_traits>
#include <vector>

namespace crv::common {
namespace {

QColor qtColour(Colour c) { return QColor(redOf(c), greenOf(c), blueOf(c)); }

class Player {
public:
    Player(QPainter& painter, const QRectF& target, PlayMode mode, QImage* image)
        : painter_(painter), target_(target), mode_(mode), image_(image) {
        sx_ = target.width() / kPageWidth;
        sy_ = target.height() / kPageHeight;
        painter_.setRenderHint(QPainter::Antialiasing, mode_ == PlayMode::Vector);
        painter_.setRenderHint(QPainter::TextAntialiasing, true);
        painter_.setBrush(Qt::NoBrush);
        applyPen();
    }

    void play(const Recording& r) {
        for (const Command& c : r.commands) std::visit([this](const auto& cmd) { run(cmd); }, c);
    }

private:
    QPointF map(PagePoint p) const { return {target_.left() + p.x * sx_, target_.top() + p.y * sy_}; }

    // A pen width is a length on the sheet, kept round: it follows the page's
    // vertical scale, as font heights do. The screen picture never draws
    // thinner than one pixel, so an outline is always a closed wall of pixels.
    void applyPen() {
        double w = pen_.width * sy_;
        if (mode_ == PlayMode::Raster) w = std::max(1.0, std::round(w));
        QPen p(qtColour(pen_.colour), w, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
        if (mode_ == PlayMode::Raster && w <= 1.0) p.setWidth(0);  // cosmetic: exactly one pixel
        painter_.setPen(p);
    }

    void run(const rec::SelectPen& c) {
        pen_ = c.pen;
        applyPen();
    }
    void run(const rec::SelectFont& c) { font_ = c.font; }
    void run(const rec::SetTextColour& c) { textColour_ = c.colour; }
    void run(const rec::MoveTo& c) { current_ = c.to; }
    void run(const rec::LineTo& c) {
        const QPointF a = map(current_);
        const QPointF b = map(c.to);
        if (mode_ == PlayMode::Raster) {
            painter_.drawLine(QPoint(std::lround(a.x()), std::lround(a.y())),
                              QPoint(std::lround(b.x()), std::lround(b.y())));
        } else {
            painter_.drawLine(a, b);
        }
        current_ = c.to;
    }

    void run(const rec::Text& c) {
        // The text's size comes from the sheet's vertical scale alone; only
        // its anchor follows the page mapping, so glyphs are never stretched.
        const double emPx = std::fabs(static_cast<double>(font_.height)) * sy_;
        if (emPx <= 0.0) return;
        const QFont f = qtFontFor(font_, emPx);
        const QFontMetricsF fm(f, painter_.device());
        const std::u16string u = decodeText(c.text);
        const QString s = QString::fromUtf16(u.data(), static_cast<qsizetype>(u.size()));
        const QPointF anchor = map(c.anchor);
        const TextOrigin o =
            textOrigin(anchor.x(), anchor.y(), c.align, c.angleDeg, fm.horizontalAdvance(s), fm.height());
        painter_.save();
        painter_.setFont(f);
        painter_.setPen(qtColour(textColour_));
        painter_.translate(o.x, o.y);
        if (c.angleDeg != 0.0) painter_.rotate(-c.angleDeg);
        painter_.drawText(QPointF(0.0, fm.ascent()), s);
        painter_.restore();
    }

    // Marker runs: on the screen picture each distinct mark is drawn once into
    // a small image and stamped at every point; a point landing on a pixel the
    // run has already stamped is skipped (the same mark twice on one pixel
    // would only thicken its smoothed edge). Vector targets get the texts.
    void run(const rec::Marks& c) {
        if (mode_ == PlayMode::Vector) {
            for (const PagePoint& p : c.points)
                for (char ch : c.text) run(rec::Text{p, 4, 0.0, std::string(1, ch)});
            return;
        }
        const double emPx = std::fabs(static_cast<double>(font_.height)) * sy_;
        if (emPx <= 0.0 || c.text.empty()) return;
        const Stamp& stamp = stampFor(c.text, emPx);
        const QRect bounds =
            painter_.device() ? QRect(0, 0, painter_.device()->width(), painter_.device()->height()) : QRect();
        const bool dedupe = c.points.size() > 64 && !bounds.isEmpty();
        if (dedupe) {
            const std::size_t cells = static_cast<std::size_t>(bounds.width()) * bounds.height();
            if (seen_.size() != cells) seen_.assign(cells, 0);
            ++run_;
        }
        for (const PagePoint& p : c.points) {
            const QPointF q = map(p);
            const int ix = static_cast<int>(std::lround(q.x())), iy = static_cast<int>(std::lround(q.y()));
            if (dedupe && bounds.contains(ix, iy)) {
                const std::size_t at = static_cast<std::size_t>(iy) * bounds.width() + ix;
                if (seen_[at] == run_) continue;
                seen_[at] = run_;
            }
            painter_.drawImage(QPoint(ix + stamp.dx, iy + stamp.dy), stamp.image);
        }
    }

    // A mark's picture cut to its visible pixels, and where its top left
    // stands from the point it marks.
    struct Stamp {
        QImage image;
        int dx = 0, dy = 0;
    };

    const Stamp& stampFor(const std::string& text, double emPx) {
        const auto key = std::make_tuple(text, emPx, font_.face, font_.weight, font_.italic, textColour_);
        auto it = stamps_.find(key);
        if (it != stamps_.end()) return it->second;
        const QFont f = qtFontFor(font_, emPx);
        const QFontMetricsF fm(f);
        double w = 0.0;
        for (char ch : text) w = std::max(w, fm.horizontalAdvance(QChar::fromLatin1(ch)));
        const int W = static_cast<int>(std::ceil(w)) + 2, H = static_cast<int>(std::ceil(fm.height())) + 2;
        QImage img(W, H, QImage::Format_ARGB32_Premultiplied);
        img.fill(Qt::transparent);
        QPainter p(&img);
        p.setRenderHint(QPainter::TextAntialiasing, true);
        p.setFont(f);
        p.setPen(qtColour(textColour_));
        for (char ch : text) {
            const QString s(QChar::fromLatin1(ch));
            p.drawText(QPointF((W - fm.horizontalAdvance(s)) / 2.0, (H - fm.height()) / 2.0 + fm.ascent()), s);
        }
        p.end();
        // Blending is most of a dense page's redraw: leave out the clear border.
        QRect used;
        for (int y = 0; y < H; ++y) {
            const auto* row = reinterpret_cast<const QRgb*>(img.constScanLine(y));
            for (int x = 0; x < W; ++x)
                if (qAlpha(row[x])) used |= QRect(x, y, 1, 1);
        }
        if (used.isEmpty()) used = QRect(0, 0, 1, 1);
        Stamp stamp{img.copy(used), used.left() - W / 2, used.top() - H / 2};
        return stamps_.emplace(key, std::move(stamp)).first->second;
    }

    void run(const rec::Fill& c) {
        if (c.outline.size() < 3) return;
        if (mode_ == PlayMode::Raster && image_) {
            floodOnImage(c);
            return;
        }
        QPolygonF poly;
        for (const PagePoint& p : c.outline) poly << map(p);
        painter_.save();
        painter_.setPen(Qt::NoPen);
        painter_.setBrush(qtColour(c.colour));
        painter_.drawPolygon(poly, Qt::OddEvenFill);
        painter_.restore();
    }

    // Flood fill on the picture's pixels, held inside the box around the
    // outline it is meant for, so a gap can never let it run over the page.
    void floodOnImage(const rec::Fill& c) {
        QRectF box = QRectF(map(c.outline[0]), QSizeF(0, 0));
        for (const PagePoint& p : c.outline) {
            const QPointF q = map(p);
            box.setLeft(std::min(box.left(), q.x()));
            box.setRight(std::max(box.right(), q.x()));
            box.setTop(std::min(box.top(), q.y()));
            box.setBottom(std::max(box.bottom(), q.y()));
        }
        const int margin = static_cast<int>(std::ceil(pen_.width * sy_)) + 2;
        const PixelRect limit{
            static_cast<int>(std::floor(box.left())) - margin, static_cast<int>(std::floor(box.top())) - margin,
            static_cast<int>(std::ceil(box.right())) + margin, static_cast<int>(std::ceil(box.bottom())) + margin};
        const QPointF seed = map(c.seed);
        painter_.end();
        if (image_->format() != QImage::Format_RGB32 && image_->format() != QImage::Format_ARGB32) {
            *image_ = image_->convertToFormat(QImage::Format_RGB32);
        }
        const QRgb colour = qtColour(c.colour).rgb();
        floodFill(reinterpret_cast<std::uint32_t*>(image_->bits()), image_->width(), image_->height(),
                  static_cast<int>(image_->bytesPerLine() / 4), static_cast<int>(std::lround(seed.x())),
                  static_cast<int>(std::lround(seed.y())), colour, colour, limit);
        painter_.begin(image_);
        painter_.setRenderHint(QPainter::Antialiasing, false);
        painter_.setRenderHint(QPainter::TextAntialiasing, true);
        painter_.setBrush(Qt::NoBrush);
        applyPen();
    }

    QPainter& painter_;
    QRectF target_;
    PlayMode mode_;
    QImage* image_;
    double sx_ = 1.0;
    double sy_ = 1.0;
    Pen pen_;
    Font font_;
    std::map<std::tuple<std::string, double, std::string, std::int32_t, bool, Colour>, Stamp> stamps_;
    // Which marker run last stamped each pixel of the picture.
    std::vector<std::uint32_t> seen_;
    std::uint32_t run_ = 0;
    Colour textColour_ = kBlack;
    PagePoint current_;
};

}  // namespace

void playRecording(QPainter& painter, const Recording& recording, const QRectF& target, PlayMode mode, QImage* image) {
    Player(painter, target, mode, image).play(recording);
}

QImage renderPicture(const Recording& recording, PlotSurface surface) {
    QImage image(std::max(1, surface.widthPx), std::max(1, surface.heightPx), QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    playRecording(painter, recording, QRectF(0, 0, image.width(), image.height()), PlayMode::Raster, &image);
    painter.end();
    return image;
}

void PlayEnhMetafile(QPainter& painter, const EnhancedMetafile& metafile, const QRectF& target) {
    painter.save();
    playRecording(painter, metafile.recording, target, PlayMode::Vector);
    painter.restore();
}

}  // namespace crv::common
