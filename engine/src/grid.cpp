// The export Grid: reads the case, checks that its grid can be built, and
// writes the receiver-point files.
#include "grid.h"

#include <cmath>
#include <cstdio>
#include <string>

#include "case_input.h"
#include "crv/platform/output_file.h"
#include "criteria.h"
#include "evaluation_exports.h"
#include "failure.h"
#include "fixed_text.h"
#include "navaid_models.h"

namespace crv::engine {

namespace {

bool usesHorizontalIncrement(int gridType) { return gridType != 8 && gridType != 12; }
bool usesVerticalIncrement(int gridType) { return (gridType >= 4 && gridType <= 7) || gridType == 12; }
bool hasHorizontalGrid(int gridType) { return (gridType >= 1 && gridType <= 3) || gridType == 6 || gridType == 7; }

// Refuses what would make the grid loop without end, divide by zero or fill
// the disk, before any file is written.
void checkCase(const EngineState& state, const ServiceVolume& volume) {
    const CaseOptions& o = state.options;
    if (const std::string mismatch = navaidModelMismatch(state.navaid.arrayType, volume.type); !mismatch.empty())
        fail(kGridRoutine, mismatch);
    if (usesHorizontalIncrement(o.gridType) && !(o.horIncrementFt > 0))
        fail(kGridRoutine, "The horizontal grid increment must be greater than 0 ft\rfor simulation grid type " +
                               std::to_string(o.gridType) + ".");
    if (usesVerticalIncrement(o.gridType) && !(o.vrtIncrementFt > 0))
        fail(kGridRoutine, "The vertical grid increment must be greater than 0 ft\rfor simulation grid type " +
                               std::to_string(o.gridType) + ".");
    if (volume.type == 8 && !(volume.rangeNmi > 0))
        fail(kGridRoutine, "The VHF COM service volume radius must be greater than 0 nmi.");
}

void checkSize(const WorkEstimate& estimate) {
    if (estimate.gridPoints > kMaxGridPoints) {
        char count[32];
        std::snprintf(count, sizeof count, "%.0f", std::floor(estimate.gridPoints));
        fail(kGridRoutine, std::string("This case would make about ") + count +
                               " receiver points, more than the\rlimit of 5000000. Increase the horizontal "
                               "increment\r(or the vertical increment), or reduce the\rservice volume radius.");
    }
}

// The coarse grid for prescreening: the horizontal grid at 8 times the
// spacing. A spacing that lays no point is halved, but never below the fine
// spacing, which did lay points.
void coarsePass(const GridContext& grid, GridProgress& progress, GridFile& file, double fineSpacingNmi) {
    for (double spacing = 8.0 * fineSpacingNmi;; spacing /= 2.0) {
        file.create(grid, kCoarsePointFileName, kGridHRoutine);
        GridBatch batch(grid, file, progress);
        GridH(grid, batch, spacing, false);
        if (file.count() > 0) {
            file.closeSection();
            file.finish(kGridHRoutine);
            return;
        }
        file.discard();
        if (spacing / 2.0 < fineSpacingNmi * (1.0 - 1e-9))
            fail(kGridHRoutine,
                 "No receiver locations defined for the coarse\rprescreening grid.  Turn coarse-grid\r"
                 "prescreening off for this case.");
    }
}

}  // namespace

void runGrid(const char* runFolder, Progress& progress, std::int32_t& points) {
    EngineState& state = sharedState();
    ReadData(state, argumentText(runFolder, 260, kGridRoutine, "run folder"));
    // Results a killed run left half-written under temporary names go first.
    crv::platform::removeStrayTemporaries(state.paths.runFolder);
    const std::string finePath = state.paths.runFolder + kReceiverPointFileName;
    const std::string coarsePath = state.paths.runFolder + kCoarsePointFileName;
    // Files of an earlier run must not outlive this one: an evaluation would
    // read them as this case's points. What is not such a file (a link, a
    // FIFO, a folder, a file the user made read-only) is refused instead.
    for (const std::string& path : {finePath, coarsePath})
        if (auto ok = crv::platform::checkWritableTarget(path); !ok)
            fail(kGridRoutine, "Could not create receiver point file:\r" + ok.error());
    std::remove(finePath.c_str());
    std::remove(coarsePath.c_str());

    CaseOptions& o = state.options;
    const int gridType = o.gridType;
    // The general assessment method always works on the expanded volume.
    if (gridType == 12 && (state.navaid.serviceVolumeType == 0 || state.navaid.serviceVolumeType == 2))
        state.navaid.serviceVolumeType = static_cast<std::int16_t>(state.navaid.serviceVolumeType + 1);
    const ServiceVolume volume = serviceVolumeFor(state);
    // Receiver-point files and the localizer model carry the
    // localizer-to-threshold distance where the case has the runway length.
    state.navaid.runwayLengthFt = volume.locToThresholdFt;
    checkCase(state, volume);
    const WorkEstimate estimate = GridCount(state, volume);
    checkSize(estimate);

    const GridContext grid{state, volume, gridType, AntRej(state, state.navaid.frequencyMHz)};
    GridProgress gridProgress(progress, estimate);
    const double spacing = o.horIncrementFt / kFtPerNmi;
    GridFile fine, coarse;
    try {
        fine.create(grid, kReceiverPointFileName, kGridRoutine);
        GridBatch batch(grid, fine, gridProgress);
        if (hasHorizontalGrid(gridType)) {
            GridH(grid, batch, spacing, true);
            if (fine.count() == 0 && gridType <= 3) fail(kGridHRoutine, kNoPointsMessage);
            fine.closeSection();
        }
        if (gridType >= 4 && gridType <= 7) {
            const double plane = GridV(grid, batch, spacing);
            if (fine.count() == 0) fail(kGridVRoutine, kNoPointsMessage);
            fine.closeVerticalSection(plane);
        } else if (gridType >= 9 && gridType <= 11) {
            const double plane = GridV(grid, batch, spacing);
            if (fine.count() == 0) fail(kGridVRoutine, kNoPointsMessage);
            fine.closeVerticalSection(plane);
        } else if (gridType == 8 || gridType == 12) {
            GridG(grid, batch);
            if (fine.count() == 0)
                fail(kGridGRoutine, "No receiver locations defined.  No RF source\rlies in or near the navaid "
                                    "service volume.");
            fine.closeSection();
        }
        fine.finish(kGridRoutine);
        points = static_cast<std::int32_t>(fine.count());
        if (o.prescreen != 0 && hasHorizontalGrid(gridType)) coarsePass(grid, gridProgress, coarse, spacing);
    } catch (...) {
        // A cancelled or failed grid leaves no receiver-point file behind.
        fine.discard();
        coarse.discard();
        std::remove(finePath.c_str());
        std::remove(coarsePath.c_str());
        points = 0;
        throw;
    }
}

}  // namespace crv::engine
