#pragma once
// Flood fill on a raster picture, as the screen picture fills an outline:
// from the seed outward to the pixels of the boundary colour, through the
// four neighbours of each pixel only, so a one-pixel diagonal line (drawn
// without smoothing) is a wall the fill cannot slip through. The fill also
// never leaves the limit rectangle.
#include <cstdint>

namespace crv::common {

struct PixelRect {
    int left = 0;
    int top = 0;
    int right = -1;   // inclusive
    int bottom = -1;  // inclusive
};

// pixels: 32-bit pixels of a width x height picture, stride pixels per row;
// colours compared on their low 24 bits. Returns the number of pixels filled.
long long floodFill(std::uint32_t* pixels, int width, int height, int stride, int x, int y,
                    std::uint32_t boundary, std::uint32_t fill, PixelRect limit);

}  // namespace crv::common
