// A new case the way a person makes one: File > New Proponent..., the
// proponent's site, the FM and navaid searches, the navaid, the search
// parameters and the new case's name, then the case editor's Save, Run
// Simulation. Then Simulation > Run, Print Results... prints the report and
// every plot of that case in one job to the PDF file chosen in the print
// dialog: the chosen file and files numbered beside it, and one message
// that says where they went.
#include <QDir>
#include <QMainWindow>
#include <QPrinterInfo>
#include <QPushButton>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "crv/common/ui/qt/field_edit.h"
#include "crv/common/ui/qt/frm_file_sel.h"
#include "crv/main/dialogs/qt/frm_nav_sel.h"
#include "crv/main/dialogs/qt/frm_prop_data.h"
#include "crv/main/dialogs/qt/frm_prop_sel.h"
#include "crv/main/dialogs/qt/frm_srch_par.h"
#include "crv/main/dialogs/qt/selection_list.h"
#include "journey_harness.h"

using namespace crv::main;
using namespace crv::main::qt;
using crv::journeys::chooseFile;
using crv::journeys::chooseInBrowser;
using crv::journeys::Journey;
using crv::journeys::saveScreen;
using crv::journeys::triggerMenu;
using crv::journeys::typeInto;

namespace {

// A position box takes the hemisphere letter and the digits, as a person
// types them over the whole box.
void typePosition(crv::common::ui::FieldEdit* box, const char* keys) { typeInto(box, QString::fromLatin1(keys)); }

int rowHolding(QAbstractItemModel* model, const QString& text) {
    for (int r = 0; r < model->rowCount(); ++r)
        if (model->data(model->index(r, 0)).toString().contains(text)) return r;
    return -1;
}

std::string firstLine(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::string line;
    std::getline(in, line);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    return line;
}

}  // namespace

class NewCaseJourney : public QObject {
    Q_OBJECT
private slots:
    void newCaseRunAndPrintResults() {
        if (!QPrinterInfo::availablePrinterNames().isEmpty())
            QSKIP("a printer is installed: the print dialog offers it, not a PDF file");
        Journey j(crv::resources::Edition::Scientific);
        const std::string data = j.workspace() + "Data/";
        const std::string output = j.workspace() + "Output/";
        const QString pdf = QString::fromStdString(j.folder()) + QStringLiteral("results.pdf");

        const int status = j.run([&] {
            j.whenShown(QStringLiteral("frmPropData"), [&](QWidget* w) {
                auto* f = static_cast<frmPropData*>(w);
                typePosition(f->edit(ProponentEntryModel::Latitude), "N392015");
                typePosition(f->edit(ProponentEntryModel::Longitude), "W0774540");
                typeInto(f->edit(ProponentEntryModel::SearchRadius), QStringLiteral("15"));
                saveScreen(QStringLiteral("new_case_proponent"));
                QTest::mouseClick(f->okButton(), Qt::LeftButton);
            });
            j.whenShown(QStringLiteral("frmPropSel"), [&](QWidget* w) {
                auto* f = static_cast<frmPropSel*>(w);
                QVERIFY(f->list()->model()->rowCount() > 0);
                QTest::mouseClick(f->okButton(), Qt::LeftButton);
            });
            QString note;
            j.answerMessageBox(QMessageBox::Ok, &note);  // the asterisks of the scientific list
            j.whenShown(QStringLiteral("frmNavSel"), [&](QWidget* w) {
                auto* f = static_cast<frmNavSel*>(w);
                const int row = rowHolding(f->list()->model(), QStringLiteral("* QKV"));
                QVERIFY(row >= 0);
                f->list()->selectRow(row);
                saveScreen(QStringLiteral("new_case_navaid"));
                QTest::mouseClick(f->okButton(), Qt::LeftButton);
            });
            j.whenShown(QStringLiteral("frmSrchPar"), [&](QWidget* w) {
                QTest::mouseClick(static_cast<frmSrchPar*>(w)->okButton(), Qt::LeftButton);
            });
            j.whenShown(QStringLiteral("QFileDialog"),
                        [&](QWidget* w) { QVERIFY(chooseFile(w, QString::fromStdString(data + "Journey.dat"))); });
            j.whenShown(QStringLiteral("frmDataEdit"), [&](QWidget* editor) {
                saveScreen(QStringLiteral("new_case_editor"));
                QVERIFY(triggerMenu(editor, {"File", "Save, Run Simulation"}));
            });
            QVERIFY(triggerMenu(j.mainWindow(), {"File", "New Proponent"}));
            QCOMPARE(j.pendingSteps(), 0);
            QVERIFY2(note.contains(QLatin1String("asterisk")), qPrintable(note));
            QCOMPARE(firstLine(data + "Journey.dat"), std::string("CRV Version 5.0.6"));
            QVERIFY(std::filesystem::exists(output + "Rfi.txt"));
            saveScreen(QStringLiteral("new_case_run"));

            // Run, Print Results: the case, the print dialog, one job.
            QString where;
            j.whenShown(QStringLiteral("frmFileSel"), [&](QWidget* browser) {
                QVERIFY(chooseInBrowser(browser, data, QStringLiteral("Journey.dat")));
            });
            j.whenShown(QStringLiteral("QPrintDialog"), [&](QWidget* dialog) {
                auto* file = dialog->findChild<QLineEdit*>(QStringLiteral("filename"));
                QVERIFY(file);
                typeInto(file, pdf);
                QVERIFY(crv::journeys::clickButton(dialog, QStringLiteral("Print")));
            });
            QString warning;
            j.answerMessageBox(QMessageBox::Ok, &warning);  // the last run's results go
            j.answerMessageBox(QMessageBox::Ok, &where);
            QVERIFY(triggerMenu(j.mainWindow(), {"Simulation", "Run, Print Results"}));
            QVERIFY(!warning.isEmpty());
            QCOMPARE(j.pendingSteps(), 0);

            const QStringList printed =
                QDir(QString::fromStdString(j.folder())).entryList({QStringLiteral("*.pdf")}, QDir::Files, QDir::Name);
            // The report and the run's plots: the chosen file, then
            // "results (2).pdf"... and nothing else.
            QVERIFY2(printed.size() >= 2, qPrintable(printed.join(QLatin1Char(','))));
            QVERIFY(printed.contains(QStringLiteral("results.pdf")));
            for (int n = 2; n <= printed.size(); ++n)
                QVERIFY(printed.contains(QStringLiteral("results (%1).pdf").arg(n)));
            QVERIFY2(where.contains(QStringLiteral("%1 files").arg(printed.size())), qPrintable(where));
            QVERIFY2(where.contains(QStringLiteral("results.pdf")), qPrintable(where));
            saveScreen(QStringLiteral("new_case_printed"));
            j.mainWindow()->close();
        });
        QCOMPARE(status, 0);
    }
};

CRV_JOURNEY_MAIN(NewCaseJourney)
#include "new_case_journey.moc"
