#pragma once
// The logical page every plot is drawn on: 7500 x 10000 units, origin at the
// top-left corner, x to the right, y downward; it stands for a drawable sheet
// of 7.5 x 10 inches, so 1000 units are one inch of the sheet.
#include <cstdint>

namespace crv::common {

inline constexpr int kPageWidth = 7500;
inline constexpr int kPageHeight = 10000;
inline constexpr double kUnitsPerInch = 1000.0;

// xmin need not be below xmax, nor ymin below ymax: a rectangle with ymin above
// ymax makes world y grow upward on the page. 32-bit fields, as plot modules
// and stored panel records hold them.
struct WorldRect {
    float xmin = 0.0f;
    float xmax = 0.0f;
    float ymin = 0.0f;
    float ymax = 0.0f;
};

struct PagePoint {
    std::int32_t x = 0;
    std::int32_t y = 0;
    friend bool operator==(const PagePoint&, const PagePoint&) = default;
};

// Nearest whole number, a half going to the even neighbour (2.5 -> 2, 3.5 -> 4).
// Throws DrawingError when the value is not finite or does not fit 32 bits;
// what names the quantity in the message.
std::int32_t roundToInt32(double value, const char* what);

// True when the point lies in r, edges included.
bool PointInRect(double x, double y, const WorldRect& r);

}  // namespace crv::common
