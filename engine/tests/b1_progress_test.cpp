// Progress of the intermodulation exports on a large case (the benchmark's
// stress case: 300 stations, 35,656 receiver points). The first tenth of the
// bar belongs to the bounds of the stations' levels, the rest to the list
// walk, which works the levels out as it needs them; a cancel is seen in
// both, and leaves no report and no plot file the walk had not reached.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "case_folder.h"
#include "crv50.h"
#include "result_names.h"
#include "stress_case.h"

namespace crv::engine {
namespace {

std::vector<int> percents;
int cancelAtPercent = 101;  // no cancel
// Files that must exist before the cancel is given (the threads working
// ahead of the walk write them while the walk waits here).
std::vector<std::string> filesBeforeTheCancel;
void recordProgress(std::int32_t percent, std::int16_t* cancel) {
    percents.push_back(percent);
    *cancel = percent >= cancelAtPercent ? 1 : 0;
    if (*cancel) {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
        const auto written = [] {
            return std::all_of(filesBeforeTheCancel.begin(), filesBeforeTheCancel.end(),
                                [](const std::string& path) { return std::filesystem::exists(path); });
        };
        while (!written() && std::chrono::steady_clock::now() < deadline)
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        filesBeforeTheCancel.clear();
    }
}

struct ExportResult {
    std::int16_t status = -1, cases = -1;
    std::int32_t combinations = -1;
};

using Export = void (*)(const char*, CrvProgressCallback, std::int16_t*, std::int16_t*, std::int32_t*);

// Sets CRV_THREADS for the life of the object.
class Threads {
public:
    explicit Threads(const char* count) {
        const char* before = std::getenv("CRV_THREADS");
        had_ = before != nullptr;
        if (had_) saved_ = before;
        ::setenv("CRV_THREADS", count, 1);
    }
    ~Threads() {
        if (had_) ::setenv("CRV_THREADS", saved_.c_str(), 1);
        else ::unsetenv("CRV_THREADS");
    }

private:
    bool had_ = false;
    std::string saved_;
};

// The plot files of the report's summary rows, in list order: each row names
// its stations' ordinals (columns 8-11 of each 20-column station field).
std::vector<std::string> plotFilesOfReport(const std::string& report, bool threeSignals) {
    std::vector<std::string> names;
    std::size_t at = 0;
    while (at < report.size()) {
        std::size_t end = report.find("\r\n", at);
        if (end == std::string::npos) end = report.size();
        const std::string line = report.substr(at, end - at);
        at = end + 2;
        const int stations = threeSignals ? 3 : 2;
        if (line.size() < static_cast<std::size_t>(1 + 20 * stations + 7)) continue;
        int ordinal[3] = {0, 0, 0};
        bool row = true;
        for (int k = 0; k < stations && row; ++k) {
            const std::string frequency = line.substr(static_cast<std::size_t>(1 + 20 * k), 6);
            const std::string number = line.substr(static_cast<std::size_t>(1 + 20 * k + 7), 4);
            char* stop = nullptr;
            const double mhz = std::strtod(frequency.c_str(), &stop);
            row = *stop == '\0' && mhz >= 88.0 && mhz <= 108.0;
            ordinal[k] = std::atoi(number.c_str());
            row = row && ordinal[k] > 0;
        }
        if (!row) continue;
        names.push_back(threeSignals ? b1ThreeSignalPlotName(ordinal[0], ordinal[1], ordinal[2])
                                     : b1TwoSignalPlotName(ordinal[0], ordinal[1]));
    }
    return names;
}

class B1Progress : public ::testing::TestWithParam<Export> {
protected:
    static void SetUpTestSuite() {
        folder = new test::CaseFolder;
        ASSERT_TRUE(crv::bench::writeBenchCase(folder->run, crv::bench::kStressCase));
        std::int16_t status = -1;
        std::int32_t points = 0;
        Grid(folder->run.c_str(), nullptr, &status, &points);
        ASSERT_EQ(status, 0);
    }
    static void TearDownTestSuite() {
        delete folder;
        folder = nullptr;
    }
    ExportResult runExport(int cancelAt) {
        test::writeBytes(folder->run + "Rfi.txt", "HEAD\r\n");  // the earlier exports' report
        percents.clear();
        cancelAtPercent = cancelAt;
        ExportResult r;
        GetParam()(folder->run.c_str(), recordProgress, &r.status, &r.cases, &r.combinations);
        cancelAtPercent = 101;
        return r;
    }
    static test::CaseFolder* folder;
};
test::CaseFolder* B1Progress::folder = nullptr;

TEST_P(B1Progress, TheBarRisesStepByStepToTheEnd) {
    // On one thread every bounds row is reported from the calling thread, so
    // how often the bar moves does not depend on how busy the machine is
    // (the parallel calls' own tests cover polling from several threads).
    const Threads one("1");
    const ExportResult r = runExport(101);
    ASSERT_EQ(r.status, 0);
    ASSERT_FALSE(percents.empty());
    EXPECT_TRUE(std::is_sorted(percents.begin(), percents.end()));
    EXPECT_LE(percents.front(), 5);
    EXPECT_EQ(percents.back(), 100);
    // The bounds' part of the bar and the list walk's.
    std::vector<int> bounds, walk;
    for (const int p : percents) {
        std::vector<int>& part = p < 10 ? bounds : walk;
        if (p > 0 && p < 100 && (part.empty() || part.back() != p)) part.push_back(p);
    }
    EXPECT_GE(bounds.size(), 3u);
    EXPECT_GE(walk.size(), 5u);
}

// A cancel ends the call with status 1 and no report, whether it comes while
// the bounds are worked out (before any combination is examined) or during
// the list walk. The threads evaluate the combinations and write their plot
// files ahead of the walk; a cancel keeps exactly the plot files of the
// combinations the walk had reached: a leading part of the full run's, in list
// order. (The walk waits at the cancel until the threads have written every
// plot file ahead of it.)
TEST_P(B1Progress, ACancelEndsTheCallAndKeepsOnlyWhatTheWalkReached) {
    const bool threeSignals = GetParam() == &B1_3Sig;
    const Threads eight("8");
    ASSERT_EQ(runExport(101).status, 0);
    const std::vector<std::string> all = plotFilesOfReport(test::readBytes(folder->run + "Rfi.txt"), threeSignals);
    ASSERT_GE(all.size(), 3u);
    for (const std::string& name : all) ASSERT_TRUE(std::filesystem::exists(folder->run + name)) << name;

    std::size_t partlyKept = 0;  // cancels that kept some of the files but not all
    for (const int cancelAt : {5, 12, 20, 30, 60}) {
        SCOPED_TRACE(cancelAt);
        const bool beforeTheWalk = cancelAt < 10;
        for (const std::string& name : all) std::filesystem::remove(folder->run + name);
        if (!beforeTheWalk) {
            for (const std::string& name : all) filesBeforeTheCancel.push_back(folder->run + name);
        }
        const ExportResult r = runExport(cancelAt);
        EXPECT_EQ(r.status, 1);
        EXPECT_GE(percents.back(), cancelAt);
        EXPECT_FALSE(std::filesystem::exists(folder->run + "Rfi.txt"));
        std::size_t kept = 0;
        while (kept < all.size() && std::filesystem::exists(folder->run + all[kept])) ++kept;
        for (std::size_t k = kept; k < all.size(); ++k) {
            EXPECT_FALSE(std::filesystem::exists(folder->run + all[k])) << all[k] << " kept after " << kept;
        }
        if (beforeTheWalk) {
            EXPECT_EQ(r.combinations, 0);
            EXPECT_LE(percents.back(), 10);
            EXPECT_EQ(kept, 0u);
        }
        if (kept > 0 && kept < all.size()) ++partlyKept;
    }
    // The three-signal list has cases early and late in it.
    if (threeSignals) {
        EXPECT_GE(partlyKept, 1u);
    }
}

INSTANTIATE_TEST_SUITE_P(TwoAndThreeSignals, B1Progress, ::testing::Values(&B1_2Sig, &B1_3Sig));

}  // namespace
}  // namespace crv::engine
