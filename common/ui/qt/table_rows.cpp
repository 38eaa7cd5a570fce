#include "crv/common/ui/qt/table_rows.h"

#include <algorithm>

#include <QAbstractItemModel>
#include <QEvent>
#include <QHeaderView>
#include <QLayout>
#include <QPointer>
#include <QScrollBar>
#include <QTableView>

namespace crv::common::ui {

int wholeRowsHeight(const QTableView* view, int available, int mostRows) {
    int chrome = 2 * view->frameWidth();
    const QHeaderView* header = view->horizontalHeader();
    if (!header->isHidden()) chrome += std::max(header->minimumHeight(), header->sizeHint().height());
    const QScrollBar* across = view->horizontalScrollBar();
    if (across->isVisibleTo(view)) chrome += across->sizeHint().height();
    const int rowHeight = std::max(1, view->verticalHeader()->defaultSectionSize());
    int rows = std::max(1, (available - chrome) / rowHeight);
    if (mostRows > 0) rows = std::min(rows, mostRows);
    return chrome + rows * rowHeight;
}

void fitWholeRows(QTableView* view, int available) {
    if (view) view->setMaximumHeight(wholeRowsHeight(view, available));
}

namespace {
class WholeRowsKeeper : public QObject {
public:
    WholeRowsKeeper(QTableView* view, QWidget* container) : QObject(container), view_(view), container_(container) {
        container->installEventFilter(this);
        // A heading of more lines (another data kind) takes room from the rows.
        connect(view->horizontalHeader(), &QHeaderView::geometriesChanged, this, [this] { fit(); });
        // A short table ends at its last row rather than in blank lines, so
        // a change of its row count changes its height.
        if (QAbstractItemModel* model = view->model()) {
            connect(model, &QAbstractItemModel::modelReset, this, [this] { fit(); });
            connect(model, &QAbstractItemModel::rowsInserted, this, [this] { fit(); });
            connect(model, &QAbstractItemModel::rowsRemoved, this, [this] { fit(); });
        }
        fit();
    }

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == container_ && event->type() == QEvent::Resize) fit();
        return false;
    }

private:
    void fit() {
        if (!view_ || !container_) return;
        int available = container_->height();
        if (const QLayout* layout = container_->layout()) {
            const QMargins m = layout->contentsMargins();
            available -= m.top() + m.bottom();
        }
        const QAbstractItemModel* model = view_->model();
        const int height = wholeRowsHeight(view_, available, model ? model->rowCount() : 0);
        if (view_->maximumHeight() != height) view_->setMaximumHeight(height);
    }

    QPointer<QTableView> view_;
    QPointer<QWidget> container_;
};
}  // namespace

void keepWholeRows(QTableView* view, QWidget* container) {
    if (view && container) new WholeRowsKeeper(view, container);
}

}  // namespace crv::common::ui
