#pragma once
// The built-in horizontal patterns and gains of the localizer antenna arrays
// (array types 2..31). Built once on first use, read-only afterwards.
namespace crv::engine {

inline constexpr int kFirstTableArrayType = 2;
inline constexpr int kLastTableArrayType = 31;

// Relative pattern gain in dB of array type 2..31 at whole degree 0..180 off
// the course.
double localizerPatternDb(int arrayType, int degree);

// Array gain in dB of array type 2..31.
double localizerArrayGainDb(int arrayType);

}  // namespace crv::engine
