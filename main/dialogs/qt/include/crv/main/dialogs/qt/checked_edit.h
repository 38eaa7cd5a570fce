#pragma once
// An input box bound to one box of a dialog model's FieldSet: it remembers
// and selects its text on focus, Enter moves on as Tab, Escape puts the
// remembered text back, keys pass the field's filter, and leaving it runs the
// field check (an invalid text keeps the focus). Position boxes behave as a
// mask: digits overwrite the digit places, the hemisphere letter switches.
// Leaving for a widget marked with markNoValidate (Cancel) checks nothing.
#include <QLineEdit>

#include "crv/common/messages.h"
#include "crv/main/dialogs/field_box.h"

namespace crv::main::qt {

// Windows-1252 texts of the logic shown in Qt (the degree sign is 0xB0 in both).
QString toQt(const std::string& text);
std::string fromQt(const QString& text);

void markNoValidate(QWidget* widget);

class CheckedEdit : public QLineEdit {
    Q_OBJECT
public:
    CheckedEdit(FieldSet& fields, int index, crv::common::MessagePresenter& presenter, QWidget* parent = nullptr);

    // Copies the model's text (and enabled state) into the box.
    void pull();
    // Copies the box's text into the model.
    void push();
    // Runs the field check now; false keeps the focus here.
    bool check();
    bool isPosition() const;
    int index() const { return index_; }
    // True while the box holds a text its check refused when it was left
    // (the click that took the focus away must not act on it).
    bool refused() const { return refused_; }

protected:
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void refocus();

    FieldSet& fields_;
    int index_;
    crv::common::MessagePresenter& presenter_;
    std::string entryText_;
    std::string entryMask_;
    bool checking_ = false;
    bool refused_ = false;
};

// True when the focus sits in a box whose text was just refused: a button
// clicked to leave it does nothing.
bool focusRefused();

}  // namespace crv::main::qt
