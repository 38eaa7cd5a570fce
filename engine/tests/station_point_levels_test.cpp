#include "station_point_levels.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>

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
