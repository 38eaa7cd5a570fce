#include "localizer_pattern_table.h"

#include <array>
#include <cmath>
#include <stdexcept>

namespace crv::engine {

namespace {

constexpr int kTypes = kLastTableArrayType - kFirstTableArrayType + 1;  // 30

constexpr std::array<double, kTypes> kArrayGainDb = {
    4.0,  12.0, 14.0, 17.0, 17.0, 20.0, 23.0, 17.0, 17.0, 17.0, 12.0, 12.0, 12.0, 16.0, 17.0,
    14.0, 16.0, 12.0, 12.5, 16.5, 13.5, 15.7, 10.2, 24.6, 26.2, 21.4, 24.6, 15.0, 24.6, 27.6};

// The published rows of every array's pattern: 0 dB on the course, and the
// values 10, 90 and 180 degrees off it.
constexpr std::array<double, kTypes> kAt10 = {-0.1,  -5.4,  -2.9,  -11.7, -4.0,  -11.8, -12.0, -6.8,
                                              -15.5, -10.4, -9.1,  -9.1,  -9.8,  -11.6, -10.5, -7.1,
                                              -8.4,  -10.2, -4.1,  -14.0, -14.1, -16.7, -6.1,  -12.4,
                                              -11.2, -3.0,  -12.0, -12.1, -13.8, -10.6};
constexpr std::array<double, kTypes> kAt90 = {-4.9,  -20.0, -26.0, -26.0, -26.0, -26.0, -26.0, -26.0,
                                              -16.8, -31.4, -15.9, -14.1, -25.0, -12.0, -12.0, -20.0,
                                              -9.0,  -20.0, -25.0, -50.0, -50.0, -41.5, -32.1, -54.2,
                                              -54.1, -60.0, -60.0, -68.4, -90.0, -90.0};
constexpr std::array<double, kTypes> kAt180 = {0.0,   -6.5,  -22.1, -26.0, -20.1, -26.0, -26.0, -23.2,
                                               -6.3,  -16.9, -10.0, -8.9,  -7.6,  -12.0, -12.0, -20.0,
                                               -9.0,  -20.0, 0.0,   -19.4, 0.0,   -10.0, 0.0,   -27.0,
                                               -27.0, -60.0, -60.0, -8.0,  -26.0, -26.0};

// The rows between the published ones are not known; they follow a monotone
// piecewise-cubic curve in dB through the four published points (the
// Fritsch-Carlson construction): smooth, never overshooting a published value,
// and falling or rising steadily between two of them. Values are kept to one
// decimal like the published rows.
std::array<double, 181> interpolateRows(const std::array<double, 4>& x, const std::array<double, 4>& y) {
    std::array<double, 3> h{}, delta{};
    for (int i = 0; i < 3; ++i) {
        h[i] = x[i + 1] - x[i];
        delta[i] = (y[i + 1] - y[i]) / h[i];
    }
    std::array<double, 4> m{};
    m[0] = delta[0];
    m[3] = delta[2];
    for (int i = 1; i < 3; ++i) {
        if (delta[i - 1] * delta[i] <= 0) {
            m[i] = 0;
        } else {
            // Weighted harmonic mean keeps the curve monotone on both sides.
            const double w1 = 2 * h[i] + h[i - 1];
            const double w2 = h[i] + 2 * h[i - 1];
            m[i] = (w1 + w2) / (w1 / delta[i - 1] + w2 / delta[i]);
        }
    }
    // End slopes: the one-sided three-point estimate, kept no steeper than
    // monotonicity allows.
    auto endSlope = [](double h0, double h1, double d0, double d1) {
        double s = ((2 * h0 + h1) * d0 - h0 * d1) / (h0 + h1);
        if (s * d0 <= 0) return 0.0;
        if (d0 * d1 <= 0 && std::fabs(s) > std::fabs(3 * d0)) return 3 * d0;
        return s;
    };
    m[0] = endSlope(h[0], h[1], delta[0], delta[1]);
    m[3] = endSlope(h[2], h[1], delta[2], delta[1]);

    std::array<double, 181> rows{};
    for (int deg = 0; deg <= 180; ++deg) {
        int i = deg < 10 ? 0 : (deg < 90 ? 1 : 2);
        const double t = (deg - x[i]) / h[i];
        const double t2 = t * t, t3 = t2 * t;
        const double v = (2 * t3 - 3 * t2 + 1) * y[i] + (t3 - 2 * t2 + t) * h[i] * m[i] +
                         (-2 * t3 + 3 * t2) * y[i + 1] + (t3 - t2) * h[i] * m[i + 1];
        rows[static_cast<std::size_t>(deg)] = std::round(v * 10.0) / 10.0;
    }
    rows[0] = y[0];
    rows[10] = y[1];
    rows[90] = y[2];
    rows[180] = y[3];
    return rows;
}

using Table = std::array<std::array<double, 181>, kTypes>;

Table buildTable() {
    Table t{};
    for (int k = 0; k < kTypes; ++k) {
        const auto i = static_cast<std::size_t>(k);
        t[i] = interpolateRows({0.0, 10.0, 90.0, 180.0}, {0.0, kAt10[i], kAt90[i], kAt180[i]});
    }
    return t;
}

std::size_t typeIndex(int arrayType) {
    if (arrayType < kFirstTableArrayType || arrayType > kLastTableArrayType)
        throw std::out_of_range("localizer array type without a built-in pattern");
    return static_cast<std::size_t>(arrayType - kFirstTableArrayType);
}

}  // namespace

double localizerPatternDb(int arrayType, int degree) {
    static const Table table = buildTable();
    if (degree < 0 || degree > 180) throw std::out_of_range("localizer pattern degree");
    return table[typeIndex(arrayType)][static_cast<std::size_t>(degree)];
}

double localizerArrayGainDb(int arrayType) { return kArrayGainDb[typeIndex(arrayType)]; }

}  // namespace crv::engine
