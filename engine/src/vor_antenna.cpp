// VOR antenna over its counterpoise.
//
// In the vertical plane through the antenna the counterpoise is a conducting
// strip from -a to +a with the antenna at height h over its centre. The field
// in a far direction of elevation e is the sum of
//  - the direct ray, present above the incident shadow boundary e > -alpha
//    (below it the counterpoise hides the antenna);
//  - the ray reflected by the counterpoise (the antenna's image at depth h with
//    coefficient -1 for a horizontal electric field), present above the
//    reflection boundary e > alpha;
//  - the rays diffracted by the near and the far edge of the counterpoise, by
//    the uniform theory of diffraction for a half-plane (wedge factor n = 2)
//    with the Fresnel-integral transition function, which keeps the total field
//    continuous across both shadow boundaries (field angles pi - alpha and
//    pi + alpha at the near edge).
// The horizontal electric field is parallel to the edge, so the soft
// (Dirichlet) diffraction coefficient applies; it vanishes along the
// counterpoise, which keeps the far-edge ray continuous through the horizon.
// The element pattern of the antenna itself is that of a small horizontal loop,
// cos(e), with a gain of 1.5 over isotropic.
#include "vor_antenna.h"

#include <cmath>

#include "fresnel.h"

namespace crv::engine {

namespace {

using cd = std::complex<double>;
constexpr double kPi = 3.14159265358979323846;
constexpr double kImpedance = 376.730407715;
constexpr double kElementGain = 1.5;
constexpr double kH = kVorCounterpoiseHeightM;
constexpr double kA = kVorCounterpoiseRadiusM;
constexpr double kS = kVorEdgeDistanceM;
constexpr double kAlpha = kVorEdgeAngleRad;

// Transition function F(X) = 2j sqrt(X) e^{jX} integral_{sqrt X}^inf e^{-j t^2} dt
// (time convention e^{+j omega t}, waves e^{-jkr}).
cd transition(double x) {
    if (x <= 0) return cd(0, 0);
    const double sx = std::sqrt(x);
    const FresnelCS f = fresnelIntegrals(sx * std::sqrt(2.0 / kPi));
    const cd tail = std::sqrt(kPi / 2.0) * cd(0.5 - f.c, -(0.5 - f.s));
    return cd(0, 2.0) * sx * std::exp(cd(0, x)) * tail;
}

// Soft half-plane (n = 2) diffraction coefficient (per sqrt(m)) for incidence angle
// phiIn and diffraction angle phi measured from the lit face, distance
// parameter l, wavenumber k.
cd softDiffraction(double phi, double phiIn, double l, double k) {
    auto term = [&](double beta) {
        const double half = std::cos(beta / 2.0);
        const double a = 2.0 * half * half;
        return transition(k * l * a) / half;
    };
    const cd pre = -std::exp(cd(0, -kPi / 4.0)) / (2.0 * std::sqrt(2.0 * kPi * k));
    return pre * (term(phi - phiIn) - term(phi + phiIn));
}

double element(double e) { return std::cos(e); }

// Exactly on a shadow boundary the two halves of the formula are 0/0; the field
// is continuous there, so a direction a hair away gives it.
double offBoundary(double e) {
    constexpr double nudge = 1e-9;
    if (std::fabs(e - kAlpha) < nudge) return kAlpha + nudge;
    if (std::fabs(e + kAlpha) < nudge) return -kAlpha + nudge;
    return e;
}

}  // namespace

cd VorAntennaPattern(double wavelengthM, double elevationRad) {
    const double e = offBoundary(std::fmax(-kPi / 2.0, std::fmin(kPi / 2.0, elevationRad)));
    const double k = 2.0 * kPi / wavelengthM;
    const double sinE = std::sin(e), cosE = std::cos(e);
    cd total(0, 0);
    // Geometrical optics, phases as path lengths beyond the antenna (e^{-jk path}).
    if (e > -kAlpha) total += element(e);
    if (e > kAlpha) total -= element(e) * std::exp(cd(0, -k * 2.0 * kH * sinE));
    // Edge rays: the incident field reaches either edge at depression alpha.
    const double incident = element(kAlpha) / std::sqrt(kS);
    const double phiNear = kPi - e;
    const double phiFar = e >= 0 ? e : 2.0 * kPi + e;
    total += incident * softDiffraction(phiNear, kAlpha, kS, k) * std::exp(cd(0, -k * (kS - kA * cosE + kH * sinE)));
    total += incident * softDiffraction(phiFar, kAlpha, kS, k) * std::exp(cd(0, -k * (kS + kA * cosE + kH * sinE)));
    // The engine's models write outgoing waves as e^{+jkr}.
    return std::conj(total);
}

cd VorAntennaField(double wavelengthM, double distanceM, double elevationRad) {
    const double k = 2.0 * kPi / wavelengthM;
    const double amplitude = std::sqrt(kImpedance * kElementGain / (4.0 * kPi)) / distanceM;
    return amplitude * VorAntennaPattern(wavelengthM, elevationRad) * std::exp(cd(0, k * distanceM));
}

}  // namespace crv::engine
