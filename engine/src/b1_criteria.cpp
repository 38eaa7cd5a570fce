// B1 threshold lines of the receiver models, for two-signal (2fA - fB) and
// three-signal (f1 + f2 - f3) products.
#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "criteria_b1.h"

namespace crv::engine {

namespace {

// One reference curve of the type 5 receiver: the B1 level (per signal, in dB)
// as a polynomial in x, P(x) = (((a - b x) x + c) x - d) x - e.
struct Curve {
    double a, b, c, d, e;
    double at(double x) const { return ((((a - b * x) * x + c) * x - d) * x) - e; }
};

// Curves at the navaid levels -98, -86, -70 and -55 dBm.
struct CurveSet {
    Curve at98, at86, at70, at55;
};

constexpr CurveSet kTwoSignalCurves{
    {2.4602, 0.842, 6.5394, 3.3849, 49.431},
    {2.1543, 0.7462, 5.9654, 1.9792, 44.007},
    {1.5856, 0.5432, 5.0106, 0.7217, 36.59},
    {1.1623, 0.358, 3.3551, 0.1139, 21.584},
};

// The -55 dBm curve was measured with the opposite signs; written in the same
// form it is (((0.0571 x - 0.499) x + 3.1334) x + 3.7343) x - 25.838.
constexpr CurveSet kThreeSignalCurves{
    {3.2603, 0.939, 3.8019, 0.6996, 51.283},
    {4.0726, 1.1058, 3.085, 1.7317, 45.567},
    {0.2585, 0.3015, 5.9092, -1.8268, 40.532},
    {-0.499, -0.0571, 3.1334, -3.7343, 25.838},
};

// The coefficients that differ between two and three signals.
struct LineModel {
    double k1a, k1b, k1c;    // type 1: K1 = 3 (x (a x + b) - c), the line at Ld = -86
    double k2a, k2b, k2c;    // type 1: K2 likewise, at Ld = -49
    double type3Constant;    // type 3: T(i) = 28 log10(max(di, 1)) + this
    double type4Offset;      // type 4: T(i) = ... - (r + this) / 3
    const CurveSet* curves;  // type 5
};

constexpr LineModel kTwoSignal{1.6805, 2.9728, 40.259, 0.9846, 1.8159, 16.9589, -17, 81, &kTwoSignalCurves};
constexpr LineModel kThreeSignal{1.5668, 2.1977, 40.1634, 1.301, 1.2242, 18.9523, -19, 87, &kThreeSignalCurves};

// Product offset D: a product off the navaid's channel needs more level.
double productOffset(int criteriaType, std::int32_t deltaKHz) {
    if (criteriaType == 2 || deltaKHz == 0) return 0;
    const bool steep = criteriaType == 1 || criteriaType == 3;
    if (deltaKHz <= 50) return 6;
    if (deltaKHz <= 100) return steep ? 24 : 15;
    if (deltaKHz <= 150) return steep ? 48 : 33;
    return steep ? 78 : 60;
}

double icaoTerm(const EngineState& state, const LineModel& model, double fi) {
    const double r = state.navaid.serviceVolumeType <= 4 ? -86 : -79;
    return 20 * std::log10(std::max(std::abs(108.1 - fi), 0.4) / 0.4) - (r + model.type4Offset) / 3;
}

// x: log10 of the product of the signals' distances from the navaid frequency
// (for two signals the doubled one counts twice). K and S for types 1, 5 and 6.
template <std::size_t N>
void setLine(const EngineState& state, B1Block<N>& block, const LineModel& model,
             const std::array<double, N>& fMHz, double x) {
    const int criteriaType = state.options.criteriaType;
    requireCriteriaType(criteriaType);
    const double fN = state.navaid.frequencyMHz;
    switch (criteriaType) {
        case 1: {
            const double k1 = 3 * (x * (model.k1a * x + model.k1b) - model.k1c);
            const double k2 = 3 * (x * (model.k2a * x + model.k2b) - model.k2c);
            block.lineSlope = (k2 - k1) / 37;
            block.lineConstantDb = k1 + 86 * block.lineSlope;
            break;
        }
        case 3:
        case 4: {
            for (std::size_t i = 0; i < N; ++i) {
                block.signals[i].termDb = criteriaType == 3
                                              ? 28 * std::log10(std::max(std::abs(fN - fMHz[i]), 1.0)) +
                                                    model.type3Constant
                                              : icaoTerm(state, model, fMHz[i]);
            }
            // The doubled signal of a two-signal product counts twice.
            double k = 0;
            for (const B1Signal& signal : block.signals) k += signal.termDb;
            if constexpr (N == 2) k += block.signals[0].termDb;
            block.lineConstantDb = k;
            break;
        }
        case 5: block.lineSlope = x; break;
        case 6:
            if constexpr (N == 2) {
                block.lineConstantDb = x * (6.2625 * x + 4.0101) - 22.6236;
                block.lineSlope = 1.125;
            } else {
                block.lineConstantDb = 27.2544 * x + 138.946;
                block.lineSlope = 3.288;
            }
            break;
        default: break;  // types 2 and 7: only D
    }
    block.productOffsetDb = productOffset(criteriaType, block.deltaKHz);
}

double curveThreshold(const CurveSet& curves, double x, double ld) {
    const Curve* lo = &curves.at98;
    const Curve* hi = &curves.at86;
    double ldLo = -98;
    double ldHi = -86;
    if (ld >= -70) {
        lo = &curves.at70;
        hi = &curves.at55;
        ldLo = -70;
        ldHi = -55;
    } else if (ld >= -86) {
        lo = &curves.at86;
        hi = &curves.at70;
        ldLo = -86;
        ldHi = -70;
    }
    const double pLo = lo->at(x);
    const double pHi = hi->at(x);
    return 3 * (pLo + (pHi - pLo) * (ld - ldLo) / (ldHi - ldLo));
}

// The receiver calibration table holds thresholds at -101, -96, ..., -51 dBm.
double calibratedThreshold(const EngineState& state, double ld) {
    const auto& entry = state.patterns.receiverCalibration;  // 1-based
    if (ld <= -101) return entry[1];
    if (ld >= -51) return entry[11];
    const double t = (ld + 101) / 5;
    const int k = static_cast<int>(t);  // 0..9 here
    return entry[k + 1] + (t - k) * (entry[k + 2] - entry[k + 1]);
}

template <std::size_t N>
double threshold(const EngineState& state, B1Block<N>& block, const LineModel& model, double ld) {
    const int criteriaType = state.options.criteriaType;
    requireCriteriaType(criteriaType);
    double result = 0;
    switch (criteriaType) {
        case 1:
        case 6: result = block.lineConstantDb + block.lineSlope * ld; break;
        case 2: result = -10; break;
        case 3:
        case 4:
            for (B1Signal& signal : block.signals) signal.triggerDbm = signal.termDb + ld / 3;
            result = ld + block.lineConstantDb;
            break;
        case 5: result = curveThreshold(*model.curves, block.lineSlope, ld); break;
        case 7: result = calibratedThreshold(state, ld); break;
    }
    return result + block.productOffsetDb;
}

}  // namespace

void SetCrit2(const EngineState& state, B1Block2& block, double fAMHz, double fBMHz) {
    const double fN = state.navaid.frequencyMHz;
    const double dA = std::abs(fN - fAMHz);
    const double dB = std::abs(fN - fBMHz);
    setLine<2>(state, block, kTwoSignal, {fAMHz, fBMHz}, std::log10(dA * dA * dB));
}

void SetCrit3(const EngineState& state, B1Block3& block, double f1MHz, double f2MHz, double f3MHz) {
    const double fN = state.navaid.frequencyMHz;
    const double x = std::log10(std::abs(fN - f1MHz) * std::abs(fN - f2MHz) * std::abs(fN - f3MHz));
    setLine<3>(state, block, kThreeSignal, {f1MHz, f2MHz, f3MHz}, x);
}

double B1Thresh2(const EngineState& state, B1Block2& block, double navaidLevelDbm) {
    return threshold<2>(state, block, kTwoSignal, navaidLevelDbm);
}

double B1Thresh3(const EngineState& state, B1Block3& block, double navaidLevelDbm) {
    return threshold<3>(state, block, kThreeSignal, navaidLevelDbm);
}

}  // namespace crv::engine
