// The user folder of the sample workspace: radiation patterns, calibration
// tables and receiver test points, in the layouts the editors write.
#include <cmath>

#include "sample_common.h"

namespace crv::sample {

namespace {
constexpr double kPi = 3.14159265358979323846;

std::string padded(std::string text, std::size_t width) {
    text.resize(width, ' ');
    return text;
}

// Kind line: whole numbers with a blank either side, two blanks between fields.
std::string kindLine(int kind, int scale, double gain) {
    return " " + std::to_string(kind) + "    " + std::to_string(scale) + "   " + fixed(gain, 4, 1);
}

std::string point(double x, double v, int valueWidth, int valueDecimals) {
    // The x field is six characters, cut on the right: -101 is "-101.0".
    return fixed(x, 6, 2).substr(0, 6) + "          " + fixed(v, valueWidth, valueDecimals);
}

// percent: relative field in percent, 100 at the maximum; dB when scale is 1.
bool pattern(const std::string& path, const std::string& description, int kind, int scale, double gain,
             double step, double (*relative)(double angle, int variant), int variant) {
    std::vector<std::string> lines{padded(description, 25), kindLine(kind, scale, gain)};
    double maximum = 0;
    for (int k = 0; k <= 36; ++k) maximum = std::max(maximum, relative(k * step, variant));
    for (int k = 0; k <= 36; ++k) {
        const double percent = 100.0 * relative(k * step, variant) / maximum;
        const double value = scale == 1 ? (percent > 0.0001 ? 20.0 * std::log10(percent / 100.0) : -99.99) : percent;
        lines.push_back(point(k * step, value, 8, 3));
    }
    return writeLines(path, lines);
}

double horizontal(double angle, int variant) {
    const double a = angle * kPi / 180.0;
    switch (variant) {
        case 1: return 0.55 + 0.45 * std::cos(a);                        // cardioid toward north
        case 2: return 0.3 + 0.7 * std::fabs(std::cos(a));               // peanut, north-south
        default: return 0.4 + 0.6 * std::pow(std::fabs(std::sin(a)), 2);  // east-west
    }
}

double vertical(double angle, int bays) {
    // A stacked array: main beam at the horizon, nulls above it.
    const double a = angle * kPi / 180.0;
    const double psi = bays * kPi / 2.0 * std::sin(a);
    const double af = std::fabs(psi) < 1e-9 ? 1.0 : std::fabs(std::sin(psi) / (bays * std::sin(psi / bays)));
    return std::max(af * std::cos(a), 0.01);
}

double localizer(double angle, int) {
    const double a = angle * kPi / 180.0;
    return std::max(std::pow(std::cos(a / 2.0), 6.0), 0.003);
}
}  // namespace

bool writeUserFiles(const std::string& folder) {
    bool ok = pattern(folder + "LocHor.pat", "Sample log-periodic array", 3, 1, 14.0, 5.0, localizer, 0);
    ok = ok && pattern(folder + "FmHor01.pat", "Cardioid, north lobe", 1, 0, 0.0, 10.0, horizontal, 1);
    ok = ok && pattern(folder + "FmHor02.pat", "Peanut, north-south", 1, 1, 0.0, 10.0, horizontal, 2);
    ok = ok && pattern(folder + "FmHor03.pat", "Peanut, east-west", 1, 0, 0.0, 10.0, horizontal, 3);
    for (int n = 1; n <= 6 && ok; ++n) {
        const int bays = 2 * n;
        ok = pattern(folder + "FmVrt" + std::to_string(n) + ".pat", std::to_string(bays) + "-bay stacked array",
                     2, n % 2, 0.0, 2.5, vertical, bays);
    }
    if (!ok) return false;

    std::vector<std::string> antenna{padded("Sample airborne antenna", 25), " 4 "};
    for (int f = 88; f <= 136; ++f) antenna.push_back(point(f, 2.0 + 0.25 * std::fabs(f - 112.0), 6, 2));
    std::vector<std::string> receiver{padded("Sample receiver", 25), " 5 "};
    // Data lines: receiver level (dBm), then the interference threshold.
    for (int level = -101; level <= -51; level += 5)
        receiver.push_back(point(level, -12.0 - 0.4 * (level + 101), 8, 2));
    // Range (6 columns, 3 decimals), bearing (6, 1; -180 to 180 as the editor
    // holds it) and elevation (5), two blanks apart.
    std::vector<std::string> points{padded("Sample points, localizer", 25), " 0 "};
    for (int i = 0; i < 8; ++i)
        points.push_back(fixed(3.0 + 2.0 * i, 6, 3) + "  " + fixed(i <= 4 ? 45.0 * i : 45.0 * i - 360.0, 6, 1) + "  " +
                         fixed(1000 + 250 * i, 5, 0));
    return writeLines(folder + "Antenna.cal", antenna) && writeLines(folder + "Receiver.cal", receiver) &&
           writeLines(folder + "RcvrTest.pts", points);
}

}  // namespace crv::sample
