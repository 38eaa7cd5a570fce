#pragma once
// The flat-earth position model every part of the system shares: 60 nmi per
// degree of latitude, longitudes scaled by the cosine of the mean latitude,
// longitude positive west, bearings clockwise from true north.
#include <cstdint>

#include "crv/formats/numbers.h"

namespace crv::engine {

inline constexpr double kDegToRad = 0.0174532925199433;
inline constexpr double kRadToDeg = 57.2957795131;

struct LatLon {
    double latitude;
    double longitude;
};
struct DistBearing {
    double distanceNmi;
    double bearingDeg;
};

// The point at a distance and bearing from (latitude, longitude).
LatLon DistLL(double distanceNmi, double bearingDeg, double latitude, double longitude);
// Distance and bearing from point 1 to point 2. The longitude difference is
// taken the short way round, so points either side of 180 degrees are close.
DistBearing LLDist(double latitude1, double longitude1, double latitude2, double longitude2);

// Degrees, minutes and seconds to decimal degrees: the formats layer's, the
// one conversion of every position field the files hold.
using crv::formats::DMS2Deg;

// The angle moved into [low, high) by whole ranges. Total: huge angles are
// reduced arithmetically, and a non-finite angle gives low.
double WrapAng(double angle, double low, double high);

double Hypot(double a, double b);
float Hypot(float a, float b);

}  // namespace crv::engine
