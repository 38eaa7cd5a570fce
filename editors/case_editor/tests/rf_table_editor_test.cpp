// Editing the RF-source table without a window: the edit line, Tab rules,
// tagging and the tool tip.
#include <gtest/gtest.h>

#include "crv/editors/case_editor/rf_table_editor.h"
#include "crv/editors/case_file.h"
#include "recording.h"

using namespace crv::editors;

namespace {

const std::vector<std::string> kLines = {
    "CRV Version 5.0.6",
    " ABC 275 108.100  39 20 15   77 45 40   250  9000  15 38  0   0     0",
    " QKAA    106.100  39 21 18   77 38 02  50.0000  1378 13  1  30  1 LIC     0",
    " QKAB    104.100  39 17 10   77 56 36  30.0000  1247 58  0   0  0 LIC    16",
    " QKAC    107.100  39 18 15   77 41 11  20.0000  1148  0  0   0  0 LIC     0",
    " $$$$",
    "  1  1  1  1  1  1         0 2000 500  0  0",
    " CASE            SITE                      03/14/24 30",
};

struct Fixture : ::testing::Test {
    Fixture() : table(dict), editor(table, state, presenter) {
        auto data = ReadCaseLines(kLines, dict);
        EXPECT_TRUE(data) << data.error();
        table.loadRows(data->rows);
        table.modified = table.checkDue = false;
        editor.pageShown = true;
        editor.setCurrent(1, 1);
        editor.EnterCell();
    }
    // Opens the editor on the current cell as Enter does.
    void open() {
        ASSERT_EQ(editor.tableKey(13), TableKey::OpenEditor);
        editor.editorGotFocus();
    }
    FieldDictionary dict = FieldDictionary::forEdition(crv::resources::Edition::Field);
    EditorState state;
    test::Recorder presenter;
    RfTable table;
    RfTableEditor editor;
};

}  // namespace

TEST_F(Fixture, TabStopsAtTheEndsAndWrapsRows) {
    const int last = table.dataColumnCount();
    ASSERT_EQ(last, 11);  // the hidden mask column is never reached
    editor.tabKey(true, 1, 10);
    EXPECT_EQ(editor.currentRow(), 1);
    EXPECT_EQ(editor.currentColumn(), 1);
    editor.setCurrent(1, last);
    editor.tabKey(false, 1, 10);
    EXPECT_EQ(editor.currentRow(), 2);
    EXPECT_EQ(editor.currentColumn(), 1);
    editor.tabKey(true, 1, 10);
    EXPECT_EQ(editor.currentRow(), 1);
    EXPECT_EQ(editor.currentColumn(), last);
    // Moving below the visible rows asks for a scroll by one row.
    editor.setCurrent(1, last);
    EXPECT_EQ(editor.tabKey(false, 1, 1), 2);
    editor.setCurrent(table.rowCount(), last);
    editor.tabKey(false, 1, 10);
    EXPECT_EQ(editor.currentRow(), table.rowCount());
    EXPECT_EQ(editor.currentColumn(), last);
}

TEST_F(Fixture, EditorsFollowTheColumnKind) {
    struct Case {
        int column;
        CellEditor editor;
        const char* caption;
    };
    const Case cases[] = {{1, CellEditor::Text, "Call Letters"},
                          {3, CellEditor::Position, "Latitude (Deg Min Sec)"},
                          {10, CellEditor::List, "Proponent Status"},
                          {11, CellEditor::None, "License Status"}};
    for (const Case& c : cases) {
        ASSERT_TRUE(editor.setCurrent(1, c.column));
        EXPECT_EQ(editor.editor(), c.editor) << c.column;
        EXPECT_EQ(editor.caption(), c.caption);
    }
    // The licence status cannot be edited: typing and double clicks do nothing.
    EXPECT_EQ(editor.tableKey('A'), TableKey::Ignored);
    EXPECT_EQ(editor.doubleClick(1, 11), TableKey::Ignored);
}

TEST_F(Fixture, EnterMovesOnFromTextAndStaysInAPosition) {
    open();
    editor.editorTextChanged("QZZ");
    std::int16_t k = 13;
    EXPECT_EQ(editor.editorKey(k), TableKey::FocusTable);
    EXPECT_EQ(editor.tableGotFocus(), TableKey::Handled);
    EXPECT_EQ(table.cell(1, 1), "QZZ");
    EXPECT_EQ(editor.currentColumn(), 2);
    EXPECT_TRUE(state.modified);
    EXPECT_FALSE(state.checkDue);  // call letters never make the check due
    editor.setCurrent(1, 3);
    open();
    k = 13;
    editor.editorKey(k);
    editor.tableGotFocus();
    EXPECT_EQ(editor.currentColumn(), 3);
}

TEST_F(Fixture, EscapeInAPositionRestoresTheHemisphere) {
    editor.setCurrent(1, 3);
    open();
    const std::string before = editor.box().value;
    std::int16_t k = 'S';
    EXPECT_EQ(editor.editorKey(k), TableKey::Handled);
    EXPECT_EQ(editor.box().maskText[0], 'S');
    EXPECT_EQ(editor.box().value[0], 'S');
    k = 27;
    EXPECT_EQ(editor.editorKey(k), TableKey::FocusTable);
    EXPECT_EQ(editor.box().maskText[0], 'N');
    EXPECT_EQ(editor.box().value, before);
    EXPECT_EQ(state.editState, 0);
    EXPECT_EQ(table.cell(1, 3), before);
}

TEST_F(Fixture, CommittingAnUnchangedValueClearsItsDummyBit) {
    int row = 0;
    for (int r = 1; r <= table.rowCount(); ++r)
        if (table.dummyMask(r) == 16) row = r;
    ASSERT_NE(row, 0);
    ASSERT_TRUE(table.isDummy(row, 5));
    editor.setCurrent(row, 5);
    open();
    std::int16_t k = 13;
    editor.editorKey(k);
    editor.tableGotFocus();
    EXPECT_FALSE(table.isDummy(row, 5));
    EXPECT_FALSE(state.modified);
}

// Browsing the status list with the arrow keys shows the option in the cell
// but changes nothing until the edit is accepted; Escape leaves the row as it
// was, Enter commits what was browsed to.
TEST_F(Fixture, ProponentStatusBrowsedCommitsOnlyWhenAccepted) {
    int r = 0;
    for (int row = 1; row <= table.rowCount() && !r; ++row)
        if (table.cell(row, 10) == "N") r = row;
    ASSERT_NE(r, 0);
    editor.setCurrent(r, 10);
    const auto flagsBefore = table.flags(r);
    open();
    const int p = table.column(10).optionOf("P");
    EXPECT_EQ(editor.listChosen(p, true), TableKey::Handled);
    EXPECT_EQ(editor.displayText(r, 10), "P");
    EXPECT_EQ(table.cell(r, 10), "N");
    std::int16_t esc = 27;
    EXPECT_EQ(editor.editorKey(esc), TableKey::FocusTable);
    editor.tableGotFocus();
    EXPECT_EQ(editor.displayText(r, 10), "N");
    EXPECT_EQ(table.cell(r, 10), "N");
    EXPECT_EQ(table.flags(r), flagsBefore);
    EXPECT_EQ(editor.listIndex(), table.column(10).optionOf("N"));
    EXPECT_FALSE(state.modified);
    EXPECT_FALSE(state.checkDue);

    open();
    EXPECT_EQ(editor.listChosen(p, true), TableKey::Handled);
    std::int16_t enter = 13;
    EXPECT_EQ(editor.editorKey(enter), TableKey::FocusTable);
    editor.tableGotFocus();
    EXPECT_EQ(table.cell(r, 10), "P");
    EXPECT_TRUE(table.flags(r) & RowProponent);
    EXPECT_TRUE(state.modified);
    EXPECT_TRUE(state.checkDue);
    EXPECT_TRUE(state.imodsEnabled);

    // A mouse choice hands the focus back to the table, which commits.
    open();
    const int i = table.column(10).optionOf("I");
    EXPECT_EQ(editor.listChosen(i, false), TableKey::FocusTable);
    editor.tableGotFocus();
    EXPECT_EQ(table.cell(r, 10), "I");
    EXPECT_TRUE(table.flags(r) & RowIgnored);
}

TEST_F(Fixture, HeaderClicksTagAndTheToolTipShowsOncePerRow) {
    EXPECT_EQ(editor.headerHover(2), RfTableEditor::Tip::Show);
    EXPECT_EQ(editor.headerHover(2), RfTableEditor::Tip::Keep);
    EXPECT_EQ(editor.headerHover(0), RfTableEditor::Tip::Clear);
    EXPECT_EQ(editor.headerHover(2), RfTableEditor::Tip::Keep);  // the same row again: not again
    EXPECT_EQ(editor.headerHover(3), RfTableEditor::Tip::Show);
    editor.headerClick(2, 2);
    EXPECT_TRUE(table.tagged(2));
    editor.headerClick(2, 2);
    EXPECT_FALSE(table.tagged(2));  // a click on a tagged row untags it
    table.setTagged(2, true);
    editor.headerClick(1, 3);       // a drag tags the range, never untags
    EXPECT_TRUE(table.tagged(1) && table.tagged(2) && table.tagged(3));
    EXPECT_EQ(editor.currentRow(), 1);
    EXPECT_EQ(editor.currentColumn(), 1);
    EXPECT_EQ(editor.headerHover(1), RfTableEditor::Tip::Clear);  // never after a header click
    EXPECT_EQ(editor.tableKey('/'), TableKey::Handled);
    EXPECT_FALSE(table.tagged(1));
}
