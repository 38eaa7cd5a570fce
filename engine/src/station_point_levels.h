#pragma once
// Levels of FM stations at receiver points, computed once per export.
//
// An FM station's level at a point is its base level term (which depends on
// the receiver models of the case) plus a path term that depends only on the
// station and the point: spreading loss and the antenna's vertical and
// horizontal gain towards the point. The evaluations need that path term for
// the same (station, point) pairs again and again (every combination a station
// takes part in), so it is computed here once, on all threads, together with
// the station-to-point distance the line-of-sight tests use.
//
// The table is filled in a fixed order of work items whose results go to fixed
// slots, so its contents do not depend on the thread count.
#include <cstddef>
#include <functional>
#include <vector>

#include "receiver_point_file.h"
#include "state.h"

namespace crv::engine {

class StationPointLevels {
public:
    // Called on the building thread between blocks of work with the blocks done
    // and the blocks in all; it may throw CancelRequested to stop the build.
    using ProgressHook = std::function<void(std::size_t done, std::size_t total)>;

    // Builds the table for the given station slots (1-based, any order, no
    // repeats) over every point of the file. Section-end records get no values.
    static StationPointLevels build(const EngineState& state, const ReceiverPointFile& points,
                                    const std::vector<int>& slots, const ProgressHook& progress = {});

    bool has(int slot) const;
    // FMLevel of the station at the point with a base level of 0 dB: the
    // station's level there is its base level term plus this.
    double pathGainDb(int slot, std::size_t pointIndex) const { return gain_[row(slot)][pointIndex]; }
    // Horizontal distance from the station to the point (nmi).
    double distanceNmi(int slot, std::size_t pointIndex) const { return distance_[row(slot)][pointIndex]; }

    std::size_t pointCount() const { return pointCount_; }

private:
    std::size_t row(int slot) const { return static_cast<std::size_t>(rowOfSlot_[static_cast<std::size_t>(slot)]); }

    std::vector<int> rowOfSlot_;                 // slot -> row, -1 when not built
    std::vector<std::vector<double>> gain_;      // [row][point]
    std::vector<std::vector<double>> distance_;  // [row][point]
    std::size_t pointCount_ = 0;
};

// The FMLevel point of a receiver-point record (distance and azimuth from the
// navaid, altitude as written).
struct ReceiverPoint;
ReceiverPoint fmPointOf(const crv::formats::ReceiverPoint& record);

}  // namespace crv::engine
