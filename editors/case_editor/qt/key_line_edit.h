#pragma once
// A line edit whose keys, pastes and focus changes go to the editor's logic
// first. Pasting from the context menu, the keyboard or the middle button
// all go through onPaste, so no text bypasses the field's key filter.
#include <functional>

#include <QLineEdit>

namespace crv::editors {

class KeyLineEdit : public QLineEdit {
    Q_OBJECT
public:
    explicit KeyLineEdit(QWidget* parent = nullptr);
    std::function<bool(QKeyEvent*)> onKey;  // true: handled here
    std::function<void(const QString&)> onPaste;
    std::function<void()> onFocusIn;
    std::function<void(Qt::FocusReason)> onFocusOut;
    // Why the field got the focus last (read by onFocusIn).
    Qt::FocusReason focusInReason() const { return focusInReason_; }

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    Qt::FocusReason focusInReason_ = Qt::OtherFocusReason;
};

}  // namespace crv::editors
