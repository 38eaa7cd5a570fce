#pragma once
// A dialog's row or column of OK, Cancel, Help and the like. It is a
// QDialogButtonBox, so every button carries its role and the dialog listens to
// accepted(), rejected() and helpRequested(); two things differ from the plain
// box, because users of these windows find their buttons by place and keys:
//   - the buttons stay in the order they are added, on every desktop (the
//     plain box rearranges them after the desktop's custom, and a GNOME or KDE
//     session would put Help first and OK last);
//   - the default button is the one the dialog sets, or none (the plain box
//     makes its first accept button the default when it is shown; several
//     dialogs have none, so that Enter in a field moves on to the next one).
#include <QDialogButtonBox>
#include <QList>
#include <QPointer>
#include <QPushButton>

namespace crv::common::ui {

class DialogButtons : public QDialogButtonBox {
    Q_OBJECT
public:
    // Where the free space of the row goes: before the buttons (a row pushed
    // to the right, a column to the bottom), after them, or nowhere.
    enum class Space { None, Before, After };

    DialogButtons(Qt::Orientation orientation, Space space, QWidget* parent = nullptr);

    // Takes the button after those added before, with its role (a button
    // added again keeps its place and takes the new role); returns it.
    QPushButton* add(QPushButton* button, ButtonRole role);

protected:
    bool event(QEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void layOut();

    Space space_;
    QList<QPointer<QPushButton>> order_;
};

}  // namespace crv::common::ui
