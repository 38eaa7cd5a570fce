// The new-case workflow end to end: the real dialogs driven by keys and
// clicks, the run controller and the engine library, on the sample workspace
// that crv_sample writes. Modal dialogs run from scripts; nothing sleeps.
#include <QAction>
#include <QDir>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>

#include <filesystem>
#include <fstream>

#include "crv/binding/engine_library.h"
#include "crv/common/ui/qt/frm_progress.h"
#include "crv/common/ui/qt/message_presenter.h"
#include "crv/editors/case_file.h"
#include "crv/editors/field_dictionary.h"
#include "crv/main/app/qt/program.h"
#include "crv/main/app/qt/run_questions.h"
#include "crv/main/app/qt/run_wiring.h"
#include "crv/main/dialogs/qt/box_edit.h"
#include "crv/main/dialogs/qt/dialog_runner.h"
#include "crv/main/dialogs/qt/frm_nav_data.h"
#include "crv/main/dialogs/qt/frm_nav_sel.h"
#include "crv/main/dialogs/qt/frm_prop_data.h"
#include "crv/main/dialogs/qt/frm_prop_sel.h"
#include "crv/main/dialogs/qt/frm_srch_par.h"
#include "crv/main/dialogs/qt/selection_list.h"
#include "crv/platform/text_file.h"
#include "crv/testing/qt/recording_presenter.h"
#include "crv/testing/qt/snapshot.h"

using namespace crv::main;
using namespace crv::main::qt;
using crv::resources::Edition;
using crv::testing::RecordingPresenter;
using crv::testing::saveSnapshot;

namespace {

// Types a position into a masked box the way a person does: hemisphere
// letter, then the digits from the first place on.
void typePosition(crv::common::ui::FieldEdit* box, const char* keys) {
    box->setFocus();
    box->setCursorPosition(2);
    QTest::keyClicks(box, keys);
}

int rowHolding(QAbstractItemModel* model, const QString& text) {
    for (int r = 0; r < model->rowCount(); ++r)
        if (model->data(model->index(r, 0)).toString().contains(text)) return r;
    return -1;
}

}  // namespace

class WorkflowE2E : public QObject {
    Q_OBJECT
    QTemporaryDir dir;
    RecordingPresenter presenter;
    std::string ws;
    std::string settings;

    std::unique_ptr<Program> program;
    std::unique_ptr<RunWiring> wiring;
    std::vector<std::string> edited;

    void startProgram(Edition edition) {
        qputenv("CRV_EDITION", edition == Edition::Scientific ? "SCI" : "FLD");
        program = std::make_unique<Program>(edition, presenter, settings);
        wiring = std::make_unique<RunWiring>(*program, crv::binding::sharedEngine());
        wiring->progress().setPause([](std::chrono::milliseconds) {});
        wiring->questions().setSaveChooser([this](const crv::main::run::SaveFileRequest& r) {
            return r.initialDir + (program->state.ModelType == "SCI" ? "E2E.dat" : "E2EMAN.dat");
        });
        // The case editor's part: the new case passes its check, is saved
        // with the checked mark, and the editor is left with Run.
        program->entries.EditDataFile = [this, edition](std::int32_t& result) {
            edited.push_back(program->state.CaseFile);
            const auto dictionary = crv::editors::FieldDictionary::forEdition(edition);
            const std::string path = program->state.DataFolder + program->state.CaseFile;
            auto data = crv::editors::LoadDataFile(path, dictionary);
            QVERIFY2(data.has_value(), data.has_value() ? "" : data.error().c_str());
            auto saved = crv::editors::SaveDataFile(path, *data, dictionary, true);
            QVERIFY2(saved.has_value(), saved.has_value() ? "" : saved.error().c_str());
            result = 2;
        };
        program->start();
        QVERIFY(QTest::qWaitForWindowExposed(&program->window()));
    }

private slots:
    void initTestCase() {
        ws = dir.path().toStdString() + "/ws/";
        QProcess sample;
        sample.start(QStringLiteral(CRV_BIN_DIR "crv_sample"), {QString::fromStdString(ws)});
        QVERIFY(sample.waitForFinished(120000));
        QCOMPARE(sample.exitCode(), 0);
        settings = dir.path().toStdString() + "/settings.ini";
        std::ofstream(settings) << "[Paths]\nFCC Database=" << ws << "db/FMALL.dat\nQVA Database=" << ws
                                << "db/A108M118.dat\nUse QVA DB=1\nCOM Database=" << ws
                                << "db/G118M136.dat\nUse COM DB=1\nData Folder=" << ws << "Data/\nOutput Folder=" << ws
                                << "Output/\nUser Folder=" << ws << "User/\n";
        // The engine reads the same settings file as the program.
        qputenv("CORVANE_SETTINGS", QByteArray::fromStdString(settings));
        qputenv("XDG_DATA_HOME", dir.path().toLocal8Bit() + "/data");
        // The engine's fixed search file names live in the temporary folder:
        // one of our own, so tests running side by side never share them.
        QDir().mkpath(dir.path() + QStringLiteral("/tmp"));
        qputenv("TMPDIR", dir.path().toLocal8Bit() + "/tmp");
        crv::common::ui::setAppPresenter(&presenter);
    }

    void init() {
        presenter.messages.clear();
        clearDialogScripts();
        edited.clear();
    }

    void cleanup() {
        if (program) program->window().close();
        wiring.reset();
        program.reset();
    }

    void newCaseFromTheDatabases() {
        startProgram(Edition::Scientific);
        // The site of the sample localizer, 15 nmi around it.
        pushDialogScript([](QDialog& d) {
            auto& f = static_cast<frmPropData&>(d);
            d.activateWindow();
            typePosition(f.edit(ProponentEntryModel::Latitude), "N392015");
            typePosition(f.edit(ProponentEntryModel::Longitude), "W0774540");
            auto* radius = f.edit(ProponentEntryModel::SearchRadius);
            radius->setFocus();
            radius->selectAll();
            QTest::keyClicks(radius, "15");
            saveSnapshot(&d, "main/e2e_frmPropData");
            f.okButton()->click();
        });
        pushDialogScript([](QDialog& d) {
            auto& f = static_cast<frmPropSel&>(d);
            QVERIFY(f.list()->model()->rowCount() > 0);
            saveSnapshot(&d, "main/e2e_frmPropSel");
            f.okButton()->click();
        });
        pushDialogScript([](QDialog& d) {
            auto& f = static_cast<frmNavSel&>(d);
            const int row = rowHolding(f.list()->model(), QStringLiteral("* QKV"));
            QVERIFY(row >= 0);  // the sample localizer, marked as inside
            f.list()->selectRow(row);
            saveSnapshot(&d, "main/e2e_frmNavSel");
            f.okButton()->click();
        });
        pushDialogScript([](QDialog& d) {
            saveSnapshot(&d, "main/e2e_frmSrchPar");
            static_cast<frmSrchPar&>(d).okButton()->click();
        });
        program->window().action(QStringLiteral("mnuFileNew"))->trigger();
        QCOMPARE(pendingDialogScripts(), 0);
        QCOMPARE(edited, std::vector<std::string>{"E2E.dat"});
        const auto caseLines = crv::platform::readTextLines(ws + "Data/E2E.dat");
        QVERIFY(caseLines);
        QCOMPARE(caseLines->at(0), std::string("CRV Version 5.0.6"));
        QCOMPARE(caseLines->at(1).substr(1, 3), std::string("QKV"));
        // Run from the editor: the report of the new case, then the results.
        QVERIFY(std::filesystem::exists(ws + "Output/Rfi.txt"));
        QVERIFY(std::filesystem::exists(ws + "Output/Rfi.plt"));
        QVERIFY(std::filesystem::exists(ws + "Output/fm@QKV.plt"));  // the search files are kept
        QCOMPARE(program->window().resultsMenuOpenings(), 1);
        std::vector<std::string> shown;
        int browsed = 0;
        std::vector<int> kinds;
        program->entries.ShowFiles = [&](int kind, bool) {
            kinds.push_back(kind);
            return ++browsed == 1 ? FileSelection{ws + "Output/", "Rfi.txt", 3} : FileSelection{};
        };
        program->entries.DisplayReports = [&](const std::string& d, const std::string& f, bool) {
            shown.push_back(d + f);
        };
        program->window().action(QStringLiteral("mnuFileResults"))->trigger();
        QCOMPARE(shown, std::vector<std::string>{ws + "Output/Rfi.txt"});
        QCOMPARE(kinds, (std::vector<int>{3, 3}));  // reports first, then the browser again
        // The asterisk note of the scientific list came once.
        int notes = 0;
        for (const auto& m : presenter.messages)
            if (m.text.find("marked with an asterisk") != std::string::npos) ++notes;
        QCOMPARE(notes, 1);
    }

    void runTheSampleCaseAndOpenItsReport() {
        startProgram(Edition::Scientific);
        std::vector<std::string> shown;
        int browsed = 0;
        program->entries.ShowFiles = [&](int kind, bool) {
            ++browsed;
            if (kind == 2) return FileSelection{ws + "Data/", "SampleILS.dat", 2};
            if (browsed == 2) return FileSelection{ws + "Output/", "Rfi.txt", 3};
            return FileSelection{};
        };
        program->entries.DisplayReports = [&](const std::string& d, const std::string& f, bool) {
            shown.push_back(d + f);
        };
        program->window().action(QStringLiteral("mnuSimRun"))->trigger();
        QVERIFY(std::filesystem::exists(ws + "Output/Rfi.txt"));
        QVERIFY(std::filesystem::exists(ws + "Output/Rcvr_Loc.plx"));
        QCOMPARE(program->window().resultsMenuOpenings(), 1);
        program->window().action(QStringLiteral("mnuFileResults"))->trigger();
        QCOMPARE(shown, std::vector<std::string>{ws + "Output/Rfi.txt"});
    }

    void newCaseFromAManualNavaid() {
        startProgram(Edition::Field);
        pushDialogScript([](QDialog& d) {
            auto& f = static_cast<frmNavData&>(d);
            d.activateWindow();
            typePosition(f.edit(ManualNavaidModel::Latitude), "N392015");
            typePosition(f.edit(ManualNavaidModel::Longitude), "W0774540");
            auto* id = f.edit(ManualNavaidModel::Identifier);
            id->setFocus();
            id->selectAll();
            QTest::keyClicks(id, "man");
            saveSnapshot(&d, "main/e2e_frmNavData");
            f.okButton()->click();
        });
        pushDialogScript([](QDialog& d) { static_cast<frmSrchPar&>(d).okButton()->click(); });
        program->window().action(QStringLiteral("mnuNavManual"))->trigger();
        QCOMPARE(pendingDialogScripts(), 0);
        QCOMPARE(edited, std::vector<std::string>{"E2EMAN.dat"});
        const auto caseLines = crv::platform::readTextLines(ws + "Data/E2EMAN.dat");
        QVERIFY(caseLines);
        QCOMPARE(caseLines->at(1).substr(0, 17), std::string(" MAN   0 110.100 "));
        QCOMPARE(program->state.ProponentRecord, std::string());
        QVERIFY(std::filesystem::exists(ws + "Output/Rfi.txt"));
        // No RF source of a case from a manual navaid is a proponent.
        for (std::size_t i = 2; i < caseLines->size() && caseLines->at(i).substr(1, 4) != "$$$$"; ++i)
            QCOMPARE(caseLines->at(i).substr(63, 2), std::string(" 0"));
    }
};

QTEST_MAIN(WorkflowE2E)
#include "workflow_e2e_test.moc"
