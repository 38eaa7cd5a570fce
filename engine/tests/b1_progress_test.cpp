// Progress of the intermodulation exports on a case large enough that working
// out the stations' levels takes most of the call (the benchmark's stress
// case: 300 stations, 35,656 receiver points). The bar moves through that work
// instead of standing at 0% until the list walk, and a cancel is seen there.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "case_folder.h"
#include "crv50.h"
#include "stress_case.h"

namespace crv::engine {
namespace {

std::vector<int> percents;
int cancelAtPercent = 101;  // no cancel
void recordProgress(std::int32_t percent, std::int16_t* cancel) {
    percents.push_back(percent);
    *cancel = percent >= cancelAtPercent ? 1 : 0;
}

struct ExportResult {
    std::int16_t status = -1, cases = -1;
    std::int32_t combinations = -1;
};

using Export = void (*)(const char*, CrvProgressCallback, std::int16_t*, std::int16_t*, std::int32_t*);

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
    // On one thread every level row is reported from the calling thread, so
    // how often the bar moves does not depend on how busy the machine is
    // (the parallel calls' own tests cover polling from several threads).
    const char* before = std::getenv("CRV_THREADS");
    const std::string saved = before ? before : "";
    ::setenv("CRV_THREADS", "1", 1);
    const ExportResult r = runExport(101);
    if (before)
        ::setenv("CRV_THREADS", saved.c_str(), 1);
    else
        ::unsetenv("CRV_THREADS");
    ASSERT_EQ(r.status, 0);
    ASSERT_FALSE(percents.empty());
    EXPECT_TRUE(std::is_sorted(percents.begin(), percents.end()));
    EXPECT_LE(percents.front(), 5);
    EXPECT_EQ(percents.back(), 100);
    // The levels' part of the bar (how often it moves there depends on how
    // the work fell to the threads) and the list walk's.
    std::vector<int> levels, walk;
    for (const int p : percents) {
        std::vector<int>& part = p < 90 ? levels : walk;
        if (p > 0 && p < 100 && (part.empty() || part.back() != p)) part.push_back(p);
    }
    EXPECT_GE(levels.size(), 3u);
    EXPECT_GE(walk.size(), 5u);
}

// The bar up to 90% belongs to the levels: a cancel at half way ends the call
// before any combination was examined, with status 1 and no report.
TEST_P(B1Progress, ACancelDuringTheLevelsEndsTheCall) {
    const ExportResult r = runExport(45);
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.combinations, 0);
    EXPECT_GE(percents.back(), 45);
    EXPECT_LE(percents.back(), 90);
    EXPECT_FALSE(std::filesystem::exists(folder->run + "Rfi.txt"));
}

INSTANTIATE_TEST_SUITE_P(TwoAndThreeSignals, B1Progress, ::testing::Values(&B1_2Sig, &B1_3Sig));

}  // namespace
}  // namespace crv::engine
