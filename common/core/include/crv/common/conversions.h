#pragma once
// The number and text conversions the forms run-time gave the programs, each
// written once and independent of the process locale: a data file or a message
// must read the same on every desktop.
#include <cstdint>
#include <string>
#include <string_view>

namespace crv::common {

// The number at the start of a text: leading blanks and tabs skipped, an
// optional sign, digits with at most one decimal point, an optional exponent
// (E or D). 0 when the text does not start with a number. "12abc" gives 12.
double Val(std::string_view text);

// Part of a text from the 1-based position `start`, at most `length`
// characters (all when length < 0). Positions outside the text give "" or the
// part that exists; it never reads out of bounds.
std::string Mid(std::string_view text, int start, int length = -1);

// The text cut or blank-padded on the right to exactly `width` characters
// (a fixed-length string field being assigned).
std::string leftSet(std::string_view text, std::size_t width);

// Rounds to the nearest whole number, halves to the even one (CInt, CLng).
double roundHalfEven(double value);
// CInt: halves to even, clamped to the 16-bit range; a non-finite value gives 0.
std::int16_t toInt16(double value);

// The value with exactly `decimals` decimals and at least `minIntegerDigits`
// digits before the point (zero-padded), rounded half away from zero on the
// shortest decimal text of the value: 2.675 gives "2.68" with 2 decimals,
// although the binary double lies below the half. A result whose digits are
// all zero carries no sign. Non-finite values give "Infinity", "-Infinity" or
// "NaN".
std::string formatDecimal(double value, int decimals, int minIntegerDigits = 1);

// The "#,##0" format extended by "." and `decimals` zeros: thousands
// separated by commas, rounded as formatDecimal rounds; never "-0".
std::string formatGrouped(double value, int decimals);

// General number format: at most `significant` significant digits, trailing
// zeros dropped, exponent form ("1.234568E+07", "1E-05") when the exponent is
// below -4 or reaches `significant`. A single shows 7 significant digits, a
// double 15.
std::string formatGeneral(double value, int significant = 15);
std::string formatGeneral(float value);

// The double whose shortest text is the single's shortest text: 2.675f gives
// 2.675, not 2.6749999523. Rounding a single for display goes through this, so
// what the user typed is what gets rounded.
double singleToDouble(float value);

// Str(x): the general format with a leading blank when x is not negative.
std::string Str(double value);

}  // namespace crv::common
