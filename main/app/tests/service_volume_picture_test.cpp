#include <gtest/gtest.h>

#include <cmath>

#include "crv/main/app/service_volume_picture.h"

using namespace crv::main;

TEST(ServiceVolumePicture, OutlineOfTheIlsVolume) {
    const auto outline = DrawServiceVolume();
    ASSERT_EQ(outline.size(), 101u);
    // d7 = 4500 / 6076.115 / tan 7 deg, d0 = d7 - 1000 / 6076.115 / tan 2 deg (worked out by hand).
    const double d7 = 6.03172, d0 = 1.31874;
    EXPECT_NEAR(outline[1].rangeNmi, d0, 1e-4);
    EXPECT_NEAR(outline[1].azimuthRad, 35 * M_PI / 180, 1e-6);
    EXPECT_NEAR(outline[2].rangeNmi, d7, 1e-4);
    EXPECT_NEAR(outline[2].height, 1000.0 / 720, 1e-6);
    // Point 12 (index 11) is the middle of the inner 18 nmi arc, on course.
    EXPECT_NEAR(outline[11].rangeNmi, 18, 1e-6);
    EXPECT_NEAR(outline[11].azimuthRad, 0, 1e-6);
    // The ceiling is 4500 ft; the last point closes the 1000 ft arc at +35 degrees.
    EXPECT_NEAR(outline[23].height, 4500.0 / 720, 1e-6);
    EXPECT_NEAR(outline.back().rangeNmi, d7, 1e-4);
    EXPECT_NEAR(outline.back().azimuthRad, 35 * M_PI / 180, 1e-6);
}

TEST(ServiceVolumePicture, FrameProjection) {
    std::vector<OutlinePoint> one{{10.0f, 0.0f, 2.0f}};
    // Seen from the side (elevation 0): x = range cos a, y = height.
    auto line = AnimateServiceVolume(one, 90, 0);
    ASSERT_EQ(line.size(), 2u);
    EXPECT_NEAR(line[0].x, 0, 1e-12);
    EXPECT_NEAR(line[1].x, 0, 1e-6);
    EXPECT_NEAR(line[1].y, 2, 1e-6);
    // From above (elevation 90): y = -range sin a.
    line = AnimateServiceVolume(one, 90, 90);
    EXPECT_NEAR(line[1].y, -10, 1e-5);
}

TEST(ServiceVolumePicture, ElevationSequenceOverHalfTurns) {
    AnimationState a;
    std::vector<int> elevations;
    for (int tick = 1; tick <= 180 * 22; ++tick) {
        a.tick();
        if (tick % 180 == 0) elevations.push_back(a.elevation());
        ASSERT_GE(a.angle(), 0);
        ASSERT_LT(a.angle(), 360);
    }
    const std::vector<int> expected{20, 25, 30, 35, 40, 45, 50, 55, 60, 65, 70, 75, 80, 85, 90, 85, 80, 75, 70, 65, 60, 55};
    EXPECT_EQ(elevations, expected);
    // ... and on down to 0, then back up by 5.
    for (int i = 0; i < 11 * 180; ++i) a.tick();
    EXPECT_EQ(a.elevation(), 0);
    for (int i = 0; i < 180; ++i) a.tick();
    EXPECT_EQ(a.elevation(), 5);
}
