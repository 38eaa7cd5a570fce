#pragma once
// The numbers and fields of the system's files and texts, each written once
// and independent of the process locale: a data file, a screen text or a
// message reads the same on every desktop, whatever LC_ALL or LC_NUMERIC the
// user runs with. Two families of fixed fields live here because the files
// hold both: the programs' fields (FormatField: the shortest decimal text
// rounded half away from zero, cut to its width) and the engine's report
// fields (fixedField: the exact binary value rounded, asterisks when it does
// not fit).
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace crv::formats {

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

// printf's "%.*g" without the locale: `precision` significant digits, the
// shortest of fixed and exponent form, trailing zeros dropped ("1e+300").
std::string formatG(double value, int precision = 6);

// The value with `decimals` decimals (halves away from zero on the shortest
// decimal text), right-aligned with blanks to `width`; a longer text keeps only
// its first `width` characters, as the fixed columns of the data files demand.
std::string FormatField(double value, int width, int decimals);

// The engine's F field: right-aligned in `width` columns, the exact binary
// value rounded with halves away from zero, no minus sign on a value that
// rounds to zero, the leading zero of "0.5" dropped when the field is too
// narrow for it, and `width` asterisks when the value does not fit.
std::string fixedField(double value, int width, int decimals);

// Degrees, minutes and seconds to decimal degrees, signed by the degrees.
// `negative` carries a sign written in the degrees text when the degrees are
// zero ("-0" for a position less than one degree south or east).
double DMS2Deg(std::int32_t degrees, std::int32_t minutes, std::int32_t seconds, bool negative = false);

// A real field as the facility databases hold it: when the text has no
// decimal point, its last `impliedDecimals` digits are the fraction ("1081"
// with one implied decimal is 108.1). The text must already be a number.
double withImpliedDecimals(double value, std::string_view text, int impliedDecimals);

// The value of the decimal digits at the start of the text, up to the first
// character that is not a digit; 0 when it starts with anything else (a blank,
// a sign). `found` tells whether any digit was read.
std::int32_t LeadingInt(std::string_view text, bool* found = nullptr);

// Skips leading delimiter characters, returns the characters up to the next
// delimiter and leaves in `text` what follows that delimiter. An empty or
// all-delimiter text gives "" and leaves "".
std::string NextToken(std::string_view delimiters, std::string& text);

// Trims the line and splits it at `delimiter` into at most `maxCount` fields,
// each right-trimmed; blanks after a delimiter are skipped.
std::vector<std::string> SplitFields(std::string_view line, std::string_view delimiter, int maxCount);

}  // namespace crv::formats
