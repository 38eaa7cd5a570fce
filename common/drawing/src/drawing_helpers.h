#pragma once
// Small number helpers the drawing layer needs. They belong with the shared
// formatting functions and are kept private here until they move there.
#include <string>

namespace crv::common::detail {

// Subtracts 360 while the angle is at least high, then adds 360 while it is
// below low.
double wrapAngle(double angle, double low, double high);

// A number in the "#,##0" form, extended by "." and `decimals` zeros: thousands
// separated by commas, at least one digit before the point, rounded to the
// decimals shown. Never "-0": a value that rounds to zero shows unsigned.
std::string formatGrouped(double value, int decimals);

// The whole number nearest to the value, halves to even, as text.
std::string formatWhole(double value);

}  // namespace crv::common::detail
