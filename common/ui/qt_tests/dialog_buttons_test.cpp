// The dialogs' button rows: roles from the button box, the order and the
// default button from the dialog, whatever the desktop's custom.
#include <QDialog>
#include <QLineEdit>
#include <QProxyStyle>
#include <QPushButton>
#include <QSignalSpy>
#include <QStyleFactory>
#include <QVBoxLayout>
#include <QtTest>

#include <algorithm>
#include <memory>

#include "crv/common/ui/qt/dialog_buttons.h"

using crv::common::ui::DialogButtons;

namespace {

// A style with the button order of another desktop.
class DesktopStyle : public QProxyStyle {
public:
    explicit DesktopStyle(QDialogButtonBox::ButtonLayout order)
        : QProxyStyle(QStyleFactory::create(QStringLiteral("Fusion"))), order_(order) {}
    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* returnData) const override {
        if (hint == SH_DialogButtonLayout) return order_;
        return QProxyStyle::styleHint(hint, option, widget, returnData);
    }

private:
    QDialogButtonBox::ButtonLayout order_;
};

struct Button {
    const char* caption;
    QDialogButtonBox::ButtonRole role;
};
// Every role a dialog here uses, in an order no desktop's custom gives.
const Button kButtons[] = {{"OK", QDialogButtonBox::AcceptRole},
                           {"Cancel", QDialogButtonBox::RejectRole},
                           {"Manual", QDialogButtonBox::AcceptRole},
                           {"Restore &Defaults", QDialogButtonBox::ResetRole},
                           {"Help", QDialogButtonBox::HelpRole}};

QStringList captions(const QList<QPushButton*>& buttons) {
    QStringList out;
    for (auto* b : buttons) out << b->text();
    return out;
}

// The buttons as they are on screen, left to right or top to bottom.
QStringList onScreen(QWidget* box, Qt::Orientation orientation) {
    QList<QPushButton*> buttons = box->findChildren<QPushButton*>();
    std::sort(buttons.begin(), buttons.end(), [orientation](QPushButton* a, QPushButton* b) {
        return orientation == Qt::Horizontal ? a->x() < b->x() : a->y() < b->y();
    });
    return captions(buttons);
}

// The buttons in the order Tab visits them, from the first one.
QStringList tabbing(QPushButton* first, int count) {
    QStringList out;
    QWidget* w = first;
    while (out.size() < count && w) {
        if (auto* b = qobject_cast<QPushButton*>(w)) out << b->text();
        w = w->nextInFocusChain();
        if (w == first) break;
    }
    return out;
}

QStringList expectedOrder() {
    QStringList out;
    for (const Button& b : kButtons) out << QString::fromLatin1(b.caption);
    return out;
}

}  // namespace

class DialogButtonsTest : public QObject {
    Q_OBJECT
private slots:
    void keepsTheOrderOnEveryDesktop_data() {
        QTest::addColumn<int>("order");
        QTest::addColumn<Qt::Orientation>("orientation");
        const std::pair<const char*, QDialogButtonBox::ButtonLayout> desktops[] = {
            {"Windows", QDialogButtonBox::WinLayout},
            {"macOS", QDialogButtonBox::MacLayout},
            {"KDE", QDialogButtonBox::KdeLayout},
            {"GNOME", QDialogButtonBox::GnomeLayout}};
        for (const auto& [name, order] : desktops) {
            QTest::addRow("%s row", name) << int(order) << Qt::Horizontal;
            QTest::addRow("%s column", name) << int(order) << Qt::Vertical;
        }
    }
    void keepsTheOrderOnEveryDesktop() {
        QFETCH(int, order);
        QFETCH(Qt::Orientation, orientation);
        const auto style = std::make_unique<DesktopStyle>(QDialogButtonBox::ButtonLayout(order));
        QDialog dialog;
        auto* layout = new QVBoxLayout(&dialog);
        auto* box = new DialogButtons(orientation, DialogButtons::Space::Before, &dialog);
        auto* plain = new QDialogButtonBox(orientation, &dialog);
        layout->addWidget(box);
        layout->addWidget(plain);
        QList<QPushButton*> added;
        int n = 0;
        for (const Button& b : kButtons) {
            // The desktop's order comes in the middle: both the adding and the
            // change of style lay the buttons out again.
            if (n++ == 2) {
                box->setStyle(style.get());
                plain->setStyle(style.get());
            }
            added << box->add(new QPushButton(QString::fromLatin1(b.caption), &dialog), b.role);
            plain->addButton(new QPushButton(QString::fromLatin1(b.caption)), b.role);
        }
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        QCOMPARE(onScreen(box, orientation), expectedOrder());
        QCOMPARE(tabbing(added.front(), int(added.size())), expectedOrder());
        // A plain row does follow the desktop (every desktop's row differs
        // from this order; some columns happen to match it).
        if (orientation == Qt::Horizontal) QVERIFY(onScreen(plain, orientation) != expectedOrder());
    }

    void rolesGiveTheBoxSignals() {
        DialogButtons box(Qt::Horizontal, DialogButtons::Space::Before);
        QList<QPushButton*> buttons;
        for (const Button& b : kButtons) buttons << box.add(new QPushButton(QString::fromLatin1(b.caption)), b.role);
        QSignalSpy accepted(&box, &QDialogButtonBox::accepted);
        QSignalSpy rejected(&box, &QDialogButtonBox::rejected);
        QSignalSpy help(&box, &QDialogButtonBox::helpRequested);
        struct Case {
            int button;
            int accepted, rejected, help;
        } cases[] = {{0, 1, 0, 0}, {1, 0, 1, 0}, {2, 1, 0, 0}, {3, 0, 0, 0}, {4, 0, 0, 1}};
        for (const Case& c : cases) {
            accepted.clear();
            rejected.clear();
            help.clear();
            QPushButton* b = buttons[c.button];
            QCOMPARE(box.buttonRole(b), kButtons[c.button].role);
            b->click();
            QVERIFY2(accepted.size() == c.accepted && rejected.size() == c.rejected && help.size() == c.help,
                     qPrintable(b->text()));
        }
        // Added again, a button keeps its place and takes its new role.
        box.add(buttons[2], QDialogButtonBox::ActionRole);
        QCOMPARE(box.buttonRole(buttons[2]), QDialogButtonBox::ActionRole);
        box.show();
        QVERIFY(QTest::qWaitForWindowExposed(&box));
        QCOMPARE(onScreen(&box, Qt::Horizontal), expectedOrder());
    }

    void leavesTheDefaultToTheDialog_data() {
        QTest::addColumn<bool>("okIsDefault");
        QTest::addRow("OK the default") << true;
        QTest::addRow("no default: Enter moves on") << false;
    }
    void leavesTheDefaultToTheDialog() {
        QFETCH(bool, okIsDefault);
        QDialog dialog;
        auto* field = new QLineEdit(&dialog);
        auto* box = new DialogButtons(Qt::Horizontal, DialogButtons::Space::Before, &dialog);
        auto* ok = box->add(new QPushButton(QStringLiteral("OK"), &dialog), QDialogButtonBox::AcceptRole);
        auto* cancel = box->add(new QPushButton(QStringLiteral("Cancel"), &dialog), QDialogButtonBox::RejectRole);
        for (auto* b : {ok, cancel}) b->setAutoDefault(false);
        ok->setDefault(okIsDefault);
        connect(box, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
        connect(box, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
        auto* layout = new QVBoxLayout(&dialog);
        layout->addWidget(field);
        layout->addWidget(box);
        QSignalSpy finished(&dialog, &QDialog::finished);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        QCOMPARE(ok->isDefault(), okIsDefault);
        field->setFocus();
        QTest::keyClick(field, Qt::Key_Return);
        QCOMPARE(finished.size(), okIsDefault ? 1 : 0);
        if (okIsDefault) QCOMPARE(finished.front().front().toInt(), int(QDialog::Accepted));
        // Escape is Cancel either way.
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        finished.clear();
        QTest::keyClick(field, Qt::Key_Escape);
        QCOMPARE(finished.size(), 1);
        QCOMPARE(finished.front().front().toInt(), int(QDialog::Rejected));
    }

    void spaceGoesWhereAsked_data() {
        QTest::addColumn<Qt::Orientation>("orientation");
        QTest::addColumn<bool>("spaceBefore");
        QTest::addRow("row, space before") << Qt::Horizontal << true;
        QTest::addRow("row, space after") << Qt::Horizontal << false;
        QTest::addRow("column, space before") << Qt::Vertical << true;
        QTest::addRow("column, space after") << Qt::Vertical << false;
    }
    void spaceGoesWhereAsked() {
        QFETCH(Qt::Orientation, orientation);
        QFETCH(bool, spaceBefore);
        DialogButtons box(orientation, spaceBefore ? DialogButtons::Space::Before : DialogButtons::Space::After);
        auto* ok = box.add(new QPushButton(QStringLiteral("OK")), QDialogButtonBox::AcceptRole);
        auto* help = box.add(new QPushButton(QStringLiteral("Help")), QDialogButtonBox::HelpRole);
        box.resize(box.sizeHint() + QSize(400, 400));
        box.show();
        QVERIFY(QTest::qWaitForWindowExposed(&box));
        const bool row = orientation == Qt::Horizontal;
        const int lead = row ? ok->x() : ok->y();
        const int trail =
            row ? box.width() - help->geometry().right() - 1 : box.height() - help->geometry().bottom() - 1;
        QVERIFY2((spaceBefore ? lead : trail) >= 400, qPrintable(QStringLiteral("%1 %2").arg(lead).arg(trail)));
        QVERIFY2((spaceBefore ? trail : lead) < 20, qPrintable(QStringLiteral("%1 %2").arg(lead).arg(trail)));
    }

    void aDeletedButtonLeavesTheRow() {
        const auto style = std::make_unique<DesktopStyle>(QDialogButtonBox::GnomeLayout);
        DialogButtons box(Qt::Horizontal, DialogButtons::Space::Before);
        box.add(new QPushButton(QStringLiteral("OK")), QDialogButtonBox::AcceptRole);
        auto* cancel = box.add(new QPushButton(QStringLiteral("Cancel")), QDialogButtonBox::RejectRole);
        box.add(new QPushButton(QStringLiteral("Help")), QDialogButtonBox::HelpRole);
        delete cancel;
        box.setStyle(style.get());  // lays the row out again
        box.show();
        QVERIFY(QTest::qWaitForWindowExposed(&box));
        QCOMPARE(onScreen(&box, Qt::Horizontal), QStringList({QStringLiteral("OK"), QStringLiteral("Help")}));
    }
};

QTEST_MAIN(DialogButtonsTest)
#include "dialog_buttons_test.moc"
