#include "fm_level.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <utility>
#include <vector>

#include "failure.h"

namespace crv::engine {
namespace {

// Pattern point k holds (100 - k) %, the last point 64 %.
Pattern descending() {
    Pattern p;
    for (int k = 0; k < 37; ++k) p.values[static_cast<std::size_t>(k)] = (100.0 - k) / 100.0;
    p.loaded = true;
    return p;
}

double thetaTan(double deg) { return std::tan(deg * 3.14159265358979323846 / 180.0); }

TEST(FMHorGain, InterpolatesTheTenDegreePoints) {
    PatternTables t;
    t.fmHorizontal[4] = descending();
    // Expected: 20 log10 of the linearly interpolated ratio (worked out by hand).
    EXPECT_NEAR(FMHorGain(t, 4, 0.0), 0.0, 1e-12);
    EXPECT_NEAR(FMHorGain(t, 4, 355.0), -3.808805707294644, 1e-12);  // between points 35 and 36
    EXPECT_NEAR(FMHorGain(t, 4, 360.0), -3.8764005203222562, 1e-12); // exactly point 36
    EXPECT_NEAR(FMHorGain(t, 4, 310.0), -3.2230181852548947, 1e-12);
    // Outside 0..360 (a rotation beyond a turn) wraps instead of reading past the pattern.
    EXPECT_NEAR(FMHorGain(t, 4, -50.0), -3.2230181852548947, 1e-12);
    EXPECT_NEAR(FMHorGain(t, 4, 670.0), -3.2230181852548947, 1e-12);
    EXPECT_NEAR(FMHorGain(t, 4, 720.0), 0.0, 1e-12);

    t.fmHorizontal[4].values[0] = 0.0;
    EXPECT_NEAR(FMHorGain(t, 4, 0.0), -240.0, 1e-9);
    EXPECT_THROW(FMHorGain(t, 5, 0.0), EngineFailure);  // not read
}

TEST(FMVrtGain, TableElementsByRow) {
    PatternTables t;
    // Receiver at the antenna height: row 0 for every table element.
    for (int type : {0, 1, 4, 28, 52}) EXPECT_EQ(FMVrtGain(t, type, 3.0, 0.0, 98.1), 0.0) << type;
    // Type 0: column 9 at row |2 theta|, whatever the sign of theta (printed row 20: -27.6).
    EXPECT_EQ(FMVrtGain(t, 0, 1.0, -thetaTan(10.0), 98.1), -27.6);
    EXPECT_EQ(FMVrtGain(t, 0, 1.0, thetaTan(10.0), 98.1), -27.6);
    // Type 34: column 12, beam tilt 0 (row 20 printed: -8.5); type 35: the same
    // column a half degree lower (row 11, 5.5 degrees, -2.2 by the array law).
    EXPECT_EQ(FMVrtGain(t, 34, 1.0, thetaTan(10.0), 98.1), -8.5);
    EXPECT_EQ(FMVrtGain(t, 35, 1.0, thetaTan(5.0), 98.1), -2.2);
    // Straight up with a tilt of one degree: row 182 folds back to 178 (89 degrees).
    EXPECT_EQ(FMVrtGain(t, 3, 1e-9, 1.0, 98.1), -35.2);
    EXPECT_EQ(FMVrtGain(t, 55, 1.0, 1.0, 98.1), 0.0);
    // Type 56 at 0.5 degrees: (100 - 112) * 0.101 - 20.96.
    EXPECT_NEAR(FMVrtGain(t, 56, 1.0, thetaTan(0.5), 100.0), -22.172, 1e-12);
    EXPECT_THROW(FMVrtGain(t, 64, 1.0, 0.0, 98.1), EngineFailure);
}

TEST(FMVrtGain, DipoleOverGround) {
    PatternTables t;
    // Worked out from the dipole and two-ray formulas by an independent script.
    EXPECT_NEAR(FMVrtGain(t, 57, 2.0, 0.1, 98.5), 2.7483097370584435, 1e-9);
    EXPECT_NEAR(FMVrtGain(t, 57, 5.0, -0.05, 101.1), -9.521526260023707, 1e-9);
}

TEST(FMVrtGain, UserVerticalPatternIsSymmetric) {
    PatternTables t;
    t.fmVertical[3] = descending();
    // 30 degrees is point 12 exactly: 88 %.
    EXPECT_NEAR(FMVrtGain(t, 60, 1.0, thetaTan(30.0), 98.1), 20 * std::log10(0.88), 1e-9);
    EXPECT_NEAR(FMVrtGain(t, 60, 1.0, -thetaTan(30.0), 98.1), 20 * std::log10(0.88), 1e-9);
    EXPECT_NEAR(FMVrtGain(t, 60, 0.0, 1.0, 98.1), 20 * std::log10(0.64), 1e-9);
    EXPECT_THROW(FMVrtGain(t, 61, 1.0, 0.0, 98.1), EngineFailure);
}

// A pattern with a peak between its points and a deep null: its largest
// interpolated value is at a point, and gains must never pass it.
Pattern bumpy() {
    Pattern p;
    for (int k = 0; k < 37; ++k) p.values[static_cast<std::size_t>(k)] = 0.5 + 0.45 * std::sin(0.7 * k) * std::cos(0.13 * k);
    p.values[20] = 0.0;
    p.loaded = true;
    return p;
}

// The bound must hold at every angle of its range: each element type swept
// over narrow ranges (as a distant block sees the antenna) and wide ones (a
// block beside it), angles taken at the ends, inside, and just past a row's
// rounding edge, from both signs of the height difference.
TEST(FMVrtGainBound, NoGainInTheRangeExceedsIt) {
    PatternTables t;
    for (int n = 1; n <= 6; ++n) t.fmVertical[static_cast<std::size_t>(n)] = n % 2 ? descending() : bumpy();
    const std::vector<std::pair<double, double>> ranges{
        {-0.3, 0.2}, {0.24, 0.26}, {-0.26, -0.24}, {1.0, 1.2}, {-5.0, -4.9}, {10.0, 30.0},
        {-89.0, -60.0}, {60.0, 89.9}, {-90.0, 90.0}, {47.4, 47.6}, {-2.6, 2.6}, {0.0, 0.0}};
    for (int type = 0; type <= 63; ++type)
        for (const auto& [lo, hi] : ranges) {
            const double bound = FMVrtGainBound(t, type, lo, hi, 99.3);
            // The dipole has no bound right above or below it (the case then
            // works its levels out in full).
            if (type == 57 && std::max(-lo, hi) > 89.99) {
                EXPECT_EQ(bound, std::numeric_limits<double>::infinity());
                continue;
            }
            ASSERT_TRUE(std::isfinite(bound)) << type;
            for (int i = 0; i <= 400; ++i) {
                const double theta = lo + (hi - lo) * i / 400.0;
                const double gain = FMVrtGain(t, type, std::cos(theta * 3.14159265358979323846 / 180.0),
                                              std::sin(theta * 3.14159265358979323846 / 180.0), 99.3);
                ASSERT_LE(gain, bound) << "type " << type << " at " << theta << " in [" << lo << ", " << hi << "]";
            }
        }
}

TEST(FMVrtGainBound, UnknownWhereTheGainIsUnknown) {
    PatternTables t;
    EXPECT_EQ(FMVrtGainBound(t, 64, -1, 1, 98.1), std::numeric_limits<double>::infinity());
    EXPECT_EQ(FMVrtGainBound(t, -1, -1, 1, 98.1), std::numeric_limits<double>::infinity());
    EXPECT_EQ(FMVrtGainBound(t, 58, -1, 1, 98.1), std::numeric_limits<double>::infinity());  // not read
    EXPECT_EQ(FMVrtGainBound(t, 0, std::nan(""), 1, 98.1), std::numeric_limits<double>::infinity());
    EXPECT_EQ(FMVrtGainBound(t, 55, -1, 1, 98.1), 0.0);

    EXPECT_EQ(FMHorGainBound(t, 0), 0.0);
    EXPECT_EQ(FMHorGainBound(t, 3), std::numeric_limits<double>::infinity());  // not read
    EXPECT_EQ(FMHorGainBound(t, 26), std::numeric_limits<double>::infinity());
    t.fmHorizontal[3] = bumpy();
    const double bound = FMHorGainBound(t, 3);
    for (int a = 0; a <= 3600; ++a) ASSERT_LE(FMHorGain(t, 3, a / 10.0), bound) << a / 10.0;
}

EngineState oneStation() {
    EngineState s;
    s.navaid.runwayHeadingDeg = 90.0;
    s.navaid.serviceVolumeType = 1;
    s.options.gridType = 1;
    Station st;
    st.antennaElevationFt = 1000.0;
    st.frequencyMHz = 98.1;
    st.elementType = 55;  // 0 dB
    s.stations.push_back(st);
    return s;
}

TEST(FMLevel, SpreadingAndGains) {
    EngineState s = oneStation();
    ReceiverPoint p{0, 5.0, 90.0, 1000.0 + 6076.115};
    // d = 2, dh = 1 nmi: 100 - 20 log10(sqrt 5).
    EXPECT_NEAR(FMLevel(s, 1, 100.0, 2.0, 10.0, p), 93.01029995663981, 1e-9);

    s.patterns.fmHorizontal[2] = descending();
    s.stations[0].horizontalPattern = 2;
    s.stations[0].rotationDeg = 150.0;
    // Azimuth 100 - rotation 150 = -50, plus 360: 310 degrees.
    EXPECT_NEAR(FMLevel(s, 1, 100.0, 2.0, 100.0, p), 93.01029995663981 - 3.2230181852548947, 1e-9);
    // A zero distance is taken as 0.00001 nmi.
    ReceiverPoint level{0, 5.0, 90.0, 1000.0};
    EXPECT_NEAR(FMLevel(s, 1, 0.0, 0.0, 150.0, level), 100.0, 1e-9);
}

TEST(FMLevel, GeneralAssessmentMethod) {
    EngineState s = oneStation();
    s.options.gridType = 12;
    s.stations[0].elementType = 12;
    s.stations[0].horizontalPattern = 2;
    s.patterns.fmHorizontal[2] = descending();
    // Point of the common grid on course (92 degrees, 3 nmi): at least 150 m.
    EXPECT_NEAR(FMLevel(s, 1, 50.0, 0.01, 0.0, {0, 3.0, 92.0, 1000.0}), 71.8309947144296, 1e-9);
    // Off course (azimuth 120): at least 300 m.
    EXPECT_NEAR(FMLevel(s, 1, 50.0, 0.01, 0.0, {0, 3.0, 120.0, 1000.0}), 65.81039482259833, 1e-9);
    // Beyond 12 km the point is off course even on the course line.
    EXPECT_NEAR(FMLevel(s, 1, 50.0, 0.01, 0.0, {0, 6.5, 90.0, 1000.0}), 65.81039482259833, 1e-9);
    // The station's own column on course: 150 m and no antenna gains.
    EXPECT_NEAR(FMLevel(s, 1, 50.0, 0.01, 33.0, {1, 3.0, 85.0, 2000.0}), 64.73064664304808, 1e-9);
    // Outside the method the same point keeps its distance.
    s.options.gridType = 1;
    EXPECT_NEAR(FMLevel(s, 1, 50.0, 0.01, 0.0, {0, 3.0, 92.0, 1000.0}), 50.0 + 40.0, 1e-9);
}

}  // namespace
}  // namespace crv::engine
