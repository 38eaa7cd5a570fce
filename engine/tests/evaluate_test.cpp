// Evaluate on a case whose levels are worked out by hand.
//
// WAAA-FM: base term K = 10 log10(50) - 16.35 - 5 = -4.3603 dB (criteria type
// 4). With the navaid level -86 dBm at every point the thresholds are
// A2 = Ld + 50 = -36 dBm (200 kHz from the navaid) and
// B2 = min(0 - 3 + 20 log10(0.4/0.4) - 10, 15) = -13 dBm. At the antenna's
// height the level at d nmi is K - 20 log10(d):
//   d = 1: -4.36 dBm, A2 by 31.64 (32), B2 by 8.64 (9)
//   d = 2: -10.38 dBm, A2 by 25.62 (26), B2 by 2.62 (3)
//   d = 5: -18.34 dBm, A2 by 17.66 (18), no B2
// A point 25 nmi away at the field elevation lies beyond the radio horizon
// (1.23 sqrt(800 - 500) = 21.3 nmi) although its level (-32.32 dBm) is above
// the A2 threshold.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>

#include "evaluate_fixture.h"
#include "test_support.h"

namespace {

using namespace crv::engine::test;
using crv::formats::InterferencePoint;
using crv::formats::ReceiverPoint;

const std::string kSeparator = " " + std::string(80, '_');

std::vector<ReceiverPoint> basicPoints() {
    return {
        pointNorthOfWaaa(0, 1.0, 800),     // A2 and B2
        pointNorthOfWaaa(-1, 2.0, 800),    // upper point of WAAA-FM's column: A2 and B2
        pointNorthOfWaaa(2, 1.0, 800),     // tied to WCCC (slot 2): not WAAA-FM's
        pointNorthOfWaaa(-2, 1.0, 800),    // WCCC's column: WCCC's, not WAAA-FM's
        pointNorthOfWaaa(0, 5.0, 800),     // A2 only
        pointNorthOfWaaa(0, 25.0, 500),    // beyond line of sight
        sectionEnd(),
    };
}

bool same(const InterferencePoint& a, const InterferencePoint& b) {
    return a.levelDb == b.levelDb && a.distance100 == b.distance100 && a.azimuth100 == b.azimuth100 &&
           a.altitudeFt == b.altitudeFt;
}

InterferencePoint rec(int level, int altitude = 800) {
    // distance 3.25 nmi, azimuth 359.5 degrees stored as -0.5 x 100
    return {static_cast<std::int16_t>(level), 325, -50, static_cast<std::int16_t>(altitude), 0};
}
InterferencePoint end() { return {9999, 0, 0, 0, 0}; }

void expectPoints(const std::vector<InterferencePoint>& actual, const std::vector<InterferencePoint>& expected) {
    ASSERT_EQ(actual.size(), expected.size());
    for (std::size_t i = 0; i < actual.size(); ++i)
        EXPECT_TRUE(same(actual[i], expected[i]))
            << "record " << i << ": " << actual[i].levelDb << " " << actual[i].distance100 << " "
            << actual[i].azimuth100 << " " << actual[i].altitudeFt;
}

class EvaluateCase : public ::testing::Test {
protected:
    // Runs the case with the options and returns the report's lines after the
    // heading (found by running the same case with intermod type 3, which
    // writes the heading only).
    std::vector<std::string> run(const Options& o, const std::vector<ReceiverPoint>& points,
                                 EvaluateResult* result = nullptr) {
        Options headingOnly = o;
        headingOnly.intermod = 3;
        folder.writeCase(evaluationCase(headingOnly));
        EXPECT_EQ(runEvaluate(folder.run).status, 0);
        const auto heading = splitLines(readBytes(folder.run + "Rfi.txt"));

        folder.writeCase(evaluationCase(o));
        writePointFile(folder.run + "Rcvr_Loc.plx", points);
        const EvaluateResult r = runEvaluate(folder.run);
        if (result) *result = r;
        const auto lines = splitLines(readBytes(folder.run + "Rfi.txt"));
        EXPECT_GE(lines.size(), heading.size());
        EXPECT_TRUE(std::equal(heading.begin(), heading.end(), lines.begin()));
        return linesAfter(lines, heading.size());
    }
    bool exists(const std::string& name) const { return std::filesystem::exists(folder.run + name); }

    CaseFolder folder{"SCI"};
};

TEST_F(EvaluateCase, SeparateA2AndB2PlotsAndShortSummary) {
    EvaluateResult r;
    const auto report = run(Options{}, basicPoints(), &r);
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.cases, 2);
    expectPoints(plotPoints(folder.run + "01____A2.plt"), {rec(32), rec(26), rec(18), end()});
    expectPoints(plotPoints(folder.run + "01____B2.plt"), {rec(9), rec(3), end()});
    EXPECT_FALSE(exists("03____A2.plt"));
    EXPECT_FALSE(exists("03____B2.plt"));
    EXPECT_FALSE(exists("A2B2.dbg"));
    const std::vector<std::string> expected = {
        "",
        " Evaluation of adjacent channel (A2) and overload (B2) interference",
        kSeparator,
        "",
        "  Freq     ID    Call    Type    Offset    #Pts",
        "   MHz                             MHz",
        kSeparator,
        "",
        " 107.900     1  WAAA-FM   A2      0.200       3",
        " 107.900     1  WAAA-FM   B2      0.200       2",
    };
    EXPECT_EQ(report, expected);
}

TEST_F(EvaluateCase, PlotHeaderCarriesNameTitlesAndCaseValues) {
    run(Options{}, basicPoints());
    crv::formats::RecordReader reader;
    ASSERT_TRUE(reader.open(folder.run + "01____B2.plt"));
    std::string error;
    const auto h = crv::formats::readPlotHeader(reader, error);
    ASSERT_TRUE(h) << error;
    EXPECT_EQ(h->fileName, "01____B2.plt");
    EXPECT_EQ(h->title1, "Receiver Overload (B2) plot:  WAAA-FM (  1)");
    EXPECT_EQ(h->title2, "Frequency:  WAAA-FM = 107.900 MHz");
    EXPECT_FLOAT_EQ(h->frequencyMHz, 108.1f);
    EXPECT_FLOAT_EQ(h->runwayLengthFt, 8000.0f);  // as read from the case, not the grid's distance
    // The real field of a point record holds the FM level: -4.36 dBm at 1 nmi.
    const auto points = plotPoints(folder.run + "01____B2.plt");
    ASSERT_FALSE(points.empty());
    EXPECT_NEAR(points[0].extra, -4.3603, 0.01);
    crv::formats::RecordReader a2;
    ASSERT_TRUE(a2.open(folder.run + "01____A2.plt"));
    EXPECT_EQ(crv::formats::readPlotHeader(a2, error)->title1, "Adjacent Channel (A2) plot:  WAAA-FM (  1)");
}

TEST_F(EvaluateCase, ExtendedSummaryListsEveryProponent) {
    Options o;
    o.style = 2;
    const auto report = run(o, basicPoints());
    // Proponents in list order: the last slot first.
    const std::vector<std::string> rows(report.begin() + 8, report.end());
    const std::vector<std::string> expected = {
        "  98.500     3  WCCC      A2      9.600       0",
        "  98.500     3  WCCC      B2      9.600       0",
        " 107.900     1  WAAA-FM   A2      0.200       3",
        " 107.900     1  WAAA-FM   B2      0.200       2",
    };
    EXPECT_EQ(rows, expected);
}

TEST_F(EvaluateCase, CombinedThresholdGivesOneA2B2PlotPerProponent) {
    // Criteria type 1: K = 10 log10(50) + 24.36 - 20 log10(107.9) - 5 = -4.3107;
    // combined threshold 200 kHz away at Ld = -86: -24.9108 dBm. Excess at
    // 1, 2, 5 nmi: 20.60, 14.58, 6.62.
    Options o;
    o.criteria = 1;
    o.cutoff = 1;
    EvaluateResult r;
    const auto report = run(o, basicPoints(), &r);
    EXPECT_EQ(r.cases, 1);
    expectPoints(plotPoints(folder.run + "01__A2B2.plt"), {rec(21), rec(15), rec(7), end()});
    EXPECT_FALSE(exists("01____B2.plt"));
    EXPECT_FALSE(exists("01____A2.plt"));
    ASSERT_FALSE(report.empty());
    EXPECT_EQ(report.back(), " 107.900     1  WAAA-FM  A2/B2    0.200       3");
}

TEST_F(EvaluateCase, NothingFoundSaysSo) {
    // Only WCCC's tied point and a point far beyond line of sight.
    Options o;
    o.style = 2;
    const auto report =
        run(o, {pointNorthOfWaaa(2, 1.0, 800), pointNorthOfWaaa(0, 25.0, 500), sectionEnd()});
    EXPECT_FALSE(exists("01____A2.plt"));
    const std::vector<std::string> tail(report.end() - 3, report.end());
    EXPECT_EQ(tail, (std::vector<std::string>{"", " No A2/B2 interference found.", ""}));
}

TEST_F(EvaluateCase, BruteForceInTheFieldEdition) {
    // Criteria type 2 in the field edition: rejection type 2 gives 10 dB at
    // 107.9 MHz; K = 10 log10(50) + 24.36 - 20 log10(107.9) - 10 = -9.3107.
    // B2 threshold -10 dBm: only the point at 1 nmi exceeds, by 0.689 dB.
    folder.setEdition("FLD");
    Options o;
    o.criteria = 2;
    EvaluateResult r;
    const auto report = run(o, basicPoints(), &r);
    EXPECT_EQ(r.cases, 1);
    EXPECT_FALSE(exists("01____B2.plt"));  // the field edition plots no B2 for this receiver
    EXPECT_FALSE(exists("01____A2.plt"));
    const std::vector<std::string> expected = {
        "  Freq     ID    Call    Type    Offset    #Pts",
        "   MHz                             MHz",
        kSeparator,
        "",
        " 107.900     1  WAAA-FM   B2      0.200       1",
        "",
        " Results of check for brute-force interference",
        kSeparator,
        "",
        " The maximum brute-force level for station    1 (WAAA-FM, 107.900) is  -9.3 dBm.",
        " This exceeds the brute-force limit of -10 dBm by  0.7 dB.",
        "",
    };
    EXPECT_EQ(report, expected);
}

TEST_F(EvaluateCase, BruteForceExtendedInTheScientificEdition) {
    // Rejection type 12 (5 dB): K = -4.3107, so 1 and 2 nmi exceed -10 dBm
    // (by 5.69 and -0.33: only 1 nmi); WCCC never does.
    Options o;
    o.criteria = 2;
    o.cutoff = 2;
    o.style = 2;
    const auto report = run(o, basicPoints());
    EXPECT_TRUE(exists("01____B2.plt"));
    const std::vector<std::string> tail(report.end() - 9, report.end());
    const std::vector<std::string> expected = {
        "",
        "",
        " Results of check for brute-force interference",
        kSeparator,
        "",
        " The maximum brute-force level for station    1 (WAAA-FM, 107.900) is  -4.3 dBm.",
        " This exceeds the brute-force limit of -10 dBm by  5.7 dB.",
        "",
        " The maximum brute-force level for station    3 (WCCC,  98.500) is -10.0 dBm.",
    };
    // The rows run in slot order; WCCC's pair ends the report.
    ASSERT_GE(report.size(), 11u);
    const std::vector<std::string> last(report.end() - 11, report.end() - 2);
    EXPECT_EQ(last, expected);
    EXPECT_EQ(report[report.size() - 2], " This does not exceed the brute-force limit of -10 dBm.");
    EXPECT_EQ(report.back(), "");
}

TEST_F(EvaluateCase, HorizontalAndVerticalSectionsStayAligned) {
    // Grid type 6: the horizontal section has an A2-only point, the vertical
    // one a point with both. The B2 plot, opened in the second section, starts
    // with the first section's end.
    Options o;
    o.grid = 6;
    const auto report = run(o, {pointNorthOfWaaa(0, 5.0, 800), sectionEnd(), pointNorthOfWaaa(0, 1.0, 800),
                                sectionEnd()});
    expectPoints(plotPoints(folder.run + "01____A2.plt"), {rec(18), end(), rec(32), end()});
    expectPoints(plotPoints(folder.run + "01____B2.plt"), {end(), rec(9), end()});
    const std::vector<std::string> rows(report.end() - 4, report.end());
    const std::vector<std::string> expected = {
        " 107.900     1  WAAA-FM   A2      0.200      1H",
        std::string(40, ' ') + "     1V",
        " 107.900     1  WAAA-FM   B2      0.200      0H",
        std::string(40, ' ') + "     1V",
    };
    EXPECT_EQ(rows, expected);
}

TEST_F(EvaluateCase, DebuggingOutputDoesNotChangeTheResults) {
    EvaluateResult shortRun, debugRun;
    run(Options{}, basicPoints(), &shortRun);
    const std::string a2 = readBytes(folder.run + "01____A2.plt");
    const std::string b2 = readBytes(folder.run + "01____B2.plt");
    Options o;
    o.style = 3;
    const auto report = run(o, basicPoints(), &debugRun);
    EXPECT_EQ(debugRun.cases, shortRun.cases);
    EXPECT_EQ(readBytes(folder.run + "01____A2.plt"), a2);
    EXPECT_EQ(readBytes(folder.run + "01____B2.plt"), b2);

    // WCCC's block holds the points with id 0, 2 and -2 (five); WAAA-FM's the
    // points with id 0 and -1 (four), the last beyond line of sight.
    const auto dbg = splitLines(readBytes(folder.run + "A2B2.dbg"));
    ASSERT_EQ(dbg.size(), 11u);
    EXPECT_EQ(dbg[5], "");
    EXPECT_EQ(dbg[10], "");
    // WAAA-FM at 1 nmi: distance, bearing (due north), altitude, navaid
    // level, FM level, A2 and B2 thresholds.
    EXPECT_NE(dbg[6].find("     0.8000E+03    -0.8600E+02    -0.4360E+01 "), std::string::npos) << dbg[6];
    EXPECT_NE(dbg[6].find("  -0.3600E+02    -0.1300E+02"), std::string::npos) << dbg[6];

    // The report shows the beyond-horizon point flagged and not counted.
    const std::vector<std::string> flags = [&] {
        std::vector<std::string> f;
        for (const auto& l : report)
            if (l.size() == 12 && l.substr(0, 7) == std::string(7, ' ')) f.push_back(l);
        return f;
    }();
    ASSERT_EQ(flags.size(), 9u);
    EXPECT_EQ(flags[5], "       F T T");
    EXPECT_EQ(flags[6], "       F T T");
    EXPECT_EQ(flags[7], "       F T F");
    EXPECT_EQ(flags[8], "       T F F");
    EXPECT_NE(std::find(report.begin(), report.end(), " 107.900     1  WAAA-FM   A2      0.200       3"),
              report.end());
    EXPECT_NE(std::find(report.begin(), report.end(), " A2/B2 summary for above data:"), report.end());
}

TEST_F(EvaluateCase, IntermodOptionsWithoutA2B2WriteTheHeadingOnly) {
    Options o;
    o.intermod = 4;
    folder.writeCase(evaluationCase(o));
    // No receiver-point file is needed either.
    const auto r = runEvaluate(folder.run);
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.cases, 0);
    EXPECT_TRUE(exists("Rfi.txt"));
    for (const auto& e : std::filesystem::directory_iterator(folder.run)) {
        const std::string name = e.path().filename().string();
        // The heading's pattern plot files (".ptx") belong to the report; no
        // interference plot may be written.
        const bool patternPlot = name.size() > 4 && name.substr(name.size() - 4) == ".ptx";
        EXPECT_TRUE(name == "Rfi.plt" || name == "Rfi.txt" || patternPlot) << name;
    }
}

TEST_F(EvaluateCase, MissingPointFileFailsNamingItAndLeavesNoReport) {
    crv::test::MessageCapture capture;
    folder.writeCase(evaluationCase(Options{}));
    const auto r = runEvaluate(folder.run);
    EXPECT_EQ(r.status, 2);
    ASSERT_EQ(capture.messages().size(), 1u);
    EXPECT_NE(capture.messages()[0].text.find(folder.run + "Rcvr_Loc.plx"), std::string::npos);
    EXPECT_FALSE(exists("Rfi.txt"));
}

// A debugging file that cannot be created fails the call like any other
// file: the report goes with it (a link stands where the debugging file
// belongs, and writers never follow one).
TEST_F(EvaluateCase, UnwritableDebuggingFileFailsAndLeavesNoReport) {
    crv::test::MessageCapture capture;
    Options o;
    o.style = 3;
    folder.writeCase(evaluationCase(o));
    writePointFile(folder.run + "Rcvr_Loc.plx", basicPoints());
    std::filesystem::create_symlink("/dev/full", folder.run + "A2B2.dbg");
    const auto r = runEvaluate(folder.run);
    EXPECT_EQ(r.status, 2);
    ASSERT_EQ(capture.messages().size(), 1u);
    EXPECT_NE(capture.messages()[0].text.find(folder.run + "A2B2.dbg"), std::string::npos);
    EXPECT_FALSE(exists("Rfi.txt"));
}

// A full disk under the report fails the call after every plot was written:
// none of them may stay to be shown as a result, and no count is reported.
// (Files here may grow only past the largest plot of the same call run
// without a limit, not to the size of its report.)
TEST_F(EvaluateCase, AFullDiskLeavesNoPlotOfTheFailedCall) {
    crv::test::MessageCapture capture;
    folder.writeCase(evaluationCase(Options{}));
    writePointFile(folder.run + "Rcvr_Loc.plx", basicPoints());
    ASSERT_EQ(runEvaluate(folder.run).status, 0);
    const auto plotSize = std::max(std::filesystem::file_size(folder.run + "01____A2.plt"),
                                   std::filesystem::file_size(folder.run + "01____B2.plt"));
    const auto reportSize = std::filesystem::file_size(folder.run + "Rfi.txt");
    ASSERT_LT(plotSize + 16, reportSize);
    std::filesystem::remove(folder.run + "Rfi.txt");
    EvaluateResult r;
    {
        crv::test::ScopedFileSizeLimit full((plotSize + reportSize) / 2);
        r = runEvaluate(folder.run);
    }
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.cases, 0);
    ASSERT_EQ(capture.messages().size(), 1u);
    EXPECT_NE(capture.messages()[0].text.find(folder.run + "Rfi.txt"), std::string::npos);
    EXPECT_FALSE(exists("Rfi.txt"));
    EXPECT_FALSE(exists("01____A2.plt"));
    EXPECT_FALSE(exists("01____B2.plt"));
    EXPECT_FALSE(exists("Rcvr_Loc.plx"));
}

TEST_F(EvaluateCase, BadCaseWritesNothing) {
    crv::test::MessageCapture capture;
    const auto r = runEvaluate(folder.run);  // no "Rfi.plt"
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(capture.messages().size(), 1u);
    EXPECT_FALSE(exists("Rfi.txt"));
}

// Progress: 7 records x 2 proponents + 2 stations div 10 = 14 units, step 1:
// one call before each read from the first mark on, the last before the read
// that meets the end of the file.
std::vector<int> percents;
int cancelAt = 0;
void recordProgress(std::int32_t percent, std::int16_t* cancel) {
    percents.push_back(percent);
    *cancel = (cancelAt > 0 && static_cast<int>(percents.size()) == cancelAt) ? 1 : 0;
}

TEST_F(EvaluateCase, ProgressCountsRecords) {
    percents.clear();
    cancelAt = 0;
    folder.writeCase(evaluationCase(Options{}));
    writePointFile(folder.run + "Rcvr_Loc.plx", basicPoints());
    EXPECT_EQ(runEvaluate(folder.run, recordProgress).status, 0);
    std::vector<int> expected;
    for (int k = 1; k <= 14; ++k) expected.push_back(static_cast<int>(std::lround(k * 100.0 / 14)));
    EXPECT_EQ(percents, expected);
}

TEST_F(EvaluateCase, CancelDeletesTheOpenPlotsReportPointAndDebugFiles) {
    // WCCC runs first (calls 1..7); WAAA-FM's first point opens both plots
    // before call 8.
    Options o;
    o.style = 3;
    folder.writeCase(evaluationCase(o));
    writePointFile(folder.run + "Rcvr_Loc.plx", basicPoints());
    percents.clear();
    cancelAt = 8;
    const auto r = runEvaluate(folder.run, recordProgress);
    cancelAt = 0;
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(percents.size(), 8u);
    for (const char* name : {"Rfi.txt", "Rcvr_Loc.plx", "A2B2.dbg", "01____A2.plt", "01____B2.plt"})
        EXPECT_FALSE(exists(name)) << name;
    EXPECT_TRUE(exists("Rfi.plt"));
}

}  // namespace

namespace {

// Every file the export writes is the same byte for byte whatever the
// thread count: a point file large enough to be split across threads, with
// both sections of grid type 6 and points of both stations.
TEST_F(EvaluateCase, FilesDoNotDependOnTheThreadCount) {
    std::vector<ReceiverPoint> points;
    for (int section = 0; section < 2; ++section) {
        for (int i = 0; i < 30000; ++i) {
            const double d = 0.2 + 0.0013 * i;
            const std::int16_t id = i % 7 == 0 ? static_cast<std::int16_t>(-1 - (i / 7) % 2) : 0;
            points.push_back(pointNorthOfWaaa(id, d, static_cast<float>(500 + (i % 40) * 25),
                                              static_cast<float>(d + 1.0), static_cast<float>((i * 7) % 360)));
        }
        points.push_back(sectionEnd());
    }
    Options o;
    o.grid = 6;
    o.style = 3;
    folder.writeCase(evaluationCase(o));
    auto runWith = [&](const char* threads) {
        ::setenv("CRV_THREADS", threads, 1);
        writePointFile(folder.run + "Rcvr_Loc.plx", points);
        const auto r = runEvaluate(folder.run);
        ::unsetenv("CRV_THREADS");
        EXPECT_EQ(r.status, 0);
        std::vector<std::pair<std::string, std::string>> files;
        for (const char* name : {"Rfi.txt", "A2B2.dbg", "01____A2.plt", "01____B2.plt", "03____A2.plt"})
            files.emplace_back(name, readBytes(folder.run + name));
        return std::make_pair(r.cases, files);
    };
    const auto one = runWith("1");
    const auto eight = runWith("8");
    EXPECT_EQ(one.first, eight.first);
    EXPECT_GT(one.second[2].second.size(), 100000u);  // the A2 plot holds many points
    for (std::size_t i = 0; i < one.second.size(); ++i)
        EXPECT_TRUE(one.second[i].second == eight.second[i].second) << one.second[i].first;
}

}  // namespace
