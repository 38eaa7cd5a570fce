#pragma once
// Latitude/longitude texts. Values are decimal degrees, latitude positive
// north, longitude positive west. Display codes:
//   0 (and any code but 1-3)  the signed data-file field: degrees right-aligned
//                             in 3 (latitude) or 4 (longitude) characters, a
//                             blank, 2-digit minutes, a blank, 2-digit seconds;
//   1  hemisphere, degrees, minutes, seconds   "N 38° 30' 00\""
//   2  hemisphere, decimal degrees              "W 077.2500°"
//   3  hemisphere, degrees, decimal minutes     "W 077° 15.00'"
// Texts are Windows-1252 like every text of the system, so the degree sign is
// the single byte 0xB0 (kDegreeSign); the reader also accepts the UTF-8 form.
#include <string>
#include <string_view>

namespace crv::formats {

inline constexpr char kDegreeSign = '\xB0';
inline constexpr const char* kDegreeText = "\xB0";

// kind 1 formats a latitude, any other kind a longitude.
std::string FormatLatLon(double value, int kind, int fmt);

// Reads every text FormatLatLon writes, and the data-file field: a first
// character "-", "S" or "E" (either case) makes the value negative, "N" or "W"
// positive; then degrees, minutes and seconds separated by blanks or the
// degree, minute and second signs. "-0 30 00" is -0.5. Empty text gives 0.
double ParseLatLon(std::string_view text);

// Degrees, minutes and seconds as three texts; the sign comes from the degree
// text alone, so "-0", "30", "0" is -0.5 and "-12", "30", "0" is -12.5.
double DmsToDegrees(std::string_view degrees, std::string_view minutes, std::string_view seconds);

}  // namespace crv::formats
