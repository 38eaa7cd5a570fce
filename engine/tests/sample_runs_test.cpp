// Whole simulation runs of the sample workspace's cases, as a user starts them:
// Grid, Evaluate, B1_2Sig, B1_3Sig (and GrndCOM for the COM facility) on a
// copy of the case in a run folder of its own. The sample cases are built so
// that every kind of interference turns up; these tests keep it so, keep the
// output independent of the thread count, and pin the reports and plots.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <random>
#include <set>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "crv/testing/golden.h"
#include "crv50.h"
#include "sample_fixture.h"
#include "test_support.h"

namespace fs = std::filesystem;
using crv::test::readBytes;
using crv::test::ScopedEnv;
using crv::test::writeBytes;

namespace {

struct RunCounts {
    int16_t gridStatus = -1, evaluateStatus = -1, b12Status = -1, b13Status = -1, comStatus = -1;
    int32_t points = 0, b12Combinations = 0, b13Combinations = 0;
    int16_t evaluateCases = 0, b12Cases = 0, b13Cases = 0, comCases = 0;
};

RunCounts runAll(const std::string& run, bool groundCom) {
    RunCounts c;
    Grid(run.c_str(), nullptr, &c.gridStatus, &c.points);
    Evaluate(run.c_str(), nullptr, &c.evaluateStatus, &c.evaluateCases);
    B1_2Sig(run.c_str(), nullptr, &c.b12Status, &c.b12Cases, &c.b12Combinations);
    B1_3Sig(run.c_str(), nullptr, &c.b13Status, &c.b13Cases, &c.b13Combinations);
    if (groundCom) GrndCOM(run.c_str(), nullptr, &c.comStatus, &c.comCases);
    return c;
}

std::set<std::string> filesIn(const std::string& folder) {
    std::set<std::string> names;
    for (const auto& e : fs::directory_iterator(folder))
        if (e.is_regular_file()) names.insert(e.path().filename().string());
    return names;
}

// Interference plot files of a run: every ".plt" but the case copy.
std::set<std::string> plotsIn(const std::string& folder) {
    std::set<std::string> plots;
    for (const auto& n : filesIn(folder))
        if (n.size() > 4 && n.compare(n.size() - 4, 4, ".plt") == 0 && n != "Rfi.plt") plots.insert(n);
    return plots;
}

std::size_t occurrences(const std::string& text, const std::string& what) {
    std::size_t n = 0;
    for (auto at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
    return n;
}

using SampleRuns = crv::test::SampleWorkspace;

struct SampleCase {
    const char* name;
    bool groundCom;
};
const SampleCase sampleCases[] = {{"ILS", false}, {"VOR", false}, {"COM", true}};

// The counts the sample cases were tuned for: what each case is meant to show.
TEST_F(SampleRuns, EveryKindOfInterferenceIsFound) {
    {
        SCOPED_TRACE("ILS: ICAO receiver, separate A2 and B2");
        const std::string run = runFolder("counts-ILS", sampleCase("ILS"));
        const RunCounts c = runAll(run, false);
        EXPECT_EQ(c.gridStatus, 0);
        EXPECT_GT(c.points, 500);
        EXPECT_EQ(c.evaluateStatus, 0);
        EXPECT_EQ(c.evaluateCases, 2);  // one A2 proponent, one B2 proponent
        EXPECT_EQ(c.b12Status, 0);
        EXPECT_EQ(c.b12Cases, 1);
        EXPECT_EQ(c.b12Combinations, 2);
        EXPECT_EQ(c.b13Status, 0);
        EXPECT_EQ(c.b13Cases, 2);
        EXPECT_EQ(c.b13Combinations, 2);
        // QNEW (ordinal 7) adjacent channel, QKAC (3) overload; QNEW doubled
        // against QKAG (6); QKAD + QKAG - QNEW and QKAD + QKAG - QKAC.
        EXPECT_EQ(plotsIn(run), (std::set<std::string>{"07____A2.plt", "03____B2.plt", "07_06___.plt", "04_06_07.plt",
                                                       "03_04_06.plt"}));
    }
    {
        SCOPED_TRACE("VOR: combined A2/B2, on-channel products");
        const std::string run = runFolder("counts-VOR", sampleCase("VOR"));
        const RunCounts c = runAll(run, false);
        EXPECT_EQ(c.gridStatus, 0);
        EXPECT_EQ(c.evaluateStatus, 0);
        EXPECT_EQ(c.evaluateCases, 2);
        EXPECT_EQ(c.b12Status, 0);
        EXPECT_EQ(c.b12Cases, 1);
        EXPECT_EQ(c.b12Combinations, 1);
        EXPECT_EQ(c.b13Status, 0);
        EXPECT_EQ(c.b13Cases, 1);
        EXPECT_EQ(c.b13Combinations, 1);
        EXPECT_EQ(plotsIn(run),
                  (std::set<std::string>{"01__A2B2.plt", "04__A2B2.plt", "01_02___.plt", "01_03_04.plt"}));
    }
    {
        SCOPED_TRACE("COM: airborne and ground receivers");
        const std::string run = runFolder("counts-COM", sampleCase("COM"));
        const RunCounts c = runAll(run, true);
        EXPECT_EQ(c.gridStatus, 0);
        EXPECT_EQ(c.evaluateStatus, 0);
        EXPECT_EQ(c.evaluateCases, 1);  // overload only: this criteria type has no A2 check
        EXPECT_EQ(c.b12Status, 0);
        EXPECT_EQ(c.b12Cases, 1);
        EXPECT_EQ(c.b13Status, 0);
        EXPECT_EQ(c.b13Cases, 1);
        EXPECT_EQ(c.comStatus, 0);
        // Out-of-band QDAA, in-band QDAA and QDNW, one 2-signal and one
        // 3-signal product at the site.
        EXPECT_EQ(c.comCases, 5);
        EXPECT_EQ(plotsIn(run), (std::set<std::string>{"01____B2.plt", "01_02___.plt", "01_03_04.plt"}));
        const std::string report = readBytes(run + "Rfi.txt");
        EXPECT_EQ(occurrences(report, "This exceeds the brute-force limit of -10 dBm by"), 1u);
        const std::string ground = report.substr(std::min(report.find("GROUND COMM FACILITY"), report.size()));
        EXPECT_EQ(occurrences(ground, "This exceeds the out-of-band limit of -4 dBm by"), 1u);
        EXPECT_EQ(occurrences(ground, "This exceeds the in-band limit of -104 dBm by"), 2u);
        EXPECT_EQ(occurrences(ground, "Two-signal intermod at 118.000 MHz"), 1u);
        EXPECT_EQ(occurrences(ground, "Three-signal intermod at 117.900 MHz (offset of 100 kHz)"), 1u);
        EXPECT_EQ(occurrences(ground, "This meets the criteria for interference."), 2u);
    }
}

// The case with its output style set to 3 (debugging) and the label line
// that goes with it, so the debug files are written too.
std::string withDebugging(std::string caseBytes) {
    const auto terminator = caseBytes.find("\r\n $$$$\r\n");
    const auto options = terminator + 9;
    // Options line " gg ii rr cc kk ss ...": the style sits in columns 17-18.
    caseBytes.replace(options + 16, 2, " 3");
    const std::string shortSummaries = " Print Short Summaries";
    const auto label = caseBytes.find(shortSummaries, options);
    if (label != std::string::npos)
        caseBytes.replace(label, shortSummaries.size(), " Debugging Mode:  Print Intermediate Results");
    return caseBytes;
}

TEST(SampleRunsHelpers, DebuggingCopyChangesOnlyTheStyle) {
    const std::string before =
        "CRV Version 5.0.6\r\n X\r\n $$$$\r\n  1  1  4  4  4  1  1000   0 2000 500  0  0\r\n"
        " case\r\n Print Short Summaries\r\n";
    EXPECT_EQ(withDebugging(before),
              "CRV Version 5.0.6\r\n X\r\n $$$$\r\n  1  1  4  4  4  3  1000   0 2000 500  0  0\r\n"
              " case\r\n Debugging Mode:  Print Intermediate Results\r\n");
}

// Every file of a run (report, plots, receiver points, pattern listings and,
// in debugging mode, the debug files) must be the same bytes on one thread
// as on eight.
TEST_F(SampleRuns, OutputDoesNotDependOnTheThreadCount) {
    struct Variant {
        std::string name;
        std::string caseBytes;
        bool groundCom;
    };
    std::vector<Variant> variants;
    for (const auto& s : sampleCases) variants.push_back({s.name, sampleCase(s.name), s.groundCom});
    variants.push_back({"ILS-debug", withDebugging(sampleCase("ILS")), false});
    variants.push_back({"COM-debug", withDebugging(sampleCase("COM")), true});

    for (const auto& v : variants) {
        SCOPED_TRACE(v.name);
        std::map<std::string, std::string> folders;
        for (const char* threads : {"1", "8"}) {
            ScopedEnv env("CRV_THREADS", threads);
            const std::string run = runFolder("threads-" + v.name + "-" + threads, v.caseBytes);
            const RunCounts c = runAll(run, v.groundCom);
            EXPECT_EQ(c.b13Status, 0);
            folders[threads] = run;
        }
        const auto names = filesIn(folders["1"]);
        EXPECT_EQ(names, filesIn(folders["8"]));
        if (v.name.find("debug") != std::string::npos) {
            EXPECT_TRUE(names.count("A2B2.dbg"));
            EXPECT_TRUE(names.count("B1_2Sig.dbg"));
            EXPECT_TRUE(names.count("B1_3Sig.dbg"));
        }
        for (const auto& n : names) {
            const std::string one = readBytes(folders["1"] + n);
            EXPECT_FALSE(one.empty()) << n;
            EXPECT_TRUE(one == readBytes(folders["8"] + n)) << n << " differs between 1 and 8 threads";
        }
    }
}

// Regression goldens of the three sample runs: the report "Rfi.txt" and every
// interference plot file, byte for byte. They were produced by the engine and
// reviewed by hand (headings, columns, titles, plausible levels and counts).
// When a deliberate change to the engine or the sample cases alters them,
// regenerate with
//     CRV_UPDATE_GOLDENS=1 build/bin/engine_tests --gtest_filter='SampleRuns.Goldens*'
// which rewrites engine/tests/data/sample_runs/, then review the difference
// before committing it. A file that differs is left in the build tree's
// golden-candidates/sample_runs/.
TEST_F(SampleRuns, GoldensOfTheReportAndPlots) {
    const bool regenerate = crv::testing::updatingGoldens();
    for (const auto& s : sampleCases) {
        SCOPED_TRACE(s.name);
        const std::string run = runFolder(std::string("golden-") + s.name, sampleCase(s.name));
        runAll(run, s.groundCom);
        std::set<std::string> outputs = plotsIn(run);
        outputs.insert("Rfi.txt");
        const std::string golden = std::string(CRV_TEST_DATA) + "sample_runs/" + s.name + "/";
        if (regenerate) {
            fs::remove_all(golden);
            fs::create_directories(golden);
            for (const auto& n : outputs) fs::copy_file(run + n, golden + n);
            continue;
        }
        ASSERT_TRUE(fs::is_directory(golden)) << golden;
        EXPECT_EQ(outputs, filesIn(golden));
        for (const auto& n : outputs)
            EXPECT_TRUE(crv::testing::matchesGolden(golden + n, std::string("sample_runs/") + s.name + "/" + n,
                                                    readBytes(run + n)));
    }
    if (regenerate) GTEST_SKIP() << "goldens rewritten; review the difference before committing";
}

}  // namespace

namespace {
// Replaces the intermodulation type (columns 4-6 of the options line) of a
// case file's bytes.
std::string withIntermodType(std::string caseBytes, int type) {
    const auto end = caseBytes.find(" $$$$\r\n");
    const auto options = end + 7;
    caseBytes.replace(options + 3, 3, "  " + std::to_string(type));
    return caseBytes;
}
}  // namespace

// Two runs of one user at once, here two drivers, must never see each other's
// fixed temporary files ("Imod2.tmp", "Imod3.tmp", "RfiSrch1.tmp",
// "RfiSrch2.tmp"): each result must equal the one its run gives alone.
TEST_F(SampleRuns, TwoRunsAtOnceGiveWhatEachGivesAlone) {
    const std::string driver = std::string(CRV_BIN_DIR) + "crv50 --quiet ";
    const std::string com = sampleCase("COM");
    // Two COM cases whose intermodulation lists differ (third order only;
    // third and fifth order on channel).
    const std::string runA = runFolder("parallel-a", withIntermodType(com, 1));
    const std::string runB = runFolder("parallel-b", withIntermodType(com, 6));
    const std::string searchA = runFolder("search-a", "");
    const std::string searchB = runFolder("search-b", "");
    const auto commandA = [&](int i) {
        // The ground COM check appends to the report: each round starts without one.
        return "(rm -f " + runA + "Rfi.txt && " + driver + "grndcom " + runA + " > " + runA + "out" +
               std::to_string(i) + " 2>&1; cd " + searchA + " && rm -f RfiSrch1.tmp RfiSrch2.tmp && " + driver +
               "search navaid 1 39.3375 77.7611 0 0 0 0 60 0 > out" + std::to_string(i) +
               " 2>&1 && cat RfiSrch1.tmp RfiSrch2.tmp > result" + std::to_string(i) + ")";
    };
    const auto commandB = [&](int i) {
        return "(rm -f " + runB + "Rfi.txt && " + driver + "grndcom " + runB + " > " + runB + "out" +
               std::to_string(i) + " 2>&1; cd " + searchB + " && rm -f RfiSrch1.tmp RfiSrch2.tmp && " + driver +
               "search fm 3 39.3375 77.7611 0 0 0 0 25 0 > out" + std::to_string(i) +
               " 2>&1 && cat RfiSrch1.tmp RfiSrch2.tmp > result" + std::to_string(i) + ")";
    };
    auto files = [&](int i) {
        return std::vector<std::string>{
            readBytes(runA + "out" + std::to_string(i)),       readBytes(runA + "Rfi.txt"),
            readBytes(runB + "out" + std::to_string(i)),       readBytes(runB + "Rfi.txt"),
            readBytes(searchA + "result" + std::to_string(i)), readBytes(searchB + "result" + std::to_string(i))};
    };

    // Alone, one after the other.
    ASSERT_EQ(std::system((commandA(0) + "; " + commandB(0)).c_str()), 0);
    const auto alone = files(0);
    ASSERT_EQ(alone[0], "status=0\ncases=5\n");
    EXPECT_NE(alone[1], alone[3]);  // the two cases do differ
    EXPECT_FALSE(alone[4].empty());
    EXPECT_FALSE(alone[5].empty());

    // At once, a few times over: the runs overlap on most rounds.
    for (int i = 1; i <= 8; ++i) {
        SCOPED_TRACE("round " + std::to_string(i));
        ASSERT_EQ(std::system((commandA(i) + " & " + commandB(i) + " & wait").c_str()), 0);
        EXPECT_EQ(files(i), alone);
    }
    // Each run's own folder went with it.
    const std::string userTemp = *root_ + "tmp/corvane-" + std::to_string(::getuid());
    EXPECT_TRUE(fs::is_empty(userTemp)) << userTemp;
}

namespace {
// The inode of a folder, as /proc/locks names what is locked.
std::string inodeOf(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 ? std::to_string(st.st_ino) : "?";
}

// Whether process `pid` holds a lock on the file with this inode.
bool holdsLock(pid_t pid, const std::string& inode) {
    std::ifstream locks("/proc/locks");
    std::string line;
    while (std::getline(locks, line)) {
        std::istringstream fields(line);
        std::string number, kind, advisory, mode, holder, device;
        fields >> number >> kind >> advisory >> mode >> holder >> device;
        if (kind == "FLOCK" && holder == std::to_string(pid) && device.ends_with(":" + inode)) return true;
    }
    return false;
}

std::map<std::string, std::string> contentsOf(const std::string& folder) {
    std::map<std::string, std::string> files;
    for (const auto& e : fs::directory_iterator(folder))
        files[e.path().filename().string()] = readBytes(e.path().string());
    return files;
}
}  // namespace

// Two runs in one run folder at once: the second is refused with a message
// naming the folder and runs nothing, and the first's results are exactly its
// serial run's. The first run is held still, lock taken, by a full pipe on
// its standard output (it blocks writing its grid line), so the second
// certainly meets it running.
TEST_F(SampleRuns, ASecondRunInAFolderInUseIsRefused) {
    const std::string driver = std::string(CRV_BIN_DIR) + "crv50";
    const std::string ils = sampleCase("ILS");
    const std::string serial = runFolder("serial", ils);
    ASSERT_EQ(std::system((driver + " --quiet run " + serial + " > " + *root_ + "serial.out").c_str()), 0);

    const std::string shared = runFolder("shared", ils);
    int out[2];
    ASSERT_EQ(::pipe(out), 0);
    ::fcntl(out[1], F_SETFL, ::fcntl(out[1], F_GETFL) | O_NONBLOCK);
    std::size_t filler = 0;
    const std::string block(4096, '#');
    for (ssize_t n; (n = ::write(out[1], block.data(), block.size())) > 0;) filler += static_cast<std::size_t>(n);
    for (ssize_t n; (n = ::write(out[1], block.data(), 1)) > 0;) filler += static_cast<std::size_t>(n);
    ::fcntl(out[1], F_SETFL, ::fcntl(out[1], F_GETFL) & ~O_NONBLOCK);
    const pid_t first = ::fork();
    if (first == 0) {
        ::dup2(out[1], 1);
        ::close(out[0]);
        ::close(out[1]);
        ::execl(driver.c_str(), driver.c_str(), "--quiet", "run", shared.c_str(), static_cast<char*>(nullptr));
        ::_exit(127);
    }
    ::close(out[1]);
    const std::string inode = inodeOf(shared);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    while (!holdsLock(first, inode) && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    ASSERT_TRUE(holdsLock(first, inode)) << "the first run never took its folder";

    const std::string second = *root_ + "second.out";
    const int secondExit = std::system((driver + " --quiet run " + shared + " > " + second + " 2>&1").c_str());
    EXPECT_TRUE(WIFEXITED(secondExit) && WEXITSTATUS(secondExit) == 2) << secondExit;
    EXPECT_EQ(readBytes(second), "crv50: the run folder " + shared + " is in use by another run; wait for it to end\n");

    std::string firstOut;
    char buf[4096];
    for (ssize_t n; (n = ::read(out[0], buf, sizeof buf)) > 0;) firstOut.append(buf, static_cast<std::size_t>(n));
    ::close(out[0]);
    int status = 0;
    ::waitpid(first, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    ASSERT_GE(firstOut.size(), filler);
    EXPECT_EQ(firstOut.substr(filler), readBytes(*root_ + "serial.out"));
    EXPECT_EQ(contentsOf(shared), contentsOf(serial));
}

// A run killed at any point (kill -9: nothing of it runs any more) leaves
// only files that are whole: each result equals that of an unbroken run, the
// report equals the report after one of the exports, and what was being
// written is under a temporary name no viewer lists. The next run in the
// folder clears those away and gives the unbroken run's results.
TEST_F(SampleRuns, AKilledRunLeavesNoFileThatLooksComplete) {
    const std::string driver = std::string(CRV_BIN_DIR) + "crv50";
    const std::string ils = sampleCase("ILS");
    // The report after each export, and the files of the whole run.
    const std::string stepwise = runFolder("stepwise", ils);
    std::set<std::string> reports;
    for (const char* step : {"grid", "evaluate", "b1-2sig", "b1-3sig"}) {
        ASSERT_EQ(std::system((driver + " --quiet " + step + " " + stepwise + " >/dev/null").c_str()), 0) << step;
        if (fs::exists(stepwise + "Rfi.txt")) reports.insert(readBytes(stepwise + "Rfi.txt"));
    }
    ASSERT_EQ(reports.size(), 3u);
    const auto whole = contentsOf(stepwise);

    const auto started = std::chrono::steady_clock::now();
    ASSERT_EQ(std::system((driver + " --quiet run " + runFolder("timed", ils) + " >/dev/null").c_str()), 0);
    const auto runTime =
        std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() - started);

    std::mt19937 random(20240611);
    std::uniform_int_distribution<long long> when(0, runTime.count() * 5 / 4);
    int temporariesSeen = 0;
    for (int round = 0; round < 20; ++round) {
        const long long delay = when(random);
        SCOPED_TRACE("killed after " + std::to_string(delay) + " us");
        const std::string folder = runFolder("killed", ils);
        const pid_t run = ::fork();
        if (run == 0) {
            const int null = ::open("/dev/null", O_WRONLY);
            ::dup2(null, 1);
            ::dup2(null, 2);
            ::execl(driver.c_str(), driver.c_str(), "--quiet", "run", folder.c_str(), static_cast<char*>(nullptr));
            ::_exit(127);
        }
        std::this_thread::sleep_for(std::chrono::microseconds(delay));
        ::kill(run, SIGKILL);
        ::waitpid(run, nullptr, 0);

        for (const auto& [name, bytes] : contentsOf(folder)) {
            SCOPED_TRACE(name);
            if (name.find(".tmp") != std::string::npos) {
                ++temporariesSeen;  // a staged file: no viewer lists it, no reader opens it
                continue;
            }
            ASSERT_TRUE(whole.count(name)) << "not a file of the run";
            if (name == "Rfi.txt")
                EXPECT_TRUE(reports.count(bytes)) << "a report no export finished";
            else
                EXPECT_EQ(bytes, whole.at(name));
        }
        // The next run starts from whatever is there.
        ASSERT_EQ(std::system((driver + " --quiet run " + folder + " >/dev/null").c_str()), 0);
        EXPECT_EQ(contentsOf(folder), whole);
    }
    // Most rounds die mid-write somewhere; at least some left a temporary.
    EXPECT_GT(temporariesSeen, 0);
}

namespace {
std::set<std::string> patternPlotsIn(const std::string& folder) {
    std::set<std::string> names;
    for (const auto& n : filesIn(folder))
        if (n.ends_with(".ptx")) names.insert(n);
    return names;
}
}  // namespace

// The pattern plots belong to the report's heading: an Evaluate that is
// cancelled, or fails after the heading was written, leaves none of them,
// as it leaves no report.
TEST_F(SampleRuns, AFailedOrCancelledEvaluateLeavesNoPatternPlot) {
    const std::string run = runFolder("patterns", sampleCase("ILS"));
    std::int16_t status = -1, cases = -1;
    std::int32_t points = 0;
    Grid(run.c_str(), nullptr, &status, &points);
    ASSERT_EQ(status, 0);
    Evaluate(run.c_str(), nullptr, &status, &cases);
    ASSERT_EQ(status, 0);
    ASSERT_EQ(patternPlotsIn(run).size(), 8u);  // what a whole call leaves
    const std::string pointFile = readBytes(run + "Rcvr_Loc.plx");

    // Cancelled at its first progress call, after the heading.
    Evaluate(
        run.c_str(), [](std::int32_t, std::int16_t* cancel) { *cancel = 1; }, &status, &cases);
    EXPECT_EQ(status, 1);
    EXPECT_TRUE(patternPlotsIn(run).empty());
    EXPECT_FALSE(fs::exists(run + "Rfi.txt"));

    // Failed: the receiver-point file ends in the middle of a record.
    writeBytes(run + "Rcvr_Loc.plx", pointFile.substr(0, pointFile.size() - 5));
    crv::test::MessageCapture capture;
    Evaluate(run.c_str(), nullptr, &status, &cases);
    EXPECT_EQ(status, 2);
    EXPECT_TRUE(patternPlotsIn(run).empty());
    EXPECT_FALSE(fs::exists(run + "Rfi.txt"));
}
