#pragma once
// RfTableView: the case data editor's RF-source table. Its keys, double
// clicks, focus and current cell go to the editor window's table logic.
#include <QMouseEvent>
#include <QTableView>

#include "frm_data_edit.h"
#include "rf_table_model.h"

namespace crv::editors {

class RfTableView : public QTableView {
public:
    explicit RfTableView(frmDataEdit& w) : QTableView(&w), w_(w) {}
    void defaultKey(QKeyEvent* e) { QTableView::keyPressEvent(e); }

protected:
    void keyPressEvent(QKeyEvent* e) override { w_.tableKey(e); }
    void focusInEvent(QFocusEvent* e) override {
        QTableView::focusInEvent(e);
        if (w_.syncing_) return;
        const auto r = w_.c_.tableEditor().tableGotFocus();
        w_.refreshTable();
        if (r == TableKey::OpenEditor)
            w_.focusCellEditor();
        else
            w_.syncCurrentCell();
    }
    void mouseDoubleClickEvent(QMouseEvent* e) override {
        const QModelIndex i = indexAt(e->pos());
        if (!i.isValid()) return;
        if (w_.c_.tableEditor().doubleClick(i.row() + 1, i.column() + 1) == TableKey::OpenEditor) {
            w_.syncCurrentCell();
            w_.showCellEditor();
            w_.focusCellEditor();
        }
    }
    void mouseMoveEvent(QMouseEvent* e) override {
        w_.headerHover(0);
        QTableView::mouseMoveEvent(e);
    }
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override {
        QTableView::currentChanged(current, previous);
        if (w_.syncing_ || !current.isValid()) return;
        auto& te = w_.c_.tableEditor();
        const int oldRow = te.currentRow();
        if (!te.setCurrent(current.row() + 1, current.column() + 1)) {
            // The pending value failed its check: back to its cell.
            QMetaObject::invokeMethod(
                this,
                [this] {
                    w_.syncCurrentCell();
                    w_.focusCellEditor();
                },
                Qt::QueuedConnection);
            return;
        }
        w_.model_->rowChanged(oldRow);
        w_.model_->rowChanged(te.currentRow());
        w_.showCellEditor();
        w_.refreshMenus();
    }

private:
    frmDataEdit& w_;
};

}  // namespace crv::editors
