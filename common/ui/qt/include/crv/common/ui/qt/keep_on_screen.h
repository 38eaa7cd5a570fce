#pragma once
// Every window and dialog of the program lies inside the available area of
// its screen, its window manager's frame included. A window is placed before
// it is shown, when the frame the window manager will put round it is not
// known yet (and a window manager may move it again as it maps it); once
// shown, with its frame known, a window that reaches past an edge of the work
// area is moved inside, as far as its size allows (a window larger than the
// area keeps its top left corner in it). Only the placing of a newly shown
// window is checked: where the user moves a window later is left alone.
#include <QRect>

class QWidget;

namespace crv::common::ui {

// Installs the rule for the whole application (once; later calls do nothing).
// It also keeps every window's title whole: a window manager elides a title
// its title bar cannot hold, and a message box or dialog sized to its
// contents alone may be narrower than its title (see fitTitle).
void installKeepOnScreen();

// The width a window needs for its title in a title bar (0 without a title).
int titleWidth(const QWidget& window);
// Widens a window laid out by a layout to titleWidth, once, before it is
// first shown; a window wide enough is left as it is.
void fitTitle(QWidget& window);

// The top left corner that puts `frame` inside `area` (unchanged when it is
// inside already).
QPoint keptInside(const QRect& frame, const QRect& area);

}  // namespace crv::common::ui
