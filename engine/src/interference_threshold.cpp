// A2/B2 thresholds of the receiver models.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "criteria.h"
#include "failure.h"

namespace crv::engine {

namespace {

// Receivers with one combined A2/B2 threshold (criteria types 1, 5, 7).
double combinedThreshold(const EngineState& state, double f, std::int32_t deltaKHz, double ld) {
    const double fN = state.navaid.frequencyMHz;
    double result = kNeverDbm;
    if (f >= 107.9) {
        // Adjacent-channel region: the FM station sits at the top of the band.
        if (deltaKHz == 0) {
            result = ld - 23;
        } else if (deltaKHz <= 50) {
            result = ld + 31;
        } else if (deltaKHz <= 100) {
            result = ld + 43;
        } else if (deltaKHz <= 150) {
            result = ld + 47;
        } else if (deltaKHz <= 200) {
            result = -24.9108;
        } else if (fN > f) {
            result = fN <= 111.9 ? 3.8 * (fN - 0.2 - f) - 24.9108
                                 : 14.44 * (fN - 0.2 - f) / (fN - 0.2 - 107.9) - 24.9108;
        } else {
            result = fN >= 114.1 ? 3.8 * (f - fN - 0.2) - 24.9108
                                 : 14.44 * (f - fN - 0.2) / (118.1 - fN - 0.2) - 24.9108;
        }
    } else {
        // Overload region: a cap A and a base B that rise towards the band edge.
        double capA = 10;
        double baseB = 10;
        if (f >= 106.3) {
            capA = 215.782 - 2.011 * f;
            baseB = 1696.31 - 15.952 * f;
        } else if (f >= 102.335) {
            capA = baseB = 215.782 - 2.011 * f;
        }
        // A navaid on 108.1 MHz is where the base curve was measured; the
        // check is in whole kHz so that no decimal rounding decides it.
        if (state.navaid.frequencyKHz == 108100) {
            result = baseB;
        } else {
            const double adj = f <= 105.8 ? 0 : (1.85 * f - 195.745) * (std::min(fN, 111.9) - 108.1);
            result = std::min(baseB + adj, capA);
        }
    }
    if (f >= 107.1) result = std::min(result + 0.86 * (ld + 86), 10.0);
    return result;
}

double icaoA2(std::int32_t deltaKHz, double ld) {
    if (deltaKHz <= 150) return ld + 41;
    if (deltaKHz <= 200) return ld + 50;
    if (deltaKHz <= 250) return ld + 59;
    if (deltaKHz <= 300) return ld + 68;
    return kNeverDbm;
}

double icaoB2(const EngineState& state, int criteriaType, double f, double ld) {
    const double g = 20 * std::log10(std::max(108.1 - f, 0.4) / 0.4);
    const double r = state.navaid.serviceVolumeType <= 4 ? -86 : -79;
    const double u = std::max((ld - r) / 2, 0.0);
    double b2 = std::min(u - 3 + g - 10, 15.0);
    if (criteriaType == 3) {
        b2 = std::min(b2, 20 * std::log10(std::max(std::abs(state.navaid.frequencyMHz - f), 0.4) / 0.4) - 20);
    }
    return b2;
}

double knrB2(double f) {
    if (f < 101) return 12;
    if (f < 103) return 10;
    if (f < 107) return 267.5 - 2.5 * f;
    if (f <= 107.9) return 1070 - 10 * f;
    if (f <= 117.95) return -9;
    return kNeverDbm;
}

}  // namespace

void requireCriteriaType(int criteriaType) {
    if (criteriaType < 1 || criteriaType > 7) {
        fail("IntThresh      ", "Interference criteria type " + std::to_string(criteriaType) + " is not 1 to 7.");
    }
}

InterferenceThresholds IntThresh(const EngineState& state, double fmFrequencyMHz, double navaidLevelDbm) {
    const int criteriaType = state.options.criteriaType;
    requireCriteriaType(criteriaType);
    const double f = fmFrequencyMHz;
    const double ld = navaidLevelDbm;
    const std::int32_t deltaKHz =
        std::abs(state.navaid.frequencyKHz - static_cast<std::int32_t>(std::lround(1000 * f)));

    InterferenceThresholds result;
    switch (criteriaType) {
        case 1:
        case 5:
        case 7: result.threshold1Dbm = combinedThreshold(state, f, deltaKHz, ld); break;
        case 2: result.threshold2Dbm = (f < 107.95 || f > 136.975) ? -10 : kNeverDbm; break;
        case 3:
        case 4:
            result.threshold1Dbm = icaoA2(deltaKHz, ld);
            result.threshold2Dbm = icaoB2(state, criteriaType, f, ld);
            break;
        case 6:
            result.threshold1Dbm =
                std::min(ld + 86 + 20 * std::abs(state.navaid.frequencyMHz - f) - 23, 10.0);
            result.threshold2Dbm = knrB2(f);
            break;
    }
    return result;
}

}  // namespace crv::engine
