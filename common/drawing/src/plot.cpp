#include "crv/common/drawing/plot.h"

#include "crv/common/drawing/drawing_error.h"

#include <cmath>
#include <utility>

namespace crv::common {

std::string textFontFaceFor(int heightPx) {
    const std::int32_t standardPx = roundToInt32(0.168 * 1000.0 * heightPx / 10000.0, "The text height");
    return standardPx < 10 ? "Small Fonts" : "Arial";
}

MetafileFrame metafileFrameFor(PlotSurface surface) {
    if (surface.widthPx <= 0 || surface.heightPx <= 0) {
        throw DrawingError("The plot surface has no width or no height.");
    }
    MetafileFrame f;
    // Computed wide: a very wide picture must not overflow into a bad frame.
    f.rightHmm = roundToInt32(25000.0 * surface.widthPx / surface.heightPx, "The metafile frame");
    const float mmX = static_cast<float>(kReferenceWidthMm) / static_cast<float>(kReferenceWidthPx);
    const float mmY = static_cast<float>(kReferenceHeightMm) / static_cast<float>(kReferenceHeightPx);
    f.viewportWidth = roundToInt32(f.rightHmm / (static_cast<double>(mmX) * 100.0), "The metafile width");
    f.viewportHeight = roundToInt32(f.bottomHmm / (static_cast<double>(mmY) * 100.0), "The metafile height");
    if (f.viewportWidth <= 0) throw DrawingError("The plot surface is too narrow for a metafile.");
    return f;
}

std::unique_ptr<Plot> BeginPlot(PlotSurface surface, bool withMetafile, std::string description) {
    if (surface.widthPx <= 0 || surface.heightPx <= 0) {
        throw DrawingError("The plot surface has no width or no height.");
    }
    std::unique_ptr<Plot> plot(new Plot());
    plot->surface_ = surface;
    plot->TextFontFace = textFontFaceFor(surface.heightPx);
    Font start;
    start.face = plot->PlotFontFace;
    start.height = -150;
    start.weight = 400;
    if (withMetafile) {
        plot->frame_ = metafileFrameFor(surface);
        plot->description_ = std::move(description);
        plot->metafile_ = std::make_unique<DrawContext>(plot->world_, start);
    }
    plot->picture_ = std::make_unique<DrawContext>(plot->world_, start);
    return plot;
}

PlotOutput EndPlot(std::unique_ptr<Plot> plot) {
    PlotOutput out;
    if (!plot) return out;
    out.surface = plot->surface_;
    out.picture = plot->picture_->takeRecording();
    if (plot->metafile_) {
        out.metafile = EnhancedMetafile{plot->metafile_->takeRecording(), std::move(plot->description_),
                                        *plot->frame_};
    }
    return out;
}

void SetWorldWindow(Plot& plot, const WorldRect& w) {
    const double width = static_cast<double>(w.xmax) - w.xmin;
    const double height = static_cast<double>(w.ymax) - w.ymin;
    const float scaleX = static_cast<float>(kPageWidth / width);
    const float scaleY = static_cast<float>(kPageHeight / height);
    if (width == 0.0 || height == 0.0 || !std::isfinite(scaleX) || !std::isfinite(scaleY) ||
        scaleX == 0.0f || scaleY == 0.0f || !std::isfinite(w.xmin) || !std::isfinite(w.ymin)) {
        throw DrawingError("The world window has no width or no height.");
    }
    plot.world_ = WorldTransform{scaleX, scaleY, w.xmin, w.ymin, true};
}

}  // namespace crv::common
