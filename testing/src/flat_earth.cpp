#include "crv/testing/flat_earth.h"

#include <cmath>

namespace crv::testing {

void flatEarthDist(float lat1, float lon1, float lat2, float lon2, float* distanceNmi, float* azimuth) {
    constexpr double rad = 3.14159265358979 / 180.0;
    const double x = (lon1 - lon2) * std::cos((lat1 + lat2) / 2.0 * rad);
    const double y = lat2 - lat1;
    double d = 60.0 * std::sqrt(x * x + y * y);
    double az = std::atan2(x, y) / rad;
    if (az < 0) az += 360.0;
    // As the engine: two points at one place are a hair apart, due north.
    if (d < 1e-5) {
        d = 1e-5;
        az = 0;
    }
    *distanceNmi = static_cast<float>(d);
    *azimuth = static_cast<float>(az);
}

}  // namespace crv::testing
