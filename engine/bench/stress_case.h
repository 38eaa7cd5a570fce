#pragma once
// The benchmark's stress case: an ILS with the expanded service volume on a
// 500 ft horizontal grid, 300 FM stations around it of which 30 are
// proponents, two- and three-signal intermodulation on, ICAO 1998 receiver
// criteria. Invented from a fixed seed: every run writes the same bytes.
#include <string>

namespace crv::bench {

inline constexpr int kStressStations = 300;
inline constexpr int kStressProponents = 30;

// Writes the case copy "Rfi.plt" into the run folder (which must exist).
bool writeStressCase(const std::string& runFolder);

}  // namespace crv::bench
