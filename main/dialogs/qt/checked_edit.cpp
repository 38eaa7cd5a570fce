#include "crv/main/dialogs/qt/checked_edit.h"

#include <QApplication>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QTimer>

#include "crv/common/ui/form_services.h"

namespace crv::main::qt {

using crv::common::KeyVerdict;

QString toQt(const std::string& text) { return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size())); }

std::string fromQt(const QString& text) {
    const QByteArray bytes = text.toLatin1();
    return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

void markNoValidate(QWidget* widget) { crv::common::ui::setCausesValidation(widget, false); }

CheckedEdit::CheckedEdit(FieldSet& fields, int index, crv::common::MessagePresenter& presenter, QWidget* parent)
    : QLineEdit(parent), fields_(fields), index_(index), presenter_(presenter) {
    if (fields_.box(index_).maxLength > 0) setMaxLength(fields_.box(index_).maxLength);
    pull();
}

bool CheckedEdit::isPosition() const { return fields_.check(index_).kind == crv::common::kFieldLatLon; }

void CheckedEdit::pull() {
    const FieldBox& b = fields_.box(index_);
    if (fromQt(text()) != b.text()) setText(toQt(b.text()));
    setEnabled(b.enabled);
}

void CheckedEdit::push() { fields_.box(index_).setText(fromQt(text())); }

bool CheckedEdit::check() {
    if (checking_ || !isEnabled()) return true;
    checking_ = true;  // the message box takes the focus; ask once
    push();
    const bool ok = fields_.validate(index_, presenter_);
    pull();
    checking_ = false;
    refused_ = !ok;
    if (!ok) refocus();
    return ok;
}

void CheckedEdit::refocus() {
    setFocus(Qt::OtherFocusReason);
    if (isPosition())
        setCursorPosition(2);
    else
        selectAll();
}

void CheckedEdit::focusInEvent(QFocusEvent* event) {
    QLineEdit::focusInEvent(event);
    if (checking_) return;
    entryText_ = fromQt(text());
    entryMask_ = fields_.box(index_).mask();
    // Selecting has to wait for the mouse press that gave the focus.
    QTimer::singleShot(0, this, [this] {
        if (!hasFocus()) return;
        if (isPosition())
            setCursorPosition(2);
        else
            selectAll();
    });
}

void CheckedEdit::focusOutEvent(QFocusEvent* event) {
    QLineEdit::focusOutEvent(event);
    if (checking_) return;
    const Qt::FocusReason reason = event->reason();
    if (reason == Qt::PopupFocusReason || reason == Qt::ActiveWindowFocusReason) return;
    QWidget* next = QApplication::focusWidget();
    if (next && !crv::common::ui::causesValidation(next)) return;
    if (!window()->isVisible()) return;
    check();
}

bool focusRefused() {
    auto* edit = qobject_cast<CheckedEdit*>(QApplication::focusWidget());
    return edit && edit->refused();
}

void CheckedEdit::keyPressEvent(QKeyEvent* event) {
    refused_ = false;
    const int key = event->key();
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
        focusNextChild();
        event->accept();
        return;
    }
    if (key == Qt::Key_Escape) {
        FieldBox& b = fields_.box(index_);
        if (isPosition() && !entryText_.empty() && !b.mask().empty() && b.mask()[0] != entryText_[0]) {
            std::string mask = b.mask();
            mask[0] = entryText_[0];
            b.setMask(mask);
        }
        setText(toQt(entryText_));
        push();
        if (isPosition())
            setCursorPosition(2);
        else
            selectAll();
        event->accept();
        return;
    }
    if (isPosition() && (key == Qt::Key_Backspace || key == Qt::Key_Delete)) {
        // A mask keeps its places: deleting only moves the caret back.
        if (key == Qt::Key_Backspace && cursorPosition() > 2) setCursorPosition(cursorPosition() - 1);
        event->accept();
        return;
    }
    const QString typed = event->text();
    if (typed.size() != 1 || typed[0].unicode() < 32 || typed[0].unicode() > 255 ||
        (event->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) {
        QLineEdit::keyPressEvent(event);
        return;
    }
    push();
    FieldBox& b = fields_.box(index_);
    b.setSelStart(cursorPosition());
    std::int16_t code = static_cast<std::int16_t>(typed[0].unicode());
    const KeyVerdict verdict = fields_.filterKey(index_, code, hasSelectedText());
    event->accept();
    switch (verdict) {
        case KeyVerdict::Passed: insert(QString(QChar(static_cast<ushort>(code & 0xFF)))); break;
        case KeyVerdict::Swallowed:
            setText(toQt(b.text()));
            setCursorPosition(b.selStart());
            break;
        case KeyVerdict::Rejected: QApplication::beep(); break;
    }
}

}  // namespace crv::main::qt
