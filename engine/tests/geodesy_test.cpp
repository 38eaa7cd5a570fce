#include "geodesy.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using namespace crv::engine;

TEST(LLDist, Cases) {
    struct Case {
        double lat1, lon1, lat2, lon2, distance, bearing;
    } cases[] = {
        {38.0, 77.0, 38.0, 77.0, 0.00001, 0.0},                   // a point to itself
        {40.0, 75.0, 40.0, 74.0, 45.9626665871, 90.0},            // east: longitude is positive west
        {40.0, 75.0, 41.0, 75.0, 60.0, 0.0},                      // north
        {40.0, 75.0, 39.0, 75.0, 60.0, 180.0},                    // south
        {0.0, 10.0, 0.0, 11.0, 60.0, 270.0},                      // west
        {0.0, 179.5, 0.0, -179.5, 60.0, 270.0},                   // across 180 degrees: the short way
        {0.0, -179.5, 0.0, 179.5, 60.0, 90.0},
    };
    for (const auto& c : cases) {
        const DistBearing d = LLDist(c.lat1, c.lon1, c.lat2, c.lon2);
        EXPECT_NEAR(d.distanceNmi, c.distance, 1e-6) << c.lat1 << "," << c.lon1 << " -> " << c.lat2 << "," << c.lon2;
        EXPECT_NEAR(d.bearingDeg, c.bearing, 1e-9);
    }
}

TEST(DistLL, MovesAlongTheBearing) {
    const LatLon north = DistLL(60, 0, 38.5, 77.25);
    EXPECT_NEAR(north.latitude, 39.5, 1e-12);
    EXPECT_DOUBLE_EQ(north.longitude, 77.25);

    // 30 nmi due east at the equator: half a degree, westward longitude shrinks.
    const LatLon east = DistLL(30, 90, 0, 10);
    EXPECT_NEAR(east.latitude, 0, 1e-12);
    EXPECT_NEAR(east.longitude, 9.5, 1e-9);

    // Round trip through both directions.
    const LatLon p = DistLL(25, 137, 41.2, 88.1);
    const DistBearing back = LLDist(41.2, 88.1, p.latitude, p.longitude);
    EXPECT_NEAR(back.distanceNmi, 25, 1e-3);
    EXPECT_NEAR(back.bearingDeg, 137, 1e-2);
}

TEST(DMS2Deg, SignComesFromTheDegrees) {
    struct Case {
        int d, m, s;
        bool negativeText;
        double expected;
    } cases[] = {
        {0, 30, 0, false, 0.5},       // whatever the hemisphere
        {-10, 30, 0, false, -10.5},
        {10, -30, 0, false, 10.5},    // signs of minutes and seconds ignored
        {38, 50, 24, false, 38.84},
        {0, 30, 0, true, -0.5},       // "-0" in the degrees text keeps the south/east sign
        {0, 0, 0, true, 0.0},
    };
    for (const auto& c : cases) EXPECT_NEAR(DMS2Deg(c.d, c.m, c.s, c.negativeText), c.expected, 1e-12);
}

TEST(WrapAng, OrdinaryAndExtremeAngles) {
    struct Case {
        double angle, low, high, expected;
    } cases[] = {
        {725, 0, 360, 5},    {-190, -180, 180, 170}, {360, 0, 360, 0},   {0, 0, 360, 0},
        {-0.5, 0, 360, 359.5}, {180, -180, 180, -180}, {1e12 + 90, 0, 360, std::fmod(1e12 + 90, 360.0)},
        {-1e15, 0, 360, 360 - std::fmod(1e15, 360.0)},
    };
    for (const auto& c : cases) EXPECT_NEAR(WrapAng(c.angle, c.low, c.high), c.expected, 1e-6) << c.angle;

    // Non-finite angles end and land inside the range.
    EXPECT_EQ(WrapAng(std::numeric_limits<double>::infinity(), 0, 360), 0);
    EXPECT_EQ(WrapAng(std::nan(""), -180, 180), -180);
    const double huge = WrapAng(1e300, 0, 360);
    EXPECT_GE(huge, 0);
    EXPECT_LT(huge, 360);
}

TEST(Hypot, BothPrecisions) {
    EXPECT_DOUBLE_EQ(Hypot(3.0, 4.0), 5.0);
    EXPECT_FLOAT_EQ(Hypot(3.0f, 4.0f), 5.0f);
}
