#include "grid_output.h"

#include <algorithm>
#include <cstdio>

#include "failure.h"
#include "fixed_text.h"
#include "geodesy.h"
#include "navaid_models.h"
#include "parallel.h"
#include "plot_header.h"

namespace crv::engine {

namespace {
// Receiver antenna height above the altitude a point is laid at.
constexpr double kReceiverAntennaFt = 6.8;
constexpr double kMinLevelDistanceNmi = 0.00001;
// Units are collected in batches of about this many work units (progress and
// cancel are seen after every unit written, whatever the batch).
constexpr long long kBatchWork = 1000000;
constexpr std::size_t kBatchUnits = 65536;
// Units built ahead of the one being written.
constexpr std::size_t kUnitsAhead = 256;
}  // namespace

double reverseAzimuth(double bearingDeg) { return WrapAng(bearingDeg + 180.0, 0.0, 360.0); }

crv::formats::ReceiverPoint pointRecord(const GridContext& grid, const GridPoint& p) {
    const double heightFt = p.altitudeFt + kReceiverAntennaFt;
    const double d = std::max(p.distanceNmi, kMinLevelDistanceNmi);
    const double relative = grid.volume.sectored() ? WrapAng(grid.volume.courseDeg - p.azimuthDeg, -180.0, 180.0) : 0.0;
    const double level = NavaidLevel(grid.state, d, relative, heightFt, grid.antennaRejectionDb);
    crv::formats::ReceiverPoint r;
    r.id = p.id;
    r.distanceNmi = static_cast<float>(p.distanceNmi);
    r.azimuthDeg = static_cast<float>(p.azimuthDeg);
    r.altitudeFt = static_cast<float>(heightFt);
    r.latitude = static_cast<float>(p.latitude);
    r.longitude = static_cast<float>(p.longitude);
    r.levelDbm = static_cast<float>(level);
    return r;
}

void GridFile::create(const GridContext& grid, const std::string& fileName, std::string_view routine) {
    count_ = 0;
    PlotHdr(grid.state, writer_, fileName, trimRightCopy(grid.state.navaid.identifier) + " receiver points", "", routine);
}

void GridFile::WritePoint(const crv::formats::ReceiverPoint& record) {
    writer_.writeRecord(crv::formats::encodeReceiverPoint(record));
    ++count_;
}

void GridFile::writePoints(std::string_view framed, std::int64_t count) {
    writer_.writeFramed(framed);
    count_ += count;
}

void GridFile::closeSection() {
    crv::formats::ReceiverPoint end;
    end.id = crv::formats::kSectionEnd;
    writer_.writeRecord(crv::formats::encodeReceiverPoint(end));
}

void GridFile::closeVerticalSection(double planeAzimuthDeg) {
    writer_.writeRecord(crv::formats::encodeVerticalSectionEnd(static_cast<float>(planeAzimuthDeg)));
}

void GridFile::finish(std::string_view routine) {
    const std::string path = writer_.path();
    if (!writer_.close()) {
        std::remove(path.c_str());
        fail(routine, "Could not write receiver point file:\r" + path);
    }
}

void GridProgress::advance(long long units) {
    for (long long i = 0; i < units; ++i) {
        ++done_;
        if (done_ >= next_) {
            next_ += step_;
            progress_.checkpoint(static_cast<double>(done_), expected_);
        }
    }
}

void GridBatch::add(GridUnit unit) {
    pendingWork_ += std::max<long long>(unit.workUnits, 1);
    units_.push_back(std::move(unit));
    if (pendingWork_ >= kBatchWork || units_.size() >= kBatchUnits) flush();
}

void GridBatch::flush() {
    if (units_.empty()) return;
    const std::vector<GridUnit> units = std::move(units_);
    units_.clear();
    pendingWork_ = 0;
    // Each unit's records are worked out and framed on the threads while
    // this thread writes the units before it, in order.
    struct Built {
        std::string framed;
        std::int64_t count = 0;
    };
    const std::size_t ahead = std::min(units.size(), kUnitsAhead);
    std::vector<Built> built(ahead);
    parallelOrdered(
        units.size(), ahead,
        [&](std::size_t i) {
            std::vector<GridPoint> points;
            units[i].build(points);
            Built& b = built[i % ahead];
            b.framed.clear();
            b.framed.reserve(points.size() * 34);
            for (const GridPoint& p : points) crv::formats::appendReceiverPointRecord(b.framed, pointRecord(grid_, p));
            b.count = static_cast<std::int64_t>(points.size());
        },
        [&](std::size_t i) {
            file_.writePoints(built[i % ahead].framed, built[i % ahead].count);
            progress_.advance(units[i].workUnits);
        });
}

}  // namespace crv::engine
