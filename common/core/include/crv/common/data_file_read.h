#pragma once
// Reading the programs' own text files whole. Only a regular file is read (a
// folder, FIFO or device is refused before a byte is read, so nothing waits or
// streams forever), and never more bytes than its format can hold: a file
// past that bound is refused instead of filling memory.
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "crv/platform/expected.h"

namespace crv::common {

// Bounds of the formats, generous beside what the programs write (a file of
// empty lines costs a string per line, so text bounds stay small).
inline constexpr std::size_t kSiteFileMaxBytes = std::size_t(1) << 20;      // ".pat", ".cal": 39 short lines
inline constexpr std::size_t kPointsFileMaxBytes = std::size_t(1) << 20;    // ".pts": 5000 points of ~30 bytes
inline constexpr std::size_t kCaseFileMaxBytes = std::size_t(4) << 20;      // case data and search plot files
inline constexpr std::size_t kReportMaxBytes = std::size_t(256) << 20;      // "Rfi.txt" of a large run
inline constexpr std::size_t kPlotFileMaxBytes = std::size_t(512) << 20;    // ".plt"/".plx" with their points

// The lines of a text, CR LF or LF; a last line without an ending counts, an
// ending at the very end adds no empty line.
std::vector<std::string> splitLines(std::string_view bytes);

// The lines of a regular file of at most maxBytes. Errors name the path:
// "Could not open PATH: ..." or "Could not read PATH: ...".
crv::platform::Expected<std::vector<std::string>> readFileLines(const std::string& path, std::size_t maxBytes);

}  // namespace crv::common
