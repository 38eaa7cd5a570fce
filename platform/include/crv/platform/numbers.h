#pragma once
// Numbers in data files are parsed and printed independent of the process
// locale: a German desktop must read "101.500" as 101.5, not 101.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace crv::platform {

// Trims blanks and tabs on both sides.
std::string_view trimBlanks(std::string_view text);
std::string_view trimRight(std::string_view text);

// A real number in any of the forms Fortran-era files hold: "12", "-1.5", "+3",
// ".5", "5.", "1E3", "1.5D-2". Surrounding blanks are ignored. Returns nullopt
// for an empty field or anything that is not wholly a number.
std::optional<double> parseReal(std::string_view text);
// A whole number with optional sign; "+5", " -12 ". nullopt when not wholly one.
std::optional<long long> parseInteger(std::string_view text);

// Fixed columns (1-based, inclusive) of a line; columns past the end read as
// blanks, so a short line never reads out of bounds.
std::string_view columns(std::string_view line, int first, int last);

// Free-format splitting: numbers separated by blanks, tabs or commas.
std::vector<std::string_view> splitFreeFormat(std::string_view line);

// "%.*f" without the locale. Negative zero prints as "-0.00" like C does.
std::string formatFixed(double value, int decimals);
// Shortest text that reads back to the same double ("0.1", "1e+40").
std::string formatShortest(double value);
std::string formatShortest(float value);

}  // namespace crv::platform
