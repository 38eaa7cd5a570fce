#pragma once
// The navaid's desired-signal level at a receiver position: the localizer
// model (service-volume types 0..4), the VOR model (5..7) and the COM model (8).
// Pure functions of their arguments and the case: any number of threads may
// call them at once.
//
// Every model returns the level in dBm minus the antenna rejection at the
// navaid frequency. An array type that does not belong to the model of the
// service-volume type is refused, never answered with another model's level.
#include <string>

#include "state.h"

namespace crv::engine {

// Constant levels of array type 1, and the floors applied when the case
// observes the ICAO minimum.
inline constexpr double kLocalizerMinimumDbm = -86.0;
inline constexpr double kVorMinimumDbm = -79.0;
inline constexpr double kComMinimumDbm = -87.0;

// Empty when `arrayType` belongs to the model that serves `serviceVolumeType`;
// otherwise the message that refuses the pair (it names both codes).
std::string navaidModelMismatch(int arrayType, int serviceVolumeType);

// distanceNmi: horizontal distance from the navaid; heightFt: receiver height
// above mean sea level; relativeAzimuthDeg: azimuth relative to the course.
// The localizer's type 35 uses the localizer-to-threshold distance, which the
// receiver grid stores in navaid.runwayLengthFt before it computes levels.
double LocalizerLevel(const EngineState& state, double distanceNmi, double relativeAzimuthDeg, double heightFt,
                      double antennaRejectionDb);
double VorLevel(const EngineState& state, double distanceNmi, double heightFt, double antennaRejectionDb);
double ComLevel(const EngineState& state, double distanceNmi, double heightFt, double antennaRejectionDb);

// Array gain and pattern gain (dB) of a localizer array at |relative azimuth|:
// the built-in arrays 2..31 and the user's pattern "LocHor.pat" (38).
struct ArrayGains {
    double arrayDb;
    double patternDb;
};
ArrayGains localizerArrayPattern(const EngineState& state, int arrayType, double offCourseDeg);

// The model of the case's service-volume type.
double NavaidLevel(const EngineState& state, double distanceNmi, double relativeAzimuthDeg, double heightFt,
                   double antennaRejectionDb);

}  // namespace crv::engine
