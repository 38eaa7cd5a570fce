#include "vertical_gain_table.h"

#include <array>
#include <cmath>
#include <stdexcept>

namespace crv::engine {

namespace {

constexpr double kPi = 3.14159265358979323846;

// Columns 1..18 are stacked arrays of N bays at a spacing of one or one half
// wavelength, each bay with a cos(elevation) element pattern: the array factor
// |sin(N x) / (N sin x)| with x = pi s sin(elevation). This law reproduces
// every value of the published table to its one decimal.
constexpr std::array<int, 18> kBays = {1, 2, 3, 3, 4, 4, 5, 5, 6, 6, 8, 8, 10, 10, 12, 12, 14, 14};
constexpr std::array<double, 18> kSpacingWavelengths = {1.0, 1.0, 1.0, 0.5, 1.0, 0.5, 1.0, 0.5, 1.0,
                                                        0.5, 1.0, 0.5, 1.0, 0.5, 1.0, 0.5, 1.0, 0.5};
constexpr double kNullFloorDb = -99.0;
constexpr double kColumn19FloorDb = -99.9;

double roundTenth(double v) { return std::round(v * 10.0) / 10.0; }

double arrayColumnDb(int column, double elevationDeg) {
    const double theta = elevationDeg * kPi / 180.0;
    const int n = kBays[static_cast<std::size_t>(column - 1)];
    const double x = kPi * kSpacingWavelengths[static_cast<std::size_t>(column - 1)] * std::sin(theta);
    // At x = 0 (and at a grating lobe) the array factor is 1.
    const double sx = std::sin(x);
    const double factor = std::fabs(sx) < 1e-12 ? 1.0 : std::fabs(std::sin(n * x) / (n * sx));
    const double field = factor * std::cos(theta);
    if (!(field > 0)) return kNullFloorDb;
    return std::fmax(roundTenth(20.0 * std::log10(field)), kNullFloorDb);
}

// Column 19 has no published values between its ends (0 dB at the horizon,
// -99.9 dB at the zenith). It is taken as a single bay: the cos(elevation)
// element pattern the array columns are built on, smooth from one end to the
// other.
double column19Db(double elevationDeg) {
    const double field = std::cos(elevationDeg * kPi / 180.0);
    if (!(field > 1e-5)) return kColumn19FloorDb;
    return std::fmax(roundTenth(20.0 * std::log10(field)), kColumn19FloorDb);
}

using Table = std::array<std::array<double, kVerticalGainColumns + 1>, kVerticalGainRows>;

Table buildTable() {
    Table t{};
    for (int row = 0; row < kVerticalGainRows; ++row) {
        const double elevationDeg = row * 0.5;
        auto& r = t[static_cast<std::size_t>(row)];
        for (int c = 1; c <= 18; ++c) r[static_cast<std::size_t>(c)] = arrayColumnDb(c, elevationDeg);
        r[19] = column19Db(elevationDeg);
        if (row == 0)
            for (auto& v : r) v = 0.0;
        if (row == kVerticalGainRows - 1) {
            for (int c = 1; c <= 18; ++c) r[static_cast<std::size_t>(c)] = kNullFloorDb;
            r[19] = kColumn19FloorDb;
        }
    }
    return t;
}

// Element type 56: only rows 0..2 are published (A = 0.101, 0.101, 0.100 dB per
// MHz; B = -41.46, -20.96, -15.56 dB at 112 MHz). The rest continues them
// smoothly with a plausible shape: a pattern with a deep null at the horizon
// that rises like the field of an up-tilted element,
//   B = 10 log10(g^2 / (1 + g^2)) + 20 log10(cos elevation),  g = c sin(elevation),
// with c chosen so the curve passes through the value at 1 degree, and a slope
// that eases slowly from 0.100 dB per MHz towards the zenith.
struct Type56Table {
    std::array<Type56Row, kVerticalGainRows> rows{};
};

Type56Table buildType56() {
    Type56Table t;
    const double at1 = -15.56;
    const double ratio = std::pow(10.0, at1 / 10.0) / std::pow(std::cos(kPi / 180.0), 2.0);
    const double g1 = std::sqrt(ratio / (1.0 - ratio));
    const double c = g1 / std::sin(kPi / 180.0);
    for (int row = 0; row < kVerticalGainRows; ++row) {
        const double theta = row * 0.5 * kPi / 180.0;
        const double g = c * std::sin(theta);
        const double cosine = std::cos(theta);
        double b = cosine > 1e-6 ? 10.0 * std::log10(g * g / (1.0 + g * g)) + 20.0 * std::log10(cosine)
                                 : kNullFloorDb;
        b = std::fmax(std::round(b * 100.0) / 100.0, kNullFloorDb);
        const double a = std::round(1000.0 * 0.100 * std::pow(std::cos(theta / 2.0), 2.0)) / 1000.0;
        t.rows[static_cast<std::size_t>(row)] = {a, b};
    }
    t.rows[0] = {0.101, -41.46};
    t.rows[1] = {0.101, -20.96};
    t.rows[2] = {0.100, -15.56};
    return t;
}

}  // namespace

double verticalGainDb(int row, int column) {
    static const Table table = buildTable();
    if (row < 0 || row >= kVerticalGainRows || column < 1 || column > kVerticalGainColumns)
        throw std::out_of_range("vertical gain table index");
    return table[static_cast<std::size_t>(row)][static_cast<std::size_t>(column)];
}

Type56Row elementType56Row(int row) {
    static const Type56Table table = buildType56();
    if (row < 0 || row >= kVerticalGainRows) throw std::out_of_range("element type 56 table index");
    return table.rows[static_cast<std::size_t>(row)];
}

}  // namespace crv::engine
