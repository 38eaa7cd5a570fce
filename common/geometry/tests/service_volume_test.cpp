#include "crv/common/service_volume.h"

#include <gtest/gtest.h>

#include <cmath>

namespace crv::common {
namespace {

TEST(GetServiceVolume, EveryType) {
    struct Case {
        int type;
        double r35, r10, floor, ceiling;
    };
    const Case cases[] = {
        {0, 10, 18, 1000, 4500},  {1, 17, 25, 1000, 6250},  {2, 10, 18, 1000, 4500},
        {3, 17, 25, 1000, 6250},  {4, 10, 18, 0, 10000},    {5, 25, 25, 1000, 12000},
        {6, 40, 40, 1000, 18000}, {7, 40, 40, 1000, 18000}, {8, 0, 0, 0, 0},
        {-1, 0, 0, 0, 0},         {9, 0, 0, 0, 0},          {37, 0, 0, 0, 0},
    };
    for (const Case& c : cases) {
        const ServiceVolumeSize v = GetServiceVolume(c.type);
        EXPECT_EQ(v.radius35Nmi, c.r35) << "type " << c.type;
        EXPECT_EQ(v.radius10Nmi, c.r10) << "type " << c.type;
        EXPECT_EQ(v.floorFt, c.floor) << "type " << c.type;
        EXPECT_EQ(v.ceilingFt, c.ceiling) << "type " << c.type;
    }
}

TEST(MinServiceAltitude, PiecesAndTheirEnds) {
    struct Case {
        int type;
        double d, expected;
    };
    // Worked by hand from the published pieces.
    const Case cases[] = {
        {5, 0.0, 0.0},      {5, 6.4, 0.0},        {5, 6.5, 18.75},     {5, 10.5, 149.375},
        {5, 14.5, 322.5},   {5, 19.5, 602.9},     {5, 25.0, 1000.0},   {5, 25.01, 12000.0},
        {6, 9.99, 0.0},     {6, 10.0, 32.0},      {6, 15.0, 105.0},    {6, 21.0, 220.0},
        {6, 26.0, 339.36},  {6, 33.0, 601.0},     {6, 40.0, 1000.0},   {6, 40.5, 18000.0},
        {7, 14.99, 101.86}, {7, 40.0, 1000.0},    {4, 30.0, 0.0},      {0, 12.0, 0.0},
        {8, 30.0, 0.0},     {-3, 30.0, 0.0},
    };
    for (const Case& c : cases) {
        EXPECT_NEAR(MinServiceAltitude(c.type, c.d), c.expected, 1e-9)
            << "type " << c.type << " at " << c.d;
    }
}

TEST(ServiceVolumeRange, OutsideTheVolume) {
    EXPECT_EQ(ServiceVolumeRange(-1.0, 5, 25.0, 1000.0, 12000.0), -1.0);
    EXPECT_EQ(ServiceVolumeRange(12000.5, 5, 25.0, 1000.0, 12000.0), -1.0);
    EXPECT_EQ(ServiceVolumeRange(NAN, 5, 25.0, 1000.0, 12000.0), -1.0);
    // A volume of no size has nothing to be inside of.
    EXPECT_EQ(ServiceVolumeRange(500.0, 5, 0.0, 1000.0, 12000.0), -1.0);
    EXPECT_EQ(ServiceVolumeRange(500.0, 5, -25.0, 1000.0, 12000.0), -1.0);
    EXPECT_EQ(ServiceVolumeRange(500.0, 5, INFINITY, 1000.0, 12000.0), -1.0);
}

TEST(ServiceVolumeRange, AtOrAboveTheFloorReachesTheEdge) {
    EXPECT_EQ(ServiceVolumeRange(1000.0, 5, 25.0, 1000.0, 12000.0), 25.0);
    EXPECT_EQ(ServiceVolumeRange(12000.0, 5, 25.0, 1000.0, 12000.0), 25.0);
    EXPECT_EQ(ServiceVolumeRange(5000.0, 7, 40.0, 1000.0, 18000.0), 40.0);
}

TEST(ServiceVolumeRange, BelowTheFloorStopsWhereTheFloorRises) {
    struct Case {
        double alt;
        int type;
        double maxRange, floor, ceiling, expected;
    };
    const Case cases[] = {
        // 55 d - 475 >= 500 first at d = 17.8 (steps of 0.1).
        {500.0, 5, 25.0, 1000.0, 12000.0, 17.8},
        // 42.86 d - 775 >= 500 first at d = 29.76 (steps of 0.16).
        {500.0, 6, 40.0, 1000.0, 18000.0, 29.76},
        // The floor is 0 at the first step.
        {0.0, 5, 25.0, 1000.0, 12000.0, 0.1},
        // A type whose floor never rises: the whole radius.
        {500.0, 0, 18.0, 1000.0, 4500.0, 18.0},
    };
    for (const Case& c : cases) {
        EXPECT_NEAR(ServiceVolumeRange(c.alt, c.type, c.maxRange, c.floor, c.ceiling), c.expected,
                    1e-9)
            << "alt " << c.alt << " type " << c.type;
    }
}

}  // namespace
}  // namespace crv::common
