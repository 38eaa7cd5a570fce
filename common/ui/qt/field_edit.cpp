#include "crv/common/ui/qt/field_edit.h"

#include <QApplication>
#include <QFocusEvent>
#include <QKeyEvent>

#include "crv/common/ui/qt/form_services.h"
#include "crv/common/ui/qt/message_presenter.h"
#include "crv/common/ui/qt/qt_text.h"

namespace crv::common::ui {
namespace {

// One guard for every field: while a check runs (its message box takes the
// focus) and while a refused field takes the focus back, no other field
// checks itself, so two invalid fields never chase each other with boxes.
bool checking = false;

}  // namespace

// The field as the common checks see it.
class FieldEdit::Control : public crv::common::FieldControl {
public:
    explicit Control(FieldEdit& edit) : edit_(edit) {}
    std::string text() const override { return fromQt(edit_.text()); }
    void setText(const std::string& text) override { edit_.setText(toQt(text)); }
    std::string mask() const override { return edit_.mask(); }
    void setMask(const std::string& mask) override { edit_.setMask(mask); }
    // With the text selected (as on entry) the caret is where the selection starts.
    int selStart() const override {
        return edit_.hasSelectedText() ? int(edit_.selectionStart()) : int(edit_.cursorPosition());
    }
    void setSelStart(int pos) override { edit_.setCursorPosition(pos); }

private:
    FieldEdit& edit_;
};

FieldEdit::FieldEdit(QWidget* parent) : QLineEdit(parent), control_(std::make_unique<Control>(*this)) {}

FieldEdit::~FieldEdit() = default;

void FieldEdit::setValidator(Validator validator) { validator_ = std::move(validator); }

void FieldEdit::setFieldCheck(const crv::common::FieldCheck& check, crv::common::MessagePresenter* presenter) {
    check_ = check;
    check_.control = control_.get();
    setValidator([this, presenter](const QString&) {
        return crv::common::ValidateField(check_, presenter ? *presenter : appPresenter());
    });
}

bool FieldEdit::validate() {
    if (!validator_ || checking) return true;
    checking = true;
    const bool ok = validator_(text());
    refused_ = !ok;
    if (!ok) {
        // Still the same visit: the window's focus may come back only when
        // the window manager reactivates it, after the guard is lifted, and
        // that must not make the refused text the one Escape restores.
        entered_ = true;
        // The field the user was leaving for selected its text on entry; with
        // the focus handed back while the window is inactive it never hears
        // of it, and two fields would look current.
        if (auto* next = qobject_cast<QLineEdit*>(window()->focusWidget()); next && next != this) next->deselect();
        activateWindow();
        setFocus(Qt::OtherFocusReason);
        selectAll();
    }
    checking = false;
    return ok;
}

void FieldEdit::focusInEvent(QFocusEvent* event) {
    QLineEdit::focusInEvent(event);
    // Coming back from a message box or a menu, or being handed the focus
    // back after a refused check, is no new entry into the field.
    if (entered_) return;
    entered_ = true;
    if (checking) return;
    entryText_ = text();
    if (event->reason() != Qt::MouseFocusReason) selectAll();
}

void FieldEdit::focusOutEvent(QFocusEvent* event) {
    QLineEdit::focusOutEvent(event);
    const auto reason = event->reason();
    if (reason == Qt::PopupFocusReason || reason == Qt::ActiveWindowFocusReason) return;
    entered_ = false;
    // A window going away (hidden, or taken down with its dialog) has no
    // field left to check, and its model may be gone already.
    if (!window()->isVisible()) return;
    // Only the field with the focus shows a selection: a field left with
    // its text selected would look current beside the one that is.
    deselect();
    // The widget taking the focus is already the focus widget here.
    if (!causesValidation(QApplication::focusWidget())) return;
    validate();
}

bool focusRefused() {
    auto* edit = qobject_cast<FieldEdit*>(QApplication::focusWidget());
    return edit && edit->refused();
}

void FieldEdit::keyPressEvent(QKeyEvent* event) {
    refused_ = false;
    const Qt::KeyboardModifiers mods = event->modifiers() & ~Qt::KeypadModifier;
    if (event->key() == Qt::Key_Escape && mods == Qt::NoModifier && text() != entryText_) {
        setText(entryText_);
        selectAll();
        event->accept();
        return;
    }
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && mods == Qt::NoModifier) {
        focusNextChild();
        event->accept();
        return;
    }
    const QString typed = event->text();
    if (check_.kind != crv::common::kFieldFree && typed.size() == 1 && typed[0].unicode() >= 0x20 &&
        typed[0].unicode() != 0x7F && !(mods & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))) {
        const char16_t u = typed[0].unicode();
        // A character beyond Windows-1252's first page goes to the filter as
        // one no number field accepts.
        const auto original = static_cast<std::int16_t>(u < 0x100 ? u : 0x01);
        std::int16_t code = original;
        switch (crv::common::FilterKeyPress(check_, code)) {
            case crv::common::KeyVerdict::Swallowed: event->accept(); return;
            case crv::common::KeyVerdict::Rejected:
                QApplication::beep();
                event->accept();
                return;
            case crv::common::KeyVerdict::Passed:
                if (code != original) {  // upper-cased by the filter
                    insert(QString(QChar(char16_t(static_cast<unsigned char>(code)))));
                    event->accept();
                    return;
                }
                break;
        }
    }
    QLineEdit::keyPressEvent(event);
}

}  // namespace crv::common::ui
