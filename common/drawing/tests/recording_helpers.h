#pragma once
// Reads recordings back for the tests: the page points a context drew, its
// texts and its pens.
#include "crv/common/drawing/plot.h"

#include <memory>
#include <vector>

namespace crv::common::test {

inline std::unique_ptr<Plot> plotWithWindow(WorldRect w, PlotSurface s = {750, 1000}, bool meta = false) {
    auto plot = BeginPlot(s, meta, meta ? std::string("Corvane\0t\0\0", 11) : std::string());
    SetWorldWindow(*plot, w);
    return plot;
}

// The identity-like window: world x 0..7500 and y 0..10000 on the page.
inline constexpr WorldRect kPageWindow{0.0f, 7500.0f, 0.0f, 10000.0f};

template <class T>
std::vector<T> commandsOf(const DrawContext& dc) {
    std::vector<T> out;
    for (const Command& c : dc.recording().commands) {
        if (const T* t = std::get_if<T>(&c)) out.push_back(*t);
    }
    return out;
}

// Every point drawn: the first point of each path and every point lined to.
inline std::vector<PagePoint> pathPoints(const DrawContext& dc) {
    std::vector<PagePoint> out;
    for (const Command& c : dc.recording().commands) {
        if (const auto* m = std::get_if<rec::MoveTo>(&c)) out.push_back(m->to);
        if (const auto* l = std::get_if<rec::LineTo>(&c)) out.push_back(l->to);
    }
    return out;
}

inline std::size_t drawnCount(const DrawContext& dc) {
    std::size_t n = 0;
    for (const Command& c : dc.recording().commands) {
        if (std::holds_alternative<rec::LineTo>(c) || std::holds_alternative<rec::Text>(c) ||
            std::holds_alternative<rec::Fill>(c)) {
            ++n;
        }
    }
    return n;
}

}  // namespace crv::common::test
