// The new-case dialogs driven as a person would: keys, clicks, OK and
// Cancel, through their public entry points with scripted modal runs.
#include <unistd.h>

#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include <filesystem>
#include <fstream>

#include "crv/common/lat_lon.h"
#include "crv/common/ui/qt/button_keys.h"
#include "crv/common/ui/qt/lat_lon_edit.h"
#include "crv/common/ui/qt/message_presenter.h"
#include "crv/common/ui/qt/qt_text.h"
#include "crv/main/dialogs/qt/box_edit.h"
#include "crv/main/dialogs/qt/dialog_runner.h"
#include "crv/main/dialogs/qt/frm_nav_data.h"
#include "crv/main/dialogs/qt/frm_nav_sel.h"
#include "crv/main/dialogs/qt/frm_prop_data.h"
#include "crv/main/dialogs/qt/frm_prop_sel.h"
#include "crv/main/dialogs/qt/frm_srch_par.h"
#include "crv/main/dialogs/qt/selection_list.h"
#include "crv/testing/files.h"
#include "crv/testing/qt/recording_presenter.h"
#include "crv/testing/qt/snapshot.h"

using namespace crv::main;
using namespace crv::main::qt;
using crv::common::AppState;
using crv::testing::RecordingPresenter;
using crv::testing::saveSnapshot;
using crv::testing::writeLines;

namespace {

template <class D>
D& as(QDialog& d) {
    return static_cast<D&>(d);
}

void focusAndActivate(QDialog& d, QWidget* w) {
    d.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&d));
    w->setFocus();
    QCoreApplication::processEvents();
}

std::string fmLine(const std::string& call, const std::string& freq, const std::string& city) {
    std::string l(90, ' ');
    l.replace(1, call.size(), call);
    l.replace(9, 7, freq);
    l.replace(17, 9, " 39 20 15");
    l.replace(27, 10, "  77 45 40");
    l.replace(38, 14, " 50.0000   500");
    l.replace(53, city.size(), city);
    l.replace(84, 2, "MD");
    l.replace(87, 3, "LIC");
    return l;
}

std::string navLine(const std::string& id, const std::string& freq, int svType, const std::string& name) {
    std::string l(136, ' ');
    l.replace(1, 3, id);
    l.replace(5, 3, "282");
    l.replace(9, 7, freq);
    l.replace(17, 9, " 39 20 15");
    l.replace(27, 10, "  77 45 40");
    l.replace(57, 2, " " + std::to_string(svType));
    l.replace(60, 3, " 25");
    l.replace(70, 2, " 0");
    l.replace(73, name.size(), name);
    l.replace(98, 2, "VA");
    return l;
}

NavaidRules insideByName() {
    NavaidRules r;
    r.CheckNavaidDistance = [](int, double, double, double, const std::string& line) { return line[73] == 'I'; };
    r.GetAntennaType = [](const std::string&) { return 0; };
    return r;
}

// Answers like a real message box does to the window behind it: the box takes
// the activation and gives it back only after it has gone, so the dialog's
// focus returns late, as on a real desktop.
class BoxLikePresenter : public crv::common::MessagePresenter {
public:
    std::vector<crv::common::Message> messages;
    crv::common::MessageAnswer present(const crv::common::Message& m) override {
        messages.push_back(m);
        QWidget* owner = QApplication::activeWindow();
        QWidget box;
        box.setWindowTitle(QString::fromStdString(m.title));
        box.show();
        box.activateWindow();
        [[maybe_unused]] const bool active = QTest::qWaitFor([&box] { return box.isActiveWindow(); }, 1000);
        box.hide();
        // As the window manager does once the box has gone.
        if (owner) owner->activateWindow();
        return crv::common::MessageAnswer::Ok;
    }
};

}  // namespace

class DialogsTest : public QObject {
    Q_OBJECT
    QTemporaryDir dir;
    RecordingPresenter presenter;
    std::unique_ptr<crv::platform::SettingsStore> store;

    std::string folder() const { return dir.path().toStdString() + "/"; }

private slots:
    void init() {
        presenter.messages.clear();
        presenter.answers.clear();
        clearDialogScripts();
        store = std::make_unique<crv::platform::SettingsStore>(folder() + "settings.ini");
    }

    void proponentDataManualEntry() {
        AppState state;
        state.ModelType = "FLD";
        state.LastLatitude = "N 38\xB0 53' 24\"";
        state.LastLongitude = "W 077\xB0 02' 12\"";
        pushDialogScript([&](QDialog& d) {
            auto& f = as<frmPropData>(d);
            QVERIFY(!f.edit(ProponentEntryModel::SearchRadius)->isVisible());
            saveSnapshot(&f, "main/frmPropData_fld_search");
            f.methodOption(2)->click();
            QCOMPARE(f.edit(ProponentEntryModel::Identifier)->text(), QStringLiteral("PROP"));
            auto* id = f.edit(ProponentEntryModel::Identifier);
            id->clear();
            QTest::keyClicks(id, "wx/z.1");  // "/" and "." are refused
            QCOMPARE(id->text(), QStringLiteral("WXZ1"));
            // OK with the frequency left empty: refused, the dialog stays.
            f.okButton()->click();
            QVERIFY(f.isVisible());
            QCOMPARE(presenter.messages.size(), size_t(1));
            QCOMPARE(presenter.messages[0].text, std::string(" A valid number must be entered. "));
            QTest::keyClicks(f.edit(ProponentEntryModel::Frequency), "101.5");
            saveSnapshot(&f, "main/frmPropData_manual");
            f.okButton()->click();
            QVERIFY(!f.isVisible());
        });
        float lat = 0, lon = 0, radius = 0;
        bool manual = false, canceled = true;
        frmPropData::GetParams(nullptr, state, *store, presenter, lat, lon, radius, manual, canceled);
        QVERIFY(!canceled);
        QVERIFY(manual);
        QCOMPARE(state.ProponentRecord, std::string(" WXZ1    101.500  38 53 24   77 02 12   0.0000     0"));
    }

    void proponentDataBoxesTakeWhatTheModelLets() {
        AppState state;
        state.ModelType = "FLD";
        pushDialogScript([&](QDialog& d) {
            auto& f = as<frmPropData>(d);
            f.methodOption(2)->click();
            auto* id = f.edit(ProponentEntryModel::Identifier);
            id->clear();
            // Upper-cased, a non-ASCII letter refused, and a full box (7) takes no more.
            QTest::keyClicks(id, "a-");
            QKeyEvent eacute(QEvent::KeyPress, Qt::Key_Eacute, Qt::NoModifier, QString(QChar(0xE9)));
            QApplication::sendEvent(id, &eacute);
            QTest::keyClicks(id, "b 9xyz");
            QCOMPARE(id->text(), QStringLiteral("A-B 9XY"));
            // Typed over a selection, the full box takes the key.
            id->selectAll();
            QTest::keyClicks(id, "q");
            QCOMPARE(id->text(), QStringLiteral("Q"));
            auto* freq = f.edit(ProponentEntryModel::Frequency);
            freq->clear();
            QTest::keyClicks(freq, "1x01.50009");
            QCOMPARE(freq->text(), QStringLiteral("101.500"));
            f.cancelButton()->click();
        });
        float lat = 0, lon = 0, radius = 0;
        bool manual = false, canceled = false;
        frmPropData::GetParams(nullptr, state, *store, presenter, lat, lon, radius, manual, canceled);
        QVERIFY(canceled);
    }

    void proponentDataCancelNeverValidates() {
        AppState state;
        state.ModelType = "SCI";
        pushDialogScript([&](QDialog& d) {
            auto& f = as<frmPropData>(d);
            auto* radius = f.edit(ProponentEntryModel::SearchRadius);
            QVERIFY(radius->isVisible());
            saveSnapshot(&f, "main/frmPropData_sci_search");
            focusAndActivate(d, radius);
            radius->selectAll();
            QTest::keyClicks(radius, "0");
            f.cancelButton()->setFocus();  // leaving for Cancel checks nothing
            QCoreApplication::processEvents();
            f.cancelButton()->click();
        });
        float lat = 1, lon = 2, radius = 3;
        bool manual = false, canceled = false;
        frmPropData::GetParams(nullptr, state, *store, presenter, lat, lon, radius, manual, canceled);
        QVERIFY(canceled);
        QCOMPARE(presenter.messages.size(), size_t(0));
        QCOMPARE(lat, 1.0f);
    }

    void proponentDataLeavingAnInvalidFieldKeepsTheFocus() {
        AppState state;
        state.ModelType = "SCI";
        pushDialogScript([&](QDialog& d) {
            auto& f = as<frmPropData>(d);
            auto* radius = f.edit(ProponentEntryModel::SearchRadius);
            focusAndActivate(d, radius);
            radius->selectAll();
            QTest::keyClicks(radius, "16");
            f.edit(ProponentEntryModel::AirspaceCase)->setFocus();
            QCoreApplication::processEvents();
            QCOMPARE(presenter.messages.size(), size_t(1));
            QCOMPARE(presenter.messages[0].text, std::string(" Value must be in the range 1 to 15. "));
            QVERIFY(radius->hasFocus());
            radius->selectAll();
            QTest::keyClicks(radius, "15");
            // Latitude: typing "S" switches the hemisphere, digits fill the places.
            auto* latitude = f.edit(ProponentEntryModel::Latitude);
            latitude->setFocus();
            latitude->setCursorPosition(2);
            QTest::keyClicks(latitude, "S1230");
            QCOMPARE(latitude->text(), QString::fromLatin1("S 12\xB0 30' 00\""));
            f.okButton()->click();
        });
        float lat = 0, lon = 0, radius = 0;
        bool manual = false, canceled = true;
        frmPropData::GetParams(nullptr, state, *store, presenter, lat, lon, radius, manual, canceled);
        QVERIFY(!canceled);
        QVERIFY(!manual);
        QCOMPARE(radius, 15.0f);
        QCOMPARE(lat, -12.5f);
    }

    void clickingOkToLeaveARefusedFieldShowsOneMessage() {
        AppState state;
        state.ModelType = "SCI";
        pushDialogScript([&](QDialog& d) {
            auto& f = as<frmPropData>(d);
            auto* radius = f.edit(ProponentEntryModel::SearchRadius);
            focusAndActivate(d, radius);
            radius->selectAll();
            QTest::keyClicks(radius, "0");
            QTest::mouseClick(f.okButton(), Qt::LeftButton);
            QVERIFY(f.isVisible());
            QCOMPARE(presenter.messages.size(), size_t(1));
            QVERIFY(radius->hasFocus());
            f.cancelButton()->click();
        });
        float lat = 0, lon = 0, radius = 0;
        bool manual = false, canceled = false;
        frmPropData::GetParams(nullptr, state, *store, presenter, lat, lon, radius, manual, canceled);
        QVERIFY(canceled);
    }

    void proponentSelection() {
        AppState state;
        state.TempFolder = folder();
        const std::string path = folder() + "RfiSrch1.tmp";
        writeLines(path, {fmLine("WBBB-FM", "101.500", "HAGERSTOWN"), fmLine("WAAA", " 99.100", "FREDERICK"),
                          fmLine("WCCC", "105.700", "MARTINSBURG")});
        pushDialogScript([&](QDialog& d) {
            auto& f = as<frmPropSel>(d);
            saveSnapshot(&f, "main/frmPropSel");
            QCOMPARE(f.list()->model()->data(f.list()->model()->index(0, 0)).toString(), QStringLiteral("WAAA"));
            emit f.list()->headerClicked(1);  // frequency again: descending
            QCOMPARE(f.list()->model()->data(f.list()->model()->index(0, 0)).toString(), QStringLiteral("WCCC"));
            f.list()->selectRow(1);
            f.okButton()->click();
        });
        bool canceled = true, manual = true;
        frmPropSel::SelectProponent(nullptr, state, presenter, canceled, manual);
        QVERIFY(!canceled);
        QVERIFY(!manual);
        QCOMPARE(state.ProponentRecord, fmLine("WBBB-FM", "101.500", "HAGERSTOWN").substr(0, 52));
        QVERIFY(!std::filesystem::exists(path));  // the dialog owns the file

        writeLines(path, {fmLine("WAAA", " 99.100", "FREDERICK")});
        pushDialogScript([](QDialog& d) { as<frmPropSel>(d).manualButton()->click(); });
        frmPropSel::SelectProponent(nullptr, state, presenter, canceled, manual);
        QVERIFY(manual);
        QVERIFY(!canceled);
        QVERIFY(!std::filesystem::exists(path));
        // Without the file: a message, cancelled.
        frmPropSel::SelectProponent(nullptr, state, presenter, canceled, manual);
        QVERIFY(canceled);
        QCOMPARE(presenter.messages.size(), size_t(1));
    }

    void searchParameters() {
        pushDialogScript([&](QDialog& d) {
            auto& f = as<frmSrchPar>(d);
            QCOMPARE(f.typeList()->count(), 4);
            QCOMPARE(f.typeList()->currentText(), QStringLiteral("Standard Back Course"));
            QVERIFY(f.findChild<QLabel*>(QStringLiteral("lblBackCrs"))->isVisible());
            QVERIFY(!f.radiusEdit()->isEnabled());
            saveSnapshot(&f, "main/frmSrchPar_fld_backcourse");
            f.okButton()->click();
        });
        std::int16_t type = 2;
        float radius = 25;
        bool canceled = true;
        frmSrchPar::GetParams(nullptr, "FLD", presenter, true, type, radius, canceled);
        QVERIFY(!canceled);
        QCOMPARE(type, std::int16_t(2));
        QCOMPARE(radius, 25.0f);

        pushDialogScript([&](QDialog& d) {
            auto& f = as<frmSrchPar>(d);
            QCOMPARE(f.typeList()->currentText(), QStringLiteral("Low-Altitude VOR"));
            QVERIFY(f.radiusEdit()->isEnabled());
            // Escape in the list puts back the entry it had on entry.
            d.activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(&d));
            f.typeList()->setFocus();
            QCoreApplication::processEvents();
            f.typeList()->setCurrentIndex(0);
            QTest::keyClick(f.typeList(), Qt::Key_Escape);
            QCOMPARE(f.typeList()->currentIndex(), 1);
            QVERIFY(f.isVisible());
            f.typeList()->setCurrentIndex(2);
            f.radiusEdit()->selectAll();
            QTest::keyClicks(f.radiusEdit(), "100");  // two places: "10"
            saveSnapshot(&f, "main/frmSrchPar_sci");
            f.okButton()->click();
        });
        type = 6;
        frmSrchPar::GetParams(nullptr, "SCI", presenter, false, type, radius, canceled);
        QVERIFY(!canceled);
        QCOMPARE(type, std::int16_t(7));
        QCOMPARE(radius, 10.0f);

        pushDialogScript([](QDialog& d) { d.reject(); });
        type = 9;
        radius = 40;
        frmSrchPar::GetParams(nullptr, "SCI", presenter, false, type, radius, canceled);
        QVERIFY(canceled);
        QCOMPARE(type, std::int16_t(9));
        QCOMPARE(radius, 40.0f);
    }

    void manualNavaidEntry() {
        AppState state;
        state.ProponentRecord = "old";
        state.LastLatitude = "N 38\xB0 53' 24\"";
        state.LastLongitude = "W 077\xB0 02' 12\"";
        pushDialogScript([&](QDialog& d) {
            auto& f = as<frmNavData>(d);
            saveSnapshot(&f, "main/frmNavData_ils");
            QVERIFY(f.edit(ManualNavaidModel::Heading)->isEnabled());
            QVERIFY(!f.edit(ManualNavaidModel::SvRadius)->isEnabled());
            // The frequency emptied: OK refuses and names it.
            f.edit(ManualNavaidModel::Frequency)->clear();
            f.okButton()->click();
            QVERIFY(f.isVisible());
            QCOMPARE(presenter.messages.back().text, std::string(" A valid number must be entered. "));
            f.typeOption(4)->click();
            QCOMPARE(f.edit(ManualNavaidModel::Frequency)->text(), QStringLiteral("127.000"));
            QVERIFY(f.edit(ManualNavaidModel::SvRadius)->isEnabled());
            QVERIFY(!f.edit(ManualNavaidModel::Heading)->isEnabled());
            saveSnapshot(&f, "main/frmNavData_com");
            f.okButton()->click();
        });
        bool canceled = true;
        frmNavData::ManualNavaidEntry(nullptr, state, *store, presenter, canceled);
        QVERIFY(!canceled);
        QCOMPARE(state.NavaidRecord,
                 std::string(" COM   0 127.000  38 53 24   77 02 12     0 15000  10 37  8 100  1000  0"));
        QCOMPARE(state.ProponentRecord, std::string());
    }

    void positionBoxesTakeTheFullStopAsTheMasksPoint() {
        // Proponent Data, decimal degrees: "41.5" typed over the selected
        // "N 39.3375°" replaces all of it: the places before the point, the
        // point jumped, the first decimal, and nothing of the old digits.
        AppState state;
        state.ModelType = "SCI";
        state.LastLatitude = "N 39\xB0 20' 15\"";
        state.LastLongitude = "W 077\xB0 45' 40\"";
        pushDialogScript([&](QDialog& d) {
            auto& f = as<frmPropData>(d);
            f.formatOption(2)->click();
            auto* lat = f.edit(ProponentEntryModel::Latitude);
            QCOMPARE(lat->text(), QString::fromLatin1("N 39.3375\xB0"));
            focusAndActivate(d, f.edit(ProponentEntryModel::Longitude));  // as the click on the format left it
            lat->setFocus(Qt::BacktabFocusReason);
            QVERIFY(lat->hasSelectedText());
            QTest::keyClicks(lat, "41.5");
            QCOMPARE(lat->text(), QString::fromLatin1("N 41.5000\xB0"));
            f.edit(ProponentEntryModel::Longitude)->setFocus();
            QCOMPARE(lat->text(), QString::fromLatin1("N 41.5000\xB0"));
            saveSnapshot(&f, "main/frmPropData_decimal_point");
            f.okButton()->click();
        });
        float lat = 0, lon = 0, radius = 0;
        bool manual = false, canceled = true;
        frmPropData::GetParams(nullptr, state, *store, presenter, lat, lon, radius, manual, canceled);
        QVERIFY(!canceled);
        QCOMPARE(lat, 41.5f);
        QVERIFY(presenter.messages.empty());

        // Manual Navaid Entry: "41.5" in decimal degrees, then "38.5" in
        // degrees-minutes-seconds, whose mask has no point: the full stop
        // beeps and the 5 goes to the next place, the tens of the minutes;
        // the seconds typed over are cleared.
        state.LastLatitude = "N 39\xB0 20' 15\"";
        pushDialogScript([&](QDialog& d) {
            auto& f = as<frmNavData>(d);
            auto* lat = f.edit(ManualNavaidModel::Latitude);
            f.formatOption(2)->click();
            focusAndActivate(d, f.edit(ManualNavaidModel::Longitude));
            lat->setFocus(Qt::BacktabFocusReason);
            QTest::keyClicks(lat, "41.5");
            QCOMPARE(lat->text(), QString::fromLatin1("N 41.5000\xB0"));
            f.formatOption(1)->click();
            QCOMPARE(lat->text(), QString::fromLatin1("N 41\xB0 30' 00\""));
            f.edit(ManualNavaidModel::Longitude)->setFocus();
            focusAndActivate(d, lat);
            QTest::keyClicks(lat, "38.5");
            QCOMPARE(lat->text(), QString::fromLatin1("N 38\xB0 50' 00\""));
            f.edit(ManualNavaidModel::Longitude)->setFocus();
            f.okButton()->click();
        });
        frmNavData::ManualNavaidEntry(nullptr, state, *store, presenter, canceled);
        QVERIFY(!canceled);
        QVERIFY(presenter.messages.empty());
        QCOMPARE(state.NavaidRecord.substr(17, 9), std::string(" 38 50 00"));
    }

    void typingOverASelectedPositionReplacesAllOfIt_data() {
        QTest::addColumn<int>("format");
        QTest::addColumn<QString>("before");
        QTest::addColumn<QString>("keys");
        QTest::addColumn<QString>("after");
        // Expected texts by hand: typed digits fill the places from the
        // left, every other place of the old text is 0.
        QTest::newRow("decimal degrees") << 2 << QString::fromLatin1("N 41.5375\xB0") << "40.2"
                                         << QString::fromLatin1("N 40.2000\xB0");
        QTest::newRow("degrees minutes seconds, blank beeps")
            << 1 << QString::fromLatin1("N 40\xB0 14' 15\"") << "38 3" << QString::fromLatin1("N 38\xB0 30' 00\"");
        QTest::newRow("decimal minutes") << 3 << QString::fromLatin1("N 40\xB0 14.25'") << "39 14.5"
                                         << QString::fromLatin1("N 39\xB0 14.50'");
        QTest::newRow("hemisphere first keeps the digits selected")
            << 2 << QString::fromLatin1("N 41.5375\xB0") << "s12" << QString::fromLatin1("S 12.0000\xB0");
        QTest::newRow("hemisphere alone")
            << 2 << QString::fromLatin1("N 41.5375\xB0") << "s" << QString::fromLatin1("S 41.5375\xB0");
    }

    void typingOverASelectedPositionReplacesAllOfIt() {
        QFETCH(int, format);
        QFETCH(QString, before);
        QFETCH(QString, keys);
        QFETCH(QString, after);
        AppState state;
        state.LastLatitude = "N 39\xB0 20' 15\"";
        state.LastLongitude = "W 077\xB0 45' 40\"";
        pushDialogScript([&](QDialog& d) {
            auto& f = as<frmNavData>(d);
            auto* lat = static_cast<crv::common::ui::LatLonEdit*>(f.edit(ManualNavaidModel::Latitude));
            f.formatOption(format)->click();
            lat->setValue(crv::common::ParseLatLon(crv::common::ui::fromQt(before)));
            QCOMPARE(lat->text(), before);
            focusAndActivate(d, f.edit(ManualNavaidModel::Longitude));
            lat->setFocus(Qt::BacktabFocusReason);
            QTest::keyClicks(lat, keys);
            QCOMPARE(lat->text(), after);
            // Delete over the whole selection clears every digit place.
            f.edit(ManualNavaidModel::Longitude)->setFocus();
            lat->setFocus(Qt::BacktabFocusReason);
            QTest::keyClick(lat, Qt::Key_Delete);
            QVERIFY(!lat->text().contains(QRegularExpression("[1-9]")));
            QTest::keyClick(lat, Qt::Key_Escape);
            QCOMPARE(lat->text(), after);
            f.edit(ManualNavaidModel::Longitude)->setFocus();
            f.okButton()->click();
        });
        bool canceled = true;
        frmNavData::ManualNavaidEntry(nullptr, state, *store, presenter, canceled);
        QVERIFY(!canceled);
        QCOMPARE(state.LastLatitude.substr(0, 1), crv::common::ui::fromQt(after).substr(0, 1));
        QCOMPARE(crv::common::ParseLatLon(state.LastLatitude),
                 crv::common::ParseLatLon(crv::common::ui::fromQt(after)));
    }

    void deleteAndEnterInEveryBox() {
        // Delete as an X keyboard sends it: the key with DEL as its text.
        auto pressDelete = [](QWidget* w) {
            QTest::sendKeyEvent(QTest::Click, w, Qt::Key_Delete, QString(QChar(0x7F)), Qt::NoModifier);
        };
        crv::common::ui::installButtonKeys();
        AppState state;
        state.LastLatitude = "N 39\xB0 20' 15\"";
        state.LastLongitude = "W 077\xB0 45' 40\"";
        pushDialogScript([&](QDialog& d) {
            auto& f = as<frmNavData>(d);
            f.typeOption(4)->click();
            for (int k = 0; k < ManualNavaidModel::FieldCount; ++k) {
                if (k == ManualNavaidModel::Latitude || k == ManualNavaidModel::Longitude) continue;
                auto* e = f.edit(k);
                if (!e->isEnabled()) continue;
                focusAndActivate(d, e);
                e->setText(QStringLiteral("123"));
                e->setCursorPosition(0);
                pressDelete(e);
                QCOMPARE(e->text(), QStringLiteral("23"));
                // Back to a value the field accepts when it is left.
                e->setText(k == ManualNavaidModel::Identifier     ? QStringLiteral("COM")
                           : k == ManualNavaidModel::Frequency    ? QStringLiteral("127.000")
                           : k == ManualNavaidModel::AirspaceCase ? QString()
                                                                  : QStringLiteral("100"));
            }
            f.typeOption(1)->click();
            // Enter on the focused OK presses it.
            f.okButton()->setFocus(Qt::TabFocusReason);
            QTest::keyClick(f.okButton(), Qt::Key_Return);
            QTRY_VERIFY(!d.isVisible());
        });
        bool canceled = true;
        frmNavData::ManualNavaidEntry(nullptr, state, *store, presenter, canceled);
        QVERIFY(!canceled);
        QVERIFY(presenter.messages.empty());
    }

    void escapeAfterAnInputErrorPutsBackTheEntryText() {
        BoxLikePresenter boxes;
        AppState state;
        state.ModelType = "SCI";
        state.LastLatitude = "N 38\xB0 53' 24\"";
        state.LastLongitude = "W 077\xB0 02' 12\"";
        pushDialogScript([&](QDialog& d) {
            auto& f = as<frmNavData>(d);
            auto* heading = f.edit(ManualNavaidModel::Heading);
            auto* id = f.edit(ManualNavaidModel::Identifier);
            focusAndActivate(d, id);
            QTest::keyClicks(id, "abc");
            focusAndActivate(d, heading);
            QTest::keyClicks(heading, "275");
            QTest::keyClick(heading, Qt::Key_Tab);
            QVERIFY(boxes.messages.empty());
            // Back in, a value out of range, Tab: refused, the focus stays.
            heading->setFocus();
            QTest::keyClicks(heading, "400");
            QTest::keyClick(heading, Qt::Key_Tab);
            QCOMPARE(boxes.messages.size(), std::size_t(1));
            QCOMPARE(boxes.messages[0].text, std::string(" Value must be in the range 0 to 360. "));
            QTRY_VERIFY(d.isActiveWindow());
            QTRY_VERIFY(heading->hasFocus());
            QVERIFY(!f.edit(ManualNavaidModel::Latitude)->hasSelectedText());  // one field looks current
            QTest::keyClick(heading, Qt::Key_Escape);
            QCOMPARE(heading->text(), QStringLiteral("275"));
            QVERIFY(d.isVisible());  // the first Escape only puts the text back
            QTest::keyClick(heading, Qt::Key_Tab);
            QCOMPARE(boxes.messages.size(), std::size_t(1));
            QVERIFY(!heading->hasFocus());
            // A blank identifier: the same.
            id->setFocus();
            const QString before = id->text();
            QCOMPARE(before, QStringLiteral("ABC"));
            QTest::keyClick(id, Qt::Key_Delete);
            QVERIFY(id->text().isEmpty());
            QTest::keyClick(id, Qt::Key_Tab);
            QCOMPARE(boxes.messages.size(), std::size_t(2));
            QTRY_VERIFY(id->hasFocus());
            QTest::keyClick(id, Qt::Key_Escape);
            QCOMPARE(id->text(), before);
            f.okButton()->click();
        });
        bool canceled = true;
        frmNavData::ManualNavaidEntry(nullptr, state, *store, boxes, canceled);
        QVERIFY(!canceled);
        QCOMPARE(boxes.messages.size(), std::size_t(2));
        QCOMPARE(state.NavaidRecord.substr(5, 3), std::string("275"));  // what the box showed

        // Proponent Data, manual entry: a frequency below the band.
        boxes.messages.clear();
        pushDialogScript([&](QDialog& d) {
            auto& f = as<frmPropData>(d);
            f.methodOption(2)->click();
            auto* freq = f.edit(ProponentEntryModel::Frequency);
            focusAndActivate(d, freq);
            QTest::keyClicks(freq, "101.5");
            QTest::keyClick(freq, Qt::Key_Tab);
            freq->setFocus();
            const QString accepted = freq->text();
            QTest::keyClicks(freq, "87.9");
            QTest::keyClick(freq, Qt::Key_Tab);
            QCOMPARE(boxes.messages.size(), std::size_t(1));
            QTRY_VERIFY(freq->hasFocus());
            QTest::keyClick(freq, Qt::Key_Escape);
            QCOMPARE(freq->text(), accepted);
            saveSnapshot(&f, "main/frmPropData_escape_after_error");
            f.okButton()->click();
        });
        bool manual = false;
        float lat = 0, lon = 0, radius = 0;
        frmPropData::GetParams(nullptr, state, *store, boxes, lat, lon, radius, manual, canceled);
        QVERIFY(!canceled);
        QCOMPARE(boxes.messages.size(), std::size_t(1));
        QCOMPARE(state.ProponentRecord.substr(9, 7), std::string("101.500"));
    }

    void navaidSelectionEachEdition() {
        AppState state;
        state.OutputFolder = folder();
        std::vector<std::string> lines{"CRV Version 5.0.6"};
        for (int i = 0; i < 20; ++i)
            lines.push_back(navLine("A" + std::to_string(10 + i), "110.100", i % 3 == 0 ? 0 : 5,
                                    (i % 4 == 0 ? "INSIDE " : "OUT ") + std::to_string(i)));
        lines.push_back(" $$$");
        lines.push_back(" WXYZ    101.500  39 10 00   77 30 00  50.0000   500");
        writeLines(folder() + "nav@WXYZ.plt", lines);

        pushDialogScript([&](QDialog& d) {
            auto& f = as<frmNavSel>(d);
            QCOMPARE(f.list()->model()->rowCount(), 5);
            QCOMPARE(f.explainLabel()->text(),
                     QStringLiteral("Only the 5 navaids that actually\nfall within the 30 nmi limit are shown."));
            saveSnapshot(&f, "main/frmNavSel_fld");
            f.okButton()->click();
        });
        bool canceled = true;
        state.ModelType = "FLD";
        frmNavSel::SelectNavaid(nullptr, state, presenter, insideByName(), canceled);
        QVERIFY(!canceled);
        QCOMPARE(state.NavaidRecord.substr(1, 3), std::string("A10"));
        QCOMPARE(state.ProponentRecord, lines.back());
        QCOMPARE(presenter.messages.size(), size_t(0));  // no note in the field edition

        pushDialogScript([&](QDialog& d) {
            auto& f = as<frmNavSel>(d);
            QCoreApplication::processEvents();
            QCOMPARE(f.list()->model()->rowCount(), 20);
            QCOMPARE(f.list()->model()->data(f.list()->model()->index(0, 0)).toString(), QStringLiteral("* A10"));
            saveSnapshot(&f, "main/frmNavSel_sci");
            // The note comes once per opening, not on every activation.
            d.hide();
            d.show();
            QCoreApplication::processEvents();
            d.reject();
        });
        state.ModelType = "SCI";
        frmNavSel::SelectNavaid(nullptr, state, presenter, insideByName(), canceled);
        QVERIFY(canceled);
        QCOMPARE(presenter.messages.size(), size_t(1));
        QCOMPARE(presenter.messages[0].title, std::string("Navaid Selection"));
        QCOMPARE(presenter.messages[0].text.substr(0, 20), std::string(" All facilities mark"));
    }

    void navaidSelectionRefusesADamagedFile() {
        AppState state;
        state.OutputFolder = folder();
        state.ModelType = "SCI";
        std::filesystem::remove(folder() + "nav@WXYZ.plt");
        writeLines(folder() + "nav@ABCD.plt", {"CRV Version 5.0.6", navLine("A10", "110.100", 0, "INSIDE")});
        bool canceled = false;
        frmNavSel::SelectNavaid(nullptr, state, presenter, insideByName(), canceled);
        QVERIFY(canceled);
        QCOMPARE(presenter.messages.size(), size_t(1));
        QCOMPARE(pendingDialogScripts(), 0);
    }
};

QTEST_MAIN(DialogsTest)
#include "dialogs_test.moc"
