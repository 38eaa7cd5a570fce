#pragma once
// Number and position helpers of the editors and viewers. Positions on the
// screens are flat-earth x east / y north in nautical miles; bearings are
// degrees clockwise from true north.
namespace crv::common {

inline constexpr double kPi = 3.14159265358979;
inline constexpr double kDegreesPerRadian = 57.2957795130823;

double MaxOf(double a, double b);  // a when a >= b
double MinOf(double a, double b);  // a when a <= b
// Angle of (x, y) in radians in (-pi, pi], with pi as the programs spell it.
double Atan2(double y, double x);

// Steps of 360 until lo <= angle < hi (first down while angle >= hi, then up
// while angle < lo). Huge angles are reduced in one step, so the call always
// ends; a non-finite angle comes back unchanged (NaN stays NaN).
float WrapAngle(float angle, float lo, float hi);

// Range and bearing (clockwise from north) of the point x east, y north.
void XYToRangeBearing(float x, float y, float& range, float& bearing);

}  // namespace crv::common
