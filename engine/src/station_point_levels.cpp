#include "station_point_levels.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <stdexcept>

#include "fm_level.h"
#include "geodesy.h"
#include "parallel.h"

namespace crv::engine {

namespace {
// Points per work item: small enough for an even spread and a prompt cancel,
// large enough that the bookkeeping stays negligible.
constexpr std::size_t kPointsPerBlock = 2048;
}  // namespace

ReceiverPoint fmPointOf(const crv::formats::ReceiverPoint& record) {
    ReceiverPoint p;
    p.id = record.id;
    p.distanceNmi = record.distanceNmi;
    p.azimuthDeg = record.azimuthDeg;
    p.altitudeFt = record.altitudeFt;
    return p;
}

StationPointLevels StationPointLevels::build(const EngineState& state, const ReceiverPointFile& points,
                                             const std::vector<int>& slots, const ProgressHook& progress) {
    StationPointLevels t;
    const std::size_t n = points.points.size();
    t.pointCount_ = n;
    t.rowOfSlot_.assign(state.stations.size() + 1, -1);
    for (std::size_t r = 0; r < slots.size(); ++r) {
        const int s = slots[r];
        if (s < 1 || static_cast<std::size_t>(s) > state.stations.size())
            throw std::out_of_range("station slot out of range");
        t.rowOfSlot_[static_cast<std::size_t>(s)] = static_cast<int>(r);
    }
    const double none = std::numeric_limits<double>::quiet_NaN();
    t.gain_.assign(slots.size(), std::vector<double>(n, none));
    t.distance_.assign(slots.size(), std::vector<double>(n, none));

    const std::size_t blocksPerRow = (n + kPointsPerBlock - 1) / kPointsPerBlock;
    const std::size_t totalBlocks = blocksPerRow * slots.size();
    // Work goes out in rounds of a few blocks per thread so that progress and
    // cancel are seen on this thread between rounds.
    const std::size_t round = std::max<std::size_t>(1, static_cast<std::size_t>(threadCount()) * 4);
    for (std::size_t first = 0; first < totalBlocks; first += round) {
        const std::size_t last = std::min(totalBlocks, first + round);
        parallelFor(first, last, [&](std::size_t block) {
            const std::size_t r = block / blocksPerRow;
            const int slot = slots[r];
            const Station& st = state.slot(slot);
            const std::size_t p0 = (block % blocksPerRow) * kPointsPerBlock;
            const std::size_t p1 = std::min(n, p0 + kPointsPerBlock);
            for (std::size_t p = p0; p < p1; ++p) {
                const auto& rec = points.points[p];
                if (rec.id == crv::formats::kSectionEnd) continue;
                const DistBearing db = LLDist(st.latitude, st.longitude, rec.latitude, rec.longitude);
                t.distance_[r][p] = db.distanceNmi;
                t.gain_[r][p] = FMLevel(state, slot, 0.0, db.distanceNmi, db.bearingDeg, fmPointOf(rec));
            }
        });
        if (progress) progress(last, totalBlocks);
    }
    return t;
}

bool StationPointLevels::has(int slot) const {
    return slot >= 0 && static_cast<std::size_t>(slot) < rowOfSlot_.size() &&
           rowOfSlot_[static_cast<std::size_t>(slot)] >= 0;
}

}  // namespace crv::engine
