#include "frm_data_edit.h"

// The RF-source page: the table over RfTableEditor, its edit line below
// (a text box, a position box or a list, one at a time), the row headers'
// tagging and tool tip, and Tab through the cells.
#include <QApplication>
#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QStyle>
#include <QTableView>
#include <QToolTip>
#include <QVBoxLayout>

#include "crv/common/ui/qt/table_rows.h"
#include "frm_data_edit_keys.h"
#include "key_line_edit.h"
#include "rf_table_model.h"
#include "rf_table_view.h"

namespace crv::editors {

using namespace data_edit;

void frmDataEdit::buildTablePage() {
    auto* pageW = new QWidget;
    pageW->setObjectName("fraEdit3");
    auto* v = new QVBoxLayout(pageW);
    view_ = new RfTableView(*this);
    view_->setObjectName("flxRFSrc");
    model_ = new RfTableModel(c_.tableEditor(), this);
    view_->setModel(model_);
    view_->setSelectionMode(QAbstractItemView::SingleSelection);
    view_->setSelectionBehavior(QAbstractItemView::SelectItems);
    view_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view_->setTabKeyNavigation(false);
    view_->setWordWrap(false);
    view_->setMouseTracking(true);
    auto* vh = view_->verticalHeader();
    vh->setSectionResizeMode(QHeaderView::Fixed);
    vh->setDefaultSectionSize(view_->fontMetrics().height() + 6);
    vh->setSectionsClickable(false);
    vh->setMinimumWidth(view_->fontMetrics().horizontalAdvance("x 9999") + 12);
    vh->viewport()->setMouseTracking(true);
    auto* hh = view_->horizontalHeader();
    hh->setSectionResizeMode(QHeaderView::Fixed);
    hh->setSectionsClickable(false);
    hh->setDefaultAlignment(Qt::AlignCenter);
    const RfTable& t = c_.table();
    int headerLines = 1;
    for (int col = 1; col <= t.columnCount(); ++col) {
        const RfColumn& rc = t.column(col);
        if (rc.hidden()) {
            view_->setColumnHidden(col - 1, true);
            continue;
        }
        int widest = 0;
        const QStringList lines = q(rc.record.header).split('\n');
        headerLines = std::max(headerLines, static_cast<int>(lines.size()));
        for (const QString& l : lines) widest = std::max(widest, view_->fontMetrics().horizontalAdvance(l + "    "));
        view_->setColumnWidth(col - 1, widest + 6);
    }
    hh->setMinimumHeight(view_->fontMetrics().height() * headerLines + 8);
    // The table is as wide as its columns: no column hides behind a scroll bar.
    int width =
        vh->minimumWidth() + view_->style()->pixelMetric(QStyle::PM_ScrollBarExtent) + 2 * view_->frameWidth() + 4;
    for (int col = 0; col < t.columnCount(); ++col)
        if (!view_->isColumnHidden(col)) width += view_->columnWidth(col);
    view_->setMinimumWidth(width);
    view_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    v->addWidget(view_, 1);

    auto* line = new QHBoxLayout;
    cellLine_ = line;
    cellCaption_ = new QLabel(pageW);
    cellCaption_->setObjectName("lblLabel");
    cellCaption_->setMinimumWidth(px(3300));
    cellText_ = new KeyLineEdit(pageW);
    cellText_->setObjectName("txtEditBox");
    cellText_->setFixedWidth(px(1020));
    cellPosition_ = new KeyLineEdit(pageW);
    cellPosition_->setObjectName("mskEditBox");
    cellPosition_->setFixedWidth(
        std::max(px(1260), cellPosition_->fontMetrics().horizontalAdvance("W 180\xB0 59' 59\"") + 16));
    cellList_ = new QComboBox(pageW);
    cellList_->setObjectName("cboSelectBox");
    cellList_->setFixedWidth(px(3500));
    line->addSpacing(px(180));
    line->addWidget(cellCaption_);
    line->addWidget(cellText_);
    line->addWidget(cellPosition_);
    line->addWidget(cellList_);
    line->addStretch();
    v->addLayout(line);
    // The table shows whole rows only (fitTableRows); what is left of the
    // page stays below the edit line.
    v->addStretch(0);
    cellText_->hide();
    cellPosition_->hide();
    cellList_->hide();

    for (KeyLineEdit* e : {cellText_, cellPosition_}) {
        e->onKey = [this](QKeyEvent* ev) { return cellKey(ev); };
        e->onPaste = [this, e](const QString& text) {
            auto& te = c_.tableEditor();
            te.box().caret = e->cursorPosition();
            for (QChar ch : text) {
                const ushort u = ch.unicode();
                if (u < 32 || u == 127 || u > 255) continue;
                std::int16_t k = static_cast<std::int16_t>(u);
                if (te.editorKey(k) == TableKey::Handled && k > 0 && e == cellText_) e->insert(QString(QChar(u)));
                te.box().caret = e->cursorPosition();
            }
            if (e == cellPosition_) {
                e->setText(q(te.box().value));
                e->setCursorPosition(te.box().caret);
            }
            te.editorTextChanged(s(e->text()));
            model_->rowChanged(te.editRow());
        };
        e->onFocusIn = [this, e] {
            if (syncing_) return;
            auto& te = c_.tableEditor();
            te.editorGotFocus();
            syncing_ = true;
            e->setText(q(te.box().value));
            if (e == cellText_ && te.selectAll())
                e->selectAll();
            else
                e->setCursorPosition(te.box().caret);
            syncing_ = false;
            syncCurrentCell();
        };
        connect(e, &QLineEdit::textEdited, this, [this](const QString& text) {
            auto& te = c_.tableEditor();
            te.editorTextChanged(s(text));
            model_->rowChanged(te.editRow());
        });
    }
    connect(cellList_, qOverload<int>(&QComboBox::currentIndexChanged), this, [this](int index) {
        if (syncing_) return;
        const bool nav = listNavigation_;
        listNavigation_ = false;
        const auto r = c_.tableEditor().listChosen(index, nav);
        model_->rowChanged(c_.tableEditor().editRow());
        refreshMenus();
        if (r == TableKey::FocusTable) view_->setFocus(Qt::OtherFocusReason);
    });
    pagesW_[3] = pageW;
}

void frmDataEdit::fitTableRows() {
    QWidget* pageW = pagesW_[3];
    QLayout* layout = pageW ? pageW->layout() : nullptr;
    if (!layout) return;
    const QMargins m = layout->contentsMargins();
    const int available = pageW->height() - m.top() - m.bottom() - layout->spacing() - cellLine_->sizeHint().height();
    crv::common::ui::fitWholeRows(view_, available);
}

void frmDataEdit::refreshTable() {
    syncing_ = true;
    model_->setErpHeader(q(c_.pages().model().erpHeader()));
    model_->reset();
    syncing_ = false;
    syncCurrentCell();
    showCellEditor();
    refreshMenus();
}

void frmDataEdit::syncCurrentCell() {
    auto& te = c_.tableEditor();
    if (c_.table().rowCount() == 0) return;
    const QModelIndex i = model_->index(te.currentRow() - 1, te.currentColumn() - 1);
    if (view_->currentIndex() != i) {
        syncing_ = true;
        view_->setCurrentIndex(i);
        syncing_ = false;
    }
    view_->scrollTo(i);
}

void frmDataEdit::showCellEditor() {
    auto& te = c_.tableEditor();
    syncing_ = true;
    cellCaption_->setText(q(te.caption()));
    cellText_->setVisible(te.editor() == CellEditor::Text);
    cellPosition_->setVisible(te.editor() == CellEditor::Position);
    cellList_->setVisible(te.editor() == CellEditor::List);
    switch (te.editor()) {
        case CellEditor::Text:
            cellText_->setMaxLength(c_.table().column(te.currentColumn()).record.width);
            cellText_->setText(q(te.box().value));
            break;
        case CellEditor::Position: cellPosition_->setText(q(te.box().value)); break;
        case CellEditor::List: {
            cellList_->clear();
            for (const auto& o : te.listOptions()) cellList_->addItem(q(o));
            cellList_->setCurrentIndex(te.listIndex());
            break;
        }
        default: break;
    }
    syncing_ = false;
    if (te.beeped()) QApplication::beep();
}

void frmDataEdit::focusCellEditor() {
    switch (c_.tableEditor().editor()) {
        case CellEditor::Text: cellText_->setFocus(Qt::OtherFocusReason); break;
        case CellEditor::Position: cellPosition_->setFocus(Qt::OtherFocusReason); break;
        case CellEditor::List: cellList_->setFocus(Qt::OtherFocusReason); break;
        default: break;
    }
}

bool frmDataEdit::cellKey(QKeyEvent* e) {
    auto& te = c_.tableEditor();
    KeyLineEdit* edit = te.editor() == CellEditor::Position ? cellPosition_ : cellText_;
    std::int16_t k;
    const int key = e->key();
    if (key == Qt::Key_Return || key == Qt::Key_Enter)
        k = 13;
    else if (key == Qt::Key_Escape)
        k = 27;
    else if (key == Qt::Key_Backspace || key == Qt::Key_Delete)
        return te.editor() == CellEditor::Position;
    else if (e->modifiers() & (Qt::ControlModifier | Qt::AltModifier))
        return false;
    else
        k = keyCode(e);
    if (k < 0 || (k < 32 && k != 13 && k != 27)) return false;
    te.box().caret = edit->cursorPosition();
    const TableKey r = te.editorKey(k);
    switch (r) {
        case TableKey::FocusTable:
            edit->setText(q(te.box().value));
            model_->rowChanged(te.editRow());
            view_->setFocus(Qt::OtherFocusReason);
            break;
        case TableKey::Handled:
            if (k > 0 && edit == cellText_) {
                edit->insert(QString(QChar(static_cast<ushort>(static_cast<unsigned char>(k)))));
            } else {
                edit->setText(q(te.box().value));
                edit->setCursorPosition(te.box().caret);
            }
            te.editorTextChanged(s(edit->text()));
            model_->rowChanged(te.editRow());
            break;
        case TableKey::Beep: QApplication::beep(); break;
        default: break;
    }
    return true;
}

void frmDataEdit::tableKey(QKeyEvent* e) {
    auto& te = c_.tableEditor();
    const int key = e->key();
    const auto mods = e->modifiers();
    if (key == Qt::Key_Tab || key == Qt::Key_Backtab) {
        if (mods & (Qt::ControlModifier | Qt::AltModifier)) return;
        tabMove(key == Qt::Key_Backtab || (mods & Qt::ShiftModifier));
        return;
    }
    std::int16_t k = -1;
    if (key == Qt::Key_Return || key == Qt::Key_Enter)
        k = 13;
    else if (!(mods & (Qt::ControlModifier | Qt::AltModifier)))
        k = keyCode(e);
    if (k >= 0) {
        const TableKey r = te.tableKey(k);
        if (r == TableKey::Handled) {
            model_->rowChanged(te.currentRow());
            return;
        }
        if (r == TableKey::OpenEditor) {
            showCellEditor();
            focusCellEditor();
            return;
        }
        if (k >= 32 || k == 13) return;
    }
    view_->defaultKey(e);
}

void frmDataEdit::tabMove(bool back) {
    auto& te = c_.tableEditor();
    const int top = view_->rowAt(0) + 1;
    const int visible =
        std::max(1, view_->viewport()->height() / std::max(1, view_->verticalHeader()->defaultSectionSize()));
    const int oldRow = te.currentRow();
    te.tabKey(back, top, visible);
    model_->rowChanged(oldRow);
    model_->rowChanged(te.currentRow());
    syncCurrentCell();
    showCellEditor();
}

void frmDataEdit::headerHover(int row) {
    switch (c_.tableEditor().headerHover(row)) {
        case RfTableEditor::Tip::Show:
            view_->verticalHeader()->setToolTip(RfTableEditor::toolTipText());
            QToolTip::showText(QCursor::pos(), RfTableEditor::toolTipText(), view_->verticalHeader());
            tipTimer_.start();
            break;
        case RfTableEditor::Tip::Clear:
            if (!view_->verticalHeader()->toolTip().isEmpty() || tipTimer_.isActive()) {
                view_->verticalHeader()->setToolTip(QString());
                QToolTip::hideText();
            }
            tipTimer_.stop();
            break;
        case RfTableEditor::Tip::Keep: break;
    }
}

bool frmDataEdit::tableTabKey(QObject* watched, QKeyEvent* e) {
    // Tab and Shift+Tab move between the table's cells, from the table and
    // from its edit line alike: the focus never lands in the edit line by
    // Tab, where the next value typed would go into the cell just left.
    bool back = false;
    if (!isPlainTab(e, back)) return false;
    if (watched != view_ && watched != cellText_ && watched != cellPosition_ && watched != cellList_) return false;
    if (watched != view_) {
        // Giving the table the focus commits the edit; a value that fails
        // its check keeps the editor and the cell.
        view_->setFocus(Qt::TabFocusReason);
        if (c_.state.editState != 0 || !view_->hasFocus()) return true;
    }
    tabMove(back);
    return true;
}

bool frmDataEdit::headerEvent(QEvent* event) {
    // A press and a release on the row headers tag the rows between them.
    auto* hv = view_->verticalHeader();
    switch (event->type()) {
        case QEvent::MouseButtonPress:
            headerPressRow_ = hv->logicalIndexAt(static_cast<QMouseEvent*>(event)->position().toPoint()) + 1;
            return true;
        case QEvent::MouseButtonRelease: {
            const int end = hv->logicalIndexAt(static_cast<QMouseEvent*>(event)->position().toPoint()) + 1;
            if (headerPressRow_ >= 1) {
                c_.tableEditor().headerClick(headerPressRow_, end >= 1 ? end : headerPressRow_);
                headerHover(0);
                refreshTable();
                view_->setFocus(Qt::OtherFocusReason);
            }
            headerPressRow_ = 0;
            return true;
        }
        case QEvent::MouseMove:
            headerHover(hv->logicalIndexAt(static_cast<QMouseEvent*>(event)->position().toPoint()) + 1);
            return false;
        case QEvent::Leave: headerHover(0); return false;
        case QEvent::ToolTip: return true;  // shown by headerHover
        default: return false;
    }
}

bool frmDataEdit::cellListEvent(QEvent* event) {
    if (event->type() == QEvent::FocusIn && !syncing_) {
        c_.tableEditor().editorGotFocus();
        return false;
    }
    if (event->type() != QEvent::KeyPress) return false;
    const int k = static_cast<QKeyEvent*>(event)->key();
    // A choice made with the navigation keys only shows in the cell until
    // the edit is committed.
    if (k == Qt::Key_PageUp || k == Qt::Key_PageDown || k == Qt::Key_End || k == Qt::Key_Home || k == Qt::Key_Left ||
        k == Qt::Key_Right || k == Qt::Key_Up || k == Qt::Key_Down)
        listNavigation_ = true;
    if (k != Qt::Key_Return && k != Qt::Key_Enter && k != Qt::Key_Escape) return false;
    std::int16_t code = k == Qt::Key_Escape ? 27 : 13;
    if (c_.tableEditor().editorKey(code) == TableKey::FocusTable) {
        model_->rowChanged(c_.tableEditor().editRow());
        view_->setFocus(Qt::OtherFocusReason);
    }
    return true;
}

}  // namespace crv::editors
