#pragma once
// The receiver grid: the positions the evaluations test, laid into the
// navaid's service volume by the case's grid type and written with the navaid
// level at each to the receiver-point file "Rcvr_Loc.plx" (and, with coarse-grid
// prescreening, the same horizontal grid at 8 times the spacing to
// "Rcvr8Loc.plx").
#include <vector>

#include "grid_output.h"

namespace crv::engine {

inline constexpr const char* kGridRoutine = "Grid           ";
inline constexpr const char* kGridHRoutine = "GridH          ";
inline constexpr const char* kGridVRoutine = "GridV          ";
inline constexpr const char* kGridGRoutine = "GridG          ";

// What a grid finds when it lays no point at all (a CR breaks the lines of the
// message box).
inline constexpr const char* kNoPointsMessage =
    "No receiver locations defined.  This is\r"
    "most likely due to the selection of an\r"
    "altitude that is below ground level or\r"
    "above the top of the navaid service\r"
    "volume.";

// Ring radii (ft) around a station, and the column offsets of the vertical
// plane: 100 ft, then growing increments, up to 1150 ft for a localizer or TLS
// and 8500 ft for the omnidirectional volumes.
std::vector<double> stationOffsetsFt(const ServiceVolume& volume);

// The altitude of the context's grid type at a distance (VolumeLimit with the
// case's grid altitude).
VolumeAltitude volumeLimit(const GridContext& grid, int gridType, double distanceNmi);

// Station rings and the regular grid at the spacing (nmi) into the open file;
// on the first pass of a localizer or TLS also the sector-edge points. The
// caller closes the section.
void GridH(const GridContext& grid, GridBatch& batch, double spacingNmi, bool firstPass);

// The vertical plane at the spacing (nmi) into the open file; returns the
// plane's azimuth for the section end.
double GridV(const GridContext& grid, GridBatch& batch, double spacingNmi);

// Grid type 8 (the user's points of "RcvrTest.pts") and 12 (the general
// assessment method) into the open file.
void GridG(const GridContext& grid, GridBatch& batch);

}  // namespace crv::engine
