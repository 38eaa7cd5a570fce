// The plot window's logic without a window: the list, the questions asked,
// builds that are cancelled or fail, a parameter change, the cursor readout
// at known points, and the names and geometry of printing and saving.
#include "crv/viewers/plot_window_controller.h"
#include "crv50.h"

#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <set>

using namespace crv::common;
using namespace crv::viewers;

namespace {

class Recorder : public MessagePresenter {
public:
    MessageAnswer present(const Message& m) override {
        messages.push_back(m);
        return MessageAnswer::Ok;
    }
    std::vector<Message> messages;
};

PanelRecord panel(WorldRect sheet, WorldRect data) {
    PanelRecord p;
    p.SheetRect = sheet;
    p.DataRect = data;
    p.ClipRect = sheet;
    SetPanelMapping(p);
    return p;
}

// A builder that builds every page as scripted: outcome by page name.
struct FakeBuilder {
    const PlotWindowController* c = nullptr;
    std::map<std::string, BuildOutcome> outcomes;
    std::vector<std::string> calls;
    PlotPage filled;  // panels given to every built page
    BuiltPage operator()(int n) {
        const std::string name = n == 0 ? "Legend" : c->page(n).FileName;
        calls.push_back(name);
        BuiltPage b;
        const auto it = outcomes.find(name);
        b.outcome = it == outcomes.end() ? BuildOutcome::Built : it->second;
        if (b.outcome == BuildOutcome::Failed) b.error = "The file \"" + name + "\" is damaged.";
        if (b.outcome == BuildOutcome::Built) {
            b.page = filled;
            b.page.kind = n == 0 ? PageKind::Legend : pageKindOf(name);
            b.page.Built = true;
            b.page.MetaFile = EnhancedMetafile{};
            b.page.buildId = calls.size();
        }
        return b;
    }
};

}  // namespace

TEST(PlotList, EmptyNamesAreSkippedAndTheQuestionsFollowTheList) {
    EXPECT_EQ(splitPlotList("|a.plt||b.ptx|"), (std::vector<std::string>{"a.plt", "b.ptx"}));
    EXPECT_TRUE(splitPlotList("").empty());
    struct Case {
        const char* list;
        bool autoPrint, ask, print, db, polar;
    } cases[] = {
        {"07____A2.plt", false, false, false, false, false},
        {"07____A2.plt|Rcvr_Loc.plx", false, true, true, false, false},
        {"FmVrt00.ptx", false, true, false, true, false},
        {"LOCHORU.PTX", false, true, false, true, true},
        {"FmVrt00.ptx|LocHorU.ptx", true, false, true, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.list);
        const DisplayQuestions q = displayQuestions(c.list, c.autoPrint);
        EXPECT_EQ(q.ask, c.ask);
        EXPECT_EQ(q.settings.printOut, c.print);
        EXPECT_EQ(q.settings.decibels, c.db);
        EXPECT_EQ(q.settings.polarPlot, c.polar);
    }
}

TEST(PlotWindowController, CancelledAndFailedBuildsDropTheirPageAndTheRestKeepTheirDrawings) {
    PlotWindowController c;
    Recorder presenter;
    FakeBuilder b;
    b.c = &c;
    c.setList("/out/", {"p1.plt", "p2.plt", "p3.plt", "p4.plt", "p5.plt"});
    auto build = [&](int n) { return b(n); };
    // Pages 1, 2, 4 and 5 are shown first; then page 3 is cancelled.
    ASSERT_TRUE(c.ShowPlotPage(build, presenter));
    for (int target : {2, 4, 5}) {
        while (c.CurrentPlot() < target) c.next();
        ASSERT_TRUE(c.ShowPlotPage(build, presenter));
    }
    c.previous();
    c.previous();
    ASSERT_EQ(c.CurrentPlot(), 3);
    b.outcomes["p3.plt"] = BuildOutcome::Canceled;
    const auto builtBefore = b.calls.size();
    ASSERT_TRUE(c.ShowPlotPage(build, presenter));
    // Page 2 of 4 is shown, kept; the former 4 and 5 are 3 and 4, still built.
    EXPECT_EQ(c.CurrentPlot(), 2);
    EXPECT_EQ(c.PlotCount(), 4);
    EXPECT_EQ(c.currentPage().FileName, "p2.plt");
    EXPECT_EQ(b.calls.size(), builtBefore + 1);
    EXPECT_TRUE(c.page(3).Built);
    EXPECT_EQ(c.page(3).FileName, "p4.plt");
    EXPECT_EQ(c.statusPlot(), "Plot 2 of 4");
    EXPECT_FALSE(c.busy());
    EXPECT_TRUE(presenter.messages.empty());

    // A failing first page is reported and dropped like a cancelled one.
    PlotWindowController d;
    FakeBuilder f;
    f.c = &d;
    f.outcomes["bad.plt"] = BuildOutcome::Failed;
    d.setList("/out/", {"bad.plt", "good.plt", "other.plt"});
    ASSERT_TRUE(d.ShowPlotPage([&](int n) { return f(n); }, presenter));
    EXPECT_EQ(d.CurrentPlot(), 1);
    EXPECT_EQ(d.PlotCount(), 2);
    EXPECT_EQ(d.currentPage().FileName, "good.plt");
    ASSERT_EQ(presenter.messages.size(), 1u);
    EXPECT_EQ(presenter.messages[0].text, "The file \"bad.plt\" is damaged.");
    EXPECT_FALSE(d.busy());

    // The only page failing or cancelled closes the window, never leaving it busy.
    for (BuildOutcome o : {BuildOutcome::Failed, BuildOutcome::Canceled}) {
        PlotWindowController e;
        FakeBuilder g;
        g.c = &e;
        g.outcomes["only.plt"] = o;
        e.setList("/out/", {"only.plt"});
        EXPECT_FALSE(e.ShowPlotPage([&](int n) { return g(n); }, presenter));
        EXPECT_FALSE(e.busy());
        EXPECT_EQ(e.PlotCount(), 0);
    }
}

// A long run paged through keeps only the most recently shown drawings: the
// memory a window holds does not grow with the pages viewed. A page given up
// is drawn again when it is shown again; a recent one is not.
TEST(PlotWindowController, OnlyRecentlyShownPagesKeepTheirDrawings) {
    PlotWindowController c;
    Recorder presenter;
    FakeBuilder b;
    b.c = &c;
    std::vector<std::string> names;
    for (int i = 1; i <= 40; ++i) names.push_back("p" + std::to_string(i) + ".plt");
    c.setList("/out/", names);
    auto build = [&](int n) { return b(n); };
    auto builtPages = [&] {
        int n = 0;
        for (int k = 1; k <= c.PlotCount(); ++k) n += c.page(k).Built ? 1 : 0;
        return n;
    };
    ASSERT_TRUE(c.ShowPlotPage(build, presenter));
    ASSERT_TRUE(c.ensureLegend(build, presenter));
    while (c.next()) {
        ASSERT_TRUE(c.ShowPlotPage(build, presenter));
        EXPECT_LE(builtPages(), PlotWindowController::kKeptPages);
        EXPECT_TRUE(c.currentPage().Built);
        EXPECT_TRUE(c.currentPage().MetaFile);
    }
    EXPECT_EQ(b.calls.size(), 41u);  // 40 pages and the legend, each once
    EXPECT_EQ(builtPages(), PlotWindowController::kKeptPages);
    EXPECT_TRUE(c.page(0).Built);  // the legend stays
    // Pages 33..40 are the recent ones: 33 comes back without a build, 32
    // is drawn again.
    for (int n = 1; n <= 40; ++n) EXPECT_EQ(c.page(n).Built, n >= 33) << n;
    while (c.CurrentPlot() > 33) c.previous();
    ASSERT_TRUE(c.ShowPlotPage(build, presenter));
    EXPECT_EQ(b.calls.size(), 41u);
    c.previous();
    ASSERT_TRUE(c.ShowPlotPage(build, presenter));
    EXPECT_EQ(b.calls.back(), "p32.plt");
    EXPECT_EQ(builtPages(), PlotWindowController::kKeptPages);
    // The page given up for it is the one shown longest ago (34), not the
    // one just left (33).
    EXPECT_FALSE(c.page(34).Built);
    EXPECT_TRUE(c.page(33).Built);
}

TEST(PlotWindowController, PagingStopsAtTheEndsAndTheLegendMenuFollowsThePageKind) {
    PlotWindowController c;
    Recorder presenter;
    FakeBuilder b;
    b.c = &c;
    c.setList("/out/", {"07____A2.plt", "FmVrt00.ptx"});
    ASSERT_TRUE(c.ShowPlotPage([&](int n) { return b(n); }, presenter));
    EXPECT_FALSE(c.previous());
    EXPECT_FALSE(c.previousEnabled());
    EXPECT_TRUE(c.nextEnabled());
    EXPECT_TRUE(c.legendEnabled());
    EXPECT_TRUE(c.next());
    ASSERT_TRUE(c.ShowPlotPage([&](int n) { return b(n); }, presenter));
    EXPECT_FALSE(c.next());
    EXPECT_FALSE(c.legendEnabled());
    EXPECT_EQ(c.statusFile(), "File:  FmVrt00.ptx");
}

TEST(PlotWindowController, NewParametersDiscardSimulationPagesAndTheLegendOnce) {
    PlotWindowController c;
    Recorder presenter;
    FakeBuilder b;
    b.c = &c;
    auto build = [&](int n) { return b(n); };
    c.setList("/out/", {"07____A2.plt", "03____B2.plt", "FmVrt00.ptx"});
    ASSERT_TRUE(c.ShowPlotPage(build, presenter));
    c.next();
    ASSERT_TRUE(c.ShowPlotPage(build, presenter));
    c.next();
    ASSERT_TRUE(c.ShowPlotPage(build, presenter));
    c.previous();
    ASSERT_TRUE(c.ensureLegend(build, presenter));
    const auto patternId = c.page(3).buildId;
    // Page 2 is current: it needs rebuilding now, page 1 when shown again,
    // the pattern keeps its drawing.
    EXPECT_TRUE(c.parametersChanged());
    EXPECT_FALSE(c.page(1).Built);
    EXPECT_FALSE(c.page(2).Built);
    EXPECT_FALSE(c.page(0).Built);
    EXPECT_FALSE(c.page(1).MetaFile);
    EXPECT_TRUE(c.page(3).Built);
    EXPECT_EQ(c.page(3).buildId, patternId);
    b.calls.clear();
    ASSERT_TRUE(c.ShowPlotPage(build, presenter));
    EXPECT_EQ(b.calls, std::vector<std::string>{"03____B2.plt"});
    // A second change right away finds nothing left to free twice.
    EXPECT_TRUE(c.parametersChanged());
    EXPECT_FALSE(c.parametersChanged());
    c.next();
    EXPECT_FALSE(c.parametersChanged());
}

TEST(PlotWindowController, CursorReadoutAtKnownPoints) {
    // Plan panel: sheet x 1..7, y 1..7 shows -30..30 nmi east and 30..-30
    // north; profile panel: sheet x 1..7, y 7.5..10 shows 0..30 nmi and
    // 10000..0 ft above the site.
    PlotPage filled;
    filled.PlanPanel = panel({1, 7, 1, 7}, {-30, 30, 30, -30});
    filled.ProfilePanel = panel({1, 7, 7.5f, 10}, {0, 30, 10000, 0});
    filled.SiteElevation = 500;
    filled.Heading = 270;
    const Geodesy geo{&::DistLL, &::LLDist};
    struct Case {
        int svType;
        double x, y;
        const char* text;
    } cases[] = {
        // 12.5 nmi and 1000 ft above a site at 500 ft.
        {0, 1 + 12.5 / 5, 10 - 0.25, "Range:  12.50 nmi,   Altitude:  1500 feet"},
        // 10 nmi at bearing 10 degrees: x = 10 sin 10, y = 10 cos 10 (nmi).
        {0, 4 + 10 * std::sin(10 * M_PI / 180) / 10, 4 - 10 * std::cos(10 * M_PI / 180) / 10,
         "Range:  10.00 nmi,   Azimuth:   190.0 deg"},
        {5, 4 + 10 * std::sin(10 * M_PI / 180) / 10, 4 - 10 * std::cos(10 * M_PI / 180) / 10,
         "Range:  10.00 nmi,   Radial:    10.0 deg"},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.text);
        PlotWindowController c;
        Recorder presenter;
        FakeBuilder b;
        b.c = &c;
        b.filled = filled;
        b.filled.SVType = k.svType;
        c.setList("/out/", {"07____A2.plt"});
        ASSERT_TRUE(c.ShowPlotPage([&](int n) { return b(n); }, presenter));
        const auto text = c.cursorReadout(k.x, k.y, geo);
        ASSERT_TRUE(text);
        EXPECT_EQ(*text, k.text);
        EXPECT_FALSE(c.cursorReadout(0.6, 0.6, geo));
        EXPECT_FALSE(c.cursorReadout(7.5, 7.2, geo));  // between the panels
    }

    // Pattern pages: rectangular reads the panel values, polar the range
    // less 50 in dB and the bearing.
    PlotPage pat;
    pat.PlanPanel = panel({1, 7, 2, 8}, {-180, 180, 100, 0});
    PlotWindowController c;
    Recorder presenter;
    FakeBuilder b;
    b.c = &c;
    b.filled = pat;
    c.setList("/out/", {"FmVrt00.ptx"});
    ASSERT_TRUE(c.ShowPlotPage([&](int n) { return b(n); }, presenter));
    EXPECT_EQ(*c.cursorReadout(4.5, 5, geo), "50.00 %  At  30.0 deg");
    b.filled.PlanPanel = panel({1, 7, 2, 8}, {-60, 60, 60, -60});
    b.filled.Polar = true;
    c.setOptions(true, true);
    c.setList("/out/", {"LocHorU.ptx"});
    ASSERT_TRUE(c.ShowPlotPage([&](int n) { return b(n); }, presenter));
    // (0, 40): 40 units up is 40 - 50 = -10 dB at 0 degrees.
    EXPECT_EQ(*c.cursorReadout(4, 5 - 2, geo), "-10.0 dB  At   0.0 deg");

    // Maps: the point 0 nmi from the centre is the centre.
    PlotPage map;
    map.PlanPanel = panel({1, 7, 1, 7}, {-30, 30, 30, -30});
    map.CentreLatitude = 38.5f;
    map.CentreLongitude = 77.25f;
    b.filled = map;
    c.setList("/out/", {"nav@QKV.plt"});
    ASSERT_TRUE(c.ShowPlotPage([&](int n) { return b(n); }, presenter));
    EXPECT_EQ(*c.cursorReadout(4, 4, geo), std::string("Lat: N 38\xB0 30' 00\",   Lon: W 077\xB0 15' 00\""));
}

TEST(PlotWindowController, SaveAndPrintNames) {
    EXPECT_EQ(PlotWindowController::saveName("Legend.plt"), "Legend.emf");
    EXPECT_EQ(PlotWindowController::saveName("a.b.plt"), "a.emf");
    EXPECT_EQ(PlotWindowController::saveName("noext"), "emf");
    PlotWindowController c;
    c.setList("/out/", {"07____A2.plt"});
    EXPECT_EQ(c.jobName(1), "CRV: 07____A2.plt");
    EXPECT_EQ(c.jobName(0), "CRV: Legend.plt");
    EXPECT_EQ(metafileDescription("Legend"), std::string("Corvane\0Legend\0\0", 16));

}

TEST(PlotPrint, ThePageKeepsItsProportionsCentredOnAnyPaper) {
    struct Case {
        const char* paper;
        double dpi, w, h, ox, oy;
        double left, top, width, height;
    } cases[] = {
        // Letter 8.5 x 11 in at 600 dpi: 7.5 x 10 fits exactly inside half-inch margins.
        {"Letter", 600, 5100, 6600, 0, 0, 300, 300, 4500, 6000},
        // A4 (4961 x 7016 at 600 dpi): width-limited, 4361 wide, 5814.67 tall, centred.
        {"A4", 600, 4961, 7016, 0, 0, 300, 300 + (6416 - 4361 * 4.0 / 3) / 2, 4361, 4361 * 4.0 / 3},
        // Unprintable margins of 0.75 in are kept.
        {"Letter wide edge", 600, 5100, 6600, 450, 450, 450, 450 + (5700 - 4200 * 4.0 / 3) / 2, 4200,
         4200 * 4.0 / 3},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.paper);
        const PrintRect r = plotPrintTarget(k.dpi, k.dpi, k.w, k.h, k.ox, k.oy);
        EXPECT_NEAR(r.left, k.left, 1e-6);
        EXPECT_NEAR(r.top, k.top, 1e-6);
        EXPECT_NEAR(r.width, k.width, 1e-6);
        EXPECT_NEAR(r.height, k.height, 1e-6);
        EXPECT_NEAR(r.width / r.height, 0.75, 1e-9);
    }
}

TEST(PlotBuild, PagesOfTheSampleFilesAreBuiltAndADamagedFileFailsWithItsName) {
    PlotBuildContext ctx;
    ctx.geodesy = {&::DistLL, &::LLDist};
    ctx.airspaceCase = "QKV LOC 27";
    const std::string data = CRV_PLOT_DATA;
    for (const char* name : {"ils_07____A2.plt", "Rcvr_Loc.plx", "LocHorU.ptx", "nav@QKV.plt", "fm@QVT.plt"}) {
        SCOPED_TRACE(name);
        const BuiltPage b = buildPlotPage(data, name, false, true, true, {400, 530}, ctx);
        ASSERT_EQ(b.outcome, BuildOutcome::Built) << b.error;
        EXPECT_TRUE(b.page.MetaFile);
        EXPECT_EQ(b.page.MetaFile->description, metafileDescription(name));
        EXPECT_FALSE(b.page.picture.commands.empty());
    }
    const BuiltPage legend = buildPlotPage(data, "", true, false, false, {400, 530}, ctx);
    ASSERT_EQ(legend.outcome, BuildOutcome::Built);
    EXPECT_EQ(legend.page.FileName, "Legend.plt");
    const BuiltPage missing = buildPlotPage(data, "none.plt", false, false, false, {400, 530}, ctx);
    EXPECT_EQ(missing.outcome, BuildOutcome::Failed);
    EXPECT_NE(missing.error.find("none.plt"), std::string::npos);
    EXPECT_FALSE(missing.page.MetaFile);
    // A surface of no size cannot be drawn on: an error naming the plot, not a crash.
    const BuiltPage flat = buildPlotPage(data, "LocHorU.ptx", false, false, false, {0, 0}, ctx);
    EXPECT_EQ(flat.outcome, BuildOutcome::Failed);
    EXPECT_EQ(flat.error.rfind("The plot \"LocHorU.ptx\" could not be drawn: ", 0), 0u) << flat.error;
}
