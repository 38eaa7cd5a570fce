#include "crv/common/drawing/service_volume_shapes.h"

#include "crv/common/drawing/drawing_error.h"
#include "crv/common/drawing/primitives.h"
#include "crv/common/service_volume.h"
#include "crv/common/math_utils.h"

#include <cmath>

namespace crv::common {
namespace {

double tanDeg(double deg) { return std::tan(deg * kDegToRad); }

// Nmi from the foot of a line rising at angleDeg to where it reaches altFt.
double runTo(double altFt, double angleDeg) { return altFt / kFeetPerNmi / tanDeg(angleDeg); }

double upperAngleDeg(int svType) { return svType == 4 ? 15.0 : 7.0; }
constexpr double kLowerAngleDeg = 2.0;

// Grid lines and radials are drawn wide and the pen goes back to the plot's
// width of 6 afterwards, whichever way the drawing ends.
class WidePen {
public:
    explicit WidePen(DrawContext& dc) : dc_(dc) { SetPenWidth(dc_, 20); }
    ~WidePen() { SetPenWidth(dc_, 6); }
    WidePen(const WidePen&) = delete;
    WidePen& operator=(const WidePen&) = delete;

private:
    DrawContext& dc_;
};

}  // namespace

void PlotSectorProfile(DrawContext& dc, int svType, double lowAltFt, double highAltFt,
                       double farRangeNmi, double x0Nmi, double nearRangeNmi) {
    const double aU = upperAngleDeg(svType);
    PlotMoveTo(dc, x0Nmi, 0.0);
    if (svType != 4) PlotLineTo(dc, x0Nmi + runTo(lowAltFt, kLowerAngleDeg), lowAltFt);
    PlotLineTo(dc, farRangeNmi, lowAltFt);
    PlotLineTo(dc, farRangeNmi, highAltFt);
    PlotLineTo(dc, runTo(highAltFt, aU), highAltFt);
    PlotLineTo(dc, nearRangeNmi, tanDeg(aU) * nearRangeNmi * kFeetPerNmi);
    PlotLineTo(dc, x0Nmi, 0.0);
}

void PlotSectorPlan(DrawContext& dc, double xc, double yc, double courseDeg, double r35Nmi,
                    double r10Nmi, double rInnerNmi) {
    const double base = 270.0 - courseDeg;
    auto lineToP = [&](double r, int i) {
        const double a = (base + i) * kDegToRad;
        PlotLineTo(dc, xc + r * std::cos(a), yc + r * std::sin(a));
    };
    PlotMoveTo(dc, xc + rInnerNmi, yc);
    if (rInnerNmi > 0.0) {
        for (int i = 1; i >= -35; --i) lineToP(rInnerNmi, i);
    }
    for (int i = -35; i <= -10; ++i) lineToP(r35Nmi, i);
    for (int i = -10; i <= 10; ++i) lineToP(r10Nmi, i);
    for (int i = 10; i <= 35; ++i) lineToP(r35Nmi, i);
    if (rInnerNmi > 0.0) {
        for (int i = 35; i >= 1; --i) lineToP(rInnerNmi, i);
    }
    PlotLineTo(dc, xc + rInnerNmi, yc);
}

void PlotVorProfile(DrawContext& dc, int svType, double topAltFt, double xStartNmi, double xEndNmi) {
    const double y0 = MinServiceAltitude(svType, std::fabs(xStartNmi));
    PlotMoveTo(dc, xStartNmi, y0);
    const double step = (xEndNmi - xStartNmi) / 500.0;
    for (int i = 1; i <= 500; ++i) {
        const double x = xStartNmi + i * step;
        PlotLineTo(dc, x, MinServiceAltitude(svType, std::fabs(x)));
    }
    PlotLineTo(dc, xEndNmi, topAltFt);
    PlotLineTo(dc, xStartNmi, topAltFt);
    PlotLineTo(dc, xStartNmi, y0);
}

void PlotRadials(DrawContext& dc, bool tick, double labelHeightIn, double bearingDeg, int svType,
                 double r35Nmi, double r10Nmi, double courseDeg, std::optional<double> innerNmi) {
    if (!dc.world().isSet) throw DrawingError("No world window has been set for the plot.");
    double a = 0.0;
    double r = 0.0;
    if (svType <= 4) {
        a = WrapAngle(static_cast<float>(bearingDeg - courseDeg), 0.0f, 360.0f);
        // Outside the +-35 degree sector there is no radial to show.
        if (a > 35.0 && a < 325.0) return;
        r = (a <= 10.0 || a >= 350.0) ? r10Nmi : r35Nmi;
    } else {
        a = bearingDeg + 180.0 - courseDeg;
        r = r10Nmi;
    }
    const double scaleX = dc.world().scaleX;
    double inner = innerNmi.value_or(0.0);
    double outer = r;
    if (tick) {
        const double d = 67.5 / scaleX;  // 0.0675 inch either side of the boundary
        inner = r - d;
        outer = r + d;
    }
    double c = std::cos(a * kDegToRad);
    double s = std::sin(a * kDegToRad);
    {
        WidePen wide(dc);
        PlotLine(dc, inner * c, -inner * s, outer * c, -outer * s);
    }
    if (labelHeightIn > 0.0) {
        const double g = 225.0 / scaleX;  // 0.225 inch beyond the end
        if (svType <= 4) {
            // Labels next to the +-10 degree step would sit on the outline's
            // corner; they move out to 12 degrees.
            if (a > 10.0 && a < 12.0) a = 12.0;
            if (a > 348.0 && a < 350.0) a = 348.0;
            c = std::cos(a * kDegToRad);
            s = std::sin(a * kDegToRad);
        }
        SetPlotFont(dc, labelHeightIn, "");
        PlotText(dc, std::to_string(roundToInt32(bearingDeg, "A label value")), (g + outer) * c, -(0.8 * g + outer) * s, 4, 0.0);
    }
}

void PlotGridLine(DrawContext& dc, int which, double selAltFt, int svType, double lowAltFt,
                  double highAltFt, double rangeNmi, double x0Nmi) {
    WidePen wide(dc);
    if (svType > 4) {
        if (which == 3) {
            const double r = ServiceVolumeRange(selAltFt, svType, rangeNmi, lowAltFt, highAltFt);
            if (r > 0.0) PlotLine(dc, -r, selAltFt, r, selAltFt);
        } else if (which == 2) {
            PlotLine(dc, -rangeNmi, highAltFt, rangeNmi, highAltFt);
        } else {
            PlotMoveTo(dc, -rangeNmi, lowAltFt);
            const double step = rangeNmi / 250.0;
            for (int i = -250; i <= 250; ++i) {
                PlotLineTo(dc, i * step, MinServiceAltitude(svType, std::fabs(i * step)));
            }
        }
        return;
    }
    const double aU = upperAngleDeg(svType);
    const double xs = svType == 4 ? x0Nmi : 0.0;
    if (which == 3) {
        if (selAltFt < 0.0 || selAltFt > highAltFt) return;
        const double xa = runTo(selAltFt, aU);
        PlotMoveTo(dc, xa < xs ? xs : xa, selAltFt);
        if (selAltFt < lowAltFt) {
            PlotLineTo(dc, x0Nmi + runTo(selAltFt, kLowerAngleDeg), selAltFt);
        } else {
            PlotLineTo(dc, rangeNmi, selAltFt);
        }
    } else if (which == 2) {
        PlotMoveTo(dc, xs, xs * tanDeg(aU) * kFeetPerNmi);
        PlotLineTo(dc, runTo(highAltFt, aU), highAltFt);
        PlotLineTo(dc, rangeNmi, highAltFt);
    } else {
        PlotMoveTo(dc, xs, 0.0);
        PlotLineTo(dc, x0Nmi, 0.0);
        PlotLineTo(dc, x0Nmi + runTo(lowAltFt, kLowerAngleDeg), lowAltFt);
        PlotLineTo(dc, rangeNmi, lowAltFt);
    }
}

}  // namespace crv::common
