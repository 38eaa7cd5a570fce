// What the file browser lists and returns, driven without a window.
#include <QtTest>
#include <ctime>

#include "crv/common/ui/file_browser_model.h"
#include "file_browser_fixture.h"

using crv::common::ui::BrowserColumn;
using crv::common::ui::FileBrowserModel;

namespace {

QStringList names(const FileBrowserModel& m) {
    QStringList out;
    for (const auto& item : m.items()) out << QString::fromStdString(item.name);
    return out;
}

QString cell(const FileBrowserModel& m, int row, BrowserColumn c) {
    return QString::fromStdString(m.cellText(m.items()[static_cast<std::size_t>(row)], c));
}

}  // namespace

class FileBrowserModelTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() {
        qputenv("TZ", "UTC");
        ::tzset();
    }

    void caseFilesNewestFirstAndOnlyFinishedForARun() {
        browser_test::Folders f;
        FileBrowserModel m(f.state);
        m.selectFolder(m.start(1, false));
        QCOMPARE(QString::fromStdString(m.SelPath()), f.data + "/");
        // Every ".dat" file in any letter case, never a folder; newest first.
        QCOMPARE(names(m), (QStringList{"empty.dat", "UPPER.DAT", "old.dat", "unchecked.dat", "done.dat"}));
        QCOMPARE(cell(m, 4, BrowserColumn::DateTime), QString("11/14/23  10:15 pm"));
        QCOMPARE(cell(m, 4, BrowserColumn::Size), QString("45"));
        QCOMPARE(m.initialRow(), 0);

        // Kind 2: the line after the version line (or an old file's first line)
        // must end in 127; CR LF and LF files alike.
        m.selectFolder(m.start(2, false));
        QCOMPARE(names(m), (QStringList{"UPPER.DAT", "old.dat", "done.dat"}));
        QVERIFY(m.items()[0].description.empty() && m.items()[0].tip.empty());
    }

    void reportsAndPlotsWithTheirStations() {
        browser_test::Folders f;
        FileBrowserModel m(f.state);
        m.selectFolder(m.start(3, false));
        QCOMPARE(m.FileKind(), 3);
        QCOMPARE(names(m), (QStringList{"fm@567.txt", "Rfi.txt"}));
        QCOMPARE(cell(m, 0, BrowserColumn::Description), QString("RF Sources near 567"));
        QCOMPARE(cell(m, 1, BrowserColumn::Description), QString("Simulation Report"));
        QCOMPARE(cell(m, 1, BrowserColumn::Date), QString("11/14/23"));
        QCOMPARE(m.initialRow(), 1);        // "Rfi.txt" first
        QVERIFY(m.items()[1].tip.empty());  // kind 3 has no tool tips

        // A plot type turns the report browser into the plot browser: largest first.
        QVERIFY(m.setTypeIndex(1));
        QCOMPARE(m.FileKind(), 4);
        QVERIFY((m.columns() ==
                 std::vector<BrowserColumn>{BrowserColumn::FileName, BrowserColumn::Description, BrowserColumn::Size}));
        QCOMPARE(names(m), (QStringList{"03__A2B2.plt", "02_03___.plt", "nav@1234.plt", "01____A2.plt", "Rfi.plt",
                                        "01_02_03.plt"}));
        struct Row {
            const char* size;
            const char* description;
            const char* tip;
        } rows[] = {
            {"12345678", "A2B2: WCCC", "3: WCCC@107.9"},  // whole, not cut to 7 digits
            {"9000", "B1: KBBB-FM, WCCC", "2: KBBB-FM@99.125,  3: WCCC@107.9"},
            {"1000", "Navaids near 1234", ""},
            {"300", "A2: WAAA", "1: WAAA@101.5"},
            {"106", "Simulation RF Sources", ""},
            {"70", "B1: WAAA, KBBB-FM, WCCC", "1: WAAA@101.5,  2: KBBB-FM@99.125,  3: WCCC@107.9"},
        };
        for (int r = 0; r < 6; ++r) {
            QCOMPARE(cell(m, r, BrowserColumn::Size), QString(rows[r].size));
            QCOMPARE(cell(m, r, BrowserColumn::Description), QString(rows[r].description));
            QCOMPARE(QString::fromStdString(m.items()[static_cast<std::size_t>(r)].tip), QString(rows[r].tip));
        }
        QCOMPARE(m.initialRow(), 0);

        QVERIFY(!m.setTypeIndex(4));  // all plot files: still kind 4, same sort
        QCOMPARE(names(m), (QStringList{"03__A2B2.plt", "02_03___.plt", "nav@1234.plt", "Rcvr_Loc.plx", "01____A2.plt",
                                        "Rfi.plt", "01_02_03.plt", "FmHor01.ptx"}));
        QCOMPARE(cell(m, 3, BrowserColumn::Description), QString("Simulation Rcvr Locations"));
        QCOMPARE(cell(m, 7, BrowserColumn::Description), QString("Antenna Radiation Pattern"));

        QVERIFY(m.setTypeIndex(0));  // back to reports, by name
        QCOMPARE(m.FileKind(), 3);
        QCOMPARE(m.sortColumn(), BrowserColumn::FileName);
        QCOMPARE(names(m), (QStringList{"fm@567.txt", "Rfi.txt"}));
    }

    void patternsCarryTheirFirstLineAsTip() {
        browser_test::Folders f;
        FileBrowserModel m(f.state);
        m.selectFolder(m.start(5, false));
        QCOMPARE(names(m), (QStringList{"FmHor01.pat", "LocHor.pat"}));
        QCOMPARE(cell(m, 0, BrowserColumn::Description), QString("FM Horizontal Pattern"));
        QCOMPARE(QString::fromStdString(m.items()[0].tip), QString("Main lobe north"));
        QCOMPARE(QString::fromStdString(m.items()[1].tip), QString("Localizer array"));
    }

    void columnClicksSort() {
        browser_test::Folders f;
        FileBrowserModel m(f.state);
        m.selectFolder(m.start(4, false));
        QCOMPARE(m.typeIndex(), 1);
        struct Click {
            BrowserColumn column;
            bool ascending;
            const char* first;
        } clicks[] = {
            {BrowserColumn::Size, true, "01_02_03.plt"},         // same column: reversed
            {BrowserColumn::FileName, true, "01_02_03.plt"},     // names ascend
            {BrowserColumn::FileName, false, "Rfi.plt"},         // and reverse
            {BrowserColumn::Description, true, "01____A2.plt"},  // "A2: WAAA" before "A2B2: ..."
            {BrowserColumn::Size, false, "03__A2B2.plt"},        // another column: descending
        };
        for (const auto& c : clicks) {
            m.columnClicked(c.column);
            QCOMPARE(m.sortColumn(), c.column);
            QCOMPARE(m.sortAscending(), c.ascending);
            QCOMPARE(QString::fromStdString(m.items()[0].name), QString(c.first));
        }
        m.selectFolder(m.start(1, false));
        m.columnClicked(BrowserColumn::Size);  // a date-sorted list clicked on size: descending
        QCOMPARE(QString::fromStdString(m.items()[0].name), QString("done.dat"));
        QVERIFY(!m.sortAscending());
        m.columnClicked(BrowserColumn::DateTime);
        QCOMPARE(QString::fromStdString(m.items()[0].name), QString("empty.dat"));
    }

    void selectionIsJoinedInListOrder() {
        browser_test::Folders f;
        FileBrowserModel m(f.state);
        m.selectFolder(m.start(4, false));
        QVERIFY(m.accept({3, 1}));
        QCOMPARE(QString::fromStdString(m.SelFile()), QString("02_03___.plt|01____A2.plt"));
        QVERIFY(!m.accept({}));
        QCOMPARE(QString::fromStdString(m.SelFile()), QString());
        QCOMPARE(QString::fromStdString(m.SelPath()), f.output + "/");
        m.cancel();
        QVERIFY(m.SelPath().empty() && m.SelFile().empty());
    }

    void reloadKeepsFolderTypeSortAndSelection() {
        browser_test::Folders f;
        FileBrowserModel m(f.state);
        m.selectFolder(m.start(4, false));
        m.setTypeIndex(4);
        m.columnClicked(BrowserColumn::FileName);
        m.selectFolder(f.output.toStdString());
        m.saveState(2);
        m.cancel();

        QCOMPARE(QString::fromStdString(m.start(4, true)), f.output + "/");
        QVERIFY(m.reloading());
        m.selectFolder(f.output.toStdString());
        QCOMPARE(m.typeIndex(), 4);
        QCOMPARE(m.sortColumn(), BrowserColumn::FileName);
        QCOMPARE(m.initialRow(), 2);
        m.opened();
        m.fill();
        QCOMPARE(m.initialRow(), 0);  // later fills select as a fresh start
        m.saveState(0);

        // Another kind, or no reload, starts fresh in the kind's start folder.
        QCOMPARE(QString::fromStdString(m.start(3, true)), f.output + "/");
        QVERIFY(!m.reloading());
        QCOMPARE(m.typeIndex(), 0);
        m.saveState(-1);
        QCOMPARE(QString::fromStdString(m.start(5, true)), f.user + "/");
        QVERIFY(!m.reloading());
        QCOMPARE(QString::fromStdString(m.start(3, false)), f.output + "/");
        QVERIFY(!m.reloading());
    }

    void missingFolderListsNothing() {
        browser_test::Folders f;
        FileBrowserModel m(f.state);
        m.start(3, false);
        m.selectFolder((f.root.path() + "/gone").toStdString());
        QVERIFY(m.items().empty());
        QCOMPARE(m.initialRow(), -1);
        QVERIFY(!m.accept({0}));
    }
};

QTEST_GUILESS_MAIN(FileBrowserModelTest)
#include "file_browser_model_test.moc"
