#include "crv/main/dialogs/qt/selection_list.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QScrollBar>

namespace crv::main::qt {

SelectionList::SelectionList(QWidget* parent) : QTreeView(parent) {
    setRootIsDecorated(false);
    setItemsExpandable(false);
    setUniformRowHeights(true);
    setAllColumnsShowFocus(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    header()->setSectionsClickable(true);
    header()->setStretchLastSection(false);
    header()->setSortIndicatorShown(false);
    connect(header(), &QHeaderView::sectionClicked, this, &SelectionList::headerClicked);
    connect(this, &QTreeView::doubleClicked, this, [this] { emit activatedRow(); });
}

void SelectionList::sizeToList(int visibleRows) {
    int span = 0;
    for (int c = 0; c < header()->count(); ++c) {
        resizeColumnToContents(c);
        setColumnWidth(c, columnWidth(c) + fontMetrics().horizontalAdvance(QLatin1Char('M')));
        span += columnWidth(c);
    }
    const int rows = model() ? model()->rowCount() : 0;
    const int frame = 2 * frameWidth();
    const int scroll = rows > visibleRows ? verticalScrollBar()->sizeHint().width() : 0;
    const int rowHeight = rows > 0 ? sizeHintForRow(0) : fontMetrics().height() + 4;
    setFixedWidth(span + frame + scroll);
    setFixedHeight(header()->sizeHint().height() + visibleRows * rowHeight + frame);
}

int SelectionList::selectedRow() const {
    const auto rows = selectionModel() ? selectionModel()->selectedRows() : QModelIndexList{};
    return rows.isEmpty() ? -1 : rows.first().row();
}

void SelectionList::selectRow(int row) {
    if (!model() || row < 0 || row >= model()->rowCount()) return;
    const QModelIndex index = model()->index(row, 0);
    setCurrentIndex(index);
    selectionModel()->select(index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    scrollTo(index);
}

void SelectionList::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        emit activatedRow();
        event->accept();
        return;
    }
    QTreeView::keyPressEvent(event);
}

}  // namespace crv::main::qt
