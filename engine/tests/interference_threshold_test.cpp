// A2/B2 thresholds of the receiver models. Expected values come from a short
// independent script written from the model formulas (and a few by hand).
#include <gtest/gtest.h>

#include <cmath>

#include "criteria.h"
#include "failure.h"

namespace crv::engine {
namespace {

EngineState caseWith(int criteriaType, double navaidMHz, int serviceVolumeType) {
    EngineState state;
    state.options.criteriaType = static_cast<std::int16_t>(criteriaType);
    state.options.regressionCriteria = criteriaType == 1 || criteriaType == 5 || criteriaType == 7;
    state.navaid.frequencyMHz = navaidMHz;
    state.navaid.frequencyKHz = static_cast<std::int32_t>(std::lround(navaidMHz * 1000));
    state.navaid.serviceVolumeType = static_cast<std::int16_t>(serviceVolumeType);
    return state;
}

struct Case {
    int criteriaType;
    double navaidMHz;
    double fmMHz;
    double navaidLevelDbm;
    int serviceVolumeType;
    double threshold1Dbm;
    double threshold2Dbm;
};

// Rows: the combined threshold by separation (navaid 108.2 MHz: 0, 50, 51, 100,
// 101, 150, 151, 200, 201 kHz), beyond 200 kHz on either side of the navaid,
// the overload region's caps and joins (102.335, 105.8, 106.3, 107.1) and a
// navaid on exactly 108.1 MHz; type 2 around 107.95 and 136.975; types 3 and 4
// A2 steps at 150/151, 200/201, 250/251, 300/301 kHz and B2 for both service
// volume groups; type 6 B2 at its step bounds.
const Case kCases[] = {
        {1, 108.2, 108.2, -80.0, 0, -97.84, 99.9},
        {1, 108.2, 108.15, -80.0, 0, -43.84, 99.9},
        {1, 108.2, 108.149, -80.0, 0, -31.84, 99.9},
        {1, 108.2, 108.1, -80.0, 0, -31.84, 99.9},
        {1, 108.2, 108.099, -80.0, 0, -27.84, 99.9},
        {1, 108.2, 108.05, -80.0, 0, -27.84, 99.9},
        {1, 108.2, 108.049, -80.0, 0, -19.7508, 99.9},
        {1, 108.2, 108.0, -80.0, 0, -19.7508, 99.9},
        {1, 108.2, 107.999, -80.0, 0, -19.747, 99.9},
        {5, 108.3, 108.099, -90.0, 0, -28.347, 99.9},
        {5, 108.3, 108.0, -90.0, 0, -27.9708, 99.9},
        {5, 108.3, 107.999, -90.0, 0, -27.967, 99.9},
        {5, 112.0, 107.9, -90.0, 0, -13.9108, 99.9},
        {5, 111.9, 107.9, -90.0, 0, -13.9108, 99.9},
        {5, 108.0, 108.5, -90.0, 0, -27.91322424, 99.9},
        {5, 114.1, 115.0, -90.0, 0, -25.6908, 99.9},
        {5, 114.0, 115.0, -90.0, 0, -25.38874872, 99.9},
        {7, 110.0, 100.0, -70.0, 0, 10, 99.9},
        {7, 110.0, 102.335, -70.0, 0, 9.986315, 99.9},
        {7, 110.0, 104.0, -70.0, 0, 6.638, 99.9},
        {7, 110.0, 105.8, -70.0, 0, 3.0182, 99.9},
        {7, 110.0, 106.0, -70.0, 0, 2.616, 99.9},
        {7, 110.0, 106.3, -70.0, 0, 2.0127, 99.9},
        {7, 110.0, 107.0, -70.0, 0, -6.3645, 99.9},
        {7, 110.0, 107.09, -70.0, 0, -7.48383, 99.9},
        {7, 110.0, 107.1, -70.0, 0, 6.1518, 99.9},
        {7, 110.0, 107.5, -70.0, 0, 1.177, 99.9},
        {7, 113.0, 107.5, -70.0, 0, 7.124, 99.9},
        {7, 108.1, 107.5, -70.0, 0, -4.77, 99.9},
        {7, 108.1, 104.0, -70.0, 0, 6.638, 99.9},
        {7, 108.1, 106.5, -70.0, 0, -2.578, 99.9},
        {7, 108.15, 106.5, -70.0, 0, -2.514, 99.9},
        {2, 110.0, 100.0, -70.0, 0, 99.9, -10},
        {2, 110.0, 107.9, -70.0, 0, 99.9, -10},
        {2, 110.0, 107.95, -70.0, 0, 99.9, 99.9},
        {2, 110.0, 120.0, -70.0, 0, 99.9, 99.9},
        {2, 110.0, 136.975, -70.0, 0, 99.9, 99.9},
        {2, 110.0, 137.0, -70.0, 0, 99.9, -10},
        {3, 108.1, 108.1, -75.0, 0, -34, -20},
        {3, 108.1, 107.95, -75.0, 0, -34, -20},
        {3, 108.1, 107.949, -75.0, 0, -25, -20},
        {3, 108.1, 107.9, -75.0, 0, -25, -20},
        {3, 108.1, 107.899, -75.0, 0, -16, -20},
        {3, 108.1, 107.85, -75.0, 0, -16, -20},
        {3, 108.1, 107.849, -75.0, 0, -7, -20},
        {3, 108.1, 107.8, -75.0, 0, -7, -20},
        {3, 108.1, 107.799, -75.0, 0, 99.9, -20},
        {3, 108.1, 107.0, -60.0, 0, 99.9, -11.21334612},
        {4, 108.1, 107.0, -60.0, 0, 99.9, 8.786653877},
        {4, 108.1, 107.0, -95.0, 0, 99.9, -4.213346123},
        {3, 108.1, 107.0, -60.0, 5, 99.9, -11.21334612},
        {4, 108.1, 107.0, -60.0, 5, 99.9, 5.286653877},
        {4, 108.1, 107.0, -95.0, 5, 99.9, -4.213346123},
        {3, 110.0, 100.0, -60.0, 4, 99.9, 7.958800173},
        {4, 110.0, 100.0, -60.0, 4, 99.9, 15},
        {4, 110.0, 100.0, -95.0, 4, 99.9, 13.12850055},
        {3, 110.0, 100.0, -60.0, 8, 99.9, 7.958800173},
        {4, 110.0, 100.0, -60.0, 8, 99.9, 15},
        {4, 110.0, 100.0, -95.0, 8, 99.9, 13.12850055},
        {3, 108.3, 107.9, -60.0, 0, 99.9, -20},
        {4, 108.3, 107.9, -60.0, 0, 99.9, 0},
        {4, 108.3, 107.9, -95.0, 0, 99.9, -13},
        {3, 108.1, 107.8, -60.0, 0, 8, -20},
        {4, 108.1, 107.8, -60.0, 0, 8, 0},
        {4, 108.1, 107.8, -95.0, 0, -27, -13},
        {6, 110.0, 100.0, -90.0, 0, 10, 12},
        {6, 110.0, 101.0, -90.0, 0, 10, 10},
        {6, 110.0, 102.0, -90.0, 0, 10, 10},
        {6, 110.0, 103.0, -90.0, 0, 10, 10},
        {6, 110.0, 105.0, -90.0, 0, 10, 5},
        {6, 110.0, 107.0, -90.0, 0, 10, 0},
        {6, 110.0, 107.5, -90.0, 0, 10, -5},
        {6, 110.0, 107.9, -90.0, 0, 10, -9},
        {6, 110.0, 108.0, -90.0, 0, 10, -9},
        {6, 110.0, 117.95, -90.0, 0, 10, -9},
        {6, 110.0, 118.0, -90.0, 0, 10, 99.9},
        {6, 108.1, 107.9, -60.0, 0, 7, -9},
        {6, 108.1, 107.5, -90.0, 0, -15, -5},
        {6, 108.1, 107.95, -100.0, 0, -34, -9},
};

TEST(IntThresh, ModelsByCriteriaType) {
    for (const Case& c : kCases) {
        const EngineState state = caseWith(c.criteriaType, c.navaidMHz, c.serviceVolumeType);
        const InterferenceThresholds t = IntThresh(state, c.fmMHz, c.navaidLevelDbm);
        EXPECT_NEAR(t.threshold1Dbm, c.threshold1Dbm, 1e-6)
            << "type " << c.criteriaType << " navaid " << c.navaidMHz << " FM " << c.fmMHz << " Ld " << c.navaidLevelDbm;
        EXPECT_NEAR(t.threshold2Dbm, c.threshold2Dbm, 1e-6)
            << "type " << c.criteriaType << " navaid " << c.navaidMHz << " FM " << c.fmMHz << " Ld " << c.navaidLevelDbm;
    }
}

TEST(IntThresh, NavaidOnExactly108_1UsesTheBaseCurve) {
    // f >= 106.3: B = 1696.31 - 15.952 f; with f = 106.5 that is -2.578.
    // A navaid 50 kHz higher adds (1.85 f - 195.745)(fN - 108.1) = 0.064.
    EXPECT_NEAR(IntThresh(caseWith(1, 108.1, 0), 106.5, -70).threshold1Dbm, -2.578, 1e-9);
    EXPECT_NEAR(IntThresh(caseWith(1, 108.15, 0), 106.5, -70).threshold1Dbm, -2.514, 1e-9);
}

TEST(IntThresh, CriteriaTypeOutOfRangeFails) {
    for (int type : {0, 8, -3}) {
        EXPECT_THROW(IntThresh(caseWith(type, 110, 0), 100, -80), EngineFailure) << type;
    }
}

}  // namespace
}  // namespace crv::engine
