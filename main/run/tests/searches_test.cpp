// The proponent and navaid searches and the navaid search files, over the
// scripted engine.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>

#include "crv/common/file_system.h"
#include "records.h"
#include "run_test_support.h"

using namespace crv::main::run;
using namespace crv::main::run::test;
using crv::binding::FakeEngine;
using crv::binding::Progress;
using crv::binding::SearchParams;

namespace {

const std::string kProponent = proponentRecord("WXYZ-FM", "98.100", "38 30 00", "77 00 00");

// A navaid line as the navaid search writes it (136 columns, trimmed).
std::string navLine(const std::string& id, const std::string& freq, int svType, const std::string& name) {
    std::string l = navaidRecord(id, "90", freq, "38 10 00", "77 05 00", svType, svType == 8 ? 50 : 0);
    put(l, 74, name);
    put(l, 99, "ZA");
    while (!l.empty() && l.back() == ' ') l.pop_back();
    return l;
}

// A navaid report line (100 columns, trimmed).
std::string navReportLine(const std::string& id, const std::string& freq, const std::string& name) {
    std::string l(100, ' ');
    put(l, 2, "I" + id);
    put(l, 15, right(freq, 7));
    put(l, 24, "38 10 00");
    put(l, 35, "  77 05 00");
    put(l, 73, name);
    if (!name.empty()) put(l, 99, "ZA");
    while (!l.empty() && l.back() == ' ') l.pop_back();
    return l;
}

// The search appends the lines to the result files and reports `hits`.
FakeEngine::SearchScript appending(Workspace& w, std::vector<std::string> lines1, std::vector<std::string> lines2,
                                   std::int16_t hits) {
    return [&w, lines1, lines2, hits](std::int16_t, const SearchParams&, const Progress& progress, std::int16_t& status,
                                      std::int16_t& count) {
        std::ofstream a(w.temp("RfiSrch1.tmp"), std::ios::binary | std::ios::app);
        for (const auto& l : lines1) a << l << "\r\n";
        std::ofstream b(w.temp("RfiSrch2.tmp"), std::ios::binary | std::ios::app);
        for (const auto& l : lines2) b << l << "\r\n";
        count = hits;
        if (progress && progress(50)) status = 1;
    };
}

}  // namespace

TEST(SearchForProponents, CountsMessagesAndResultFile) {
    struct Case {
        std::int16_t hits;
        std::int16_t status;
        std::int32_t count;
        const char* final;  // "" = none
        bool noneMessage;
        bool resultKept;
    } cases[] = {{0, 0, 0, "", true, false},
                 {1, 0, 1, "One FM facility found.", false, true},
                 {2, 0, 2, "2 FM facilities found.", false, true},
                 {3, 1, 0, "", false, false},
                 {3, 2, 0, "", false, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE("hits " + std::to_string(c.hits) + " status " + std::to_string(c.status));
        Workspace w("prop");
        writeBytes(w.temp("RfiSrch2.tmp"), "stale\r\n");
        FakeEngine engine;
        engine.onSearchDB = [&](std::int16_t db, const SearchParams& p, const Progress&, std::int16_t& status,
                                std::int16_t& count) {
            EXPECT_EQ(db, 1);
            EXPECT_EQ(p.option, 1);
            EXPECT_FLOAT_EQ(p.centreLatitude, 38.5f);
            EXPECT_FLOAT_EQ(p.radiusNmi, 20.0f);
            EXPECT_FALSE(fs::exists(w.temp("RfiSrch2.tmp")));  // stale results are gone first
            writeBytes(w.temp("RfiSrch1.tmp"), "hit\r\n");
            writeBytes(w.temp("RfiSrch2.tmp"), "report line\r\n");
            status = c.status;
            count = c.hits;
        };
        std::int32_t count = -1;
        w.controller(engine).SearchForProponents(38.5f, 77.0f, 20.0f, count);
        EXPECT_EQ(count, c.count);
        EXPECT_EQ(w.progress.events.front(), "Initialize:\rSearching for FM facilities...");
        EXPECT_EQ(w.progress.events.back(), "Remove");
        EXPECT_EQ(w.progress.finals(), std::vector<std::string>(*c.final ? 1 : 0, c.final));
        EXPECT_EQ(fs::exists(w.temp("RfiSrch1.tmp")), c.resultKept);
        EXPECT_FALSE(fs::exists(w.temp("RfiSrch2.tmp")));
        if (c.noneMessage) {
            ASSERT_EQ(w.messages.shown.size(), 1u);
            EXPECT_EQ(w.messages.shown[0].text,
                      " No FM facilities found. \r\r Modify search parameters \r or select Manual Entry. ");
            EXPECT_EQ(w.messages.shown[0].title, "Proponent Search");
        } else {
            EXPECT_TRUE(w.messages.shown.empty()) << w.messages.texts();
        }
    }
}

TEST(SearchForNavaids, DatabasesInUseAndTheirStatus) {
    {
        Workspace w("nav-none");
        w.state.UseQVADB = 0;
        w.state.UseCOMDB = 0;
        w.state.ProponentRecord = kProponent;
        FakeEngine engine;
        std::int32_t count = -1;
        w.controller(engine).SearchForNavaids(count);
        EXPECT_EQ(count, 0);
        EXPECT_TRUE(engine.calls.empty());
        ASSERT_EQ(w.messages.shown.size(), 1u);
        EXPECT_EQ(w.messages.shown[0].text, " No navaid facilities found. \r Retry search or select 'Manual Entry'. ");
        EXPECT_EQ(w.messages.shown[0].title, "Navaid Search");
    }
    {
        // Cancel during the navaid database search: the COM database is not searched.
        Workspace w("nav-cancel");
        w.state.ProponentRecord = kProponent;
        FakeEngine engine;
        engine.searchHits = {3, 4};
        w.progress.cancelAtValue = 1;
        std::int32_t count = -1;
        w.controller(engine).SearchForNavaids(count);
        EXPECT_EQ(count, 0);
        EXPECT_EQ(engine.callNames(), "SearchDB");
        EXPECT_TRUE(w.messages.shown.empty());
        EXPECT_EQ(w.progress.events.back(), "Remove");
    }
    {
        // A failed COM search keeps the navaid hits; the search reaches past
        // 60 nmi to the widest widened service areas.
        Workspace w("nav-comfail");
        w.state.ProponentRecord = kProponent;
        FakeEngine engine;
        std::vector<float> radii;
        int call = 0;
        engine.onSearchDB = [&](std::int16_t db, const SearchParams& p, const Progress& progress, std::int16_t& status,
                                std::int16_t& count) {
            radii.push_back(p.radiusNmi);
            EXPECT_FLOAT_EQ(p.centreLatitude, 38.5f);
            if (call++ == 0) {
                EXPECT_EQ(db, 2);
                appending(w, {navLine("IAB", "109.100", 0, "ALPHA MUNI")}, {navReportLine("IAB", "109.100", "ALPHA")},
                          1)(db, p, progress, status, count);
            } else {
                status = 2;
            }
        };
        std::int32_t count = -1;
        w.controller(engine).SearchForNavaids(count);
        EXPECT_EQ(count, 1);
        EXPECT_EQ(radii, (std::vector<float>{70.0f, 80.0f}));
        EXPECT_TRUE(fs::exists(w.output("nav@WXYZ.plt")));
        EXPECT_TRUE(fs::exists(w.output("loc@WXYZ.plt")));
        EXPECT_FALSE(fs::exists(w.output("vor@WXYZ.plt")));
        EXPECT_FALSE(fs::exists(w.output("com@WXYZ.plt")));
        EXPECT_EQ(w.progress.finals(), std::vector<std::string>{"One navaid facility found."});
        EXPECT_FALSE(fs::exists(w.temp("RfiSrch1.tmp")));
        EXPECT_FALSE(fs::exists(w.temp("RfiSrch2.tmp")));
    }
}

TEST(SearchForNavaids, ComSearchReachesTheLargestServiceRadiusInTheDatabase) {
    // COM records: service radius in columns 134-137, none (50) when blank or 0.
    auto comLine = [](const std::string& radius) {
        std::string line(133, ' ');
        line += radius;
        line.resize(140, ' ');
        return line;
    };
    struct Case {
        const char* name;
        std::vector<std::string> radii;  // "" = no database file
        float comRadius;                 // nmi searched in the COM database
    } cases[] = {
        {"none", {}, 80.0f},                         // no file: the default 50 + 30
        {"small", {"  20", "   0", "    "}, 80.0f},  // nothing above the default
        {"wide", {"  20", "  70", "7o  "}, 100.0f},  // 70 + 30, a facility 85 nmi out is reached
        {"digits", {" 120x"}, 150.0f},               // leading digits only
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Workspace w(std::string("nav-comradius-") + c.name);
        w.state.ProponentRecord = kProponent;
        if (!c.radii.empty()) {
            std::vector<std::string> lines;
            for (const auto& r : c.radii) lines.push_back(comLine(r));
            w.state.COMDatabase = w.data("G118M136.dat");
            writeBytes(w.state.COMDatabase, crlf(lines));
        }
        FakeEngine engine;
        std::vector<float> radii;
        engine.onSearchDB = [&](std::int16_t db, const SearchParams& p, const Progress& progress, std::int16_t& status,
                                std::int16_t& count) {
            radii.push_back(p.radiusNmi);
            if (db == 2)
                appending(w, {navLine("IAB", "109.100", 0, "ALPHA MUNI")}, {navReportLine("IAB", "109.100", "ALPHA")},
                          1)(db, p, progress, status, count);
        };
        std::int32_t count = -1;
        w.controller(engine).SearchForNavaids(count);
        EXPECT_EQ(count, 1);
        EXPECT_EQ(radii, (std::vector<float>{70.0f, c.comRadius}));
        // The report names the radius that was searched.
        const std::string report = readBytes(w.output("nav@WXYZ.txt"));
        const std::string said = "Search Radius = " + std::to_string(static_cast<int>(c.comRadius)) + " Nautical Miles";
        EXPECT_NE(report.find(said), std::string::npos) << report.substr(0, 300);
    }
}

TEST(WriteNavReports, PlotFilesSubsetsAndDuplicates) {
    Workspace w("navfiles");
    w.state.ProponentRecord = kProponent;
    FakeEngine engine;
    const std::string loc = navLine("IAB", "109.100", 0, "ALPHA MUNI");
    const std::string vor = navLine("VXY", "112.300", 6, "BRAVO VOR");
    const std::string com = navLine("DW0", "118.000", 8, "CHARLIE");
    // The lines as the sort leaves them: the same facility twice in a row.
    engine.searchHits = {};
    int call = 0;
    engine.onSearchDB = [&](std::int16_t db, const SearchParams& p, const Progress& progress, std::int16_t& status,
                            std::int16_t& count) {
        if (call++ == 0)
            appending(w, {loc, loc, vor},
                      {navReportLine("IAB", "109.100", "ALPHA"), navReportLine("IAB", "109.100", "ALPHA"),
                       navReportLine("VXY", "112.300", "")},
                      3)(db, p, progress, status, count);
        else
            appending(w, {com}, {navReportLine("DW0", "118.000", "CHARLIE")}, 1)(db, p, progress, status, count);
    };
    std::vector<std::string> keys;
    engine.onSortFile = [&](const std::string&, const std::string& key, std::int32_t length) {
        keys.push_back(key + "/" + std::to_string(length));
    };
    // An old subset the new search does not fill must not survive.
    writeBytes(w.output("VOR@WXYZ.PLT"), "old\r\n");
    std::int32_t count = -1;
    w.controller(engine).SearchForNavaids(count);
    EXPECT_EQ(count, 3);
    EXPECT_EQ(keys, (std::vector<std::string>{"10:59:A 1:9:A 60:145:A/145", "15:57:A 1:14:A 58:100:A/100"}));
    EXPECT_EQ(readBytes(w.output("nav@WXYZ.plt")), crlf({"CRV Version 5.0.6", loc, vor, com, " $$$", kProponent}));
    EXPECT_EQ(readBytes(w.output("loc@WXYZ.plt")), crlf({"CRV Version 5.0.6", loc, " $$$", kProponent}));
    EXPECT_EQ(readBytes(w.output("vor@WXYZ.plt")), crlf({"CRV Version 5.0.6", vor, " $$$", kProponent}));
    EXPECT_EQ(readBytes(w.output("com@WXYZ.plt")), crlf({"CRV Version 5.0.6", com, " $$$", kProponent}));
    EXPECT_FALSE(fs::exists(w.output("VOR@WXYZ.PLT")));  // one spelling only

    const std::string S(7, ' ');
    const auto report = crlfLines(readBytes(w.output("nav@WXYZ.txt")));
    const std::vector<std::string> expected = {
        S + "Circular Search Centered on  N 38\xB0 30' 00\"   W 077\xB0 00' 00\"",
        "",
        S + "Search Radius = 80 Nautical Miles",
        "",
        "",
        S + "Idnt   Crs     Freq    Latitude   Longitude   Pwr   Elev   Hdg   Rng",
        S + std::string(15, ' ') + "MHz" + std::string(29, ' ') + "W     ft   true   nmi",
        S + std::string(68, '_'),
        "",
        S + navReportLine("IAB", "109.100", "ALPHA").substr(1, 68),
        S + navReportLine("IAB", "109.100", "ALPHA").substr(69),
        "",
        S + navReportLine("VXY", "112.300", "").substr(1, 68),  // blank name and state: no second line
        "",
        S + navReportLine("DW0", "118.000", "CHARLIE").substr(1, 68),
        S + navReportLine("DW0", "118.000", "CHARLIE").substr(69),
    };
    EXPECT_EQ(report, expected);
}

TEST(WriteNavReports, FormFeedEveryFiftySixLinesAndCancelLeavesNothing) {
    // 30 facilities of three lines each: the page breaks after the 56th line.
    std::vector<std::string> lines1, lines2;
    for (int i = 0; i < 30; ++i) {
        const std::string freq = std::to_string(108 + i / 10) + "." + std::to_string(100 + i % 10 * 10);
        lines1.push_back(navLine("I" + std::to_string(10 + i), freq, 0, "NAME"));
        lines2.push_back(navReportLine(std::to_string(10 + i), freq, "NAME"));
    }
    {
        Workspace w("navpages");
        w.state.ProponentRecord = kProponent;
        w.state.UseCOMDB = 0;
        FakeEngine engine;
        engine.onSearchDB = appending(w, lines1, lines2, 30);
        std::int32_t count = -1;
        w.controller(engine).SearchForNavaids(count);
        EXPECT_EQ(count, 30);
        EXPECT_EQ(w.progress.maximum, 2 * 30 + 15);
        const auto report = crlfLines(readBytes(w.output("nav@WXYZ.txt")));
        // Header 5 + heading 3 = 8; each facility 3 lines: after 16 facilities 56.
        ASSERT_GT(report.size(), 57u);
        EXPECT_EQ(report[56], "\f");
        EXPECT_EQ(report[57].substr(7, 4), "Idnt");
        int formFeeds = 0;
        for (const auto& l : report) formFeeds += l == "\f";
        // Second page: 1 + 3 + 14 * 3 = 46 lines, no second break.
        EXPECT_EQ(formFeeds, 1);
    }
    {
        // Cancel at the last progress point (in the report phase): the plot
        // files already written go too.
        Workspace w("navcancel");
        w.state.ProponentRecord = kProponent;
        w.state.UseCOMDB = 0;
        FakeEngine engine;
        engine.onSearchDB = appending(w, lines1, lines2, 30);
        int values = 0;
        w.progress.onValue = [&] {
            if (++values == 15) w.progress.cancel();  // 1 search + 8 plot-file points, then the report
        };
        std::int32_t count = -1;
        w.controller(engine).SearchForNavaids(count);
        EXPECT_EQ(count, 0);
        EXPECT_TRUE(crv::common::FindEntries(w.state.OutputFolder, "*").empty());
        EXPECT_TRUE(crv::common::FindEntries(w.state.TempFolder, "*").empty());
        EXPECT_TRUE(w.messages.shown.empty());
    }
}

TEST(WriteNavReports, IdentifierIsSafeInAFileNameAndEmptyWithoutProponent) {
    {
        Workspace w("navid");
        w.state.ProponentRecord = proponentRecord("A/B*", "98.100", "38 30 00", "77 00 00");
        w.state.UseCOMDB = 0;
        FakeEngine engine;
        engine.onSearchDB =
            appending(w, {navLine("IAB", "109.100", 0, "X")}, {navReportLine("IAB", "109.100", "X")}, 1);
        std::int32_t count = 0;
        w.controller(engine).SearchForNavaids(count);
        EXPECT_EQ(count, 1);
        EXPECT_TRUE(fs::exists(w.output("nav@A_B_.plt")));
        EXPECT_FALSE(fs::exists(w.output("nav@A")));
    }
}

TEST(RunGuard, SecondSearchDuringACallIsRefused) {
    Workspace w("busy");
    FakeEngine engine;
    RunController& c = w.controller(engine);
    std::int32_t inner = -1;
    engine.onSearchDB = [&](std::int16_t, const SearchParams&, const Progress& progress, std::int16_t&,
                            std::int16_t& count) {
        progress(10);
        EXPECT_TRUE(c.busy());
        c.SearchForProponents(38.0f, 77.0f, 10.0f, inner);  // from inside the callback
        count = 1;
    };
    std::int32_t count = -1;
    c.SearchForProponents(38.0f, 77.0f, 10.0f, count);
    EXPECT_EQ(count, 1);
    EXPECT_EQ(inner, 0);
    EXPECT_EQ(engine.callNames(), "SearchDB");
    ASSERT_EQ(w.messages.shown.size(), 1u);
    EXPECT_EQ(w.messages.shown[0].text, engineBusyMessage().text);
    EXPECT_FALSE(c.busy());
}

TEST(RunGuard, CancelRequestStopsTheRunningCall) {
    Workspace w("cancelreq");
    FakeEngine engine;
    RunController& c = w.controller(engine);
    w.progress.onValue = [&] { c.requestCancel(); };  // the main window closing
    std::int32_t count = -1;
    engine.searchHits = {5};
    c.SearchForProponents(38.0f, 77.0f, 10.0f, count);
    EXPECT_EQ(count, 0);
    EXPECT_TRUE(w.messages.shown.empty());
    // The request ended with that call: the next search runs to its end.
    w.progress.onValue = nullptr;
    engine.onSearchDB = [](std::int16_t, const SearchParams&, const Progress& progress, std::int16_t& status,
                           std::int16_t& hits) {
        status = progress(50) ? 1 : 0;
        hits = 2;
    };
    c.SearchForProponents(38.0f, 77.0f, 10.0f, count);
    EXPECT_EQ(count, 2);
}

// With the per-user temporary folder refused at start (here another user's
// folder open to everyone stands where it belongs), no search runs in the
// current folder instead: each stops with the message, which says how to
// choose another place, and the current folder's files stay.
TEST(Searches, ARefusedTemporaryFolderStopsEverySearch) {
    Workspace w("notemp");
    const fs::path base = w.root / "shared-tmp";
    const fs::path userFolder = base / ("corvane-" + std::to_string(::getuid()));
    fs::create_directories(userFolder);
    fs::permissions(userFolder, fs::perms::all);
    const char* oldTmp = std::getenv("TMPDIR");
    const std::string savedTmp = oldTmp ? oldTmp : "";
    ::setenv("TMPDIR", base.c_str(), 1);
    const fs::path here = fs::current_path();
    fs::current_path(w.root);
    std::ofstream(w.root / "RfiSrch1.tmp") << "someone's file\r\n";
    w.state.TempFolder.clear();  // as GetConfiguration leaves it after its message
    w.state.ProponentRecord = kProponent;
    w.state.NavaidRecord = navLine("ABC", "109.100", 0, "HARLOW");

    for (const char* search : {"proponents", "navaids", "RF sources"}) {
        SCOPED_TRACE(search);
        FakeEngine engine;
        w.messages.shown.clear();
        std::int32_t count = -1;
        RunController& c = w.controller(engine);
        if (std::string(search) == "proponents")
            c.SearchForProponents(39, 77, 3, count);
        else if (std::string(search) == "navaids")
            c.SearchForNavaids(count);
        else
            c.SearchForRFSources(count);
        EXPECT_EQ(count, 0);
        EXPECT_EQ(engine.callNames(), "");
        ASSERT_EQ(w.messages.shown.size(), 1u);
        EXPECT_EQ(w.messages.shown[0].text,
                  " The temporary folder " + userFolder.string() +
                      " is open to other users (mode must be 0700). Set TMPDIR to a folder of your own to keep the "
                      "temporary files there instead. ");
        EXPECT_EQ(w.messages.shown[0].title, "Temporary Folder");
        EXPECT_TRUE(w.state.TempFolder.empty());
    }
    EXPECT_EQ(readBytes((w.root / "RfiSrch1.tmp").string()), "someone's file\r\n");
    EXPECT_FALSE(fs::exists(w.root / "RfiSrch2.tmp"));

    // Once the user has chosen another place, the next search gets its folder.
    ::setenv("TMPDIR", (w.root / "Temp").c_str(), 1);
    FakeEngine engine;
    std::int32_t count = -1;
    w.controller(engine).SearchForProponents(39, 77, 3, count);
    EXPECT_EQ(engine.callNames(), "SearchDB");
    EXPECT_EQ(w.state.TempFolder.rfind((w.root / "Temp").string() + "/corvane-", 0), 0u) << w.state.TempFolder;

    fs::current_path(here);
    if (oldTmp)
        ::setenv("TMPDIR", savedTmp.c_str(), 1);
    else
        ::unsetenv("TMPDIR");
}
