// The programs' entry points reach the real editors: each opens its window
// (found among the top-level windows from a zero-delay timer and closed
// through its own Exit), and no "not available yet" message is shown.
#include <QAction>
#include <QApplication>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include "crv/common/ui/message_presenter.h"
#include "crv/main/app/qt/program.h"
#include "frm_rcvr_pts.h"
#include "frm_user_data.h"
#include "program_wiring.h"

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
        crv::common::ui::RecordingPresenter presenter;
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
};

QTEST_MAIN(ProgramWiringTest)
#include "program_wiring_test.moc"
