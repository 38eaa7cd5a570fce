#pragma once
// What the two site editor windows do alike: the close box asks as Exit
// does, a text box's Enter and Escape, and running a window until it closes
// while the main window is hidden.
#include <QApplication>
#include <QCloseEvent>
#include <QEventLoop>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QTimer>

#include <functional>

#include "crv/common/ui/qt/form_services.h"

namespace crv::editors::detail {

// Only the editor's own Exit closes the window; the close box (or the end
// of the session) asks the Exit question in its place. `exit` commits and
// asks; true lets the window close.
inline bool closeAsExit(QCloseEvent* event, bool alreadyClosed, bool& closing, const std::function<bool()>& exit) {
    if (alreadyClosed || closing) {
        event->accept();
        return true;
    }
    event->ignore();
    closing = true;
    const bool close = exit();
    closing = false;
    if (close) event->accept();
    return close;
}

// Enter in a text box commits it and moves on as Tab does; Escape puts back
// the text the edit began with. True when the key was handled.
inline bool textBoxKey(QKeyEvent* key, QLineEdit* box, const QString& before, const std::function<bool()>& commit) {
    if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
        if (commit()) {
            QKeyEvent tab(QEvent::KeyPress, Qt::Key_Tab, Qt::NoModifier);
            QApplication::sendEvent(box, &tab);
        }
        return true;
    }
    if (key->key() == Qt::Key_Escape) {
        box->setText(before);
        return true;
    }
    return false;
}

// A menu command named `name` (tests find it by that name), in `menu` or,
// without one, on the menu bar itself.
inline QAction* addCommand(QMainWindow* window, QMenu* menu, const QString& text, const char* name,
                           const std::function<void()>& run) {
    QAction* a = menu ? menu->addAction(text) : window->menuBar()->addAction(text);
    a->setObjectName(QString::fromLatin1(name));
    QObject::connect(a, &QAction::triggered, window, run);
    return a;
}

// Hides the main window, shows `window` and returns when it has finished,
// the main window shown again. `script` (tests) runs once it is shown.
template <class Window>
void runUntilFinished(Window& window, QWidget* mainWindow, const std::function<void(Window&)>& script) {
    crv::common::ui::PlaceForm(&window, mainWindow);
    if (mainWindow) mainWindow->hide();
    QEventLoop loop;
    QObject::connect(&window, &Window::finished, &loop, &QEventLoop::quit, Qt::QueuedConnection);
    window.show();
    if (script) QTimer::singleShot(0, &window, [&] { script(window); });
    loop.exec();
    window.hide();
    if (mainWindow) mainWindow->show();
}

}  // namespace crv::editors::detail
