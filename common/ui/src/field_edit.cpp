#include "crv/common/ui/field_edit.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QTimer>

namespace crv::common::ui {

FieldEdit::FieldEdit(QWidget* parent) : QLineEdit(parent) {}

void FieldEdit::setValidator(Validator validator) { validator_ = std::move(validator); }

bool FieldEdit::validate() {
    if (!validator_ || validating_) return true;
    validating_ = true;  // the message box takes the focus; do not ask twice
    const bool ok = validator_(text());
    validating_ = false;
    if (!ok) {
        setFocus(Qt::OtherFocusReason);
        selectAll();
    }
    return ok;
}

void FieldEdit::focusInEvent(QFocusEvent* event) {
    if (!validating_) entryText_ = text();
    QLineEdit::focusInEvent(event);
}

void FieldEdit::focusOutEvent(QFocusEvent* event) {
    QLineEdit::focusOutEvent(event);
    if (!validating_ && event->reason() != Qt::PopupFocusReason && event->reason() != Qt::ActiveWindowFocusReason)
        validate();
}

void FieldEdit::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape && text() != entryText_) {
        setText(entryText_);
        selectAll();
        event->accept();
        return;
    }
    QLineEdit::keyPressEvent(event);
}

}  // namespace crv::common::ui
