#pragma once
// One drawing target of a plot (the screen picture, or the metafile): its
// selected pen, font and text colour, its current position and the recording
// of what was drawn. It stands where a device context stood: every primitive
// takes the context first and is called once per target.
#include "crv/common/drawing/fill_outline.h"
#include "crv/common/drawing/recording.h"

#include <string>
#include <string_view>
#include <vector>

namespace crv::common {

// Maps world coordinates onto the logical page; set by SetWorldWindow.
// 32-bit fields, as the panel and axis records that feed it.
struct WorldTransform {
    float scaleX = 0.0f;
    float scaleY = 0.0f;
    float originX = 0.0f;
    float originY = 0.0f;
    bool isSet = false;
};

class DrawContext {
public:
    // world belongs to the plot and outlives the context.
    DrawContext(const WorldTransform& world, Font startFont);
    DrawContext(const DrawContext&) = delete;
    DrawContext& operator=(const DrawContext&) = delete;

    const WorldTransform& world() const { return world_; }
    // The page point of a world point: round((x - originX) * scaleX) and the
    // same in y, halves to even. Throws DrawingError before the first world
    // window or when the point falls outside the page's integer range.
    PagePoint toPage(double x, double y) const;

    const Pen& pen() const { return pen_; }
    const Font& font() const { return font_; }
    Colour textColour() const { return textColour_; }
    PagePoint current() const { return current_; }
    const Recording& recording() const { return recording_; }
    Recording takeRecording() { return std::move(recording_); }

    void selectPen(const Pen& pen);
    void selectFont(const Font& font);
    void setTextColour(Colour colour);
    void moveTo(PagePoint p);
    void lineTo(PagePoint p);
    void text(PagePoint anchor, int align, double angleDeg, std::string text);
    // A point marker; consecutive markers of the same text join one run.
    void mark(PagePoint at, std::string_view text);
    // Fills the outline in the colour that encloses the seed.
    void fill(Colour colour, PagePoint seed);

private:
    const WorldTransform& world_;
    Pen pen_;
    Font font_;
    Colour textColour_ = kBlack;
    PagePoint current_;
    Recording recording_;
    std::vector<Stroke> strokes_;
    bool strokeOpen_ = false;
};

void PlotMoveTo(DrawContext& dc, double x, double y);
void PlotLineTo(DrawContext& dc, double x, double y);

// Writes text at a world point in the current font. align 0..8 as in
// rec::Text; angle in degrees, counter-clockwise. A turned text turns its
// anchor offset with it.
void PlotText(DrawContext& dc, const std::string& text, double x, double y, int align, double angleDeg);

// A point marker at a world point: every character of text centred on it,
// overstruck, in the current font and text colour. Drawn as PlotText with
// centre-middle alignment would draw it, one character after the other.
void PlotMark(DrawContext& dc, std::string_view text, double x, double y);

// A font of character height heightIn sheet inches and weight 400; face ""
// keeps the current face. Every other attribute carries over.
void SetPlotFont(DrawContext& dc, double heightIn, const std::string& face);

// Replace the pen's colour or width (logical units); the other carries over.
void SetPenColor(DrawContext& dc, Colour colour);
void SetPenWidth(DrawContext& dc, int width);

// The colour of text drawn afterwards (black at the start of a plot).
void SetTextColor(DrawContext& dc, Colour colour);

// Fills the area around the world point that is bounded by the outline drawn
// in the same colour.
void FillArea(DrawContext& dc, Colour colour, double x, double y);

}  // namespace crv::common
