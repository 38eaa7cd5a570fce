#pragma once
#include <complex>

namespace crv::engine {

// The VOR antenna: a horizontally polarised, azimuth-omnidirectional radiator
// 1.2192 m (4 ft) above a circular counterpoise of radius 7.9248 m (26 ft).
// Returns the complex field (V/m for 1 W radiated, phase e^{+jkr}) at distance
// r (m) from the antenna and elevation angle e (radians, -pi/2..pi/2, negative
// below the horizon) for the wavelength in metres.
std::complex<double> VorAntennaField(double wavelengthM, double distanceM, double elevationRad);

// The elevation pattern alone, relative to the antenna's own element in free
// space on its horizon (far-field, phase referred to the antenna).
std::complex<double> VorAntennaPattern(double wavelengthM, double elevationRad);

// Geometry, for tests and the report.
inline constexpr double kVorCounterpoiseHeightM = 1.2192;
inline constexpr double kVorCounterpoiseRadiusM = 7.9248;
inline constexpr double kVorEdgeDistanceM = 8.01803615;  // antenna to counterpoise edge
inline constexpr double kVorEdgeAngleRad = 0.1526493284; // edge seen below the horizon

}  // namespace crv::engine
