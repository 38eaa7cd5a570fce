#include "crv/common/ui/qt/keep_on_screen.h"

#include <algorithm>

#include <QApplication>
#include <QBoxLayout>
#include <QDateTime>
#include <QEvent>
#include <QFontMetrics>
#include <QGridLayout>
#include <QPointer>
#include <QScreen>
#include <QSpacerItem>
#include <QTimer>
#include <QWidget>

namespace crv::common::ui {

QPoint keptInside(const QRect& frame, const QRect& area) {
    // The upper bounds first, then the lower ones: a window larger than the
    // area ends with its top left corner inside it.
    int x = std::min(frame.left(), area.left() + area.width() - frame.width());
    int y = std::min(frame.top(), area.top() + area.height() - frame.height());
    x = std::max(x, area.left());
    y = std::max(y, area.top());
    return {x, y};
}

namespace {

// How long after a window is shown its placing is still the program's: the
// window manager reports the frame and may move the window meanwhile.
constexpr int kPlacingMs = 1500;
const char* const kPlacing = "crvPlacingUntil";

bool isPlaced(const QWidget* w) {
    const Qt::WindowType type = w->windowType();
    return w->isWindow() && (type == Qt::Window || type == Qt::Dialog) && !w->isMinimized() && !w->isMaximized() &&
           !w->isFullScreen();
}

void fit(QWidget* w) {
    if (!w->isVisible() || !isPlaced(w)) return;
    const QRect frame = w->frameGeometry();
    const QScreen* screen = w->screen();
    if (!screen) return;
    const QRect area = screen->availableGeometry();
    const QPoint to = keptInside(frame, area);
    // move() places the frame's corner for a window.
    if (to != frame.topLeft()) w->move(to);
}

const char* const kTitleFitted = "crvTitleFitted";

}  // namespace

int titleWidth(const QWidget& window) {
    const QString title = window.windowTitle().trimmed();
    if (title.isEmpty()) return 0;
    // The title bar's font is the window manager's: a bold one a little
    // larger than the program's, with room for the frame's icon and its
    // three buttons.
    QFont font = window.font();
    font.setBold(true);
    if (font.pointSizeF() > 0) font.setPointSizeF(font.pointSizeF() * 1.15);
    const QFontMetrics fm(font);
    return fm.horizontalAdvance(window.windowTitle()) + 4 * fm.height() + 96;
}

void fitTitle(QWidget& window) {
    if (window.property(kTitleFitted).toBool()) return;
    window.setProperty(kTitleFitted, true);
    const int needed = titleWidth(window);
    QLayout* layout = window.layout();
    if (needed <= 0 || !layout || window.sizeHint().width() >= needed) return;
    // A spacer as wide as the title across the window's layout: the window
    // (a message box or a dialog of fixed size too) can then be no narrower.
    if (auto* grid = qobject_cast<QGridLayout*>(layout)) {
        grid->addItem(new QSpacerItem(needed, 0, QSizePolicy::Minimum, QSizePolicy::Minimum), grid->rowCount(), 0, 1,
                      std::max(1, grid->columnCount()));
    } else if (auto* box = qobject_cast<QBoxLayout*>(layout)) {
        const bool across = box->direction() == QBoxLayout::LeftToRight || box->direction() == QBoxLayout::RightToLeft;
        if (across)
            box->addSpacing(needed - window.sizeHint().width());
        else
            box->addItem(new QSpacerItem(needed, 0, QSizePolicy::Minimum, QSizePolicy::Minimum));
    } else {
        return;
    }
    layout->activate();
    if (window.width() < needed && window.maximumWidth() >= needed) window.resize(needed, window.height());
}

namespace {

class KeepOnScreen : public QObject {
protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        const QEvent::Type type = event->type();
        if (type != QEvent::Show && type != QEvent::Move && type != QEvent::Resize) return false;
        auto* w = qobject_cast<QWidget*>(watched);
        if (!w || !w->isWindow() || !isPlaced(w)) return false;
        if (type == QEvent::Show) {
            fitTitle(*w);
            w->setProperty(kPlacing, QDateTime::currentMSecsSinceEpoch() + kPlacingMs);
            // Once more when the window manager is done with it.
            QPointer<QWidget> later(w);
            QTimer::singleShot(kPlacingMs / 3, w, [later] {
                if (later) fit(later);
            });
        }
        const qint64 until = w->property(kPlacing).toLongLong();
        if (until == 0 || QDateTime::currentMSecsSinceEpoch() > until) return false;
        QPointer<QWidget> target(w);
        QMetaObject::invokeMethod(
            w,
            [target] {
                if (target) fit(target);
            },
            Qt::QueuedConnection);
        return false;
    }
};

}  // namespace

void installKeepOnScreen() {
    static KeepOnScreen* keeper = nullptr;
    if (keeper || !qApp) return;
    keeper = new KeepOnScreen;
    keeper->setParent(qApp);
    qApp->installEventFilter(keeper);
}

}  // namespace crv::common::ui
