#include "crv/viewers/plot_window_controller.h"

#include <algorithm>
#include <atomic>
#include <cmath>

#include "crv/common/drawing/drawing_error.h"
#include "crv/common/error_report.h"
#include "crv/common/lat_lon.h"
#include "crv/common/math_utils.h"
#include "crv/common/text_utils.h"

namespace crv::viewers {

using namespace crv::common;

std::vector<std::string> splitPlotList(const std::string& fileList) {
    std::vector<std::string> names;
    std::size_t pos = 0;
    while (pos <= fileList.size()) {
        const std::size_t bar = fileList.find('|', pos);
        const std::size_t end = bar == std::string::npos ? fileList.size() : bar;
        if (end > pos) names.push_back(fileList.substr(pos, end - pos));
        if (bar == std::string::npos) break;
        pos = bar + 1;
    }
    return names;
}

DisplayQuestions displayQuestions(const std::string& fileList, bool autoPrint) {
    DisplayQuestions q;
    if (autoPrint) {
        q.settings.printOut = true;
        return q;
    }
    q.settings.printOut = fileList.find('|') != std::string::npos;
    if (containsNoCase(fileList, ".ptx")) {
        q.settings.decibels = true;
        q.settings.polarPlot = containsNoCase(fileList, "Hor");
    }
    q.ask = q.settings.printOut || q.settings.decibels;
    return q;
}

std::string metafileDescription(const std::string& title) {
    std::string d = "Corvane";
    d += '\0';
    d += title;
    d += '\0';
    d += '\0';
    return d;
}

namespace {
std::uint64_t nextBuildId() {
    static std::atomic<std::uint64_t> id{0};
    return ++id;
}
}  // namespace

BuiltPage buildPlotPage(const std::string& folder, const std::string& fileName, bool isLegend, bool decibels,
                        bool polarPlots, PlotSurface surface, const PlotBuildContext& context) {
    BuiltPage out;
    PlotPage& page = out.page;
    page.FileName = isLegend ? std::string("Legend.plt") : fileName;
    page.kind = isLegend ? PageKind::Legend : pageKindOf(fileName);
    bool canceled = false;
    std::string error;
    // The plot and everything drawn so far are released on every path.
    const auto drawn = tryDrawing([&] {
        try {
            auto plot = BeginPlot(surface, true, metafileDescription(isLegend ? "Legend" : fileName));
            switch (page.kind) {
                case PageKind::Legend:
                    canceled = DrawLegend(*plot, context.bands, context.progress);
                    break;
                case PageKind::FacilityMap:
                case PageKind::EmitterMap: {
                    auto map = page.kind == PageKind::FacilityMap
                                   ? PlotFacilityLocations(*plot, folder, fileName, context.airspaceCase,
                                                           context.geodesy, context.progress)
                                   : PlotEmitterLocations(*plot, folder, fileName, context.geodesy, context.progress);
                    if (!map) {
                        error = map.error();
                        return;
                    }
                    canceled = map->canceled;
                    page.PlanPanel = map->panel;
                    page.CentreLatitude = map->centreLat;
                    page.CentreLongitude = map->centreLon;
                    break;
                }
                case PageKind::Pattern: {
                    page.Polar = polarPlots && containsNoCase(fileName, "Hor");
                    auto pattern = PlotAntennaPattern(*plot, folder, fileName, page.Polar, decibels, context.progress);
                    if (!pattern) {
                        error = pattern.error();
                        return;
                    }
                    canceled = pattern->canceled;
                    page.PlanPanel = pattern->panel;
                    break;
                }
                case PageKind::Simulation: {
                    auto sim = PlotSimulationFile(*plot, folder, fileName, context.bands, context.progress);
                    if (!sim) {
                        error = sim.error();
                        return;
                    }
                    canceled = sim->canceled;
                    page.PlanPanel = sim->azimuthPanel;
                    page.ProfilePanel = sim->elevationPanel;
                    page.SVType = sim->svType;
                    page.SiteElevation = sim->fieldElevation;
                    page.Heading = sim->course;
                    break;
                }
            }
            if (canceled) return;
            PlotOutput output = EndPlot(std::move(plot));
            page.MetaFile = std::move(output.metafile);
            page.picture = std::move(output.picture);
            page.surface = output.surface;
        } catch (const DrawingError&) {
            throw;
        } catch (const std::exception& e) {
            // A builder's arithmetic failing (a logarithm of nothing, memory)
            // is this page's failure, not the window's.
            error = std::string("The plot \"") + fileName + "\" could not be drawn: " + e.what();
        }
    });
    // The drawing layer knows no file: the message says which plot failed.
    if (!drawn) error = std::string("The plot \"") + fileName + "\" could not be drawn: " + drawn.error();
    if (!error.empty()) {
        out.outcome = BuildOutcome::Failed;
        out.error = error;
        out.page = PlotPage{};
        return out;
    }
    if (canceled || !page.MetaFile) {
        out.outcome = BuildOutcome::Canceled;
        out.page = PlotPage{};
        return out;
    }
    page.Built = true;
    page.buildId = nextBuildId();
    out.outcome = BuildOutcome::Built;
    return out;
}

void PlotWindowController::setList(const std::string& folder, const std::vector<std::string>& names) {
    discardAll();
    pages_.resize(1);
    for (const std::string& name : names) {
        if (name.empty()) continue;
        PlotPage p;
        p.FileName = name;
        p.kind = pageKindOf(name);
        pages_.push_back(std::move(p));
    }
    folder_ = folder;
    current_ = PlotCount() > 0 ? 1 : 0;
}

std::string PlotWindowController::progressMessage(int n, const std::string& shortFolder) const {
    std::string m = "Processing:  Plot " + std::to_string(n) + " of " + std::to_string(PlotCount());
    m += kCR;
    m += "File:  " + (n >= 1 && n <= PlotCount() ? page(n).FileName : std::string());
    m += kCR;
    m += "Folder:  " + shortFolder;
    return m;
}

void PlotWindowController::report(MessagePresenter& presenter, const std::string& error) {
    presenter.present({error, "CRV Error", MessageIcon::Exclamation, MessageButtons::Ok});
}

void PlotWindowController::discard(PlotPage& page) {
    page.Built = false;
    page.MetaFile.reset();
    page.picture = Recording{};
    page.buildId = 0;
}

bool PlotWindowController::ShowPlotPage(const Builder& build, MessagePresenter& presenter) {
    struct Busy {
        bool& flag;
        explicit Busy(bool& f) : flag(f) { flag = true; }
        ~Busy() { flag = false; }
    } busy(busy_);
    while (PlotCount() > 0 && !pages_[current_].Built) {
        BuiltPage built = build(current_);
        if (built.outcome == BuildOutcome::Built) {
            const std::string name = pages_[current_].FileName;
            pages_[current_] = std::move(built.page);
            pages_[current_].FileName = name;
            break;
        }
        if (built.outcome == BuildOutcome::Failed) report(presenter, built.error);
        // The page leaves the list; the later pages move down keeping their
        // drawings. The page before it is shown, or the next when it was first.
        pages_.erase(pages_.begin() + current_);
        if (current_ >= 2) --current_;
        if (current_ > PlotCount()) current_ = PlotCount();
    }
    if (PlotCount() == 0) return false;
    pages_[current_].shownAt = ++shownClock_;
    keepRecentPages();
    return true;
}

void PlotWindowController::keepRecentPages() {
    std::vector<PlotPage*> built;
    for (int n = 1; n <= PlotCount(); ++n)
        if (pages_[n].Built) built.push_back(&pages_[n]);
    if (static_cast<int>(built.size()) <= kKeptPages) return;
    std::sort(built.begin(), built.end(), [](const PlotPage* a, const PlotPage* b) { return a->shownAt < b->shownAt; });
    for (std::size_t i = 0; i + kKeptPages < built.size(); ++i) discard(*built[i]);
}

bool PlotWindowController::next() {
    if (current_ >= PlotCount()) return false;
    ++current_;
    return true;
}

bool PlotWindowController::previous() {
    if (current_ <= 1) return false;
    --current_;
    return true;
}

bool PlotWindowController::legendEnabled() const {
    return current_ >= 1 && currentPage().Built && currentPage().kind == PageKind::Simulation;
}

bool PlotWindowController::ensureLegend(const Builder& build, MessagePresenter& presenter) {
    if (pages_[0].Built) return true;
    struct Busy {
        bool& flag;
        explicit Busy(bool& f) : flag(f) { flag = true; }
        ~Busy() { flag = false; }
    } busy(busy_);
    BuiltPage built = build(0);
    if (built.outcome == BuildOutcome::Failed) report(presenter, built.error);
    if (built.outcome != BuildOutcome::Built) return false;
    pages_[0] = std::move(built.page);
    pages_[0].FileName = "Legend.plt";
    return true;
}

bool PlotWindowController::parametersChanged() {
    bool rebuildCurrent = false;
    for (int n = 1; n <= PlotCount(); ++n) {
        PlotPage& p = pages_[n];
        if (p.Built && p.kind == PageKind::Simulation) {
            discard(p);
            if (n == current_) rebuildCurrent = true;
        }
    }
    discard(pages_[0]);
    return rebuildCurrent;
}

void PlotWindowController::discardAll() {
    for (PlotPage& p : pages_) discard(p);
}

std::string PlotWindowController::statusFile() const {
    return "File:  " + (current_ >= 1 ? currentPage().FileName : std::string());
}

std::string PlotWindowController::statusFolder(const TextMeasure& measure, double panelWidth) const {
    const std::string folder = RemoveBackslash(folder_);
    return "Folder:  " + ShortenPath(measure, folder, panelWidth - measure("Folder:    "));
}

std::string PlotWindowController::statusPlot() const {
    return "Plot " + std::to_string(current_) + " of " + std::to_string(PlotCount());
}

std::optional<std::string> PlotWindowController::cursorReadout(double x, double y, const Geodesy& geodesy) const {
    if (current_ < 1 || !currentPage().Built) return std::nullopt;
    const PlotPage& p = currentPage();
    double wx = 0, wy = 0;
    const auto inside = [&](const PanelRecord& panel) {
        if (panel.SheetRect.xmin == panel.SheetRect.xmax || panel.SheetRect.ymin == panel.SheetRect.ymax) return false;
        const WorldRect& s = panel.SheetRect;
        const WorldRect r{std::min(s.xmin, s.xmax), std::max(s.xmin, s.xmax), std::min(s.ymin, s.ymax),
                          std::max(s.ymin, s.ymax)};
        if (!PointInRect(x, y, r)) return false;
        MapPanelPoint(x, y, panel, wx, wy);
        return true;
    };
    float r = 0, b = 0;
    switch (p.kind) {
        case PageKind::Pattern: {
            if (!inside(p.PlanPanel)) return std::nullopt;
            double value = wy, angle = wx;
            if (p.Polar) {
                XYToRangeBearing(static_cast<float>(wx), static_cast<float>(wy), r, b);
                value = DecibelScale ? r - 50.0 : r;
                angle = b;
            }
            std::string text = DecibelScale ? FormatField(value, 5, 1) + " dB" : FormatField(value, 5, 2) + " %";
            return text + "  At " + FormatField(angle, 5, 1) + " deg";
        }
        case PageKind::Simulation: {
            if (inside(p.PlanPanel)) {
                XYToRangeBearing(static_cast<float>(wx), static_cast<float>(wy), r, b);
                const bool localizer = p.SVType <= 4;
                const double angle = localizer ? WrapAngle(b + p.Heading - 90.0f, 0.0f, 360.0f) : b;
                return "Range: " + FormatField(r, 6, 2) + " nmi,   " + (localizer ? "Azimuth: " : "Radial: ") +
                       FormatField(angle, 7, 1) + " deg";
            }
            if (inside(p.ProfilePanel)) {
                return "Range: " + FormatField(wx, 6, 2) + " nmi,   " +
                       "Altitude: " + FormatField(wy + p.SiteElevation, 5, 0) + " feet";
            }
            return std::nullopt;
        }
        case PageKind::FacilityMap:
        case PageKind::EmitterMap: {
            if (!inside(p.PlanPanel) || !geodesy.DistLL) return std::nullopt;
            XYToRangeBearing(static_cast<float>(wx), static_cast<float>(wy), r, b);
            float lat = 0, lon = 0;
            geodesy.DistLL(r, b, p.CentreLatitude, p.CentreLongitude, &lat, &lon);
            return "Lat: " + FormatLatLon(lat, 1, 1) + ",   Lon: " + FormatLatLon(lon, 2, 1);
        }
        case PageKind::Legend:
            return std::nullopt;
    }
    return std::nullopt;
}

std::string PlotWindowController::saveName(const std::string& fileName) {
    const std::size_t dot = fileName.find('.');
    if (dot == std::string::npos) return "emf";
    return fileName.substr(0, dot + 1) + "emf";
}

std::string PlotWindowController::jobName(int page) const {
    return "CRV: " + (page == 0 ? std::string("Legend.plt") : pages_.at(page).FileName);
}

std::optional<EnhancedMetafile> PlotWindowController::metafileForPrint(int n, const Builder& build,
                                                                       MessagePresenter& presenter) {
    if (n == 0) {
        if (!ensureLegend(build, presenter)) return std::nullopt;
        return pages_[0].MetaFile;
    }
    if (pages_.at(n).Built) return pages_[n].MetaFile;
    struct Busy {
        bool& flag;
        explicit Busy(bool& f) : flag(f) { flag = true; }
        ~Busy() { flag = false; }
    } busy(busy_);
    BuiltPage built = build(n);
    if (built.outcome == BuildOutcome::Failed) report(presenter, built.error);
    if (built.outcome != BuildOutcome::Built) return std::nullopt;
    return std::move(built.page.MetaFile);
}

PrintRect plotPrintTarget(double dpiX, double dpiY, double paperWidth, double paperHeight, double offX, double offY) {
    const double mx = std::nearbyint(std::max(0.5 * dpiX, offX));
    const double my = std::nearbyint(std::max(0.5 * dpiY, offY));
    const double availW = std::max(0.0, paperWidth - 2 * mx);
    const double availH = std::max(0.0, paperHeight - 2 * my);
    // The page is 7.5 x 10 inches; in device units of each axis's own dpi.
    const double pageW = 7.5 * dpiX, pageH = 10.0 * dpiY;
    const double scale = std::min(availW / pageW, availH / pageH);
    PrintRect r;
    r.width = pageW * scale;
    r.height = pageH * scale;
    r.left = mx + (availW - r.width) / 2;
    r.top = my + (availH - r.height) / 2;
    return r;
}

}  // namespace crv::viewers
