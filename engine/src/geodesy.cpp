#include "geodesy.h"

#include <cmath>
#include <cstdlib>

namespace crv::engine {

LatLon DistLL(double distanceNmi, double bearingDeg, double latitude, double longitude) {
    const double theta = bearingDeg * kDegToRad;
    const double delta = distanceNmi / 60.0;
    const double newLatitude = latitude + delta * std::cos(theta);
    const double newLongitude =
        longitude - delta * std::sin(theta) / std::cos(((latitude + newLatitude) / 2.0) * kDegToRad);
    return {newLatitude, newLongitude};
}

DistBearing LLDist(double latitude1, double longitude1, double latitude2, double longitude2) {
    // Across the antimeridian the raw difference is nearly 360 degrees.
    const double dLon = WrapAng(longitude1 - longitude2, -180.0, 180.0);
    const double x = dLon * std::cos(((latitude1 + latitude2) / 2.0) * kDegToRad);
    const double y = latitude2 - latitude1;
    const double distance = 60.0 * std::sqrt(x * x + y * y);
    if (distance < 0.00001) return {0.00001, 0.0};
    double bearing = std::atan2(x, y) * kRadToDeg;
    if (bearing < 0) bearing += 360.0;
    return {distance, bearing};
}

double WrapAng(double angle, double low, double high) {
    const double range = high - low;
    if (!std::isfinite(angle) || !(range > 0)) return low;
    // Ordinary angles take the stepwise path so their results stay exactly
    // those of repeated subtraction; only far-out angles are reduced first.
    if (std::fabs(angle - low) > 64.0 * range) {
        angle = low + std::fmod(angle - low, range);
    }
    while (angle >= high) angle -= range;
    while (angle < low) angle += range;
    // fmod of a tiny negative value can round up to exactly high.
    if (angle >= high) angle = low;
    return angle;
}

double Hypot(double a, double b) { return std::sqrt(a * a + b * b); }
float Hypot(float a, float b) { return std::sqrt(a * a + b * b); }

}  // namespace crv::engine
