#include "crv/common/drawing/draw_context.h"

#include "crv/common/drawing/drawing_error.h"

#include <cmath>
#include <utility>

namespace crv::common {

DrawContext::DrawContext(const WorldTransform& world, Font startFont) : world_(world), font_(std::move(startFont)) {
    recording_.commands.emplace_back(rec::SelectFont{font_});
    recording_.commands.emplace_back(rec::SelectPen{pen_});
}

PagePoint DrawContext::toPage(double x, double y) const {
    if (!world_.isSet) throw DrawingError("No world window has been set for the plot.");
    return PagePoint{roundToInt32((x - world_.originX) * static_cast<double>(world_.scaleX), "A page x coordinate"),
                     roundToInt32((y - world_.originY) * static_cast<double>(world_.scaleY), "A page y coordinate")};
}

void DrawContext::selectPen(const Pen& pen) {
    pen_ = pen;
    recording_.commands.emplace_back(rec::SelectPen{pen});
}

void DrawContext::selectFont(const Font& font) {
    font_ = font;
    recording_.commands.emplace_back(rec::SelectFont{font});
}

void DrawContext::setTextColour(Colour colour) {
    textColour_ = colour;
    recording_.commands.emplace_back(rec::SetTextColour{colour});
}

void DrawContext::moveTo(PagePoint p) {
    current_ = p;
    strokeOpen_ = false;
    recording_.commands.emplace_back(rec::MoveTo{p});
}

void DrawContext::lineTo(PagePoint p) {
    // A pen change in mid-path starts a new stroke at the current position:
    // only strokes of the fill colour bound a fill.
    if (!strokeOpen_ || strokes_.back().colour != pen_.colour) {
        strokes_.push_back(Stroke{pen_.colour, {current_}});
        strokeOpen_ = true;
    }
    strokes_.back().points.push_back(p);
    current_ = p;
    recording_.commands.emplace_back(rec::LineTo{p});
}

void DrawContext::text(PagePoint anchor, int align, double angleDeg, std::string text) {
    recording_.commands.emplace_back(rec::Text{anchor, align, angleDeg, std::move(text)});
}

void DrawContext::mark(PagePoint at, std::string_view text) {
    if (!recording_.commands.empty()) {
        if (auto* run = std::get_if<rec::Marks>(&recording_.commands.back()); run && run->text == text) {
            run->points.push_back(at);
            return;
        }
    }
    recording_.commands.emplace_back(rec::Marks{std::string(text), {at}});
}

void DrawContext::fill(Colour colour, PagePoint seed) {
    recording_.commands.emplace_back(rec::Fill{colour, seed, findEnclosingOutline(strokes_, colour, seed)});
}

void PlotMoveTo(DrawContext& dc, double x, double y) { dc.moveTo(dc.toPage(x, y)); }

void PlotLineTo(DrawContext& dc, double x, double y) { dc.lineTo(dc.toPage(x, y)); }

void PlotText(DrawContext& dc, const std::string& text, double x, double y, int align, double angleDeg) {
    if (align < 0 || align > 8) throw DrawingError("A text alignment must be from 0 to 8.");
    if (!std::isfinite(angleDeg)) throw DrawingError("A text angle is not a number.");
    dc.text(dc.toPage(x, y), align, angleDeg, text);
}

void PlotMark(DrawContext& dc, std::string_view text, double x, double y) { dc.mark(dc.toPage(x, y), text); }

void SetPlotFont(DrawContext& dc, double heightIn, const std::string& face) {
    Font f = dc.font();
    f.height = roundToInt32(-heightIn * kUnitsPerInch, "A font height");
    f.weight = 400;
    if (!face.empty()) f.face = face;
    dc.selectFont(f);
}

void SetPenColor(DrawContext& dc, Colour colour) {
    Pen p = dc.pen();
    p.colour = colour;
    dc.selectPen(p);
}

void SetPenWidth(DrawContext& dc, int width) {
    if (width < 0) throw DrawingError("A pen width must not be negative.");
    Pen p = dc.pen();
    p.width = width;
    dc.selectPen(p);
}

void SetTextColor(DrawContext& dc, Colour colour) { dc.setTextColour(colour); }

void FillArea(DrawContext& dc, Colour colour, double x, double y) { dc.fill(colour, dc.toPage(x, y)); }

}  // namespace crv::common
