// The keys a person presses, in the running program, through the X server
// and the window manager when there is one: typing over a selected position,
// Delete and Escape in the boxes, Enter on a focused OK, and Escape after an
// input error on the case editor's pages, with what the screen shows and
// what the file holds afterwards.
#include <QApplication>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTabBar>

#include <filesystem>

#include "crv/common/ui/qt/frm_file_sel.h"
#include "journey_harness.h"

using crv::journeys::clickAsAUser;
using crv::journeys::contentsOf;
using crv::journeys::Journey;
using crv::journeys::pressKeys;
using crv::journeys::saveScreen;
using crv::journeys::triggerMenu;
using crv::journeys::typeText;
using crv::resources::Edition;

namespace {

QLineEdit* box(QWidget* dialog, const QString& name) { return dialog->findChild<QLineEdit*>(name); }

QRadioButton* option(QWidget* dialog, const QString& caption) {
    for (auto* o : dialog->findChildren<QRadioButton*>())
        if (o->text() == caption) return o;
    return nullptr;
}

// Presses Tab until `target` has the focus (at most 30 times).
bool tabTo(QWidget* target, const char* keys = "Tab") {
    for (int i = 0; i < 30 && !target->hasFocus(); ++i) pressKeys(QString::fromLatin1(keys));
    return target->hasFocus();
}

// Only the field with the focus shows a selection.
QStringList selectedButNotFocused(QWidget* window) {
    QStringList out;
    for (auto* e : window->findChildren<QLineEdit*>())
        if (e->isVisible() && e->hasSelectedText() && !e->hasFocus()) out << e->objectName();
    return out;
}

QString latin1(const char* text) { return QString::fromLatin1(text); }

// The case editor's field whose label is `label` on the page shown.
QLineEdit* fieldLabelled(QWidget* editor, const QString& label) {
    for (auto* l : editor->findChildren<QLabel*>())
        if (l->isVisible() && l->text() == label && l->objectName().startsWith(QLatin1String("lblFldLabel")))
            return editor->findChild<QLineEdit*>(QStringLiteral("field") + l->objectName().mid(11));
    return nullptr;
}

}  // namespace

class KeyboardJourney : public QObject {
    Q_OBJECT
private slots:
    // Navaid > Manual Entry in decimal degrees: 39.3375, Tab, Shift+Tab (the
    // box selects all), 41.5, Tab gives N 41.5000° (not N 41.5375°); Delete
    // edits every text box and Escape puts each back; Enter on the focused
    // OK closes the dialog, and Enter on the search parameters' OK too.
    void manualEntryKeys() {
        Journey j(Edition::Field);
        QString latitude;
        QStringList deleted, twoCurrent;
        bool searchParametersClosed = false;
        const int status = j.run([&] {
            j.whenShown(QStringLiteral("frmNavData"), [&](QWidget* d) {
                QRadioButton* decimal = option(d, latin1("DDD.dddd\xB0"));
                QVERIFY(decimal);
                clickAsAUser(decimal);
                QTRY_VERIFY(decimal->isChecked());
                QLineEdit* id = box(d, QStringLiteral("txtEditBox0"));
                QLineEdit* lat = box(d, QStringLiteral("mskEditBox3"));
                clickAsAUser(id);
                QTRY_VERIFY(id->hasFocus());
                QVERIFY(tabTo(lat));
                typeText(QStringLiteral("39.3375"));
                QTRY_COMPARE(lat->text(), latin1("N 39.3375\xB0"));
                pressKeys(QStringLiteral("Tab shift+Tab"));
                QTRY_VERIFY(lat->hasFocus());
                QVERIFY(lat->hasSelectedText());
                typeText(QStringLiteral("41.5"));
                pressKeys(QStringLiteral("Tab"));
                QTRY_VERIFY(!lat->hasFocus());
                latitude = lat->text();
                twoCurrent = selectedButNotFocused(d);
                // Delete at the start of each enabled text box, then Escape.
                for (int k : {0, 1, 2, 5, 8}) {
                    QLineEdit* e = box(d, QStringLiteral("txtEditBox%1").arg(k));
                    if (!e || !e->isEnabled()) continue;
                    if (k == 8) e->setText(QStringLiteral("CASE"));  // the airspace case starts empty
                    const QString before = e->text();
                    clickAsAUser(e);
                    QTRY_VERIFY(e->hasFocus());
                    pressKeys(QStringLiteral("Home Delete"));
                    if (e->text() == before.mid(1)) deleted << e->objectName();
                    pressKeys(QStringLiteral("Escape"));
                    QTRY_COMPARE(e->text(), before);
                }
                saveScreen(QStringLiteral("keys_manual_entry"));
                QPushButton* ok = d->findChild<QPushButton*>(QStringLiteral("cmdOK"));
                QVERIFY(tabTo(ok));
                pressKeys(QStringLiteral("Return"));
            });
            j.whenShown(QStringLiteral("frmSrchPar"), [&](QWidget* d) {
                auto* ok = d->findChildren<QPushButton*>().value(0);
                for (auto* b : d->findChildren<QPushButton*>())
                    if (b->text() == QLatin1String("OK")) ok = b;
                QVERIFY(ok);
                QVERIFY(tabTo(ok));
                saveScreen(QStringLiteral("keys_search_parameters"));
                pressKeys(QStringLiteral("Return"));
                QTRY_VERIFY(!d->isVisible());
                searchParametersClosed = true;
            });
            // The new case's name: the journey stops here.
            j.whenShown(QStringLiteral("QFileDialog"), [](QWidget* d) { static_cast<QDialog*>(d)->reject(); });
            QVERIFY(triggerMenu(j.mainWindow(), {"Navaid", "Manual Entry"}));
            QTRY_COMPARE(j.pendingSteps(), 0);
            QTRY_VERIFY(j.mainWindow()->isVisible());
            j.mainWindow()->close();
        });
        QCOMPARE(status, 0);
        QCOMPARE(latitude, latin1("N 41.5000\xB0"));
        QVERIFY2(twoCurrent.isEmpty(), qPrintable(twoCurrent.join(QLatin1Char(','))));
        QCOMPARE(deleted, QStringList({QStringLiteral("txtEditBox0"), QStringLiteral("txtEditBox1"),
                                       QStringLiteral("txtEditBox2"), QStringLiteral("txtEditBox5"),
                                       QStringLiteral("txtEditBox8")}));
        QVERIFY(searchParametersClosed);
    }

    // File > New Proponent: "40.2" over the selected decimal latitude, then
    // "38 3" over the degrees-minutes-seconds one, each after Shift+Tab from
    // the longitude; Enter on the focused Cancel closes the dialog.
    void proponentPositionTypedOver() {
        Journey j(Edition::Field);
        QString decimal, dms;
        const int status = j.run([&] {
            j.whenShown(QStringLiteral("frmPropData"), [&](QWidget* d) {
                QLineEdit* lat = box(d, QStringLiteral("txtEditBox2"));
                QLineEdit* lon = box(d, QStringLiteral("txtEditBox3"));
                QVERIFY(lat && lon);
                clickAsAUser(option(d, latin1("DDD.dddd\xB0")));
                clickAsAUser(lon);
                QTRY_VERIFY(lon->hasFocus());
                pressKeys(QStringLiteral("shift+Tab"));
                QTRY_VERIFY(lat->hasFocus());
                typeText(QStringLiteral("40.2"));
                pressKeys(QStringLiteral("Tab"));
                QTRY_VERIFY(lon->hasFocus());
                decimal = lat->text();
                clickAsAUser(option(d, latin1("DDD\xB0 MM' SS\"")));
                QTRY_VERIFY(lat->text().contains(QLatin1Char('\'')));
                clickAsAUser(lon);
                QTRY_VERIFY(lon->hasFocus());
                pressKeys(QStringLiteral("shift+Tab"));
                QTRY_VERIFY(lat->hasFocus());
                typeText(QStringLiteral("38 3"));
                pressKeys(QStringLiteral("Tab"));
                QTRY_VERIFY(!lat->hasFocus());
                dms = lat->text();
                saveScreen(QStringLiteral("keys_proponent_position"));
                QPushButton* cancel = nullptr;
                for (auto* b : d->findChildren<QPushButton*>())
                    if (b->text() == QLatin1String("Cancel")) cancel = b;
                QVERIFY(cancel);
                QVERIFY(tabTo(cancel));
                pressKeys(QStringLiteral("Return"));
                QTRY_VERIFY(!d->isVisible());
            });
            QVERIFY(triggerMenu(j.mainWindow(), {"File", "New Proponent"}));
            QTRY_COMPARE(j.pendingSteps(), 0);
            QTRY_VERIFY(j.mainWindow()->isVisible());
            j.mainWindow()->close();
        });
        QCOMPARE(status, 0);
        QCOMPARE(decimal, latin1("N 40.2000\xB0"));
        QCOMPARE(dms, latin1("N 38\xB0 30' 00\""));
    }

    // The case editor on SampleILS: on each page a value out of range, Tab,
    // the message answered with Enter, Escape: the box shows its value from
    // before, Tab leaves without a message, Ctrl+S writes that value, and
    // Exit asks nothing.
    void escapeAfterAnInputErrorOnEveryPage() {
        Journey j(Edition::Scientific);
        const std::string file = j.workspace() + "Data/SampleILS.dat";
        const std::string before = contentsOf(file);
        struct Case {
            int tab;
            const char* label;
            const char* bad;
            const char* message;
            bool confirms;  // the field asks before its first change
        };
        const Case cases[] = {
            {0, "Search Radius", "0", " Value must be in the range 1 to 99. ", false},
            {1, "Transmitter Power", "0", " Value must be in the range 1 to 250. ", false},
            {1, "Runway Heading", "400", " Value must be in the range 0 to 359. ", true},
            {3, "Horizontal Increment", "50", " Value must be in the range 100 to 9999. ", true},
        };
        QStringList failures, twoCurrent, messages;
        bool exitAsked = false;
        const int status = j.run([&] {
            j.whenShown(QStringLiteral("frmFileSel"), [&](QWidget* w) {
                QVERIFY(crv::journeys::chooseInBrowser(w, j.workspace() + "Data", QStringLiteral("SampleILS.dat")));
            });
            j.whenShown(QStringLiteral("frmDataEdit"), [&](QWidget* editor) {
                auto* tabs = editor->findChild<QTabBar*>();
                QVERIFY(tabs);
                for (const Case& c : cases) {
                    if (tabs->currentIndex() != c.tab) {
                        clickAsAUser(tabs, tabs->tabRect(c.tab).center());
                        QTRY_COMPARE(tabs->currentIndex(), c.tab);
                        QTRY_VERIFY(fieldLabelled(editor, QString::fromLatin1(c.label)));
                        QTRY_VERIFY(QApplication::focusWidget());
                        const QStringList two = selectedButNotFocused(editor);
                        if (!two.isEmpty()) twoCurrent << QString::number(c.tab) + ":" + two.join(QLatin1Char(','));
                    }
                    QLineEdit* field = fieldLabelled(editor, QString::fromLatin1(c.label));
                    if (!field || !field->isEnabled()) {
                        failures << QStringLiteral("no field %1").arg(c.label);
                        continue;
                    }
                    const QString shown = field->text();
                    clickAsAUser(field);
                    QTRY_VERIFY(field->hasFocus());
                    // The first key of a change the field confirms asks first;
                    // the person answers before typing on.
                    if (c.confirms) {
                        j.answerMessageBox(QMessageBox::Yes);
                        pressKeys(QStringLiteral("End BackSpace"));
                        QTRY_COMPARE(j.pendingSteps(), 0);
                        QTRY_VERIFY(field->hasFocus());
                    }
                    pressKeys(QStringLiteral("End BackSpace BackSpace BackSpace BackSpace BackSpace"));
                    typeText(QString::fromLatin1(c.bad));
                    QTRY_COMPARE(j.pendingSteps(), 0);
                    j.whenShown(QStringLiteral("QMessageBox"), [&](QWidget* b) {
                        messages << qobject_cast<QMessageBox*>(b)->text();
                        pressKeys(QStringLiteral("Return"));
                        QTRY_VERIFY(!b->isVisible());
                    });
                    pressKeys(QStringLiteral("Tab"));
                    QTRY_COMPARE(j.pendingSteps(), 0);
                    QTRY_VERIFY(field->hasFocus());
                    pressKeys(QStringLiteral("Escape"));
                    QTRY_COMPARE(field->text(), shown);
                    const qsizetype seen = messages.size();
                    pressKeys(QStringLiteral("Tab"));
                    QTRY_VERIFY(!field->hasFocus());
                    if (messages.size() != seen) failures << QStringLiteral("%1 asked again").arg(c.label);
                    if (field->text() != shown) failures << QStringLiteral("%1 shows %2").arg(c.label, field->text());
                }
                saveScreen(QStringLiteral("keys_editor_escape_after_errors"));
                pressKeys(QStringLiteral("ctrl+s"));
                j.whenShown(QStringLiteral("QMessageBox"), [&](QWidget* b) {
                    exitAsked = true;
                    static_cast<QDialog*>(b)->reject();
                });
                QVERIFY(triggerMenu(editor, {"File", "Exit Editor"}));
            });
            QVERIFY(triggerMenu(j.mainWindow(), {"File", "Open Data File"}));
            QTRY_VERIFY(j.mainWindow()->isVisible());
            j.mainWindow()->close();
        });
        QCOMPARE(status, 0);
        QVERIFY2(failures.isEmpty(), qPrintable(failures.join(QStringLiteral("; "))));
        QVERIFY2(twoCurrent.isEmpty(), qPrintable(twoCurrent.join(QStringLiteral("; "))));
        QCOMPARE(messages.size(), qsizetype(std::size(cases)));
        for (std::size_t i = 0; i < std::size(cases); ++i)
            QCOMPARE(messages[qsizetype(i)], QString::fromLatin1(cases[i].message));
        QVERIFY(!exitAsked);
        // The file holds what the boxes showed: nothing of the refused values.
        const std::string after = contentsOf(file);
        QCOMPARE(after.substr(after.find('\n') + 1, 60), before.substr(before.find('\n') + 1, 60));
    }
};

CRV_JOURNEY_MAIN(KeyboardJourney)
#include "keyboard_journey.moc"
