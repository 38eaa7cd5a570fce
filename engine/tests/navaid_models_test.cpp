#include "navaid_models.h"

#include <gtest/gtest.h>

#include <cmath>

#include "failure.h"
#include "reflect.h"

namespace crv::engine {
namespace {

EngineState navaid(int arrayType, int serviceVolumeType, double frequencyMHz, double fieldElevationFt,
                   double power) {
    EngineState s;
    s.navaid.arrayType = static_cast<std::int16_t>(arrayType);
    s.navaid.serviceVolumeType = static_cast<std::int16_t>(serviceVolumeType);
    s.navaid.frequencyMHz = frequencyMHz;
    s.navaid.fieldElevationFt = fieldElevationFt;
    s.navaid.transmitterPower = power;
    return s;
}

std::string failureOf(const std::function<void()>& f) {
    try {
        f();
    } catch (const EngineFailure& e) {
        return e.message();
    }
    return {};
}

TEST(Reflect, HorizontalPolarisationOverTheModelGround) {
    struct Case {
        double psi, re, im;
    };
    // From the formula, by an independent script.
    const Case cases[] = {{0.0, -1.0, 0.0},
                          {0.01, -0.9939924682196086, 0.00013327619028025866},
                          {0.3, -0.8370706670891752, 0.003303816133309911},
                          {-0.3, -0.8370706670891752, 0.003303816133309911},
                          {1.2, -0.5743164511571601, 0.006910436524309557}};
    for (const auto& c : cases) {
        const auto g = Reflect(c.psi, 110.1e6, 12.0, 0.003);
        EXPECT_NEAR(g.real(), c.re, 1e-12) << c.psi;
        EXPECT_NEAR(g.imag(), c.im, 1e-12) << c.psi;
    }
}

TEST(NavaidModels, ConstantLevelsOfArrayType1) {
    for (int sv = 0; sv <= 8; ++sv) {
        const EngineState s = navaid(1, sv, 110.1, 500.0, 0.0);
        const double expected = sv <= 4 ? -86.0 : (sv <= 7 ? -79.0 : -87.0);
        for (double d : {0.2, 5.0, 30.0}) EXPECT_EQ(NavaidLevel(s, d, 12.0, 3000.0, 2.5), expected - 2.5) << sv;
    }
}

TEST(NavaidModels, RefuseAnArrayTypeOfAnotherModel) {
    const EngineState vorOnIls = navaid(36, 0, 110.1, 0.0, 100.0);
    EXPECT_EQ(failureOf([&] { LocalizerLevel(vorOnIls, 5.0, 0.0, 1000.0, 0.0); }),
              "Navaid array type 36 cannot be used with service volume type 0: the localizer model takes array "
              "types 1 to 35 and 38.");
    const EngineState ilsOnVor = navaid(6, 5, 113.0, 0.0, 100.0);
    EXPECT_EQ(failureOf([&] { NavaidLevel(ilsOnVor, 5.0, 0.0, 1000.0, 0.0); }),
              "Navaid array type 6 cannot be used with service volume type 5: the VOR model takes array types 1 "
              "and 36.");
    const EngineState comOnVor = navaid(37, 7, 113.0, 0.0, 100.0);
    EXPECT_NE(failureOf([&] { VorLevel(comOnVor, 5.0, 1000.0, 0.0); }), "");
    EXPECT_NE(failureOf([&] { ComLevel(ilsOnVor, 5.0, 1000.0, 0.0); }), "");
}

TEST(LocalizerModel, ArraysOverGround) {
    // Expected levels worked out by an independent script from the
    // localizer model's formulas, at relative azimuths where the array's
    // pattern is a row of its table.
    EngineState s = navaid(7, 0, 110.1, 200.0, 15.0);
    EXPECT_NEAR(LocalizerLevel(s, 8.0, 10.0, 1500.0, 0.0), -75.47779806214108, 1e-9);
    EXPECT_NEAR(LocalizerLevel(s, 8.0, 10.0, 1500.0, 4.0), -79.47779806214108, 1e-9);
    s = navaid(2, 1, 108.5, 100.0, 20.0);
    EXPECT_NEAR(LocalizerLevel(s, 3.0, -10.0, 900.0, 0.0), -65.79786448481265, 1e-9);

    // The user's pattern, every 5 degrees in dB (point k = -k/2 dB), gain 21.5.
    s = navaid(38, 0, 110.1, 200.0, 15.0);
    for (int k = 0; k < 37; ++k) s.patterns.localizer.values[static_cast<std::size_t>(k)] = std::pow(10.0, -0.5 * k / 20.0);
    s.patterns.localizer.loaded = true;
    s.patterns.localizerGainDb = 21.5;
    EXPECT_NEAR(LocalizerLevel(s, 8.0, 12.5, 1500.0, 0.0), -63.42420076957126, 1e-9);
    EXPECT_NEAR(LocalizerLevel(s, 8.0, -12.5, 1500.0, 0.0), -63.42420076957126, 1e-9);
}

TEST(LocalizerModel, FieldStrengthForms) {
    EngineState s = navaid(32, 0, 110.1, 300.0, 15.0);
    EXPECT_NEAR(LocalizerLevel(s, 15.0, 3.0, 2500.0, 0.0), -81.36821036990675, 1e-9);
    EXPECT_NEAR(LocalizerLevel(s, 15.0, 20.0, 2500.0, 0.0), -85.22154370324009, 1e-9);
    s.navaid.arrayType = 33;
    // The type-5 array: gain 17 dB, pattern -11.7 dB at 10 degrees, -26 dB at 90.
    EXPECT_NEAR(LocalizerLevel(s, 6.0, 10.0, 2500.0, 0.0), -60.69872278764544, 1e-9);
    EXPECT_NEAR(LocalizerLevel(s, 6.0, 90.0, 2500.0, 0.0), -74.99872278764543, 1e-9);
    // Type 34: the larger of (type 33 - 8) and type 32; the antenna rejection
    // is taken once.
    s.navaid.arrayType = 34;
    EXPECT_NEAR(LocalizerLevel(s, 6.0, 10.0, 2500.0, 0.0), -68.69872278764544, 1e-9);
    EXPECT_NEAR(LocalizerLevel(s, 6.0, 10.0, 2500.0, 5.0), -73.69872278764544, 1e-9);
}

TEST(LocalizerModel, TlsApproachWindow) {
    EngineState s = navaid(35, 4, 110.1, 500.0, 0.0);
    s.navaid.runwayLengthFt = 9000.0;  // the localizer-to-threshold distance, as the grid sets it
    EXPECT_EQ(LocalizerLevel(s, 3.06, 0.0, 1000.0, 0.0), -79.9);  // about 3 degrees
    EXPECT_EQ(LocalizerLevel(s, 2.5, 0.0, 1000.0, 0.0), -86.9);   // 4.7 degrees
    EXPECT_EQ(LocalizerLevel(s, 3.06, 0.0, 650.0, 0.0), -86.9);   // below 200 ft
    EXPECT_EQ(LocalizerLevel(s, 10.5, 0.0, 3000.0, 0.0), -86.9);  // beyond 10 nmi
}

TEST(LocalizerModel, IcaoFloor) {
    EngineState s = navaid(7, 0, 110.1, 200.0, 15.0);
    EXPECT_NEAR(LocalizerLevel(s, 200.0, 10.0, 1500.0, 0.0), -98.4026170107616, 1e-9);
    s.options.observeIcaoMinimum = 1;
    EXPECT_EQ(LocalizerLevel(s, 200.0, 10.0, 1500.0, 3.0), -86.0 - 3.0);
    EXPECT_NEAR(LocalizerLevel(s, 8.0, 10.0, 1500.0, 0.0), -75.47779806214108, 1e-9);

    // The floor belongs to the antenna arrays only: the field-strength form and
    // the TLS keep their own levels below -86 dBm.
    EngineState fieldStrength = navaid(32, 0, 110.1, 300.0, 15.0);
    fieldStrength.options.observeIcaoMinimum = 1;
    EXPECT_NEAR(LocalizerLevel(fieldStrength, 30.0, 20.0, 2500.0, 1.0), -91.3948770365734 - 1.0, 1e-9);
    EngineState tls = navaid(35, 4, 110.1, 500.0, 0.0);
    tls.navaid.runwayLengthFt = 9000.0;
    tls.options.observeIcaoMinimum = 1;
    EXPECT_EQ(LocalizerLevel(tls, 10.5, 0.0, 3000.0, 0.0), -86.9);
    EXPECT_EQ(LocalizerLevel(tls, 3.06, 0.0, 1000.0, 0.0), -79.9);
}

TEST(ComModel, DipoleOverGround) {
    const EngineState s = navaid(37, 8, 125.0, 500.0, 50.0);
    // At the antenna's own height the dipole gain is 2.15 dB (horizon).
    EXPECT_NEAR(ComLevel(s, 5.0, 540.0, 3.0), -79.7899514801161, 1e-9);
    EXPECT_NEAR(ComLevel(s, 2.0, 3500.0, 0.0), -37.39767676608472, 1e-9);
    EngineState floor = s;
    floor.navaid.transmitterPower = 1e-6;
    ASSERT_LT(ComLevel(floor, 200.0, 540.0, 0.0), -87.0);
    floor.options.observeIcaoMinimum = 1;
    EXPECT_EQ(ComLevel(floor, 200.0, 540.0, 1.0), -87.0 - 1.0);
}

TEST(VorModel, IcaoFloorAndAntenna) {
    EngineState s = navaid(36, 6, 113.0, 800.0, 0.001);
    // Far below the ICAO minimum (the received power is floored at 1e-12 W,
    // -93 dBm after the 3 dB loss).
    const double weak = VorLevel(s, 30.0, 1500.0, 0.0);
    ASSERT_LT(weak, -90.0);
    s.options.observeIcaoMinimum = 1;
    EXPECT_EQ(VorLevel(s, 30.0, 1500.0, 2.0), -79.0 - 2.0);

    // A strong VOR: ten times the power is 10 dB more, and heights count from the site.
    s = navaid(36, 6, 113.0, 800.0, 100.0);
    const double l100 = VorLevel(s, 20.0, 5800.0, 0.0);
    s.navaid.transmitterPower = 1000.0;
    EXPECT_NEAR(VorLevel(s, 20.0, 5800.0, 0.0), l100 + 10.0, 1e-9);
    EngineState atSea = s;
    atSea.navaid.fieldElevationFt = 0.0;
    EXPECT_NEAR(VorLevel(atSea, 20.0, 5000.0, 0.0), VorLevel(s, 20.0, 5800.0, 0.0), 1e-9);
    // Free space for 1000 W at 20 nmi with the loop's gain of 1.5 over a
    // counterpoise and ground: within a few dB of 10 log10(P G lambda^2 / (4 pi r)^2).
    const double lambda = 299792458.0 / 113e6;
    const double r = 20.0 * 1852.0;
    const double freeSpace = 10.0 * std::log10(1000.0 * 1.5 * std::pow(lambda / (4.0 * 3.14159265358979 * r), 2)) + 30.0 - 3.0;
    EXPECT_NEAR(VorLevel(s, 20.0, 5800.0 + 10000.0, 0.0), freeSpace, 8.0);
}

}  // namespace
}  // namespace crv::engine
