#include "crv/common/drawing/fill_outline.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <set>
#include <utility>

namespace crv::common {
namespace {

using Loop = std::vector<PagePoint>;
using Edge = std::pair<std::pair<int, int>, std::pair<int, int>>;

Edge edgeOf(PagePoint a, PagePoint b) {
    auto pa = std::make_pair(a.x, a.y);
    auto pb = std::make_pair(b.x, b.y);
    return pa < pb ? Edge{pa, pb} : Edge{pb, pa};
}

// Splits a polyline into the loops it closes; what is left open is returned
// in `open`.
void splitLoops(const std::vector<PagePoint>& points, std::vector<Loop>& loops, Loop& open) {
    open.clear();
    for (const PagePoint& p : points) {
        if (!open.empty() && open.back() == p) continue;
        std::size_t seen = open.size();
        for (std::size_t i = 0; i < open.size(); ++i) {
            if (open[i] == p) {
                seen = i;
                break;
            }
        }
        if (seen < open.size()) {
            Loop loop(open.begin() + static_cast<std::ptrdiff_t>(seen), open.end());
            if (loop.size() >= 3) loops.push_back(std::move(loop));
            open.resize(seen + 1);
        } else {
            open.push_back(p);
        }
    }
}

// Joins open chains that share end points into longer chains; chains that
// come round to their own start become loops.
void joinChains(std::vector<Loop>& chains, std::vector<Loop>& loops, const std::set<Edge>& drawn) {
    bool joined = true;
    while (joined) {
        joined = false;
        for (std::size_t a = 0; a < chains.size() && !joined; ++a) {
            for (std::size_t b = 0; b < chains.size() && !joined; ++b) {
                if (a == b) continue;
                Loop& ca = chains[a];
                Loop cb = chains[b];
                if (ca.back() == cb.front()) {
                    ca.insert(ca.end(), cb.begin() + 1, cb.end());
                } else if (ca.back() == cb.back()) {
                    ca.insert(ca.end(), cb.rbegin() + 1, cb.rend());
                } else {
                    continue;
                }
                chains.erase(chains.begin() + static_cast<std::ptrdiff_t>(b));
                joined = true;
            }
        }
    }
    // A chain closes on itself, or through a segment drawn elsewhere (the
    // shaft a half-filled arrow head shares with its other half). A chain
    // that stays open bounds nothing.
    for (Loop& c : chains) {
        if (c.size() >= 2 && c.front() == c.back()) c.pop_back();
        if (c.size() >= 3 && drawn.count(edgeOf(c.back(), c.front()))) loops.push_back(std::move(c));
    }
}

bool onSegment(PagePoint p, PagePoint a, PagePoint b) {
    const long long cross = static_cast<long long>(b.x - a.x) * (p.y - a.y) -
                            static_cast<long long>(b.y - a.y) * (p.x - a.x);
    if (cross != 0) return false;
    return std::min(a.x, b.x) <= p.x && p.x <= std::max(a.x, b.x) && std::min(a.y, b.y) <= p.y &&
           p.y <= std::max(a.y, b.y);
}

bool encloses(const Loop& loop, PagePoint p) {
    bool inside = false;
    const std::size_t n = loop.size();
    for (std::size_t i = 0, j = n - 1; i < n; j = i++) {
        const PagePoint a = loop[i];
        const PagePoint b = loop[j];
        if (onSegment(p, a, b)) return true;
        if ((a.y > p.y) != (b.y > p.y)) {
            const double xCross = a.x + static_cast<double>(p.y - a.y) * (b.x - a.x) / (b.y - a.y);
            if (p.x < xCross) inside = !inside;
        }
    }
    return inside;
}

double area(const Loop& loop) {
    double sum = 0.0;
    const std::size_t n = loop.size();
    for (std::size_t i = 0, j = n - 1; i < n; j = i++) {
        sum += static_cast<double>(loop[j].x) * loop[i].y - static_cast<double>(loop[i].x) * loop[j].y;
    }
    return std::fabs(sum) / 2.0;
}

}  // namespace

std::vector<PagePoint> findEnclosingOutline(const std::vector<Stroke>& strokes, Colour colour,
                                            PagePoint seed) {
    std::vector<Loop> loops;
    std::vector<Loop> chains;
    Loop open;
    std::set<Edge> drawn;
    for (const Stroke& s : strokes) {
        if (s.colour != colour || s.points.size() < 2) continue;
        for (std::size_t i = 1; i < s.points.size(); ++i) drawn.insert(edgeOf(s.points[i - 1], s.points[i]));
        splitLoops(s.points, loops, open);
        if (open.size() >= 2) chains.push_back(open);
    }
    joinChains(chains, loops, drawn);

    const Loop* best = nullptr;
    double bestArea = std::numeric_limits<double>::infinity();
    for (const Loop& loop : loops) {
        const double a = area(loop);
        if (a > 0.0 && a < bestArea && encloses(loop, seed)) {
            best = &loop;
            bestArea = a;
        }
    }
    return best ? *best : Loop{};
}

}  // namespace crv::common
