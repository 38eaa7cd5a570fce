#pragma once
// The editing side of the case data editor's pages 1, 2 and 4 without widgets:
// the layout taken from the field dictionary, what each box shows while it is
// edited, its tag (the value it had when it got the focus), and the rules of
// typing, undoing and committing. Values, ranges and the fields that follow
// the service-volume and grid types live in CasePages; a field's value reaches
// it only once it has passed its check. The window shows what this holds and
// forwards the user's keys and clicks to it.
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "crv/common/field_check.h"
#include "crv/common/messages.h"
#include "crv/editors/case_file.h"
#include "crv/editors/case_pages.h"
#include "crv/editors/field_dictionary.h"

namespace crv::editors {

// State the pages share with the RF-source table and the commands.
struct EditorState {
    int currentPage = 1;    // 1..4
    int currentField = -1;  // page field number, -1 for none
    int editState = 0;      // 0 none, 1 a change in progress, 2 the last commit failed
    bool modified = false;
    bool checkDue = false;
    bool imodsEnabled = false;  // Tools > Run Intermodulation Check
    bool dummyEnabled = false;  // Tools > Use Dummy Values
};

// One page field's box. It is also the control the field checks read and
// rewrite. record, options, listIndex, checkState and enabled mirror CasePages.
struct FieldBox : crv::common::FieldControl {
    int number = 0;
    int page = 0;
    FieldRecord record;                // the range in force (narrowed by a load)
    std::vector<std::string> options;  // list: texts of record.minimum..maximum
    std::string value;                 // text and position fields: what the box shows
    std::string maskText;              // position fields: hemisphere letter, blank, "#" places
    int caret = 0;
    int listIndex = -1;  // list position
    int checkState = 0;  // check box: 0 or 1
    bool visible = true;
    bool enabled = true;
    std::string tag;  // the value when the field got the focus
    // Place in the page's grid: column from 0, row 0..5 within the column.
    int gridColumn = 0;
    int gridRow = 0;
    bool wide = false;  // a text box of 15 characters or more is twice as wide

    bool isList() const { return record.type == FieldType::List; }
    bool isCheck() const { return record.type == FieldType::CheckBox; }
    bool isPosition() const { return record.type == FieldType::Position; }
    bool isTextBox() const { return !isList() && !isCheck() && !isPosition(); }
    // The list code (position + minimum), or the check state; 0 for none.
    int code() const;

    std::string text() const override { return value; }
    void setText(const std::string& t) override { value = t; }
    std::string mask() const override { return maskText; }
    void setMask(const std::string& m) override { maskText = m; }
    int selStart() const override { return caret; }
    void setSelStart(int s) override { caret = s; }
};

// What the window does with a key after the fields have seen it.
enum class KeyAction {
    Pass,     // let the box insert key (possibly turned into a capital)
    Swallow,  // done; refresh the box from the field
    Beep,     // rejected
    SendTab,  // move the focus on (Enter)
};

// What the diagram box beside the fields shows.
enum class DiagramKind { Hidden, ArrayPattern, ServiceVolume, Grid };

class PageFields {
public:
    // Over pages the editor's case document holds.
    PageFields(CasePages& pages, const std::string& editionCode, EditorState& state,
               crv::common::MessagePresenter& presenter);
    // With pages of its own (tests).
    PageFields(const FieldDictionary& dictionary, EditorState& state, crv::common::MessagePresenter& presenter);

    CasePages& model() { return pages_; }
    const CasePages& model() const { return pages_; }

    // Layout.
    int firstField(int page) const;
    int lastField(int page) const;
    FieldBox* field(int number);
    const FieldBox* field(int number) const;
    std::vector<int> fieldNumbers(int page) const;  // visible and hidden, gaps left out
    // The number of the field labelled so on the page, 0 when absent.
    int fieldNumber(int page, const std::string& label) const;
    int columnCount(int page) const;
    const std::string& editionCode() const { return editionCode_; }

    // Case values in and out.
    void RestoreFieldRanges();
    // Shows the case's pages 1, 2 and 4 (narrowing flag-16 ranges), then
    // UpdateDependentFields and UpdateGridFields (which asks the table for
    // the proponent's bearing: load the rows first).
    void load(const CaseData& data);
    // After the case document read a case into the pages: clears the tags
    // and the edit state and shows the values.
    void shown();
    void store(CaseData& data) const;

    // Events of the page controls (n = field number).
    DiagramKind gotFocus(int n);
    KeyAction keyPress(int n, std::int16_t& key);
    // Pasted text as the field's key filter lets it in: control characters and
    // line breaks dropped, letters upper-cased where typing does so, digits of
    // a position placed into its mask. Returns the text to insert ("" for a
    // position, whose value the filter has already changed).
    std::string filterPaste(int n, const std::string& text);
    void textChanged(int n, const std::string& text);
    // A list or check box choice made by the user; false when it was declined
    // and put back.
    bool listClick(int n, int index, DiagramKind* diagram = nullptr);
    bool checkClick(int n, int checkState);
    // Enter on a list or check box: move on. Escape: put back the tag.
    void escape(int n);
    // Checks and takes over the current field's value; false keeps the focus
    // in it (its message has been shown).
    bool CommitFieldEdit();

    void UpdateDependentFields();
    void UpdateGridFields();
    bool relAngleEnabled() const { return pages_.relativeAngleEnabled(); }
    // cmdRelAngle: course and current angle as whole numbers.
    int relAngleCourse() const;
    int relAngleCurrent() const;
    // Writes the angle back when it changed.
    void applyRelAngle(float angle, int oldAngle);
    // The bearing from the navaid to the first proponent (the table's).
    std::function<std::optional<float>(float navaidLatitude, float navaidLongitude)> proponentBearing;

    // The field to focus on a page after a switch.
    int focusFieldFor(int page) const;
    // Special fields.
    int siteField = 0, arrayTypeField = 0, svTypeField = 0, frequencyField = 0, latitudeField = 0, longitudeField = 0,
        runwayHeadingField = 0, fieldElevationField = 0, runwayLengthField = 0, svRadiusField = 0, svHeightField = 0;
    int gridTypeField = 0, intermodField = 0, antennaRejectionField = 0, interferenceField = 0, cutoffField = 0,
        gridAltitudeField = 0, gridAngleField = 0, horizontalIncrementField = 0, verticalIncrementField = 0,
        coarseGridField = 0;

    // Asks before a change of a flag-4 field; true when the user declined.
    bool ConfirmFieldChange() const;
    crv::common::FieldCheck fieldCheck(FieldBox& f) const;
    // Called when a field's value, range or enabled state changed.
    std::function<void(int number)> fieldChanged;

private:
    void setUpPage(int page, int& next);
    // Copies values, ranges and enabled states from CasePages into the boxes
    // (not into a text box being edited) and tells the window.
    void sync();
    std::optional<float> bearing() const;
    void notify(int n) const;
    void afterListChange(int n);
    DiagramKind diagramStep(const FieldBox& f) const;

    void setUp();
    std::unique_ptr<CasePages> owned_;
    CasePages& pages_;
    EditorState& state_;
    crv::common::MessagePresenter& presenter_;
    std::string editionCode_;
    std::vector<FieldBox> fields_;  // index = number - 16, gaps as hidden entries
    std::vector<bool> gaps_;
    int first_[5] = {}, last_[5] = {};
    int columns_[5] = {};
    bool listGuard_ = false;
    // The field whose value was refused last, until it is committed or
    // escaped: the focus coming back to it is no new entry.
    int refusedField_ = -1;
    bool checkGuard_ = false;
};

}  // namespace crv::editors
