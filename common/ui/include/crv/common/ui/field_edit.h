#pragma once
// The shared field behaviour: FieldEdit remembers the value it had when it
// got the focus, Escape restores it, and a validator that refuses the text
// keeps the focus in the field after its message has been shown once.
#include <functional>

#include <QLineEdit>

namespace crv::common::ui {

class FieldEdit : public QLineEdit {
    Q_OBJECT
public:
    // Returns true when the text is acceptable; shows its own message if not.
    using Validator = std::function<bool(const QString& text)>;
    explicit FieldEdit(QWidget* parent = nullptr);
    void setValidator(Validator validator);
    // Runs the validator; false keeps the focus here.
    bool validate();

protected:
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    Validator validator_;
    QString entryText_;
    bool validating_ = false;
};

}  // namespace crv::common::ui
