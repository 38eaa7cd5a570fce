#pragma once
// Finds the closed outline a fill is meant for. Plots fill an area by drawing
// its outline in the fill colour and then filling from a point inside it; on
// vector targets there are no pixels to flood, so the outline itself is
// found: the smallest closed loop of strokes in the fill colour that encloses
// the seed point.
#include "crv/common/drawing/recording.h"

#include <vector>

namespace crv::common {

// A connected run of line segments drawn in one pen colour.
struct Stroke {
    Colour colour = kBlack;
    std::vector<PagePoint> points;
};

// Loops are taken from each stroke where it returns to a point it passed,
// from strokes joined end to end, and from what remains of a stroke when a
// segment drawn in the colour already joins its two ends. Returns an empty outline when no
// loop encloses the seed (a point on the outline counts as enclosed).
std::vector<PagePoint> findEnclosingOutline(const std::vector<Stroke>& strokes, Colour colour,
                                            PagePoint seed);

}  // namespace crv::common
