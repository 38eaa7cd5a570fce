#include "crv/common/ui/qt/button_keys.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPushButton>

namespace crv::common::ui {
namespace {

class ButtonKeys : public QObject {
protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::KeyPress) return false;
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() != Qt::Key_Return && key->key() != Qt::Key_Enter) return false;
        if ((key->modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier) return false;
        auto* button = qobject_cast<QPushButton*>(watched);
        // A default button presses itself; only the others need the rule.
        if (!button || button->autoDefault() || button->isDefault() || !button->hasFocus() || !button->isEnabled() ||
            !button->isVisible())
            return false;
        if (key->isAutoRepeat()) return true;  // one press per Enter, as Space
        button->click();
        return true;
    }
};

}  // namespace

void installButtonKeys() {
    static ButtonKeys* keys = nullptr;
    if (keys || !qApp) return;
    keys = new ButtonKeys;
    keys->setParent(qApp);
    qApp->installEventFilter(keys);
}

}  // namespace crv::common::ui
