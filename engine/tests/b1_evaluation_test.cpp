// The two- and three-signal intermodulation exports on cases whose levels can
// be worked out by hand: constant-beam stations, receivers at the stations'
// antenna height, criteria type 2 (B1 threshold -10 dBm, masking at -10 dBm,
// cutoff -30 dBm), antenna rejection 13.2 dB. A station of ERP 100 kW at
// 98.1 MHz then has the base term -8.6734 dB, at 103.1 MHz -9.1052 dB.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>

#include <filesystem>
#include <map>

#include "b1_fixture.h"
#include "crv50.h"
#include "fixed_text.h"
#include "stress_case.h"
#include "test_support.h"

namespace crv::engine {
namespace {

using namespace test;
namespace fs = std::filesystem;

const double kLatA = 40 + 35.0 / 60, kLonA = 75 + 25.0 / 60;  // station A
const double kLatB = 40 + 40.0 / 60;                          // station B, 5 nmi north of A

// 35 ignored lines, A (proponent, 98.1, ordinal 36), three ignored lines, B
// (103.1, ordinal 40): 2 x 103.1 - 98.1 = 108.1, on the navaid's channel.
std::vector<StationLine> pairStations() {
    std::vector<StationLine> s;
    for (int i = 0; i < 35; ++i) s.push_back({"WIGN" + std::to_string(i % 10), 90.0, kLatA, kLonA, 1, 1000, 2});
    s.push_back({"WAAA", 98.1, kLatA, kLonA, 100, 1000, 1});
    for (int i = 0; i < 3; ++i) s.push_back({"WIGX", 90.0, kLatA, kLonA, 1, 1000, 2});
    s.push_back({"WBBB", 103.1, kLatB, kLonA, 100, 1000, 0});
    return s;
}

// A receiver point `offsetNmi` north of station A at the antenna height.
crv::formats::ReceiverPoint pointNorthOfA(double offsetNmi, std::int16_t id = 0) {
    return {id, 1.25f, 359.5f, 1000.0f, static_cast<float>(kLatA + offsetNmi / 60), static_cast<float>(kLonA), -70.0f};
}

std::vector<crv::formats::ReceiverPoint> pairPoints() {
    return {
        pointNorthOfA(-0.5),     // A -2.652 dBm, B -23.912: 7.35 dB over the threshold
        pointNorthOfA(-0.9),     // A -7.759: 2.24 dB over
        pointNorthOfA(-2.0),     // A -14.694: below the threshold
        pointNorthOfA(0.5),      // A -2.653, B -22.169: 7.35 dB over
        pointNorthOfA(4.8),      // B +4.876 on its own: masked by B's overload
        pointNorthOfA(-0.5, 3),  // tied to a station of no signal: not used
        pointNorthOfA(0.5, -2),  // above the floor of B's column: used
        sectionEnd(),
    };
}

struct ExportRun {
    std::int16_t status = -1, cases = -1;
    std::int32_t combinations = -1;
};

ExportRun runTwoSignal(const CaseFolder& f, CrvProgressCallback cb = nullptr) {
    ExportRun r;
    B1_2Sig(f.run.c_str(), cb, &r.status, &r.cases, &r.combinations);
    return r;
}
ExportRun runThreeSignal(const CaseFolder& f, CrvProgressCallback cb = nullptr) {
    ExportRun r;
    B1_3Sig(f.run.c_str(), cb, &r.status, &r.cases, &r.combinations);
    return r;
}

std::string separatorLine() { return " " + std::string(80, '_'); }

class B1Case : public ::testing::Test {
protected:
    void SetUp() override {
        writeBytes(folder.run + "Rfi.txt", "HEAD\r\n");
    }
    void writeCase(const std::vector<StationLine>& stations, const CaseOptionsLine& options) {
        folder.writeCase(caseLines(navaidLine(108.1), stations, options));
    }
    std::vector<std::string> report() const { return splitLines(readBytes(folder.run + "Rfi.txt")); }
    CaseFolder folder;
    PrivateTemp temp{folder};
    crv::test::MessageCapture messages;
};

TEST_F(B1Case, OnChannelPairPlotsTheAnalyticPoints) {
    writeCase(pairStations(), {});
    writePoints(folder.run + "Rcvr_Loc.plx", pairPoints());
    const ExportRun r = runTwoSignal(folder);
    ASSERT_EQ(r.status, 0) << (messages.messages().empty() ? "" : messages.messages()[0].text);
    EXPECT_EQ(r.cases, 1);
    EXPECT_EQ(r.combinations, 1);

    // Signal 1 is B (doubled, ordinal 40 = "14"), signal 2 is A (36 = "10").
    std::string t1, t2;
    const auto pts = plotPoints(folder.run + "14_10___.plt", &t1, &t2);
    EXPECT_EQ(trimRightCopy(t1), "Intermodulation (B1) plot:  WBBB ( 40) & WAAA ( 36)");
    EXPECT_EQ(trimRightCopy(t2), "Frequencies:  WBBB    = 103.100 MHz  WAAA    =  98.100 MHz");
    const std::vector<std::int16_t> levels{7, 2, 7, 7, 9999};
    ASSERT_EQ(pts.size(), levels.size());
    for (std::size_t i = 0; i < levels.size(); ++i) EXPECT_EQ(pts[i].levelDb, levels[i]) << i;
    EXPECT_EQ(pts[0].distance100, 125);
    EXPECT_EQ(pts[0].azimuth100, -50);
    EXPECT_EQ(pts[0].altitudeFt, 1000);
    EXPECT_NEAR(pts[0].extra, -2.652, 0.002);
    EXPECT_NEAR(pts[1].extra, -7.759, 0.002);

    const std::vector<std::string> expected{
        "HEAD",
        "",
        " Evaluation of 2-signal intermodulation interference",
        separatorLine(),
        "",
        " Freq1   ID   Call   Freq2   ID   Call    IMod  Offset   #Pts",
        "  MHz                 MHz                  MHz    kHz",
        separatorLine(),
        "",
        " 103.10   40 WBBB     98.10   36 WAAA    108.100    0       4",
        "",
        " Note:  Some 2-signal points masked by adjacent-channel / overload interference.",
    };
    EXPECT_EQ(report(), expected);
    EXPECT_FALSE(fs::exists(tempFile(folder, "Imod2.tmp")));
}

TEST_F(B1Case, IntermodTypeZeroLeavesTheReportAlone) {
    CaseOptionsLine o;
    o.intermod = 0;
    writeCase(pairStations(), o);
    const ExportRun two = runTwoSignal(folder), three = runThreeSignal(folder);
    EXPECT_EQ(two.status, 0);
    EXPECT_EQ(three.status, 0);
    EXPECT_EQ(readBytes(folder.run + "Rfi.txt"), "HEAD\r\n");
}

TEST_F(B1Case, ThreeSignalProductAndNoTwoSignalCombination) {
    // 98.1 + 105.0 - 95.0 = 108.1; no pair of them lands within 100 kHz.
    writeCase({{"WAAA", 98.1, kLatA, kLonA, 100, 1000, 1},
               {"WEEE", 105.0, kLatA + 3.0 / 60, kLonA, 100, 1000, 0},
               {"WFFF", 95.0, kLatA - 4.0 / 60, kLonA, 100, 1000, 0}},
              {});
    writePoints(folder.run + "Rcvr_Loc.plx", {pointNorthOfA(0.5), sectionEnd()});
    const ExportRun two = runTwoSignal(folder);
    EXPECT_EQ(two.status, 0);
    EXPECT_EQ(two.combinations, 0);
    const ExportRun three = runThreeSignal(folder);
    ASSERT_EQ(three.status, 0);
    EXPECT_EQ(three.cases, 1);
    EXPECT_EQ(three.combinations, 1);
    EXPECT_EQ(plotPoints(folder.run + "01_02_03.plt").size(), 2u);
    const std::vector<std::string> expected{
        "HEAD",
        "",
        "",
        " There are no 2-signal intermodulation combinations for this data file.",
        "",
        "",
        " Evaluation of 3-signal intermodulation interference",
        separatorLine(),
        "",
        " Freq1   ID   Call   Freq2   ID   Call   Freq3   ID   Call    IMod  Offset   #Pts",
        "  MHz                 MHz                 MHz                  MHz    kHz",
        separatorLine(),
        "",
        "  98.10    1 WAAA    105.00    2 WEEE     95.00    3 WFFF    108.100    0       1",
    };
    EXPECT_EQ(report(), expected);
    EXPECT_FALSE(fs::exists(tempFile(folder, "Imod3.tmp")));
}

// A report that cannot be written (a full disk: files may grow past the plot
// and the earlier report, not to the size the report of this call reaches) fails
// the call after its plot was written; the plot goes with it and no count is
// reported.
TEST_F(B1Case, AFullDiskLeavesNoPlotOfTheFailedCall) {
    writeCase({{"WAAA", 98.1, kLatA, kLonA, 100, 1000, 1},
               {"WEEE", 105.0, kLatA + 3.0 / 60, kLonA, 100, 1000, 0},
               {"WFFF", 95.0, kLatA - 4.0 / 60, kLonA, 100, 1000, 0}},
              {});
    writePoints(folder.run + "Rcvr_Loc.plx", {pointNorthOfA(0.5), sectionEnd()});
    // The earlier exports' part of the report, which this call extends.
    const std::string earlier = std::string(2000, '-') + "\r\n";
    writeBytes(folder.run + "Rfi.txt", earlier);
    ASSERT_EQ(runThreeSignal(folder).status, 0);
    const auto plotSize = fs::file_size(folder.run + "01_02_03.plt");
    const auto reportSize = fs::file_size(folder.run + "Rfi.txt");
    ASSERT_LT(plotSize, earlier.size());
    ASSERT_LT(earlier.size() + 16, reportSize);
    writeBytes(folder.run + "Rfi.txt", earlier);
    fs::remove(folder.run + "01_02_03.plt");
    const std::size_t before = messages.messages().size();
    ExportRun three;
    {
        crv::test::ScopedFileSizeLimit full((earlier.size() + reportSize) / 2);
        three = runThreeSignal(folder);
    }
    EXPECT_EQ(three.status, 2);
    EXPECT_EQ(three.cases, 0);
    EXPECT_EQ(three.combinations, 0);
    EXPECT_FALSE(fs::exists(folder.run + "01_02_03.plt"));
    EXPECT_FALSE(fs::exists(folder.run + "Rfi.txt"));
    EXPECT_FALSE(fs::exists(tempFile(folder, "Imod3.tmp")));
    ASSERT_EQ(messages.messages().size(), before + 1);
    EXPECT_NE(messages.messages().back().text.find(folder.run + "Rfi.txt"), std::string::npos);
}

// The list file is written beside the evaluation where more than one thread
// may run; one that cannot be written (files here may not grow past 64 KiB,
// the list is some 480 KB, the report and plots stay under it) still fails the
// call with the list's name, and leaves no list, report or plot behind.
TEST_F(B1Case, AListFileThatCannotBeWrittenFailsTheCall) {
    ASSERT_TRUE(crv::bench::writeBenchCase(folder.run, crv::bench::kStressCase));
    std::int16_t status = -1;
    std::int32_t points = 0;
    Grid(folder.run.c_str(), nullptr, &status, &points);
    ASSERT_EQ(status, 0);
    const auto b1Plots = [&] {
        int n = 0;
        for (const auto& entry : fs::directory_iterator(folder.run)) {
            const std::string name = entry.path().filename().string();
            if (name.size() == 12 && name[2] == '_' && name[5] == '_' && name.ends_with(".plt")) ++n;
        }
        return n;
    };
    ::signal(SIGXFSZ, SIG_IGN);  // a write past the limit fails instead of ending the process
    struct rlimit unlimited {};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &unlimited), 0);
    for (const char* threads : {"1", "8"}) {
        SCOPED_TRACE(threads);
        ::setenv("CRV_THREADS", threads, 1);
        writeBytes(folder.run + "Rfi.txt", "HEAD\r\n");
        const std::size_t before = messages.messages().size();
        struct rlimit small = unlimited;
        small.rlim_cur = 64 * 1024;
        ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
        const ExportRun r = runThreeSignal(folder);
        ::setrlimit(RLIMIT_FSIZE, &unlimited);
        EXPECT_EQ(r.status, 2);
        EXPECT_EQ(r.cases, 0);
        ASSERT_EQ(messages.messages().size(), before + 1);
        const std::string& text = messages.messages().back().text;
        EXPECT_NE(text.find("Could not write intermodulation list file"), std::string::npos) << text;
        EXPECT_NE(text.find(tempFile(folder, "Imod3.tmp")), std::string::npos) << text;
        EXPECT_FALSE(fs::exists(tempFile(folder, "Imod3.tmp")));
        EXPECT_FALSE(fs::exists(folder.run + "Rfi.txt"));
        EXPECT_EQ(b1Plots(), 0);
    }
    ::unsetenv("CRV_THREADS");
    ::signal(SIGXFSZ, SIG_DFL);
}

TEST_F(B1Case, APairMarkedTwiceIsEvaluatedOnce) {
    auto stations = pairStations();
    stations.back().status = 1;  // B a proponent too
    writeCase(stations, {});
    writePoints(folder.run + "Rcvr_Loc.plx", pairPoints());
    const ExportRun r = runTwoSignal(folder);
    ASSERT_EQ(r.status, 0);
    EXPECT_EQ(r.combinations, 1);
    EXPECT_EQ(r.cases, 1);
    // The record kept is A's (lowest proponent), so B's own strong point is
    // still masked.
    EXPECT_EQ(plotPoints(folder.run + "14_10___.plt").size(), 5u);
}

// The coarse prescreen: a combination whose coarse points all stay far below
// the threshold is not evaluated, and in the short style gets no row.
TEST_F(B1Case, PrescreenOnlyFromThisRunsCoarseGrid) {
    CaseOptionsLine o;
    o.style = 1;
    o.prescreen = 1;
    writeCase(pairStations(), o);
    writePoints(folder.run + "Rcvr_Loc.plx", pairPoints());
    const std::vector<crv::formats::ReceiverPoint> farAway{pointNorthOfA(-40), sectionEnd()};

    // No coarse file (a vertical-only grid): every combination is evaluated.
    EXPECT_EQ(runTwoSignal(folder).cases, 1);

    // A coarse file older than the receiver points is left from another run.
    writePoints(folder.run + "Rcvr8Loc.plx", farAway);
    fs::last_write_time(folder.run + "Rcvr8Loc.plx",
                        fs::last_write_time(folder.run + "Rcvr_Loc.plx") - std::chrono::seconds(60));
    fs::remove(folder.run + "14_10___.plt");
    EXPECT_EQ(runTwoSignal(folder).cases, 1);

    // This run's coarse grid: the combination stays 12 dB or more below.
    writeBytes(folder.run + "Rfi.txt", "HEAD\r\n");
    fs::remove(folder.run + "14_10___.plt");
    writePoints(folder.run + "Rcvr8Loc.plx", farAway);
    const ExportRun r = runTwoSignal(folder);
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.cases, 0);
    EXPECT_EQ(r.combinations, 1);
    EXPECT_FALSE(fs::exists(folder.run + "14_10___.plt"));
    const std::vector<std::string> expected{
        "HEAD", "", " Evaluation of 2-signal intermodulation interference", separatorLine(), "",
        " No 2-signal intermodulation interference found.",
    };
    EXPECT_EQ(report(), expected);
}

// Grid types 6 and 7 read a point file of two sections (horizontal grid, then
// the vertical plane): the plot keeps the same sections even when its first
// point lies in the second, and the row splits the count by section.
TEST_F(B1Case, TwoSectionGridKeepsThePlotSectionsAndSplitsTheRow) {
    using crv::formats::kSectionEnd;
    struct Row {
        const char* what;
        std::vector<crv::formats::ReceiverPoint> points;
        std::vector<std::int16_t> plotLevels;
        const char* horizontal;
        const char* vertical;
    };
    const std::vector<Row> rows{
        {"hits in the vertical plane only",
         {pointNorthOfA(-2.0), sectionEnd(), pointNorthOfA(-0.5), pointNorthOfA(0.5), sectionEnd()},
         {kSectionEnd, 7, 7, kSectionEnd},
         "      0H",
         "     2V"},
        {"a hit in the horizontal grid only",
         {pointNorthOfA(-0.5), sectionEnd(), pointNorthOfA(-2.0), sectionEnd()},
         {7, kSectionEnd, kSectionEnd},
         "      1H",
         "     0V"},
    };
    CaseOptionsLine o;
    o.gridType = 6;
    writeCase(pairStations(), o);
    for (const Row& row : rows) {
        writeBytes(folder.run + "Rfi.txt", "HEAD\r\n");
        writePoints(folder.run + "Rcvr_Loc.plx", row.points, 6);
        const ExportRun r = runTwoSignal(folder);
        ASSERT_EQ(r.status, 0) << row.what;
        EXPECT_EQ(r.cases, 1) << row.what;
        std::vector<std::int16_t> levels;
        for (const auto& p : plotPoints(folder.run + "14_10___.plt")) levels.push_back(p.levelDb);
        EXPECT_EQ(levels, row.plotLevels) << row.what;
        const auto lines = report();
        ASSERT_GE(lines.size(), 2u);
        EXPECT_EQ(lines[lines.size() - 2],
                  std::string(" 103.10   40 WBBB     98.10   36 WAAA    108.100    0") + row.horizontal)
            << row.what;
        EXPECT_EQ(lines.back(), std::string(54, ' ') + row.vertical) << row.what;
    }
}

int gCancelAt = 0, gCalls = 0;
void cancelAtNth(std::int32_t, std::int16_t* cancel) { *cancel = ++gCalls == gCancelAt ? 1 : 0; }

TEST_F(B1Case, CancelDeletesTheReportListAndDebugFile) {
    CaseOptionsLine o;
    o.style = 3;
    writeCase(pairStations(), o);
    writePoints(folder.run + "Rcvr_Loc.plx", pairPoints());
    // One record: a callback before it and one at the end of the list.
    for (int n : {1, 2}) {
        writeBytes(folder.run + "Rfi.txt", "HEAD\r\n");
        gCalls = 0;
        gCancelAt = n;
        const ExportRun r = runTwoSignal(folder, cancelAtNth);
        EXPECT_EQ(r.status, 1);
        EXPECT_FALSE(fs::exists(folder.run + "Rfi.txt"));
        EXPECT_FALSE(fs::exists(folder.run + "B1_2Sig.dbg"));
        EXPECT_FALSE(fs::exists(tempFile(folder, "Imod2.tmp")));
        EXPECT_TRUE(fs::exists(folder.run + "Rcvr_Loc.plx"));
        // A plot is written whole once its combination is done, never in part.
        EXPECT_EQ(fs::exists(folder.run + "14_10___.plt"), n == 2);
    }
}

TEST_F(B1Case, DebuggingStyleDoesNotChangeTheResults) {
    writeCase(pairStations(), {});
    writePoints(folder.run + "Rcvr_Loc.plx", pairPoints());
    ASSERT_EQ(runTwoSignal(folder).cases, 1);
    const std::string plot = readBytes(folder.run + "14_10___.plt");
    CaseOptionsLine o;
    o.style = 3;
    writeCase(pairStations(), o);
    writeBytes(folder.run + "Rfi.txt", "HEAD\r\n");
    const ExportRun r = runTwoSignal(folder);
    ASSERT_EQ(r.status, 0);
    EXPECT_EQ(r.cases, 1);
    if (std::getenv("CRV_SHOW_REPORT")) std::fputs(readBytes(folder.run + "Rfi.txt").c_str(), stdout);
    EXPECT_EQ(readBytes(folder.run + "14_10___.plt"), plot);
    // Six used points, one debug line each, then the empty line of the combination.
    EXPECT_EQ(splitLines(readBytes(folder.run + "B1_2Sig.dbg")).size(), 7u);
    const auto lines = report();
    EXPECT_NE(std::find(lines.begin(), lines.end(), " 2-signal intermodulation summary for above data:"), lines.end());
    // The points below the threshold are checked for the debug block only:
    // the notes are those of the short report.
    EXPECT_EQ(std::count(lines.begin(), lines.end(),
                         " Note:  Some 2-signal points masked by adjacent-channel / overload interference."),
              1);
    EXPECT_EQ(std::count_if(lines.begin(), lines.end(),
                            [](const std::string& l) { return l.find("below cutoff") != std::string::npos; }),
              0);
}

TEST_F(B1Case, FilesDoNotDependOnTheThreadCount) {
    // Several proponents, products within 200 kHz and fifth-order ones,
    // receivers spread over a square with varying navaid levels.
    std::vector<StationLine> stations{
        {"WAAA", 98.1, kLatA, kLonA, 100, 1000, 1},           {"WBBB", 103.1, kLatB, kLonA, 100, 1000, 0},
        {"WCCC", 103.2, kLatA - 0.05, kLonA + 0.05, 50, 900, 1}, {"WDDD", 93.1, kLatA + 0.02, kLonA - 0.03, 80, 1100, 0},
        {"WEEE", 105.0, kLatA + 0.05, kLonA, 100, 1000, 1},     {"WFFF", 95.0, kLatA - 0.07, kLonA + 0.02, 60, 1000, 0},
        {"WGGG", 100.0, kLatA, kLonA - 0.08, 30, 1000, 0},       {"WHHH", 101.0, kLatA + 0.04, kLonA + 0.04, 90, 1000, 0},
    };
    std::vector<crv::formats::ReceiverPoint> points;
    for (int i = 0; i < 40; ++i) {
        for (int j = 0; j < 40; ++j)
            points.push_back({static_cast<std::int16_t>((i * j) % 7 == 3 ? 2 : 0), 1.0f + 0.1f * static_cast<float>(i),
                              static_cast<float>(9 * j), static_cast<float>(800 + 10 * ((i + j) % 30)),
                              static_cast<float>(kLatA - 0.1 + 0.005 * i), static_cast<float>(kLonA - 0.1 + 0.005 * j),
                              static_cast<float>(-90 + (i + 2 * j) % 40)});
        if (i == 19) points.push_back(sectionEnd());
    }
    points.push_back(sectionEnd());

    for (int style : {2, 3}) {
        CaseOptionsLine o;
        o.intermod = 5;
        o.criteria = 3;
        o.cutoff = 3;
        o.rejection = 4;
        o.style = style;
        o.gridType = 6;
        writeCase(stations, o);
        writePoints(folder.run + "Rcvr_Loc.plx", points, 6);
        std::map<std::string, std::string> byThreads[2];
        for (int k = 0; k < 2; ++k) {
            ::setenv("CRV_THREADS", k == 0 ? "1" : "8", 1);
            for (const auto& e : fs::directory_iterator(folder.run))
                if (e.path().extension() == ".plt" && e.path().filename() != "Rfi.plt") fs::remove(e.path());
            writeBytes(folder.run + "Rfi.txt", "HEAD\r\n");
            const ExportRun two = runTwoSignal(folder), three = runThreeSignal(folder);
            ASSERT_EQ(two.status, 0);
            ASSERT_EQ(three.status, 0);
            EXPECT_GT(two.cases + three.cases, 0);
            for (const auto& e : fs::directory_iterator(folder.run))
                byThreads[k][e.path().filename().string()] = readBytes(e.path().string());
        }
        ::unsetenv("CRV_THREADS");
        EXPECT_EQ(byThreads[0].size(), byThreads[1].size());
        for (const auto& [name, bytes] : byThreads[0]) EXPECT_TRUE(byThreads[1][name] == bytes) << name;
    }
}

// The short report finds its points block by block (a block whose largest
// levels stay under its lowest threshold is skipped, the others are screened
// in one pass); the debugging report walks every point through the threshold
// routine one by one. Both must plot the same points with the same values for
// every criteria type. The grid has 1,640 points in two sections (so several
// blocks and a section end inside a block), points tied to one station, and
// navaid levels that change smoothly along the file (as a grid's do) from one
// side of the receiver curves' break points to the other.
TEST_F(B1Case, BlockScreenPlotsWhatThePointByPointWalkPlots) {
    std::vector<StationLine> stations{
        {"WAAA", 98.1, kLatA, kLonA, 100, 1000, 1},           {"WBBB", 103.1, kLatB, kLonA, 100, 1000, 0},
        {"WCCC", 103.2, kLatA - 0.05, kLonA + 0.05, 50, 900, 1}, {"WDDD", 93.1, kLatA + 0.02, kLonA - 0.03, 80, 1100, 0},
        {"WEEE", 105.0, kLatA + 0.05, kLonA, 100, 1000, 1},     {"WFFF", 95.0, kLatA - 0.07, kLonA + 0.02, 60, 1000, 0},
        {"WGGG", 100.0, kLatA, kLonA - 0.08, 30, 1000, 0},       {"WHHH", 101.0, kLatA + 0.04, kLonA + 0.04, 90, 1000, 0},
    };
    std::vector<crv::formats::ReceiverPoint> points;
    for (int i = 0; i < 40; ++i) {
        for (int j = 0; j < 41; ++j)
            points.push_back({static_cast<std::int16_t>((i * j) % 11 == 5 ? -3 : 0), 1.0f + 0.1f * static_cast<float>(i),
                              static_cast<float>(9 * j), static_cast<float>(700 + 17 * ((i + j) % 30)),
                              static_cast<float>(kLatA - 0.12 + 0.006 * i), static_cast<float>(kLonA - 0.12 + 0.006 * j),
                              static_cast<float>(-98 + 1.1 * i + 0.05 * j)});
        if (i == 19) points.push_back(sectionEnd());
    }
    points.push_back(sectionEnd());

    int plotted = 0;
    for (int criteria = 1; criteria <= 6; ++criteria) {
        // Per style: each plot's titles and points, as "title1|title2|level distance azimuth altitude extra ...".
        std::map<std::string, std::string> byStyle[2];
        ExportRun counts[2][2];
        for (int k = 0; k < 2; ++k) {
            CaseOptionsLine o;
            o.intermod = 5;
            o.criteria = criteria;
            o.cutoff = 3;
            o.rejection = 4;
            o.style = k == 0 ? 1 : 3;
            o.gridType = 6;
            writeCase(stations, o);
            writePoints(folder.run + "Rcvr_Loc.plx", points, 6);
            for (const auto& e : fs::directory_iterator(folder.run))
                if (e.path().extension() == ".plt" && e.path().filename() != "Rfi.plt") fs::remove(e.path());
            writeBytes(folder.run + "Rfi.txt", "HEAD\r\n");
            counts[k][0] = runTwoSignal(folder);
            counts[k][1] = runThreeSignal(folder);
            ASSERT_EQ(counts[k][0].status, 0) << criteria;
            ASSERT_EQ(counts[k][1].status, 0) << criteria;
            for (const auto& e : fs::directory_iterator(folder.run)) {
                if (e.path().extension() != ".plt" || e.path().filename() == "Rfi.plt") continue;
                std::string t1, t2;
                std::string text;
                for (const auto& p : plotPoints(e.path().string(), &t1, &t2)) {
                    char b[96];
                    std::snprintf(b, sizeof b, " %d %d %d %d %.9g", p.levelDb, p.distance100, p.azimuth100,
                                  p.altitudeFt, static_cast<double>(p.extra));
                    text += b;
                }
                byStyle[k][e.path().filename().string()] = t1 + "|" + t2 + "|" + text;
            }
        }
        for (int n = 0; n < 2; ++n) {
            EXPECT_EQ(counts[0][n].cases, counts[1][n].cases) << criteria;
            EXPECT_EQ(counts[0][n].combinations, counts[1][n].combinations) << criteria;
        }
        EXPECT_TRUE(byStyle[0] == byStyle[1]) << "criteria type " << criteria;
        plotted += static_cast<int>(byStyle[0].size());
    }
    EXPECT_GT(plotted, 5);
}

TEST_F(B1Case, MissingReceiverPointsFailNamingTheFile) {
    writeCase(pairStations(), {});
    const ExportRun r = runTwoSignal(folder);
    EXPECT_EQ(r.status, 2);
    ASSERT_EQ(messages.messages().size(), 1u);
    EXPECT_NE(messages.messages()[0].text.find("Rcvr_Loc.plx"), std::string::npos);
    EXPECT_FALSE(fs::exists(folder.run + "Rfi.txt"));
    EXPECT_FALSE(fs::exists(tempFile(folder, "Imod2.tmp")));
}

}  // namespace
}  // namespace crv::engine
