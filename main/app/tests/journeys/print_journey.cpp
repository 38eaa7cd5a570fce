// Printing to a PDF file the user names: the sample case is run through
// Simulation > Run Simulation..., then File > Display Results... opens the
// report and a plot; each is printed through the print dialog to a file
// typed there. Exactly that file is written, it holds the pages, and the
// program says where it went. A plot is one page: no page range is offered.
#include <QApplication>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QGroupBox>
#include <QLineEdit>
#include <QMainWindow>
#include <QPrinterInfo>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>

#include <filesystem>

#include "crv/common/ui/qt/frm_file_sel.h"
#include "journey_harness.h"

using crv::journeys::chooseInBrowser;
using crv::journeys::Journey;
using crv::journeys::saveScreen;
using crv::journeys::triggerMenu;
using crv::journeys::typeInto;
using crv::resources::Edition;

namespace {

QString pdfText(const QString& pdf) {
    QProcess p;
    p.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
    if (!p.waitForFinished(60000) || p.exitCode() != 0) return {};
    return QString::fromUtf8(p.readAllStandardOutput());
}

int pdfPages(const QString& pdf) {
    QProcess p;
    p.start(QStringLiteral("pdfinfo"), {pdf});
    if (!p.waitForFinished(60000) || p.exitCode() != 0) return -1;
    for (const QString& line : QString::fromUtf8(p.readAllStandardOutput()).split(QLatin1Char('\n')))
        if (line.startsWith(QLatin1String("Pages:"))) return line.mid(6).trimmed().toInt();
    return -1;
}

// The files in `folder`, names only.
QStringList filesIn(const std::string& folder) {
    return QDir(QString::fromStdString(folder)).entryList(QDir::Files, QDir::Name);
}

// Whether the print dialog lets the user pick pages: a range control that is
// shown and enabled.
bool offersPageRange(QWidget* dialog) {
    for (auto* radio : dialog->findChildren<QRadioButton*>())
        if (!radio->isHidden() && !radio->parentWidget()->isHidden() && radio->isEnabled() &&
            (radio->objectName() == QLatin1String("printRange") ||
             radio->objectName() == QLatin1String("pagesRadioButton")))
            return true;
    return false;
}

// In the print dialog: the file typed into its output file box, then Print.
void printTo(QWidget* dialog, const QString& pdf, bool& pagesOffered, const QString& picture) {
    auto* file = dialog->findChild<QLineEdit*>(QStringLiteral("filename"));
    QVERIFY(file);
    QTRY_VERIFY(file->isEnabled());
    typeInto(file, pdf);
    pagesOffered = offersPageRange(dialog);
    saveScreen(picture);
    auto* buttons = dialog->findChild<QDialogButtonBox*>();
    QVERIFY(buttons);
    QPushButton* print = buttons->button(QDialogButtonBox::Ok);
    QVERIFY(print);
    QTest::mouseClick(print, Qt::LeftButton);
}

}  // namespace

class PrintJourney : public QObject {
    Q_OBJECT
private slots:
    void reportAndPlotGoToTheChosenFile() {
        if (!QPrinterInfo::availablePrinterNames().isEmpty())
            QSKIP("a printer is installed: the print dialog offers it, not a PDF file");
        Journey j(Edition::Scientific);
        const std::string output = j.workspace() + "Output/";
        const QString pdfFolder = QString::fromStdString(j.folder()) + QStringLiteral("printed/");
        QDir().mkpath(pdfFolder);
        const QString reportPdf = pdfFolder + QStringLiteral("sample report.pdf");
        const QString plotPdf = pdfFolder + QStringLiteral("sample plot.pdf");

        const int status = j.run([&] {
            // The sample case, run from the Simulation menu.
            j.whenShown(QStringLiteral("frmFileSel"), [&](QWidget* browser) {
                QVERIFY(chooseInBrowser(browser, j.workspace() + "Data/", QStringLiteral("SampleILS.dat")));
            });
            QVERIFY(triggerMenu(j.mainWindow(), {"Simulation", "Run Simulation"}));
            QCOMPARE(j.pendingSteps(), 0);
            QTRY_VERIFY(std::filesystem::exists(output + "Rfi.txt"));
            QStringList plots = filesIn(output).filter(QStringLiteral(".plt"));
            plots.removeAll(QStringLiteral("Rfi.plt"));
            QVERIFY(!plots.isEmpty());

            // The report, printed from its viewer.
            QString reportWhere;
            bool reportPages = false;
            j.whenShown(QStringLiteral("frmFileSel"), [&](QWidget* browser) {
                QVERIFY(chooseInBrowser(browser, output, QStringLiteral("Rfi.txt")));
            });
            j.whenShown(QStringLiteral("frmReport"), [&](QWidget* report) {
                j.whenShown(QStringLiteral("QPrintDialog"), [&](QWidget* dialog) {
                    printTo(dialog, reportPdf, reportPages, QStringLiteral("print_report_dialog"));
                });
                j.answerMessageBox(QMessageBox::Ok, &reportWhere);
                QVERIFY(triggerMenu(report, {"File", "Print"}));
                QVERIFY(!reportWhere.isEmpty());
                saveScreen(QStringLiteral("print_report_viewer"));
                QVERIFY(triggerMenu(report, {"File", "Exit"}));
            });
            // The browser comes back after each viewer until it is cancelled.
            j.whenShown(QStringLiteral("frmFileSel"),
                        [&](QWidget* browser) { QVERIFY(chooseInBrowser(browser, output, plots.front())); });
            bool plotPages = true;
            QString plotWhere;
            j.whenShown(QStringLiteral("frmPlotScreen"), [&](QWidget* plot) {
                j.whenShown(QStringLiteral("QPrintDialog"), [&](QWidget* dialog) {
                    printTo(dialog, plotPdf, plotPages, QStringLiteral("print_plot_dialog"));
                });
                j.answerMessageBox(QMessageBox::Ok, &plotWhere);
                QVERIFY(triggerMenu(plot, {"File", "Print"}));
                QVERIFY(!plotWhere.isEmpty());
                saveScreen(QStringLiteral("print_plot_window"));
                QVERIFY(triggerMenu(plot, {"File", "Exit"}));
            });
            j.whenShown(QStringLiteral("frmFileSel"), [&](QWidget* browser) {
                QTest::mouseClick(static_cast<crv::common::ui::frmFileSel*>(browser)->cancelButton(), Qt::LeftButton);
            });
            QVERIFY(triggerMenu(j.mainWindow(), {"File", "Display Results"}));
            QCOMPARE(j.pendingSteps(), 0);

            // Exactly the two chosen files, each named in its message.
            QCOMPARE(QDir(pdfFolder).entryList(QDir::Files, QDir::Name),
                     (QStringList{QStringLiteral("sample plot.pdf"), QStringLiteral("sample report.pdf")}));
            QVERIFY2(reportWhere.contains(reportPdf), qPrintable(reportWhere));
            QVERIFY2(plotWhere.contains(plotPdf), qPrintable(plotWhere));
            QVERIFY(reportPages);  // a report offers its pages
            QVERIFY(!plotPages);
            // Nothing was written anywhere else.
            QVERIFY(QDir(QString::fromStdString(j.folder())).entryList({QStringLiteral("*.pdf")}).isEmpty());
            QVERIFY(filesIn(output).filter(QStringLiteral(".pdf")).isEmpty());

            QVERIFY(pdfPages(reportPdf) >= 1);
            QVERIFY(pdfText(reportPdf).contains(QStringLiteral("Rfi.txt")));
            QCOMPARE(pdfPages(plotPdf), 1);
            QVERIFY(!pdfText(plotPdf).trimmed().isEmpty());
            saveScreen(QStringLiteral("print_done"));
            j.mainWindow()->close();
        });
        QCOMPARE(status, 0);
    }
};

CRV_JOURNEY_MAIN(PrintJourney)
#include "print_journey.moc"
