// Antenna rejection models. Bounds of a frequency range belong to the range
// above them: a stated range "from a to b" holds for a <= f < b.
#include <span>
#include <string>

#include "criteria.h"
#include "failure.h"

namespace crv::engine {

namespace {

struct Step {
    double boundMHz;  // the value holds while f is below this bound
    double valueDb;
};

double stepValue(std::span<const Step> steps, double lastDb, double f) {
    for (const Step& step : steps) {
        if (f < step.boundMHz) return step.valueDb;
    }
    return lastDb;
}

// Calibrated loop antenna measured on the test range.
constexpr Step kLoopSteps[] = {
    {89.5, 33},  {91, 32},    {92.4, 31},  {93.6, 30},  {94.9, 29},  {97.1, 28},  {98.7, 27},  {99.7, 26},
    {100.6, 25}, {101.7, 24}, {102.4, 23}, {103.7, 22}, {104.7, 21}, {105.3, 20}, {106.2, 19}, {106.9, 18},
    {107.9, 17}, {108.5, 16}, {109.4, 15}, {110.3, 14}, {111.6, 13}, {115, 12},   {117, 13},
};
constexpr double kLoopLast = 14;

// Calibrated VEE antenna measured on the same range.
constexpr Step kVeeSteps[] = {
    {89.8, 24.5},  {91.6, 23.5},  {92.8, 21.5},  {93.8, 20.5},  {95.2, 19.5},  {97.4, 18.5}, {99.4, 17.5},
    {100.6, 16.5}, {104.3, 15.5}, {106, 14.5},   {108.4, 13.5}, {109.3, 12.5}, {110.1, 11.5}, {111.2, 10.5},
    {112.2, 9.5},  {112.8, 8.5},  {113.6, 7.5},  {114.1, 6.5},  {114.7, 5.5},  {115.3, 4.5},
};
constexpr double kVeeLast = 3.5;

// Calibrated loop antenna of the second laboratory.
constexpr Step kLabLoopSteps[] = {
    {88.6, 38},    {89.5, 39.2},  {90.5, 37.2},  {91.6, 31.7},  {92.5, 28.8},  {93.4, 24.9},  {94.4, 22},
    {95.4, 25.3},  {96.5, 23.9},  {97.5, 27.6},  {98.5, 28.3},  {99.5, 26.7},  {100.5, 25.7}, {101.4, 21.6},
    {102.5, 18.2}, {103.6, 19.3}, {105.5, 20.4}, {106.5, 19.8}, {107.6, 19.1}, {108.5, 20.3}, {109.5, 21.3},
    {110.5, 20.6}, {111.5, 20},   {112.5, 19.1},
};
constexpr double kLabLoopLast = 15.5;

double regressionCurve(double f) {
    if (f <= 117.95) return 0.00284696 * f * f * f - 0.85708 * f * f + 84.6073 * f - 2717.9;
    return 1.1745 * f - 125.0889;
}

double comCurve(double f) {
    if (f < 88) return 34 + 0.5 * (88 - f);
    if (f < 100) return 10 + 2 * (100 - f);
    if (f < 108) return 10;
    if (f < 175) return 10 + 0.07463 * (f - 108);
    return 15;
}

double icaoCurve(double f) {
    if (f < 108) return 12.5 + 1.2 * (108 - f);
    return 12.5;
}

double dualSlopeCurve(double f) {
    if (f < 100) return 11.5 + 0.5 * (100 - f);
    if (f < 108) return 3.5 + (108 - f);
    return 3.5;
}

double cessnaLoop(double f) {
    if (f < 89) return 20.9;
    if (f < 90) return 154.5 - 1.5 * f;
    if (f < 92) return 361.5 - 3.8 * f;
    if (f < 94) return 3.2 * f - 282.5;
    if (f < 97) return 1.8 * f - 150.9;
    if (f < 99) return 0.7 * f - 44.2;
    if (f < 101) return 0.1 * f + 15.2;
    if (f < 102) return 75.8 - 0.5 * f;
    if (f < 106) return 226.25 - 1.975 * f;
    if (f < 109) return 48.7 - 0.3 * f;
    if (f < 111) return 114.1 - 0.9 * f;
    if (f < 114) return 206.6 - 1.7333 * f;
    if (f < 116) return 123 - f;
    if (f < 118) return 70.8 - 0.55 * f;
    return 5.9;
}

// The user's own calibration: no interpolation, the first tabulated frequency
// at or above f decides, so the table reads as a step table in file order.
double calibrationTable(const std::vector<std::pair<double, double>>& table, double f) {
    for (const auto& [frequencyMHz, rejectionDb] : table) {
        if (!(frequencyMHz < f)) return rejectionDb;
    }
    return 0;
}

}  // namespace

void requireAntennaRejectionType(int rejectionType) {
    if (rejectionType < 1 || rejectionType > 63) {
        fail("AntRej         ", "Antenna rejection type " + std::to_string(rejectionType) + " is not 1 to 63.");
    }
}

double antennaRejectionDb(int rejectionType, const std::vector<std::pair<double, double>>& calibration,
                          double frequencyMHz) {
    const double f = frequencyMHz;
    switch (rejectionType) {
        case 1: return regressionCurve(f);
        case 2: return comCurve(f);
        case 3:
        case 4: return icaoCurve(f);
        case 5: return stepValue(kLoopSteps, kLoopLast, f);
        case 6: return dualSlopeCurve(f);
        case 7: return stepValue(kVeeSteps, kVeeLast, f);
        case 8: return stepValue(kLabLoopSteps, kLabLoopLast, f);
        case 9: return 724.1863 - 12.6618 * f + 0.0557 * f * f;
        case 10: return cessnaLoop(f);
        case 11: return 13.2;
        case 63: return calibrationTable(calibration, f);
        default:
            requireAntennaRejectionType(rejectionType);
            // Types 12..62 are fixed attenuations of 5..55 dB.
            return rejectionType - 7;
    }
}

double AntRej(const EngineState& state, double frequencyMHz) {
    return antennaRejectionDb(state.options.antennaRejection, state.patterns.antennaCalibration, frequencyMHz);
}

}  // namespace crv::engine
