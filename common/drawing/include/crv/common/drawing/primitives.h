#pragma once
// Lines and generic shapes in world coordinates. Every point goes through the
// plot's world transform; every operation leaves the current position at the
// last point it drew.
#include "crv/common/drawing/draw_context.h"

#include <optional>

namespace crv::common {

void PlotLine(DrawContext& dc, double x1, double y1, double x2, double y2);

struct Segment {
    double x1, y1, x2, y2;
};
// The part of the segment inside the window (edges included), or nothing.
// A window given with xmin above xmax (or ymin above ymax) is read with its
// bounds swapped.
std::optional<Segment> clipSegment(Segment s, double xmin, double xmax, double ymin, double ymax);

// Draws the part of the segment inside the window; nothing when no part is.
void PlotClippedLine(DrawContext& dc, double x1, double y1, double x2, double y2, double xmin,
                     double xmax, double ymin, double ymax);

// Outline through (x1, y1), (x2, y1), (x2, y2), (x1, y2) and back.
void PlotBox(DrawContext& dc, double x1, double y1, double x2, double y2);

// A 314-point polygon from angle 0 in steps of 0.02 radian, closed at its
// start point (xc + r, yc).
void PlotCircle(DrawContext& dc, double xc, double yc, double r);

// An ellipse with semi-axis a along the direction angleDeg from +y towards +x
// and semi-axis b across it, as two halves of 200 segments from the same end
// of the long axis. Throws DrawingError for a zero a.
void PlotEllipse(DrawContext& dc, double xc, double yc, double a, double b, double angleDeg);

inline constexpr double kDegToRad = 0.0174532925199433;
inline constexpr double kFeetPerNmi = 6076.115;

}  // namespace crv::common
