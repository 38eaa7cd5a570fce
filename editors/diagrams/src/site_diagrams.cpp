#include "crv/editors/site_diagrams.h"

#include <cmath>

#include "crv/common/conversions.h"
#include "crv/common/drawing/draw_context.h"
#include "crv/common/drawing/panel.h"
#include "crv/common/drawing/primitives.h"
#include "crv/common/drawing/service_volume_shapes.h"
#include "crv/common/math_utils.h"
#include "crv/common/service_volume.h"

namespace crv::editors {

using namespace crv::common;

namespace {

constexpr double kFeetPerNmi = 6076.115;
constexpr double kDegToRad = 3.14159265358979323846 / 180.0;
constexpr Colour kPink = 0xB0B0FF;  // RGB 255, 176, 176
constexpr Colour kRed = 0x0000FF;

// PlotText alignments: horizontal anchor * 3 + vertical anchor.
constexpr int kCentred = 4, kCentredBelow = 3, kCentredAbove = 5, kToTheRight = 1;

// The box in twips stands for the drawable sheet: a view rectangle of the box
// (columns and rows in twips) shows a world rectangle, and the same mapping
// runs over the whole box so nothing drawn outside the view is cut off.
class BoxViews {
public:
    BoxViews(Plot& plot, TwipsSize box) : plot_(plot), box_(box) {}
    void view(double colLeft, double colRight, double rowTop, double rowBottom, double xmin, double xmax,
              double ytop, double ybottom) {
        PanelRecord panel;
        panel.SheetRect = {inchX(colLeft), inchX(colRight), inchY(rowTop), inchY(rowBottom)};
        panel.DataRect = {float(xmin), float(xmax), float(ytop), float(ybottom)};
        panel.ClipRect = plot_.PageFrame;
        SetPanelMapping(panel);
        SetWorldWindow(plot_, panel.ClipDataRect);
    }
    // Width in pixels of a world length along x.
    double pixelsX(double length) const {
        return std::fabs(length * plot_.world().scaleX) * plot_.surface().widthPx / kPageWidth;
    }

private:
    float inchX(double col) const {
        return float(plot_.PageFrame.xmin + col / box_.width * (plot_.PageFrame.xmax - plot_.PageFrame.xmin));
    }
    float inchY(double row) const {
        return float(plot_.PageFrame.ymin + row / box_.height * (plot_.PageFrame.ymax - plot_.PageFrame.ymin));
    }
    Plot& plot_;
    TwipsSize box_;
};

std::string number(double v) { return formatGeneral(v); }

bool positive(double v) { return std::isfinite(v) && v > 0; }

}  // namespace

TwipsRect placeOnNavaidPage(TwipsSize box, int clientWidth, int l2, int t2) {
    return {clientWidth - box.width - l2 + 120, t2 - 360, box.width, box.height};
}

TwipsRect placeOnSimulationPage(TwipsSize box, int clientHeight, int l4) {
    return {l4 - 120, clientHeight - box.height - l4 + 120, box.width, box.height};
}

VolumeDims volumeDims(const DiagramFields& f) {
    if (f.serviceVolumeType == 8) return {0, f.serviceVolumeRadiusNmi, 0, f.serviceVolumeHeightFt};
    const ServiceVolumeSize v = GetServiceVolume(f.serviceVolumeType);
    return {v.radius35Nmi, v.radius10Nmi, v.floorFt, v.ceilingFt};
}

double thresholdOffsetNmi(const DiagramFields& f) {
    const int s = f.serviceVolumeType;
    return s == 0 || s == 1 || s == 4 ? (f.runwayLengthFt + 1000.0) / kFeetPerNmi : 0.0;
}

std::optional<PlotOutput> DrawServiceVolumeDiagram(const DiagramFields& f, PlotSurface boxPx) {
    const int s = f.serviceVolumeType;
    if (s < 0 || s > 8) return std::nullopt;
    const VolumeDims d = volumeDims(f);
    const bool sector = s <= 4;
    // A volume without size has nothing to draw and no scale to draw it at.
    if (!positive(d.r2) || !positive(d.highAlt) || (sector && !positive(d.r1))) return std::nullopt;
    if (boxPx.widthPx <= 0 || boxPx.heightPx <= 0) return std::nullopt;
    const double x0 = thresholdOffsetNmi(f);
    auto plot = BeginPlot(boxPx, false, "");
    BoxViews views(*plot, kServiceVolumeBox);
    DrawContext& dc = plot->picture();
    SetPlotFont(dc, 0.7, "Arial");
    const double r1 = d.r1, r2 = d.r2, hi = d.highAlt;
    if (sector) {
        const double R = 1.25 * r1 * std::sin(35.0 * kDegToRad);
        views.view(180, 1560, 120, 1140, 0, 1.1 * r2, R, -R);
        PlotSectorPlan(dc, 0, 0, 270, r1, r2, 0);
        PlotBox(dc, 0, R, 1.1 * r2, -R);
        PlotText(dc, "TOP", r2 / 2, 0, kCentred, 0);
        views.view(180, 1560, 1140, 1860, 0, 1.1 * r2, 1.2 * hi, 0);
        PlotSectorProfile(dc, s, d.lowAlt, hi, r2, x0, 0);
        PlotBox(dc, 0, 1.2 * hi, 1.1 * r2, 0);
        PlotText(dc, "SIDE", r2 / 2, hi / 2, kCentred, 0);
        PlotText(dc, number(hi), 1.15 * r2, hi, kToTheRight, 0);
        PlotText(dc, "0", 0, 0, kCentredBelow, 0);
        PlotText(dc, number(r2), r2, 0, kCentredBelow, 0);
    } else {
        views.view(180, 1440, 120, 1380, -1.2 * r2, 1.2 * r2, 1.2 * r2, -1.2 * r2);
        PlotCircle(dc, 0, 0, r2);
        PlotBox(dc, -1.2 * r2, 1.2 * r2, 1.2 * r2, -1.2 * r2);
        PlotText(dc, "TOP", 0, 0, kCentred, 0);
        views.view(180, 1440, 1380, 1920, -1.2 * r2, 1.2 * r2, 1.2 * hi, 0);
        PlotVorProfile(dc, s, hi, -r2, r2);
        PlotBox(dc, -1.2 * r2, 1.2 * hi, 1.2 * r2, 0);
        PlotText(dc, "SIDE", 0, hi / 2, kCentred, 0);
        PlotText(dc, number(r2), -r2, 0, kCentredBelow, 0);
        PlotText(dc, number(hi), 1.3 * r2, hi, kToTheRight, 0);
        PlotText(dc, "0", 0, 0, kCentredBelow, 0);
        PlotText(dc, number(r2), r2, 0, kCentredBelow, 0);
    }
    return EndPlot(std::move(plot));
}

std::optional<PlotOutput> DrawGridDiagram(const DiagramFields& f, PlotSurface boxPx) {
    const int g = f.gridType;
    if (g < 1 || g > 7) return std::nullopt;
    const int s = f.serviceVolumeType;
    if (s < 0 || s > 8) return std::nullopt;
    const VolumeDims d = volumeDims(f);
    const bool sector = s <= 4;
    if (!positive(d.r2) || !positive(d.highAlt) || (sector && !positive(d.r1))) return std::nullopt;
    if (boxPx.widthPx <= 0 || boxPx.heightPx <= 0) return std::nullopt;
    const double r1 = d.r1, r2 = d.r2, hi = d.highAlt, lo = d.lowAlt;
    const double course = sector ? f.runwayHeadingDeg : 270.0;
    const double x0 = thresholdOffsetNmi(f);
    const double t0 = s == 4 ? x0 : 0.0;
    const double a = double(f.gridAltitudeFt) - double(f.fieldElevationFt);
    const bool H = g == 1 || g == 2 || g == 6 || g == 7 || (g == 3 && a >= 0 && a <= hi);
    const bool V = g >= 4 && !f.gridAngleText.empty();
    const double b = V ? Val(f.gridAngleText) : 0.0;

    auto plot = BeginPlot(boxPx, false, "");
    BoxViews views(*plot, kGridBox);
    DrawContext& dc = plot->picture();
    SetPlotFont(dc, 1.0, "Arial");
    if (sector) {
        const double R = 1.25 * r1 * std::sin(35.0 * kDegToRad);
        views.view(120, 1500, 240, 1260, 0, 1.1 * r2, R, -R);
        if (H) {
            double rin = t0, rout = r2;
            if (g == 3) {
                const double aNmi = a / kFeetPerNmi;
                if (s == 4) {
                    rin = std::max(aNmi / std::tan(15.0 * kDegToRad), t0);
                } else {
                    rin = aNmi / std::tan(7.0 * kDegToRad);
                    rout = a >= lo ? r2 : aNmi / std::tan(2.0 * kDegToRad) + x0;
                }
            }
            SetPenColor(dc, kPink);
            PlotSectorPlan(dc, 0, 0, 270, MinOf(r1, rout), MinOf(r2, rout), rin);
            if (std::lround(views.pixelsX(rout - rin)) > 1) FillArea(dc, kPink, (rout + rin) / 2, 0);
        }
        SetPenColor(dc, kBlack);
        PlotSectorPlan(dc, 0, 0, 270, r1, r2, 0);
        PlotBox(dc, 0, R, 1.1 * r2, -R);
        PlotText(dc, "TOP VIEW", 0.55 * r2, 1.04 * R, kCentredAbove, 0);
        const double rel = WrapAngle(float(b - course), 0.0f, 360.0f);
        const bool inSector = rel <= 35 || rel >= 325;
        if (V) {
            SetPenColor(dc, kRed);
            PlotRadials(dc, false, 0, b, s, r1, r2, course, t0);
        }
        views.view(1740, 3120, 240, 1260, 0, 1.1 * r2, 1.5 * hi, 0);
        if (V && inSector) {
            const double range = rel > 10 && rel < 350 ? r1 : r2;
            SetPenColor(dc, kPink);
            PlotSectorProfile(dc, s, lo, hi, range, x0, t0);
            FillArea(dc, kPink, 0.75 * range, (lo + hi) / 2);
        }
        SetPenColor(dc, kBlack);
        PlotBox(dc, 0, 1.5 * hi, 1.1 * r2, 0);
        PlotText(dc, "SIDE VIEW", 0.55 * r2, 1.53 * hi, kCentredAbove, 0);
        PlotSectorProfile(dc, s, lo, hi, r2, x0, 0);
        if (H) {
            SetPenColor(dc, kRed);
            PlotGridLine(dc, g, a, s, lo, hi, r2, x0);
        }
    } else {
        const double k = 1380.0 / 1020.0;  // circles keep their shape
        views.view(120, 1500, 240, 1260, -1.1 * r2 * k, 1.1 * r2 * k, 1.1 * r2, -1.1 * r2);
        if (H) {
            const double rout = g == 3 ? ServiceVolumeRange(a, s, r2, lo, hi) : r2;
            if (rout > 0) {
                SetPenColor(dc, kPink);
                PlotCircle(dc, 0, 0, rout);
                FillArea(dc, kPink, 0, 0);
            }
        }
        SetPenColor(dc, kBlack);
        PlotCircle(dc, 0, 0, r2);
        PlotBox(dc, -1.1 * r2 * k, 1.1 * r2, 1.1 * r2 * k, -1.1 * r2);
        PlotText(dc, "TOP VIEW", 0, 1.144 * r2, kCentredAbove, 0);
        if (V) {
            SetPenColor(dc, kRed);
            PlotRadials(dc, false, 0, b, s, r1, r2, 270, 0.0);
        }
        views.view(1740, 3120, 240, 1260, -1.1 * r2 * k, 1.1 * r2 * k, 2 * hi, 0);
        if (V) {
            const bool left = std::sin(b * kDegToRad) < 0;
            const double from = left ? -r2 : 0, to = left ? 0 : r2;
            SetPenColor(dc, kPink);
            PlotVorProfile(dc, s, hi, from, to);
            FillArea(dc, kPink, (from + to) / 2, (lo + hi) / 2);
        }
        SetPenColor(dc, kBlack);
        PlotVorProfile(dc, s, hi, -r2, r2);
        PlotBox(dc, -1.1 * r2 * k, 2 * hi, 1.1 * r2 * k, 0);
        PlotText(dc, "SIDE VIEW", 0, 2.04 * hi, kCentredAbove, 0);
        if (H) {
            SetPenColor(dc, kRed);
            PlotGridLine(dc, g, a, s, lo, hi, r2, 0);
        }
    }
    return EndPlot(std::move(plot));
}

}  // namespace crv::editors
