// The case data editor's commands, driven without a window over the sample
// workspace.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "crv/editors/case_editor/case_editor_controller.h"
#include "crv/testing/files.h"
#include "crv/testing/flat_earth.h"
#include "recording.h"

namespace fs = std::filesystem;
using crv::testing::readBytes;
using namespace crv::editors;
using crv::common::MessageAnswer;

namespace {

struct Workspace : ::testing::Test {
    void SetUp() override {
        dir = fs::temp_directory_path() /
              ("crv_case_editor_" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(dir);
        fs::create_directories(dir);
        const std::string cmd = std::string(CRV_SAMPLE_EXE) + " '" + dir.string() + "' >/dev/null 2>&1";
        ASSERT_EQ(std::system(cmd.c_str()), 0);
        app.DataFolder = (dir / "Data").string() + "/";
        app.UserFolder = (dir / "User").string() + "/";
        app.CaseFile = "SampleILS.dat";
        store = std::make_unique<crv::platform::SettingsStore>((dir / "settings.ini").string());
        services.showFiles = [this](bool reload) {
            reloads.push_back(reload);
            return browse;
        };
        services.saveAs = [this](const std::string&, const std::string&) { return saveAsPath; };
        services.lldist = crv::testing::flatEarthDist;
        ed = std::make_unique<CaseEditorController>(dict, app, *store, presenter, services);
        auto opened = ed->openInitialCase();
        ASSERT_TRUE(opened) << opened.error();
        ed->ResetEditor();
        loadMessages = presenter.messages;
        presenter.messages.clear();
    }
    void TearDown() override { fs::remove_all(dir); }
    fs::path data(const std::string& name) const { return dir / "Data" / name; }
    std::string lastText() const { return presenter.messages.empty() ? "" : presenter.messages.back().text; }
    // Makes the case modified by a committed page-1 change.
    void changeSite(const std::string& text) {
        auto& p = ed->pages();
        ASSERT_TRUE(ed->selectPage(1));
        p.gotFocus(p.siteField);
        std::int16_t k = 'X';
        p.keyPress(p.siteField, k);
        p.textChanged(p.siteField, text);
    }

    fs::path dir;
    FieldDictionary dict = FieldDictionary::forEdition(crv::resources::Edition::Field);
    crv::common::AppState app;
    std::unique_ptr<crv::platform::SettingsStore> store;
    test::Recorder presenter;
    std::vector<crv::common::Message> loadMessages;
    EditorServices services;
    std::unique_ptr<CaseEditorController> ed;
    std::optional<std::pair<std::string, std::string>> browse;
    std::vector<bool> reloads;
    std::string saveAsPath;
};

}  // namespace

TEST_F(Workspace, OpensOnTheFirstPageWithTheCaseInItsCaption) {
    EXPECT_EQ(ed->caption(), " CRV Data Editor -- SampleILS.dat");
    EXPECT_EQ(ed->state.currentPage, 1);
    EXPECT_FALSE(ed->state.modified);
    EXPECT_FALSE(ed->state.checkDue);
    EXPECT_EQ(ed->table().rowCount(), 7);
    EXPECT_EQ(app.RecentFiles[0], app.DataFolder + "SampleILS.dat");
    EXPECT_FALSE(ed->menusEnabled());
    ASSERT_TRUE(ed->selectPage(3));
    EXPECT_TRUE(ed->menusEnabled());
}

// The navaid-to-proponent bearing comes from the distance function the host
// gives (the programs give the engine's); a host that gives none still gets
// the case, with no bearing.
TEST_F(Workspace, TheBearingComesOnlyFromTheDistanceFunctionGiven) {
    int calls = 0;
    EditorServices given = services;
    given.lldist = [&calls](float, float, float, float, float* distanceNmi, float* azimuth) {
        ++calls;
        *distanceNmi = 12;
        *azimuth = 123;
    };
    CaseEditorController withOne(dict, app, *store, presenter, given);
    ASSERT_TRUE(withOne.openInitialCase());
    EXPECT_GT(calls, 0);

    EditorServices none = services;
    none.lldist = nullptr;
    CaseEditorController without(dict, app, *store, presenter, none);
    presenter.messages.clear();
    ASSERT_TRUE(without.openInitialCase());
    // What the first open said (the codes this edition does not offer), and
    // nothing more.
    ASSERT_EQ(presenter.messages.size(), loadMessages.size()) << lastText();
    for (std::size_t i = 0; i < loadMessages.size(); ++i) EXPECT_EQ(presenter.messages[i].text, loadMessages[i].text);
    EXPECT_EQ(without.table().rowCount(), 7);
}

// Ctrl+Tab and Ctrl+Shift+Tab go round the four pages.
TEST_F(Workspace, NeighbourPagesGoRoundTheEnds) {
    const int forward[] = {2, 3, 4, 1};
    const int back[] = {4, 1, 2, 3};
    for (int page = 1; page <= 4; ++page) {
        ed->state.currentPage = page;
        EXPECT_EQ(ed->neighbourPage(1), forward[page - 1]) << "from page " << page;
        EXPECT_EQ(ed->neighbourPage(-1), back[page - 1]) << "from page " << page;
    }
}

// The sample was written with codes this edition does not offer: the load
// says so, and the first save writes the defaults. From then on a save and a
// reopen give the same bytes.
TEST_F(Workspace, SaveReopenGivesTheSameBytes) {
    ASSERT_EQ(loadMessages.size(), 1u);
    EXPECT_EQ(loadMessages[0].title, "Open Data File");
    EXPECT_NE(loadMessages[0].text.find("Antenna Rejection: 4"), std::string::npos) << loadMessages[0].text;
    ed->fileSave();
    const std::string first = readBytes(data("SampleILS.dat"));
    browse = std::make_pair(app.DataFolder, std::string("SampleILS.dat"));
    ed->fileOpen();
    EXPECT_EQ(presenter.messages.size(), 0u) << lastText();
    EXPECT_FALSE(ed->state.modified);
    ed->fileSave();
    EXPECT_EQ(readBytes(data("SampleILS.dat")), first);
}

// A pending value that fails its check stops every command before it writes.
TEST_F(Workspace, CommandsStopOnAPendingValueThatFailsItsCheck) {
    const std::string before = readBytes(data("SampleILS.dat"));
    auto& p = ed->pages();
    ASSERT_TRUE(ed->selectPage(4));
    const int angle = p.gridAngleField;
    p.gotFocus(p.gridTypeField);
    p.listClick(p.gridTypeField, 5 - 1);  // a user heading: the angle is enabled
    p.CommitFieldEdit();
    p.gotFocus(angle);
    std::int16_t k = '9';
    p.keyPress(angle, k);
    p.textChanged(angle, "999");
    for (auto command :
         {&CaseEditorController::fileSave, &CaseEditorController::fileRun, &CaseEditorController::fileAuto,
          &CaseEditorController::ExitEditor, &CaseEditorController::fileSaveAs}) {
        presenter.messages.clear();
        saveAsPath = data("Other.dat").string();
        (ed.get()->*command)();
        ASSERT_EQ(presenter.messages.size(), 1u);
        EXPECT_EQ(presenter.messages[0].title, "Input Error");
        EXPECT_FALSE(ed->closed);
    }
    EXPECT_FALSE(ed->selectPage(1));
    EXPECT_EQ(ed->state.currentPage, 4);
    EXPECT_EQ(readBytes(data("SampleILS.dat")), before);
    EXPECT_FALSE(fs::exists(data("Other.dat")));
}

TEST_F(Workspace, ExitAsksAboutUnsavedChanges) {
    const std::string before = readBytes(data("SampleILS.dat"));
    changeSite("ELSEWHERE");
    presenter.answers = {MessageAnswer::Cancel};
    ed->ExitEditor();
    EXPECT_FALSE(ed->closed);
    ASSERT_EQ(presenter.messages.size(), 1u);
    EXPECT_EQ(presenter.messages[0].text, " Save data file before exiting? ");
    EXPECT_EQ(presenter.messages[0].title, "Exit Editor");
    EXPECT_EQ(presenter.messages[0].buttons, crv::common::MessageButtons::YesNoCancel);
    presenter.answers = {MessageAnswer::No};
    ed->ExitEditor();
    EXPECT_TRUE(ed->closed);
    EXPECT_EQ(ed->exitCode, kExit);
    EXPECT_EQ(readBytes(data("SampleILS.dat")), before);
}

TEST_F(Workspace, RunWithoutProponentAsksToResume) {
    ASSERT_TRUE(ed->selectPage(3));
    ed->propToggle();  // some are proponents: all become proponents
    EXPECT_EQ(ed->toggleCaption(), "&All Proponent -> Non-Proponent");
    ed->propToggle();  // none is a proponent now
    EXPECT_EQ(ed->table().proponentCount(), 0);
    presenter.messages.clear();
    presenter.answers = {MessageAnswer::Yes};
    ed->fileRun();
    ASSERT_EQ(presenter.messages.size(), 1u);
    EXPECT_EQ(presenter.messages[0].text,
              " Errors in SampleILS.dat: \r\r No proponent selected. \r\r Resume editing this file? ");
    EXPECT_EQ(presenter.messages[0].title, "Warning");
    EXPECT_FALSE(ed->closed);
    EXPECT_EQ(ed->exitCode, kStayOpen);
    // The file is written, without the checked mark.
    EXPECT_EQ(readBytes(data("SampleILS.dat")).find('\x7f'), std::string::npos);
    presenter.answers = {MessageAnswer::No};
    ed->fileRun();
    EXPECT_TRUE(ed->closed);
    EXPECT_EQ(ed->exitCode, kExit);
    // Save shows the same list once, with an OK button.
    ed->closed = false;
    presenter.messages.clear();
    ed->fileSave();
    ASSERT_EQ(presenter.messages.size(), 1u);
    EXPECT_EQ(presenter.messages[0].buttons, crv::common::MessageButtons::Ok);
    EXPECT_EQ(presenter.messages[0].text, " Errors in SampleILS.dat: \r\r No proponent selected. ");
}

TEST_F(Workspace, RunWithACleanCaseClosesWithTwo) {
    ed->fileRun();
    EXPECT_TRUE(ed->closed);
    EXPECT_EQ(ed->exitCode, kRun);
    ed->closed = false;
    ed->fileAuto();
    EXPECT_EQ(ed->exitCode, kRunAndPrint);
}

// A save that cannot write keeps the case modified and stops Run and Exit.
TEST_F(Workspace, FailedSaveKeepsModifiedAndStopsRunAndExit) {
    changeSite("ELSEWHERE");
    // A folder where the case file was: no write can replace it, even root's.
    fs::remove(data("SampleILS.dat"));
    fs::create_directories(data("SampleILS.dat") / "x");
    presenter.messages.clear();
    ed->fileRun();
    EXPECT_FALSE(ed->closed);
    EXPECT_TRUE(ed->state.modified);
    ASSERT_FALSE(presenter.messages.empty());
    EXPECT_EQ(presenter.messages.back().title, "CRV Error");
    presenter.answers = {MessageAnswer::Yes};
    ed->ExitEditor();
    EXPECT_FALSE(ed->closed);
    // Save As into a folder that is not there fails too: name, folder and
    // recent list stay.
    saveAsPath = (dir / "Gone" / "Renamed.dat").string();
    ed->fileSaveAs();
    EXPECT_EQ(app.CaseFile, "SampleILS.dat");
    EXPECT_NE(app.RecentFiles[0], saveAsPath);
    EXPECT_EQ(ed->caption(), " CRV Data Editor -- SampleILS.dat");
}

TEST_F(Workspace, SaveAsRenamesOnlyAfterTheWrite) {
    saveAsPath = "";
    ed->fileSaveAs();
    EXPECT_EQ(app.CaseFile, "SampleILS.dat");
    fs::create_directories(dir / "Other");
    saveAsPath = (dir / "Other" / "Copy.dat").string();
    ed->fileSaveAs();
    EXPECT_EQ(app.CaseFile, "Copy.dat");
    EXPECT_EQ(app.DataFolder, (dir / "Other").string() + "/");
    EXPECT_EQ(app.RecentFiles[0], saveAsPath);
    EXPECT_EQ(ed->caption(), " CRV Data Editor -- Copy.dat");
    EXPECT_EQ(readBytes(saveAsPath).substr(0, 60), readBytes(data("SampleILS.dat")).substr(0, 60));
}

// Open reads the whole file before anything changes.
TEST_F(Workspace, AFailedOpenKeepsTheOpenCase) {
    {
        std::ofstream bad(data("Broken.dat"), std::ios::binary);
        bad << "CRV Version 5.0.6\r\n QKV 275 108.100\r\n QKAA    106.100  39 21 18\r\n";
    }
    changeSite("KEPT");
    ASSERT_TRUE(ed->pages().CommitFieldEdit());
    browse = std::make_pair(app.DataFolder, std::string("Broken.dat"));
    presenter.answers = {MessageAnswer::No};
    ed->fileOpen();
    ASSERT_EQ(presenter.messages.size(), 2u);
    EXPECT_EQ(presenter.messages[0].text, " Save current data file before opening new file? ");
    EXPECT_EQ(presenter.messages[0].title, "Open Data File");
    EXPECT_EQ(presenter.messages[1].title, "Open Data File");
    EXPECT_EQ(app.CaseFile, "SampleILS.dat");
    EXPECT_EQ(ed->pages().model().field(ed->pages().siteField).text, "KEPT");
    EXPECT_TRUE(ed->state.modified);
    EXPECT_EQ(ed->table().rowCount(), 7);
    EXPECT_EQ(app.RecentFiles[0], app.DataFolder + "SampleILS.dat");
    // A second Open reuses the browser's last folder.
    ed->fileOpen();
    EXPECT_EQ(reloads, (std::vector<bool>{false, true}));
}

TEST_F(Workspace, OpenAndRecentEntriesSwitchCases) {
    browse = std::make_pair(app.DataFolder, std::string("SampleVOR.dat"));
    ed->fileOpen();
    EXPECT_EQ(app.CaseFile, "SampleVOR.dat");
    EXPECT_EQ(ed->caption(), " CRV Data Editor -- SampleVOR.dat");
    // The recent entries show files of the Data Folder by name alone.
    const auto captions = ed->recentCaptions();
    ASSERT_GE(captions.size(), 2u);
    EXPECT_EQ(captions[0], "SampleVOR.dat");
    EXPECT_EQ(captions[1], "SampleILS.dat");
    ed->fileRecent(1);
    EXPECT_EQ(app.CaseFile, "SampleILS.dat");
    EXPECT_EQ(ed->state.currentPage, 1);
}

TEST_F(Workspace, RowCommandsAndTheirConfirmations) {
    ASSERT_TRUE(ed->selectPage(3));
    auto& t = ed->table();
    ed->deleteTagged();
    EXPECT_EQ(lastText(), " No rows are tagged ");
    EXPECT_EQ(presenter.messages.back().title, "Delete Canceled");
    EXPECT_EQ(t.rowCount(), 7);
    ed->tagAll();
    ed->invertTags();
    EXPECT_FALSE(t.tagged(1));
    t.setTagged(2, true);
    t.setTagged(3, true);
    presenter.answers = {MessageAnswer::Cancel};
    ed->deleteTagged();
    EXPECT_EQ(t.rowCount(), 7);
    ed->deleteTagged();
    EXPECT_EQ(lastText(), " Delete all tagged rows? ");
    EXPECT_EQ(t.rowCount(), 5);
    EXPECT_TRUE(ed->state.modified);
    // Deleting every row leaves one row of defaults.
    ed->tagAll();
    ed->deleteTagged();
    ASSERT_EQ(t.rowCount(), 1);
    EXPECT_EQ(t.cell(1, 1), "XXXX   ");
    ed->deleteRow();
    EXPECT_EQ(lastText(), " Delete the current row? ");
    EXPECT_EQ(t.rowCount(), 1);
    ed->insertRow();
    EXPECT_EQ(t.rowCount(), 2);
    EXPECT_EQ(ed->tableEditor().currentRow(), 2);
    EXPECT_TRUE(ed->state.checkDue);
    EXPECT_TRUE(ed->state.imodsEnabled);
}

TEST_F(Workspace, ProponentCommandsLeaveIgnoredRowsAlone) {
    ASSERT_TRUE(ed->selectPage(3));
    auto& t = ed->table();
    int ignored = 0;
    for (int r = 1; r <= t.rowCount(); ++r) ignored += (t.flags(r) & RowIgnored) ? 1 : 0;
    ASSERT_GT(ignored, 0);
    ed->propToggle();
    for (int r = 1; r <= t.rowCount(); ++r) EXPECT_TRUE(t.flags(r) & (RowProponent | RowIgnored)) << r;
    t.setTagged(1, true);
    ed->propTagged("I");
    EXPECT_TRUE(t.flags(1) & RowIgnored);
    EXPECT_FALSE(t.tagged(1));
    EXPECT_EQ(t.cell(1, t.proponentColumn()), "I");
}

// The page switch runs a due check and keeps the user on the RF sources when
// it fails.
TEST_F(Workspace, FailedCheckKeepsTheRfSourcePage) {
    ASSERT_TRUE(ed->selectPage(3));
    auto& te = ed->tableEditor();
    ASSERT_TRUE(te.setCurrent(1, 2));
    presenter.answers = {MessageAnswer::Yes};
    std::int16_t k = 13;
    ASSERT_EQ(te.tableKey(k), TableKey::OpenEditor);
    te.editorGotFocus();
    te.editorTextChanged("999");  // out of range: refused, the editor stays
    EXPECT_FALSE(ed->selectPage(1));
    EXPECT_EQ(presenter.messages.back().title, "Input Error");
    EXPECT_EQ(ed->state.editState, 2);
    te.editorGotFocus();
    std::int16_t esc = 27;
    te.editorKey(esc);
    EXPECT_EQ(ed->state.editState, 0);
    // A proponent with an out-of-range elevation: the check fails.
    int prop = 0;
    for (int r = 1; r <= ed->table().rowCount() && !prop; ++r)
        if (ed->table().flags(r) & RowProponent) prop = r;
    ASSERT_TRUE(te.setCurrent(prop, 6));
    te.tableKey(13);
    te.editorGotFocus();
    te.editorTextChanged("0");
    // Committed as typed? No: 0 is below the minimum of 1, so it is refused.
    EXPECT_FALSE(te.CommitCellEdit());
    te.editorGotFocus();
    esc = 27;
    te.editorKey(esc);
    EXPECT_EQ(ed->state.editState, 0);
    ed->table().commitCell(prop, 5, "999.0000");  // beyond 500 kW, as a file may hold
    ed->table().CheckRowRanges(prop);
    ed->state.checkDue = true;
    presenter.messages.clear();
    presenter.answers = {MessageAnswer::No};
    EXPECT_FALSE(ed->selectPage(1));
    EXPECT_EQ(ed->state.currentPage, 3);
    ASSERT_EQ(presenter.messages.size(), 1u);
    EXPECT_EQ(presenter.messages[0].title, "Data Check") << presenter.messages[0].text;
    EXPECT_TRUE(ed->state.dummyEnabled);
    presenter.answers = {MessageAnswer::Ok};
    ed->useDummyValues();
    EXPECT_EQ(ed->table().cell(prop, 5), "111.1111");
    EXPECT_FALSE(ed->state.dummyEnabled);
    EXPECT_TRUE(ed->selectPage(1));
}

// Row operations close the cell edit first; one that fails its check stops them.
TEST_F(Workspace, RowCommandsCommitTheCellEditFirst) {
    ASSERT_TRUE(ed->selectPage(3));
    auto& te = ed->tableEditor();
    ASSERT_TRUE(te.setCurrent(2, 6));
    ASSERT_EQ(te.tableKey('0'), TableKey::OpenEditor);
    te.editorGotFocus();
    EXPECT_EQ(te.box().value, "0");
    const int rows = ed->table().rowCount();
    for (auto command :
         {&CaseEditorController::insertRow, &CaseEditorController::deleteRow, &CaseEditorController::sortRows,
          &CaseEditorController::tagAll, &CaseEditorController::propToggle}) {
        presenter.messages.clear();
        (ed.get()->*command)();
        ASSERT_EQ(presenter.messages.size(), 1u);
        EXPECT_EQ(presenter.messages[0].title, "Input Error");
        EXPECT_EQ(ed->table().rowCount(), rows);
        EXPECT_FALSE(ed->table().tagged(1));
        te.editorGotFocus();  // the editor is entered again on the same cell
        EXPECT_EQ(te.currentRow(), 2);
    }
    // A valid value is committed, then the command runs.
    te.editorTextChanged("1200");
    ed->insertRow();
    EXPECT_EQ(ed->table().cell(2, 6), " 1200");
    EXPECT_EQ(ed->table().rowCount(), rows + 1);
    EXPECT_EQ(te.currentRow(), 3);
}
