#pragma once
// Reading a text file of the system whole. Only a regular file is read (a
// folder, FIFO or device is refused before a byte is read, so nothing waits or
// streams forever), and never more bytes than its format can hold: a file past
// that bound is refused from its size, before it is read, instead of filling
// memory. Each format unit states its bound from what the system writes.
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "crv/platform/expected.h"

namespace crv::formats {

// The lines of a text, CR LF or LF; a last line without an ending counts, an
// ending at the very end adds no empty line.
std::vector<std::string> splitLines(std::string_view bytes);

// The lines of a regular file of at most maxBytes. Errors name the path:
// "Could not open PATH: ..." or "Could not read PATH: ...".
crv::platform::Expected<std::vector<std::string>> readFileLines(const std::string& path, std::size_t maxBytes);

}  // namespace crv::formats
