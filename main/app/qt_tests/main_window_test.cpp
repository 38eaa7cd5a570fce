// The main window of both editions: start-up, menu rules, the animated
// picture, the New Proponent loop through the real dialogs with a scripted
// run controller, and closing during an engine call.
#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>

#include <filesystem>
#include <fstream>

#include "crv/common/ui/qt/message_presenter.h"
#include "crv/common/ui/qt/recent_files_menu.h"
#include "crv/main/app/qt/program.h"
#include "crv/main/app/qt/service_volume_view.h"
#include "crv/main/dialogs/qt/box_edit.h"
#include "crv/main/dialogs/qt/dialog_runner.h"
#include "crv/main/dialogs/qt/frm_nav_sel.h"
#include "crv/main/dialogs/qt/frm_prop_data.h"
#include "crv/main/dialogs/qt/frm_prop_sel.h"
#include "crv/testing/files.h"
#include "crv/testing/qt/recording_presenter.h"
#include "crv/testing/qt/snapshot.h"

using namespace crv::main;
using namespace crv::main::qt;
using crv::resources::Edition;
using crv::testing::RecordingPresenter;
using crv::testing::saveSnapshot;
using crv::testing::writeLines;

namespace {

std::string fmLine(const std::string& call, const std::string& freq) {
    std::string l(90, ' ');
    l.replace(1, call.size(), call);
    l.replace(9, 7, freq);
    l.replace(17, 9, " 39 20 15");
    l.replace(27, 10, "  77 45 40");
    l.replace(38, 14, " 50.0000   500");
    l.replace(53, 9, "FREDERICK");
    l.replace(84, 2, "MD");
    l.replace(87, 3, "LIC");
    return l;
}

// A run controller that writes what the real one would leave behind.
struct ScriptedRun : RunControl {
    crv::common::AppState* state = nullptr;
    std::vector<std::string> calls;
    std::vector<int> proponentCounts{0, 2};
    std::function<void()> duringRun;
    void SearchForProponents(float, float, float, std::int32_t& count) override {
        calls.push_back("SearchForProponents");
        count = proponentCounts.empty() ? 0 : proponentCounts.front();
        if (!proponentCounts.empty()) proponentCounts.erase(proponentCounts.begin());
        if (count > 0)
            writeLines(state->TempFolder + "RfiSrch1.tmp", {fmLine("WAAA-FM", " 99.100"), fmLine("WBBB", "101.500")});
    }
    void SearchForNavaids(std::int32_t& count) override {
        calls.push_back("SearchForNavaids " + state->ProponentRecord.substr(1, 4));
        std::string nav(136, ' ');
        nav.replace(1, 3, "IFR");
        nav.replace(9, 7, "110.100");
        nav.replace(17, 9, " 39 20 15");
        nav.replace(27, 10, "  77 45 40");
        nav.replace(57, 2, " 0");
        nav.replace(73, 9, "FREDERICK");
        writeLines(state->OutputFolder + "nav@PROP.plt", {"CRV Version 5.0.6", nav, " $$$", state->ProponentRecord});
        count = 1;
    }
    void SearchForRFSources(std::int32_t& count) override {
        calls.push_back("SearchForRFSources " + state->NavaidRecord.substr(1, 3));
        state->CaseFile = "new.dat";
        count = 3;
    }
    void RunSimulation(const std::string&, const std::string& file) override {
        calls.push_back("RunSimulation " + file);
        if (duringRun) duringRun();
    }
    void PrintResults(const std::string&) override { calls.push_back("PrintResults"); }
    void requestCancel() override { calls.push_back("requestCancel"); }
};

}  // namespace

class MainWindowTest : public QObject {
    Q_OBJECT
    QTemporaryDir dir;
    RecordingPresenter presenter;

    std::string root() const { return dir.path().toStdString() + "/"; }

    std::unique_ptr<Program> makeProgram(Edition edition, const std::string& settings) {
        const std::string path = root() + "settings-" + std::to_string(counter++) + ".ini";
        std::ofstream(path) << settings;
        return std::make_unique<Program>(edition, presenter, path);
    }
    int counter = 0;

private slots:
    void initTestCase() {
        qputenv("XDG_DATA_HOME", dir.path().toLocal8Bit() + "/data");
        crv::common::ui::setAppPresenter(&presenter);
    }
    void init() {
        presenter.messages.clear();
        presenter.answers.clear();
        clearDialogScripts();
    }

    void startupWithAnEmptySettingsFile_data() {
        QTest::addColumn<int>("edition");
        QTest::newRow("field") << int(Edition::Field);
        QTest::newRow("scientific") << int(Edition::Scientific);
    }
    void startupWithAnEmptySettingsFile() {
        QFETCH(int, edition);
        const bool sci = edition == int(Edition::Scientific);
        auto program = makeProgram(Edition(edition), "");
        program->start();
        auto& w = program->window();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QCOMPARE(program->state.ModelType, std::string(sci ? "SCI" : "FLD"));
        QCOMPARE(program->store.get("General", "Model Type", ""), std::string(sci ? "SCI" : "FLD"));
        QCOMPARE(w.action("mnuToolsCalDat")->isVisible(), sci);
        QCOMPARE(w.windowTitle(), QStringLiteral(" Corvane 5.0"));
        QVERIFY(presenter.messages.empty());  // nothing to warn about on a first run
        QVERIFY(w.AnimationEnabled());
        // Default folders under the data home, created.
        QVERIFY(std::filesystem::is_directory(program->state.OutputFolder));
        // Navaid > Select Navaid is greyed without a navaid search file.
        emit w.navMenu()->aboutToShow();
        QVERIFY(!w.action("mnuNavSelect")->isEnabled());
        writeLines(program->state.OutputFolder + "nav@ABCD.plt", {"CRV Version 5.0.6"});
        emit w.navMenu()->aboutToShow();
        QVERIFY(w.action("mnuNavSelect")->isEnabled());
        std::filesystem::remove(program->state.OutputFolder + "nav@ABCD.plt");

        // The picture turns only while the window is active.
        w.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&w));
        QVERIFY(w.picture()->running());
        for (int i = 0; i < 30; ++i) w.picture()->tick();
        QVERIFY(w.picture()->showsFrame());
        QCOMPARE(w.picture()->outlinePointCount(), 101);
        saveSnapshot(&w, sci ? "main/frmMainMenu_sci" : "main/frmMainMenu_fld");
        // The Tools menu: the calibration tool only in the scientific edition.
        QMenu* tools = w.action("mnuToolsPaths")->associatedObjects().isEmpty()
                           ? nullptr
                           : qobject_cast<QMenu*>(w.action("mnuToolsPaths")->associatedObjects().first());
        QVERIFY(tools);
        tools->popup(w.mapToGlobal(QPoint(0, 0)));
        QVERIFY(QTest::qWaitForWindowExposed(tools));
        saveSnapshot(tools, sci ? "main/frmMainMenu_tools_sci" : "main/frmMainMenu_tools_fld");
        tools->hide();
        w.setAnimationEnabled(false);
        QVERIFY(!w.picture()->running());
        QVERIFY(!w.picture()->showsFrame());
        w.close();
        QCOMPARE(program->store.get("General", "Animation", ""), std::string("OFF"));
    }

    void startupWithTheDatabasesMissing() {
        auto program =
            makeProgram(Edition::Field, "[Paths]\nFCC Database=" + root() + "gone/FMALL.dat\nQVA Database=" + root() +
                                            "gone/A108M118.dat\n");
        program->start();
        QCOMPARE(presenter.messages.size(), size_t(1));
        const auto& m = presenter.messages[0];
        QCOMPARE(m.title, std::string("Warning"));
        QVERIFY(m.text.find("FM Station Database:  " + root() + "gone/FMALL.dat") != std::string::npos);
        QVERIFY(m.text.find("Navaid Database:") != std::string::npos);
        QVERIFY(m.text.find("VHF COM") == std::string::npos);
        QCOMPARE(program->store.get("Paths", "FCC Database", "?"), std::string());
        // A new case then stops at the database check.
        program->window().action("mnuFileNew")->trigger();
        QCOMPARE(presenter.messages.size(), size_t(2));
        QCOMPARE(presenter.messages[1].title, std::string("Warning"));
        program->window().close();
    }

    void entriesNotWiredAreReportedAsErrors() {
        auto program = makeProgram(Edition::Scientific, "");
        program->start();
        program->window().action("mnuToolsCalDat")->trigger();
        program->window().action("mnuToolsPlotPar")->trigger();
        QCOMPARE(presenter.messages.size(), size_t(2));
        QCOMPARE(presenter.messages[0].text,
                 std::string(" This program was built without the calibration data editor. "));
        program->window().action("mnuHelpAbout")->trigger();
        QCOMPARE(presenter.messages.back().title, std::string(" About CRV_Sci"));
        // A failure inside a command ends it with a message, not the program.
        program->entries.EditRcvrTestPts = [] { throw std::runtime_error("no such file"); };
        program->window().action("mnuToolsSimPts")->trigger();
        QCOMPARE(presenter.messages.back().title, std::string("CRV Error"));
        QVERIFY(presenter.messages.back().text.find("mnuToolsSimPts") != std::string::npos);
        QVERIFY(program->window().action("mnuFileNew")->isEnabled());
        program->window().close();
    }

    void recentEntriesOpenTheirCase() {
        auto program = makeProgram(Edition::Field, "");
        std::vector<std::string> opened;
        program->entries.EditDataFile = [&](std::int32_t& result) {
            opened.push_back(program->state.DataFolder + "|" + program->state.CaseFile);
            result = 1;
        };
        program->start();
        auto& w = program->window();
        const std::string other = root() + "other/";
        std::filesystem::create_directories(other);
        std::ofstream(other + "R&D.dat") << "x\n";
        std::ofstream(program->state.DataFolder + "inside.dat") << "x\n";
        crv::common::ui::AddRecentFile(program->state, other + "R&D.dat", program->store);
        crv::common::ui::AddRecentFile(program->state, program->state.DataFolder + "inside.dat", program->store);
        QVERIFY(w.action("mnuFileRecent1")->isVisible());
        QCOMPARE(w.action("mnuFileRecent1")->text(), QStringLiteral("inside.dat"));  // shown inside the data folder
        QCOMPARE(w.action("mnuFileRecent2")->text(), QString::fromStdString(other + "R&&D.dat"));
        QVERIFY(!w.action("mnuFileRecent3")->isVisible());
        const std::string dataFolder = program->state.DataFolder;
        w.action("mnuFileRecent2")->trigger();
        QCOMPARE(opened.front(), other + "|R&D.dat");
        QCOMPARE(program->store.get("Paths", "Data Folder", ""), other);
        w.close();
    }

    void newProponentLoopThroughTheDialogs() {
        const std::string db = root() + "db/";
        std::filesystem::create_directories(db);
        for (const char* f : {"FMALL.dat", "A108M118.dat"}) std::ofstream(db + f) << "x\n";
        auto program =
            makeProgram(Edition::Scientific, "[Paths]\nFCC Database=" + db + "FMALL.dat\nQVA Database=" + db +
                                                 "A108M118.dat\nUse QVA DB=1\n");
        ScriptedRun run;
        run.state = &program->state;
        program->setRunControl(run);
        program->rules.CheckNavaidDistance = [](int, double, double, double, const std::string&) { return true; };
        program->rules.GetAntennaType = [](const std::string&) { return 0; };
        std::vector<std::string> edits;
        program->entries.EditDataFile = [&](std::int32_t& result) {
            edits.push_back(program->state.CaseFile);
            result = 2;  // run
        };
        program->start();
        program->state.TempFolder = root();
        auto& w = program->window();
        QVERIFY(QTest::qWaitForWindowExposed(&w));

        // 1: a database search that finds nothing; 2: one that finds two, then
        // "Manual" in the list; 3: manual entry of the proponent.
        pushDialogScript([](QDialog& d) { static_cast<frmPropData&>(d).okButton()->click(); });
        pushDialogScript([](QDialog& d) { static_cast<frmPropData&>(d).okButton()->click(); });
        pushDialogScript([](QDialog& d) {
            saveSnapshot(&d, "main/workflow_frmPropSel");
            static_cast<frmPropSel&>(d).manualButton()->click();
        });
        pushDialogScript([](QDialog& d) {
            auto& f = static_cast<frmPropData&>(d);
            QVERIFY(f.methodOption(2)->isChecked());  // back in manual entry
            QTest::keyClicks(f.edit(ProponentEntryModel::Frequency), "101.5");
            f.okButton()->click();
        });
        pushDialogScript([](QDialog& d) {
            saveSnapshot(&d, "main/workflow_frmNavSel");
            static_cast<frmNavSel&>(d).okButton()->click();
        });
        run.duringRun = [&] {
            // While the engine runs nothing else may start one.
            QVERIFY(!w.action("mnuFileNew")->isEnabled());
            QVERIFY(!w.action("mnuSimRun")->isEnabled());
            QVERIFY(!w.action("mnuNavManual")->isEnabled());
        };
        w.action("mnuFileNew")->trigger();
        QCOMPARE(pendingDialogScripts(), 0);
        QCOMPARE(run.calls,
                 (std::vector<std::string>{"SearchForProponents", "SearchForProponents", "SearchForNavaids PROP",
                                           "SearchForRFSources IFR", "RunSimulation new.dat"}));
        QCOMPARE(edits, std::vector<std::string>{"new.dat"});
        QVERIFY(!std::filesystem::exists(root() + "RfiSrch1.tmp"));
        QCOMPARE(w.resultsMenuOpenings(), 1);
        QVERIFY(w.action("mnuFileNew")->isEnabled());
        QCoreApplication::processEvents();
        QCOMPARE(w.fileMenu()->activeAction(), w.action("mnuFileResults"));
        QVERIFY(w.fileMenu()->isVisible());
        saveSnapshot(w.fileMenu(), "main/frmMainMenu_after_run");
        w.fileMenu()->hide();

        // Closing during a run: the run is asked to stop and the window goes after it.
        run.calls.clear();
        program->entries.ShowFiles = [&](int, bool) {
            return FileSelection{program->state.DataFolder, "a.dat|b.dat", 2};
        };
        run.duringRun = [&] { QVERIFY(!w.close()); };
        w.action("mnuSimRun")->trigger();
        QCOMPARE(run.calls, (std::vector<std::string>{"RunSimulation a.dat", "requestCancel"}));
        QTRY_VERIFY(!w.isVisible());
    }
};

QTEST_MAIN(MainWindowTest)
#include "main_window_test.moc"
