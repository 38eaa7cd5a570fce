#pragma once
// The benchmark's cases: an ILS with the expanded service volume on a
// horizontal grid, FM stations around it of which every tenth is a proponent,
// two- and three-signal intermodulation on, ICAO 1998 receiver criteria.
// Invented from a fixed seed: every run writes the same bytes.
//
// - stress: 300 stations (30 proponents), 500 ft grid (about 36,000 points);
// - largest: 1,280 stations (128 proponents), 300 ft grid (about 100,000
//   points), the largest case the engine takes in practice.
#include <string>

namespace crv::bench {

struct BenchCase {
    const char* name;
    int stations;
    int proponents;
    int spacingFt;  // horizontal grid spacing
};

inline constexpr BenchCase kStressCase{"stress", 300, 30, 500};
inline constexpr BenchCase kLargestCase{"largest", 1280, 128, 300};

// Writes the case copy "Rfi.plt" into the run folder (which must exist).
bool writeBenchCase(const std::string& runFolder, const BenchCase& c);

}  // namespace crv::bench
