#include "key_line_edit.h"

#include <QAction>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMenu>

namespace crv::editors {

KeyLineEdit::KeyLineEdit(QWidget* parent) : QLineEdit(parent) {
    setDragEnabled(false);
    setAcceptDrops(false);
}

void KeyLineEdit::keyPressEvent(QKeyEvent* event) {
    if (event->matches(QKeySequence::Paste) && onPaste) {
        onPaste(QGuiApplication::clipboard()->text());
        return;
    }
    if (onKey && onKey(event)) return;
    QLineEdit::keyPressEvent(event);
}

void KeyLineEdit::focusInEvent(QFocusEvent* event) {
    QLineEdit::focusInEvent(event);
    focusInReason_ = event->reason();
    if (onFocusIn) onFocusIn();
}

void KeyLineEdit::focusOutEvent(QFocusEvent* event) {
    QLineEdit::focusOutEvent(event);
    // Only the field with the focus shows a selection; one left selected
    // would look current beside it (after a page switch most of all).
    if (event->reason() != Qt::PopupFocusReason && event->reason() != Qt::ActiveWindowFocusReason) deselect();
    if (onFocusOut) onFocusOut(event->reason());
}

void KeyLineEdit::contextMenuEvent(QContextMenuEvent* event) {
    QMenu* menu = createStandardContextMenu();
    for (QAction* a : menu->actions()) {
        if (a->objectName() == QLatin1String("edit-paste") && onPaste) {
            disconnect(a, &QAction::triggered, nullptr, nullptr);
            connect(a, &QAction::triggered, this, [this] { onPaste(QGuiApplication::clipboard()->text()); });
        }
    }
    menu->exec(event->globalPos());
    delete menu;
}

void KeyLineEdit::mouseReleaseEvent(QMouseEvent* event) {
    // The middle button would paste the selection unfiltered.
    if (event->button() == Qt::MiddleButton) {
        event->accept();
        return;
    }
    QLineEdit::mouseReleaseEvent(event);
}

}  // namespace crv::editors
