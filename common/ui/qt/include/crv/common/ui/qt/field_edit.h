#pragma once
// The shared behaviour of a dialog's edit fields: on focus a field remembers
// and selects its text; Enter moves on as Tab does; Escape restores the
// remembered text (and, when there is nothing to restore, reaches the dialog
// as Cancel); other keys pass the field's key filter; leaving the field runs
// its check, and a field that fails keeps the focus after its message has
// been shown once. A field given a check record filters keys with the common
// FilterKeyPress and checks itself with ValidateField.
#include <functional>
#include <memory>
#include <string>

#include <QLineEdit>

#include "crv/common/field_check.h"

namespace crv::common::ui {

class FieldEdit : public QLineEdit {
    Q_OBJECT
public:
    // Returns true when the text is acceptable; shows its own message if not.
    using Validator = std::function<bool(const QString& text)>;
    explicit FieldEdit(QWidget* parent = nullptr);
    ~FieldEdit() override;
    void setValidator(Validator validator);
    // Filters keys by the check's kind and validates with ValidateField,
    // whose message goes to `presenter` (the program's one when null). The
    // check's control is this field.
    void setFieldCheck(const crv::common::FieldCheck& check, crv::common::MessagePresenter* presenter = nullptr);
    const crv::common::FieldCheck& fieldCheck() const { return check_; }
    // Runs the check (a dialog's OK calls it for each field); false puts the
    // focus back here with the text selected.
    bool validate();
    // True from a refused check until the next key: the click that took the
    // focus away must not act as well.
    bool refused() const { return refused_; }

    // The masked-edit view the common checks use (Windows-1252 bytes).
    std::string mask() const { return mask_; }
    void setMask(const std::string& mask) { mask_ = mask; }

protected:
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    crv::common::FieldCheck& check() { return check_; }

private:
    class Control;
    std::unique_ptr<Control> control_;
    crv::common::FieldCheck check_;
    std::string mask_;
    Validator validator_;
    QString entryText_;
    bool entered_ = false;  // has the focus, as far as the user is concerned
    bool refused_ = false;
};

// True when the focus sits in a field whose text was just refused: a button
// clicked to leave it does nothing.
bool focusRefused();

}  // namespace crv::common::ui
