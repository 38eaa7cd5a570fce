#pragma once
// Linear axes with tick marks, value labels and a title, drawn in a panel's
// data units (see panel.h).
#include "crv/common/drawing/draw_context.h"
#include "crv/common/drawing/panel.h"

#include <string>

namespace crv::common {

struct AxisRecord {
    // Horizontal axis: the data x where the tick rows start and the data y of
    // the axis line. Vertical axis: the data x of the line and the data y
    // where the tick rows start.
    float AxisX = 0.0f;
    float AxisY = 0.0f;
    float MajorStep = 0.0f;    // data units; 0 or below: no major ticks
    float MajorLength = 0.0f;  // sheet inches
    int MajorPlacement = 0;    // 0, 1 or 2: where the tick lies against the line
    // Labels stand at the minor ticks, at every one where there is room, else
    // at a regular subset (every k-th, preferring the major ticks) so that no
    // two run into each other. 0 or below: neither ticks nor labels.
    float MinorStep = 0.0f;
    float MinorLength = 0.0f;
    int MinorPlacement = 0;
    int LabelMode = 0;  // 0 no labels, 1 the value, 2 its absolute value
    int LabelSide = 0;  // 2 above a horizontal / right of a vertical axis
    short Decimals = 0;
    std::string LabelHeight = "0.15";  // sheet inches, held as text
    std::string Title;                 // "" for none
};

// A row of ticks never holds more than this many marks each way from its
// start: a step that is tiny against the panel would otherwise run the plot
// for hours and cover the axis in ink.
inline constexpr int kMaxTicksPerDirection = 2000;

// Throw DrawingError when LabelHeight is not a number.
void PlotXAxis(DrawContext& dc, const PanelRecord& panel, const AxisRecord& axis);
void PlotYAxis(DrawContext& dc, const PanelRecord& panel, const AxisRecord& axis);

}  // namespace crv::common
