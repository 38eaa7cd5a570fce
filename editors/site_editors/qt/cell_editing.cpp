#include "crv/editors/site_editors/qt/cell_editing.h"

#include <QApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QScrollBar>
#include <QTableView>

#include "crv/common/ui/qt/lat_lon_edit.h"

namespace crv::editors {

namespace {
// The tables' texts are single-byte (the degree sign is one byte), as the
// field checks read and write them.
std::string latin1(const QString& s) { return s.toLatin1().toStdString(); }

// Enter acting as Tab: the focus goes to the next control after the table.
void focusAfter(QWidget* grid) {
    for (QWidget* w = grid->nextInFocusChain(); w && w != grid; w = w->nextInFocusChain()) {
        if (grid->isAncestorOf(w) || !w->isVisible() || !w->isEnabled() || !(w->focusPolicy() & Qt::TabFocus)) continue;
        w->setFocus(Qt::TabFocusReason);
        return;
    }
}
}  // namespace

CellEditing::CellEditing(QTableView* grid, Hooks hooks)
    : QObject(grid), grid_(grid), hooks_(std::move(hooks)), plain_(new QLineEdit(grid->viewport())), editor_(plain_) {
    column_ = hooks_.firstColumn;
    plain_->hide();
    plain_->setFrame(false);
    plain_->setAlignment(Qt::AlignCenter);
    plain_->installEventFilter(this);
    grid_->installEventFilter(this);
    grid_->viewport()->installEventFilter(this);
    grid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid_->setSelectionMode(QAbstractItemView::SingleSelection);
    // Tab leaves the table for the next control. Left on, the table would
    // also take a Tab when the focused editor is hidden (a switch between
    // the position box and the plain line) and move its current cell one
    // column away from the one being edited.
    grid_->setTabKeyNavigation(false);
    // Every row as tall as the editor laid over it needs; one height for all
    // rows, so the table can be sized to whole rows.
    grid_->verticalHeader()->setDefaultSectionSize(grid_->fontMetrics().height() + 6);
    // The editor covers its cell wherever the cell goes: the table's first
    // layout when shown, a column resized by a change of headings.
    connect(grid_->horizontalHeader(), &QHeaderView::sectionResized, this, [this] { place(); });
    connect(grid_->horizontalHeader(), &QHeaderView::geometriesChanged, this, [this] { place(); });
    connect(grid_->verticalHeader(), &QHeaderView::geometriesChanged, this, [this] { place(); });
    // A click on a cell commits the open edit first; an invalid one keeps its cell.
    connect(grid_, &QTableView::clicked, this, [this](const QModelIndex& index) {
        if (moving_) return;
        const int c = std::clamp(index.column(), hooks_.firstColumn, hooks_.lastColumn);
        moveTo(index.row(), c);
    });
    // Scrolling hides the editor while its row is out of sight.
    connect(grid_->verticalScrollBar(), &QScrollBar::valueChanged, this, [this] { place(); });
}

void CellEditing::reset() {
    state_ = State::Idle;
    hideEditor(editor_);
}

void CellEditing::place() {
    if (state_ == State::Idle) return;  // no edit open: nothing to cover
    const QModelIndex index = grid_->model()->index(row_, column_);
    const QRect r = grid_->visualRect(index);
    const bool visible = r.isValid() && grid_->viewport()->rect().intersects(r);
    if (!visible) {
        hideEditor(editor_);
        return;
    }
    // The whole cell, inside its grid lines: no edge of the selection
    // colour shows beside the editor.
    editor_->setGeometry(r);
    editor_->show();
    editor_->raise();
}

void CellEditing::hideEditor(QLineEdit* editor) {
    // The table takes the focus first, so hiding a focused editor does not
    // send the focus on to another control.
    if (editor->hasFocus()) grid_->setFocus(Qt::OtherFocusReason);
    editor->hide();
}

void CellEditing::useEditorFor(const common::FieldCheck& record) {
    QLineEdit* wanted = plain_;
    if (record.kind == common::kFieldLatLon) {
        const bool latitude = static_cast<int>(record.min) == 1;
        common::ui::LatLonEdit*& box = latitude ? latitude_ : longitude_;
        if (!box) {
            using Axis = common::ui::LatLonEdit::Axis;
            box = new common::ui::LatLonEdit(latitude ? Axis::Latitude : Axis::Longitude, record.decimals, nullptr,
                                             grid_->viewport());
            // The table commits the cell itself; the box checks nothing on leaving.
            box->setValidator([](const QString&) { return true; });
            box->setFrame(false);
            box->setAlignment(Qt::AlignCenter);
            box->hide();
            box->installEventFilter(this);
        }
        if (box->format() != record.decimals) box->setFormat(record.decimals);
        wanted = box;
    }
    if (wanted == editor_) return;
    hideEditor(editor_);
    editor_ = wanted;
}

void CellEditing::begin() {
    const common::FieldCheck record = hooks_.record(row_, column_);
    useEditorFor(record);
    // The cell's width first: a text set into a narrower editor would be cut
    // (a value read out of range may be wider than its cell; it stays whole).
    const int shown = static_cast<int>(hooks_.text(row_, column_).size());
    if (editor_ == plain_) editor_->setMaxLength(record.width > 0 ? std::max<int>(record.width, shown) : 32767);
    if (state_ == State::Idle) {
        editor_->setText(hooks_.text(row_, column_));
        before_ = editor_->text();
        state_ = State::Editing;
    }
    place();
    editor_->selectAll();
}

void CellEditing::moveTo(int row, int column) {
    if (!commit()) {
        place();
        editor_->setFocus();
        return;
    }
    moving_ = true;
    row_ = std::clamp(row, 0, std::max(0, hooks_.rows() - 1));
    column_ = std::clamp(column, hooks_.firstColumn, hooks_.lastColumn);
    const QModelIndex index = grid_->model()->index(row_, column_);
    grid_->setCurrentIndex(index);
    grid_->scrollTo(index);
    moving_ = false;
    place();
    begin();
    editor_->setFocus();
}

bool CellEditing::commit() {
    if (state_ == State::Idle) return true;
    std::string text = latin1(editor_->text());
    if (!hooks_.commit(row_, column_, text, latin1(before_))) {
        state_ = State::Invalid;
        place();
        editor_->setFocus();
        return false;
    }
    state_ = State::Idle;
    hideEditor(editor_);
    grid_->viewport()->update();
    return true;
}

void CellEditing::step(int rows, int columns) {
    int r = row_ + rows, c = column_ + columns;
    if (c > hooks_.lastColumn) {
        c = hooks_.firstColumn;
        ++r;
    }
    if (r < 0 || r >= hooks_.rows() || c < hooks_.firstColumn) {
        QApplication::beep();
        emit beeped();
        return;
    }
    moveTo(r, c);
}

bool CellEditing::eventFilter(QObject* watched, QEvent* event) {
    if (watched == grid_->viewport() && event->type() == QEvent::Resize) place();
    if (event->type() != QEvent::KeyPress) return QObject::eventFilter(watched, event);
    auto* key = static_cast<QKeyEvent*>(event);
    const bool ctrl = key->modifiers() & Qt::ControlModifier;
    const int visible =
        std::max(1, grid_->viewport()->height() / std::max(1, grid_->verticalHeader()->defaultSectionSize()));
    if (watched == grid_) {
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            focusAfter(grid_);
            return true;
        }
        return false;
    }
    switch (key->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
            if (hooks_.enterMovesAcross) {
                if (row_ == hooks_.rows() - 1 && column_ == hooks_.lastColumn) {
                    if (commit()) focusAfter(grid_);
                } else {
                    step(0, 1);
                }
            } else if (row_ == hooks_.rows() - 1) {
                if (commit()) focusAfter(grid_);
            } else {
                step(1, 0);
            }
            return true;
        case Qt::Key_Up: step(-1, 0); return true;
        case Qt::Key_Down: step(1, 0); return true;
        case Qt::Key_Left:
        case Qt::Key_Right:
            if (!hooks_.enterMovesAcross) return false;
            step(0, key->key() == Qt::Key_Left ? -1 : 1);
            return true;
        case Qt::Key_PageUp: {
            const int top = grid_->rowAt(0);
            const int target = row_ > top ? top : std::max(0, row_ - visible);
            if (target == row_)
                step(-1, 0);  // beeps at the top
            else
                moveTo(target, column_);
            return true;
        }
        case Qt::Key_PageDown: {
            int bottom = grid_->rowAt(grid_->viewport()->height() - 1);
            if (bottom < 0) bottom = hooks_.rows() - 1;
            const int target = row_ < bottom ? bottom : std::min(hooks_.rows() - 1, row_ + visible);
            if (target == row_)
                step(1, 0);
            else
                moveTo(target, column_);
            return true;
        }
        case Qt::Key_Home:
        case Qt::Key_End:
            if (!ctrl) return false;
            if ((key->key() == Qt::Key_Home && row_ == 0) || (key->key() == Qt::Key_End && row_ == hooks_.rows() - 1)) {
                QApplication::beep();
                emit beeped();
            } else {
                moveTo(key->key() == Qt::Key_Home ? 0 : hooks_.rows() - 1, column_);
            }
            return true;
        case Qt::Key_Escape:
            editor_->setText(before_);
            editor_->selectAll();
            return true;
        default: break;
    }
    if (hooks_.typed) hooks_.typed();
    if (state_ == State::Idle) begin();
    const QString t = key->text();
    if (t.size() == 1 && t[0].unicode() >= 32 && t[0].unicode() < 127 && !ctrl) {
        common::FieldCheck record = hooks_.record(row_, column_);
        // Latitude and longitude cells are checked whole when committed.
        if (record.kind == common::kFieldInteger || record.kind == common::kFieldReal) {
            std::int16_t code = static_cast<std::int16_t>(t[0].unicode());
            if (common::FilterKeyPress(record, code) != common::KeyVerdict::Passed) {
                QApplication::beep();
                return true;
            }
        }
    }
    return false;
}

}  // namespace crv::editors
