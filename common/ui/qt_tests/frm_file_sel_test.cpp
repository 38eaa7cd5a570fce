// The file browser driven the way a person does: through its runner seam,
// so the modal dialog never waits for anyone.
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QSplitter>
#include <QToolTip>
#include <QTreeView>
#include <QTreeWidget>
#include <QtTest>
#include <ctime>

#include "crv/common/ui/qt/frm_file_sel.h"
#include "crv/common/ui/qt/message_presenter.h"
#include "crv/testing/qt/recording_presenter.h"
#include "crv/testing/qt/snapshot.h"
#include "file_browser_fixture.h"

using crv::common::MessageAnswer;
using crv::common::ui::frmFileSel;
using crv::testing::RecordingPresenter;

namespace {

void clickRow(QTreeView* list, int row, Qt::KeyboardModifiers mods = Qt::NoModifier) {
    const QRect r = list->visualRect(list->model()->index(row, 0));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, mods, r.center());
}

QStringList headers(QTreeView* list) {
    QStringList out;
    for (int c = 0; c < list->model()->columnCount(); ++c)
        out << list->model()->headerData(c, Qt::Horizontal, Qt::DisplayRole).toString();
    return out;
}

QList<int> selectedRows(QTreeView* list) {
    QList<int> rows;
    for (const auto& i : list->selectionModel()->selectedRows()) rows << i.row();
    std::sort(rows.begin(), rows.end());
    return rows;
}

}  // namespace

class FileSelTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() {
        qputenv("TZ", "UTC");
        ::tzset();
    }

    void reportsSwitchToPlotsAndReturnTheSelectionInListOrder() {
        browser_test::Folders f;
        RecordingPresenter rec;
        frmFileSel dlg(f.state, &rec);
        dlg.setRunner([&](frmFileSel& d) {
            d.show();
            QVERIFY(QTest::qWaitForWindowExposed(&d));
            QCOMPARE(d.windowTitle(), QString(" Select Reports or Plots to Display"));
            QCOMPARE(d.fileTypes()->count(), 5);
            QCOMPARE(d.fileTypes()->currentText(), QString("Report files (*.txt)"));
            QCOMPARE(headers(d.fileList()), (QStringList{"File Name", "Description", "Date"}));
            QCOMPARE(d.listedNames(), (QStringList{"fm@567.txt", "Rfi.txt"}));
            QCOMPARE(selectedRows(d.fileList()), QList<int>{1});  // "Rfi.txt"
            QVERIFY(d.contentsLabel()->text().startsWith("&Contents of\n"));
            QCOMPARE(d.folderTree()->currentItem()->text(0), QString("Output"));
            crv::testing::saveSnapshot(&d, "common/frmFileSel_reports");

            d.fileTypes()->setCurrentIndex(1);
            QCOMPARE(d.FileKind(), 4);
            QCOMPARE(headers(d.fileList()), (QStringList{"File Name", "Description", "Size (byt)"}));
            QCOMPARE(d.listedNames(), (QStringList{"03__A2B2.plt", "02_03___.plt", "nav@1234.plt", "01____A2.plt",
                                                   "Rfi.plt", "01_02_03.plt"}));
            const auto* model = d.fileList()->model();
            QCOMPARE(model->data(model->index(0, 2)).toString(), QString("12345678"));
            QCOMPARE(model->data(model->index(1, 1)).toString(), QString("B1: KBBB-FM, WCCC"));
            QCOMPARE(model->data(model->index(1, 0), Qt::ToolTipRole).toString(),
                     QString("2: KBBB-FM@99.125,  3: WCCC@107.9"));
            QVERIFY(model->data(model->index(0, 2), Qt::TextAlignmentRole).value<Qt::Alignment>() & Qt::AlignRight);
            // Resting the mouse on a plot shows its stations.
            const QRect tipRow = d.fileList()->visualRect(model->index(1, 0));
            QHelpEvent help(QEvent::ToolTip, tipRow.center(), d.fileList()->viewport()->mapToGlobal(tipRow.center()));
            QApplication::sendEvent(d.fileList()->viewport(), &help);
            QCOMPARE(QToolTip::text(), QString("2: KBBB-FM@99.125,  3: WCCC@107.9"));
            QToolTip::hideText();
            // Picked bottom first; returned in list order.
            clickRow(d.fileList(), 3);
            clickRow(d.fileList(), 1, Qt::ControlModifier);
            crv::testing::saveSnapshot(&d, "common/frmFileSel_plots");
            d.okButton()->click();
            QVERIFY(!d.isVisible());
        });
        dlg.ShowFiles(3);
        QCOMPARE(dlg.FileKind(), 4);
        QCOMPARE(QString::fromStdString(dlg.SelPath()), f.output + "/");
        QCOMPARE(QString::fromStdString(dlg.SelFile()), QString("02_03___.plt|01____A2.plt"));
        QVERIFY(rec.messages.empty());
    }

    void emptyOkAsksRetryOrCancel() {
        browser_test::Folders f;
        RecordingPresenter rec;
        rec.answers = {MessageAnswer::Retry, MessageAnswer::Cancel};  // look again, then give up
        frmFileSel dlg(f.state, &rec);
        dlg.setRunner([&](frmFileSel& d) {
            d.show();
            d.fileList()->clearSelection();
            d.okButton()->click();
            QCOMPARE(rec.messages.size(), std::size_t(1));
            QCOMPARE(rec.messages[0].text, std::string(" No file selected.  Do you wish to try again? "));
            QCOMPARE(rec.messages[0].title, std::string("Warning"));
            QVERIFY(d.isVisible());
            d.okButton()->click();
            QVERIFY(!d.isVisible());
        });
        dlg.ShowFiles(5);
        QCOMPARE(rec.messages.size(), std::size_t(2));
        QVERIFY(dlg.SelPath().empty());
        QVERIFY(dlg.SelFile().empty());
    }

    void onlyFinishedCasesForARunAndEscCancels() {
        browser_test::Folders f;
        RecordingPresenter rec;
        frmFileSel dlg(f.state, &rec);
        dlg.setRunner([&](frmFileSel& d) {
            d.show();
            QCOMPARE(d.windowTitle(), QString(" Select Simulation Data Files"));
            QCOMPARE(headers(d.fileList()), (QStringList{"File Name", "Date and Time", "Size (byt)"}));
            QCOMPARE(d.listedNames(), (QStringList{"UPPER.DAT", "old.dat", "done.dat"}));
            QCOMPARE(d.fileList()->model()->data(d.fileList()->model()->index(2, 1)).toString(),
                     QString("11/14/23  10:15 pm"));
            crv::testing::saveSnapshot(&d, "common/frmFileSel_run_cases");
            QTest::keyClick(&d, Qt::Key_Escape);
            QVERIFY(!d.isVisible());
        });
        dlg.ShowFiles(2);
        QVERIFY(dlg.SelPath().empty() && dlg.SelFile().empty());
    }

    void doubleClickOpensOneFile() {
        browser_test::Folders f;
        frmFileSel dlg(f.state);
        dlg.setRunner([&](frmFileSel& d) {
            d.show();
            QCOMPARE(d.fileList()->selectionMode(), QAbstractItemView::SingleSelection);
            clickRow(d.fileList(), 1);
            clickRow(d.fileList(), 2, Qt::ControlModifier);  // single selection: replaces
            QCOMPARE(selectedRows(d.fileList()), QList<int>{2});
            crv::testing::saveSnapshot(&d, "common/frmFileSel_edit_case");
            const QRect r = d.fileList()->visualRect(d.fileList()->model()->index(2, 0));
            QTest::mouseDClick(d.fileList()->viewport(), Qt::LeftButton, Qt::NoModifier, r.center());
        });
        dlg.ShowFiles(1);
        QCOMPARE(QString::fromStdString(dlg.SelFile()), QString("old.dat"));
        QCOMPARE(QString::fromStdString(dlg.SelPath()), f.data + "/");
    }

    void reloadRestoresFolderTypeSelectionAndLayout() {
        browser_test::Folders f;
        frmFileSel dlg(f.state);
        QList<int> splitterSizes;
        QList<int> widths;
        dlg.setRunner([&](frmFileSel& d) {
            d.show();
            d.selectFolder(f.output + "/Run 2");
            d.selectFolder(f.output);
            d.fileTypes()->setCurrentIndex(4);
            d.fileList()->header()->setSortIndicator(0, Qt::AscendingOrder);
            QTest::mouseClick(d.fileList()->header()->viewport(), Qt::LeftButton, Qt::NoModifier,
                              QPoint(d.fileList()->header()->sectionViewportPosition(0) + 5, 5));
            QCOMPARE(d.listedNames().first(), QString("01_02_03.plt"));  // by name now
            d.splitter()->setSizes({150, 600});
            splitterSizes = d.splitter()->sizes();
            d.fileList()->setColumnWidth(1, 170);
            widths = {d.fileList()->columnWidth(0), d.fileList()->columnWidth(1), d.fileList()->columnWidth(2)};
            clickRow(d.fileList(), 3);
            d.cancelButton()->click();
        });
        dlg.ShowFiles(4);
        QVERIFY(dlg.SelFile().empty());

        dlg.setRunner([&](frmFileSel& d) {
            d.show();
            QCOMPARE(d.folderTree()->currentItem()->data(0, Qt::UserRole).toString(), f.output);
            QCOMPARE(d.fileTypes()->currentIndex(), 4);
            QCOMPARE(d.listedNames().first(), QString("01_02_03.plt"));
            QCOMPARE(selectedRows(d.fileList()), QList<int>{3});
            QCOMPARE(d.splitter()->sizes(), splitterSizes);
            QCOMPARE(d.fileList()->columnWidth(1), widths[1]);
            crv::testing::saveSnapshot(&d, "common/frmFileSel_reloaded");
            d.okButton()->click();
        });
        dlg.ShowFiles(4, true);
        QCOMPARE(QString::fromStdString(dlg.SelFile()), QString("03__A2B2.plt"));  // fourth by name

        // Without reload: fresh, largest plot first.
        dlg.setRunner([&](frmFileSel& d) {
            QCOMPARE(d.fileTypes()->currentIndex(), 1);
            QCOMPARE(selectedRows(d.fileList()), QList<int>{0});
            QCOMPARE(d.listedNames().first(), QString("03__A2B2.plt"));
            d.reject();
        });
        dlg.ShowFiles(4, false);
    }

    void escDuringSplitterDragPutsItBack() {
        browser_test::Folders f;
        frmFileSel dlg(f.state);
        dlg.setRunner([&](frmFileSel& d) {
            d.show();
            QVERIFY(QTest::qWaitForWindowExposed(&d));
            QWidget* handle = d.splitter()->handle(1);
            const QList<int> before = d.splitter()->sizes();
            const QPoint grip = handle->rect().center();
            QTest::mousePress(handle, Qt::LeftButton, Qt::NoModifier, grip);
            QMouseEvent move(QEvent::MouseMove, QPointF(grip + QPoint(60, 0)),
                             QPointF(handle->mapToGlobal(grip + QPoint(60, 0))), Qt::NoButton, Qt::LeftButton,
                             Qt::NoModifier);
            QApplication::sendEvent(handle, &move);
            QVERIFY(d.splitter()->sizes() != before);
            QTest::keyClick(&d, Qt::Key_Escape);
            QVERIFY(d.isVisible());
            QCOMPARE(d.splitter()->sizes(), before);
            QTest::mouseRelease(handle, Qt::LeftButton, Qt::NoModifier, grip);
            QTest::keyClick(&d, Qt::Key_Escape);  // no drag now: Cancel
            QVERIFY(!d.isVisible());
        });
        dlg.ShowFiles(6);
        QVERIFY(dlg.SelFile().empty());
    }

    void folderTreeFollowsTheDiskEachTimeItIsShownOrOpened() {
        browser_test::Folders f;
        const QString out = f.output;
        f.state.OutputFolder = (out + "/Run 5/").toStdString();  // saved, not made yet
        auto children = [](QTreeWidgetItem* item) {
            QStringList names;
            for (int i = 0; i < item->childCount(); ++i) names << item->child(i)->text(0);
            return names;
        };
        frmFileSel dlg(f.state);
        QTreeWidgetItem* outputItem = nullptr;
        dlg.setRunner([&](frmFileSel& d) {
            outputItem = d.folderTree()->currentItem();
            QCOMPARE(outputItem->data(0, Qt::UserRole).toString(), out);  // the nearest folder there is
            outputItem->setExpanded(true);
            QCOMPARE(children(outputItem), QStringList({"Run 2"}));
        });
        dlg.ShowFiles(3);

        // A run replaced "Run 2" and made its own folders meanwhile.
        QVERIFY(QDir(out + "/Run 2").removeRecursively());
        for (const char* d : {"Run 5", "Run 1", "zeta", "Alpha"}) QVERIFY(QDir(out).mkdir(d));
        dlg.setRunner([&](frmFileSel& d) {
            QTreeWidgetItem* current = d.folderTree()->currentItem();
            QCOMPARE(current->data(0, Qt::UserRole).toString(), out + "/Run 5");
            QTreeWidgetItem* parent = current->parent();
            QCOMPARE(children(parent), QStringList({"Alpha", "Run 1", "Run 5", "zeta"}));
            // Made while the browser is open: there when the folder is opened again.
            QVERIFY(QDir(out).mkdir("Run 3"));
            QVERIFY(QDir(out + "/zeta").removeRecursively());
            parent->setExpanded(false);
            parent->setExpanded(true);
            QCOMPARE(children(parent), QStringList({"Alpha", "Run 1", "Run 3", "Run 5"}));
            QVERIFY(d.folderTree()->currentItem() == current);
            // Plots listed from the reports' kind: the size heading shows whole.
            d.fileTypes()->setCurrentIndex(2);
            QTreeView* list = d.fileList();
            QVERIFY2(list->columnWidth(2) >= list->header()->sectionSizeHint(2),
                     qPrintable(QString("%1 < %2").arg(list->columnWidth(2)).arg(list->header()->sectionSizeHint(2))));
        });
        dlg.ShowFiles(3);
    }

    void emptyFolderSelectsNothing() {
        browser_test::Folders f;
        f.state.UserFolder = (f.root.path() + "/missing/").toStdString();
        frmFileSel dlg(f.state);
        dlg.setRunner([&](frmFileSel& d) {
            d.show();
            // The nearest folder that exists is shown instead.
            QCOMPARE(d.folderTree()->currentItem()->data(0, Qt::UserRole).toString(), f.root.path());
            QCOMPARE(d.fileList()->model()->rowCount(), 0);
            QVERIFY(selectedRows(d.fileList()).isEmpty());
            crv::testing::saveSnapshot(&d, "common/frmFileSel_empty");
            d.close();  // the close box counts as Cancel
        });
        dlg.ShowFiles(7);
        QVERIFY(dlg.SelFile().empty() && dlg.SelPath().empty());
    }
};

QTEST_MAIN(FileSelTest)
#include "frm_file_sel_test.moc"
