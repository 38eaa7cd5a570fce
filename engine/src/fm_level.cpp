#include "fm_level.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <string>

#include "failure.h"
#include "geodesy.h"
#include "vertical_gain_table.h"

namespace crv::engine {

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kFtPerNmi = 6076.115;
constexpr double kTiny = 1e-12;
constexpr double kMinDistanceNmi = 0.00001;
// General assessment method distances: 12 km on course, 150 m and 300 m.
constexpr double kOnCourseRangeNmi = 6.4794817;
constexpr double kOnCourseHalfWidthDeg = 7.5;
constexpr double kOnCourseMinimumNmi = 0.0809935182;
constexpr double kOffCourseMinimumNmi = 0.161987036;

// Rounding half away from zero, as the tables are indexed.
int nearest(double v) { return static_cast<int>(std::round(v)); }

// Linear interpolation over 37 points spaced `step` apart, the last point for
// anything at or beyond it; the result floored before it becomes dB.
double patternGainDb(const Pattern& p, double angle, double step) {
    const double t = angle / step;
    double value;
    if (!(t < 36.0)) {
        value = p.values[36];
    } else {
        const auto k = static_cast<std::size_t>(std::max(t, 0.0));
        value = p.values[k] + (t - static_cast<double>(k)) * (p.values[k + 1] - p.values[k]);
    }
    return 20.0 * std::log10(std::max(value, kTiny));
}

const Pattern& loadedPattern(const Pattern& p, const char* routine, const std::string& what) {
    if (!p.loaded) fail(routine, "The " + what + " has not been read.");
    return p;
}

}  // namespace

double FMHorGain(const PatternTables& patterns, int patternNumber, double relativeAzimuthDeg) {
    if (patternNumber < 1 || patternNumber > 25) fail("FMHorGain      ", "Invalid FM horizontal pattern number");
    const Pattern& p = loadedPattern(patterns.fmHorizontal[static_cast<std::size_t>(patternNumber)], "FMHorGain      ",
                                     "FM horizontal pattern " + std::to_string(patternNumber));
    double a = relativeAzimuthDeg;
    // A rotation outside 0..360 would otherwise index outside the pattern.
    if (!(a >= 0.0 && a <= 360.0)) a = WrapAng(a, 0.0, 360.0);
    return patternGainDb(p, a, 10.0);
}

double FMVrtGain(const PatternTables& patterns, int elementType, double distanceNmi, double heightDifferenceNmi,
                 double frequencyMHz) {
    const double thetaDeg = std::atan2(heightDifferenceNmi, distanceNmi) * 180.0 / kPi;
    const int t = elementType;
    if (t == 0) return verticalGainDb(std::abs(nearest(2.0 * thetaDeg)), 9);
    if (t >= 1 && t <= 54) {
        const int column = (t + 2) / 3;
        const int shift = (t + 2) % 3;  // beam tilt in half degrees
        int row = std::abs(nearest(2.0 * thetaDeg + shift));
        if (row > 180) row = 360 - row;
        return verticalGainDb(row, column);
    }
    if (t == 55) return 0.0;
    if (t == 56) {
        const Type56Row r = elementType56Row(std::abs(nearest(2.0 * thetaDeg)));
        return (frequencyMHz - 112.0) * r.slopeDbPerMHz + r.valueAt112MHzDb;
    }
    if (t == 57) {
        // Half-wave dipole 40 ft over ground.
        const double phi = (90.0 - thetaDeg) * kPi / 180.0;
        const double g = std::max(std::cos(kPi / 2.0 * std::cos(phi)) / std::sin(phi), kTiny);
        const double dipoleDb = 20.0 * std::log10(g);
        constexpr double antennaM = 12.192;
        const double dm = distanceNmi * 1852.0;
        const double z = heightDifferenceNmi * 1852.0 + antennaM - std::pow(dm / 4100.0, 2);
        const double r1 = std::hypot(dm, z - antennaM);
        const double r2 = std::hypot(dm, z + antennaM);
        const double lambda = 299792458.0 / (frequencyMHz * 1e6);
        const double ground = std::max(1.0 - std::cos(2.0 * kPi * (r2 - r1) / lambda), kTiny);
        return dipoleDb + 10.0 * std::log10(ground);
    }
    if (t >= 58 && t <= 63) {
        const int n = t - 57;
        const Pattern& p = loadedPattern(patterns.fmVertical[static_cast<std::size_t>(n)], "FMVrtGain      ",
                                         "FM vertical pattern " + std::to_string(n));
        return patternGainDb(p, std::fabs(thetaDeg), 2.5);
    }
    fail("FMVrtGain      ", "Invalid radiating element type");
}

namespace {
// Added to every bound: the gains are sums and logarithms of at most a few
// roundings, each some 1e-16 relative, far below this.
constexpr double kBoundMarginDb = 1e-9;
constexpr double kInfinity = std::numeric_limits<double>::infinity();

// The largest of 20 log10(value) over pattern values [first, last].
double patternBoundDb(const Pattern& p, std::size_t first, std::size_t last) {
    double largest = kTiny;
    for (std::size_t k = first; k <= last && k < p.values.size(); ++k) largest = std::max(largest, p.values[k]);
    return 20.0 * std::log10(largest) + kBoundMarginDb;
}
}  // namespace

double FMVrtGainBound(const PatternTables& patterns, int elementType, double lowDeg, double highDeg,
                      double frequencyMHz) {
    if (!(lowDeg <= highDeg) || !std::isfinite(frequencyMHz)) return kInfinity;
    lowDeg = std::clamp(lowDeg, -90.0, 90.0);
    highDeg = std::clamp(highDeg, -90.0, 90.0);
    const int t = elementType;
    // The rows FMVrtGain reads for angles in the range: nearest() is monotonic,
    // so the row before the fold runs from the low end's to the high end's.
    const auto largestOverRows = [&](int shift, auto&& gainOfRow) {
        double largest = -kInfinity;
        for (int k = nearest(2.0 * lowDeg + shift); k <= nearest(2.0 * highDeg + shift); ++k) {
            int row = std::abs(k);
            if (row > 180) row = 360 - row;
            largest = std::max(largest, gainOfRow(std::clamp(row, 0, 180)));
        }
        return largest;
    };
    if (t == 0) return largestOverRows(0, [](int row) { return verticalGainDb(row, 9); });
    if (t >= 1 && t <= 54) {
        const int column = (t + 2) / 3;
        return largestOverRows((t + 2) % 3, [&](int row) { return verticalGainDb(row, column); });
    }
    if (t == 55) return 0.0;
    if (t == 56) {
        return largestOverRows(0, [&](int row) {
            const Type56Row r = elementType56Row(row);
            return (frequencyMHz - 112.0) * r.slopeDbPerMHz + r.valueAt112MHzDb;
        });
    }
    // The dipole's own factor is at most 1 (0 dB), the ground's at most 2.
    // Straight above or below the antenna the factor's formula divides a
    // rounding error by almost nothing: no bound there.
    if (t == 57) return std::max(-lowDeg, highDeg) > 89.99 ? kInfinity : 10.0 * std::log10(2.0) + kBoundMarginDb;
    if (t >= 58 && t <= 63) {
        const Pattern& p = patterns.fmVertical[static_cast<std::size_t>(t - 57)];
        if (!p.loaded) return kInfinity;
        // |angle| / 2.5 runs over [low, high] of these; interpolation stays
        // between the two points either side.
        const double a0 = lowDeg <= 0.0 && highDeg >= 0.0 ? 0.0 : std::min(std::fabs(lowDeg), std::fabs(highDeg));
        const double a1 = std::max(std::fabs(lowDeg), std::fabs(highDeg));
        const auto first = static_cast<std::size_t>(std::min(36.0, std::floor(a0 / 2.5)));
        const auto last = static_cast<std::size_t>(std::min(36.0, std::floor(a1 / 2.5) + 1.0));
        return patternBoundDb(p, first, last);
    }
    return kInfinity;
}

double FMHorGainBound(const PatternTables& patterns, int patternNumber) {
    if (patternNumber == 0) return 0.0;
    if (patternNumber < 1 || patternNumber > 25) return kInfinity;
    const Pattern& p = patterns.fmHorizontal[static_cast<std::size_t>(patternNumber)];
    if (!p.loaded) return kInfinity;
    return patternBoundDb(p, 0, 36);
}

double FMLevel(const EngineState& state, int slot, double baseLevelDb, double distanceNmi, double azimuthDeg,
               const ReceiverPoint& point) {
    const Station& st = state.slot(slot);
    double d = std::max(distanceNmi, kMinDistanceNmi);
    const double dh = (point.altitudeFt - st.antennaElevationFt) / kFtPerNmi;
    double gv = FMVrtGain(state.patterns, st.elementType, d, dh, st.frequencyMHz);
    double gh = 0.0;
    if (st.horizontalPattern != 0) {
        double a = azimuthDeg - st.rotationDeg;
        if (a < 0) a += 360.0;
        gh = FMHorGain(state.patterns, st.horizontalPattern, a);
    }
    const int svType = state.navaid.serviceVolumeType;
    if (state.options.gridType == 12 && svType >= 0 && svType <= 4) {
        const double offCourse = WrapAng(point.azimuthDeg - state.navaid.runwayHeadingDeg, -180.0, 180.0);
        const bool onCourse =
            point.distanceNmi <= kOnCourseRangeNmi && std::fabs(offCourse) <= kOnCourseHalfWidthDeg;
        if (point.id == 0) {
            d = std::max(d, onCourse ? kOnCourseMinimumNmi : kOffCourseMinimumNmi);
        } else if (point.id == slot && onCourse) {
            // The station's own column on the course: assessed at 150 m with
            // no antenna discrimination.
            d = kOnCourseMinimumNmi;
            gv = 0.0;
            gh = 0.0;
        }
    }
    return baseLevelDb - 20.0 * std::log10(std::sqrt(d * d + dh * dh)) + gv + gh;
}

}  // namespace crv::engine
