// Recent-file menus, the database check, screen metrics, the folder chooser,
// the printer set-up and the placement of dialogs.
#include <QAbstractPrintDialog>
#include <QAction>
#include <QDialog>
#include <QHBoxLayout>
#include <QImage>
#include <QMenu>
#include <QMessageBox>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

#include "crv/common/ui/qt/form_services.h"
#include "crv/common/ui/qt/keep_on_screen.h"
#include "crv/common/ui/qt/message_presenter.h"
#include "crv/common/ui/qt/os_services.h"
#include "crv/common/ui/qt/printing.h"
#include "crv/common/ui/qt/program_messages.h"
#include "crv/common/ui/qt/qt_text.h"
#include "crv/common/ui/qt/recent_files_menu.h"
#include "crv/testing/qt/recording_presenter.h"
#include "crv/testing/qt/snapshot.h"

namespace ui = crv::common::ui;

class CommonServicesTest : public QObject {
    Q_OBJECT
private slots:
    void cleanup() {
        ui::setAppPresenter(nullptr);
        ui::setFolderChooser(nullptr);
        ui::setPrintDialogRunner(nullptr);
    }

    void windows1252Texts() {
        struct Case {
            std::string bytes;
            QString text;
        } cases[] = {
            {"N 38\xB0 30'", QString("N 38") + QChar(0xB0) + " 30'"},
            {"\x80 5 \x93quoted\x94", QString(QChar(0x20AC)) + " 5 " + QChar(0x201C) + "quoted" + QChar(0x201D)},
            {"caf\xE9 \xFF", QString("caf") + QChar(0xE9) + " " + QChar(0xFF)},
            {"\x81", QString(QChar(0x81))},  // undefined in Windows-1252: kept as it is
        };
        for (const auto& c : cases) {
            QCOMPARE(ui::toQt(c.bytes), c.text);
            QCOMPARE(ui::fromQt(c.text), c.bytes);
        }
        QCOMPARE(ui::fromQt(QString(QChar(0x4E2D)) + "x"), std::string("?x"));
    }

    void recentFilesReachEveryBoundMenu() {
        QTemporaryDir dir;
        crv::platform::SettingsStore store((dir.path() + "/settings.ini").toStdString());
        crv::common::AppState state;
        state.DataFolder = "/data/";
        QMenu file;
        QAction* exitAction = file.addAction("E&xit");
        ui::RecentFilesMenuSection main(&file, exitAction);
        QCOMPARE(file.actions().size(), 7);
        QCOMPARE(file.actions().last(), exitAction);
        QVERIFY(!main.separator()->isVisible());
        QVERIFY(!main.entry(0)->isVisible());

        QStringList opened;
        connect(&main, &ui::RecentFilesMenuSection::openRecentFile, this, [&](const QString& p) { opened << p; });

        ui::AddRecentFile(state, "/elsewhere/Old.dat", store);
        ui::AddRecentFile(state, "/data/R&D case.dat", store);
        QCOMPARE(state.RecentFiles[0], std::string("/data/R&D case.dat"));
        QVERIFY(main.separator()->isVisible());
        // Inside the data folder: relative; "&" shown, not a shortcut.
        QCOMPARE(main.entry(0)->text(), QString("R&&D case.dat"));
        QCOMPARE(main.entry(0)->data().toString(), QString("/data/R&D case.dat"));
        QCOMPARE(main.entry(1)->text(), QString("/elsewhere/Old.dat"));
        QVERIFY(main.entry(1)->isVisible());
        QVERIFY(!main.entry(2)->isVisible());
        // The list went to the settings file.
        QVERIFY(QFile(dir.path() + "/settings.ini").size() > 0);

        // A menu bound later (the case data editor's) shows the list at once.
        QMenu editorFile;
        ui::RecentFilesMenuSection editor(&editorFile, nullptr, "mnuFileSep3");
        QCOMPARE(editor.separator()->objectName(), QString("mnuFileSep3"));
        QCOMPARE(editor.entry(1)->data().toString(), QString("/elsewhere/Old.dat"));
        QVERIFY(editor.entry(1)->isVisible());

        // An entry moving up is followed by both menus.
        ui::AddRecentFile(state, "/elsewhere/Old.dat", store);
        QCOMPARE(main.entry(0)->data().toString(), QString("/elsewhere/Old.dat"));
        QCOMPARE(editor.entry(1)->text(), QString("R&&D case.dat"));

        file.insertAction(main.separator(), new QAction("&Open Data File...", &file));
        file.adjustSize();
        crv::testing::saveSnapshot(&file, "common/RecentFilesMenu");
        main.entry(1)->trigger();
        QCOMPARE(opened, QStringList{"/data/R&D case.dat"});

        // Entries once shown stay shown.
        crv::common::AppState shorter;
        shorter.RecentFiles[0] = "/x.dat";
        ui::UpdateRecentFilesMenu(shorter);
        QVERIFY(main.entry(1)->isVisible());
        QCOMPARE(main.entry(0)->text(), QString("/x.dat"));
    }

    void fileNamesAreTheSystemsText() {
        // Names are UTF-8; contents and messages Windows-1252; a shown text may hold both.
        const QString aUml = QString(QChar(0xE4)), oUml = QString(QChar(0xF6));
        QCOMPARE(ui::pathToQt("/D\xC3\xA4t\xC3\xA4 F\xC3\xB6lder/Big Copy \xC3\xA4.dat"),
                 "/D" + aUml + "t" + aUml + " F" + oUml + "lder/Big Copy " + aUml + ".dat");
        QCOMPARE(ui::pathFromQt("/D" + aUml + "t" + aUml + "/x.dat"), std::string("/D\xC3\xA4t\xC3\xA4/x.dat"));
        struct Case {
            std::string bytes;
            QString shown;
        } cases[] = {
            {" Errors in /data/Big Copy \xC3\xA4.dat: \r", " Errors in /data/Big Copy " + aUml + ".dat: \r"},
            {"N 38\xB0 30' in /d/\xE2\x82\xAC.dat",
             QString("N 38") + QChar(0xB0) + " 30' in /d/" + QChar(0x20AC) + ".dat"},
            {"caf\xE9 \x93q\x94", QString("caf") + QChar(0xE9) + " " + QChar(0x201C) + "q" + QChar(0x201D)},
            {"\xC3", QString(QChar(0xC3))},         // a lead byte alone: Windows-1252
            {"\xC3(", QString(QChar(0xC3)) + "("},  // not followed by a continuation byte
            {"\xE0\x80\xAF", QString(QChar(0xE0)) + QChar(0x20AC) + QChar(0xAF)},  // overlong form: not UTF-8
            {"\xF0\x9F\x93\x81 x", QString::fromUtf8("\xF0\x9F\x93\x81 x")},
        };
        for (const auto& c : cases) QCOMPARE(ui::displayToQt(c.bytes), c.shown);

        // The recent-file menus show such a name and hand back the bytes it came from.
        QTemporaryDir dir;
        crv::platform::SettingsStore store((dir.path() + "/settings.ini").toStdString());
        crv::common::AppState state;
        state.DataFolder = "/D\xC3\xA4t\xC3\xA4/";
        QMenu file;
        ui::RecentFilesMenuSection menu(&file, file.addAction("E&xit"));
        QString opened;
        connect(&menu, &ui::RecentFilesMenuSection::openRecentFile, this, [&](const QString& p) { opened = p; });
        ui::AddRecentFile(state, "/D\xC3\xA4t\xC3\xA4/Big Copy \xC3\xA4.dat", store);
        QCOMPARE(menu.entry(0)->text(), "Big Copy " + aUml + ".dat");
        menu.entry(0)->trigger();
        QCOMPARE(ui::pathFromQt(opened), std::string("/D\xC3\xA4t\xC3\xA4/Big Copy \xC3\xA4.dat"));
    }

    void checkDatabasesWarnsThroughThePresenter() {
        crv::testing::RecordingPresenter rec;
        ui::setAppPresenter(&rec);
        QTemporaryDir dir;
        QFile fm(dir.path() + "/FMALL.dat");
        QVERIFY(fm.open(QIODevice::WriteOnly));
        fm.close();
        crv::common::AppState state;
        state.FCCDatabase = fm.fileName().toStdString();
        state.UseFCCDB = 1;
        state.QVADatabase = (dir.path() + "/gone.dat").toStdString();
        state.UseQVADB = 1;

        QVERIFY(ui::CheckDatabases(state, false));
        QVERIFY(rec.messages.empty());
        QCOMPARE(state.UseQVADB, std::int16_t(0));  // its file is gone

        QVERIFY(!ui::CheckDatabases(state, true));
        QCOMPARE(rec.messages.size(), std::size_t(1));
        const auto& m = rec.messages[0];
        QCOMPARE(m.title, std::string("Warning"));
        QCOMPARE(m.icon, crv::common::MessageIcon::Exclamation);
        QCOMPARE(m.buttons, crv::common::MessageButtons::Ok);
        QCOMPARE(m.text, std::string(" Before any database searches may be performed, \r"
                                     " you must set the directory path and select for \r"
                                     " use the following file(s): \r\r"
                                     "\t Navaid and/or COM database \r\r\r"
                                     " Please select \"Location of Files\" from the Tools menu. "));
    }

    void browseForFolderTrimsTheAnswer() {
        struct Case {
            QString start, answer, expected, startSeen;
        } cases[] = {
            {"  /home/u/Data  ", "/home/u/Data/", "/home/u/Data", "/home/u/Data"},
            {"", "/", "/", ""},
            {"/x", "", "", "/x"},  // cancelled
            {"/x", "/a/b//", "/a/b", "/x"},
        };
        for (const auto& c : cases) {
            QString seenStart, seenTitle;
            ui::setFolderChooser([&](QWidget*, const QString& title, const QString& start) {
                seenTitle = title;
                seenStart = start;
                return c.answer;
            });
            QCOMPARE(ui::BrowseForFolder(nullptr, "Data Folder", c.start), c.expected);
            QCOMPARE(seenStart, c.startSeen);
            QCOMPARE(seenTitle, QString("Data Folder"));
        }
    }

    // Printed pages never go through a link in the chosen file's place, into
    // a FIFO there (which would hold the program until someone reads it) or
    // over a read-only file: they go beside it, and the job's report says
    // why the chosen file was passed over.
    void printedPagesGoBesideWhatIsNotAWritableFile() {
        struct Recorder : crv::common::MessagePresenter {
            std::vector<crv::common::Message> shown;
            crv::common::MessageAnswer present(const crv::common::Message& m) override {
                shown.push_back(m);
                return crv::common::MessageAnswer::Ok;
            }
        };
        QTemporaryDir dir;
        QFile victim(dir.filePath("notes.pdf"));
        QVERIFY(victim.open(QIODevice::WriteOnly));
        victim.write("notes");
        victim.close();
        const QString link = dir.filePath("plots.pdf");
        QVERIFY(QFile::link(victim.fileName(), link));
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(link);
        const QString used = ui::nextPrintFile(printer);
        QCOMPARE(used, dir.filePath("plots (2).pdf"));
        QCOMPARE(printer.outputFileName(), used);
        QFile pages(used);  // as the job writes it
        QVERIFY(pages.open(QIODevice::WriteOnly));
        pages.close();
        Recorder recorder;
        ui::reportPrintedFiles(recorder);
        QCOMPARE(recorder.shown.size(), std::size_t{1});
        const std::string path = ui::pathFromQt(link);
        QCOMPARE(recorder.shown[0].text, " Could not create " + path +
                                             ": it is a symbolic link \r The pages were written to \r " +
                                             ui::pathFromQt(used) + " ");
        QVERIFY(victim.open(QIODevice::ReadOnly));
        QCOMPARE(victim.readAll(), QByteArray("notes"));
    }

    void setUpPrinterOffersPagesOnlyWithBothNumbers() {
        struct Case {
            std::int16_t first, last;
            bool pagesOffered;
            int answer;                // the user's button
            int chosenFrom, chosenTo;  // 0: all pages
            bool cancel;
            std::int16_t firstAfter, lastAfter;
        } cases[] = {
            {1, 0, false, QDialog::Accepted, 0, 0, false, 1, 0}, {0, 5, false, QDialog::Accepted, 0, 0, false, 0, 5},
            {1, 5, true, QDialog::Accepted, 0, 0, false, 1, 5},  {1, 5, true, QDialog::Accepted, 2, 4, false, 2, 4},
            {3, 9, true, QDialog::Rejected, 4, 4, true, 3, 9},
        };
        for (const auto& c : cases) {
            bool offered = false;
            int minPage = -1, maxPage = -1, fromPage = -1, toPage = -1;
            ui::setPrintDialogRunner([&](QPrintDialog& d) {
                offered = d.testOption(QAbstractPrintDialog::PrintPageRange);
                minPage = d.minPage();
                maxPage = d.maxPage();
                fromPage = d.fromPage();
                toPage = d.toPage();
                if (c.pagesOffered && c.answer == QDialog::Accepted && c.chosenFrom == 0) {
                    d.show();  // as exec() would, so the dialog fills itself
                    QCoreApplication::processEvents();
                    crv::testing::saveSnapshot(&d, "common/SetUpPrinter_pages");
                    d.hide();
                }
                if (c.chosenFrom > 0) {
                    d.printer()->setPrintRange(QPrinter::PageRange);
                    d.printer()->setFromTo(c.chosenFrom, c.chosenTo);
                }
                return c.answer;
            });
            bool cancel = !c.cancel;
            std::int16_t first = c.first, last = c.last;
            ui::SetUpPrinter(cancel, first, last);
            QCOMPARE(offered, c.pagesOffered);
            if (c.pagesOffered) {
                QCOMPARE(minPage, int(c.first));
                QCOMPARE(maxPage, int(c.last));
                QCOMPARE(fromPage, int(c.first));
                QCOMPARE(toPage, int(c.first));
            }
            QCOMPARE(cancel, c.cancel);
            QCOMPARE(first, c.firstAfter);
            QCOMPARE(last, c.lastAfter);
        }
        // One printer for the whole program.
        QCOMPARE(&ui::programPrinter(), &ui::programPrinter());
    }

    void placeFormPullsInAndMovesTheMainWindow() {
        QWidget main;
        const QRect work = main.screen()->availableGeometry();
        struct Case {
            int mainLeft;
            bool minimized;
            int dialogLeft, mainShift;
        } cases[] = {
            // Centred: main 400 wide at 100, dialog 300 wide: 100 + 200 - 150.
            {work.left() + 100, false, work.left() + 150, 0},
            // Near the right edge: the dialog stops at the edge, the main
            // window follows it left by the same amount.
            {work.right() + 1 - 300, false, work.right() + 1 - 300, -50},
            {work.right() + 1 - 300, true, work.right() + 1 - 300, 0},
        };
        for (const auto& c : cases) {
            main.setGeometry(c.mainLeft, work.top() + 50, 400, 300);
            main.setWindowState(c.minimized ? Qt::WindowMinimized : Qt::WindowNoState);
            const QPoint before = main.pos();
            QDialog dialog(&main);
            dialog.resize(300, 100);
            ui::PlaceForm(&dialog);
            // A minimised window gets a frame of a pixel or two here: allow for it.
            const int slack = c.minimized ? 2 : 0;
            QVERIFY(qAbs(dialog.x() - c.dialogLeft) <= slack);
            QCOMPARE(main.pos(), before + QPoint(c.mainShift, 0));
            // Centred vertically over the main window (no menu or status bar here).
            QVERIFY(qAbs(dialog.y() - (work.top() + 50 + 150 - 50)) <= slack);
        }

        // Larger than the work area both ways: it starts at the work area's
        // top left corner, never above or left of it.
        main.setGeometry(work.left() + 100, work.top() + 50, 400, 300);
        main.setWindowState(Qt::WindowNoState);
        QDialog big(&main);
        big.resize(work.width() + 120, work.height() + 80);
        ui::PlaceForm(&big);
        QCOMPARE(big.frameGeometry().topLeft(), work.topLeft());
    }

    void shownWindowsAreKeptInsideTheWorkArea() {
        // Frames as the window manager reports them, in a work area of
        // 0..1599 by 0..1199 less a 30-pixel panel at the top.
        const QRect area(0, 30, 1600, 1170);
        struct Case {
            const char* what;
            QRect frame;
            QPoint expected;
        } cases[] = {
            {"inside", {100, 100, 400, 300}, {100, 100}},
            {"past the bottom by its caption", {20, 41, 1560, 1170}, {20, 30}},
            {"past the right edge", {1400, 200, 400, 300}, {1200, 200}},
            {"above the panel", {10, 0, 400, 300}, {10, 30}},
            {"past the left and the bottom", {-50, 1000, 400, 300}, {0, 900}},
            {"larger than the area", {-10, 5, 1700, 1300}, {0, 30}},
        };
        for (const Case& c : cases) QCOMPARE(crv::common::ui::keptInside(c.frame, area), c.expected);
    }

    void boxesAndDialogsAreWideEnoughForTheirTitles() {
        using crv::common::ui::titleWidth;
        auto box = crv::common::ui::makeMessageBox({"x", " About CRV_Sci, the scientific edition",
                                                    crv::common::MessageIcon::None, crv::common::MessageButtons::Ok},
                                                   nullptr);
        box->show();
        QVERIFY(QTest::qWaitForWindowExposed(box.get()));
        QVERIFY(box->width() >= titleWidth(*box));
        box->hide();
        // A dialog of fixed size laid out across (buttons beside fields).
        QDialog dialog;
        dialog.setWindowTitle(QStringLiteral("Display Options of the plot window"));
        auto* row = new QHBoxLayout(&dialog);
        row->setSizeConstraint(QLayout::SetFixedSize);
        row->addWidget(new QPushButton(QStringLiteral("OK")));
        const int before = dialog.sizeHint().width();
        QVERIFY(before < titleWidth(dialog));
        crv::common::ui::fitTitle(dialog);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        QVERIFY(dialog.width() >= titleWidth(dialog));
        // Once is enough: showing it again adds nothing.
        const int width = dialog.width();
        crv::common::ui::fitTitle(dialog);
        dialog.adjustSize();
        QCOMPARE(dialog.width(), width);
    }

    void gradientBandsLeaveNoGap() {
        for (int height : {241, 960, 100}) {
            QImage img(50, height, QImage::Format_RGB32);
            img.fill(Qt::red);
            QPainter p(&img);
            ui::PaintGradient(p, img.rect());
            p.end();
            // Small windows draw several bands on one row: the later one shows.
            if (height >= 241) QCOMPARE(img.pixelColor(10, 0), QColor(0, 0, 255));
            QCOMPARE(img.pixelColor(10, height - 1), QColor(0, 0, 15));
            int previous = 256;
            for (int y = 0; y < height; ++y) {
                const QColor c = img.pixelColor(25, y);
                QCOMPARE(c.red(), 0);
                QCOMPARE(c.green(), 0);
                QVERIFY(c.blue() <= previous);  // blue falls, never a red gap
                previous = c.blue();
            }
            if (height == 960) img.save(QString(CRV_SNAPSHOT_DIR) + "common/PaintGradient.png");
        }
    }
};

QTEST_MAIN(CommonServicesTest)
#include "common_services_test.moc"
