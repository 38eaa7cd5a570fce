#include "crv/editors/case_editor/rf_table_editor.h"

#include <algorithm>
#include <cmath>

#include "crv/common/conversions.h"
#include "crv/common/lat_lon.h"

namespace crv::editors {

using crv::common::Val;

RfTableEditor::RfTableEditor(RfTable& table, EditorState& state, crv::common::MessagePresenter& presenter)
    : table_(table), state_(state), presenter_(presenter) {}

bool RfTableEditor::isListColumn(int c) const {
    return c >= 1 && c <= table_.columnCount() && table_.column(c).isList();
}

void RfTableEditor::moveTo(int row, int column) {
    row_ = std::clamp(row, 1, std::max(1, table_.rowCount()));
    column_ = std::clamp(column, 1, std::max(1, table_.dataColumnCount()));
}

void RfTableEditor::EnterCell() {
    if (!pageShown || !redraw || state_.editState == 2) return;
    beep_ = false;
    if (table_.rowCount() == 0) {
        editor_ = CellEditor::None;
        return;
    }
    const RfColumn& col = table_.column(column_);
    const std::string& cell = table_.cell(row_, column_);
    caption_ = column_ == table_.erpColumn() && !erpLabel.empty() ? erpLabel : col.record.label;
    if (col.readOnly()) {
        editor_ = CellEditor::None;
        return;
    }
    if (col.isList()) {
        editor_ = CellEditor::List;
        listOptions_ = col.options;
        listIndex_ = col.optionOf(cell);
    } else if (col.isPosition()) {
        editor_ = CellEditor::Position;
        box_.maskText = crv::common::LatLonMask(cell.empty() ? 'N' : cell[0], 1);
        box_.value = cell;
        box_.caret = 2;
        if (std::fabs(crv::common::ParseLatLon(cell)) > col.record.maximum) beep_ = true;
    } else {
        editor_ = CellEditor::Text;
        box_.value = cell;
        if (col.isNumber()) {
            const double v = Val(cell);
            if (v < col.record.minimum || v > col.record.maximum) beep_ = true;
        }
    }
}

bool RfTableEditor::LeaveCell() {
    if (!pageShown) return true;
    if (state_.editState == 1 && !CommitCellEdit()) return false;
    return state_.editState != 2;
}

bool RfTableEditor::setCurrent(int row, int column) {
    if (row == row_ && column == column_ && state_.editState == 0) return true;
    if (!LeaveCell()) return false;
    moveTo(row, column);
    EnterCell();
    return true;
}

void RfTableEditor::refreshCurrent() {
    moveTo(row_, column_);
    EnterCell();
}

std::string RfTableEditor::displayText(int row, int column) const {
    if (state_.editState != 0 && row == editRow_ && column == editColumn_) {
        if (editor_ == CellEditor::Text || editor_ == CellEditor::Position) return box_.value;
        if (editor_ == CellEditor::List && listIndex_ >= 0 &&
            listIndex_ < static_cast<int>(table_.column(column).options.size()))
            return table_.column(column).code(listIndex_);
    }
    return table_.cell(row, column);
}

void RfTableEditor::editorGotFocus() {
    if (table_.rowCount() == 0 || editor_ == CellEditor::None) return;
    if (editor_ == CellEditor::List) {
        editRow_ = row_;
        editColumn_ = column_;
        tag_ = table_.cell(row_, column_);
        state_.editState = 1;
        listNavigation_ = false;
        return;
    }
    if (state_.editState != 2) {
        editRow_ = row_;
        editColumn_ = column_;
        tag_ = table_.cell(row_, column_);
        box_.value = tag_;
    } else {
        row_ = editRow_;
        column_ = editColumn_;
    }
    selectAll_ = false;
    std::int16_t key = static_cast<std::int16_t>(pendingKey_);
    bool rejected = false;
    if (pendingKey_ > 0) {
        auto check = table_.fieldCheck(editColumn_);
        check.control = &box_;
        const auto verdict = crv::common::FilterKeyPress(check, key);
        rejected = verdict == crv::common::KeyVerdict::Rejected;
        if (rejected) beep_ = true;
    }
    if (editor_ == CellEditor::Text) {
        if (pendingKey_ > 0 && key >= 1) {
            box_.value = std::string(1, static_cast<char>(key));
            box_.caret = 1;
        } else if (pendingKey_ == 0 || rejected) {
            selectAll_ = true;
        }
    } else if (pendingKey_ == 0) {
        box_.caret = 2;
    }
    state_.editState = 1;
    pendingKey_ = -1;
}

TableKey RfTableEditor::editorKey(std::int16_t& key) {
    if (editor_ == CellEditor::List) {
        if (key == 13) {
            key = 0;
            return TableKey::FocusTable;
        }
        if (key == 27) {
            key = 0;
            listIndex_ = table_.column(editColumn_).optionOf(tag_);
            state_.editState = 0;
            return TableKey::FocusTable;
        }
        return TableKey::Ignored;
    }
    if (key == 13) {
        key = 0;
        if (editor_ == CellEditor::Text) pendingKey_ = 13;
        return TableKey::FocusTable;
    }
    if (key == 27) {
        key = 0;
        if (editor_ == CellEditor::Position && !tag_.empty() && !box_.maskText.empty() && box_.maskText[0] != tag_[0])
            box_.maskText[0] = tag_[0];
        box_.value = tag_;
        state_.editState = 0;
        return TableKey::FocusTable;
    }
    if (key != 8 && key >= 0 && key < 32) {
        key = 0;
        return TableKey::Beep;
    }
    auto check = table_.fieldCheck(editColumn_);
    check.control = &box_;
    switch (crv::common::FilterKeyPress(check, key)) {
        case crv::common::KeyVerdict::Passed: return TableKey::Handled;
        case crv::common::KeyVerdict::Swallowed: return TableKey::Handled;
        case crv::common::KeyVerdict::Rejected: return TableKey::Beep;
    }
    return TableKey::Beep;
}

void RfTableEditor::editorTextChanged(const std::string& text) {
    if (state_.editState == 1) box_.value = text;
}

TableKey RfTableEditor::listChosen(int index, bool byNavigationKey) {
    listIndex_ = index;
    if (state_.editState != 1) return TableKey::Ignored;
    // Browsing with the arrow keys only shows the option in the cell
    // (displayText); the row's flags, the modified mark and the check wait
    // for the commit, so Escape leaves the row exactly as it was.
    if (byNavigationKey) return TableKey::Handled;
    return TableKey::FocusTable;
}

bool RfTableEditor::CommitCellEdit() {
    const int r = editRow_, c = editColumn_;
    if (r < 1 || r > table_.rowCount() || c < 1 || c > table_.dataColumnCount()) {
        state_.editState = 0;
        return true;
    }
    state_.editState = 0;
    const RfColumn& col = table_.column(c);
    std::string value;
    if (col.isList()) {
        if (listIndex_ < 0 || listIndex_ >= static_cast<int>(col.options.size()))
            value = table_.cell(r, c);
        else
            value = col.code(listIndex_);
    } else {
        auto check = table_.fieldCheck(c);
        check.control = &box_;
        if (!crv::common::ValidateField(check, presenter_)) {
            state_.editState = 2;
            pendingKey_ = 0;
            return false;
        }
        value = box_.value;
    }
    const auto out = table_.commitCell(r, c, value);
    if (out.changed) {
        state_.modified = true;
        if (out.checkDue) {
            state_.checkDue = true;
            state_.imodsEnabled = true;
        }
    }
    table_.modified = table_.checkDue = false;
    EnterCell();
    if (pendingKey_ == 13) {
        pendingKey_ = 0;
        tabKey(false, 1, table_.rowCount());
    }
    return true;
}

TableKey RfTableEditor::tableGotFocus() {
    if (state_.editState == 1) return CommitCellEdit() ? TableKey::Handled : TableKey::OpenEditor;
    EnterCell();
    return TableKey::Handled;
}

TableKey RfTableEditor::tableKey(std::int16_t key) {
    if (table_.rowCount() == 0) return TableKey::Ignored;
    if (key == '/') {
        table_.toggleTag(row_);
        return TableKey::Handled;
    }
    if (key < 32 && key != 13) return TableKey::Ignored;
    if (table_.column(column_).readOnly()) return TableKey::Ignored;
    if (!isListColumn(column_)) pendingKey_ = key == 13 ? 0 : key;
    return TableKey::OpenEditor;
}

TableKey RfTableEditor::doubleClick(int row, int column) {
    if (row < 1 || column < 1 || row > table_.rowCount() || column > table_.dataColumnCount()) return TableKey::Ignored;
    if (table_.column(column).readOnly()) return TableKey::Ignored;
    if (!setCurrent(row, column)) return TableKey::Ignored;
    if (!isListColumn(column)) pendingKey_ = 0;
    return TableKey::OpenEditor;
}

int RfTableEditor::tabKey(bool shift, int visibleTop, int visibleRows) {
    const int last = table_.dataColumnCount();
    if (!shift) {
        if (column_ < last) {
            setCurrent(row_, column_ + 1);
        } else if (row_ < table_.rowCount()) {
            if (!setCurrent(row_ + 1, 1)) return 0;
            if (row_ > visibleTop + visibleRows - 1) return visibleTop + 1;
        }
    } else {
        if (column_ >= 2) {
            setCurrent(row_, column_ - 1);
        } else if (row_ >= 2) {
            if (!setCurrent(row_ - 1, last)) return 0;
            if (row_ < visibleTop) return visibleTop - 1;
        }
    }
    return 0;
}

void RfTableEditor::headerClick(int row, int endRow) {
    if (row < 1 || row > table_.rowCount()) return;
    headerClicked_ = true;
    endRow = std::clamp(endRow, 1, table_.rowCount());
    if (endRow != row) {
        if (!LeaveCell()) return;
        table_.tagRange(row, endRow);
    } else {
        table_.toggleTag(row);
    }
    setCurrent(row, 1);
}

RfTableEditor::Tip RfTableEditor::headerHover(int row) {
    if (row < 1 || headerClicked_) return Tip::Clear;
    if (row == lastTipRow_) return Tip::Keep;
    lastTipRow_ = row;
    return Tip::Show;
}

}  // namespace crv::editors
