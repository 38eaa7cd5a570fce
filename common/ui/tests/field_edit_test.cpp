#include <QVBoxLayout>
#include <QtTest>

#include "crv/common/field_check.h"
#include "crv/common/ui/field_edit.h"
#include "crv/common/ui/message_presenter.h"
#include "crv/common/ui/snapshot.h"

using crv::common::ui::FieldEdit;

namespace {

// A bare X server has no window manager to activate a new window; focus
// rules need an active one, so the test asks for it itself.
void showActive(QWidget& w) {
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    w.activateWindow();
    QApplication::setActiveWindow(&w);
    QVERIFY(QTest::qWaitForWindowActive(&w));
}

}  // namespace

class FieldEditTest : public QObject {
    Q_OBJECT
private slots:
    void refusedValueKeepsFocusAndShowsOnce() {
        crv::common::ui::RecordingPresenter rec;
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
        crv::common::ui::saveSnapshot(&w, "common/FieldEdit");
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
};

QTEST_MAIN(FieldEditTest)
#include "field_edit_test.moc"
