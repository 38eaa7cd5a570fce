// The new-case workflow and a run through the real engine on the sample
// workspace that crv_sample writes: proponent search, navaid search, RF-source
// search with its new case file, and the simulation run; the search files
// against goldens, and a cancel at each stage leaving nothing behind.
//
// Set CRV_UPDATE_GOLDENS=1 to rewrite the goldens after a deliberate change.
#include <gtest/gtest.h>

#include <cstdlib>

#include "crv/binding/engine_library.h"
#include "crv/common/file_system.h"
#include "crv/platform/temp_folder.h"
#include "crv/testing/golden.h"
#include "crv/testing/scoped_env.h"
#include "run_test_support.h"

using namespace crv::main::run;
using namespace crv::main::run::test;

namespace {

using crv::testing::ScopedEnv;

const std::string kLibrary = std::string(CRV_BIN_DIR) + "libcrv50.so";

// The sample ILS "QKV" at 39 20 15 N, 77 45 40 W; the FM station "QKAD" lies
// 8 nmi from it.
constexpr float kIlsLat = 39.0f + 20.0f / 60 + 15.0f / 3600;
constexpr float kIlsLon = 77.0f + 45.0f / 60 + 40.0f / 3600;

class EndToEnd : public ::testing::Test {
protected:
    void SetUp() override {
        w_ = std::make_unique<Workspace>("e2e");
        const std::string ws = (w_->root / "ws").string() + "/";
        ASSERT_EQ(std::system((std::string(CRV_BIN_DIR) + "crv_sample " + ws + " >/dev/null").c_str()), 0);
        fs::create_directories(w_->root / "tmp");
        fs::permissions(w_->root / "tmp", fs::perms::owner_all, fs::perm_options::replace);
        writeBytes(w_->root / "engine.ini", "[Paths]\nFCC Database=" + ws + "db/FMALL.dat\nQVA Database=" + ws +
                                                "db/A108M118.dat\nCOM Database=" + ws +
                                                "db/G118M136.dat\nData Folder=" + ws + "Data/\nOutput Folder=" + ws +
                                                "Output/\nUser Folder=" + ws + "User/\n[General]\nModel Type=FLD\n");
        tmp_ = std::make_unique<ScopedEnv>("TMPDIR", (w_->root / "tmp").string());
        settings_ = std::make_unique<ScopedEnv>("CORVANE_SETTINGS", (w_->root / "engine.ini").string());
        auto temp = crv::platform::privateTempFolder();
        ASSERT_TRUE(temp);
        w_->state.TempFolder = *temp;
        w_->state.FCCDatabase = ws + "db/FMALL.dat";
        w_->state.QVADatabase = ws + "db/A108M118.dat";
        w_->state.COMDatabase = ws + "db/G118M136.dat";
        w_->state.DataFolder = ws + "Data/";
        w_->state.OutputFolder = ws + "Output/";
        w_->state.UserFolder = ws + "User/";
        w_->settings = std::make_unique<crv::platform::SettingsStore>((w_->root / "engine.ini").string());
    }
    void TearDown() override {
        w_.reset();
        settings_.reset();
        tmp_.reset();
    }

    Workspace& w() { return *w_; }
    RunController& controller() { return w_->controller(engine_); }

    // The proponent search and the choice of "QKAD" as the selection list would make it.
    void chooseProponent() {
        std::int32_t count = 0;
        controller().SearchForProponents(kIlsLat, kIlsLon, 10.0f, count);
        ASSERT_GT(count, 0) << w().messages.texts();
        const auto hits = crlfLines(readBytes(w().temp("RfiSrch1.tmp")));
        ASSERT_EQ(hits.size(), static_cast<std::size_t>(count));
        for (const auto& h : hits)
            if (h.substr(1, 4) == "QKAD") w().state.ProponentRecord = h.substr(0, 52);
        ASSERT_FALSE(w().state.ProponentRecord.empty());
        fs::remove(w().temp("RfiSrch1.tmp"));
    }

    // The navaid search and the choice of the sample ILS from its plot file.
    void chooseNavaid() {
        std::int32_t count = 0;
        controller().SearchForNavaids(count);
        ASSERT_GT(count, 0) << w().messages.texts();
        for (const auto& line : crlfLines(readBytes(w().output("nav@QKAD.plt"))))
            if (line.substr(0, 4) == " QKV") w().state.NavaidRecord = (line + std::string(72, ' ')).substr(0, 72);
        ASSERT_FALSE(w().state.NavaidRecord.empty());
    }

    static void compareGolden(const std::string& name, const std::string& actual) {
        EXPECT_TRUE(crv::testing::matchesGolden(std::string(CRV_TEST_DATA) + name, "main_run/" + name, actual));
    }

    std::unique_ptr<Workspace> w_;
    std::unique_ptr<ScopedEnv> tmp_, settings_;
    crv::binding::EngineLibrary engine_{kLibrary};
};

}  // namespace

TEST_F(EndToEnd, NewCaseFromTheSearchesThenARun) {
    chooseProponent();
    EXPECT_EQ(w().progress.finals().back().find("FM facilities found."), 2u);

    chooseNavaid();
    // "B8D", 85 nmi out with a 70 nmi service radius, holds the proponent in
    // its widened area: the COM search reaches the database's largest radius.
    EXPECT_NE(readBytes(w().output("com@QKAD.plt")).find(" B8D "), std::string::npos);
    EXPECT_NE(readBytes(w().output("nav@QKAD.txt")).find("Search Radius = 110 Nautical Miles"), std::string::npos);
    compareGolden("nav@QKAD.plt", readBytes(w().output("nav@QKAD.plt")));
    compareGolden("nav@QKAD.txt", readBytes(w().output("nav@QKAD.txt")));
    for (const char* subset : {"loc@QKAD.plt", "vor@QKAD.plt", "com@QKAD.plt"})
        compareGolden(subset, fs::exists(w().output(subset)) ? readBytes(w().output(subset)) : "(none)");
    EXPECT_TRUE(crv::common::FindEntries(w().state.TempFolder, "RfiSrch?.tmp").empty());

    w().questions.savePath = w().data("QKV_new.dat");
    std::int32_t sources = 0;
    controller().SearchForRFSources(sources);
    ASSERT_GT(sources, 0) << w().messages.texts();
    const std::string plot = readBytes(w().output("fm@QKV.plt"));
    compareGolden("fm@QKV.plt", plot);
    compareGolden("fm@QKV.txt", readBytes(w().output("fm@QKV.txt")));
    EXPECT_EQ(readBytes(w().data("QKV_new.dat")), plot);
    EXPECT_EQ(w().state.CaseFile, "QKV_new.dat");
    EXPECT_EQ(w().progress.finals().back(), std::to_string(sources) + " RF sources found.");
    // The proponent came from the FM search: its own hit is its line.
    int proponents = 0;
    for (const auto& line : crlfLines(plot)) proponents += line.size() >= 75 && line.substr(63, 2) == " 1";
    EXPECT_EQ(proponents, 1);

    const std::string run = w().state.OutputFolder + "QKV_new/";
    fs::create_directories(run);
    w().progress.events.clear();
    controller().RunSimulation(run, "QKV_new.dat");
    EXPECT_TRUE(w().messages.shown.empty()) << w().messages.texts();
    EXPECT_TRUE(fs::exists(run + "Rfi.txt"));
    EXPECT_EQ(readBytes(run + "Rfi.plt"), plot);
    const auto finals = w().progress.finals();
    ASSERT_EQ(finals.size(), 4u);
    EXPECT_NE(finals[0].find("grid points generated."), std::string::npos);
    EXPECT_EQ(w().progress.events.back(), "Remove");
}

TEST_F(EndToEnd, CancelAtEachStageLeavesNothingBehind) {
    // Proponent search.
    w().progress.cancelAtValue = 1;
    std::int32_t count = -1;
    controller().SearchForProponents(kIlsLat, kIlsLon, 10.0f, count);
    EXPECT_EQ(count, 0);
    EXPECT_TRUE(crv::common::FindEntries(w().state.TempFolder, "RfiSrch?.tmp").empty());

    w().progress.cancelAtValue = -1;
    chooseProponent();

    // Navaid search: no navaid search file.
    w().progress.valueCalls = 0;
    w().progress.cancelAtValue = 1;
    controller().SearchForNavaids(count);
    EXPECT_EQ(count, 0);
    EXPECT_TRUE(crv::common::FindEntries(w().state.OutputFolder, "*@*").empty());
    EXPECT_TRUE(crv::common::FindEntries(w().state.TempFolder, "RfiSrch?.tmp").empty());

    w().progress.cancelAtValue = -1;
    chooseNavaid();

    // RF-source search, cancelled while the files are written: no FM search
    // file and no new case file.
    w().questions.savePath = w().data("QKV_cancel.dat");
    int values = 0;
    w().progress.valueCalls = 0;
    w().progress.onValue = [&] {
        // The searches are done once the writer sets its own maximum.
        if (w().progress.maximum > 0 && ++values == 2) w().progress.cancel();
    };
    w().progress.maximum = 0;
    controller().SearchForRFSources(count);
    EXPECT_EQ(count, 0);
    EXPECT_GT(values, 1);
    EXPECT_FALSE(fs::exists(w().output("fm@QKV.plt")));
    EXPECT_FALSE(fs::exists(w().output("fm@QKV.txt")));
    EXPECT_FALSE(fs::exists(w().data("QKV_cancel.dat")));
    EXPECT_NE(w().state.CaseFile, "QKV_cancel.dat");
    EXPECT_TRUE(crv::common::FindEntries(w().state.TempFolder, "RfiSrch?.tmp").empty());

    // A run cancelled in Evaluate (the step known by its progress text): no report.
    const std::string run = w().state.OutputFolder + "ILS/";
    fs::create_directories(run);
    w().progress.events.clear();
    w().progress.valueCalls = 0;
    auto& progress = w().progress;
    progress.onValue = [&] {
        if (!progress.events.empty() && progress.events.back().find("A2 and/or B2") != std::string::npos)
            progress.cancel();
    };
    controller().RunSimulation(run, "SampleILS.dat");
    EXPECT_TRUE(fs::exists(run + "Rfi.plt"));
    EXPECT_FALSE(fs::exists(run + "Rfi.txt"));
    EXPECT_EQ(progress.finals().size(), 1u);
    EXPECT_TRUE(w().messages.shown.empty()) << w().messages.texts();
}
