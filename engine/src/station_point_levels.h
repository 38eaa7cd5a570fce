#pragma once
// Levels of FM stations at receiver points, computed once per export.
//
// An FM station's level at a point is its base level term (which depends on
// the receiver models of the case) plus a path term that depends only on the
// station and the point: spreading loss and the antenna's vertical and
// horizontal gain towards the point. The evaluations need that path term for
// the same (station, point) pairs again and again (every combination a station
// takes part in), so it is computed here once, on all threads.
//
// This class owns the table's layout: one contiguous row of path terms per
// station, in point order, so an evaluation's inner loop walks plain arrays;
// and per row the largest path term over each block of kBlockPoints points, so
// an evaluation can bound a whole block's levels without reading it. The
// station-to-point distance (needed only for the few points that reach a
// threshold) is worked out on demand from the same positions, which gives the
// same value as computing it here and saves half the memory.
//
// The table is filled in a fixed order of work items whose results go to fixed
// slots, so its contents do not depend on the thread count.
#include <cstddef>
#include <functional>
#include <memory>
#include <vector>

#include "geodesy.h"
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
    // Points per block of the block maxima.
    static constexpr std::size_t kBlockPoints = 128;

    // Called on the building thread between its items of work with the items
    // finished (on all threads) and the items in all; it may throw
    // CancelRequested to stop the build.
    using ProgressHook = std::function<void(std::size_t done, std::size_t total)>;

    // Builds the table for the given station slots (1-based, any order, no
    // repeats) over every point of the file, which must outlive the table.
    // Section-end records get no values (NaN).
    static StationPointLevels build(const EngineState& state, const ReceiverPointFile& points,
                                    const std::vector<int>& slots, const ProgressHook& progress = {});

    bool has(int slot) const;
    // FMLevel of the station at the point with a base level of 0 dB: the
    // station's level there is its base level term plus this.
    double pathGainDb(int slot, std::size_t pointIndex) const { return gainRow(slot)[pointIndex]; }
    // The station's path terms at every point, pointCount() of them.
    const double* gainRow(int slot) const { return gain_.get() + row(slot) * pointCount_; }
    // The largest path term of the station in each block (points
    // [b * kBlockPoints, (b + 1) * kBlockPoints)), blockCount() of them;
    // -infinity for a block without values. NaN values are left out.
    const double* blockMaxRow(int slot) const { return blockMax_.data() + row(slot) * blockCount_; }
    // The largest path term of the station over all points.
    double largestGainDb(int slot) const { return largest_[row(slot)]; }
    // Horizontal distance from the station to the point (nmi).
    double distanceNmi(int slot, std::size_t pointIndex) const;

    std::size_t pointCount() const { return pointCount_; }
    std::size_t blockCount() const { return blockCount_; }

private:
    std::size_t row(int slot) const { return static_cast<std::size_t>(rowOfSlot_[static_cast<std::size_t>(slot)]); }

    std::vector<int> rowOfSlot_;   // slot -> row, -1 when not built
    struct FreeMemory {
        void operator()(double* p) const;
    };
    // [row * pointCount_ + point]. Left uninitialised until the worker threads
    // write it: zeroing it first would touch every page on one thread.
    std::unique_ptr<double[], FreeMemory> gain_;
    std::vector<double> blockMax_; // [row * blockCount_ + block]
    std::vector<double> largest_;  // [row]
    std::vector<double> latitude_, longitude_;  // [row]: the station's position
    const crv::formats::ReceiverPoint* points_ = nullptr;
    std::size_t pointCount_ = 0;
    std::size_t blockCount_ = 0;
};

// The FMLevel point of a receiver-point record (distance and azimuth from the
// navaid, altitude as written).
struct ReceiverPoint;
ReceiverPoint fmPointOf(const crv::formats::ReceiverPoint& record);

}  // namespace crv::engine
