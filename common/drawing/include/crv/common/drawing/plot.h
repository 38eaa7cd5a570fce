#pragma once
// One plot: the page frame, the world transform, the font faces and the one
// or two drawing targets (screen picture, and the metafile when asked for).
// Each plot owns its own state, so two plots can be drawn side by side, and
// everything it holds is released with it, whether the drawing finished or
// a DrawingError cut it short.
#include "crv/common/drawing/draw_context.h"
#include "crv/common/drawing/page.h"
#include "crv/common/drawing/recording.h"

#include <memory>
#include <optional>
#include <string>

namespace crv::common {

// The picture the plot is shown in, in pixels.
struct PlotSurface {
    int widthPx = 0;
    int heightPx = 0;
};

// The metafile's reference device: a 96 dpi screen of fixed size, so a saved
// metafile does not depend on the screen of the machine that wrote it.
inline constexpr int kReferenceWidthPx = 1920;
inline constexpr int kReferenceHeightPx = 1440;
inline constexpr int kReferenceWidthMm = 508;
inline constexpr int kReferenceHeightMm = 381;

// Frame of the metafile in 0.01 mm (left and top 0): 250 mm tall with the
// surface's aspect ratio; the viewport extent is the frame in reference pixels.
struct MetafileFrame {
    std::int32_t rightHmm = 0;
    std::int32_t bottomHmm = 25000;
    std::int32_t viewportWidth = 0;
    std::int32_t viewportHeight = 0;
};

// A finished metafile: what the plot window saves, copies and prints.
struct EnhancedMetafile {
    Recording recording;
    std::string description;  // application NUL title NUL NUL
    MetafileFrame frame;
};

// What EndPlot hands back: the screen picture's recording and, when one was
// asked for, the metafile. Both belong to the caller.
struct PlotOutput {
    PlotSurface surface;
    Recording picture;
    std::optional<EnhancedMetafile> metafile;
};

class Plot {
public:
    Plot(const Plot&) = delete;
    Plot& operator=(const Plot&) = delete;

    // The drawable sheet in inches from the sheet's left and top edges.
    WorldRect PageFrame{0.5f, 8.0f, 0.5f, 10.5f};
    // Face of titles and labels.
    std::string PlotFontFace = "Arial";
    // Face for small text: "Small Fonts" when the standard 0.168 inch text
    // would be under 10 pixels high on the surface.
    std::string TextFontFace = "Arial";

    PlotSurface surface() const { return surface_; }
    DrawContext& picture() { return *picture_; }
    // nullptr when the plot was begun without a metafile.
    DrawContext* metafile() { return metafile_.get(); }
    const WorldTransform& world() const { return world_; }

private:
    friend std::unique_ptr<Plot> BeginPlot(PlotSurface, bool, std::string);
    friend void SetWorldWindow(Plot&, const WorldRect&);
    friend PlotOutput EndPlot(std::unique_ptr<Plot>);
    Plot() = default;

    PlotSurface surface_;
    WorldTransform world_;
    std::unique_ptr<DrawContext> picture_;
    std::unique_ptr<DrawContext> metafile_;
    std::optional<MetafileFrame> frame_;
    std::string description_;
};

// Opens a plot on a surface of that pixel size with the plot font (0.150 inch,
// weight 400), a solid black pen of width 6 and transparent text, and, when
// withMetafile, a metafile with the same set-up and the description. Throws
// DrawingError for a surface without width or height.
std::unique_ptr<Plot> BeginPlot(PlotSurface surface, bool withMetafile, std::string description);

// Closes the plot and hands back its recordings.
PlotOutput EndPlot(std::unique_ptr<Plot> plot);

// Maps w.xmin onto the page's left edge, w.xmax onto its right edge, w.ymin
// onto the top and w.ymax onto the bottom. Throws DrawingError for a window
// of no width or height; the previous transform then stays.
void SetWorldWindow(Plot& plot, const WorldRect& w);

// The metafile frame for a surface; exposed for the tests.
MetafileFrame metafileFrameFor(PlotSurface surface);
// The face for small text on a surface of that pixel height.
std::string textFontFaceFor(int heightPx);

}  // namespace crv::common
