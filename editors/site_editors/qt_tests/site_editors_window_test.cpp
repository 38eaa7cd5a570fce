// Both site editors driven through their windows offscreen: open, edit in the
// table, switch kind or format, save, reopen and compare bytes. Pictures of
// each editor kind go to build/snapshots/editors/.
#include <QAction>
#include <QApplication>
#include <QDir>
#include <QGroupBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QRadioButton>
#include <QTableView>
#include <QTest>

#include "crv/common/ui/qt/lat_lon_edit.h"
#include "crv/editors/site_editors/qt/frm_rcvr_pts.h"
#include "crv/editors/site_editors/qt/frm_user_data.h"
#include "crv/testing/qt/snapshot.h"
#include "fake_host.h"

using namespace crv::editors;
using crv::common::MessageAnswer;
using test::FakeHost;

namespace {
void snap(QWidget& w, const char* name) {
    w.show();
    QApplication::processEvents();
    crv::testing::saveSnapshot(&w, QString("editors/") + name);
}
void typeInCell(CellEditing& cells, const QString& text) {
    QLineEdit* e = cells.editor();
    e->selectAll();
    QTest::keyClicks(e, text);
    QTest::keyClick(e, Qt::Key_Return);
}
}  // namespace

class SiteEditorsWindowTest : public QObject {
    Q_OBJECT
private slots:
    void patternEditorEditsSavesAndReopens() {
        FakeHost host;
        frmUserData w(host, true);
        w.show();
        snap(w, "pattern_fm_horizontal");
        QCOMPARE(w.windowTitle(), QString(" CRV Radiation Pattern -- untitled"));
        QVERIFY(!w.gainFrame()->isVisible());

        // Enter commits and moves down a row; the value is reformatted.
        w.cells().moveTo(0, 1);
        typeInCell(w.cells(), "100");
        QCOMPARE(w.cells().row(), 1);
        typeInCell(w.cells(), "50");
        QCOMPARE(QString::fromStdString(w.editor().cellText(1)), QString(" 50.00"));
        // An invalid value keeps the editor on its cell with the check's message.
        typeInCell(w.cells(), "150");
        QVERIFY(w.cells().invalid());
        QCOMPARE(w.cells().row(), 2);
        QCOMPARE(QString::fromStdString(host.messages.back().title), QString("Input Error"));
        // Escape puts back the text the edit began with.
        QTest::keyClick(w.cells().editor(), Qt::Key_Escape);
        QTest::keyClick(w.cells().editor(), Qt::Key_Return);
        QVERIFY(!w.cells().invalid());

        host.answers = {MessageAnswer::Ok};
        host.savePaths_ = {host.folder + "FmHor01.pat"};
        w.action("mnuSave")->trigger();
        QVERIFY(!w.editor().changed());
        const std::string saved = test::readBytes(host.folder + "FmHor01.pat");
        QVERIFY(saved.find("  0.00           100.000") != std::string::npos);

        // Reopened and saved again without a change: the same bytes.
        frmUserData again(host, true);
        host.openPaths = {host.folder + "FmHor01.pat"};
        again.action("mnuOpen")->trigger();
        QCOMPARE(QString::fromStdString(again.editor().cellText(1)), QString(" 50.00"));
        host.answers = {MessageAnswer::Ok};
        host.savePaths_ = {host.folder + "copy.pat"};
        again.action("mnuSave")->trigger();
        QCOMPARE(test::readBytes(host.folder + "copy.pat"), saved);

        // Decibels: the same values in dB.
        again.scaleOption(1)->click();
        QCOMPARE(QString::fromStdString(again.editor().cellText(1)), QString(" -6.02"));
        snap(again, "pattern_fm_horizontal_db");
    }

    void kindsAndTheirLayouts() {
        FakeHost host;
        frmUserData w(host, true);
        w.show();
        w.kindOption(3)->click();
        QCOMPARE(w.editor().kind(), 3);
        QVERIFY(w.gainFrame()->isVisible());
        snap(w, "pattern_localizer");
        w.kindOption(2)->click();
        snap(w, "pattern_fm_vertical");

        frmUserData cal(host, false);
        cal.show();
        QVERIFY(!cal.action("mnuPlot")->isVisible());
        QVERIFY(!cal.scaleOption(0)->isVisible());
        snap(cal, "calibration_antenna");
        cal.kindOption(5)->click();
        QCOMPARE(cal.editor().rows(), 11);
        snap(cal, "calibration_receiver");
    }

    // With unsaved data a change of kind asks; Cancel keeps kind and option.
    void kindChangeCancelled() {
        FakeHost host;
        frmUserData w(host, true);
        w.show();
        w.cells().moveTo(0, 1);
        typeInCell(w.cells(), "80");
        host.answers = {MessageAnswer::Cancel};
        w.kindOption(2)->click();
        QCOMPARE(w.editor().kind(), 1);
        QVERIFY(w.kindOption(1)->isChecked());
        QCOMPARE(QString::fromStdString(host.messages.back().title), QString("Change Data Type"));
    }

    // The entry hides the main window while the editor runs; the close box
    // asks as Exit does.
    void entryRunsUntilTheEditorCloses() {
        FakeHost host;
        QWidget main;
        main.show();
        bool hidden = false;
        EditCalibrationData(host, &main, [&](frmUserData& w) {
            hidden = !main.isVisible();
            w.cells().moveTo(0, 1);
            typeInCell(w.cells(), "3");
            host.answers = {MessageAnswer::Cancel};
            w.close();  // refused: Cancel keeps the editor open
            QVERIFY(w.isVisible());
            host.answers = {MessageAnswer::No};
            w.action("mnuExit")->trigger();
        });
        QVERIFY(hidden);
        QVERIFY(main.isVisible());
    }

    // The cell editor covers its whole cell, and the table's current cell is
    // the one being edited: when first shown, and after a change of format
    // swaps the position box for the plain line.
    void cellEditorCoversTheCurrentCell() {
        FakeHost host;
        auto check = [](QWidget& w, CellEditing& cells) {
            auto* grid = w.findChild<QTableView*>("flxUserData");
            QVERIFY(grid);
            QTRY_VERIFY(cells.editor()->isVisible());
            const QModelIndex current = grid->currentIndex();
            QCOMPARE(current.row(), cells.row());
            QCOMPARE(current.column(), cells.column());
            QCOMPARE(cells.editor()->geometry(), grid->visualRect(current));
        };
        frmUserData cal(host, false);
        cal.show();
        QVERIFY(QTest::qWaitForWindowExposed(&cal));
        check(cal, cal.cells());
        snap(cal, "calibration_antenna_editing");

        frmRcvrPts points(host);
        points.show();
        QVERIFY(QTest::qWaitForWindowExposed(&points));
        check(points, points.cells());
        QVERIFY(qobject_cast<crv::common::ui::LatLonEdit*>(points.cells().editor()));
        points.cells().editor()->setFocus();
        points.positionOption(0)->click();
        QCOMPARE(points.editor().format(), 0);
        check(points, points.cells());
        QCOMPARE(points.cells().column(), 1);
        snap(points, "receiver_points_range_bearing_editing");
    }

    // Both grids show whole rows only, at any window height and with a
    // heading of two or three lines; a short table ends at its last row.
    void gridsShowWholeRows() {
        FakeHost host;
        auto check = [](QMainWindow& w, const char* name) {
            auto* grid = w.findChild<QTableView*>("flxUserData");
            QVERIFY(grid);
            const int rowHeight = grid->verticalHeader()->defaultSectionSize();
            const int rows = grid->model()->rowCount();
            for (int h : {430, 517, 561, 604}) {
                w.resize(w.width(), h);
                QTRY_COMPARE(grid->viewport()->height() % rowHeight, 0);
                const int shown = grid->viewport()->height() / rowHeight;
                QVERIFY(shown >= 1 && shown <= rows);
                // The last row on screen ends on the table's bottom edge.
                const int lastShown = grid->rowAt(grid->viewport()->height() - 1);
                QCOMPARE(grid->rowViewportPosition(lastShown) + grid->rowHeight(lastShown), grid->viewport()->height());
            }
            snap(w, name);
        };
        frmUserData pattern(host, true);
        pattern.show();
        check(pattern, "pattern_fm_horizontal_rows");
        pattern.kindOption(3)->click();
        check(pattern, "pattern_localizer_rows");

        frmUserData cal(host, false);
        cal.show();
        check(cal, "calibration_antenna_rows");
        cal.kindOption(5)->click();  // a three-line heading and only 11 rows
        check(cal, "calibration_receiver_rows");
        auto* grid = cal.findChild<QTableView*>("flxUserData");
        QCOMPARE(grid->viewport()->height(), 11 * grid->verticalHeader()->defaultSectionSize());

        frmRcvrPts points(host);
        points.show();
        check(points, "receiver_points_rows");
    }

    void receiverPointsEditor() {
        FakeHost host;
        test::writeBytes(
            host.folder + "RcvrTest.pts",
            "Test points              \r\n 1 \r\n 38 51 12   077 02 03    900\r\n-00 30 00  -000 15 00     10\r\n");
        frmRcvrPts w(host);
        w.show();
        host.openPaths = {host.folder + "RcvrTest.pts"};
        w.action("mnuOpen")->trigger();
        QCOMPARE(w.windowTitle(), QString(" CRV Receiver Points -- RcvrTest.pts"));
        QCOMPARE(QString::fromLatin1(w.editor().cellText(1, 1).c_str()), QString::fromLatin1("S 00\xB0 30' 00\""));
        snap(w, "receiver_points_dms");

        // Enter moves across the columns, then to the next row.
        w.cells().moveTo(2, 1);
        typeInCell(w.cells(), "N 39 00 00");
        QCOMPARE(w.cells().column(), 2);
        typeInCell(w.cells(), "W 077 00 00");
        typeInCell(w.cells(), "1200");
        QCOMPARE(w.cells().row(), 3);
        QCOMPARE(w.cells().column(), 1);

        // Position cells are the position box: the hemisphere letter is typed
        // over wherever the caret is, digits fill the fixed places.
        w.cells().moveTo(4, 1);
        QVERIFY(qobject_cast<crv::common::ui::LatLonEdit*>(w.cells().editor()));
        QTest::keyClicks(w.cells().editor(), "S453015");
        QTest::keyClick(w.cells().editor(), Qt::Key_Return);
        QCOMPARE(QString::fromLatin1(w.editor().cellText(4, 1).c_str()), QString::fromLatin1("S 45\xB0 30' 15\""));
        QVERIFY(qobject_cast<crv::common::ui::LatLonEdit*>(w.cells().editor()));  // on to the longitude
        QTest::keyClick(w.cells().editor(), Qt::Key_Escape);
        w.cells().moveTo(4, 3);
        QVERIFY(!qobject_cast<crv::common::ui::LatLonEdit*>(w.cells().editor()));
        w.cells().moveTo(4, 1);
        std::string none = "N 00 00 00";  // back to an empty row, so the saved list ends where it did
        QVERIFY(w.editor().commitCell(4, 1, none, w.editor().cellText(4, 1)));
        w.cells().reset();

        // Another notation shows the same positions.
        w.notationOption(2)->click();
        QCOMPARE(w.editor().format(), 2);
        QCOMPARE(QString::fromLatin1(w.editor().cellText(0, 1).c_str()), QString::fromLatin1("N 38.8533\xB0"));
        snap(w, "receiver_points_decimal");
        w.positionOption(0)->click();
        QCOMPARE(w.editor().format(), 0);
        QVERIFY(!w.notationOption(1)->isEnabled());
        snap(w, "receiver_points_range_bearing");

        // Saved in the first notation again, the original file's bytes come back
        // with the added point.
        w.positionOption(1)->click();
        w.notationOption(1)->click();
        host.answers = {MessageAnswer::Ok};
        host.savePaths_ = {host.folder + "out.pts"};
        w.action("mnuSave")->trigger();
        QCOMPARE(test::readBytes(host.folder + "out.pts"),
                 std::string("Test points              \r\n 1 \r\n 38 51 12   077 02 03    900\r\n"
                             "-00 30 00  -000 15 00     10\r\n 39 00 00   077 00 00   1200\r\n"));
    }
};

QTEST_MAIN(SiteEditorsWindowTest)
#include "site_editors_window_test.moc"
