#pragma once
// Relative horizontal pattern (dB) of the localizer array types 2..31 at whole
// degrees 0..180 off the course: the artwork of the array-pattern sheet. The
// table is made at build time from the engine's own array models.
namespace crv::editors {
inline constexpr int kFirstArrayType = 2;
inline constexpr int kLastArrayType = 31;
double arrayPatternDb(int arrayType, int degree);
}  // namespace crv::editors
