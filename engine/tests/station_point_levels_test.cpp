#include "station_point_levels.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <thread>
#include <vector>

#include "fm_level.h"
#include "geodesy.h"
#include "failure.h"
#include "progress.h"

using namespace crv::engine;

namespace {
EngineState twoStations() {
    EngineState s;
    s.options.gridType = 1;
    s.navaid.serviceVolumeType = 5;
    for (int i = 0; i < 2; ++i) {
        Station st;
        st.callSign = i ? "QBBB" : "QAAA";
        st.frequencyMHz = 98.1 + i;
        st.latitude = 38.5 + 0.1 * i;
        st.longitude = 77.2;
        st.erpKw = 50;
        st.antennaElevationFt = 800;
        st.elementType = 55;  // constant beam: the path term is the spreading loss alone
        s.stations.push_back(st);
    }
    return s;
}

ReceiverPointFile grid(int count) {
    ReceiverPointFile f;
    for (int i = 0; i < count; ++i)
        f.points.push_back({0, 1.0f, 90.0f, 3000.0f, 38.4f + 0.001f * static_cast<float>(i), 77.0f, -60.0f});
    f.points.push_back({crv::formats::kSectionEnd, 0, 0, 0, 0, 0, 0});
    return f;
}
}  // namespace

TEST(StationPointLevels, MatchesFmLevelPointByPoint) {
    const EngineState state = twoStations();
    const ReceiverPointFile file = grid(5000);
    const auto t = StationPointLevels::build(state, file, {2, 1});
    ASSERT_TRUE(t.has(1) && t.has(2));
    for (std::size_t p : {std::size_t{0}, std::size_t{2047}, std::size_t{2048}, std::size_t{4999}}) {
        const auto& rec = file.points[p];
        const auto db = LLDist(state.slot(2).latitude, state.slot(2).longitude, rec.latitude, rec.longitude);
        EXPECT_DOUBLE_EQ(t.distanceNmi(2, p), db.distanceNmi);
        // Element type 55 has no antenna gain: the path term is -20 log10 of the slant range.
        const double dh = (rec.altitudeFt - 800.0) / 6076.115;
        EXPECT_NEAR(t.pathGainDb(2, p), -20 * std::log10(std::sqrt(db.distanceNmi * db.distanceNmi + dh * dh)),
                    1e-9);
    }
    EXPECT_TRUE(std::isnan(t.pathGainDb(1, 5000)));  // the section end has no value
}

TEST(StationPointLevels, SameResultWhateverTheThreadCount) {
    const EngineState state = twoStations();
    const ReceiverPointFile file = grid(9000);
    ::setenv("CRV_THREADS", "1", 1);
    const auto one = StationPointLevels::build(state, file, {1, 2});
    ::setenv("CRV_THREADS", "7", 1);
    const auto seven = StationPointLevels::build(state, file, {1, 2});
    ::unsetenv("CRV_THREADS");
    for (int s = 1; s <= 2; ++s)
        for (std::size_t p = 0; p + 1 < file.points.size(); ++p) {
            ASSERT_EQ(one.pathGainDb(s, p), seven.pathGainDb(s, p));
            ASSERT_EQ(one.distanceNmi(s, p), seven.distanceNmi(s, p));
        }
}

TEST(StationPointLevels, CancelStopsTheBuild) {
    const EngineState state = twoStations();
    const ReceiverPointFile file = grid(50000);
    int calls = 0;
    EXPECT_THROW(StationPointLevels::build(state, file, {1, 2},
                                           [&](std::size_t, std::size_t) {
                                               if (++calls == 1) throw CancelRequested{};
                                           }),
                 CancelRequested);
    EXPECT_EQ(calls, 1);
}

namespace {
Pattern wavy(double phase) {
    Pattern p;
    for (int k = 0; k < 37; ++k) p.values[static_cast<std::size_t>(k)] = 0.55 + 0.4 * std::sin(0.6 * k + phase);
    p.loaded = true;
    return p;
}

// Stations of every kind of antenna around and inside the grid below (which
// starts at longitude west + 0.15), below, between and above the points'
// altitudes.
EngineState manyAntennas(double west = 179.8) {
    EngineState s;
    s.options.gridType = 1;
    s.navaid.serviceVolumeType = 1;
    s.patterns.fmHorizontal[1] = wavy(0.0);
    s.patterns.fmHorizontal[2] = wavy(1.3);
    for (int n = 1; n <= 6; ++n) s.patterns.fmVertical[static_cast<std::size_t>(n)] = wavy(0.5 * n);
    const std::vector<int> types{0, 1, 2, 3, 17, 35, 54, 55, 56, 57, 58, 59, 60, 61, 62, 63};
    const double places[][2] = {{38.45, 0.15}, {38.52, 0.3}, {38.2, -0.3}, {38.9, 0.7}, {38.5, 0.2}, {38.47, 0.24}};
    const double heights[] = {500.0, 2500.0, 20000.0};
    int i = 0;
    for (const int type : types)
        for (int variant = 0; variant < 2; ++variant, ++i) {
            Station st;
            st.callSign = "Q" + std::to_string(i);
            st.frequencyMHz = 88.1 + 0.2 * i;
            st.latitude = places[i % 6][0];
            st.longitude = WrapAng(west + places[i % 6][1], -180.0, 180.0);
            st.erpKw = 10;
            st.antennaElevationFt = heights[i % 3];
            st.elementType = type;
            st.horizontalPattern = variant == 0 ? 0 : 1 + i % 2;
            st.rotationDeg = 37.0 * i;
            s.stations.push_back(st);
        }
    return s;
}

// Rows of points 0.002 degrees apart from longitude west + 0.05 (by default
// across longitude 180), some blocks at one altitude, others climbing, with a
// section end among them.
ReceiverPointFile crossingGrid(double west = 179.8) {
    ReceiverPointFile f;
    for (int row = 0; row < 40; ++row)
        for (int col = 0; col < 150; ++col) {
            const float lon = static_cast<float>(WrapAng(west + 0.05 + 0.002 * col, -180.0, 180.0));
            const float alt = row < 20 ? 3000.0f : static_cast<float>(1000 + 30 * col);
            f.points.push_back({0, 1.0f, 90.0f, alt, static_cast<float>(38.4 + 0.005 * row),
                                lon, -60.0f});
        }
    f.points.insert(f.points.begin() + 3000, {crv::formats::kSectionEnd, 0, 0, 0, 0, 0, 0});
    return f;
}

std::vector<int> allSlots(const EngineState& s) {
    std::vector<int> slots;
    for (std::size_t i = 1; i <= s.stations.size(); ++i) slots.push_back(static_cast<int>(i));
    return slots;
}
}  // namespace

// Whatever the antenna and wherever the block, no value exceeds its block's
// bound, and the row's largest bound is the row's exact largest value (it
// decides whether a combination is looked at at all). The values are the
// same worked out on first use as all at build time.
TEST(StationPointLevels, BoundsHoldAndValuesMatchTheFullTable) {
    // Across the antimeridian, and where nothing wraps.
    for (const double west : {179.8, -77.3}) {
        SCOPED_TRACE(west);
        const EngineState state = manyAntennas(west);
        const ReceiverPointFile file = crossingGrid(west);
        const auto full = StationPointLevels::build(state, file, allSlots(state), {}, StationPointLevels::Fill::AtBuild);
        const auto lazy = StationPointLevels::build(state, file, allSlots(state));
        ASSERT_FALSE(full.fillsWhenUsed());
        ASSERT_TRUE(lazy.fillsWhenUsed());
        constexpr std::size_t kBlock = StationPointLevels::kBlockPoints;
        for (const int slot : allSlots(state)) {
            double rowLargest = -std::numeric_limits<double>::infinity();
            for (std::size_t b = 0; b < lazy.blockCount(); ++b) {
                const double bound = lazy.blockBoundRow(slot)[b];
                for (std::size_t p = b * kBlock; p < std::min(file.points.size(), (b + 1) * kBlock); ++p) {
                    const double v = full.pathGainDb(slot, p);
                    if (std::isnan(v)) continue;  // the section end
                    ASSERT_LE(v, bound) << "slot " << slot << " point " << p;
                    rowLargest = std::max(rowLargest, v);
                }
            }
            EXPECT_EQ(lazy.largestBoundDb(slot), rowLargest) << slot;
            EXPECT_EQ(full.largestBoundDb(slot), rowLargest) << slot;
        }
        for (const int slot : allSlots(state))
            for (std::size_t p = 0; p < file.points.size(); ++p) {
                const double a = full.pathGainDb(slot, p), b = lazy.pathGainDb(slot, p);
                ASSERT_TRUE(a == b || (std::isnan(a) && std::isnan(b))) << "slot " << slot << " point " << p;
            }
        EXPECT_EQ(lazy.filledBlocks(), lazy.blockCount() * state.stations.size());
    }
}

// Threads asking for the same blocks at once (the first works a block out,
// the others meanwhile work it out for themselves) all read the same values.
TEST(StationPointLevels, ThreadsAskingForTheSameBlocksAgree) {
    const EngineState state = manyAntennas();
    const ReceiverPointFile file = crossingGrid();
    const std::vector<int> slots = allSlots(state);
    const auto full = StationPointLevels::build(state, file, slots, {}, StationPointLevels::Fill::AtBuild);
    const auto lazy = StationPointLevels::build(state, file, slots);
    constexpr std::size_t kBlock = StationPointLevels::kBlockPoints;
    std::vector<int> mismatches(8, 0);
    std::vector<std::thread> threads;
    for (int t = 0; t < 8; ++t)
        threads.emplace_back([&, t] {
            double scratch[kBlock];
            for (std::size_t k = 0; k < slots.size() * lazy.blockCount(); ++k) {
                // Half the threads walk forwards, half backwards.
                const std::size_t cell = t % 2 ? k : slots.size() * lazy.blockCount() - 1 - k;
                const int slot = slots[cell / lazy.blockCount()];
                const std::size_t b = cell % lazy.blockCount();
                double largest = 0;
                const double* values = lazy.blockValues(slot, b, scratch, largest);
                double exact = -std::numeric_limits<double>::infinity();
                for (std::size_t p = b * kBlock; p < std::min(file.points.size(), (b + 1) * kBlock); ++p) {
                    const double want = full.pathGainDb(slot, p), got = values[p - b * kBlock];
                    if (!(want == got || (std::isnan(want) && std::isnan(got)))) ++mismatches[static_cast<std::size_t>(t)];
                    if (want > exact) exact = want;
                }
                if (largest != exact) ++mismatches[static_cast<std::size_t>(t)];
            }
        });
    for (auto& th : threads) th.join();
    EXPECT_EQ(mismatches, std::vector<int>(8, 0));
}

TEST(StationPointLevels, FilledAtBuildWhereNoBoundIsKnown) {
    EngineState state = manyAntennas();
    const std::vector<int> slots = allSlots(state);
    EXPECT_TRUE(StationPointLevels::fillsWhenUsed(state, slots));
    EXPECT_FALSE(StationPointLevels::fillsWhenUsed(state, {}));
    state.options.gridType = 12;  // levels that depend on more than the geometry
    EXPECT_FALSE(StationPointLevels::fillsWhenUsed(state, slots));
    state.options.gridType = 1;
    state.patterns.fmVertical[4].loaded = false;  // type 61 without its pattern
    EXPECT_FALSE(StationPointLevels::fillsWhenUsed(state, slots));
    state.patterns.fmVertical[4].loaded = true;
    state.patterns.fmHorizontal[2].loaded = false;
    EXPECT_FALSE(StationPointLevels::fillsWhenUsed(state, slots));
}
