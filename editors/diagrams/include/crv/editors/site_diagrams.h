#pragma once
// The small pictures beside the case editor's fields: the localizer array's
// pattern, the service volume's TOP and SIDE outline, and where the receiver
// grid lies in it. Drawn through the drawing layer into a recording; the
// editor's diagram box plays it. Qt-free.
#include <optional>
#include <string>

#include "crv/common/drawing/plot.h"

namespace crv::editors {

// The editor's fields the pictures read, as they stand (list fields as codes).
struct DiagramFields {
    int arrayType = 0;          // 0..38
    int serviceVolumeType = 0;  // 0..8
    float runwayHeadingDeg = 0;
    float fieldElevationFt = 0;
    float runwayLengthFt = 0;
    float serviceVolumeRadiusNmi = 0;  // type 8 only
    float serviceVolumeHeightFt = 0;   // type 8 only
    int gridType = 1;                  // 1..8
    float gridAltitudeFt = 0;
    std::string gridAngleText;         // empty: no vertical grid shown
};

struct TwipsSize {
    int width = 0, height = 0;
};
struct TwipsRect {
    int left = 0, top = 0, width = 0, height = 0;
};

inline constexpr TwipsSize kArrayPatternBox{2220, 1560};
inline constexpr TwipsSize kServiceVolumeBox{2040, 2160};
inline constexpr TwipsSize kGridBox{3240, 1440};

// Navaid page: the box's right edge stands l2 - 120 twips in from the client
// area's right edge and its top at t2 - 360, where (l2, t2) is the first
// field's edit control in the client area.
TwipsRect placeOnNavaidPage(TwipsSize box, int clientWidth, int l2, int t2);
// Simulation page: left at l4 - 120, bottom l4 - 120 above the client area's
// bottom, where l4 is the Grid Type list's left in the client area.
TwipsRect placeOnSimulationPage(TwipsSize box, int clientHeight, int l4);

// The service volume's sizes as the outlines use them.
struct VolumeDims {
    double r1 = 0;       // range within 35 degrees of the course, nmi
    double r2 = 0;       // within 10 degrees, or the radius of a circle, nmi
    double lowAlt = 0;   // feet above the field
    double highAlt = 0;
};
VolumeDims volumeDims(const DiagramFields& f);
// Threshold offset (nmi) of the ILS and TLS outlines.
double thresholdOffsetNmi(const DiagramFields& f);

// Each returns nothing when there is no picture to show (the box is hidden):
// a code without a diagram, or a volume without size.
std::optional<common::PlotOutput> DrawServiceVolumeDiagram(const DiagramFields& f, common::PlotSurface boxPx);
std::optional<common::PlotOutput> DrawGridDiagram(const DiagramFields& f, common::PlotSurface boxPx);

// The array-pattern sheet: 30 small pattern plots, one per array type 2..31,
// 6 across and 5 down, in the sheet's own scale units.
inline constexpr TwipsSize kArraySheetTwips{13800, 8160};
inline constexpr double kArraySheetScaleWidth = 14100;
inline constexpr double kArraySheetScaleHeight = 6720;
struct SheetRect {
    double left = 0, top = 0, width = 0, height = 0;
};
// The tile of an array type (type 0 shows type 6), or nothing for a type
// without a picture (1, 32 and above).
std::optional<int> arrayTileFor(int arrayType);
SheetRect arrayTileRect(int tile);
// Draws the whole sheet.
common::PlotOutput drawArraySheet(common::PlotSurface sheetPx);

}  // namespace crv::editors
