// The report viewer driven offscreen over the report of an engine run on the
// sample ILS case and over made-up long reports: paging, keys, printing to
// PDF (page count, footers, pictures of the pages), AutoPrint of several
// reports, Save As and a report that cannot be read. Pictures go to
// build/snapshots/viewers/.
#include "crv/common/ui/qt/frm_file_sel.h"
#include "crv/common/ui/qt/help.h"
#include "crv/common/ui/qt/message_presenter.h"
#include "crv/testing/files.h"
#include "crv/testing/qt/recording_presenter.h"
#include "crv/testing/qt/snapshot.h"
#include "crv/viewers/report_pages.h"
#include "crv/viewers/report_window/qt/frm_report.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>

#include <cstdlib>
#include <functional>
#include <optional>

using namespace crv::common;
using namespace crv::viewers;

namespace {

QString snapDir() { return QString(CRV_SNAPSHOT_DIR) + "viewers/"; }

QString run(const QString& program, const QStringList& args) {
    QProcess p;
    p.start(program, args);
    if (!p.waitForFinished(60000) || p.exitCode() != 0) return "FAILED: " + p.readAllStandardError();
    return QString::fromUtf8(p.readAllStandardOutput());
}

int pdfPages(const QString& pdf) {
    const auto m = QRegularExpression("Pages:\\s+(\\d+)").match(run("pdfinfo", {pdf}));
    return m.hasMatch() ? m.captured(1).toInt() : -1;
}

void write(const QString& path, const QByteArray& bytes) {
    crv::testing::writeBytes(path.toStdString(), bytes.toStdString());
}

// The window always closes after the script, even when a check failed.
std::function<void(frmReport&)> closing(std::function<void(frmReport&)> script) {
    return [script](frmReport& w) {
        script(w);
        w.mnuFileExit_Click();
    };
}

}  // namespace

class ReportWindowTest : public QObject {
    Q_OBJECT

    QTemporaryDir dir_;
    QString run_;
    crv::testing::RecordingPresenter presenter_;
    std::unique_ptr<QPrinter> pdf_;
    QString pdfDir_;
    int beeps_ = 0;

    ReportViewerServices services() {
        ReportViewerServices s;
        s.presenter = &presenter_;
        s.printer = pdf_.get();
        s.setUpPrinter = [](QWidget*, int&, int&) { return true; };
        s.beep = [this] { ++beeps_; };
        return s;
    }

    void freshPdfFolder() {
        QDir(pdfDir_).removeRecursively();
        QDir().mkpath(pdfDir_);
        pdf_->setOutputFileName(pdfDir_ + "/first.pdf");
    }

private slots:
    void initTestCase() {
        QVERIFY(dir_.isValid());
        qputenv("CORVANE_SETTINGS", dir_.filePath("settings.ini").toUtf8());
        const std::string root = dir_.path().toStdString();
        QCOMPARE(std::system((std::string(CRV_SAMPLE_EXE) + " '" + root + "' >/dev/null 2>&1").c_str()), 0);
        QDir().mkpath(dir_.filePath("run"));
        QVERIFY(QFile::copy(dir_.filePath("Data/SampleILS.dat"), dir_.filePath("run/Rfi.plt")));
        QCOMPARE(std::system(("cd '" + root + "' && " + CRV50_EXE + " --quiet run run >/dev/null 2>&1").c_str()), 0);
        run_ = dir_.filePath("run") + "/";
        QVERIFY(QFile::exists(run_ + "Rfi.txt"));
        // 120 numbered lines, a degree sign (Windows-1252) in the first.
        QByteArray longText = "Heading 275\xB0 true\r\n";
        for (int i = 2; i <= 120; ++i) longText += "line " + QByteArray::number(i) + "\r\n";
        write(run_ + "long.txt", longText);
        QByteArray many;
        for (int p = 1; p <= 1200; ++p) many += "page " + QByteArray::number(p) + "\r\n\f\r\n";
        write(run_ + "many.txt", many);
        pdfDir_ = dir_.filePath("pdf");
        pdf_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
        pdf_->setOutputFormat(QPrinter::PdfFormat);
        pdf_->setPageSize(QPageSize(QPageSize::Letter));
        QDir().mkpath(snapDir());
    }

    void init() {
        presenter_.messages.clear();
        beeps_ = 0;
    }

    void oneReportOpensDirectlyAndPagesThrough() {
        bool asked = false, ran = false;
        ReportViewerServices s = services();
        s.getSettings = [&](bool&, DisplaySettings&) { asked = true; };
        s.shown = closing([&](frmReport& w) {
            ran = true;
            const ReportViewerController& c = w.controller();
            QCOMPARE(w.windowTitle(), QString(" CRV Report -- Rfi.txt"));
            QCOMPARE(w.reportLabel()->text(), QString("Report 1 of 1"));
            QVERIFY(c.LinesPerPage() >= 1 && c.LinesPerPage() <= 58);
            QVERIFY(c.LinesPerPage() != 56 && c.LinesPerPage() != 57);
            QVERIFY(!w.prevPageButton()->isEnabled());
            QVERIFY(!w.prevReportButton()->isEnabled());
            QVERIFY(!w.nextReportButton()->isEnabled());
            // The report as the engine wrote it, page by page.
            QFile f(run_ + "Rfi.txt");
            QVERIFY(f.open(QIODevice::ReadOnly));
            const QString first = QString::fromLatin1(f.readLine()).trimmed();
            QVERIFY(w.textArea()->toPlainText().trimmed().startsWith(first));
            // A full page fits the text area without scrolling.
            QCOMPARE(w.textArea()->verticalScrollBar()->maximum(), 0);
            QCOMPARE(w.pageLabel()->text(), QString("Page 1 of %1").arg(c.PageCount()));
            QVERIFY(crv::testing::saveSnapshot(&w, "viewers/report_first_page"));
            QTest::keyClick(w.textArea(), Qt::Key_PageUp);
            QCOMPARE(beeps_, 1);
            for (int p = 2; p <= c.PageCount(); ++p) QTest::keyClick(w.nextPageButton(), Qt::Key_PageDown);
            QCOMPARE(c.CurrentPage(), c.PageCount());
            QVERIFY(!w.nextPageButton()->isEnabled());
            QTest::keyClick(&w, Qt::Key_PageDown);
            QCOMPARE(beeps_, 2);
            QTest::keyClick(&w, Qt::Key_PageDown, Qt::ShiftModifier);  // the last report
            QCOMPARE(beeps_, 3);
            QTest::keyClick(&w, Qt::Key_PageDown, Qt::ControlModifier);  // does nothing
            QCOMPARE(beeps_, 3);
            QVERIFY(crv::testing::saveSnapshot(&w, "viewers/report_last_page"));
        });
        DisplayReports(run_.toStdString(), "Rfi.txt", false, s);
        QVERIFY(ran);
        QVERIFY(!asked);
        QVERIFY(presenter_.messages.empty());
        QVERIFY(crv::common::ui::helpTopics().contains("report_viewer"));
    }

    void twoReportsAskFirstAndShiftPagesMoveBetweenThem() {
        bool asked = false, ran = false;
        ReportViewerServices s = services();
        s.getSettings = [&](bool& canceled, DisplaySettings& d) {
            asked = d.printOut && !d.decibels && !d.polarPlot;
            canceled = false;
            d.printOut = false;
        };
        s.shown = closing([&](frmReport& w) {
            ran = true;
            QCOMPARE(w.reportLabel()->text(), QString("Report 1 of 2"));
            QTest::keyClick(w.textArea(), Qt::Key_PageDown, Qt::ShiftModifier);
            QCOMPARE(w.windowTitle(), QString(" CRV Report -- long.txt"));
            QCOMPARE(w.reportLabel()->text(), QString("Report 2 of 2"));
            QCOMPARE(w.pageLabel()->text().left(7), QString("Page 1 "));
            QVERIFY(w.prevReportButton()->isEnabled());
            // The degree sign reads as one.
            QVERIFY(w.textArea()->toPlainText().startsWith(QString::fromUtf8("Heading 275\u00B0 true\n")));
            QVERIFY(crv::testing::saveSnapshot(&w, "viewers/report_second_report"));
            w.cmdPrevReprt_Click();
            QCOMPARE(w.reportLabel()->text(), QString("Report 1 of 2"));
        });
        DisplayReports(run_.toStdString(), "Rfi.txt|long.txt", false, s);
        QVERIFY(asked);
        QVERIFY(ran);
    }

    void pagesPast999AreReachable() {
        bool ran = false;
        ReportViewerServices s = services();
        s.shown = closing([&](frmReport& w) {
            ran = true;
            QCOMPARE(w.pageLabel()->text(), QString("Page 1 of 1200"));
            for (int p = 2; p <= 1200; ++p) w.cmdNextPage_Click();
            QCOMPARE(w.pageLabel()->text(), QString("Page 1200 of 1200"));
            QCOMPARE(w.textArea()->toPlainText().trimmed(), QString("page 1200"));
        });
        DisplayReports(run_.toStdString(), "many.txt", false, s);
        QVERIFY(ran);
    }

    void printRangeInPrintedPagesWithFooters() {
        freshPdfFolder();
        int offeredFrom = 0, offeredTo = 0;
        ReportViewerServices s = services();
        int from = 1, to = 0;
        s.setUpPrinter = [&](QWidget*, int& f, int& t) {
            offeredFrom = f;
            offeredTo = t;
            if (to > 0) {
                f = from;
                t = to;
            }
            return true;
        };
        s.chooseFont = [](QWidget*, QFont& f) {
            f.setPixelSize(f.pixelSize() > 0 ? f.pixelSize() * 2 : 24);
            return true;
        };
        s.shown = closing([&](frmReport& w) {
            // A larger font: more screen pages than printed ones.
            w.mnuViewFont_Click();
            QVERIFY(w.controller().PageCount() > 3);
            // All pages: 120 lines are 58 + 58 + 4 printed lines.
            pdf_->setOutputFileName(pdfDir_ + "/all pages.pdf");
            w.mnuFilePrint_Click();
            QCOMPARE(offeredFrom, 1);
            QCOMPARE(offeredTo, 3);
            // Printed pages 2 to 3 only.
            from = 2;
            to = 3;
            pdf_->setOutputFileName(pdfDir_ + "/range.pdf");
            w.mnuFilePrint_Click();
        });
        DisplayReports(run_.toStdString(), "long.txt", false, s);
        // Each job writes the file it was given, and says so.
        const QString all = pdfDir_ + "/all pages.pdf";
        QCOMPARE(int(presenter_.messages.size()), 2);
        QVERIFY(QString::fromStdString(presenter_.messages[0].text).contains(all));
        QVERIFY(QString::fromStdString(presenter_.messages[1].text).contains(pdfDir_ + "/range.pdf"));
        QCOMPARE(pdfPages(all), 3);
        QCOMPARE(pdfPages(pdfDir_ + "/range.pdf"), 2);
        // Footers: the file on the left, the page number on the right.
        for (int page = 1; page <= 3; ++page) {
            const QString text =
                run("pdftotext", {"-layout", "-f", QString::number(page), "-l", QString::number(page), all, "-"});
            QVERIFY2(text.contains(QRegularExpression("File:\\s+long\\.txt")), qPrintable(text));
            QVERIFY2(text.contains(
                         QRegularExpression(QString("Page\\s+%1\\s*$").arg(page), QRegularExpression::MultilineOption)),
                     qPrintable(text));
            QVERIFY(text.contains(page == 1 ? "line 58" : page == 2 ? "line 116" : "line 120"));
            QVERIFY(!text.contains(page == 1 ? "line 59" : page == 2 ? "line 117" : "line 116"));
        }
        const QString pages = run("pdftoppm", {"-png", "-r", "40", all, snapDir() + "report_print"});
        QVERIFY2(!pages.startsWith("FAILED"), qPrintable(pages));
        QVERIFY(QFile::exists(snapDir() + "report_print-1.png"));
        QVERIFY(QFile::exists(snapDir() + "report_print-3.png"));
    }

    void autoPrintWritesOneFilePerReport() {
        freshPdfFolder();
        pdf_->setOutputFileName(pdfDir_ + "/auto.pdf");
        ReportViewerServices s = services();
        bool asked = false;
        s.getSettings = [&](bool&, DisplaySettings&) { asked = true; };
        s.setUpPrinter = [&](QWidget*, int&, int&) {
            asked = true;
            return true;
        };
        DisplayReports(run_.toStdString(), "Rfi.txt|long.txt|many.txt", true, s);
        DisplayReports(run_.toStdString(), "Rfi.txt", true, s);
        QVERIFY(!asked);
        QVERIFY(presenter_.messages.empty());
        // One job: the given file first, the later reports numbered beside it.
        QCOMPARE(QDir(pdfDir_).entryList({"*.pdf"}, QDir::Files, QDir::Name),
                 QStringList({"auto (2).pdf", "auto (3).pdf", "auto (4).pdf", "auto.pdf"}));
        QCOMPARE(pdfPages(pdfDir_ + "/auto (2).pdf"), 3);
        // Every page, also past 999.
        QCOMPARE(pdfPages(pdfDir_ + "/auto (3).pdf"), 1200);
        QVERIFY(pdfPages(pdfDir_ + "/auto.pdf") >= 1);
        run("pdftoppm",
            {"-png", "-r", "40", "-f", "1", "-l", "1", pdfDir_ + "/auto.pdf", snapDir() + "report_autoprint_rfi"});
    }

    void printingFromTheQuestionPrintsEveryReport() {
        freshPdfFolder();
        ReportViewerServices s = services();
        int dialogs = 0;
        bool shown = false;
        s.getSettings = [](bool& c, DisplaySettings& d) {
            c = false;
            d.printOut = true;
        };
        s.setUpPrinter = [&](QWidget*, int& f, int& t) {
            ++dialogs;
            return f == 0 && t == 0;  // no page range offered
        };
        s.shown = [&](frmReport&) { shown = true; };
        DisplayReports(run_.toStdString(), "Rfi.txt|long.txt", false, s);
        QCOMPARE(dialogs, 1);
        QVERIFY(!shown);
        QCOMPARE(QDir(pdfDir_).entryList({"*.pdf"}).size(), 2);
        // Cancelled in the question or in the print dialog: nothing at all.
        freshPdfFolder();
        s.setUpPrinter = [](QWidget*, int&, int&) { return false; };
        DisplayReports(run_.toStdString(), "Rfi.txt|long.txt", false, s);
        s.getSettings = [](bool& c, DisplaySettings&) { c = true; };
        DisplayReports(run_.toStdString(), "Rfi.txt|long.txt", false, s);
        QVERIFY(!shown);
        QCOMPARE(QDir(pdfDir_).entryList({"*.pdf"}).size(), 0);
    }

    void saveAsKeepsTheReportAndReportsFailures() {
        const QByteArray before = [&] {
            QFile f(run_ + "long.txt");
            f.open(QIODevice::ReadOnly);
            return f.readAll();
        }();
        ReportViewerServices s = services();
        QString target;
        std::string proposedFolder, proposedName;
        s.saveFileName = [&](QWidget*, const std::string& folder, const std::string& name) {
            proposedFolder = folder;
            proposedName = name;
            return target.toStdString();
        };
        s.shown = closing([&](frmReport& w) {
            target = run_ + "./long.txt";  // the report itself
            w.mnuFileSave_Click();
            target = run_ + "copy.txt";
            w.mnuFileSave_Click();
            target = run_ + "no/such/folder/copy.txt";
            w.mnuFileSave_Click();
        });
        DisplayReports(run_.toStdString(), "long.txt", false, s);
        QCOMPARE(QString::fromStdString(proposedName), QString("long.txt"));
        QCOMPARE(QString::fromStdString(proposedFolder), run_);
        QFile same(run_ + "long.txt"), copy(run_ + "copy.txt");
        QVERIFY(same.open(QIODevice::ReadOnly) && copy.open(QIODevice::ReadOnly));
        QCOMPARE(same.readAll(), before);
        QCOMPARE(copy.readAll(), before);
        QCOMPARE(int(presenter_.messages.size()), 1);
        QVERIFY(QString::fromStdString(presenter_.messages[0].text).contains("no/such/folder"));
    }

    void anUnreadableReportIsReportedAndTheViewerStays() {
        ReportViewerServices s = services();
        bool ran = false;
        s.shown = closing([&](frmReport& w) {
            ran = true;
            QCOMPARE(w.pageLabel()->text(), QString("Page 1 of 0"));
            QVERIFY(!w.nextPageButton()->isEnabled());
            w.cmdNextReprt_Click();
            QCOMPARE(w.reportLabel()->text(), QString("Report 2 of 2"));
            QVERIFY(w.pageLabel()->text().startsWith("Page 1 of "));
        });
        s.getSettings = [](bool& c, DisplaySettings& d) {
            c = false;
            d.printOut = false;
        };
        DisplayReports(run_.toStdString(), "gone.txt|Rfi.txt", false, s);
        QVERIFY(ran);
        QCOMPARE(int(presenter_.messages.size()), 1);
        QVERIFY(QString::fromStdString(presenter_.messages[0].text).contains("LoadFile"));
        QVERIFY(QString::fromStdString(presenter_.messages[0].text).contains("gone.txt"));
    }

    void fileOpenReplacesTheListAndAFailedPrintIsReported() {
        ReportViewerServices s = services();
        std::optional<FileChoice> choice;
        s.showFiles = [&](QWidget*, const std::string&) { return choice; };
        s.shown = closing([&](frmReport& w) {
            const int lines = w.controller().LinesPerPage();
            w.mnuFileOpen_Click();  // nothing chosen
            QCOMPARE(w.windowTitle(), QString(" CRV Report -- Rfi.txt"));
            choice = FileChoice{run_.toStdString(), "long.txt|Rfi.txt"};
            w.mnuFileOpen_Click();
            QCOMPARE(w.windowTitle(), QString(" CRV Report -- long.txt"));
            QCOMPARE(w.reportLabel()->text(), QString("Report 1 of 2"));
            QCOMPARE(w.controller().LinesPerPage(), lines);  // the font and layout stay
            pdf_->setOutputFileName(dir_.filePath("missing/folder/x.pdf"));
            QVERIFY(!w.PrintReport(1, 3));
        });
        DisplayReports(run_.toStdString(), "Rfi.txt", false, s);
        QCOMPARE(int(presenter_.messages.size()), 1);
        QVERIFY(QString::fromStdString(presenter_.messages[0].text).contains("PrintReport"));
    }

    void fileOpenThroughTheProgramsBrowser() {
        AppState state;
        state.OutputFolder = run_.toStdString();
        state.DataFolder = state.UserFolder = state.OutputFolder;
        crv::common::ui::frmFileSel browser(state, &presenter_);
        int kind = 0;
        browser.setRunner([&](crv::common::ui::frmFileSel& d) {
            kind = d.FileKind();
            d.show();
            d.okButton()->click();  // "Rfi.txt" is chosen first among reports
        });
        ReportViewerServices s = services();
        s.fileBrowser = &browser;
        bool ran = false;
        s.shown = closing([&](frmReport& w) {
            ran = true;
            w.mnuFileOpen_Click();
            QCOMPARE(kind, 3);
            QCOMPARE(w.windowTitle(), QString(" CRV Report -- Rfi.txt"));
            QCOMPARE(w.reportLabel()->text(), QString("Report 1 of 1"));
        });
        DisplayReports(run_.toStdString(), "long.txt", false, s);
        QVERIFY(ran);
        QVERIFY(presenter_.messages.empty());
    }

    void aChosenFontPagesTheReportAgain() {
        ReportViewerServices s = services();
        s.chooseFont = [](QWidget*, QFont& f) {
            f.setPixelSize(f.pixelSize() > 0 ? f.pixelSize() * 2 : 24);
            return true;
        };
        s.shown = closing([&](frmReport& w) {
            const int before = w.controller().LinesPerPage();
            w.cmdNextPage_Click();
            w.mnuViewFont_Click();
            QVERIFY(w.controller().LinesPerPage() < before || before == 1);
            QCOMPARE(w.controller().CurrentPage(), 1);
            QCOMPARE(w.textArea()->verticalScrollBar()->maximum(), 0);
            QVERIFY(crv::testing::saveSnapshot(&w, "viewers/report_large_font"));
        });
        DisplayReports(run_.toStdString(), "long.txt", false, s);
    }
};

QTEST_MAIN(ReportWindowTest)
#include "report_window_test.moc"
