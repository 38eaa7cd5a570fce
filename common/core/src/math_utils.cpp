#include "crv/common/math_utils.h"

#include <cmath>

namespace crv::common {

double MaxOf(double a, double b) { return a >= b ? a : b; }
double MinOf(double a, double b) { return a <= b ? a : b; }

double Atan2(double y, double x) {
    if (x == 0) return y >= 0 ? kPi / 2 : -kPi / 2;
    const double a = std::atan(y / x);
    if (x > 0) return a;
    return y < 0 ? a - kPi : a + kPi;
}

float WrapAngle(float angle, float lo, float hi) {
    if (!std::isfinite(angle)) return angle;
    // Bounds are 0/360 or -180/180 in every caller; absurd bounds are left alone
    // rather than stepped towards for ever.
    if (!std::isfinite(lo) || !std::isfinite(hi) || std::fabs(lo) > 1.0e6f || std::fabs(hi) > 1.0e6f) return angle;
    // Subtracting 360 from a float beyond about 1e10 leaves it unchanged, so
    // the stepping loops alone would never end: reduce far angles exactly first.
    if (std::fabs(angle) > 1.0e6f) angle = std::fmod(angle, 360.0f);
    while (angle >= hi) angle -= 360.0f;
    while (angle < lo) angle += 360.0f;
    return angle;
}

void XYToRangeBearing(float x, float y, float& range, float& bearing) {
    range = std::sqrt(x * x + y * y);
    bearing = WrapAngle(static_cast<float>(90.0 - Atan2(y, x) * kDegreesPerRadian), 0.0f, 360.0f);
}

}  // namespace crv::common
