// Interference plot and receiver-point pages: the azimuth panel (seen from
// above), the elevation panel (seen from the side), titles and header text.
#include "both_contexts.h"
#include "crv/common/drawing/axis.h"
#include "crv/common/drawing/primitives.h"
#include "crv/common/drawing/service_volume_shapes.h"
#include "crv/common/service_volume.h"
#include "crv/formats/numbers.h"
#include "crv/formats/plot_file.h"
#include "crv/platform/numbers.h"
#include "crv/viewers/plot_builders.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <string_view>

namespace crv::viewers {
namespace {

using namespace crv::common;

struct GridFlags {
    bool azimuthPass, elevationPass;
    int gridLevel;  // 1 bottom, 2 top, 3 selected altitude, 0 none
};

GridFlags flagsOf(int gridType) {
    switch (gridType) {
        case 1: case 9: return {true, false, 1};
        case 2: case 10: return {true, false, 2};
        case 3: case 11: return {true, false, 3};
        case 4: case 5: return {false, true, 0};
        case 6: case 7: return {true, true, 1};
        default: return {true, true, 0};  // 8, 12
    }
}

// The number text of the header and altitude labels: the shortest decimal
// text of the value, with a leading blank when it is not negative (so a
// column of such numbers keeps a place for the sign).
std::string str(double v) {
    const std::string s = v == std::floor(v) && std::fabs(v) < 1e9 ? crv::platform::formatFixed(v, 0)
                                                                    : crv::formats::formatG(v, 7);
    return v >= 0 ? " " + s : s;
}

struct Page {
    Plot& plot;
    formats::PlotHeader h;
    bool receiverFile = false;
    int svType = 0, gridType = 1;
    double course = 0, threshold = 0, r35 = 0, r10 = 0, lowAlt = 0, highAlt = 0;
    double X = 0, Y = 0;  // ILS panel extents
    GridFlags flags{};
    std::array<std::int16_t, 13> thresholds{};
    const LevelBands& bands;
    PanelRecord az, el;
    AxisRecord azAxis, elAxis;
    char lastClass = 0;

    bool ils() const { return svType <= 4; }

    void readHeader() {
        gridType = h.gridType;
        svType = h.serviceVolumeType;
        if (gridType < 1 || gridType > 12) gridType = 1;
        if (svType < 0 || svType > 8) svType = 0;
        if (gridType == 12) {
            if (svType == 0) svType = 1;
            else if (svType == 2) svType = 3;
        }
        course = h.headingDeg;
        if (svType <= 7) {
            const ServiceVolumeSize sv = GetServiceVolume(svType);
            r35 = sv.radius35Nmi;
            r10 = sv.radius10Nmi;
            lowAlt = sv.floorFt;
            highAlt = sv.ceilingFt;
        }
        if (svType <= 4) {
            threshold = (svType == 2 || svType == 3) ? 0.0 : (h.runwayLengthFt + 1000.0) / kFeetPerNmi;
        } else {
            course = 270;
            threshold = 0;
        }
        if (svType == 8) {
            r10 = h.serviceVolumeRadiusNmi;
            lowAlt = 0;
            highAlt = h.serviceVolumeHeightFt;
        }
        flags = flagsOf(gridType);
        const std::string name = detail::upper(h.fileName);
        receiverFile = name == "RCVR_LOC.PLX" || name == "RCVR8LOC.PLX";
        thresholds = receiverFile ? levelThresholds(bands.navLevelMin, bands.navLevelIncr)
                                  : levelThresholds(bands.intLevelMin, bands.intLevelIncr);
    }

    void setUpPanels() {
        const WorldRect clip = plot.PageFrame;
        float t = 5;
        int minors = 5;
        if (ils()) {
            if (svType == 1 || svType == 3) { X = 30; Y = 11; } else { X = 23; Y = 7; }
            az.SheetRect = {1.25f, 7.25f, 1.55f, 5.05f};
            az.DataRect = {0, float(X), float(Y), float(-Y)};
            el.SheetRect = {1.25f, 7.25f, 5.3f, 7.5f};
            el.DataRect = {0, float(X), float(1.2 * highAlt), 0};
        } else {
            const double W = 1.6 * r10;
            const double m = W / 8;
            const double e = std::trunc(std::log10(m));
            const double p = std::pow(10.0, e);
            const double q = m / p;
            double step;
            if (q <= 1) step = p;
            else if (q <= 2) { step = 2 * p; minors = 4; }
            else if (q <= 5) step = 5 * p;
            else step = 10 * p;
            t = float(step);
            const double R = std::floor(2 * W / step + 0.999999) * step / 2;
            X = R;
            az.SheetRect = {1.25f, 7.25f, 1.55f, 6.05f};
            az.DataRect = {float(-R), float(R), float(0.75 * R), float(-0.75 * R)};
            el.SheetRect = {1.25f, 7.25f, 6.3f, 7.8f};
            el.DataRect = {float(-R), float(R), float(highAlt / 0.75), 0};
        }
        az.ClipRect = clip;
        el.ClipRect = clip;
        SetPanelMapping(az);
        SetPanelMapping(el);
        azAxis.AxisX = 0;
        azAxis.AxisY = az.DataRect.ymax;
        azAxis.MinorStep = t / minors;
        azAxis.MinorLength = 0.06f;
        azAxis.MajorStep = t;
        azAxis.MajorLength = 0.12f;
        azAxis.LabelMode = 0;
        elAxis = azAxis;
        elAxis.AxisY = 0;
        elAxis.LabelMode = 2;
        elAxis.Decimals = 0;
        elAxis.LabelHeight = "0.15";
        elAxis.Title = "Distance (nmi)";
    }

    void levelPoint(double x, double y, std::int32_t level) {
        const int k = levelClass(thresholds, level);
        const Colour c = bands.colours[k - 1];
        // A run of points of one class selects its colour once.
        if (plot.picture().textColour() != c) SetTextColor(plot.picture(), c);
        // Three overstruck characters make one solid mark on the screen.
        PlotMark(plot.picture(), "MW@", x, y);
        if (DrawContext* meta = plot.metafile()) {
            static const char kChars[] = "123456789ABCDE";
            if (meta->textColour() != c) SetTextColor(*meta, c);
            PlotMark(*meta, std::string_view(&kChars[k - 1], 1), x, y);
        }
    }

    void blackText() {
        detail::inBoth(plot, [](DrawContext& dc, bool) { SetTextColor(dc, kBlack); });
    }

    void drawAzimuthPanel() {
        detail::inBoth(plot, [&](DrawContext& dc, bool) {
            if (ils()) {
                PlotSectorPlan(dc, 0, 0, 270, r35, r10, 0);
                PlotLine(dc, 0, 0, X, 0);
            } else {
                PlotCircle(dc, 0, 0, r10);
                for (int a = 0; a < 360; a += 5) {
                    const double f = a % 90 == 0 ? 1.06 : a % 10 == 0 ? 1.04 : 1.02;
                    const double c = std::cos(a * kDegToRad), s = std::sin(a * kDegToRad);
                    PlotLine(dc, r10 * c, r10 * s, f * r10 * c, f * r10 * s);
                }
                PlotLine(dc, -0.1 * r10, 0, 0.1 * r10, 0);
                PlotLine(dc, 0, -0.1 * r10, 0, 0.1 * r10);
            }
        });
        if (flags.elevationPass && gridType != 8 && gridType != 12) {
            detail::setFonts(plot, 0.14, 0.1568, plot.TextFontFace);
            detail::inBoth(plot, [&](DrawContext& dc, bool meta) {
                const double hgt = meta ? 0.14 : 0.1568;
                PlotRadials(dc, flags.azimuthPass, hgt, h.gridAngleDeg, svType, r35, r10, course,
                            svType == 4 ? std::optional<double>(threshold) : std::optional<double>(0.0));
            });
        }
        detail::inBoth(plot, [&](DrawContext& dc, bool) {
            PlotBox(dc, az.DataRect.xmin, az.DataRect.ymin, az.DataRect.xmax, az.DataRect.ymax);
            PlotXAxis(dc, az, azAxis);
        });
    }

    void drawElevationPanel() {
        double labelX;
        detail::inBoth(plot, [&](DrawContext& dc, bool) {
            if (ils()) PlotSectorProfile(dc, svType, lowAlt, highAlt, r10, threshold, 0);
            else PlotVorProfile(dc, svType, highAlt, -r10, r10);
        });
        labelX = ils() ? 1.02 * r10 : 1.04 * r10;
        detail::setFonts(plot, 0.14, 0.1568, plot.TextFontFace);
        detail::inBoth(plot, [&](DrawContext& dc, bool) {
            PlotText(dc, str(h.fieldElevationFt + highAlt), labelX, highAlt, 1, 0);
            if (svType < 8 && svType != 4)
                PlotText(dc, str(h.fieldElevationFt + lowAlt), labelX, lowAlt, ils() ? 1 : 2, 0);
            if (!flags.elevationPass)
                PlotGridLine(dc, flags.gridLevel, h.gridAltitudeFt - h.fieldElevationFt, svType, lowAlt, highAlt,
                             r10, threshold);
        });
        detail::inBoth(plot, [&](DrawContext& dc, bool meta) {
            AxisRecord a = elAxis;
            a.LabelHeight = meta ? "0.15" : "0.168";
            PlotXAxis(dc, el, a);
            PlotBox(dc, el.DataRect.xmin, el.DataRect.ymin, el.DataRect.xmax, el.DataRect.ymax);
        });
    }

    void drawPanelTitles() {
        detail::setFonts(plot, 0.15, 0.168, plot.TextFontFace);
        const std::string azTitle = receiverFile ? "Receiver Azimuth Locations"
                                    : flags.azimuthPass ? "Predicted Interference Areas"
                                                        : "Simulation Azimuth Position";
        const std::string elTitle = receiverFile ? "Receiver Elevation Locations"
                                    : flags.elevationPass ? "Predicted Interference Areas"
                                                          : "Simulation Elevation Position";
        const WorldRect& a = az.SheetRect;
        const WorldRect& e = el.SheetRect;
        detail::inBoth(plot, [&](DrawContext& dc, bool) {
            if (ils()) PlotText(dc, azTitle, a.xmax - 0.1, a.ymax - 0.08, 8, 0);
            else PlotText(dc, azTitle, a.xmin + 0.1, a.ymax - 0.08, 2, 0);
            PlotText(dc, elTitle, e.xmin + 0.1, e.ymin + 0.08, 0, 0);
        });
        if (!ils()) {
            const double tx = a.xmax - 0.5, ty = a.ymin + 0.35;
            detail::inBoth(plot, [&](DrawContext& dc, bool) {
                PlotMoveTo(dc, tx, ty);
                PlotLineTo(dc, tx, ty + 0.22);
                PlotLineTo(dc, tx - 0.16, ty + 0.32);
                PlotLineTo(dc, tx, ty);
                PlotLineTo(dc, tx + 0.16, ty + 0.32);
                PlotLineTo(dc, tx, ty + 0.22);
                FillArea(dc, kBlack, tx - 0.05, ty + 0.2);
            });
            detail::setFonts(plot, 0.25, 0.28, plot.PlotFontFace);
            detail::inBoth(plot, [&](DrawContext& dc, bool) { PlotText(dc, "N", tx, ty + 0.35, 3, 0); });
        }
    }

    void drawHeaderText() {
        detail::setFonts(plot, 0.15, 0.168, plot.TextFontFace);
        std::vector<std::string> lines;
        lines.push_back("Airspace Case:  " + h.airspaceCase + "      Site:  " + h.site);
        lines.push_back("Date:  " + h.date + "      Plot File:  " + h.fileName);
        lines.push_back(h.title1);
        lines.push_back(h.title2);
        lines.push_back("Navaid:  " + h.navaidId + "      Frequency:  " + str(h.frequencyMHz) +
                        " MHz      Elevation:  " + str(std::nearbyint(h.fieldElevationFt)) + " ft MSL");
        if (ils()) lines.push_back("Runway Heading:  " + str(course) + "\u00B0");
        std::string g = "Grid Orientation:";
        switch (gridType) {
            case 1: case 6: case 7: case 9: g += "  Bottom of service volume  "; break;
            case 2: case 10: g += "  Top of service volume  "; break;
            case 3: case 11: g += "  Selected altitude:  " + str(std::nearbyint(h.gridAltitudeFt)) + " ft MSL  "; break;
            case 8: g += "  User specified grid points"; break;
            case 12: g += "  General Assessment Method"; break;
            default: break;
        }
        if (gridType == 4 || gridType == 6) g += "  Radial through FM proponent";
        else if (gridType == 5 || gridType == 7 || (gridType >= 9 && gridType <= 11))
            g += std::string(ils() ? "  Selected heading:  " : "  Selected radial:  ") + str(h.gridAngleDeg) + "\u00B0";
        lines.push_back(g);
        double y = el.SheetRect.ymax + 0.8;
        detail::inBoth(plot, [&](DrawContext& dc, bool) {
            double yy = y;
            for (const auto& l : lines) {
                PlotText(dc, l, el.SheetRect.xmin, yy, 0, 0);
                yy += 0.25;
            }
        });
    }
};

// The header's reals come from a case's fixed columns: one that is not a
// number, or a service volume no case can hold (radius 3 columns, height 5),
// is refused before it sizes the panels.
std::optional<std::string> headerProblem(const formats::PlotHeader& h, int svType) {
    auto shown = [](double v) { return crv::formats::formatG(v, 7); };
    const std::pair<const char*, float> reals[] = {
        {"heading", h.headingDeg},           {"frequency", h.frequencyMHz},
        {"field elevation", h.fieldElevationFt}, {"runway length", h.runwayLengthFt},
        {"service volume radius", h.serviceVolumeRadiusNmi}, {"service volume height", h.serviceVolumeHeightFt},
        {"grid altitude", h.gridAltitudeFt}, {"grid angle", h.gridAngleDeg}};
    for (const auto& [name, v] : reals)
        if (!std::isfinite(v) || std::fabs(v) > 1e6)
            return std::string("the header's ") + name + " " + shown(v) + " is not a value a run writes";
    if (svType == 8 && h.serviceVolumeRadiusNmi > 999)
        return "the service volume radius " + shown(h.serviceVolumeRadiusNmi) + " is outside 0 to 999";
    if (svType == 8 && h.serviceVolumeHeightFt > 99999)
        return "the service volume height " + shown(h.serviceVolumeHeightFt) + " is outside 0 to 99999";
    return std::nullopt;
}

}  // namespace

platform::Expected<SimulationPage> PlotSimulationFile(Plot& plot, const std::string& dirPath,
                                                      const std::string& fileName, const LevelBands& bands,
                                                      ProgressDisplay* progress) {
    const std::string path = detail::joinPath(dirPath, fileName);
    auto invalid = [&](const std::string& why) {
        return platform::makeError("Invalid plot file " + path + ": " + why);
    };
    // Only a regular file, and no larger than a run writes: a folder or a
    // read error is said as such, not as a header that ends early.
    auto read = crv::formats::readPlotFile(path);
    if (!read) return platform::makeError(read.error());
    crv::formats::PlotFileWalk& walk = *read;
    const std::optional<formats::PlotHeader> header = walk.header();
    if (!header) return invalid(walk.error().empty() ? "the plot header ends early" : walk.error());

    Page page{plot, *header, false, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0, {}, {}, bands, {}, {}, {}, {}, 0};
    page.readHeader();
    const auto& h = page.h;
    if (page.svType == 8 ? !(h.serviceVolumeRadiusNmi > 0) || !(h.serviceVolumeHeightFt > 0) : false)
        return invalid("the service volume has no radius or height");
    if (auto problem = headerProblem(h, page.svType)) return invalid(*problem);
    page.setUpPanels();

    // Point records: kept once so that grid types 8 and 12 can draw the same
    // section again in the elevation panel.
    struct Pt {
        float d, a, alt;
        std::int16_t level;
    };
    std::vector<Pt> sections[2];
    const bool twoSections = page.gridType == 6 || page.gridType == 7;
    {
        int s = 0;
        while (s < (twoSections ? 2 : 1)) {
            auto rec = walk.next(page.receiverFile ? 26 : 12);
            if (!rec) {
                if (!walk.error().empty()) return invalid(walk.error());
                return invalid(s == 0 ? "a section of points ends without its separator"
                                      : "the vertical section ends without its separator");
            }
            if (page.receiverFile) {
                auto p = formats::decodeReceiverPoint(*rec);
                if (!p) {
                    // The vertical grid's section end is a shorter record of its own.
                    if (rec->size() >= 2 && static_cast<std::uint8_t>((*rec)[0]) == 0x0F &&
                        static_cast<std::uint8_t>((*rec)[1]) == 0x27) { ++s; continue; }
                    return invalid("a receiver point record is too short");
                }
                if (p->id == formats::kSectionEnd) { ++s; continue; }
                sections[s].push_back({p->distanceNmi, p->azimuthDeg, p->altitudeFt, levelToInt16(p->levelDbm)});
            } else {
                auto p = formats::decodeInterferencePoint(*rec);
                if (!p) return invalid("a plot point record is too short");
                if (p->levelDb == formats::kSectionEnd) { ++s; continue; }
                sections[s].push_back({p->distance100 / 100.0f, p->azimuth100 / 100.0f, float(p->altitudeFt), p->levelDb});
            }
        }
    }

    SimulationPage out;
    const std::vector<Pt>& azPoints = sections[0];
    const std::vector<Pt>& elPoints = twoSections ? sections[1] : sections[0];
    const std::int64_t total = std::int64_t(page.flags.azimuthPass ? azPoints.size() : 0) +
                               std::int64_t(page.flags.elevationPass ? elPoints.size() : 0);
    const std::int64_t step = std::max<std::int64_t>(total / 20, 1);
    std::int64_t counter = 0, mark = 0;
    if (progress) progress->MaxValue(std::int32_t(std::min<std::int64_t>(total, INT32_MAX)));
    auto tick = [&]() {
        if (!progress) return false;
        if (counter++ < mark) return false;
        progress->Value(std::int32_t(std::min<std::int64_t>(counter - 1, INT32_MAX)));
        mark += step;
        return progress->Canceled();
    };
    auto finishCanceled = [&]() {
        out.canceled = true;
        out.azimuthPanel = page.az;
        out.elevationPanel = page.el;
        return out;
    };

    SetWorldWindow(plot, page.az.ClipDataRect);
    if (page.flags.azimuthPass) {
        detail::setFonts(plot, 0.05, 0.056, plot.PlotFontFace);
        for (const Pt& p : azPoints) {
            if (tick()) return finishCanceled();
            const double ang = (p.a - page.course) * kDegToRad;
            page.levelPoint(p.d * std::cos(ang), -p.d * std::sin(ang), p.level);
        }
        page.blackText();
    }
    page.drawAzimuthPanel();
    SetWorldWindow(plot, page.el.ClipDataRect);
    if (page.flags.elevationPass) {
        detail::setFonts(plot, 0.05, 0.056, plot.PlotFontFace);
        for (const Pt& p : elPoints) {
            if (tick()) return finishCanceled();
            const double x = std::cos((p.a - page.course) * kDegToRad) >= 0 ? p.d : -p.d;
            page.levelPoint(x, p.alt - 6.8 - h.fieldElevationFt, p.level);
        }
        page.blackText();
    }
    page.drawElevationPanel();
    SetWorldWindow(plot, plot.PageFrame);
    detail::setFonts(plot, 0.25, 0.28, plot.PlotFontFace);
    detail::inBoth(plot, [](DrawContext& dc, bool) { PlotText(dc, "Corvane Plot", 4.25, 1.0, 3, 0); });
    page.drawPanelTitles();
    page.drawHeaderText();

    out.azimuthPanel = page.az;
    out.elevationPanel = page.el;
    out.svType = page.svType;
    out.fieldElevation = h.fieldElevationFt;
    out.course = float(page.course);
    return out;
}

}  // namespace crv::viewers
