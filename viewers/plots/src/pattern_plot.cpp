// Antenna pattern pages: a pattern plot file drawn polar or rectangular,
// normalised to its maximum, in dB or in percent.
#include "both_contexts.h"
#include "crv/common/drawing/axis.h"
#include "crv/common/drawing/primitives.h"
#include "crv/formats/numbers.h"
#include "crv/formats/pattern_plot_file.h"
#include "crv/viewers/plot_builders.h"

#include <algorithm>
#include <cmath>

namespace crv::viewers {

using namespace crv::common;

namespace {

// A ring label: the number as Str writes it, a leading blank for the sign.
std::string str(double v) {
    const std::string text = crv::formats::formatG(v);
    return v >= 0 ? " " + text : text;
}

}  // namespace

platform::Expected<PatternPage> PlotAntennaPattern(Plot& plot, const std::string& dirPath, const std::string& fileName,
                                                   bool polarPlot, bool decibels, ProgressDisplay* progress) {
    const std::string path = detail::joinPath(dirPath, fileName);
    // The whole file is read and checked before anything is drawn.
    std::string error;
    const auto file = crv::formats::readPatternPlotFile(path, error);
    if (!file) return platform::makeError(error);
    if (file->rows.size() < 2)
        return platform::makeError("Invalid pattern plot file " + path + ": fewer than two points");
    const std::string upperName = detail::upper(fileName);
    const bool vertical = upperName.find("VRT") != std::string::npos;
    const bool polar = polarPlot && !vertical;
    const double vMin = decibels ? -50 : 0, vMax = decibels ? 0 : 100, span = vMax - vMin;
    const std::string& title1 = file->title1;
    const std::string& title2 = file->title2;

    std::vector<double> angle, value;
    double maximum = vMin;
    for (const crv::formats::PatternRow& row : file->rows) {
        const double v = decibels ? row.db : row.percent;
        angle.push_back(row.angleDeg);
        value.push_back(v);
        if (v > maximum) maximum = v;
    }

    if (decibels) {
        for (double& v : value) v -= maximum;
    } else if (maximum != 0) {
        for (double& v : value) v /= maximum / 100;
    }
    std::size_t n = angle.size();
    if (polar && angle.back() == 180) {
        for (std::size_t i = n - 1; i-- > 0;) {
            angle.push_back(360 - angle[i]);
            value.push_back(value[i]);
        }
        n = angle.size();
    }
    if (progress) progress->MaxValue(std::int32_t(n));

    PatternPage out;
    PanelRecord panel;
    panel.ClipRect = plot.PageFrame;
    const std::string valueTitle = decibels ? "Normalized Signal Strength (dB)" : "Normalized Signal Strength (%)";
    auto canceledNow = [&](std::size_t i) {
        if (!progress) return false;
        progress->Value(std::int32_t(i));
        return progress->Canceled();
    };
    if (polar) {
        panel.SheetRect = {1.25f, 7.25f, 2.75f, 8.75f};
        const float e = float(1.15 * span);
        panel.DataRect = {-e, e, e, -e};
        SetPanelMapping(panel);
        SetWorldWindow(plot, panel.ClipDataRect);
        detail::setFonts(plot, 0.14, 0.1568, plot.TextFontFace);
        const double s = span / 5;
        detail::inBoth(plot, [&](DrawContext& dc, bool) {
            for (int k = 1; k <= 4; ++k) {
                const double r = k * s;
                PlotText(dc, str(vMin + k * s) + " ", 0, r, 8, 0);
                const int spacing = int(std::nearbyint(30.0 / std::floor(1.5 * k + 0.5)));
                const double half = r * (spacing * kDegToRad) / 4;
                for (int a = spacing; a <= 360; a += spacing) {
                    const double sa = std::sin(a * kDegToRad), ca = std::cos(a * kDegToRad);
                    const double x = r * sa, y = r * ca;
                    PlotLine(dc, x - half * ca, y + half * sa, x + half * ca, y - half * sa);
                }
            }
            PlotCircle(dc, 0, 0, span);
            for (int a = 0; a < 360; a += 10) {
                const double sa = std::sin(a * kDegToRad), ca = std::cos(a * kDegToRad);
                if (a % 30 == 0) {
                    for (int d = 60; d >= 4; d -= 4) {
                        const double c = span * d / 60.0, h = span / 60.0;
                        PlotLine(dc, (c - h) * sa, (c - h) * ca, (c + h) * sa, (c + h) * ca);
                    }
                    PlotText(dc, std::to_string(a), 1.07 * span * sa, 1.07 * span * ca, 4, 0);
                } else {
                    PlotLine(dc, span * sa, span * ca, 0.975 * span * sa, 0.975 * span * ca);
                }
            }
            PlotLine(dc, -s / 12, 0, s / 12, 0);
            PlotLine(dc, 0, -s / 12, 0, s / 12);
            PlotBox(dc, -e, -e, e, e);
            SetPenColor(dc, 0xFF0000);
        });
        auto radiusAt = [&](std::size_t i) { return std::max(value[i] - vMin, 0.0); };
        detail::inBoth(plot, [&](DrawContext& dc, bool) {
            PlotMoveTo(dc, radiusAt(0) * std::sin(angle[0] * kDegToRad), radiusAt(0) * std::cos(angle[0] * kDegToRad));
        });
        if (progress) progress->Value(1);
        for (std::size_t i = 1; i < n; ++i) {
            const double r = radiusAt(i);
            detail::inBoth(plot, [&](DrawContext& dc, bool) {
                PlotLineTo(dc, r * std::sin(angle[i] * kDegToRad), r * std::cos(angle[i] * kDegToRad));
            });
            if (canceledNow(i + 1)) {
                out.canceled = true;
                return out;
            }
        }
        detail::inBoth(plot, [](DrawContext& dc, bool) { SetPenColor(dc, kBlack); });
        SetWorldWindow(plot, plot.PageFrame);
        detail::setFonts(plot, 0.15, 0.168, plot.TextFontFace);
        detail::inBoth(plot, [&](DrawContext& dc, bool) {
            PlotText(dc, valueTitle, panel.SheetRect.xmax - 0.1, panel.SheetRect.ymax - 0.08, 8, 0);
        });
    } else {
        const double last = angle[n - 1];
        panel.SheetRect = {1.75f, 7.25f, 2.85f, 8.1f};
        panel.DataRect = {0, float(last), float(vMax), float(vMin)};
        SetPanelMapping(panel);
        AxisRecord xa;
        xa.AxisX = 0;
        xa.AxisY = float(vMin);
        xa.MinorStep = float(last / 18);
        xa.MajorStep = float(last / 6);
        xa.MinorLength = xa.MajorLength = 0.08f;
        xa.MinorPlacement = xa.MajorPlacement = 2;
        xa.LabelMode = 1;
        xa.Decimals = 0;
        xa.Title = vertical ? "Elevation Angle (deg)" : "Azimuth Angle (deg)";
        AxisRecord ya = xa;
        ya.MinorStep = float(span / 10);
        ya.MajorStep = float(span / 5);
        ya.Title = valueTitle;
        SetWorldWindow(plot, panel.ClipDataRect);
        detail::inBoth(plot, [&](DrawContext& dc, bool meta) {
            PlotBox(dc, 0, vMin, last, vMax);
            xa.LabelHeight = ya.LabelHeight = meta ? "0.15" : "0.168";
            PlotXAxis(dc, panel, xa);
            PlotYAxis(dc, panel, ya);
            SetPenColor(dc, 0xFF0000);
        });
        if (progress) progress->Value(1);
        for (std::size_t i = 1; i < n; ++i) {
            detail::inBoth(plot, [&](DrawContext& dc, bool) {
                PlotClippedLine(dc, angle[i - 1], value[i - 1], angle[i], value[i], 0, last, vMin, vMax);
            });
            if (canceledNow(i + 1)) {
                out.canceled = true;
                return out;
            }
        }
        detail::inBoth(plot, [](DrawContext& dc, bool) { SetPenColor(dc, kBlack); });
        SetWorldWindow(plot, plot.PageFrame);
    }

    detail::setFonts(plot, 0.25, 0.28, plot.PlotFontFace);
    detail::inBoth(plot, [](DrawContext& dc, bool) { PlotText(dc, "Corvane Plot", 4.25, 1.0, 3, 0); });
    std::string subtitle;
    if (upperName.find("FMHOR") != std::string::npos) subtitle = "Horizontal Radiation Pattern for FM Broadcast Antenna";
    else if (upperName.find("FMVRT") != std::string::npos) subtitle = "Vertical Radiation Pattern for FM Broadcast Antenna";
    else if (upperName.find("LOCHOR") != std::string::npos) subtitle = "Horizontal Radiation Pattern for Localizer Antenna";
    else subtitle = "Antenna Radiation Pattern";
    detail::setFonts(plot, 0.2125, 0.238, "");
    detail::inBoth(plot, [&](DrawContext& dc, bool) { PlotText(dc, subtitle, 4.25, panel.SheetRect.ymin - 0.8, 4, 0); });
    detail::setFonts(plot, 0.165, 0.1848, plot.TextFontFace);
    const double ty = panel.SheetRect.ymax + (polar ? 0.6 : 1.1);
    detail::inBoth(plot, [&](DrawContext& dc, bool) {
        PlotText(dc, title1, panel.SheetRect.xmin, ty, 0, 0);
        if (!title2.empty()) PlotText(dc, title2, panel.SheetRect.xmin, ty + 0.25, 0, 0);
    });
    out.panel = panel;
    return out;
}

}  // namespace crv::viewers
