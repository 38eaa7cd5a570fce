#include "station_point_levels.h"

#include <sys/mman.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <new>
#include <stdexcept>

#include "fm_level.h"
#include "geodesy.h"
#include "parallel.h"

namespace crv::engine {

namespace {
// Points per work item: small enough for an even spread and a prompt cancel,
// large enough that the bookkeeping stays negligible. A whole number of
// blocks, so each work item fills its own block maxima.
constexpr std::size_t kPointsPerItem = 2048;
static_assert(kPointsPerItem % StationPointLevels::kBlockPoints == 0);

// Memory for count doubles, in whole huge pages where the table is large: it
// is written once, page by page, and the kernel's work per page fault (a
// third of the build's time on one thread with 4 KiB pages) is then paid once
// per 2 MiB instead of once per 4 KiB.
double* allocateTable(std::size_t count) {
    constexpr std::size_t kHugePage = std::size_t{2} << 20;
    std::size_t bytes = std::max<std::size_t>(count, 1) * sizeof(double);
    const bool huge = bytes >= kHugePage;
    // aligned_alloc wants the size a whole multiple of the alignment.
    const std::size_t alignment = huge ? kHugePage : alignof(std::max_align_t);
    bytes = (bytes + alignment - 1) / alignment * alignment;
    void* p = std::aligned_alloc(alignment, bytes);
    if (!p) throw std::bad_alloc();
    if (huge) ::madvise(p, bytes, MADV_HUGEPAGE);  // a hint: without it the table is the same, only built slower
    return static_cast<double*>(p);
}
}  // namespace

void StationPointLevels::FreeMemory::operator()(double* p) const { std::free(p); }

ReceiverPoint fmPointOf(const crv::formats::ReceiverPoint& record) {
    ReceiverPoint p;
    p.id = record.id;
    p.distanceNmi = record.distanceNmi;
    p.azimuthDeg = record.azimuthDeg;
    p.altitudeFt = record.altitudeFt;
    return p;
}

DistBearing stationToPoint(const EngineState& state, int slot, const crv::formats::ReceiverPoint& point) {
    const Station& st = state.slot(slot);
    return LLDist(st.latitude, st.longitude, point.latitude, point.longitude);
}

double pathTermDb(const EngineState& state, int slot, const crv::formats::ReceiverPoint& point,
                  const DistBearing& fromStation) {
    return FMLevel(state, slot, 0.0, fromStation.distanceNmi, fromStation.bearingDeg, fmPointOf(point));
}

StationPointLevels StationPointLevels::build(const EngineState& state, const ReceiverPointFile& points,
                                             const std::vector<int>& slots, const ProgressHook& progress) {
    StationPointLevels t;
    const std::size_t n = points.points.size();
    t.points_ = points.points.data();
    t.pointCount_ = n;
    t.blockCount_ = (n + kBlockPoints - 1) / kBlockPoints;
    t.rowOfSlot_.assign(state.stations.size() + 1, -1);
    for (std::size_t r = 0; r < slots.size(); ++r) {
        const int s = slots[r];
        if (s < 1 || static_cast<std::size_t>(s) > state.stations.size())
            throw std::out_of_range("station slot out of range");
        t.rowOfSlot_[static_cast<std::size_t>(s)] = static_cast<int>(r);
        t.latitude_.push_back(state.slot(s).latitude);
        t.longitude_.push_back(state.slot(s).longitude);
    }
    // Every value is written by exactly one work item below (section ends
    // included), so the rows need no filling first.
    t.gain_.reset(allocateTable(slots.size() * n));
    t.blockMax_.resize(slots.size() * t.blockCount_);

    const std::size_t itemsPerRow = (n + kPointsPerItem - 1) / kPointsPerItem;
    const std::size_t totalItems = itemsPerRow * slots.size();
    const double none = std::numeric_limits<double>::quiet_NaN();
    const double lowest = -std::numeric_limits<double>::infinity();
    // One parallel call for the whole table: the items are taken one at a
    // time, so a thread that loses its core holds up only its own item, and
    // progress and cancel are seen on this thread between its items.
    parallelFor(
        0, totalItems,
        [&](std::size_t item) {
            const std::size_t r = item / itemsPerRow;
            const int slot = slots[r];
            double* gain = t.gain_.get() + r * n;
            double* blockMax = t.blockMax_.data() + r * t.blockCount_;
            const std::size_t p0 = (item % itemsPerRow) * kPointsPerItem;
            const std::size_t p1 = std::min(n, p0 + kPointsPerItem);
            for (std::size_t b0 = p0; b0 < p1; b0 += kBlockPoints) {
                const std::size_t b1 = std::min(p1, b0 + kBlockPoints);
                double largest = lowest;
                for (std::size_t p = b0; p < b1; ++p) {
                    const auto& rec = points.points[p];
                    if (rec.id == crv::formats::kSectionEnd) {
                        gain[p] = none;
                        continue;
                    }
                    gain[p] = pathTermDb(state, slot, rec, stationToPoint(state, slot, rec));
                    if (gain[p] > largest) largest = gain[p];  // NaN never is
                }
                blockMax[b0 / kBlockPoints] = largest;
            }
        },
        [&](std::size_t done) {
            if (progress) progress(done, totalItems);
        });
    t.largest_.assign(slots.size(), lowest);
    for (std::size_t r = 0; r < slots.size(); ++r)
        for (std::size_t b = 0; b < t.blockCount_; ++b)
            t.largest_[r] = std::max(t.largest_[r], t.blockMax_[r * t.blockCount_ + b]);
    return t;
}

bool StationPointLevels::has(int slot) const {
    return slot >= 0 && static_cast<std::size_t>(slot) < rowOfSlot_.size() &&
           rowOfSlot_[static_cast<std::size_t>(slot)] >= 0;
}

double StationPointLevels::distanceNmi(int slot, std::size_t pointIndex) const {
    const std::size_t r = row(slot);
    const auto& rec = points_[pointIndex];
    return LLDist(latitude_[r], longitude_[r], rec.latitude, rec.longitude).distanceNmi;
}

}  // namespace crv::engine
