// Whether a receiver point may count as B1 interference for a combination.
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <string>

#include "criteria_b1.h"
#include "failure.h"

namespace crv::engine {

void requireCutoffType(int cutoffType) {
    if (cutoffType < 1 || cutoffType > 6) {
        fail("CheckPt        ", "Cutoff criteria type " + std::to_string(cutoffType) + " is not 1 to 6.");
    }
}

namespace {

// The level below which a receiver no longer produces the product at all.
double cutoffLevel(int cutoffType, double stationMHz, double ld) {
    switch (cutoffType) {
        case 2: return -30;
        case 3:
        case 4: return 20 * std::log10(std::max(std::abs(108.1 - stationMHz), 0.4) / 0.4) - 66;
        default: return ld;  // 1, 5, 6: the navaid level itself
    }
}

template <std::size_t N>
PointCheck checkPoint(const EngineState& state, B1Block<N>& block, const CriteriaPoint& point) {
    const int cutoffType = state.options.cutoffType;
    requireCutoffType(cutoffType);
    const int criteriaType = state.options.criteriaType;
    // The debugging output prints every flag of a point, so it runs every step;
    // otherwise the first failed step decides.
    const bool allSteps = state.options.outputStyle == 3;
    const double e = state.navaid.fieldElevationFt;
    const double ld = point.navaidLevelDbm;

    PointCheck check;
    block.belowTrigger = false;
    for (B1Signal& signal : block.signals) {
        signal.beyondLineOfSight = false;
        signal.belowCutoff = false;
        signal.masked = false;
        signal.cutoffDbm = -99.9;
    }

    const double hR = std::sqrt(std::max(point.altitudeFt - e, 0.0));
    for (B1Signal& signal : block.signals) {
        const Station& station = state.slot(signal.slot);

        // A point exactly at the radio horizon is still in sight.
        const double horizonNmi = 1.23 * (std::sqrt(std::max(station.antennaElevationFt - e, 0.0)) + hR);
        if (horizonNmi < signal.distanceNmi) {
            signal.beyondLineOfSight = true;
            check.raised.anyBeyondLineOfSight = true;
            check.valid = false;
            if (!allSteps) return check;
        }

        signal.cutoffDbm = cutoffLevel(cutoffType, station.frequencyMHz, ld);
        if (signal.levelDbm < signal.cutoffDbm) {
            signal.belowCutoff = true;
            check.raised.anyBelowCutoff = true;
            check.valid = false;
            if (!allSteps) return check;
        }

        // A non-proponent signal strong enough for A2/B2 interference on its
        // own is reported there; the intermodulation point is masked.
        if (signal.slot != block.proponentSlot) {
            const InterferenceThresholds thresholds = IntThresh(state, station.frequencyMHz, ld);
            signal.threshold1Dbm = thresholds.threshold1Dbm;
            signal.threshold2Dbm = thresholds.threshold2Dbm;
            if (signal.levelDbm >= signal.threshold1Dbm ||
                (!CombinedAB(state) && signal.levelDbm >= signal.threshold2Dbm)) {
                signal.masked = true;
                check.raised.anyMasked = true;
                check.valid = false;
                if (!allSteps) return check;
            }
        }
    }

    if (criteriaType == 3 || criteriaType == 4) {
        const bool allBelow = std::all_of(block.signals.begin(), block.signals.end(),
                                          [](const B1Signal& s) { return s.levelDbm <= s.triggerDbm; });
        if (allBelow) {
            block.belowTrigger = true;
            check.raised.anyBelowTrigger = true;
            check.valid = false;
        }
    }
    return check;
}

}  // namespace

PointCheck CheckPt2(const EngineState& state, B1Block2& block, const CriteriaPoint& point) {
    return checkPoint<2>(state, block, point);
}

PointCheck CheckPt3(const EngineState& state, B1Block3& block, const CriteriaPoint& point) {
    return checkPoint<3>(state, block, point);
}

}  // namespace crv::engine
