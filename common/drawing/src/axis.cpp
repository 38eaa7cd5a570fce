#include "crv/common/drawing/axis.h"

#include "crv/common/drawing/drawing_error.h"
#include "crv/common/drawing/primitives.h"
#include "crv/common/conversions.h"

#include <crv/platform/numbers.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <vector>

namespace crv::common {
namespace {

double labelHeightOf(const AxisRecord& axis) {
    const auto h = platform::parseReal(axis.LabelHeight);
    if (!h || !std::isfinite(*h)) {
        throw DrawingError("The axis label height \"" + axis.LabelHeight + "\" is not a number.");
    }
    return *h;
}

// Calls draw(v) for start - step, start - 2 step, ... while v >= lo, then for
// start, start + step, ... while v <= hi: the positions of one tick row.
void forEachTick(double start, double step, double lo, double hi, const std::function<void(double)>& draw) {
    if (!(step > 0.0) || !std::isfinite(step) || !std::isfinite(start)) return;
    for (int k = 1; k <= kMaxTicksPerDirection; ++k) {
        const double v = start - k * step;
        if (!(v >= lo)) break;
        draw(v);
    }
    for (int k = 0; k < kMaxTicksPerDirection; ++k) {
        const double v = start + k * step;
        if (!(v <= hi)) break;
        draw(v);
    }
}

std::string labelOf(double v, const AxisRecord& axis) {
    return formatGrouped(axis.LabelMode == 2 ? std::fabs(v) : v, axis.Decimals);
}

// The advance of a label, in ems, as the plot faces set it (they all have
// Arial's metrics): figures are 0.556 em, "-" 0.333, "," and "." 0.278.
double labelWidthEm(const std::string& text) {
    double w = 0.0;
    for (const char c : text) {
        if (c >= '0' && c <= '9') w += 0.556;
        else if (c == '-') w += 0.333;
        else if (c == ',' || c == '.') w += 0.278;
        else w += 0.75;  // nothing else reaches a label; the widest letters, to be safe
    }
    return w;
}

// Every how many minor ticks a label stands: the smallest regular stride that
// puts neighbouring labels at least needIn sheet inches apart. Strides that
// land on the major ticks come first (divisors of the minors per major, then
// multiples of a major), so thinned labels still read off the major ticks.
int labelStride(double minorStep, double majorStep, double minorIn, double needIn) {
    if (!(minorIn > 0.0) || minorIn >= needIn) return 1;
    std::vector<int> strides;
    const double perMajor = majorStep / minorStep;
    const int n = static_cast<int>(std::lround(perMajor));
    const bool whole = majorStep > 0.0 && n >= 2 && std::fabs(perMajor - n) < 1e-4 * n;
    const int base = whole ? n : 1;
    if (whole)
        for (int d = 2; d < n; ++d)
            if (n % d == 0) strides.push_back(d);
    for (long long decade = 1; decade <= 100000000LL; decade *= 10)
        for (const int f : {1, 2, 5})
            strides.push_back(static_cast<int>(std::min<long long>(base * f * decade, 1 << 30)));
    for (const int k : strides)
        if (k * minorIn >= needIn) return k;
    return strides.back();
}

// Labels are thinned so that none runs into its neighbour: their font is
// 0.9 of the label height, and besides the widest label they keep a fifth of
// an em clear. A twentieth more covers whole-pixel font sizes on screens.
constexpr double kLabelSlack = 1.05;
constexpr double kLabelGapEm = 0.2;
// Ascent plus descent of the plot faces, in ems.
constexpr double kLabelLineEm = 1.15;

// The label positions: every stride-th minor tick position counted from
// start, so the labels that remain keep their regular spacing.
void forEachLabel(double start, double step, int stride, double lo, double hi,
                  const std::function<void(double)>& draw) {
    forEachTick(start, step, lo, hi, [&](double v) {
        if (std::llround((v - start) / step) % stride == 0) draw(v);
    });
}

// The widest label of a row, in ems.
double widestLabelEm(const AxisRecord& axis, double start, double lo, double hi) {
    double widest = 0.0;
    forEachTick(start, axis.MinorStep, lo, hi,
                [&](double v) { widest = std::max(widest, labelWidthEm(labelOf(v, axis))); });
    return widest;
}

}  // namespace

void PlotXAxis(DrawContext& dc, const PanelRecord& panel, const AxisRecord& axis) {
    const double labelHeight = labelHeightOf(axis);
    const double lo = std::min(panel.DataRect.xmin, panel.DataRect.xmax);
    const double hi = std::max(panel.DataRect.xmin, panel.DataRect.xmax);
    double u = panel.ScaleY;

    // The last tick row drawn: its upper end and its length.
    double rowY1 = axis.AxisY;
    double rowLen = 0.0;
    auto tickRow = [&](double step, double length, int placement) {
        if (!(step > 0.0)) return;
        const double len = length * u;
        const double y1 = axis.AxisY - len * placement / 2.0;
        const double y2 = y1 + len;
        forEachTick(axis.AxisX, step, lo, hi, [&](double v) { PlotLine(dc, v, y1, v, y2); });
        rowY1 = y1;
        rowLen = len;
    };
    tickRow(axis.MajorStep, axis.MajorLength, axis.MajorPlacement);
    tickRow(axis.MinorStep, axis.MinorLength, axis.MinorPlacement);

    double line = rowY1;
    int align = 5;  // bottom-centre: labels above the axis
    if (axis.LabelSide == 2) {
        u = -u;
    } else {
        line = rowY1 + rowLen;
        align = 3;  // top-centre: labels below
    }

    if (axis.MinorStep > 0.0f && axis.LabelMode != 0) {
        SetPlotFont(dc, 0.9 * labelHeight, "");
        const bool wideGap = (axis.LabelSide == 2 && axis.MinorPlacement == 0) ||
                             (axis.LabelSide == 0 && axis.MinorPlacement == 2);
        line += (wideGap ? 0.06 : 0.02) * u;
        const double em = 0.9 * labelHeight;
        const double need = (widestLabelEm(axis, axis.AxisX, lo, hi) * kLabelSlack + kLabelGapEm) * em;
        const int stride = labelStride(axis.MinorStep, axis.MajorStep, axis.MinorStep / std::fabs(panel.ScaleX), need);
        forEachLabel(axis.AxisX, axis.MinorStep, stride, lo, hi,
                     [&](double v) { PlotText(dc, labelOf(v, axis), v, line, align, 0.0); });
        line += 0.9 * labelHeight * u;
    }
    if (!axis.Title.empty()) {
        line += 0.11 * u;
        SetPlotFont(dc, labelHeight, "");
        PlotText(dc, axis.Title, (lo + hi) / 2.0, line, align, 0.0);
    }
}

void PlotYAxis(DrawContext& dc, const PanelRecord& panel, const AxisRecord& axis) {
    const double labelHeight = labelHeightOf(axis);
    const double lo = std::min(panel.DataRect.ymin, panel.DataRect.ymax);
    const double hi = std::max(panel.DataRect.ymin, panel.DataRect.ymax);
    double u = panel.ScaleX;

    double rowX1 = axis.AxisX;
    double rowLen = 0.0;
    auto tickRow = [&](double step, double length, int placement) {
        if (!(step > 0.0)) return;
        const double len = length * u;
        const double x1 = axis.AxisX + len * placement / 2.0;
        const double x2 = x1 - len;
        forEachTick(axis.AxisY, step, lo, hi, [&](double v) { PlotLine(dc, x1, v, x2, v); });
        rowX1 = x1;
        rowLen = len;
    };
    tickRow(axis.MajorStep, axis.MajorLength, axis.MajorPlacement);
    tickRow(axis.MinorStep, axis.MinorLength, axis.MinorPlacement);

    // Offsets move the line away from the axis: to the left by default, to
    // the right with LabelSide 2.
    double line = rowX1 - rowLen;
    int align = 7;  // right end, middle
    if (axis.LabelSide == 2) {
        line = rowX1;
        u = -u;
        align = 1;  // left end, middle
    }

    if (axis.MinorStep > 0.0f && axis.LabelMode != 0) {
        SetPlotFont(dc, 0.9 * labelHeight, "");
        const bool wideGap = (axis.LabelSide == 0 && axis.MinorPlacement == 2) ||
                             (axis.LabelSide == 2 && axis.MinorPlacement == 0);
        line -= (wideGap ? 0.08 : 0.04) * u;
        const double em = 0.9 * labelHeight;
        const double need = (kLabelLineEm * kLabelSlack + kLabelGapEm) * em;
        const int stride = labelStride(axis.MinorStep, axis.MajorStep, axis.MinorStep / std::fabs(panel.ScaleY), need);
        forEachLabel(axis.AxisY, axis.MinorStep, stride, lo, hi,
                     [&](double v) { PlotText(dc, labelOf(v, axis), line, v, align, 0.0); });
        // An estimate of the widest label, so the title clears them all.
        const double widest = static_cast<double>(
            std::max(formatGrouped(lo, axis.Decimals).size(), formatGrouped(hi, axis.Decimals).size()));
        line -= widest * 0.55 * labelHeight * u;
    }
    if (!axis.Title.empty()) {
        line -= 0.12 * u;
        SetPlotFont(dc, labelHeight, "");
        PlotText(dc, axis.Title, line, (lo + hi) / 2.0, 5, axis.LabelSide == 2 ? 270.0 : 90.0);
    }
}

}  // namespace crv::common
