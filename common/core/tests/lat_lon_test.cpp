#include "crv/common/lat_lon.h"

#include <gtest/gtest.h>

#include <cmath>

#include "crv/common/math_utils.h"

namespace crv::common {
namespace {

const std::string deg = "\xB0";

TEST(FormatLatLon, WritesEveryDisplayCode) {
    struct Case {
        double value;
        int kind, fmt;
        std::string text;
    } cases[] = {
        {38.5, 1, 1, "N 38" + deg + " 30' 00\""},
        {-38.5, 1, 1, "S 38" + deg + " 30' 00\""},
        {77.25, 2, 1, "W 077" + deg + " 15' 00\""},
        {-77.25, 2, 1, "E 077" + deg + " 15' 00\""},
        {38.5, 1, 2, "N 38.5000" + deg},
        {-122.123456, 2, 2, "E 122.1235" + deg},
        {77.25, 2, 3, "W 077" + deg + " 15.00'"},
        {-33.999999, 1, 3, "S 34" + deg + " 00.00'"},  // 59.99994' would print as 60.00
        {38.5, 1, 0, " 38 30 00"},
        {77.25, 2, 0, "  77 15 00"},
        {-38.5, 1, 0, "-38 30 00"},
        {-122.5, 2, 0, "-122 30 00"},
        {38.5, 1, 7, " 38 30 00"},  // any other code is the data-file field
        // Between -1 and 0 degrees the field still says which hemisphere.
        {-0.5, 1, 0, " -0 30 00"},
        {-0.5, 2, 0, "  -0 30 00"},
        {-0.5, 1, 1, "S 00" + deg + " 30' 00\""},
        {-0.5, 2, 3, "E 000" + deg + " 30.00'"},
        {-0.0000001, 1, 0, "  0 00 00"},  // rounds to zero: no sign to keep
        // 59.5" is a half and goes to the even 60, carrying into minutes and degrees.
        {10 + 59 / 60.0 + 59.5 / 3600, 1, 1, "N 11" + deg + " 00' 00\""},
        {10 + 30 / 60.0 + 58.5 / 3600, 1, 1, "N 10" + deg + " 30' 58\""},
        {10 + 30 / 60.0 + 59.5 / 3600, 2, 0, "  10 31 00"},
        {45.999999, 1, 1, "N 46" + deg + " 00' 00\""},
        {0, 1, 1, "N 00" + deg + " 00' 00\""},
    };
    for (const auto& c : cases) EXPECT_EQ(FormatLatLon(c.value, c.kind, c.fmt), c.text) << c.value << " " << c.fmt;
}

TEST(ParseLatLon, ReadsEveryFormAndBothLetterCases) {
    struct Case {
        std::string text;
        double value;
    } cases[] = {
        {"N 38" + deg + " 30' 00\"", 38.5},
        {"s 38" + deg + " 30' 00\"", -38.5},
        {"e 077" + deg + " 15.00'", -77.25},
        {"w 77.25" + deg, 77.25},
        {"W 077\xC2\xB0 15' 00\"", 77.25},  // the degree sign as UTF-8
        {" 38 30 00", 38.5},
        {" -0 30 00", -0.5},
        {"  -0 30 00", -0.5},
        {"-12 30", -12.5},
        {"", 0},
        {"   ", 0},
        {"N", 0},
    };
    for (const auto& c : cases) EXPECT_NEAR(ParseLatLon(c.text), c.value, 1e-12) << c.text;
}

TEST(ParseLatLon, ReadsBackWhatFormatLatLonWrites) {
    for (double v : {38.5, -38.5, 0.25, -0.25, -0.999, 89.123456, -77.0001}) {
        for (int fmt : {0, 1, 2, 3}) {
            for (int kind : {1, 2}) {
                const double tolerance = fmt == 2 ? 0.5e-4 : fmt == 3 ? 0.5 / 6000 : 0.5 / 3600;
                EXPECT_NEAR(ParseLatLon(FormatLatLon(v, kind, fmt)), v, tolerance + 1e-12)
                    << v << " fmt " << fmt << " kind " << kind;
            }
        }
    }
}

TEST(DmsToDegrees, TakesTheSignFromTheDegreeText) {
    EXPECT_DOUBLE_EQ(DmsToDegrees("0", "30", "0"), 0.5);
    EXPECT_DOUBLE_EQ(DmsToDegrees("-12", "30", ""), -12.5);
    EXPECT_DOUBLE_EQ(DmsToDegrees("-0", "30", "0"), -0.5);
    EXPECT_DOUBLE_EQ(DmsToDegrees("10", "", "36"), 10.01);
}

TEST(LatLonMask, DropsADegreeDigitForLatitudes) {
    EXPECT_EQ(LatLonMask('N', 1), "N ##" + deg + " ##' ##\"");
    EXPECT_EQ(LatLonMask('W', 1), "W ###" + deg + " ##' ##\"");
    EXPECT_EQ(LatLonMask('S', 2), "S ##.####" + deg);
    EXPECT_EQ(LatLonMask('E', 2), "E ###.####" + deg);
    EXPECT_EQ(LatLonMask('N', 3), "N ##" + deg + " ##.##'");
    EXPECT_EQ(LatLonMask('E', 0), "E ###" + deg + " ##.##'");
}

TEST(WrapAngle, StepsBy360AndAlwaysEnds) {
    EXPECT_FLOAT_EQ(WrapAngle(725, 0, 360), 5);
    EXPECT_FLOAT_EQ(WrapAngle(-10, 0, 360), 350);
    EXPECT_FLOAT_EQ(WrapAngle(360, 0, 360), 0);
    EXPECT_FLOAT_EQ(WrapAngle(190, -180, 180), -170);
    EXPECT_FLOAT_EQ(WrapAngle(-180, -180, 180), -180);
    // Far beyond where subtracting 360 changes a float.
    const float huge = WrapAngle(1.0e30f, 0, 360);
    EXPECT_GE(huge, 0);
    EXPECT_LT(huge, 360);
    const float hugeNegative = WrapAngle(-3.0e12f, 0, 360);
    EXPECT_GE(hugeNegative, 0);
    EXPECT_LT(hugeNegative, 360);
    EXPECT_TRUE(std::isnan(WrapAngle(NAN, 0, 360)));
    EXPECT_TRUE(std::isinf(WrapAngle(INFINITY, 0, 360)));
    EXPECT_FLOAT_EQ(WrapAngle(10, 0, INFINITY), 10);
}

TEST(XYToRangeBearing, MeasuresClockwiseFromNorth) {
    struct Case {
        float x, y, range, bearing;
    } cases[] = {
        {0, 5, 5, 0}, {5, 0, 5, 90}, {0, -5, 5, 180}, {-5, 0, 5, 270}, {3, 4, 5, 36.869898f}, {-1, 1, 1.4142135f, 315},
    };
    for (const auto& c : cases) {
        float range = 0, bearing = 0;
        XYToRangeBearing(c.x, c.y, range, bearing);
        EXPECT_NEAR(range, c.range, 1e-5) << c.x << "," << c.y;
        EXPECT_NEAR(bearing, c.bearing, 1e-4) << c.x << "," << c.y;
    }
}

TEST(Numbers, MaxMinAtan) {
    EXPECT_EQ(MaxOf(2, 3), 3);
    EXPECT_EQ(MinOf(2, 3), 2);
    EXPECT_DOUBLE_EQ(Atan2(1, 0), kPi / 2);
    EXPECT_DOUBLE_EQ(Atan2(-1, 0), -kPi / 2);
    EXPECT_DOUBLE_EQ(Atan2(0, -1), kPi);
    EXPECT_NEAR(Atan2(-1, -1), -3 * kPi / 4, 1e-12);
}

}  // namespace
}  // namespace crv::common
