#pragma once
// The level of one FM station at one receiver point: the caller's base level,
// less the spreading loss over the slant distance, plus the station antenna's
// vertical and horizontal gain towards the point. Pure functions of their
// arguments and the case, safe to call from any number of threads at once.
#include <cstdint>

#include "state.h"

namespace crv::engine {

// A receiver point as the evaluations read it back from the receiver-point
// file: its id (0 serves every station, n ties it to station slot n), distance
// and azimuth from the navaid (receiver-point convention: bearing from the
// point to the navaid) and altitude (ft above mean sea level).
struct ReceiverPoint {
    std::int16_t id = 0;
    double distanceNmi = 0;
    double azimuthDeg = 0;
    double altitudeFt = 0;
};

// Level in dBm of station `slot` (1-based) at `point`, given the station's base
// level term, the horizontal distance from the station to the point (nmi) and
// the azimuth from the station to the point (degrees).
double FMLevel(const EngineState& state, int slot, double baseLevelDb, double distanceNmi, double azimuthDeg,
               const ReceiverPoint& point);

// Gain in dB of FM horizontal pattern `patternNumber` (1..25) at a relative
// azimuth in degrees. Azimuths outside 0..360 are brought into [0, 360) first;
// exactly 360 uses the pattern's last point.
double FMHorGain(const PatternTables& patterns, int patternNumber, double relativeAzimuthDeg);

// Gain in dB of radiating element type 0..63 towards a point at horizontal
// distance d and height difference dh (both nmi) at frequency f (MHz).
double FMVrtGain(const PatternTables& patterns, int elementType, double distanceNmi, double heightDifferenceNmi,
                 double frequencyMHz);

// The largest gain FMVrtGain can give element type `elementType` at any
// elevation angle in [lowDeg, highDeg] (degrees; clamped to -90..90), never
// below what it gives there after rounding; +infinity where no bound is known
// (an invalid type, a pattern not read, a NaN angle).
double FMVrtGainBound(const PatternTables& patterns, int elementType, double lowDeg, double highDeg,
                      double frequencyMHz);

// The largest gain FMHorGain can give pattern `patternNumber` at any azimuth
// (0 for no pattern); +infinity where no bound is known.
double FMHorGainBound(const PatternTables& patterns, int patternNumber);

}  // namespace crv::engine
