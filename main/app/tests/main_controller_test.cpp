#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <deque>
#include <filesystem>
#include <fstream>

#include "crv/common/configuration.h"
#include "crv/main/app/main_controller.h"

using namespace crv::main;
using crv::common::AppState;
using crv::common::Message;
using crv::common::MessageAnswer;

namespace {

struct Recorder : crv::common::MessagePresenter {
    MessageAnswer present(const Message& m) override {
        messages.push_back(m);
        if (answers.empty()) return m.buttons == crv::common::MessageButtons::OkCancel ? MessageAnswer::Ok : MessageAnswer::Ok;
        const MessageAnswer a = answers.front();
        answers.pop_front();
        return a;
    }
    std::vector<Message> messages;
    std::deque<MessageAnswer> answers;
};

struct FakeRun : RunControl {
    std::vector<std::string> calls;
    std::deque<int> proponentCounts;
    int navaidCount = 1;
    int rfCount = 1;
    std::function<void()> duringCall;
    void SearchForProponents(float lat, float lon, float radius, std::int32_t& count) override {
        calls.push_back("SearchForProponents " + std::to_string(static_cast<int>(lat)) + " " +
                        std::to_string(static_cast<int>(lon)) + " " + std::to_string(static_cast<int>(radius)));
        count = proponentCounts.empty() ? 1 : proponentCounts.front();
        if (!proponentCounts.empty()) proponentCounts.pop_front();
        if (duringCall) duringCall();
    }
    void SearchForNavaids(std::int32_t& count) override {
        calls.push_back("SearchForNavaids");
        count = navaidCount;
    }
    void SearchForRFSources(std::int32_t& count) override {
        calls.push_back("SearchForRFSources");
        count = rfCount;
    }
    void RunSimulation(const std::string& folder, const std::string& file) override {
        calls.push_back("RunSimulation " + folder + " " + file);
        if (duringCall) duringCall();
    }
    void PrintResults(const std::string& folder) override { calls.push_back("PrintResults " + folder); }
    void requestCancel() override { calls.push_back("requestCancel"); }
};

// Scripted answers of the new-case dialogs.
struct FakeDialogs : NewCaseDialogs {
    struct Params {
        bool canceled;
        bool manual;
    };
    std::deque<Params> params;
    std::deque<std::pair<bool, bool>> selections;  // canceled, manual
    bool navCanceled = false;
    bool manualCanceled = false;
    std::vector<std::string> calls;
    void GetParams(float& lat, float& lon, float& radius, bool& manual, bool& canceled) override {
        calls.push_back(std::string("GetParams") + (manual ? " manual" : ""));
        const Params p = params.empty() ? Params{true, false} : params.front();
        if (!params.empty()) params.pop_front();
        canceled = p.canceled;
        if (!canceled) manual = p.manual;
        if (!canceled && !manual) {
            lat = 39;
            lon = 77;
            radius = 3;
        }
    }
    void SelectProponent(bool& canceled, bool& manual) override {
        calls.push_back("SelectProponent");
        auto [c, m] = selections.empty() ? std::pair{false, false} : selections.front();
        if (!selections.empty()) selections.pop_front();
        canceled = c;
        manual = m;
    }
    void SelectNavaid(bool& canceled) override {
        calls.push_back("SelectNavaid");
        canceled = navCanceled;
    }
    void ManualNavaidEntry(bool& canceled) override {
        calls.push_back("ManualNavaidEntry");
        canceled = manualCanceled;
    }
};

struct Fixture : ::testing::Test {
    void SetUp() override {
        root = std::filesystem::temp_directory_path() /
               ("crv_main_app_" + std::to_string(::getpid()) + "_" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::remove_all(root);
        std::filesystem::create_directories(root / "db");
        std::filesystem::create_directories(root / "Output");
        std::filesystem::create_directories(root / "Data");
        for (const char* db : {"FMALL.dat", "A108M118.dat"}) std::ofstream(root / "db" / db) << "x\n";
        state.FCCDatabase = (root / "db/FMALL.dat").string();
        state.QVADatabase = (root / "db/A108M118.dat").string();
        state.UseFCCDB = 1;
        state.UseQVADB = 1;
        state.OutputFolder = (root / "Output").string() + "/";
        state.DataFolder = (root / "Data").string() + "/";
        state.ModelType = "FLD";
        store = std::make_unique<crv::platform::SettingsStore>((root / "settings.ini").string());
        controller = std::make_unique<MainController>(MainServices{state, *store, presenter, entries, run, dialogs, identity});
        entries.EditDataFile = [this](std::int32_t& r) {
            calls.push_back("EditDataFile " + state.CaseFile);
            r = editResult;
        };
        entries.ShowFiles = [this](int kind, bool reload) {
            calls.push_back("ShowFiles " + std::to_string(kind) + (reload ? " reload" : ""));
            FileSelection s;
            if (!selections.empty()) {
                s = selections.front();
                selections.pop_front();
            }
            return s;
        };
        entries.SetUpPrinter = [this] {
            calls.push_back("SetUpPrinter");
            return true;
        };
        entries.DisplayReports = [this](const std::string& d, const std::string& f, bool) {
            calls.push_back("DisplayReports " + d + " " + f);
        };
        entries.DisplayPlots = [this](const std::string& d, const std::string& f, bool) {
            calls.push_back("DisplayPlots " + d + " " + f);
        };
        fillMissingEntries(entries, presenter);
    }
    void TearDown() override { std::filesystem::remove_all(root); }
    void writeOutput(const std::string& name) { std::ofstream(root / "Output" / name) << "x\r\n"; }

    std::filesystem::path root;
    AppState state;
    std::unique_ptr<crv::platform::SettingsStore> store;
    Recorder presenter;
    EntryPoints entries;
    FakeRun run;
    FakeDialogs dialogs;
    crv::resources::Identity identity = crv::resources::identityOf(crv::resources::Edition::Field);
    std::unique_ptr<MainController> controller;
    std::vector<std::string> calls;
    std::deque<FileSelection> selections;
    std::int32_t editResult = 1;
};

}  // namespace

TEST_F(Fixture, NavSelectEnabledOnlyWithANavaidSearchFile) {
    EXPECT_FALSE(controller->navSelectEnabled());
    writeOutput("nav@WX.plt");  // two characters: not a match for "nav@????.plt"
    EXPECT_FALSE(controller->navSelectEnabled());
    writeOutput("NAV@WXYZ.PLT");
    EXPECT_TRUE(controller->navSelectEnabled());
}

TEST_F(Fixture, CalibrationToolOnlyInTheScientificEdition) {
    EXPECT_FALSE(controller->calibrationVisible());
    state.ModelType = "SCI";
    EXPECT_TRUE(controller->calibrationVisible());
}

TEST_F(Fixture, NewProponentLoopsBackAfterManualAndAfterAnEmptySearch) {
    // Search finds nothing -> dialog again; search finds 2, list says Manual ->
    // dialog again in manual entry; manual OK -> navaid search -> selection.
    dialogs.params = {{false, false}, {false, false}, {false, true}};
    run.proponentCounts = {0, 2};
    dialogs.selections = {{false, true}};
    controller->FileNew();
    EXPECT_EQ(dialogs.calls, (std::vector<std::string>{"GetParams", "GetParams", "SelectProponent", "GetParams manual",
                                                       "SelectNavaid"}));
    EXPECT_EQ(run.calls, (std::vector<std::string>{"SearchForProponents 39 77 3", "SearchForProponents 39 77 3",
                                                   "SearchForNavaids", "SearchForRFSources"}));
    EXPECT_EQ(calls.back(), "EditDataFile ");
}

TEST_F(Fixture, CancellingEitherDialogEndsWithoutANavaidSearch) {
    dialogs.params = {{true, false}};
    controller->FileNew();
    dialogs.params = {{false, false}};
    dialogs.selections = {{true, false}};
    controller->FileNew();
    for (const auto& c : run.calls) EXPECT_NE(c, "SearchForNavaids");
}

TEST_F(Fixture, ACancelledSelectionCostsNoResults) {
    writeOutput("Rfi.txt");
    dialogs.params = {{true, false}};
    controller->FileNew();  // the proponent dialog cancelled
    dialogs.manualCanceled = true;
    controller->NavManual();
    dialogs.navCanceled = true;
    writeOutput("nav@ABCD.plt");
    controller->NavSelect();
    selections = {FileSelection{}};  // the case browser cancelled
    controller->SimRun();
    EXPECT_TRUE(std::filesystem::exists(root / "Output/Rfi.txt"));
    EXPECT_TRUE(presenter.messages.empty());  // nobody was even asked

    // A manual entry that is not cancelled: the question comes after it, and OK clears.
    dialogs.manualCanceled = false;
    controller->NavManual();
    ASSERT_EQ(presenter.messages.size(), 1u);
    EXPECT_EQ(presenter.messages[0].buttons, crv::common::MessageButtons::OkCancel);
    EXPECT_FALSE(std::filesystem::exists(root / "Output/Rfi.txt"));
    EXPECT_EQ(dialogs.calls.back(), "ManualNavaidEntry");
}

TEST_F(Fixture, MissingDatabasesStopANewCase) {
    state.FCCDatabase.clear();
    state.UseFCCDB = 0;
    controller->FileNew();
    EXPECT_TRUE(dialogs.calls.empty());
    ASSERT_EQ(presenter.messages.size(), 1u);
    EXPECT_EQ(presenter.messages[0].title, "Warning");
}

TEST_F(Fixture, RunOfSeveralFilesGoesIntoOneFolderEach) {
    selections = {FileSelection{state.DataFolder, "a.dat|a.v2.dat", 2}};
    EXPECT_EQ(controller->SimRun(), AfterCommand::OpenResultsMenu);
    const std::string out = state.OutputFolder;
    EXPECT_EQ(run.calls, (std::vector<std::string>{"RunSimulation " + out + "a/ a.dat", "RunSimulation " + out + "a.v2/ a.v2.dat"}));
    EXPECT_TRUE(std::filesystem::is_directory(root / "Output/a"));
    EXPECT_TRUE(std::filesystem::is_directory(root / "Output/a.v2"));
    run.calls.clear();
    selections = {FileSelection{state.DataFolder, "b.dat", 2}};
    EXPECT_EQ(controller->SimAuto(), AfterCommand::Nothing);
    EXPECT_EQ(run.calls, (std::vector<std::string>{"RunSimulation " + out + " b.dat", "PrintResults " + out}));
}

TEST_F(Fixture, EditorResultsRunAndPrint) {
    selections = {FileSelection{"/x/cases", "c.dat", 1}};
    editResult = 2;
    EXPECT_EQ(controller->FileOpen(), AfterCommand::OpenResultsMenu);
    EXPECT_EQ(state.DataFolder, "/x/cases/");
    EXPECT_EQ(state.CaseFile, "c.dat");
    editResult = 3;
    EXPECT_EQ(controller->OpenRecent("/y/d.dat"), AfterCommand::Nothing);
    EXPECT_EQ(state.DataFolder, "/y/");
    EXPECT_EQ(run.calls.back(), "PrintResults " + state.OutputFolder);
    // A browser opened a second time reloads its state.
    selections = {FileSelection{}};
    controller->FileOpen();
    EXPECT_EQ(calls.back(), "ShowFiles 1 reload");
}

TEST_F(Fixture, ResultsBrowserReopensAfterEachViewerAndFollowsTheKind) {
    selections = {FileSelection{"/o", "Rfi.txt", 3}, FileSelection{"/o", "01____A2.plt", 4}, FileSelection{}};
    controller->FileResults();
    EXPECT_EQ(calls, (std::vector<std::string>{"ShowFiles 3", "DisplayReports /o/ Rfi.txt", "ShowFiles 3 reload",
                                               "DisplayPlots /o/ 01____A2.plt", "ShowFiles 4 reload"}));
}

TEST_F(Fixture, ClosingDuringACallCancelsItAndClosesAfterwards) {
    run.duringCall = [this] {
        EXPECT_TRUE(controller->busy());
        EXPECT_FALSE(controller->commandsEnabled());
        EXPECT_EQ(controller->SimRun(), AfterCommand::Nothing);  // no second command inside the first
        EXPECT_FALSE(controller->requestClose());
    };
    selections = {FileSelection{state.DataFolder, "a.dat|b.dat", 2}};
    EXPECT_EQ(controller->SimRun(), AfterCommand::Close);
    EXPECT_EQ(run.calls, (std::vector<std::string>{"RunSimulation " + state.OutputFolder + "a/ a.dat", "requestCancel"}));
    EXPECT_FALSE(controller->busy());
    EXPECT_TRUE(controller->requestClose());
}

TEST_F(Fixture, EntriesNotWiredAreReportedAsErrors) {
    controller->ToolsRadPat();
    controller->ToolsPaths();
    ASSERT_EQ(presenter.messages.size(), 2u);
    EXPECT_EQ(presenter.messages[0].text, " This program was built without the radiation pattern editor. ");
}

TEST_F(Fixture, DatesOfDatabaseFiles) {
    std::filesystem::last_write_time(root / "db/FMALL.dat", std::filesystem::file_time_type::clock::now());
    const std::string text = DatesText(state);
    const std::string fm = state.FCCDatabase;
    EXPECT_EQ(text.substr(0, 21 + 13 + fm.size() + 1), "FM Station Database:\r     File:   " + fm + "\r");
    EXPECT_NE(text.find("\r\r" "Navaid Database:\r"), std::string::npos);
    const std::string tail = "VHF COM Database:\r     File not specified";
    EXPECT_EQ(text.substr(text.size() - tail.size()), tail);
}

TEST(MainTexts, FileDateFormat) {
    setenv("TZ", "UTC", 1);
    tzset();
    EXPECT_EQ(formatFileDate(1014854400 + 13 * 3600 + 5 * 60), "02/28/02  01:05 pm");  // 2002-02-28 13:05 UTC
    EXPECT_EQ(formatFileDate(1014854400 + 5 * 60), "02/28/02  12:05 am");
}

TEST(MainTexts, AboutBoxOfEachEdition) {
    const Message fld = AboutMessage(crv::resources::identityOf(crv::resources::Edition::Field));
    EXPECT_EQ(fld.title, " About CRV");
    EXPECT_EQ(fld.text, "Corvane\r\rVersion 5.0.7\r\rFebruary 28, 2002");
    const Message sci = AboutMessage(crv::resources::identityOf(crv::resources::Edition::Scientific));
    EXPECT_EQ(sci.title, " About CRV_Sci");
    EXPECT_EQ(sci.text.substr(0, 20), "Corvane (Scientific)");
}

TEST(MainTexts, RunFolderNames) {
    EXPECT_EQ(runFolderName("a.dat"), "a");
    EXPECT_EQ(runFolderName("a.v2.dat"), "a.v2");
    EXPECT_EQ(runFolderName("noext"), "noext");
    EXPECT_EQ(runFolderName(".."), "_");  // never the folder itself or its parent
    EXPECT_EQ(runFolderName("A/B.dat"), "A_B");
}

// Two programs on one settings file: A changes its options (reports first,
// animation on) and exits; B, which never opened Options, exits after it.
// B runs as a process of its own, loaded before A changed anything.
TEST_F(Fixture, TheProgramExitingLastKeepsTheOtherProgramsChanges) {
    const std::string settings = (root / "settings.ini").string();
    std::filesystem::create_directories(root / "User");
    std::ofstream(settings) << "[Paths]\nData Folder=" << state.DataFolder << "\nOutput Folder=" << state.OutputFolder
                            << "\nUser Folder=" << (root / "User").string() << "/\n"
                            << "[General]\nDefault Output=PLOTS\nAnimation=OFF\n";
    // Nothing of the start-up reaches the user's own folders.
    ::setenv("XDG_DATA_HOME", root.c_str(), 1);
    int go[2], ready[2];
    ASSERT_EQ(::pipe(go), 0);
    ASSERT_EQ(::pipe(ready), 0);
    const pid_t b = ::fork();
    if (b == 0) {
        AppState own;
        crv::platform::SettingsStore ownStore(settings);
        MainController other(MainServices{own, ownStore, presenter, entries, run, dialogs, identity});
        other.Startup("SCI", nullptr);
        const bool loaded = own.DefaultOutputPlots && !own.AnimationEnabled;
        (void)!::write(ready[1], loaded ? "y" : "n", 1);
        char c;
        (void)!::read(go[0], &c, 1);
        other.Shutdown();
        ::_exit(0);
    }
    char loaded = 0;
    ASSERT_EQ(::read(ready[0], &loaded, 1), 1);
    EXPECT_EQ(loaded, 'y');

    controller->Startup("SCI", nullptr);
    state.DefaultOutputPlots = false;  // Tools > Options, OK
    state.AnimationEnabled = true;
    ASSERT_TRUE(crv::common::SaveGeneralSettings(state, *store));
    controller->Shutdown();

    (void)!::write(go[1], "x", 1);
    int status = 0;
    ::waitpid(b, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    const crv::platform::SettingsStore file(settings);
    EXPECT_EQ(file.get("General", "Default Output"), "REPORTS");
    EXPECT_EQ(file.get("General", "Animation"), "ON");
    for (int fd : {go[0], go[1], ready[0], ready[1]}) ::close(fd);
    ::unsetenv("XDG_DATA_HOME");
}
