#include "station_point_levels.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <new>
#include <numeric>
#include <stdexcept>

#include "fm_level.h"
#include "geodesy.h"
#include "large_memory.h"
#include "parallel.h"

namespace crv::engine {

namespace {
// Points per work item: small enough for an even spread and a prompt cancel,
// large enough that the bookkeeping stays negligible. A whole number of
// blocks, so each work item fills its own block maxima.
constexpr std::size_t kPointsPerItem = 2048;
static_assert(kPointsPerItem % StationPointLevels::kBlockPoints == 0);

}  // namespace

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

namespace {

constexpr double kFtPerNmi = 6076.115;
constexpr double kMinDistanceNmi = 0.00001;
constexpr double kRadToDeg = 180.0 / 3.14159265358979323846;
constexpr double kDegToRad = 3.14159265358979323846 / 180.0;
constexpr double kInfinity = std::numeric_limits<double>::infinity();

// What the bound of a block needs of its points: the ranges of their
// positions and altitudes (section ends left out).
struct BlockExtent {
    bool any = false;
    bool sound = true;  // all finite
    double latLo = kInfinity, latHi = -kInfinity;
    double lonLo = kInfinity, lonHi = -kInfinity;
    double altLo = kInfinity, altHi = -kInfinity;
};

// A value no path term of station `st` at a point of the block exceeds.
//
// The path term is -20 log10 of the slant range plus the antenna's vertical
// gain at the elevation angle plus its horizontal gain. The slant range is at
// least that of the nearest horizontal distance and the smallest height
// difference; the elevation angle lies between those of the block's corners
// of distance and height; the horizontal gain is at most the pattern's
// largest. Distances follow LLDist's own formula (the longitude difference
// scaled by the cosine of the mean latitude), taken at the ends of each
// range, and are widened by far more than the few roundings in between.
double blockBoundDb(const EngineState& state, const Station& st, const BlockExtent& e, double horizontalDb) {
    if (!e.any) return -kInfinity;
    if (!e.sound || !std::isfinite(st.latitude + st.longitude + st.antennaElevationFt)) return kInfinity;
    const double lat = st.latitude;
    const double yMin = lat >= e.latLo && lat <= e.latHi ? 0.0 : std::min(std::fabs(e.latLo - lat), std::fabs(e.latHi - lat));
    const double yMax = std::max(std::fabs(e.latLo - lat), std::fabs(e.latHi - lat));
    // The longitude difference as LLDist wraps it, over the block's range.
    double xMin = 0, xMax = 180;
    if (e.lonHi - e.lonLo < 180.0) {
        const double wa = WrapAng(st.longitude - e.lonHi, -180.0, 180.0);
        const double wb = WrapAng(st.longitude - e.lonLo, -180.0, 180.0);
        if (wa <= wb) {  // one piece: the same turn was taken off both ends
            xMin = wa <= 0.0 && wb >= 0.0 ? 0.0 : std::min(std::fabs(wa), std::fabs(wb));
            xMax = std::max(std::fabs(wa), std::fabs(wb));
        } else {  // across +-180: the smallest is at an end
            xMin = std::min(std::fabs(wa), std::fabs(wb));
        }
    }
    // The cosine of the mean latitude is smallest at an end of its range.
    const double m0 = (lat + e.latLo) / 2.0, m1 = (lat + e.latHi) / 2.0;
    const double cosMin = std::fabs(m0) <= 90.0 && std::fabs(m1) <= 90.0
                              ? std::max(0.0, std::min(std::cos(m0 * kDegToRad), std::cos(m1 * kDegToRad)))
                              : 0.0;
    const double dMin = std::max(kMinDistanceNmi, 60.0 * std::hypot(xMin * cosMin, yMin) * (1 - 1e-9) - 1e-9);
    const double dMax = std::max(kMinDistanceNmi, 60.0 * std::hypot(xMax, yMax) * (1 + 1e-9) + 1e-9);
    // The height difference as FMLevel works it out, at the altitudes' ends.
    const double dhLo = (e.altLo - st.antennaElevationFt) / kFtPerNmi;
    const double dhHi = (e.altHi - st.antennaElevationFt) / kFtPerNmi;
    const double dhMin = dhLo <= 0.0 && dhHi >= 0.0 ? 0.0 : std::min(std::fabs(dhLo), std::fabs(dhHi));
    const double spreadDb = -20.0 * std::log10(std::sqrt(dMin * dMin + dhMin * dhMin));
    // The elevation angle rises with the height difference; above the
    // antenna it falls with distance, below it rises.
    const double thetaHi = std::atan2(dhHi, dhHi >= 0.0 ? dMin : dMax) * kRadToDeg + 1e-6;
    const double thetaLo = std::atan2(dhLo, dhLo >= 0.0 ? dMax : dMin) * kRadToDeg - 1e-6;
    const double verticalDb = FMVrtGainBound(state.patterns, st.elementType, thetaLo, thetaHi, st.frequencyMHz);
    const double bound = spreadDb + verticalDb + horizontalDb + 1e-9;
    return std::isnan(bound) ? kInfinity : bound;
}

// Whether a bound can be given for every station of the table: the levels of
// the general assessment grid depend on more than the geometry, and an
// antenna the bounds do not know (an invalid type, a pattern not read) is left
// to FMLevel's own failure at build time.
bool boundsKnown(const EngineState& state, const std::vector<int>& slots) {
    if (slots.empty()) return false;
    if (state.options.gridType == 12) return false;
    for (const int s : slots) {
        const Station& st = state.slot(s);
        if (!std::isfinite(FMVrtGainBound(state.patterns, st.elementType, 0.0, 0.0, st.frequencyMHz)) ||
            !std::isfinite(FMHorGainBound(state.patterns, st.horizontalPattern)))
            return false;
    }
    return true;
}

}  // namespace

StationPointLevels StationPointLevels::build(const EngineState& state, const ReceiverPointFile& points,
                                             const std::vector<int>& slots, const ProgressHook& progress,
                                             Fill fill) {
    StationPointLevels t;
    const std::size_t n = points.points.size();
    t.state_ = &state;
    t.points_ = points.points.data();
    t.pointCount_ = n;
    t.blockCount_ = (n + kBlockPoints - 1) / kBlockPoints;
    t.rowOfSlot_.assign(state.stations.size() + 1, -1);
    for (std::size_t r = 0; r < slots.size(); ++r) {
        const int s = slots[r];
        if (s < 1 || static_cast<std::size_t>(s) > state.stations.size())
            throw std::out_of_range("station slot out of range");
        t.rowOfSlot_[static_cast<std::size_t>(s)] = static_cast<int>(r);
        t.slotOfRow_.push_back(s);
        t.latitude_.push_back(state.slot(s).latitude);
        t.longitude_.push_back(state.slot(s).longitude);
    }
    t.whenUsed_ = fill == Fill::WhenUsed && boundsKnown(state, slots);

    const std::size_t rows = slots.size(), cells = rows * t.blockCount_;
    // Large and left unwritten here: the bounds and exact values are written
    // before they are read, and the places are marked empty on all threads.
    t.bound_ = largeRoom<double>(cells);
    t.exact_ = largeRoom<double>(cells);
    t.where_ = largeRoom<std::atomic<std::uint64_t>>(cells);
    parallelFor(0, rows, [&](std::size_t r) {
        for (std::size_t b = 0; b < t.blockCount_; ++b) new (&t.where_[r * t.blockCount_ + b]) std::atomic<std::uint64_t>(kEmpty);
    });
    t.next_ = std::make_unique<std::atomic<std::size_t>>(0);
    t.values_ = largeRoom<double>(cells * kBlockPoints);
    t.largest_.assign(rows, -kInfinity);

    if (t.whenUsed_) {
        // The points' ranges per block, then every station's bound per block.
        std::vector<BlockExtent> extent(t.blockCount_);
        parallelFor(0, t.blockCount_, [&](std::size_t b) {
            BlockExtent& e = extent[b];
            for (std::size_t p = b * kBlockPoints; p < std::min(n, (b + 1) * kBlockPoints); ++p) {
                const auto& rec = points.points[p];
                if (rec.id == crv::formats::kSectionEnd) continue;
                const double alt = fmPointOf(rec).altitudeFt;
                if (std::isnan(alt) || std::isnan(rec.latitude) || std::isnan(rec.longitude)) e.sound = false;
                e.any = true;
                e.latLo = std::min<double>(e.latLo, rec.latitude);
                e.latHi = std::max<double>(e.latHi, rec.latitude);
                e.lonLo = std::min<double>(e.lonLo, rec.longitude);
                e.lonHi = std::max<double>(e.lonHi, rec.longitude);
                e.altLo = std::min(e.altLo, alt);
                e.altHi = std::max(e.altHi, alt);
            }
            // A NaN anywhere leaves no sound range: no bound.
            e.sound = e.sound && std::isfinite(e.latLo + e.latHi + e.lonLo + e.lonHi + e.altLo + e.altHi);
        });
        parallelFor(
            0, rows,
            [&](std::size_t r) {
                const Station& st = state.slot(slots[r]);
                const double horizontalDb = FMHorGainBound(state.patterns, st.horizontalPattern);
                double* bound = t.bound_.get() + r * t.blockCount_;
                for (std::size_t b = 0; b < t.blockCount_; ++b) bound[b] = blockBoundDb(state, st, extent[b], horizontalDb);
                // The row's exact largest value, which decides whether a
                // combination is looked at at all: the blocks are worked out
                // from the highest bound down until no bound left is above
                // the largest value found (typically a few blocks near the
                // station, which the evaluations read anyway).
                std::vector<std::uint32_t> order(t.blockCount_);
                std::iota(order.begin(), order.end(), 0u);
                std::sort(order.begin(), order.end(), [&](std::uint32_t a, std::uint32_t b) {
                    return bound[a] > bound[b] || (bound[a] == bound[b] && a < b);
                });
                double largest = -kInfinity;
                for (const std::uint32_t b : order) {
                    if (bound[b] <= largest) break;
                    double blockLargest;
                    double scratch[kBlockPoints];
                    t.blockValues(slots[r], b, scratch, blockLargest);
                    largest = std::max(largest, blockLargest);
                }
                t.largest_[r] = largest;
            },
            [&](std::size_t done) {
                if (progress) progress(done, rows);
            });
        return t;
    }

    // Every value now. Each block goes to its own place in row order, so
    // the rows are contiguous.
    const std::size_t itemsPerRow = (n + kPointsPerItem - 1) / kPointsPerItem;
    const std::size_t totalItems = itemsPerRow * rows;
    // One parallel call for the whole table: the items are taken one at a
    // time, so a thread that loses its core holds up only its own item, and
    // progress and cancel are seen on this thread between its items.
    parallelFor(
        0, totalItems,
        [&](std::size_t item) {
            const std::size_t r = item / itemsPerRow;
            const std::size_t p0 = (item % itemsPerRow) * kPointsPerItem;
            const std::size_t p1 = std::min(n, p0 + kPointsPerItem);
            for (std::size_t b = p0 / kBlockPoints; b * kBlockPoints < p1; ++b) {
                const std::size_t cell = r * t.blockCount_ + b;
                const double largest = t.fillBlock(r, b, t.values_.get() + cell * kBlockPoints);
                t.exact_[cell] = t.bound_[cell] = largest;
                t.where_[cell].store(kReady + cell, std::memory_order_relaxed);
            }
        },
        [&](std::size_t done) {
            if (progress) progress(done, totalItems);
        });
    t.next_->store(cells);
    for (std::size_t r = 0; r < rows; ++r)
        for (std::size_t b = 0; b < t.blockCount_; ++b)
            t.largest_[r] = std::max(t.largest_[r], t.bound_[r * t.blockCount_ + b]);
    return t;
}

double StationPointLevels::fillBlock(std::size_t r, std::size_t b, double* out) const {
    const int slot = slotOfRow_[r];
    const std::size_t p0 = b * kBlockPoints, p1 = std::min(pointCount_, p0 + kBlockPoints);
    double largest = -kInfinity;
    for (std::size_t p = p0; p < p1; ++p) {
        const auto& rec = points_[p];
        if (rec.id == crv::formats::kSectionEnd) {
            out[p - p0] = std::numeric_limits<double>::quiet_NaN();
            continue;
        }
        const double v = pathTermDb(*state_, slot, rec, stationToPoint(*state_, slot, rec));
        out[p - p0] = v;
        if (v > largest) largest = v;  // NaN never is
    }
    return largest;
}

const double* StationPointLevels::blockValues(int slot, std::size_t b, double* scratch, double& largest) const {
    const std::size_t r = row(slot), cell = r * blockCount_ + b;
    std::atomic<std::uint64_t>& where = where_[cell];
    std::uint64_t w = where.load(std::memory_order_acquire);
    if (w >= kReady) {
        largest = exact_[cell];
        return values_.get() + (w - kReady) * kBlockPoints;
    }
    if (w == kEmpty && where.compare_exchange_strong(w, kFilling, std::memory_order_acquire)) {
        const std::size_t at = next_->fetch_add(1, std::memory_order_relaxed);
        double* out = values_.get() + at * kBlockPoints;
        try {
            largest = exact_[cell] = fillBlock(r, b, out);
        } catch (...) {
            where.store(kEmpty, std::memory_order_release);
            throw;
        }
        where.store(kReady + at, std::memory_order_release);
        return out;
    }
    // Another thread is working the block out: the same values, here.
    largest = fillBlock(r, b, scratch);
    return scratch;
}

double StationPointLevels::pathGainDb(int slot, std::size_t pointIndex) const {
    double scratch[kBlockPoints];
    double largest;
    return blockValues(slot, pointIndex / kBlockPoints, scratch, largest)[pointIndex % kBlockPoints];
}

bool StationPointLevels::fillsWhenUsed(const EngineState& state, const std::vector<int>& slots) {
    return boundsKnown(state, slots);
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
