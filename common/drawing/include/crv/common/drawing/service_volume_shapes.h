#pragma once
// The facility service volumes as the plots and the case editor's diagrams
// show them. Plan views are in nmi on both axes; elevation views in nmi across
// and feet up (6076.115 ft to the nmi). svType is the service-volume type
// (0-8) of crv/common/service_volume.h.
#include "crv/common/drawing/draw_context.h"

#include <optional>

namespace crv::common {

// Elevation outline of a localizer or TLS sector from (x0, 0): for types other
// than 4 up the 2-degree floor to lowAlt, out to farRange, up to highAlt,
// back to where the upper line from the origin (7 degrees; 15 for type 4)
// reaches highAlt, down that line to nearRange and back to (x0, 0).
void PlotSectorProfile(DrawContext& dc, int svType, double lowAltFt, double highAltFt,
                       double farRangeNmi, double x0Nmi, double nearRangeNmi);

// Plan outline of a localizer or TLS sector about the mathematical direction
// 270 - course, one point per degree: r35 from -35 to -10 and from 10 to 35
// degrees, r10 between; closed through an arc at rInner when it is above 0,
// else through the centre.
void PlotSectorPlan(DrawContext& dc, double xc, double yc, double courseDeg, double r35Nmi,
                    double r10Nmi, double rInnerNmi);

// Elevation outline of a VOR volume: its floor from xStart to xEnd in 500
// steps, up to topAlt, back and down to the start.
void PlotVorProfile(DrawContext& dc, int svType, double topAltFt, double xStartNmi, double xEndNmi);

// One radial of the receiver grid about the world origin, at pen width 20
// (then 6), with its bearing label when labelHeightIn is above 0. A tick draws
// only a short mark across the boundary.
void PlotRadials(DrawContext& dc, bool tick, double labelHeightIn, double bearingDeg, int svType,
                 double r35Nmi, double r10Nmi, double courseDeg, std::optional<double> innerNmi = {});

// An elevation-view line of the receiver grid at pen width 20 (then 6):
// which 1 the bottom of the volume, 2 its top, 3 the selected altitude.
void PlotGridLine(DrawContext& dc, int which, double selAltFt, int svType, double lowAltFt,
                  double highAltFt, double rangeNmi, double x0Nmi);

}  // namespace crv::common
