#include "crv/common/ui/qt/window_focus.h"

#include <cstdlib>
#include <cstring>

#include <QGuiApplication>
#include <QWidget>
#include <QWindow>

#include <xcb/xcb.h>

namespace crv::common::ui {

namespace {

xcb_window_t inputFocus(xcb_connection_t* connection) {
    xcb_get_input_focus_reply_t* reply =
        xcb_get_input_focus_reply(connection, xcb_get_input_focus(connection), nullptr);
    if (!reply) return XCB_WINDOW_NONE;
    const xcb_window_t focus = reply->focus;
    std::free(reply);
    return focus;
}

// The program's own top-level window that is shown and has this X window.
bool aShownWindowOfOurs(xcb_window_t id) {
    for (QWindow* w : QGuiApplication::topLevelWindows())
        if (w->handle() && static_cast<xcb_window_t>(w->winId()) == id) return w->isVisible();
    return false;
}

}  // namespace

void giveKeyboardTo(QWidget* window) {
    if (!window) return;
    window = window->window();
    window->activateWindow();
    if (QGuiApplication::platformName() != QLatin1String("xcb")) return;
    auto* x11 = qApp->nativeInterface<QNativeInterface::QX11Application>();
    QWindow* handle = window->windowHandle();
    if (!x11 || !x11->connection() || !handle || !window->isVisible()) return;
    // Only where the program believes it holds the keyboard on a window that
    // is no longer shown: a window manager may have given it to a window of
    // ours that went before the grant arrived.
    QWindow* believed = QGuiApplication::focusWindow();
    if (!believed || believed == handle || believed->isVisible()) return;
    xcb_connection_t* connection = x11->connection();
    const auto id = static_cast<xcb_window_t>(handle->winId());
    const xcb_window_t focus = inputFocus(connection);
    if (focus == id) {
        // The X server already has the keyboard on the window, so it reports
        // no change and the program would go on sending the keys to the one
        // that has gone: the program is told what the server holds.
        xcb_focus_in_event_t event;
        std::memset(&event, 0, sizeof event);
        event.response_type = XCB_FOCUS_IN;
        event.detail = XCB_NOTIFY_DETAIL_NONLINEAR;
        event.event = id;
        event.mode = XCB_NOTIFY_MODE_NORMAL;
        xcb_send_event(connection, false, id, XCB_EVENT_MASK_FOCUS_CHANGE, reinterpret_cast<const char*>(&event));
    } else if (!aShownWindowOfOurs(focus)) {
        xcb_set_input_focus(connection, XCB_INPUT_FOCUS_PARENT, id, XCB_CURRENT_TIME);
    }
    xcb_flush(connection);
}

}  // namespace crv::common::ui
