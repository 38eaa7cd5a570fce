#pragma once
// Handing the keyboard to one of the program's own windows.

class QWidget;

namespace crv::common::ui {

// Makes `window` the active window. Under an X window manager a request
// made just after a short-lived window of ours was given the keyboard can be
// refused: the keyboard then stays with the window that has gone and no key
// reaches any window. Where the X server's focus is still on a window of this
// program, the focus is moved to `window` directly as well.
void giveKeyboardTo(QWidget* window);

}  // namespace crv::common::ui
