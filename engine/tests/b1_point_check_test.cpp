// Whether a receiver point may count as B1 interference. Expected levels are
// worked out by hand from the model formulas (noted beside each case).
#include <gtest/gtest.h>

#include <cmath>

#include "criteria_b1.h"
#include "failure.h"

namespace crv::engine {
namespace {

// Navaid on 110 MHz at 100 ft; stations on 98.1, 86.2 and 92.0 MHz with their
// antennas 400 ft above the field (horizon term sqrt(400) = 20).
EngineState caseWith(int criteriaType, int cutoffType, int outputStyle) {
    EngineState state;
    state.options.criteriaType = static_cast<std::int16_t>(criteriaType);
    state.options.cutoffType = static_cast<std::int16_t>(cutoffType);
    state.options.outputStyle = static_cast<std::int16_t>(outputStyle);
    state.options.regressionCriteria = criteriaType == 1 || criteriaType == 5 || criteriaType == 7;
    state.navaid.frequencyMHz = 110.0;
    state.navaid.frequencyKHz = 110000;
    state.navaid.fieldElevationFt = 100;
    for (double f : {98.1, 86.2, 92.0}) {
        Station s;
        s.frequencyMHz = f;
        s.frequencyKHz = static_cast<std::int32_t>(std::lround(f * 1000));
        s.antennaElevationFt = 500;
        state.stations.push_back(s);
    }
    return state;
}

// A point 2500 ft above the field (horizon term 50): horizon 1.23 * 70 nmi.
constexpr CriteriaPoint kPoint{-80, 2600};
const double kHorizonNmi = 1.23 * (20.0 + 50.0);

B1Block2 twoSignals(double level1, double level2, double distanceNmi = 10) {
    B1Block2 block;
    block.proponentSlot = 1;
    block.signals[0].slot = 1;
    block.signals[1].slot = 2;
    block.signals[0].levelDbm = level1;
    block.signals[1].levelDbm = level2;
    block.signals[0].distanceNmi = distanceNmi;
    block.signals[1].distanceNmi = 10;
    return block;
}

// Line set-up and threshold of the combination at the point, as the B1
// evaluation runs them before the check (trigger levels of types 3 and 4).
void prepare(const EngineState& state, B1Block2& block) {
    SetCrit2(state, block, state.slot(block.signals[0].slot).frequencyMHz, state.slot(block.signals[1].slot).frequencyMHz);
    B1Thresh2(state, block, kPoint.navaidLevelDbm);
}

TEST(CheckPt, PointExactlyAtTheRadioHorizonIsInSight) {
    // Criteria 1, cutoff 1 (the navaid level, -80): levels above it, and the
    // partner below its combined threshold (10 dBm for 98.1/86.2 MHz).
    const EngineState state = caseWith(1, 1, 1);
    struct Row {
        double distanceNmi;
        bool valid;
    } rows[] = {{kHorizonNmi, true}, {kHorizonNmi + 1e-6, false}, {kHorizonNmi - 1, true}};
    for (const Row& r : rows) {
        B1Block2 block = twoSignals(-50, -50, r.distanceNmi);
        prepare(state, block);
        const PointCheck check = CheckPt2(state, block, kPoint);
        EXPECT_EQ(check.valid, r.valid) << r.distanceNmi;
        EXPECT_EQ(block.signals[0].beyondLineOfSight, !r.valid) << r.distanceNmi;
        EXPECT_EQ(check.raised.anyBeyondLineOfSight, !r.valid) << r.distanceNmi;
    }
}

TEST(CheckPt, AircraftBelowTheFieldCountsAsOnTheField) {
    // Altitude under the field elevation: horizon term 0, so 1.23 * 20 = 24.6 nmi.
    const EngineState state = caseWith(1, 1, 1);
    B1Block2 near = twoSignals(-50, -50, 24.59);
    EXPECT_TRUE(CheckPt2(state, near, {-80, 50}).valid);
    B1Block2 far = twoSignals(-50, -50, 24.61);
    EXPECT_FALSE(CheckPt2(state, far, {-80, 50}).valid);
}

TEST(CheckPt, CutoffLevelByCutoffType) {
    // Cutoff for 98.1 / 86.2 MHz: types 1, 5, 6 the navaid level (-80); type 2
    // -30; types 3, 4: 20 log10(10 / 0.4) - 66 = -38.0412 and
    // 20 log10(21.9 / 0.4) - 66 = -31.2323. A level equal to the cutoff passes.
    struct Row {
        int cutoffType;
        double level1, level2;
        double cutoff1, cutoff2;
        bool valid;
        bool below1, below2;
    } rows[] = {
        {1, -80, -80, -80, -80, true, false, false},
        {1, -80.01, -79, -80, -80, false, true, false},
        {5, -79, -80.01, -80, -80, false, false, true},
        {6, -79, -79, -80, -80, true, false, false},
        {2, -30, -30, -30, -30, true, false, false},
        {2, -29, -30.01, -30, -30, false, false, true},
        {3, -38.04, -31.23, -38.0411998, -31.2323175, true, false, false},
        {4, -38.05, -31.23, -38.0411998, -31.2323175, false, true, false},
        {4, -38.04, -31.24, -38.0411998, -31.2323175, false, false, true},
    };
    for (const Row& r : rows) {
        // Output style 3 so that both signals get their cutoff worked out.
        const EngineState state = caseWith(1, r.cutoffType, 3);
        B1Block2 block = twoSignals(r.level1, r.level2);
        prepare(state, block);
        const PointCheck check = CheckPt2(state, block, kPoint);
        EXPECT_EQ(check.valid, r.valid) << "cutoff " << r.cutoffType << " " << r.level1 << " " << r.level2;
        EXPECT_NEAR(block.signals[0].cutoffDbm, r.cutoff1, 1e-6) << r.cutoffType;
        EXPECT_NEAR(block.signals[1].cutoffDbm, r.cutoff2, 1e-6) << r.cutoffType;
        EXPECT_EQ(block.signals[0].belowCutoff, r.below1) << r.cutoffType;
        EXPECT_EQ(block.signals[1].belowCutoff, r.below2) << r.cutoffType;
        EXPECT_EQ(check.raised.anyBelowCutoff, r.below1 || r.below2) << r.cutoffType;
    }
}

TEST(CheckPt, MaskingByTheNonProponentSignalOnly) {
    // Criteria 6 at Ld -80 for 98.1 MHz on a 110 MHz navaid: A2 threshold
    // min(-80 + 86 + 20 * 11.9 - 23, 10) = 10, B2 threshold 12 (below 101 MHz).
    // Criteria 1 (combined): 10 for both stations.
    struct Row {
        int criteriaType;
        std::int16_t proponentSlot;
        double level1, level2;
        bool valid;
        bool masked1, masked2;
    } rows[] = {
        {6, 1, 50, 9.99, true, false, false},   // the proponent itself is never masked
        {6, 1, 50, 10, false, false, true},     // at the A2 threshold
        {6, 2, 10, 50, false, true, false},     // the other slot is the proponent now
        {1, 1, -50, 9.99, true, false, false},
        {1, 1, -50, 10, false, false, true},
    };
    for (const Row& r : rows) {
        const EngineState state = caseWith(r.criteriaType, 1, 1);
        B1Block2 block = twoSignals(r.level1, r.level2);
        block.proponentSlot = r.proponentSlot;
        prepare(state, block);
        const PointCheck check = CheckPt2(state, block, kPoint);
        EXPECT_EQ(check.valid, r.valid) << r.criteriaType << " " << r.level1 << " " << r.level2;
        EXPECT_EQ(block.signals[0].masked, r.masked1);
        EXPECT_EQ(block.signals[1].masked, r.masked2);
        EXPECT_EQ(check.raised.anyMasked, r.masked1 || r.masked2);
    }
}

TEST(CheckPt, SeparateB2ThresholdMasksWhenNotCombined) {
    // Criteria 6, 107.5 MHz partner on a 110 MHz navaid at Ld -80: A2 threshold
    // min(-80 + 86 + 50 - 23, 10) = 10, B2 threshold 1070 - 1075 = -5.
    EngineState state = caseWith(6, 1, 1);
    state.stations[1].frequencyMHz = 107.5;
    state.stations[1].frequencyKHz = 107500;
    for (const auto& [level, valid] : {std::pair{-5.01, true}, std::pair{-5.0, false}}) {
        B1Block2 block = twoSignals(-50, level);
        prepare(state, block);
        const PointCheck check = CheckPt2(state, block, kPoint);
        EXPECT_EQ(check.valid, valid) << level;
        EXPECT_NEAR(block.signals[1].threshold1Dbm, 10, 1e-9);
        EXPECT_NEAR(block.signals[1].threshold2Dbm, -5, 1e-9);
    }
}

TEST(CheckPt, BelowTriggerForCriteriaTypes3And4) {
    // Criteria 4, service volume type 0 at Ld -80: TL = 20 log10(|108.1 - f| / 0.4)
    // + 5/3 - 80/3, i.e. 2.9588 for 98.1 MHz and 9.7677 for 86.2 MHz. Cutoff 4
    // (-38.04, -31.23) and the B2 threshold 15 are not reached.
    const EngineState state = caseWith(4, 4, 1);
    struct Row {
        double level1, level2;
        bool belowTrigger;
    } rows[] = {
        {2.95, 9.76, true},
        {2.9588001, 9.7676824, true},  // at the trigger level counts as below
        {2.96, 9.76, false},
        {2.95, 9.77, false},
    };
    for (const Row& r : rows) {
        B1Block2 block = twoSignals(r.level1, r.level2);
        prepare(state, block);
        EXPECT_NEAR(block.signals[0].triggerDbm, 2.9588001734, 1e-9);
        EXPECT_NEAR(block.signals[1].triggerDbm, 9.7676824702, 1e-9);
        const PointCheck check = CheckPt2(state, block, kPoint);
        EXPECT_EQ(check.valid, !r.belowTrigger) << r.level1 << " " << r.level2;
        EXPECT_EQ(block.belowTrigger, r.belowTrigger);
        EXPECT_EQ(check.raised.anyBelowTrigger, r.belowTrigger);
    }
    // Other models have no trigger level: the same low levels pass under criteria 6.
    const EngineState knr = caseWith(6, 4, 1);
    B1Block2 block = twoSignals(2.95, 9.76);
    prepare(knr, block);
    EXPECT_TRUE(CheckPt2(knr, block, kPoint).valid);
}

TEST(CheckPt, DebuggingStyleWorksOutEveryFlag) {
    // Signal 1 (proponent) beyond the horizon and below its cutoff (-38.04),
    // signal 2 at its B2 threshold 15 (masked). The short styles stop at the
    // first failed step; the debugging style runs them all.
    B1StickyFlags all;
    all.anyBeyondLineOfSight = all.anyBelowCutoff = all.anyMasked = true;
    B1StickyFlags losOnly;
    losOnly.anyBeyondLineOfSight = true;
    for (int style : {1, 2, 3}) {
        const EngineState state = caseWith(4, 4, style);
        B1Block2 block = twoSignals(-40, 15, kHorizonNmi + 1);
        prepare(state, block);
        const PointCheck check = CheckPt2(state, block, kPoint);
        EXPECT_FALSE(check.valid);
        const bool debugging = style == 3;
        EXPECT_EQ(check.raised, debugging ? all : losOnly) << style;
        EXPECT_TRUE(block.signals[0].beyondLineOfSight);
        EXPECT_EQ(block.signals[0].belowCutoff, debugging);
        EXPECT_FALSE(block.signals[0].masked);  // the proponent
        EXPECT_FALSE(block.signals[1].beyondLineOfSight);
        EXPECT_FALSE(block.signals[1].belowCutoff);
        EXPECT_EQ(block.signals[1].masked, debugging);
        EXPECT_FALSE(block.belowTrigger);  // signal 2 is above its trigger level
        EXPECT_NEAR(block.signals[0].cutoffDbm, debugging ? -38.0411998 : -99.9, 1e-6);
        EXPECT_NEAR(block.signals[1].cutoffDbm, debugging ? -31.2323175 : -99.9, 1e-6);
    }
    // In the debugging style the trigger test runs after failed steps too.
    const EngineState state = caseWith(4, 4, 3);
    B1Block2 block = twoSignals(-40, -35);
    prepare(state, block);
    const PointCheck check = CheckPt2(state, block, kPoint);
    EXPECT_TRUE(check.raised.anyBelowCutoff);
    EXPECT_TRUE(check.raised.anyBelowTrigger);
    EXPECT_TRUE(block.belowTrigger);
}

TEST(CheckPt, FlagsBelongToOnePointAndMergeAtTheCaller) {
    const EngineState state = caseWith(1, 1, 1);
    B1StickyFlags merged;
    B1Block2 block = twoSignals(-50, 20);  // partner masked (threshold 10)
    PointCheck first = CheckPt2(state, block, kPoint);
    merged |= first.raised;
    EXPECT_TRUE(block.signals[1].masked);
    block.signals[1].levelDbm = -50;  // next point: nothing wrong
    PointCheck second = CheckPt2(state, block, kPoint);
    merged |= second.raised;
    EXPECT_TRUE(second.valid);
    EXPECT_FALSE(block.signals[1].masked);
    EXPECT_EQ(second.raised, B1StickyFlags{});
    EXPECT_TRUE(merged.anyMasked);
    EXPECT_FALSE(merged.anyBelowCutoff);
}

TEST(CheckPt, ThreeSignalsCheckEverySignal) {
    // Criteria 4, cutoff 4: the third station (92.0 MHz, not the proponent) has
    // B2 threshold 15 at Ld -80; its cutoff is 20 log10(16.1 / 0.4) - 66 = -33.9047.
    const EngineState state = caseWith(4, 4, 1);
    auto block3 = [](double level3) {
        B1Block3 block;
        block.proponentSlot = 1;
        for (int i = 0; i < 3; ++i) {
            block.signals[i].slot = static_cast<std::int16_t>(i + 1);
            block.signals[i].levelDbm = 12;
            block.signals[i].distanceNmi = 5;
        }
        block.signals[2].levelDbm = level3;
        return block;
    };
    struct Row {
        double level3;
        bool valid, masked3, below3;
    } rows[] = {{14.99, true, false, false}, {15, false, true, false}, {-33.91, false, false, true}};
    for (const Row& r : rows) {
        B1Block3 block = block3(r.level3);
        SetCrit3(state, block, 98.1, 86.2, 92.0);
        B1Thresh3(state, block, kPoint.navaidLevelDbm);
        const PointCheck check = CheckPt3(state, block, kPoint);
        EXPECT_EQ(check.valid, r.valid) << r.level3;
        EXPECT_EQ(block.signals[2].masked, r.masked3) << r.level3;
        EXPECT_EQ(block.signals[2].belowCutoff, r.below3) << r.level3;
        if (r.below3) {
            EXPECT_NEAR(block.signals[2].cutoffDbm, -33.9046823, 1e-6);
        }
    }
}

TEST(CheckPt, CutoffTypeOutOfRangeFails) {
    const EngineState state = caseWith(1, 7, 1);
    B1Block2 block = twoSignals(-50, -50);
    EXPECT_THROW(CheckPt2(state, block, kPoint), EngineFailure);
}

}  // namespace
}  // namespace crv::engine
