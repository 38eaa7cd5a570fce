// The RF-source search, its FM search files and the new case data file,
// over the scripted engine.
#include <gtest/gtest.h>

#include <cctype>

#include "crv/common/file_system.h"
#include "records.h"
#include "run_test_support.h"

using namespace crv::main::run;
using namespace crv::main::run::test;
using crv::binding::FakeEngine;
using crv::binding::Progress;
using crv::binding::SearchParams;

namespace {

const std::string kNavaid = navaidRecord("ABC", "90", "109.100", "38 00 00", "77 00 00", 0);
const std::string kProponent = proponentRecord("WPRP-FM", "98.100", "38 10 00", "77 00 00");

std::string reportLine(const std::string& call, const std::string& freq, const std::string& status,
                       const std::string& city) {
    std::string l(106, ' ');
    put(l, 2, call);
    put(l, 11, right(freq, 7));
    put(l, 21, status);
    put(l, 26, " 38 05 00     77 01 00");
    put(l, 49, "  3.0000");
    put(l, 59, "  300");
    put(l, 67, " 10");
    put(l, 72, "   5");
    put(l, 79, city);
    if (!city.empty()) put(l, 105, "ZA");
    while (!l.empty() && l.back() == ' ') l.pop_back();
    return l;
}

struct Search {
    std::vector<std::string> lines1, lines2;
};

// Each database search in turn appends its lines; the hit count is the
// number of lines it appends to the first file.
FakeEngine::SearchScript databases(Workspace& w, std::vector<Search> searches,
                                   std::vector<std::int16_t>* dbs = nullptr) {
    auto index = std::make_shared<std::size_t>(0);
    return [&w, searches, index, dbs](std::int16_t db, const SearchParams&, const Progress& progress,
                                      std::int16_t& status, std::int16_t& count) {
        if (dbs) dbs->push_back(db);
        const Search s = *index < searches.size() ? searches[*index] : Search{};
        ++*index;
        std::ofstream a(w.temp("RfiSrch1.tmp"), std::ios::binary | std::ios::app);
        for (const auto& l : s.lines1) a << l << "\r\n";
        std::ofstream b(w.temp("RfiSrch2.tmp"), std::ios::binary | std::ios::app);
        for (const auto& l : s.lines2) b << l << "\r\n";
        count = static_cast<std::int16_t>(s.lines1.size());
        if (progress && progress(50)) status = 1;
    };
}

void prepare(Workspace& w, const std::string& navaid = kNavaid, const std::string& proponent = kProponent) {
    w.state.NavaidRecord = navaid;
    w.state.ProponentRecord = proponent;
    w.questions.savePath = w.data("new.dat");
}

}  // namespace

TEST(SearchForRFSources, CaseFileAndFmSearchFiles) {
    Workspace w("rf");
    prepare(w);
    FakeEngine engine;
    const std::string a = sourceLine("WAAA-FM", "92.100", "38 05 00", "77 01 00", "LIC");
    const std::string aDel = sourceLine("WAAA-FM", "92.100", "38 05 00", "77 01 00", "APP");  // same 1-52
    const std::string prp = sourceLine("WPRP-FM", "98.100", "38 10 00", "77 00 00", "LIC");   // the proponent's own hit
    const std::string b = sourceLine("WBBB-FM", "101.100", "38 02 00", "77 03 00", "LIC");
    const std::string self = sourceLine("VABC", "109.100", "38 00 00", "77 00 00", "VOR");  // the navaid itself
    std::vector<std::string> sortKeys;
    engine.onSortFile = [&](const std::string&, const std::string& key, std::int32_t length) {
        sortKeys.push_back(key + "/" + std::to_string(length));
    };
    std::vector<std::int16_t> dbs;
    engine.onSearchDB =
        databases(w,
                  {{{a, aDel, prp, b},
                    {reportLine("WAAA-FM", "92.100", "LIC", "ALPHA"), reportLine("WAAA-FM", "92.100", "APP", "ALPHA"),
                     reportLine("WBBB-FM", "101.100", "LIC", "")}},
                   {{self}, {}},
                   {{}, {}}},
                  &dbs);
    w.questions.chosenRadius = 25.0f;
    std::int32_t count = -1;
    w.controller(engine).SearchForRFSources(count);
    ASSERT_EQ(count, 3) << w.messages.texts();
    EXPECT_EQ(dbs, (std::vector<std::int16_t>{1, 2, 3}));
    EXPECT_EQ(sortKeys, (std::vector<std::string>{"10:52:A 1:9:A 67:69:D 53:80:A/80",
                                                  "11:17:A 26:63:A 1:10:A 21:23:D 18:20:A 64:110:A/110"}));
    std::string prpLine = prp;
    prpLine[64] = '1';
    const auto plot = readBytes(w.output("fm@ABC.plt"));
    EXPECT_EQ(plot, crlf({"CRV Version 5.0.6", kNavaid.substr(0, 70) + " ", a, prpLine, b, " $$$$",
                          "  1  1  1  1  1  1     0   0 1000 100  1  1",
                          " TESTCASE       " + std::string(27, ' ') + "12/10/26 25"}));
    EXPECT_EQ(readBytes(w.data("new.dat")), plot);
    EXPECT_EQ(w.state.CaseFile, "new.dat");
    EXPECT_EQ(w.state.DataFolder, (w.root / "Data").string() + "/");
    EXPECT_EQ(w.state.RecentFiles[0], w.data("new.dat"));
    EXPECT_EQ(w.settings->get("Recent Files", "1").value_or(""), w.data("new.dat"));
    EXPECT_EQ(w.progress.finals(), std::vector<std::string>{"3 RF sources found."});
    EXPECT_TRUE(crv::common::FindEntries(w.state.TempFolder, "*").empty());
    ASSERT_EQ(w.questions.saveRequests.size(), 1u);
    EXPECT_EQ(w.questions.saveRequests[0].fileName, "ABC_loc.dat");
    EXPECT_EQ(w.questions.saveRequests[0].title, "Save Data File As");

    const auto report = crlfLines(readBytes(w.output("fm@ABC.txt")));
    const std::string I(4, ' ');
    ASSERT_GE(report.size(), 5u);
    EXPECT_EQ(report[0].substr(0, 34), I + "Elliptical Search Centered on ");
    EXPECT_EQ(report[1].substr(0, 34), I + std::string(26, ' ') + "and ");
    EXPECT_EQ(report[3], I + "Search Radius = 25 Nautical Miles");
    const std::vector<std::string> body(report.begin() + 6, report.end());
    EXPECT_EQ(body, (std::vector<std::string>{
                        I + "Call       Freq   Stat   Latitude   Longitude    Power    Elev   Hdg   Rng",
                        I + std::string(11, ' ') + "MHz" + std::string(37, ' ') + "kW      ft   true   nmi",
                        I + std::string(74, '_'), "", I + reportLine("WAAA-FM", "92.100", "LIC", "ALPHA").substr(1, 74),
                        I + reportLine("WAAA-FM", "92.100", "LIC", "ALPHA").substr(75), "",
                        I + reportLine("WBBB-FM", "101.100", "LIC", "").substr(1, 74)}));
}

TEST(SearchForRFSources, ProponentLineBeforeTheFirstHigherFrequencyAndOptionsByType) {
    struct Case {
        int type;
        int radius;
        int height;
        const char* options;
        const char* suffix;
    } cases[] = {{4, 0, 0, "  1  1  1  1  1  1     0   0 1000 200  1  1", "_loc.dat"},
                 {6, 0, 0, "  1  1  1  1  1  1     0   0 6076 500  0  1", "_vor.dat"},
                 {8, 100, 1000, "  1  1  2  2  2  1     0   0 9999  20  0  1", "_com.dat"},
                 {8, 8, 100, "  1  1  2  2  2  1     0   0  972  10  1  1", "_com.dat"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.options);
        Workspace w("rfopt");
        prepare(w, navaidRecord("ABC", "0", "118.000", "38 00 00", "77 00 00", c.type, c.radius, c.height));
        w.state.ModelType = "SCI";  // asks even for TLS and COM
        FakeEngine engine;
        const std::string low = sourceLine("WLOW-FM", "98.100", "38 01 00", "77 00 00", "LIC");  // within 0.0005
        const std::string high = sourceLine("WHIG-FM", "98.300", "38 01 00", "77 00 00", "LIC");
        engine.onSearchDB = databases(w, {{{low, high}, {reportLine("WLOW-FM", "98.100", "LIC", "")}}});
        std::int32_t count = -1;
        w.controller(engine).SearchForRFSources(count);
        EXPECT_EQ(w.questions.paramsCalls, 1);
        EXPECT_EQ(w.questions.saveRequests.at(0).fileName, std::string("ABC") + c.suffix);
        const auto lines = crlfLines(readBytes(w.data("new.dat")));
        ASSERT_EQ(lines.size(), 8u);
        EXPECT_EQ(lines[2], low);
        EXPECT_EQ(lines[3], kProponent + "  0  0   0  1 PRP     0");
        EXPECT_EQ(lines[4], high);
        EXPECT_EQ(lines[6], c.options);
        EXPECT_EQ(count, 3);
    }
}

TEST(SearchForRFSources, FieldEditionAsksNothingForTlsAndCom) {
    for (int type : {4, 8}) {
        Workspace w("rffld");
        prepare(w, navaidRecord("ABC", "0", "118.000", "38 00 00", "77 00 00", type, 20, 1000), "");
        FakeEngine engine;
        std::vector<float> radii;
        engine.onSearchDB = [&](std::int16_t, const SearchParams& p, const Progress&, std::int16_t&,
                                std::int16_t& count) {
            radii.push_back(p.radiusNmi);
            writeBytes(w.temp("RfiSrch1.tmp"), crlf({sourceLine("WAAA-FM", "92.100", "38 05 00", "77 01 00", "LIC")}));
            writeBytes(w.temp("RfiSrch2.tmp"), crlf({reportLine("WAAA-FM", "92.100", "LIC", "")}));
            count = 1;
        };
        std::int32_t count = -1;
        w.controller(engine).SearchForRFSources(count);
        EXPECT_EQ(w.questions.paramsCalls, 0);
        ASSERT_FALSE(radii.empty());
        EXPECT_FLOAT_EQ(radii[0], type == 4 ? 9.7f + 30.0f : 20.0f + 30.0f);
        EXPECT_EQ(count, 1);
    }
}

TEST(SearchForRFSources, NotesWarningsAndBackCourse) {
    {
        // Type 7 chosen: the note, then the search goes on.
        Workspace w("rf7");
        prepare(w, navaidRecord("VHI", "0", "113.000", "38 00 00", "77 00 00", 6), "");
        w.questions.chosenType = 7;
        FakeEngine engine;
        engine.onSearchDB = databases(w, {});
        std::int32_t count = -1;
        w.controller(engine).SearchForRFSources(count);
        ASSERT_GE(w.messages.shown.size(), 1u);
        EXPECT_EQ(w.messages.shown[0].text,
                  " High-Altitude VORs are modeled only \r to 40 nautical miles radius and "
                  "\r 18,000 feet above ground level. ");
        EXPECT_EQ(w.messages.shown[0].title, "Note");
        EXPECT_EQ(w.messages.shown[0].icon, crv::common::MessageIcon::None);
        EXPECT_EQ(w.state.NavaidRecord.substr(57, 2), " 7");
        // Nothing found in any database.
        ASSERT_EQ(w.messages.shown.size(), 2u);
        EXPECT_EQ(w.messages.shown[1].text, " No RF sources found. \r Modify selected navaid or search parameters. ");
        EXPECT_EQ(w.messages.shown[1].title, "Simulation Search");
        EXPECT_EQ(count, 0);
        EXPECT_EQ(w.state.CaseFile, "");
    }
    for (const char* edition : {"FLD", "SCI"}) {
        // Proponent far outside: the warning, no save dialog, no search.
        Workspace w("rfout");
        prepare(w, navaidRecord("VLO", "0", "113.000", "38 00 00", "77 00 00", 6),
                proponentRecord("WFAR-FM", "98.100", "40 00 00", "77 00 00"));
        w.state.ModelType = edition;
        FakeEngine engine;
        std::int32_t count = -1;
        w.controller(engine).SearchForRFSources(count);
        ASSERT_EQ(w.messages.shown.size(), 1u);
        const std::string field = " The proponent is not within the search radius \r of the selected navaid. ";
        EXPECT_EQ(w.messages.shown[0].text,
                  std::string(edition) == "FLD"
                      ? field
                      : field + "\r\r Select a different navaid or increase the \r search radius. ");
        EXPECT_TRUE(w.questions.saveRequests.empty());
        EXPECT_TRUE(engine.calls.empty());
    }
    struct Turn {
        const char* course;
        const char* turned;
    } turns[] = {{"270", " 90"}, {"180", "  0"}};
    for (const auto& t : turns) {
        Workspace w("rfback");
        prepare(w, navaidRecord("IBC", t.course, "109.100", "38 00 00", "77 00 00", 0, 0, 0, 1), "");
        w.questions.chosenType = 2;
        w.questions.savePath = "";  // cancelled at the save dialog
        FakeEngine engine;
        std::int32_t count = -1;
        w.controller(engine).SearchForRFSources(count);
        EXPECT_EQ(w.state.NavaidRecord.substr(5, 3), t.turned);
        EXPECT_EQ(w.state.NavaidRecord.substr(57, 2), " 2");
        EXPECT_TRUE(engine.calls.empty());
        EXPECT_EQ(count, 0);
    }
    {
        // A blank database course is not turned; the user is told.
        Workspace w("rfblank");
        prepare(w, navaidRecord("IBL", "-1", "109.100", "38 00 00", "77 00 00", 0, 0, 0, 1), "");
        w.questions.chosenType = 2;
        w.questions.savePath = "";
        FakeEngine engine;
        std::int32_t count = -1;
        w.controller(engine).SearchForRFSources(count);
        EXPECT_EQ(w.state.NavaidRecord.substr(5, 3), " -1");
        ASSERT_EQ(w.messages.shown.size(), 1u);
        EXPECT_NE(w.messages.shown[0].text.find("course of navaid IBL is not known"), std::string::npos);
    }
}

TEST(SearchForRFSources, CancelOrFailureKeepsTheCaseFileTheUserAgreedToReplace) {
    const std::string oldCase = "old case bytes\r\nsecond line\r\n";
    struct Case {
        const char* what;
        int cancelAtValue;  // -1: none
        bool failWrite;     // the report cannot be read
    } cases[] = {{"cancel in the search", 1, false}, {"cancel while writing", 5, false}, {"writer fails", -1, true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Workspace w("rfkeep");
        prepare(w);
        w.state.CaseFile = "previous.dat";
        writeBytes(w.data("new.dat"), oldCase);
        writeBytes(w.output("fm@ABC.plt"), "old plot\r\n");
        FakeEngine engine;
        std::vector<std::string> many;
        for (int i = 0; i < 40; ++i)
            many.push_back(sourceLine("W" + std::to_string(100 + i),
                                      "9" + std::to_string(i / 10) + "." + std::to_string(100 + i % 10 * 10),
                                      "38 05 00", "77 01 00", "LIC"));
        engine.onSearchDB = databases(w, {{many, {reportLine("W100", "90.100", "LIC", "")}}});
        if (c.failWrite)
            engine.onSortFile = [&](const std::string& file, const std::string&, std::int32_t) {
                if (file.find("RfiSrch2") != std::string::npos) fs::remove(file);
            };
        w.progress.cancelAtValue = c.cancelAtValue;
        std::int32_t count = -1;
        w.controller(engine).SearchForRFSources(count);
        EXPECT_EQ(count, 0);
        EXPECT_EQ(readBytes(w.data("new.dat")), oldCase);
        EXPECT_EQ(w.state.CaseFile, "previous.dat");
        EXPECT_EQ(w.state.RecentFiles[0], "");
        // A cancelled search never reached the writer, which alone clears
        // the FM search files.
        EXPECT_EQ(fs::exists(w.output("fm@ABC.plt")), c.cancelAtValue == 1);
        EXPECT_FALSE(fs::exists(w.output("fm@ABC.txt")));
        EXPECT_EQ(crv::common::FindEntries(w.state.DataFolder, "*").size(), 1u);  // no partial file left
        EXPECT_TRUE(crv::common::FindEntries(w.state.TempFolder, "*").empty());
        if (c.failWrite) {
            ASSERT_EQ(w.messages.shown.size(), 1u);
            EXPECT_NE(w.messages.shown[0].text.find("WriteRFSrcReports"), std::string::npos);
        } else {
            EXPECT_TRUE(w.messages.shown.empty()) << w.messages.texts();
        }
    }
}

TEST(SearchForRFSources, CaseFileCannotBeTheFmSearchFileItself) {
    Workspace w("rfself");
    prepare(w);
    w.state.DataFolder = w.state.OutputFolder;
    w.questions.savePath = w.output("fm@ABC.plt");
    FakeEngine engine;
    engine.onSearchDB = databases(w, {{{sourceLine("WAAA-FM", "92.100", "38 05 00", "77 01 00", "LIC")}, {}}});
    std::int32_t count = -1;
    w.controller(engine).SearchForRFSources(count);
    EXPECT_EQ(count, 0);
    ASSERT_EQ(w.messages.shown.size(), 1u);
    EXPECT_NE(w.messages.shown[0].text.find("cannot take the place"), std::string::npos);
    EXPECT_FALSE(fs::exists(w.output("fm@ABC.plt")));
}

TEST(SearchForRFSources, DuplicatesOnlyWhenAllOfColumnsOneToFiftyTwoMatch) {
    // Sorted as the extended keys leave them: the two copies of WAAA meet,
    // the greater licence status first; WAAB differs in the call sign only.
    Workspace w("rfdup");
    prepare(w, kNavaid, "");
    const std::string lic = sourceLine("WAAA-FM", "92.100", "38 05 00", "77 01 00", "LIC");
    const std::string app = sourceLine("WAAA-FM", "92.100", "38 05 00", "77 01 00", "APP");
    const std::string other = sourceLine("WAAB-FM", "92.100", "38 05 00", "77 01 00", "LIC");
    FakeEngine engine;
    engine.onSearchDB = databases(w, {{{lic, app, other}, {}}});
    std::int32_t count = -1;
    w.controller(engine).SearchForRFSources(count);
    EXPECT_EQ(count, 2);
    const auto lines = crlfLines(readBytes(w.data("new.dat")));
    ASSERT_GE(lines.size(), 4u);
    EXPECT_EQ(lines[2], lic);
    EXPECT_EQ(lines[3], other);
}

TEST(SearchForRFSources, FailedDatabaseSearchEndsQuietlyAndTodayUsesSlashes) {
    {
        // The navaid database search fails (the engine has shown why): no
        // COM search, no files, no message of the controller's own.
        Workspace w("rffail");
        prepare(w);
        FakeEngine engine;
        int call = 0;
        engine.onSearchDB = [&](std::int16_t, const SearchParams&, const Progress&, std::int16_t& status,
                                std::int16_t& count) {
            count = 1;
            if (call++ == 1) status = 2;
        };
        std::int32_t count = -1;
        w.controller(engine).SearchForRFSources(count);
        EXPECT_EQ(count, 0);
        EXPECT_EQ(call, 2);
        EXPECT_TRUE(w.messages.shown.empty());
        EXPECT_EQ(w.progress.events.back(), "Remove");
        EXPECT_FALSE(fs::exists(w.data("new.dat")));
    }
    {
        Workspace w("rfdate");
        prepare(w, kNavaid, "");
        w.systemDate = true;
        FakeEngine engine;
        engine.onSearchDB = databases(w, {{{sourceLine("WAAA-FM", "92.100", "38 05 00", "77 01 00", "LIC")}, {}}});
        std::int32_t count = -1;
        w.controller(engine).SearchForRFSources(count);
        ASSERT_EQ(count, 1);
        const auto lines = crlfLines(readBytes(w.data("new.dat")));
        ASSERT_EQ(lines.size(), 6u);
        const std::string date = lines[5].substr(43, 8);
        EXPECT_TRUE(std::isdigit(static_cast<unsigned char>(date[0])) && date[2] == '/' && date[5] == '/') << date;
    }
}
