#pragma once
// The engine keeps texts as blank-padded fields of fixed width; in C++ they are
// std::string holding the trimmed text, padded again only where a file layout
// wants the width.
#include <string>
#include <string_view>

namespace crv::engine {

std::string trimRightCopy(std::string_view text);
// The text cut or blank-padded to exactly `width` characters.
std::string padded(std::string_view text, std::size_t width);

// Reads a caller's string argument (NUL-terminated, treated as a field of
// `width` characters). Fails, under the routine's name, when the argument is
// missing or its trimmed text does not fit the field.
std::string argumentText(const char* argument, std::size_t width, std::string_view routine, std::string_view what);

// A folder text ending in "/".
std::string asFolder(std::string_view folder);

}  // namespace crv::engine
