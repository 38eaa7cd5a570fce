#include "crv/common/drawing/primitives.h"

#include "crv/common/drawing/drawing_error.h"

#include <algorithm>
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

// One end of the clipped segment: where along the segment (0 the first end,
// 1 the second) it lies, and the window edge it was moved onto, if any.
struct ClipEnd {
    double t;
    int edge;  // -1 none, 0 xmin, 1 xmax, 2 ymin, 3 ymax
};

// The point at the end's place. On an edge that coordinate is the edge
// itself, the other one follows the segment's slope from its first end, so
// a clipped end lies exactly on the window's border.
void placeEnd(const Segment& s, const ClipEnd& e, const double edges[4], double& x, double& y) {
    const double dx = s.x2 - s.x1;
    const double dy = s.y2 - s.y1;
    switch (e.edge) {
        case 0:
        case 1:
            x = edges[e.edge];
            y = s.y1 + dy * (x - s.x1) / dx;
            break;
        case 2:
        case 3:
            y = edges[e.edge];
            x = s.x1 + dx * (y - s.y1) / dy;
            break;
        default:
            x = s.x1 + e.t * dx;
            y = s.y1 + e.t * dy;
            break;
    }
}

}  // namespace

// Liang-Barsky: each of the four edges narrows the segment's parameter range
// [t0, t1] once; what is left after the four is the part inside. One pass
// decides every segment, including one that passes a corner outside the
// window, and a segment with any part inside is never dropped.
std::optional<Segment> clipSegment(Segment s, double xmin, double xmax, double ymin, double ymax) {
    if (xmin > xmax) std::swap(xmin, xmax);
    if (ymin > ymax) std::swap(ymin, ymax);
    if (std::isnan(s.x1) || std::isnan(s.y1) || std::isnan(s.x2) || std::isnan(s.y2)) return std::nullopt;
    // An end at infinity is taken as very far away in its direction, so the
    // segment still reaches the window's edge.
    for (double* v : {&s.x1, &s.y1, &s.x2, &s.y2}) *v = std::clamp(*v, -1e300, 1e300);
    const double dx = s.x2 - s.x1;
    const double dy = s.y2 - s.y1;
    const double edges[4] = {xmin, xmax, ymin, ymax};
    // Moving along the segment, p < 0 enters through the edge and p > 0
    // leaves through it; q is how far inside that edge the first end lies.
    const double p[4] = {-dx, dx, -dy, dy};
    const double q[4] = {s.x1 - xmin, xmax - s.x1, s.y1 - ymin, ymax - s.y1};
    ClipEnd first{0.0, -1};
    ClipEnd second{1.0, -1};
    for (int k = 0; k < 4; ++k) {
        if (p[k] == 0.0) {
            if (q[k] < 0.0) return std::nullopt;  // parallel to the edge, outside it
            continue;
        }
        const double t = q[k] / p[k];
        if (p[k] < 0.0) {
            if (t > second.t) return std::nullopt;
            if (t > first.t) first = {t, k};
        } else {
            if (t < first.t) return std::nullopt;
            if (t < second.t) second = {t, k};
        }
    }
    Segment out = s;
    if (first.edge >= 0) placeEnd(s, first, edges, out.x1, out.y1);
    if (second.edge >= 0) placeEnd(s, second, edges, out.x2, out.y2);
    return out;
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
