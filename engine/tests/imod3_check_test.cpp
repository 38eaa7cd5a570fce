// Three-signal product test. The triples below were found by a short
// independent script: for each product position, a triple of FM channels whose
// first on-channel product (navaid 110.000 MHz) sits at that position.
#include <gtest/gtest.h>

#include <array>
#include <cstdint>

#include "criteria_imod3.h"

namespace crv::engine {
namespace {

EngineState caseWith(int intermodType, std::array<std::int32_t, 3> stationKHz) {
    EngineState state;
    state.options.intermodType = static_cast<std::int16_t>(intermodType);
    state.navaid.frequencyMHz = 110.0;
    state.navaid.frequencyKHz = 110000;
    for (std::int32_t f : stationKHz) {
        Station s;
        s.frequencyKHz = f;
        s.frequencyMHz = f * 0.001;
        state.stations.push_back(s);
    }
    return state;
}

TEST(Imod3Chk, ThirdOrderProductsInsideTheWindow) {
    struct Row {
        std::array<std::int32_t, 3> kHz;
        std::int32_t windowKHz;
        bool match;
        double productMHz;
    } rows[] = {
        {{100000, 98000, 88000}, 0, true, 110.0},     // fi + fj - fk on channel
        {{88000, 100000, 98000}, 0, true, 110.0},     // fj + fk - fi
        {{100000, 88000, 98000}, 0, true, 110.0},     // fi + fk - fj
        {{100000, 98200, 88000}, 200, true, 110.2},   // window edge belongs to the window
        {{100000, 98201, 88000}, 200, false, 0},
        {{100000, 98000, 88100}, 100, true, 109.9},
        {{100000, 98000, 88100}, 99, false, 0},
        {{100000, 98000, 88100}, 0, false, 0},        // on-channel options accept only exact products
    };
    for (const Row& r : rows) {
        const EngineState state = caseWith(1, r.kHz);
        const Imod3Match m = Imod3Chk(state, r.windowKHz, 1, 2, 3);
        EXPECT_EQ(m.match, r.match) << r.kHz[0] << " " << r.kHz[1] << " " << r.kHz[2] << " W " << r.windowKHz;
        if (r.match) {
            EXPECT_NEAR(m.productMHz, r.productMHz, 1e-9);
        }
    }
}

TEST(Imod3Chk, FirstProductInOrderWins) {
    // Stations 110.1, 100.05 and 100.0 MHz, window 200 kHz.
    const EngineState state = caseWith(1, {110100, 100050, 100000});
    struct Row {
        int i, j, k;
        double productMHz;
    } rows[] = {
        {1, 2, 3, 110.15},  // fi + fj - fk = 110.15 before fi + fk - fj = 110.05
        {1, 3, 2, 110.05},  // fi + fj - fk = 110.05 before fi + fk - fj = 110.15
        {2, 3, 1, 110.05},  // 89.95 misses; fj + fk - fi = 110.05 before fi + fk - fj = 110.15
        {3, 2, 1, 110.15},  // 89.95 misses; fj + fk - fi = 110.15 before fi + fk - fj = 110.05
    };
    for (const Row& r : rows) {
        const Imod3Match m = Imod3Chk(state, 200, r.i, r.j, r.k);
        ASSERT_TRUE(m.match) << r.i << r.j << r.k;
        EXPECT_NEAR(m.productMHz, r.productMHz, 1e-9) << r.i << r.j << r.k;
    }
}

TEST(Imod3Chk, FifthOrderProductsOnlyForThe3rd5thOrderOptions) {
    // Position of the first on-channel product: 3..11 are the fifth-order ones
    // 2fi+fj-2fk, 2fi+fk-2fj, 2fj+fk-2fi, 2fj+fi-2fk, 2fk+fi-2fj, 2fk+fj-2fi,
    // 3fi-fj-fk, 3fj-fi-fk, 3fk-fi-fj.
    const std::array<std::int32_t, 3> triples[] = {
        {89200, 107800, 88100}, {89200, 88100, 107800}, {88100, 89200, 107800},
        {88200, 99000, 88100},  {88200, 88100, 99000},  {88100, 88200, 99000},
        {95500, 88100, 88400},  {88100, 95500, 88400},  {88100, 88400, 95500},
    };
    for (const auto& kHz : triples) {
        for (int intermodType : {1, 2, 3, 4}) {
            EXPECT_FALSE(Imod3Chk(caseWith(intermodType, kHz), 0, 1, 2, 3).match)
                << kHz[0] << " " << kHz[1] << " " << kHz[2] << " type " << intermodType;
        }
        for (int intermodType : {5, 6}) {
            const Imod3Match m = Imod3Chk(caseWith(intermodType, kHz), 0, 1, 2, 3);
            EXPECT_TRUE(m.match) << kHz[0] << " " << kHz[1] << " " << kHz[2] << " type " << intermodType;
            EXPECT_NEAR(m.productMHz, 110.0, 1e-9);
        }
    }
}

TEST(Imod3Chk, ThirdOrderIsTriedBeforeFifthOrder) {
    // 93.6, 104.5, 88.2 MHz: fi + fj - fk = 109.9 (100 kHz off) and
    // 2fj + fk - 2fi = 110.0 exactly; the third-order product is reported.
    const Imod3Match m = Imod3Chk(caseWith(5, {93600, 104500, 88200}), 150, 1, 2, 3);
    ASSERT_TRUE(m.match);
    EXPECT_NEAR(m.productMHz, 109.9, 1e-9);
    // On channel only the fifth-order product qualifies.
    const Imod3Match exact = Imod3Chk(caseWith(6, {93600, 104500, 88200}), 0, 1, 2, 3);
    ASSERT_TRUE(exact.match);
    EXPECT_NEAR(exact.productMHz, 110.0, 1e-9);
}

}  // namespace
}  // namespace crv::engine
