#pragma once
// Tables that show whole rows only: a row cut at the bottom looks like a
// value the user cannot reach, and the cell editor laid over it would be cut
// too. Rows are taken to be of the vertical header's default height.
class QTableView;
class QWidget;

namespace crv::common::ui {
// The height of `view` showing as many whole rows as fit in `available`
// pixels (at least one, at most `mostRows` when that is above 0), with its
// header, frame and any horizontal scroll bar.
int wholeRowsHeight(const QTableView* view, int available, int mostRows = 0);
// Caps the view at that height; the rest of its cell stays empty below it.
void fitWholeRows(QTableView* view, int available);
// Keeps `view` fitted to the height of `container`'s layout (less its
// margins), at most as tall as its rows, whenever the container is resized,
// the heading changes height or the model its number of rows.
// The view must fill that height in the layout, with room below it to give
// up (a stretch under it).
void keepWholeRows(QTableView* view, QWidget* container);
}  // namespace crv::common::ui
