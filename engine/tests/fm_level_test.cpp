#include "fm_level.h"

#include <gtest/gtest.h>

#include <cmath>

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
