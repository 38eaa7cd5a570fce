// The programs' entry points reach the real editors: each opens its window
// (found among the top-level windows from a zero-delay timer and closed
// through its own Exit), and no message about a missing part is shown.
#include <QAction>
#include <QApplication>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <cstdlib>

#include "crv/common/ui/qt/message_presenter.h"
#include "crv/editors/site_editors/qt/frm_rcvr_pts.h"
#include "crv/editors/site_editors/qt/frm_user_data.h"
#include "crv/main/app/qt/program.h"
#include "crv/main/app/qt/program_wiring.h"
#include "crv/testing/qt/recording_presenter.h"
#include "crv/viewers/plot_dialogs/qt/plot_dialogs.h"
#include "crv/viewers/plot_window/qt/frm_plot_screen.h"
#include "crv/viewers/report_window/qt/frm_report.h"

using namespace crv::main::qt;

namespace {
// Exits the first editor window of type W that shows up; records its caption.
template <class W>
void exitWhenShown(QString& caption) {
    QTimer::singleShot(0, [&caption] {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* editor = qobject_cast<W*>(w); editor && editor->isVisible()) {
                caption = editor->windowTitle();
                editor->action("mnuExit")->trigger();
                return;
            }
    });
}
}  // namespace

class ProgramWiringTest : public QObject {
    Q_OBJECT
private slots:
    void editorsOpenFromTheEntries() {
        QTemporaryDir dir;
        crv::testing::RecordingPresenter presenter;
        Program program(crv::resources::Edition::Scientific, presenter, dir.filePath("settings.ini").toStdString());
        wireEditorsAndViewers(program);
        QString caption;
        exitWhenShown<crv::editors::frmUserData>(caption);
        program.entries.EditRadiationPattern();
        QCOMPARE(caption, QString(" CRV Radiation Pattern -- untitled"));
        exitWhenShown<crv::editors::frmUserData>(caption);
        program.entries.EditCalibrationData();
        QCOMPARE(caption, QString(" CRV Calibration Data -- untitled"));
        exitWhenShown<crv::editors::frmRcvrPts>(caption);
        program.entries.EditRcvrTestPts();
        QCOMPARE(caption, QString(" CRV Receiver Points -- untitled"));
        QVERIFY(presenter.messages.empty());
    }

    // A plot from the pattern editor hides the editor while it is shown; the
    // main window stays hidden until the editor has closed.
    void patternPlotKeepsTheMainWindowHidden() {
        QTemporaryDir dir;
        crv::testing::RecordingPresenter presenter;
        Program program(crv::resources::Edition::Scientific, presenter, dir.filePath("settings.ini").toStdString());
        program.state.TempFolder = dir.path().toStdString() + "/";
        wireEditorsAndViewers(program);
        program.window().show();
        bool plotted = false, mainShownDuringPlot = true, editorShownDuringPlot = true, mainShownAfterPlot = true;
        // A timer is not run again inside its own slot, so the plot window is
        // looked for by a second one while the editor's Plot command runs.
        QTimer inPlot;
        inPlot.setInterval(0);
        QObject::connect(&inPlot, &QTimer::timeout, [&] {
            for (QWidget* w : QApplication::topLevelWidgets()) {
                if (!w->isVisible()) continue;
                if (auto* options = qobject_cast<crv::viewers::DisplayOptionsDialog*>(w)) options->accept();
                if (auto* plot = qobject_cast<crv::viewers::frmPlotScreen*>(w)) {
                    mainShownDuringPlot = program.window().isVisible();
                    for (QWidget* e : QApplication::topLevelWidgets())
                        if (qobject_cast<crv::editors::frmUserData*>(e)) editorShownDuringPlot = e->isVisible();
                    plot->close();
                }
            }
        });
        QTimer findEditor;
        findEditor.setInterval(0);
        QObject::connect(&findEditor, &QTimer::timeout, [&] {
            for (QWidget* w : QApplication::topLevelWidgets())
                if (auto* editor = qobject_cast<crv::editors::frmUserData*>(w); editor && editor->isVisible()) {
                    findEditor.stop();
                    plotted = true;
                    inPlot.start();
                    editor->action("mnuPlot")->trigger();
                    inPlot.stop();
                    mainShownAfterPlot = program.window().isVisible();
                    editor->action("mnuExit")->trigger();
                    return;
                }
        });
        findEditor.start();
        program.entries.EditRadiationPattern();
        QVERIFY(plotted);
        QVERIFY(!mainShownDuringPlot);
        QVERIFY(!editorShownDuringPlot);
        QVERIFY(!mainShownAfterPlot);
        QVERIFY(program.window().isVisible());
    }

    // The case data editor opens from its entry and its Exit returns 1.
    void caseEditorOpensFromItsEntry() {
        QTemporaryDir dir;
        crv::testing::RecordingPresenter presenter;
        Program program(crv::resources::Edition::Field, presenter, dir.filePath("settings.ini").toStdString());
        wireEditorsAndViewers(program);
        const std::string root = dir.path().toStdString() + "/";
        QVERIFY(std::system((std::string(CRV_SAMPLE_EXE) + " " + root + " >/dev/null").c_str()) == 0);
        program.state.DataFolder = root + "Data/";
        program.state.UserFolder = root + "User/";
        program.state.CaseFile = "SampleILS.dat";
        QString caption;
        auto* poll = new QTimer;
        poll->setInterval(0);
        QObject::connect(poll, &QTimer::timeout, [&caption, poll] {
            for (QWidget* w : QApplication::topLevelWidgets())
                if (auto* exit = w->findChild<QAction*>("mnuFileExit"); exit && w->isVisible()) {
                    caption = w->windowTitle();
                    poll->stop();
                    poll->deleteLater();
                    exit->trigger();
                    return;
                }
        });
        poll->start();
        std::int32_t result = 0;
        program.entries.EditDataFile(result);
        QVERIFY(caption.contains("SampleILS.dat"));
        QCOMPARE(result, 1);
    }

    // Results open in the real viewers: a pattern plot in the plot window, a
    // report in the report viewer; each is closed from a zero-delay timer.
    void viewersOpenFromTheEntries() {
        QTemporaryDir dir;
        crv::testing::RecordingPresenter presenter;
        Program program(crv::resources::Edition::Field, presenter, dir.filePath("settings.ini").toStdString());
        wireEditorsAndViewers(program);
        QFile::copy(QString(CRV_PLOT_DATA) + "LocHorU.ptx", dir.filePath("LocHorU.ptx"));
        QFile report(dir.filePath("Rfi.txt"));
        QVERIFY(report.open(QIODevice::WriteOnly));
        report.write("Sample report\r\nSecond line\r\n");
        report.close();

        bool plotShown = false, reportShown = false;
        // Looks on every pass of the event loop until the window is up; the
        // viewer builds its page before it shows the window.
        auto closeFirst = [](auto* kind, bool& shown) {
            auto* poll = new QTimer;
            poll->setInterval(0);
            using W = std::remove_pointer_t<decltype(kind)>;
            QObject::connect(poll, &QTimer::timeout, [&shown, poll] {
                for (QWidget* w : QApplication::topLevelWidgets()) {
                    // A pattern plot first asks how to show it: the defaults.
                    if (auto* options = qobject_cast<crv::viewers::DisplayOptionsDialog*>(w);
                        options && options->isVisible())
                        options->accept();
                    if (auto* window = qobject_cast<W*>(w); window && window->isVisible()) {
                        shown = true;
                        poll->stop();
                        poll->deleteLater();
                        window->close();
                        return;
                    }
                }
            });
            poll->start();
        };
        closeFirst(static_cast<crv::viewers::frmPlotScreen*>(nullptr), plotShown);
        const std::string folder = dir.path().toStdString() + "/";
        program.entries.DisplayPlots(folder, "LocHorU.ptx", false);
        QVERIFY(plotShown);
        closeFirst(static_cast<crv::viewers::frmReport*>(nullptr), reportShown);
        program.entries.DisplayReports(folder, "Rfi.txt", false);
        QVERIFY(reportShown);
        QVERIFY(presenter.messages.empty());
    }
};

QTEST_MAIN(ProgramWiringTest)
#include "program_wiring_test.moc"
