#include "crv/common/drawing/primitives.h"

#include "crv/common/drawing/drawing_error.h"

#include <cmath>
#include <utility>

namespace crv::common {

void PlotLine(DrawContext& dc, double x1, double y1, double x2, double y2) {
    // Convert both ends before drawing, so a point off the page draws nothing.
    const PagePoint a = dc.toPage(x1, y1);
    const PagePoint b = dc.toPage(x2, y2);
    dc.moveTo(a);
    dc.lineTo(b);
}

namespace {
enum : int { kLeft = 1, kRight = 2, kBelow = 4, kAbove = 8 };

int outcode(double x, double y, double xmin, double xmax, double ymin, double ymax) {
    int code = 0;
    if (x < xmin) code |= kLeft;
    else if (x > xmax) code |= kRight;
    if (y < ymin) code |= kBelow;
    else if (y > ymax) code |= kAbove;
    return code;
}
}  // namespace

std::optional<Segment> clipSegment(Segment s, double xmin, double xmax, double ymin, double ymax) {
    if (xmin > xmax) std::swap(xmin, xmax);
    if (ymin > ymax) std::swap(ymin, ymax);
    if (std::isnan(s.x1) || std::isnan(s.y1) || std::isnan(s.x2) || std::isnan(s.y2)) return std::nullopt;
    int c1 = outcode(s.x1, s.y1, xmin, xmax, ymin, ymax);
    int c2 = outcode(s.x2, s.y2, xmin, xmax, ymin, ymax);
    // Each pass moves one end onto a window edge, so four passes per end at
    // most; the bound only guards against rounding ping-pong.
    for (int pass = 0; pass < 16; ++pass) {
        if ((c1 | c2) == 0) return s;
        if (c1 & c2) return std::nullopt;
        const int c = c1 ? c1 : c2;
        double x = 0.0;
        double y = 0.0;
        const double dx = s.x2 - s.x1;
        const double dy = s.y2 - s.y1;
        if (c & kLeft) {
            x = xmin;
            y = s.y1 + dy * (xmin - s.x1) / dx;
        } else if (c & kRight) {
            x = xmax;
            y = s.y1 + dy * (xmax - s.x1) / dx;
        } else if (c & kBelow) {
            y = ymin;
            x = s.x1 + dx * (ymin - s.y1) / dy;
        } else {
            y = ymax;
            x = s.x1 + dx * (ymax - s.y1) / dy;
        }
        if (c == c1) {
            s.x1 = x;
            s.y1 = y;
            c1 = outcode(x, y, xmin, xmax, ymin, ymax);
        } else {
            s.x2 = x;
            s.y2 = y;
            c2 = outcode(x, y, xmin, xmax, ymin, ymax);
        }
    }
    return std::nullopt;
}

void PlotClippedLine(DrawContext& dc, double x1, double y1, double x2, double y2, double xmin,
                     double xmax, double ymin, double ymax) {
    if (const auto s = clipSegment({x1, y1, x2, y2}, xmin, xmax, ymin, ymax)) {
        PlotLine(dc, s->x1, s->y1, s->x2, s->y2);
    }
}

void PlotBox(DrawContext& dc, double x1, double y1, double x2, double y2) {
    const PagePoint p[] = {dc.toPage(x1, y1), dc.toPage(x2, y1), dc.toPage(x2, y2), dc.toPage(x1, y2)};
    dc.moveTo(p[0]);
    dc.lineTo(p[1]);
    dc.lineTo(p[2]);
    dc.lineTo(p[3]);
    dc.lineTo(p[0]);
}

void PlotCircle(DrawContext& dc, double xc, double yc, double r) {
    PlotMoveTo(dc, xc + r, yc);
    // The angle advances as a 32-bit value, which gives exactly 314 steps up
    // to 6.28; the polygon is then closed at its start.
    for (float t = 0.02f; t <= 6.28f; t += 0.02f) {
        PlotLineTo(dc, xc + r * std::cos(static_cast<double>(t)), yc + r * std::sin(static_cast<double>(t)));
    }
    PlotLineTo(dc, xc + r, yc);
}

void PlotEllipse(DrawContext& dc, double xc, double yc, double a, double b, double angleDeg) {
    if (a == 0.0 || !std::isfinite(a)) throw DrawingError("An ellipse has no long axis.");
    const double step = a / 100.0;
    const double c = std::cos(angleDeg * kDegToRad);
    const double s = std::sin(angleDeg * kDegToRad);
    for (int side = -1; side <= 1; side += 2) {
        PlotMoveTo(dc, xc - a * s, yc - a * c);
        for (int i = 1; i <= 200; ++i) {
            const double u = i * step - a;
            const double w = 1.0 - u * u / (a * a);
            const double v = w > 0.0 ? side * b * std::sqrt(w) : 0.0;
            PlotLineTo(dc, xc + u * s - v * c, yc + u * c + v * s);
        }
    }
}

}  // namespace crv::common
