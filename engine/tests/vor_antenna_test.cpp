#include "vor_antenna.h"

#include <gtest/gtest.h>

#include <cmath>

#include "fresnel.h"

namespace crv::engine {
namespace {

constexpr double kPi = 3.14159265358979323846;

TEST(Fresnel, KnownValues) {
    struct Case {
        double x, c, s;
    };
    // Reference values from an arbitrary-precision library.
    const Case cases[] = {{0.5, 0.4923442258714464, 0.06473243285999927},
                          {1.0, 0.7798934003768229, 0.43825914739035476},
                          {1.4, 0.5430957835462564, 0.7135250773634121},
                          {1.6, 0.36546168344048763, 0.6388876835093809},
                          {2.0, 0.48825340607534073, 0.34341567836369824},
                          {3.7, 0.5419456621544874, 0.5749803498874729},
                          {10.0, 0.49989869420551575, 0.46816997858488224}};
    for (const auto& c : cases) {
        const FresnelCS f = fresnelIntegrals(c.x);
        EXPECT_NEAR(f.c, c.c, 1e-13) << c.x;
        EXPECT_NEAR(f.s, c.s, 1e-13) << c.x;
        const FresnelCS g = fresnelIntegrals(-c.x);
        EXPECT_EQ(g.c, -f.c);
        EXPECT_EQ(g.s, -f.s);
    }
    EXPECT_EQ(fresnelIntegrals(0.0).c, 0.0);
    EXPECT_NEAR(fresnelIntegrals(1e6).c, 0.5, 1e-6);
    EXPECT_NEAR(fresnelIntegrals(1e6).s, 0.5, 1e-6);
}

TEST(VorAntenna, ContinuousAcrossTheShadowBoundaries) {
    for (double mhz : {108.0, 113.0, 117.95}) {
        const double lambda = 299792458.0 / (mhz * 1e6);
        for (double boundary : {-kVorEdgeAngleRad, kVorEdgeAngleRad}) {
            for (double step : {1e-4, 1e-6}) {
                const auto below = VorAntennaPattern(lambda, boundary - step);
                const auto above = VorAntennaPattern(lambda, boundary + step);
                // A jump would stay as large as the geometrical-optics ray (about 1).
                EXPECT_LT(std::abs(above - below), 50.0 * step) << mhz << " " << boundary << " " << step;
            }
            EXPECT_TRUE(std::isfinite(std::abs(VorAntennaPattern(lambda, boundary))));
        }
        // The far-edge ray passes the counterpoise plane without a step.
        EXPECT_LT(std::abs(VorAntennaPattern(lambda, 1e-7) - VorAntennaPattern(lambda, -1e-7)), 1e-5);
    }
}

// Antenna and its image in an endless counterpoise, the limit far above the
// counterpoise where its edges no longer matter.
std::complex<double> imageLimit(double lambda, double e) {
    const double k = 2.0 * kPi / lambda;
    return std::cos(e) * (1.0 - std::exp(std::complex<double>(0, k * 2.0 * kVorCounterpoiseHeightM * std::sin(e))));
}

double worstEdgeShare(double lambda) {
    double worst = 0;
    for (int deg = 20; deg <= 70; ++deg) {
        const double e = deg * kPi / 180.0;
        worst = std::max(worst, std::abs(VorAntennaPattern(lambda, e) - imageLimit(lambda, e)));
    }
    return worst;
}

TEST(VorAntenna, TendsToTheImageFieldFarAboveTheCounterpoise) {
    const double lambda = 299792458.0 / 113e6;
    for (int deg = 25; deg <= 65; deg += 5) {
        const double e = deg * kPi / 180.0;
        const double ratioDb = 20.0 * std::log10(std::abs(VorAntennaPattern(lambda, e)) / std::abs(imageLimit(lambda, e)));
        EXPECT_LT(std::fabs(ratioDb), 1.0) << deg;
    }
    // The edge rays shrink as the counterpoise grows in wavelengths.
    EXPECT_LT(worstEdgeShare(lambda / 100.0), worstEdgeShare(lambda) / 5.0);
    // Below the counterpoise only the edges radiate: weak but not zero.
    const double under = std::abs(VorAntennaPattern(lambda, -60.0 * kPi / 180.0));
    EXPECT_GT(under, 0.0);
    EXPECT_LT(under, 0.1);
}

TEST(VorAntenna, FieldIsThePatternSpreadFromTheAntenna) {
    const double lambda = 299792458.0 / 113e6;
    const double e = 0.5;
    // sqrt(376.730407715 * 1.5 / (4 pi)) V/m at 1 m for 1 W from the loop.
    for (double r : {100.0, 10000.0}) {
        const auto field = VorAntennaField(lambda, r, e);
        EXPECT_NEAR(std::abs(field) * r / std::abs(VorAntennaPattern(lambda, e)), 6.705883979808368, 1e-9);
    }
    const auto near = VorAntennaField(lambda, 1000.0, e), far = VorAntennaField(lambda, 1000.0 + lambda / 2.0, e);
    EXPECT_NEAR(std::arg(far / near), kPi, 1e-6);  // half a wavelength further: opposite phase
}

}  // namespace
}  // namespace crv::engine
