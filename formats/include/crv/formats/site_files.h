#pragma once
// The user folder's site files: radiation patterns (".pat"), the antenna and
// receiver calibration tables (".cal") and receiver test points (".pts").
#include <cstddef>

namespace crv::formats {

// Bounds of the files, generous beside what the editors write (a file of
// empty lines costs a string per line, so text bounds stay small).
inline constexpr std::size_t kSiteFileMaxBytes = std::size_t(1) << 20;    // ".pat", ".cal": 39 short lines
inline constexpr std::size_t kPointsFileMaxBytes = std::size_t(1) << 20;  // ".pts": 5000 points of ~30 bytes

}  // namespace crv::formats
