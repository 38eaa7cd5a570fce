#pragma once
// Editing the RF-source table without widgets: the current cell, the one
// edit line below the table (a text, position or list editor), its tag and
// commit, Tab navigation, tagging by "/" and by the row headers, and the
// row-header tool tip. The rows themselves are RfTable's.
#include <cstdint>
#include <string>
#include <vector>

#include "crv/common/field_check.h"
#include "crv/common/messages.h"
#include "crv/editors/case_editor/page_fields.h"
#include "crv/editors/rf_table.h"

namespace crv::editors {

enum class CellEditor { None, Text, Position, List };

// The edit line's box, as the field checks see it.
struct EditBox : crv::common::FieldControl {
    std::string value;
    std::string maskText;
    int caret = 0;
    std::string text() const override { return value; }
    void setText(const std::string& t) override { value = t; }
    std::string mask() const override { return maskText; }
    void setMask(const std::string& m) override { maskText = m; }
    int selStart() const override { return caret; }
    void setSelStart(int s) override { caret = s; }
};

// What the window does after a key on the table or in the edit line.
enum class TableKey {
    Ignored,     // nothing to do
    Handled,     // refresh the table
    OpenEditor,  // give the edit line's editor the focus
    FocusTable,  // the edit is done: the table takes the focus back
    Beep,
};

class RfTableEditor {
public:
    RfTableEditor(RfTable& table, EditorState& state, crv::common::MessagePresenter& presenter);

    RfTable& table() { return table_; }
    const RfTable& table() const { return table_; }

    // Current cell (1-based row and column).
    int currentRow() const { return row_; }
    int currentColumn() const { return column_; }
    // Leaves the cell (committing a pending edit), moves, enters the new one.
    // False when the pending edit failed its check: the cell stays.
    bool setCurrent(int row, int column);
    // After rows changed underneath: clamps the current cell and enters it.
    void refreshCurrent();

    // The edit line.
    CellEditor editor() const { return editor_; }
    const std::string& caption() const { return caption_; }
    EditBox& box() { return box_; }
    const std::vector<std::string>& listOptions() const { return listOptions_; }
    int listIndex() const { return listIndex_; }
    // Cell text as the table shows it: the edit line's text while it edits.
    std::string displayText(int row, int column) const;
    int editRow() const { return editRow_; }
    bool beeped() const { return beep_; }
    // The text editor opened without a typed key: its whole text is selected.
    bool selectAll() const { return selectAll_; }
    // Caption of the ERP column's edit line (it follows the service-volume type).
    std::string erpLabel;

    // Entering and leaving a cell.
    void EnterCell();
    bool LeaveCell();
    // The editor gets the focus (after OpenEditor, a double click, or a
    // click into it).
    void editorGotFocus();
    // Keys in the edit line. key is changed to what the box should insert.
    TableKey editorKey(std::int16_t& key);
    void editorTextChanged(const std::string& text);
    // The list editor: a selection by keyboard navigation or by mouse.
    TableKey listChosen(int index, bool byNavigationKey);
    // Checks and stores the edit line's value; false when it failed (the
    // editor keeps the focus on the same cell).
    bool CommitCellEdit();

    // The table gets the focus back: commits a pending edit (and moves on
    // after Enter in the text editor), else enters the current cell.
    TableKey tableGotFocus();

    // Keys on the table.
    TableKey tableKey(std::int16_t key);
    TableKey doubleClick(int row, int column);
    // Tab and Shift+Tab; visibleTop/visibleRows describe the scrolled area.
    // Returns the row to scroll to (0 when no scroll is needed).
    int tabKey(bool shift, int visibleTop, int visibleRows);
    // A click on a row header; endRow differs when the mouse was dragged over
    // several headers.
    void headerClick(int row, int endRow);
    // Row-header tool tip: true when the tip is to be shown (and the 4000 ms
    // timer restarted) for this row; row 0 means the mouse is elsewhere.
    enum class Tip { Show, Keep, Clear };
    Tip headerHover(int row);
    static constexpr int kToolTipMs = 4000;
    static const char* toolTipText() { return "Click this cell to tag or untag this row."; }

    // While false, entering and leaving cells does nothing (bulk operations).
    bool redraw = true;
    bool pageShown = false;

private:
    bool isListColumn(int c) const;
    void moveTo(int row, int column);

    RfTable& table_;
    EditorState& state_;
    crv::common::MessagePresenter& presenter_;
    int row_ = 1, column_ = 1;
    int editRow_ = 0, editColumn_ = 0;
    int pendingKey_ = -1;
    bool listNavigation_ = false;
    bool headerClicked_ = false;
    int lastTipRow_ = 0;
    CellEditor editor_ = CellEditor::None;
    std::string caption_;
    EditBox box_;
    std::string tag_;
    std::vector<std::string> listOptions_;
    int listIndex_ = -1;
    bool beep_ = false;
    bool selectAll_ = false;
};

}  // namespace crv::editors
