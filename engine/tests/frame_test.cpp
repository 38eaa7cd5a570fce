#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <memory>
#include <vector>

#include "crv50.h"
#include "export_call.h"
#include "failure.h"
#include "file_units.h"
#include "paths.h"
#include "progress.h"
#include "test_support.h"

using namespace crv::engine;

namespace {
// Points the settings store at a file of the test's own.
class SettingsFile {
public:
    explicit SettingsFile(const std::string& name, const std::string& content = "") {
        path_ = crv::test::scratchFolder("settings-" + name) + "settings.ini";
        if (!content.empty()) crv::test::writeBytes(path_, content);
        const char* old = std::getenv("CORVANE_SETTINGS");
        saved_ = old ? old : "";
        hadOld_ = old != nullptr;
        ::setenv("CORVANE_SETTINGS", path_.c_str(), 1);
    }
    ~SettingsFile() {
        if (hadOld_)
            ::setenv("CORVANE_SETTINGS", saved_.c_str(), 1);
        else
            ::unsetenv("CORVANE_SETTINGS");
    }

private:
    std::string path_, saved_;
    bool hadOld_ = false;
};
}  // namespace

TEST(ErrMsg, TextLayoutAndCut) {
    EXPECT_EQ(errorText("ReadData       ", "Invalid navaid array type"),
              "An error occurred in procedure ReadData:\r\rInvalid navaid array type");
    const std::string longMessage(400, 'x');
    const std::string text = errorText("GridH          ", longMessage);
    EXPECT_EQ(text.size(), 260u);
    EXPECT_EQ(text.substr(0, 41), "An error occurred in procedure GridH:\r\rxx");

    crv::test::MessageCapture capture;
    ErrMsg("SortFile       ", "Could not allocate required memory.  ");
    ASSERT_EQ(capture.messages().size(), 1u);
    EXPECT_EQ(capture.messages()[0].title, "CRV Error");
    EXPECT_EQ(capture.messages()[0].icon, crv::platform::MessageIcon::Exclamation);
    EXPECT_EQ(capture.messages()[0].text,
              "An error occurred in procedure SortFile:\r\rCould not allocate required memory.");
}

TEST(GetPaths, DefaultsWithoutSettings) {
    SettingsFile settings("none");
    EngineState state;
    GetPaths(state);
    EXPECT_EQ(state.paths.fmDatabase, "FMALL.dat");
    EXPECT_EQ(state.paths.navaidDatabase, "A108M118.dat");
    EXPECT_EQ(state.paths.comDatabase, "G118M136.dat");
    EXPECT_EQ(state.paths.dataFolder, "Data/");
    EXPECT_EQ(state.paths.outputFolder, "Output/");
    EXPECT_EQ(state.paths.userFolder, "User/");
    EXPECT_EQ(state.paths.edition, "FLD");
    EXPECT_FALSE(state.scientific);
    EXPECT_NE(state.paths.tempFolder.find("/corvane-"), std::string::npos);
    EXPECT_EQ(state.paths.tempFolder.back(), '/');
}

TEST(GetPaths, ReadsTheSettingsStore) {
    SettingsFile settings("full",
                          "[Paths]\nFCC Database=/db/FM ALL.dat\nQVA Database=/db/nav.dat\nCOM Database=/db/com.dat\n"
                          "Data Folder=/w/data/\nOutput Folder=/w/out\nUser Folder=/w/user/\n"
                          "[General]\nModel Type=SCI\n");
    EngineState state;
    GetPaths(state);
    EXPECT_EQ(state.paths.fmDatabase, "/db/FM ALL.dat");
    EXPECT_EQ(state.paths.navaidDatabase, "/db/nav.dat");
    EXPECT_EQ(state.paths.comDatabase, "/db/com.dat");
    EXPECT_EQ(state.paths.dataFolder, "/w/data/");
    EXPECT_EQ(state.paths.outputFolder, "/w/out/");  // a folder always ends in "/"
    EXPECT_EQ(state.paths.userFolder, "/w/user/");
    EXPECT_TRUE(state.scientific);
}

TEST(GetPaths, EditionRule) {
    struct Case {
        const char* value;
        bool scientific;
    } cases[] = {{"SCI", true}, {"SCIENTIFIC", true}, {"sci", false}, {"FLD", false}, {"SC", false}, {"", false}};
    for (const auto& c : cases) {
        SettingsFile settings("edition", std::string("[General]\nModel Type=") + c.value + "\n");
        EngineState state;
        GetPaths(state);
        EXPECT_EQ(state.scientific, c.scientific) << c.value;
    }
}

TEST(GetPaths, OverlongPathIsRefusedNotCut) {
    SettingsFile settings("long", "[Paths]\nData Folder=/" + std::string(300, 'd') + "/\n");
    EngineState state;
    EXPECT_THROW(GetPaths(state), EngineFailure);
}

namespace {
std::vector<int> seenPercents;
int cancelAtCall = -1;
void recordingCallback(int32_t percent, int16_t* cancel) {
    // A callback that only ever sets the word: the engine must clear it itself.
    seenPercents.push_back(percent);
    EXPECT_EQ(*cancel, 0);
    if (static_cast<int>(seenPercents.size()) == cancelAtCall) *cancel = 1;
}
}  // namespace

TEST(Progress, PercentRoundingAndCancelWord) {
    seenPercents.clear();
    cancelAtCall = 3;
    Progress p(recordingCallback);
    EXPECT_FALSE(p.report(1, 3));  // 33.33 -> 33
    EXPECT_FALSE(p.report(2, 3));  // 66.67 -> 67
    EXPECT_TRUE(p.report(5, 10));  // cancel asked here
    EXPECT_EQ(seenPercents, (std::vector<int>{33, 67, 50}));

    Progress none(nullptr);
    EXPECT_FALSE(none.report(1, 2));
    EXPECT_NO_THROW(none.checkpoint(1, 2));
}

TEST(RunExport, StatusesAndOneMessage) {
    crv::test::MessageCapture capture;
    EXPECT_EQ(runExport("Grid           ", [] {}), CRV_STATUS_DONE);
    EXPECT_EQ(runExport("Grid           ", [] { throw CancelRequested{}; }), CRV_STATUS_CANCELLED);
    EXPECT_TRUE(capture.messages().empty());
    EXPECT_EQ(runExport("Grid           ", [] { fail("GridH          ", "No receiver points generated"); }),
              CRV_STATUS_FAILED);
    EXPECT_EQ(runExport("Evaluate       ", [] { throw std::runtime_error("disk full"); }), CRV_STATUS_FAILED);
    ASSERT_EQ(capture.messages().size(), 2u);
    EXPECT_EQ(capture.messages()[0].text, "An error occurred in procedure GridH:\r\rNo receiver points generated");
    EXPECT_EQ(capture.messages()[1].text, "An error occurred in procedure Evaluate:\r\rdisk full");
}

TEST(RunExport, SecondCallWhileOneRunsFailsCleanly) {
    crv::test::MessageCapture capture;
    std::int16_t inner = -1;
    const std::int16_t outer = runExport("Grid           ", [&] {
        inner = runExport("Evaluate       ", [] { FAIL() << "the nested call must not run"; });
    });
    EXPECT_EQ(outer, CRV_STATUS_DONE);
    EXPECT_EQ(inner, CRV_STATUS_FAILED);
    ASSERT_EQ(capture.messages().size(), 1u);
    EXPECT_NE(capture.messages()[0].text.find("Another engine call is still running"), std::string::npos);
    // The engine is free again afterwards.
    EXPECT_EQ(runExport("Grid           ", [] {}), CRV_STATUS_DONE);
}

TEST(FileUnits, LowestFreeAndExhaustion) {
    // Units are taken until the engine refuses: the lowest free one each time,
    // the last one 255, and no more after it.
    std::vector<std::unique_ptr<FileUnit>> held;
    for (int tries = 0; tries <= 255; ++tries) {
        try {
            held.push_back(std::make_unique<FileUnit>("Test           "));
        } catch (const EngineFailure&) {
            break;
        }
    }
    ASSERT_FALSE(held.empty());
    ASSERT_LE(held.size(), 255u);
    EXPECT_EQ(held.back()->number(), 255);
    for (std::size_t i = 1; i < held.size(); ++i) EXPECT_LT(held[i - 1]->number(), held[i]->number());
    EXPECT_THROW(FileUnit("Test           "), EngineFailure);
    // A unit given back is the next one taken.
    const auto middle = held.begin() + static_cast<std::ptrdiff_t>(held.size() / 2);
    const int freed = (*middle)->number();
    held.erase(middle);
    EXPECT_EQ(FileUnit("Test           ").number(), freed);
}

TEST(Exports, WithoutACaseTheyFailCleanlyAndZeroTheirCounts) {
    crv::test::MessageCapture capture;
    std::int16_t status = 7, cases = 9;
    std::int32_t points = 9;
    Grid("/nonexistent/", nullptr, &status, &points);
    EXPECT_EQ(status, 2);
    EXPECT_EQ(points, 0);
    status = 7;
    GrndCOM(nullptr, nullptr, &status, &cases);
    EXPECT_EQ(status, 2);
    EXPECT_EQ(cases, 0);
    EXPECT_FALSE(capture.messages().empty());
}
