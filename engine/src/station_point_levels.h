#pragma once
// Levels of FM stations at receiver points, for one export.
//
// An FM station's level at a point is its base level term (which depends on
// the receiver models of the case) plus a path term that depends only on the
// station and the point: spreading loss and the antenna's vertical and
// horizontal gain towards the point. The evaluations need that path term for
// the same (station, point) pairs again and again (every combination a station
// takes part in), so it is worked out once per pair and kept here.
//
// The points are taken in blocks of kBlockPoints in file order. Per station
// and block the table knows a bound: a value no path term of the block
// exceeds. An evaluation whose signals' bounds cannot reach the threshold
// skips the block without its values; only the blocks it cannot skip are
// worked out, each once, on whichever thread needs it first. On a large case
// that is a few percent of the table. Where no bound can be given (a case
// whose levels need more than the geometry, an antenna the bound does not
// know) every value is worked out when the table is built, and the bound is
// then each block's largest value.
//
// A value is the same whichever thread works it out, and whether it is worked
// out on first use or at build time: the same call on the same inputs. So the
// evaluations' results do not depend on the thread count or on the order in
// which the blocks are first used.
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "geodesy.h"
#include "large_memory.h"
#include "receiver_point_file.h"
#include "state.h"

namespace crv::engine {

// Distance and bearing from a station to a receiver point.
DistBearing stationToPoint(const EngineState& state, int slot, const crv::formats::ReceiverPoint& point);
// The path term of a station at a receiver point: FMLevel with a base level
// of 0 dB, given the point's distance and bearing from the station.
double pathTermDb(const EngineState& state, int slot, const crv::formats::ReceiverPoint& point,
                  const DistBearing& fromStation);

class StationPointLevels {
public:
    // Points per block.
    static constexpr std::size_t kBlockPoints = 128;

    // When the values are worked out.
    enum class Fill {
        WhenUsed,  // on first use where a bound can be given, otherwise at build time
        AtBuild,   // all at build time
    };

    // Called on the building thread between its items of work with the items
    // finished (on all threads) and the items in all; it may throw
    // CancelRequested to stop the build.
    using ProgressHook = std::function<void(std::size_t done, std::size_t total)>;

    // Builds the table for the given station slots (1-based, any order, no
    // repeats) over every point of the file; the state and the file must
    // outlive the table. Section-end records get no values (NaN).
    static StationPointLevels build(const EngineState& state, const ReceiverPointFile& points,
                                    const std::vector<int>& slots, const ProgressHook& progress = {},
                                    Fill fill = Fill::WhenUsed);

    // Whether build() with Fill::WhenUsed leaves the values to first use for
    // these stations.
    static bool fillsWhenUsed(const EngineState& state, const std::vector<int>& slots);

    bool has(int slot) const;
    // Whether values are worked out on first use.
    bool fillsWhenUsed() const { return whenUsed_; }

    // A value no path term of the station in block b exceeds (NaN values are
    // left out; -infinity for a block without values), blockCount() of them.
    // Fixed when the table is built: safe to read from any thread.
    const double* blockBoundRow(int slot) const { return bound_.get() + row(slot) * blockCount_; }
    // The largest of the station's block bounds.
    double largestBoundDb(int slot) const { return largest_[row(slot)]; }

    // The path terms of the station at the points of block b (point p at
    // [p - b * kBlockPoints]), worked out now if no thread has yet. Where
    // another thread is working them out at this moment they are worked out
    // into `scratch` (kBlockPoints values) and that is returned. `largest`
    // receives the block's largest value (as a bound, but exact).
    // Safe to call from any number of threads at once.
    const double* blockValues(int slot, std::size_t b, double* scratch, double& largest) const;

    // FMLevel of the station at the point with a base level of 0 dB: the
    // station's level there is its base level term plus this.
    double pathGainDb(int slot, std::size_t pointIndex) const;
    // Horizontal distance from the station to the point (nmi).
    double distanceNmi(int slot, std::size_t pointIndex) const;

    std::size_t pointCount() const { return pointCount_; }
    std::size_t blockCount() const { return blockCount_; }
    // Blocks whose values have been worked out so far (all of them when
    // filled at build time).
    std::size_t filledBlocks() const { return next_ ? next_->load(std::memory_order_relaxed) : 0; }

private:
    std::size_t row(int slot) const { return static_cast<std::size_t>(rowOfSlot_[static_cast<std::size_t>(slot)]); }
    // Works out block b of row r into out; returns its largest value.
    double fillBlock(std::size_t r, std::size_t b, double* out) const;

    const EngineState* state_ = nullptr;
    const crv::formats::ReceiverPoint* points_ = nullptr;
    std::size_t pointCount_ = 0;
    std::size_t blockCount_ = 0;
    bool whenUsed_ = false;
    std::vector<int> rowOfSlot_;  // slot -> row, -1 when not built
    std::vector<int> slotOfRow_;
    std::vector<double> latitude_, longitude_;  // [row]: the station's position
    std::vector<double> largest_;                // [row]

    // Per cell (row * blockCount_ + block): the bound, fixed at build time;
    // the block's exact largest value, written once by the thread that fills
    // it before it publishes the block; and where the block's values are:
    // kEmpty, kFilling, or kReady + the index of its place in values_.
    LargeRoom<double> bound_;
    LargeRoom<double> exact_;
    LargeRoom<std::atomic<std::uint64_t>> where_;
    static constexpr std::uint64_t kEmpty = 0, kFilling = 1, kReady = 2;
    // Room for every block's values, handed out in order of first use (left
    // unwritten, so the pages of blocks never used are never touched).
    LargeRoom<double> values_;
    std::unique_ptr<std::atomic<std::size_t>> next_;
};

// The FMLevel point of a receiver-point record (distance and azimuth from the
// navaid, altitude as written).
struct ReceiverPoint;
ReceiverPoint fmPointOf(const crv::formats::ReceiverPoint& record);

}  // namespace crv::engine
