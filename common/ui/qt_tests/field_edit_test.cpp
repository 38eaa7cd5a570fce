#include <QDialog>
#include <QFormLayout>
#include <QPushButton>
#include <QVBoxLayout>
#include <QtTest>

#include "crv/common/field_check.h"
#include "crv/common/ui/qt/field_edit.h"
#include "crv/common/ui/qt/form_services.h"
#include "crv/common/ui/qt/lat_lon_edit.h"
#include "crv/common/ui/qt/message_presenter.h"
#include "crv/testing/qt/recording_presenter.h"
#include "crv/testing/qt/snapshot.h"

using crv::common::ui::FieldEdit;
using crv::common::ui::LatLonEdit;
using crv::testing::RecordingPresenter;

namespace {

const QString deg = QString(QChar(0xB0));

// A bare X server has no window manager to activate a new window; focus
// rules need an active one, so the test asks for it itself.
void showActive(QWidget& w) {
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    w.activateWindow();
    QApplication::setActiveWindow(&w);
    QVERIFY(QTest::qWaitForWindowActive(&w));
}

crv::common::FieldCheck check(std::int32_t kind, float min = 0, float max = 0, std::int16_t width = 0,
                              std::int16_t decimals = 0) {
    crv::common::FieldCheck c;
    c.kind = kind;
    c.min = min;
    c.max = max;
    c.width = width;
    c.decimals = decimals;
    return c;
}

}  // namespace

class FieldEditTest : public QObject {
    Q_OBJECT
private slots:
    void refusedValueKeepsFocusAndShowsOnce() {
        RecordingPresenter rec;
        QWidget w;
        auto* layout = new QVBoxLayout(&w);
        auto* a = new FieldEdit(&w);
        auto* b = new FieldEdit(&w);
        layout->addWidget(a);
        layout->addWidget(b);
        a->setValidator([&](const QString& t) {
            if (t.toInt() > 0) return true;
            rec.present({"Value must be positive", "Error", crv::common::MessageIcon::Exclamation,
                         crv::common::MessageButtons::Ok});
            return false;
        });
        showActive(w);
        a->setFocus();
        QTest::keyClicks(a, "-3");
        b->setFocus();
        QCOMPARE(rec.messages.size(), std::size_t(1));
        QCOMPARE(rec.messages[0].text, std::string("Value must be positive"));
        QVERIFY(a->hasFocus());
        QCOMPARE(a->selectedText(), QString("-3"));
        crv::testing::saveSnapshot(&w, "common/FieldEdit");
    }

    void twoRefusedFieldsDoNotChaseEachOther() {
        RecordingPresenter rec;
        QWidget w;
        auto* layout = new QVBoxLayout(&w);
        auto* a = new FieldEdit(&w);
        auto* b = new FieldEdit(&w);
        layout->addWidget(a);
        layout->addWidget(b);
        a->setFieldCheck(check(crv::common::kFieldNotBlank), &rec);
        b->setFieldCheck(check(crv::common::kFieldNotBlank), &rec);
        a->setText("   ");
        showActive(w);
        a->setFocus();
        QTest::keyClick(a, Qt::Key_Tab);
        // a's message only: b lost the focus to a's refusal, not to the user.
        QCOMPARE(rec.messages.size(), std::size_t(1));
        QCOMPARE(rec.messages[0].text, std::string(" This field must not be left blank. "));
        QCOMPARE(rec.messages[0].title, std::string("Input Error"));
        QCOMPARE(rec.messages[0].icon, crv::common::MessageIcon::Exclamation);
        QVERIFY(a->hasFocus());
        QCOMPARE(a->text(), QString(""));
    }

    void numberFieldsFilterAndRewrite() {
        RecordingPresenter rec;
        QWidget w;
        auto* layout = new QVBoxLayout(&w);
        auto* angle = new FieldEdit(&w);
        auto* real = new FieldEdit(&w);
        auto* other = new FieldEdit(&w);
        layout->addWidget(angle);
        layout->addWidget(real);
        layout->addWidget(other);
        angle->setFieldCheck(check(crv::common::kFieldInteger, 0, 360, 3, 0), &rec);
        real->setFieldCheck(check(crv::common::kFieldReal, 0, 100000, 8, 1), &rec);
        showActive(w);

        angle->setFocus();
        QTest::keyClicks(angle, "4x5");
        // Neither a letter nor a character beyond ASCII passes a number field.
        for (char16_t u : {char16_t(0xE9), char16_t(0x20AC)}) {
            QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(QChar(u)));
            QApplication::sendEvent(angle, &press);
        }
        QCOMPARE(angle->text(), QString("45"));
        QTest::keyClick(angle, Qt::Key_Return);  // Enter moves on like Tab
        QVERIFY(real->hasFocus());
        QCOMPARE(angle->text(), QString(" 45"));
        QVERIFY(rec.messages.empty());

        QTest::keyClicks(real, "1e3");
        QCOMPARE(real->text(), QString("1E3"));
        QTest::keyClick(real, Qt::Key_Tab);
        QVERIFY(rec.messages.empty());
        QVERIFY(other->hasFocus());

        angle->setFocus();
        QTest::keyClicks(angle, "400");
        other->setFocus();
        QCOMPARE(rec.messages.size(), std::size_t(1));
        QCOMPARE(rec.messages[0].text, std::string(" Value must be in the range 0 to 360. "));
        QVERIFY(angle->hasFocus());
        QCOMPARE(angle->text(), QString("400"));
        // Escape brings back what the field held when it was entered.
        QTest::keyClick(angle, Qt::Key_Escape);
        QCOMPARE(angle->text(), QString(" 45"));
    }

    void escapeRestores() {
        QWidget w;
        auto* a = new FieldEdit(&w);
        a->setText("12");
        showActive(w);
        a->setFocus();
        a->selectAll();
        QTest::keyClicks(a, "99");
        QCOMPARE(a->text(), QString("99"));
        QTest::keyClick(a, Qt::Key_Escape);
        QCOMPARE(a->text(), QString("12"));
    }

    void escapeOnAnUnchangedFieldCancelsTheDialog() {
        QDialog d;
        auto* layout = new QVBoxLayout(&d);
        auto* a = new FieldEdit(&d);
        layout->addWidget(a);
        a->setText("12");
        showActive(d);
        a->setFocus();
        QTest::keyClicks(a, "7");
        QTest::keyClick(a, Qt::Key_Escape);
        QVERIFY(d.isVisible());
        QCOMPARE(a->text(), QString("12"));
        QTest::keyClick(a, Qt::Key_Escape);
        QVERIFY(!d.isVisible());
        QCOMPARE(d.result(), int(QDialog::Rejected));
    }

    void cancelButtonDoesNotCheckTheField() {
        RecordingPresenter rec;
        QDialog d;
        auto* layout = new QVBoxLayout(&d);
        auto* a = new FieldEdit(&d);
        auto* cancel = new QPushButton("Cancel", &d);
        auto* ok = new QPushButton("OK", &d);
        layout->addWidget(a);
        layout->addWidget(ok);
        layout->addWidget(cancel);
        crv::common::ui::setCausesValidation(cancel, false);
        a->setFieldCheck(check(crv::common::kFieldNotBlank), &rec);
        showActive(d);
        a->setFocus();
        cancel->setFocus(Qt::MouseFocusReason);
        QVERIFY(rec.messages.empty());
        a->setFocus();
        ok->setFocus(Qt::MouseFocusReason);
        QCOMPARE(rec.messages.size(), std::size_t(1));
        QVERIFY(a->hasFocus());
        // Closing the dialog (Escape, the window frame) checks nothing either.
        d.reject();
        QVERIFY(!d.isVisible());
        QCOMPARE(rec.messages.size(), std::size_t(1));
    }

    void latitudeKeyRules() {
        RecordingPresenter rec;
        QWidget w;
        auto* layout = new QFormLayout(&w);
        auto* lat = new LatLonEdit(LatLonEdit::Axis::Latitude, 1, &rec);
        auto* lon = new LatLonEdit(LatLonEdit::Axis::Longitude, 1, &rec);
        layout->addRow("Latitude", lat);
        layout->addRow("Longitude", lon);
        QCOMPARE(lat->text(), "N 00" + deg + " 00' 00\"");
        QCOMPARE(lon->text(), "W 000" + deg + " 00' 00\"");
        showActive(w);

        lat->setFocus();  // selects all; the first digit goes to the first place
        QTest::keyClicks(lat, "383015");
        QCOMPARE(lat->text(), "N 38" + deg + " 30' 15\"");
        QTest::keyClick(lat, '7');  // no digit place left
        QCOMPARE(lat->text(), "N 38" + deg + " 30' 15\"");

        struct Step {
            int caret;  // -1: leave it
            QString keys;
            QString text;
            int caretAfter;
        } steps[] = {
            {-1, "s", "S 38" + deg + " 30' 15\"", 2},  // hemisphere from anywhere
            {-1, "E", "S 38" + deg + " 30' 15\"", 2},  // not a latitude letter
            {-1, "x -", "S 38" + deg + " 30' 15\"", 2},
            {4, "5", "S 38" + deg + " 50' 15\"", 7},    // on the degree sign: the next place
            {12, "1", "S 38" + deg + " 50' 15\"", 12},  // past the last place
            {-1, "n", "N 38" + deg + " 50' 15\"", 2},
        };
        for (const auto& s : steps) {
            if (s.caret >= 0) lat->setCursorPosition(s.caret);
            QTest::keyClicks(lat, s.keys);
            QCOMPARE(lat->text(), s.text);
            QCOMPARE(lat->cursorPosition(), s.caretAfter);
        }
        // Backspace and Delete put a 0 in a digit place and keep the layout.
        lat->setCursorPosition(7);
        QTest::keyClick(lat, Qt::Key_Backspace);
        QCOMPARE(lat->text(), "N 38" + deg + " 00' 15\"");
        QCOMPARE(lat->cursorPosition(), 6);
        lat->setCursorPosition(9);
        QTest::keyClick(lat, Qt::Key_Delete);
        QCOMPARE(lat->text(), "N 38" + deg + " 00' 05\"");
        QTest::keyClick(lat, Qt::Key_V, Qt::ControlModifier);  // no paste into the places
        QCOMPARE(lat->text(), "N 38" + deg + " 00' 05\"");
        QVERIFY(qAbs(lat->value() - (38 + 5 / 3600.0)) < 1e-9);

        lon->setFocus();
        QVERIFY(rec.messages.empty());
        QTest::keyClicks(lon, "n");
        QCOMPARE(lon->text(), "W 000" + deg + " 00' 00\"");
        QTest::keyClicks(lon, "e0775");
        QCOMPARE(lon->text(), "E 077" + deg + " 50' 00\"");
        QVERIFY(qAbs(lon->value() + (77 + 50 / 60.0)) < 1e-9);
        crv::testing::saveSnapshot(&w, "common/LatLonEdit");

        // A latitude beyond 90 degrees is refused with the degrees message.
        lat->setFocus();
        QTest::keyClicks(lat, "95");
        lon->setFocus();
        QCOMPARE(rec.messages.size(), std::size_t(1));
        QCOMPARE(rec.messages[0].text, std::string(" Value must be in the range 0 to 90 degrees. "));
        QVERIFY(lat->hasFocus());
        QTest::keyClick(lat, Qt::Key_Escape);
        QCOMPARE(lat->text(), "N 38" + deg + " 00' 05\"");
    }

    void otherFormatsAndTheDecimalPoint() {
        RecordingPresenter rec;
        QWidget w;
        auto* layout = new QVBoxLayout(&w);
        auto* lat = new LatLonEdit(LatLonEdit::Axis::Latitude, 1, &rec);
        auto* next = new FieldEdit(&w);
        layout->addWidget(lat);
        layout->addWidget(next);
        lat->setValue(-38.5);
        lat->setFormat(2);
        QCOMPARE(lat->text(), "S 38.5000" + deg);
        showActive(w);
        lat->setFocus();
        lat->setCursorPosition(2);
        QTest::keyClicks(lat, ".25");  // "." jumps past the point
        QCOMPARE(lat->text(), "S 38.2500" + deg);
        lat->setFormat(3);
        QCOMPARE(lat->text(), "S 38" + deg + " 15.00'");
        lat->setCursorPosition(0);
        QTest::keyClicks(lat, "0");  // the degrees go to "08": a value under 10
        QCOMPARE(lat->text(), "S 08" + deg + " 15.00'");
        next->setFocus();
        QVERIFY(rec.messages.empty());
        QVERIFY(qAbs(lat->value() + 8.25) < 1e-9);
        // Under a degree south: the letter keeps the sign.
        lat->setValue(-0.5);
        QCOMPARE(lat->text(), "S 00" + deg + " 30.00'");
        QVERIFY(qAbs(lat->value() + 0.5) < 1e-9);
    }
};

QTEST_MAIN(FieldEditTest)
#include "field_edit_test.moc"
