#pragma once
#include <complex>

namespace crv::engine {

// Ground the navaid models reflect from: relative permittivity and conductivity.
inline constexpr double kGroundPermittivity = 12.0;
inline constexpr double kGroundConductivitySm = 0.003;

// Plane-earth reflection coefficient for horizontal polarisation at grazing
// angle psi (radians; its sign does not matter) and frequency in Hz.
std::complex<double> Reflect(double grazingAngleRad, double frequencyHz, double relativePermittivity,
                             double conductivitySm);

}  // namespace crv::engine
