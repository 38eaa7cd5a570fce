#include "crv/common/ui/form_services.h"

#include <algorithm>

#include <QColor>
#include <QDialog>
#include <QLinearGradient>
#include <QPainter>
#include <QRect>
#include <QScreen>

namespace crv::common::ui {

void PlaceForm(QDialog* dialog) {
    if (!dialog) return;
    dialog->adjustSize();
    QWidget* parent = dialog->parentWidget();
    QScreen* screen = parent ? parent->screen() : dialog->screen();
    const QRect avail = screen ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
    const QRect around = parent ? parent->window()->frameGeometry() : avail;
    QRect r(QPoint(0, 0), dialog->frameGeometry().size());
    r.moveCenter(around.center());
    r.moveLeft(std::clamp(r.left(), avail.left(), std::max(avail.left(), avail.right() - r.width())));
    r.moveTop(std::clamp(r.top(), avail.top(), std::max(avail.top(), avail.bottom() - r.height())));
    dialog->move(r.topLeft());
}

void PaintGradient(QPainter& painter, const QRect& area, const QColor& top, const QColor& bottom) {
    QLinearGradient g(area.topLeft(), area.bottomLeft());
    g.setColorAt(0, top);
    g.setColorAt(1, bottom);
    painter.fillRect(area, g);
}

}  // namespace crv::common::ui
