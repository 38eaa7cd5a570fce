// The new-case dialogs in the running program: the save dialog of a new case
// over a finished one, a full stop typed into a position, Escape after an
// input error, and help read while a dialog waits.
#include <QApplication>
#include <QDialog>
#include <QLineEdit>
#include <QListWidget>
#include <QMainWindow>
#include <QRadioButton>
#include <QTextBrowser>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "crv/common/ui/qt/help.h"
#include "crv/main/app/qt/program.h"
#include "journey_harness.h"

using crv::journeys::clickButton;
using crv::journeys::contentsOf;
using crv::journeys::Journey;
using crv::journeys::saveScreen;
using crv::journeys::triggerMenu;
using crv::journeys::typeInto;
using crv::resources::Edition;

namespace {

QLineEdit* box(QWidget* dialog, const char* name) { return dialog->findChild<QLineEdit*>(QString::fromLatin1(name)); }

// The Lat/Lon Format option whose caption is `caption` (Windows-1252).
QRadioButton* formatOption(QWidget* dialog, const char* caption) {
    for (auto* o : dialog->findChildren<QRadioButton*>())
        if (o->text() == QString::fromLatin1(caption)) return o;
    return nullptr;
}

QString latin1(const char* text) { return QString::fromLatin1(text); }

}  // namespace

class DialogsJourney : public QObject {
    Q_OBJECT
private slots:
    // Navaid > Manual Entry, then the name of a finished case typed without
    // ".dat": the replace question comes, No keeps the case as it was.
    void newCaseOverAFinishedCaseAsksFirst() {
        Journey j(Edition::Scientific);
        const std::string finished = j.workspace() + "Data/SampleILS.dat";
        const std::string before = contentsOf(finished);
        QVERIFY(!before.empty());
        QString question;
        const int status = j.run([&] {
            j.whenShown(QStringLiteral("frmNavData"), [&](QWidget* d) {
                typeInto(box(d, "txtEditBox0"), QStringLiteral("SMP"));
                QVERIFY(clickButton(d, QStringLiteral("OK")));
            });
            j.whenShown(QStringLiteral("frmSrchPar"),
                        [&](QWidget* d) { QVERIFY(clickButton(d, QStringLiteral("OK"))); });
            j.whenShown(QStringLiteral("QFileDialog"), [&](QWidget* d) {
                auto* name = d->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
                QVERIFY(name);
                QCOMPARE(name->text(), QStringLiteral("SMP_loc.dat"));
                j.answerMessageBox(QMessageBox::No, &question);
                j.whenShown(QStringLiteral("QFileDialog"), [&](QWidget* again) {
                    // Back in the dialog on the name just refused.
                    auto* n = again->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
                    QVERIFY(n);
                    QCOMPARE(n->text(), QStringLiteral("SampleILS.dat"));
                    saveScreen(QStringLiteral("new_case_not_replaced"));
                    static_cast<QDialog*>(again)->reject();
                });
                typeInto(name, QStringLiteral("SampleILS"));
                QTest::keyClick(name, Qt::Key_Return);
            });
            QVERIFY(triggerMenu(j.mainWindow(), {"Navaid", "Manual Entry"}));
            QCOMPARE(j.pendingSteps(), 0);
            QTRY_VERIFY(j.mainWindow()->isVisible());
            j.mainWindow()->close();
        });
        QCOMPARE(status, 0);
        QCOMPARE(question, QStringLiteral(" SampleILS.dat already exists. \n Do you want to replace it? "));
        QCOMPARE(contentsOf(finished), before);  // byte for byte
        QVERIFY(!std::filesystem::exists(j.workspace() + "Data/SampleILS"));
    }

    // "41.5" into a decimal latitude of Proponent Data, "38.5" into a
    // degrees-minutes-seconds latitude of Manual Navaid Entry: the digits go
    // to the digit places, the full stop to the decimal point where the format
    // has one (and nowhere where it has none).
    void fullStopInAPosition() {
        Journey j(Edition::Scientific);
        QString noStations;
        const int status = j.run([&] {
            j.whenShown(QStringLiteral("frmPropData"), [&](QWidget* d) {
                auto* decimal = formatOption(d, "DDD.dddd\xB0");
                QVERIFY(decimal);
                QTest::mouseClick(decimal, Qt::LeftButton);
                auto* lat = box(d, "txtEditBox2");
                auto* lon = box(d, "txtEditBox3");
                typeInto(lat, QStringLiteral("41.5"));
                QCOMPARE(lat->text(), latin1("N 41.5000\xB0"));
                typeInto(lon, QStringLiteral("070.25"));  // three places for the degrees
                QCOMPARE(lon->text(), latin1("W 070.2500\xB0"));
                QCOMPARE(lat->text(), latin1("N 41.5000\xB0"));  // leaving it changed nothing
                saveScreen(QStringLiteral("position_decimal_typed"));
                // Out at sea: no station, and the dialog comes back on the site.
                j.answerMessageBox(QMessageBox::Ok, &noStations);
                j.whenShown(QStringLiteral("frmPropData"), [&](QWidget* again) {
                    QCOMPARE(box(again, "txtEditBox2")->text(), latin1("N 41\xB0 30' 00\""));
                    QVERIFY(clickButton(again, QStringLiteral("Cancel")));
                });
                QVERIFY(clickButton(d, QStringLiteral("OK")));
            });
            QVERIFY(triggerMenu(j.mainWindow(), {"File", "New Proponent"}));
            QCOMPARE(j.pendingSteps(), 0);
            QCOMPARE(j.program().state.LastLatitude, std::string("N 41\xB0 30' 00\""));
            QCOMPARE(j.program().state.LastLongitude, std::string("W 070\xB0 15' 00\""));

            j.whenShown(QStringLiteral("frmNavData"), [&](QWidget* d) {
                typeInto(box(d, "txtEditBox0"), QStringLiteral("DOT"));
                auto* lat = box(d, "mskEditBox3");
                QCOMPARE(lat->text(), latin1("N 41\xB0 30' 00\""));
                typeInto(lat, QStringLiteral("38.5"));
                QCOMPARE(lat->text(), latin1("N 38\xB0 50' 00\""));
                typeInto(box(d, "txtEditBox5"), QStringLiteral("420"));
                QCOMPARE(lat->text(), latin1("N 38\xB0 50' 00\""));
                saveScreen(QStringLiteral("position_dms_typed"));
                QVERIFY(clickButton(d, QStringLiteral("OK")));
            });
            j.whenShown(QStringLiteral("frmSrchPar"),
                        [&](QWidget* d) { QVERIFY(clickButton(d, QStringLiteral("Cancel"))); });
            QVERIFY(triggerMenu(j.mainWindow(), {"Navaid", "Manual Entry"}));
            QCOMPARE(j.pendingSteps(), 0);
            const std::string record = j.program().state.NavaidRecord;
            QCOMPARE(record.substr(17, 9), std::string(" 38 50 00"));
            QCOMPARE(record.substr(27, 10), std::string("  70 15 00"));
            j.mainWindow()->close();
        });
        QCOMPARE(status, 0);
        QVERIFY(noStations.contains(QStringLiteral("No FM facilities found.")));
    }

    // Runway heading 275, then 400 and Tab: the range message; Escape puts
    // 275 back, Tab leaves without a second message, and 275 is what OK takes.
    void escapeAfterAnInputError() {
        Journey j(Edition::Scientific);
        QString range;
        const int status = j.run([&] {
            j.whenShown(QStringLiteral("frmNavData"), [&](QWidget* d) {
                // Leaving a box is a focus change: the dialog must have the focus.
                d->activateWindow();
                QTRY_COMPARE(QApplication::activeWindow(), d);
                typeInto(box(d, "txtEditBox0"), QStringLiteral("ESC"));
                auto* heading = box(d, "txtEditBox2");
                typeInto(heading, QStringLiteral("275"));
                QTest::keyClick(heading, Qt::Key_Tab);
                QTRY_VERIFY(!heading->hasFocus());
                j.answerMessageBox(QMessageBox::Ok, &range);
                typeInto(heading, QStringLiteral("400"));
                QTest::keyClick(heading, Qt::Key_Tab);
                QVERIFY(!range.isEmpty());  // the box came and was answered
                QTRY_VERIFY(heading->hasFocus());
                QCOMPARE(heading->text(), QStringLiteral("400"));
                QTest::keyClick(heading, Qt::Key_Escape);
                QCOMPARE(heading->text(), QStringLiteral("275"));
                QVERIFY(d->isVisible());
                QTest::keyClick(heading, Qt::Key_Tab);
                QTRY_VERIFY(!heading->hasFocus());
                saveScreen(QStringLiteral("escape_after_input_error"));
                QVERIFY(clickButton(d, QStringLiteral("OK")));
            });
            j.whenShown(QStringLiteral("frmSrchPar"),
                        [&](QWidget* d) { QVERIFY(clickButton(d, QStringLiteral("Cancel"))); });
            QVERIFY(triggerMenu(j.mainWindow(), {"Navaid", "Manual Entry"}));
            QCOMPARE(j.pendingSteps(), 0);
            QCOMPARE(j.program().state.NavaidRecord.substr(1, 7), std::string("ESC 275"));
            j.mainWindow()->close();
        });
        QCOMPARE(status, 0);
        QCOMPARE(range, QStringLiteral(" Value must be in the range 0 to 360. "));
    }

    // Help from Proponent Data: the help window takes clicks, goes to
    // another page and back, and closes, while the dialog stays open.
    void helpFromADialog() {
        Journey j(Edition::Scientific);
        auto& help = crv::common::ui::helpWindow();
        const int status = j.run([&] {
            j.whenShown(QStringLiteral("frmPropData"), [&](QWidget* d) {
                QVERIFY(clickButton(d, QStringLiteral("Help")));
                QTRY_VERIFY(help.isVisible());
                QCOMPARE(help.currentTopic(), QStringLiteral("proponent_data"));
                // A click on another page of the contents list.
                QListWidget* list = help.contentsList();
                QListWidgetItem* target = nullptr;
                for (int i = 0; i < list->count() && !target; ++i)
                    if (list->item(i)->data(Qt::UserRole).toString() == QLatin1String("entering_values"))
                        target = list->item(i);
                QVERIFY(target);
                list->scrollToItem(target);
                QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(target).center());
                QTRY_COMPARE(help.currentTopic(), QStringLiteral("entering_values"));
                QVERIFY(help.backAction()->isEnabled());
                help.backAction()->trigger();
                QTRY_COMPARE(help.currentTopic(), QStringLiteral("proponent_data"));
                saveScreen(QStringLiteral("help_from_proponent_data"));
                help.close();
                QVERIFY(!help.isVisible());
                QVERIFY(d->isVisible());
                QVERIFY(clickButton(d, QStringLiteral("Cancel")));
            });
            QVERIFY(triggerMenu(j.mainWindow(), {"File", "New Proponent"}));
            QCOMPARE(j.pendingSteps(), 0);
            j.mainWindow()->close();
        });
        QCOMPARE(status, 0);
    }
};

CRV_JOURNEY_MAIN(DialogsJourney)
#include "dialogs_journey.moc"
