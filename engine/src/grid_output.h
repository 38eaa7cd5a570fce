#pragma once
// The receiver grid's writing side. Points are laid out in units (a station's
// rings, a row of the regular grid, a column of the vertical plane...). The
// units of a batch are built on worker threads, each into its own list, with
// the navaid level of every point; the calling thread then writes the lists in
// unit order and reports progress, so the file is the same whatever the number
// of threads, and the progress callback (and with it a cancel) only ever runs
// on the caller's thread.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "grid_volume.h"
#include "crv/formats/plot_file.h"
#include "progress.h"
#include "state.h"

namespace crv::engine {

inline constexpr const char* kReceiverPointFileName = "Rcvr_Loc.plx";
inline constexpr const char* kCoarsePointFileName = "Rcvr8Loc.plx";

// What every point of one grid run shares.
struct GridContext {
    const EngineState& state;
    ServiceVolume volume;
    int gridType = 0;
    double antennaRejectionDb = 0;  // at the navaid frequency, computed once
};

// A receiver position before its level is known.
struct GridPoint {
    std::int16_t id = 0;
    double distanceNmi = 0;
    double azimuthDeg = 0;  // bearing from the point to the navaid
    double altitudeFt = 0;  // receiver altitude, ft above mean sea level
    double latitude = 0;
    double longitude = 0;
};

// The record of a point as WritePoint stores it: the height is the altitude +
// 6.8 ft (the receiver antenna above the aircraft's reference), and the level
// is the navaid model's at that height and at least 0.00001 nmi out.
crv::formats::ReceiverPoint pointRecord(const GridContext& grid, const GridPoint& point);

// The bearing-plus-180 azimuth of the receiver-point convention, in [0, 360).
double reverseAzimuth(double bearingDeg);

// One receiver-point file being written.
class GridFile {
public:
    // Creates the file with the receiver-point header (routine names a failure).
    void create(const GridContext& grid, const std::string& fileName, std::string_view routine);
    void WritePoint(const crv::formats::ReceiverPoint& record);
    // Writes `count` point records already framed (appendReceiverPointRecord).
    void writePoints(std::string_view framed, std::int64_t count);
    void closeSection();                            // id 9999 and six zeros
    void closeVerticalSection(double planeAzimuthDeg);  // id 9999, 0, 0, P, 0, 0, 0, 0
    // Closes and keeps the file; a write error fails under the routine's name.
    void finish(std::string_view routine);
    void discard() { writer_.discard(); }
    bool isOpen() const { return writer_.isOpen(); }
    std::int64_t count() const { return count_; }

private:
    crv::formats::RecordWriter writer_;
    std::int64_t count_ = 0;
};

// Work units and their progress reports (T and S of GridCount).
class GridProgress {
public:
    GridProgress(Progress& progress, const WorkEstimate& estimate)
        : progress_(progress), expected_(estimate.expectedUnits), step_(estimate.stepUnits),
          next_(estimate.stepUnits) {}
    // Counts units one by one and calls back at every threshold; throws
    // CancelRequested when the user cancels.
    void advance(long long units);

private:
    Progress& progress_;
    double expected_;
    long long step_;
    long long done_ = 0;
    long long next_;
};

struct GridUnit {
    long long workUnits = 0;
    // Lays the unit's points out in order (on a worker thread: it must only
    // read shared data).
    std::function<void(std::vector<GridPoint>&)> build;
};

// Collects units and writes them in the order they were added.
class GridBatch {
public:
    GridBatch(const GridContext& grid, GridFile& file, GridProgress& progress)
        : grid_(grid), file_(file), progress_(progress) {}
    void add(GridUnit unit);
    // Builds and writes everything added so far.
    void flush();

private:
    const GridContext& grid_;
    GridFile& file_;
    GridProgress& progress_;
    std::vector<GridUnit> units_;
    long long pendingWork_ = 0;
};

}  // namespace crv::engine
