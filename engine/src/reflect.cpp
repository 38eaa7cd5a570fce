#include "reflect.h"

#include <cmath>

namespace crv::engine {

namespace {
constexpr double kPi = 3.14159265358979323846;
constexpr double kEpsilon0 = 8.85418781762e-12;
}  // namespace

std::complex<double> Reflect(double grazingAngleRad, double frequencyHz, double relativePermittivity,
                             double conductivitySm) {
    const double psi = std::fabs(grazingAngleRad);
    const std::complex<double> epsC(relativePermittivity, -conductivitySm / (2.0 * kPi * frequencyHz * kEpsilon0));
    const double cosPsi = std::cos(psi);
    const double sinPsi = std::sin(psi);
    const std::complex<double> root = std::sqrt(epsC - cosPsi * cosPsi);
    return (sinPsi - root) / (sinPsi + root);
}

}  // namespace crv::engine
