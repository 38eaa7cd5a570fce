#include "crv/common/drawing/metafile_export.h"

#include "crv/common/drawing/emf_writer.h"
#include "crv/common/drawing/page.h"

#include <cmath>
#include <type_traits>

namespace crv::common {
namespace {

class Encoder {
public:
    Encoder(const EnhancedMetafile& mf, const TextMetrics& metrics)
        : mf_(mf), metrics_(metrics), writer_(headerOf(mf)) {
        xScale_ = static_cast<double>(mf.frame.viewportWidth) / kPageWidth;
        yScale_ = static_cast<double>(mf.frame.viewportHeight) / kPageHeight;
        exScale_ = static_cast<float>(static_cast<double>(mf.frame.rightHmm) / kPageWidth);
        eyScale_ = static_cast<float>(static_cast<double>(mf.frame.bottomHmm) / kPageHeight);
    }

    std::vector<std::uint8_t> run() {
        writer_.setMapMode(emf::kMapModeAnisotropic);
        writer_.setWindowExt(kPageWidth, kPageHeight);
        writer_.setViewportExt(mf_.frame.viewportWidth, mf_.frame.viewportHeight);
        writer_.setBkMode(emf::kBkModeTransparent);
        for (const Command& c : mf_.recording.commands) {
            std::visit([this](const auto& cmd) { play(cmd); }, c);
        }
        // Put the stock objects back and delete the plot's own, as a device
        // context is left at the end of a plot.
        if (pen_) {
            writer_.selectObject(emf::kStockBlackPen);
            writer_.deleteObject(pen_);
        }
        if (font_) {
            writer_.selectObject(emf::kStockSystemFont);
            writer_.deleteObject(font_);
        }
        return writer_.finish();
    }

private:
    static EmfHeaderInfo headerOf(const EnhancedMetafile& mf) {
        EmfHeaderInfo h;
        h.boundsRight = mf.frame.viewportWidth - 1;
        h.boundsBottom = mf.frame.viewportHeight - 1;
        h.frameRight = mf.frame.rightHmm;
        h.frameBottom = mf.frame.bottomHmm;
        h.devicePxX = kReferenceWidthPx;
        h.devicePxY = kReferenceHeightPx;
        h.deviceMmX = kReferenceWidthMm;
        h.deviceMmY = kReferenceHeightMm;
        // The description is stored as given; make sure it ends in the NUL
        // pair the format asks for.
        h.description = decodeText(mf.description);
        if (!h.description.empty()) {
            while (h.description.size() < 2 || h.description[h.description.size() - 1] != u'\0' ||
                   h.description[h.description.size() - 2] != u'\0') {
                h.description.push_back(u'\0');
            }
        }
        return h;
    }

    void play(const rec::SelectPen& c) {
        const std::uint32_t h = writer_.createPen(c.pen);
        writer_.selectObject(h);
        if (pen_) writer_.deleteObject(pen_);
        pen_ = h;
    }
    void play(const rec::SelectFont& c) {
        const std::uint32_t h = writer_.createFont(c.font, decodeText(c.font.face));
        writer_.selectObject(h);
        if (font_) writer_.deleteObject(font_);
        font_ = h;
        currentFont_ = c.font;
    }
    void play(const rec::SetTextColour& c) { writer_.setTextColor(c.colour); }
    void play(const rec::MoveTo& c) { writer_.moveTo(c.to); }
    void play(const rec::LineTo& c) { writer_.lineTo(c.to); }

    void play(const rec::Text& c) {
        const std::u16string text = decodeText(c.text);
        std::uint32_t rotated = 0;
        Font font = currentFont_;
        if (c.angleDeg != 0.0) {
            font.escapement = font.orientation = roundToInt32(c.angleDeg * 10.0, "A text angle");
            rotated = writer_.createFont(font, decodeText(font.face));
            writer_.selectObject(rotated);
        }
        // Measured on the reference device in the font's own shape, then
        // taken back into logical units for the anchor offset.
        const double emPx = std::fabs(static_cast<double>(font.height)) * yScale_;
        const TextExtent ext = metrics_.measure(font, emPx, text);
        const double cx = ext.width / xScale_;
        const double cy = ext.height / yScale_;
        const TextOrigin o = textOrigin(c.anchor.x, c.anchor.y, c.align, c.angleDeg, cx, cy);
        std::vector<std::int32_t> dx;
        dx.reserve(text.size());
        for (std::size_t i = 0; i < text.size(); ++i) {
            const double a = i < ext.advances.size() ? ext.advances[i] : 0.0;
            dx.push_back(roundToInt32(a / xScale_, "A character advance"));
        }
        writer_.extTextOut({roundToInt32(o.x, "A text position"), roundToInt32(o.y, "A text position")}, text,
                           dx, exScale_, eyScale_);
        if (rotated) {
            writer_.selectObject(font_ ? font_ : emf::kStockSystemFont);
            writer_.deleteObject(rotated);
        }
    }

    // A marker run as the texts it stands for.
    void play(const rec::Marks& c) {
        for (const PagePoint& p : c.points)
            for (char ch : c.text) play(rec::Text{p, 4, 0.0, std::string(1, ch)});
    }

    void play(const rec::Fill& c) {
        if (c.outline.size() < 3) return;
        const std::uint32_t brush = writer_.createSolidBrush(c.colour);
        writer_.selectObject(brush);
        writer_.selectObject(emf::kStockNullPen);
        writer_.polygon(c.outline);
        writer_.selectObject(pen_ ? pen_ : emf::kStockBlackPen);
        writer_.selectObject(emf::kStockWhiteBrush);
        writer_.deleteObject(brush);
    }

    const EnhancedMetafile& mf_;
    const TextMetrics& metrics_;
    EmfWriter writer_;
    double xScale_ = 1.0;
    double yScale_ = 1.0;
    float exScale_ = 0.0f;
    float eyScale_ = 0.0f;
    std::uint32_t pen_ = 0;
    std::uint32_t font_ = 0;
    Font currentFont_;
};

}  // namespace

std::vector<std::uint8_t> encodeEnhancedMetafile(const EnhancedMetafile& metafile, const TextMetrics& metrics) {
    return Encoder(metafile, metrics).run();
}

}  // namespace crv::common
