#include "crv/common/ui/qt/dialog_buttons.h"

#include <QBoxLayout>
#include <QEvent>
#include <QPushButton>

namespace crv::common::ui {

DialogButtons::DialogButtons(Qt::Orientation orientation, Space space, QWidget* parent)
    : QDialogButtonBox(orientation, parent), space_(space) {
    // Along the row as the buttons and their spacer were before they had a
    // box; across it a column is as wide as its widest neighbour, as buttons
    // in a plain column are.
    const QSizePolicy::Policy along = space == Space::None ? QSizePolicy::Preferred : QSizePolicy::Expanding;
    if (orientation == Qt::Horizontal)
        setSizePolicy(QSizePolicy(along, QSizePolicy::Fixed, QSizePolicy::ButtonBox));
    else
        setSizePolicy(QSizePolicy(QSizePolicy::Minimum, along, QSizePolicy::ButtonBox));
}

QPushButton* DialogButtons::add(QPushButton* button, ButtonRole role) {
    addButton(button, role);
    if (buttonRole(button) == InvalidRole) return button;  // refused by the box (an invalid role)
    if (!order_.contains(button)) order_.append(button);
    layOut();
    return button;
}

// The box lays its buttons out after the desktop's custom each time one is
// added or the style changes; here they go back into the order they came in.
void DialogButtons::layOut() {
    auto* row = qobject_cast<QBoxLayout*>(layout());
    if (!row) return;
    while (QLayoutItem* item = row->takeAt(0)) delete item;
    if (space_ == Space::Before) row->addStretch();
    QPushButton* previous = nullptr;
    for (QPushButton* button : order_) {
        if (!button) continue;  // deleted since
        row->addWidget(button);
        if (previous)
            setTabOrder(previous, button);
        else
            setFocusProxy(button);
        previous = button;
    }
    if (space_ == Space::After) row->addStretch();
}

bool DialogButtons::event(QEvent* event) {
    // On Show the plain box makes its first accept button the default when
    // the dialog has none; that is left to the dialog.
    if (event->type() == QEvent::Show) return QWidget::event(event);
    return QDialogButtonBox::event(event);
}

void DialogButtons::changeEvent(QEvent* event) {
    QDialogButtonBox::changeEvent(event);
    if (event->type() == QEvent::StyleChange) layOut();
}

}  // namespace crv::common::ui
