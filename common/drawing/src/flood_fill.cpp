#include "crv/common/drawing/flood_fill.h"

#include <algorithm>
#include <utility>
#include <vector>

namespace crv::common {

long long floodFill(std::uint32_t* pixels, int width, int height, int stride, int x, int y,
                    std::uint32_t boundary, std::uint32_t fill, PixelRect limit) {
    limit.left = std::max(limit.left, 0);
    limit.top = std::max(limit.top, 0);
    limit.right = std::min(limit.right, width - 1);
    limit.bottom = std::min(limit.bottom, height - 1);
    if (x < limit.left || x > limit.right || y < limit.top || y > limit.bottom) return 0;
    constexpr std::uint32_t kRgb = 0x00FFFFFF;
    boundary &= kRgb;
    const int w = limit.right - limit.left + 1;
    std::vector<bool> done(static_cast<std::size_t>(w) * (limit.bottom - limit.top + 1), false);
    auto open = [&](int px, int py) {
        const std::size_t i = static_cast<std::size_t>(py - limit.top) * w + (px - limit.left);
        return !done[i] && (pixels[static_cast<std::size_t>(py) * stride + px] & kRgb) != boundary;
    };
    long long count = 0;
    std::vector<std::pair<int, int>> stack{{x, y}};
    while (!stack.empty()) {
        auto [sx, sy] = stack.back();
        stack.pop_back();
        if (!open(sx, sy)) continue;
        int l = sx;
        while (l > limit.left && open(l - 1, sy)) --l;
        int r = sx;
        while (r < limit.right && open(r + 1, sy)) ++r;
        for (int px = l; px <= r; ++px) {
            done[static_cast<std::size_t>(sy - limit.top) * w + (px - limit.left)] = true;
            std::uint32_t& p = pixels[static_cast<std::size_t>(sy) * stride + px];
            p = (p & ~kRgb) | (fill & kRgb);
            ++count;
        }
        for (int ny : {sy - 1, sy + 1}) {
            if (ny < limit.top || ny > limit.bottom) continue;
            bool inRun = false;
            for (int px = l; px <= r; ++px) {
                if (open(px, ny)) {
                    if (!inRun) stack.emplace_back(px, ny);
                    inRun = true;
                } else {
                    inRun = false;
                }
            }
        }
    }
    return count;
}

}  // namespace crv::common
