#include "crv/common/ui/qt/form_services.h"

#include <algorithm>
#include <cmath>

#include <QColor>
#include <QDialog>
#include <QFileDialog>
#include <QHeaderView>
#include <QLinearGradient>
#include <QMainWindow>
#include <QMenuBar>
#include <QPainter>
#include <QRect>
#include <QScreen>
#include <QStatusBar>
#include <QTreeView>

#include "crv/common/dialog_services.h"

namespace crv::common::ui {

void PlaceForm(QDialog* dialog) {
    if (!dialog) return;
    PlaceForm(dialog, dialog->parentWidget() ? dialog->parentWidget()->window() : nullptr);
}

void PlaceForm(QWidget* dialog, QWidget* main) {
    if (!dialog) return;
    if (!dialog->testAttribute(Qt::WA_Resized)) dialog->adjustSize();
    QScreen* screen = main ? main->screen() : dialog->screen();
    const QRect work = screen ? screen->availableGeometry() : QRect(0, 0, 1024, 768);

    // The common arithmetic, in pixels.
    crv::common::ScreenMetrics m;
    m.WorkAreaLeft = work.left();
    m.WorkAreaTop = work.top();
    m.WorkAreaWidth = work.width();
    m.WorkAreaHeight = work.height();
    crv::common::WindowRect mainRect{float(work.left()), float(work.top()), float(work.width()), float(work.height())};
    float statusHeight = 0;
    bool minimized = true;  // without a main window, nothing else moves
    if (main) {
        const QRect frame = main->frameGeometry();
        mainRect = {float(frame.left()), float(frame.top()), float(frame.width()), float(frame.height())};
        m.CaptionHeight = main->geometry().top() - frame.top();
        if (auto* mw = qobject_cast<QMainWindow*>(main)) {
            if (QWidget* bar = mw->menuWidget(); bar && bar->isVisible()) m.MenuHeight = bar->height();
            if (auto* status = mw->findChild<QStatusBar*>(QString(), Qt::FindDirectChildrenOnly);
                status && status->isVisible())
                statusHeight = float(status->height());
        }
        minimized = main->isMinimized();
    }
    QSize size = dialog->frameGeometry().size();
    if (main && !main->isMinimized() && !dialog->isVisible() && dialog->frameGeometry() == dialog->geometry()) {
        // A window not yet shown has no frame; it gets the main window's
        // decorations from the same window manager, so count them in: a
        // window as tall as the screen keeps its bottom edge on it too.
        const QRect outer = main->frameGeometry();
        const QRect inner = main->geometry();
        size += QSize(outer.width() - inner.width(), outer.height() - inner.height());
    }
    const auto placed =
        crv::common::PlaceForm(mainRect, minimized, statusHeight, float(size.width()), float(size.height()), m);
    dialog->move(qRound(placed.dialogLeft), qRound(placed.dialogTop));
    if (main && placed.moveMain) main->move(qRound(placed.mainLeft), qRound(placed.mainTop));
}

void PaintGradient(QPainter& painter, const QRect& area, const QColor& top, const QColor& bottom) {
    QLinearGradient g(area.topLeft(), area.bottomLeft());
    g.setColorAt(0, top);
    g.setColorAt(1, bottom);
    painter.fillRect(area, g);
}

void PaintGradient(QPainter& painter, const QRect& area) {
    if (area.isEmpty()) return;
    const int band = crv::common::gradientDrawWidth(area.height());
    painter.save();
    painter.setPen(Qt::NoPen);
    for (int i = 0; i <= 240; ++i) {
        // Band i starts on its line and covers the next ones up to the
        // following band; the last is clipped to the area.
        const int y = area.top() + int(std::lround(double(i) * (area.height() - 1) / 240.0));
        const QRect r = QRect(area.left(), y, area.width(), band).intersected(area);
        painter.fillRect(r, QColor(0, 0, 255 - i));
    }
    painter.restore();
}

static const char* const kNoValidation = "crvNoValidation";

void setCausesValidation(QWidget* widget, bool causes) {
    if (widget) widget->setProperty(kNoValidation, !causes);
}

bool causesValidation(const QWidget* widget) { return !widget || !widget->property(kNoValidation).toBool(); }

void fitFileDialog(QFileDialog* dialog) {
    if (!dialog) return;
    dialog->setViewMode(QFileDialog::Detail);
    QScreen* screen = dialog->parentWidget() ? dialog->parentWidget()->screen() : dialog->screen();
    const QRect area = screen ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
    dialog->resize(std::min(900, area.width() * 4 / 5), std::min(560, area.height() * 4 / 5));
    // Size, type and date as wide as their texts; the name gets the rest.
    if (auto* view = dialog->findChild<QTreeView*>(QStringLiteral("treeView"))) {
        QHeaderView* header = view->header();
        header->setStretchLastSection(false);
        header->setSectionResizeMode(0, QHeaderView::Stretch);
        for (int c = 1; c < header->count(); ++c) header->setSectionResizeMode(c, QHeaderView::ResizeToContents);
    }
}

}  // namespace crv::common::ui
