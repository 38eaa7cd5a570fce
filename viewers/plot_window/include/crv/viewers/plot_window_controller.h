#pragma once
// What the plot window decides, without a window: the list of pages and
// which are built, paging, the status texts, the cursor readout, what a
// change of plot parameters discards, the names Save and Print use. The
// window (frmPlotScreen) shows what this holds and renders each page's
// picture recording once.
#include "crv/common/drawing/plot.h"
#include "crv/common/messages.h"
#include "crv/common/progress_display.h"
#include "crv/common/text_utils.h"
#include "crv/viewers/display_options.h"
#include "crv/viewers/plot_builders.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace crv::viewers {

// One page of the window; element 0 of the list is the legend.
struct PlotPage {
    std::string FileName;
    PageKind kind = PageKind::Simulation;
    bool Built = false;
    // Valid while Built: the page's master copy, and the screen picture's
    // recording on the surface it was drawn for.
    std::optional<common::EnhancedMetafile> MetaFile;
    common::Recording picture;
    common::PlotSurface surface;
    // Tells the window which rendering of the picture is current: a new
    // number for every build.
    std::uint64_t buildId = 0;
    // When the page was last shown (a running count); the least recently
    // shown pages give up their drawings first.
    std::uint64_t shownAt = 0;
    common::PanelRecord PlanPanel;
    common::PanelRecord ProfilePanel;
    float CentreLatitude = 0;
    float CentreLongitude = 0;
    float SiteElevation = 0;
    float Heading = 0;
    int SVType = 0;
    bool Polar = false;
};

// What a page build needs besides the page: the level bands, the airspace
// case of the facility map, the engine's position arithmetic and the progress
// window.
struct PlotBuildContext {
    LevelBands bands;
    std::string airspaceCase;
    Geodesy geodesy;
    common::ProgressDisplay* progress = nullptr;
    // The folder as the progress message shows it (already shortened).
    std::string progressFolder;
};

enum class BuildOutcome { Built, Canceled, Failed };

struct BuiltPage {
    BuildOutcome outcome = BuildOutcome::Failed;
    std::string error;  // Failed: what went wrong, naming the file
    PlotPage page;      // Built: the filled page
};

// The list as DisplayPlots is given it: names joined by "|", empty names
// (leading, doubled, trailing separators) skipped.
std::vector<std::string> splitPlotList(const std::string& fileList);

// DisplayPlots' questions: whether to ask the display options dialog, and
// what it is asked (the destination for several files, dB for pattern
// plots, polar when a name holds "Hor"). AutoPrint asks nothing and prints.
struct DisplayQuestions {
    bool ask = false;
    DisplaySettings settings;
};
DisplayQuestions displayQuestions(const std::string& fileList, bool autoPrint);

// "Corvane" NUL title NUL NUL.
std::string metafileDescription(const std::string& title);

// Draws one page (or the legend, page 0 with an empty name) on a surface of
// that size: begins the plot with a metafile, calls exactly one builder,
// ends it. A builder failure or a drawing that cannot be done comes back as
// Failed with its message; nothing of that plot is kept.
BuiltPage buildPlotPage(const std::string& folder, const std::string& fileName, bool isLegend, bool decibels,
                        bool polarPlots, common::PlotSurface surface, const PlotBuildContext& context);

class PlotWindowController {
public:
    // How many plot pages keep their drawings (the legend besides). A run can
    // hold well over a thousand plots; paging through all of them keeps only
    // the most recently shown, and a page given up is drawn again from its
    // file when it is shown again.
    static constexpr int kKeptPages = 8;

    // A new list: every built page discarded, pages 1..PlotCount named,
    // CurrentPlot 1 (0 when the list is empty).
    void setList(const std::string& folder, const std::vector<std::string>& names);
    void setOptions(bool decibels, bool polar) {
        DecibelScale = decibels;
        PolarPlots = polar;
    }

    int PlotCount() const { return static_cast<int>(pages_.size()) - 1; }
    int CurrentPlot() const { return current_; }
    const std::string& PlotFolder() const { return folder_; }
    bool decibels() const { return DecibelScale; }
    bool polar() const { return PolarPlots; }
    // 0 is the legend.
    const PlotPage& page(int n) const { return pages_.at(static_cast<std::size_t>(n)); }
    const PlotPage& currentPage() const { return page(current_); }
    bool busy() const { return busy_; }

    // The progress message of a page build.
    std::string progressMessage(int page, const std::string& shortFolder) const;

    // ShowPlotPage: builds the current page while it is not built. A
    // cancelled or failed build drops the page (a failure is reported first)
    // and tries the page now current. Returns false when the list ran empty:
    // the window is to close. The busy flag is held during the builds and
    // always released. Beyond kKeptPages built pages, the least recently
    // shown give up their drawings.
    using Builder = std::function<BuiltPage(int page)>;
    bool ShowPlotPage(const Builder& build, common::MessagePresenter& presenter);

    // Paging; false when already at the end (the window beeps).
    bool next();
    bool previous();
    bool previousEnabled() const { return current_ > 1; }
    bool nextEnabled() const { return current_ < PlotCount(); }
    // The Legend menu belongs to simulation plots.
    bool legendEnabled() const;

    // Legend: builds it when not built. False when cancelled or failed
    // (reported); the legend then stays unbuilt.
    bool ensureLegend(const Builder& build, common::MessagePresenter& presenter);

    // Edit > Plot Parameters accepted: every built simulation page and the
    // legend are discarded first. Returns true when the current page must
    // be rebuilt now.
    bool parametersChanged();

    // Every built page and the legend discarded (File > Open, the end of
    // DisplayPlots).
    void discardAll();

    // Status bar texts.
    std::string statusFile() const;
    std::string statusFolder(const common::TextMeasure& measure, double panelWidth) const;
    std::string statusPlot() const;

    // The cursor readout at a point of the current page, in page inches
    // (x 0.5..8.0, y 0.5..10.5); nullopt outside every panel.
    std::optional<std::string> cursorReadout(double x, double y, const Geodesy& geodesy) const;

    // Save to File's proposed name and the print job's document name.
    static std::string saveName(const std::string& fileName);
    std::string jobName(int page) const;

    // For printing: the built page's metafile, or one drawn now and not kept
    // (the legend is kept, as Legend > Show would keep it).
    std::optional<common::EnhancedMetafile> metafileForPrint(int page, const Builder& build,
                                                             common::MessagePresenter& presenter);

private:
    static void discard(PlotPage& page);
    static void report(common::MessagePresenter& presenter, const std::string& error);

    void keepRecentPages();

    std::vector<PlotPage> pages_{PlotPage{}};
    int current_ = 0;
    std::uint64_t shownClock_ = 0;
    std::string folder_;
    bool DecibelScale = false;
    bool PolarPlots = false;
    bool busy_ = false;
};

// The print target of a plot page in printer device units: inside half-inch
// margins (or the unprintable margins where they are wider), the 7.5 x 10
// page kept in its proportions and centred, so circles stay circles on any
// paper.
struct PrintRect {
    double left = 0, top = 0, width = 0, height = 0;
};
PrintRect plotPrintTarget(double dpiX, double dpiY, double paperWidth, double paperHeight, double offX,
                          double offY);


}  // namespace crv::viewers
