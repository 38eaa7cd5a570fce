#pragma once
// The state of one input box of a dialog as its model keeps it: text, mask,
// caret, enabled and visible. The model runs the common field checks on it;
// the window copies the text to and from its widget.
#include <cstdint>
#include <string>
#include <vector>

#include "crv/common/field_check.h"
#include "crv/common/messages.h"

namespace crv::main {

class FieldBox : public crv::common::FieldControl {
public:
    std::string text() const override { return text_; }
    void setText(const std::string& text) override { text_ = text; }
    std::string mask() const override { return mask_; }
    void setMask(const std::string& mask) override { mask_ = mask; }
    int selStart() const override { return selStart_; }
    void setSelStart(int pos) override { selStart_ = pos; }

    bool enabled = true;
    bool visible = true;
    bool identifier = false;  // becomes part of a file name: letters, digits, blank, "-"
    int maxLength = 0;        // 0: no limit

private:
    std::string text_;
    std::string mask_;
    int selStart_ = 0;
};

// A dialog's boxes with their check records (the record of box k is check k).
class FieldSet {
public:
    explicit FieldSet(int count);
    FieldSet(const FieldSet&) = delete;
    FieldSet& operator=(const FieldSet&) = delete;

    int size() const { return static_cast<int>(boxes_.size()); }
    FieldBox& box(int k) { return boxes_.at(static_cast<std::size_t>(k)); }
    const FieldBox& box(int k) const { return boxes_.at(static_cast<std::size_t>(k)); }
    crv::common::FieldCheck& check(int k) { return checks_.at(static_cast<std::size_t>(k)); }
    const crv::common::FieldCheck& check(int k) const { return checks_.at(static_cast<std::size_t>(k)); }

    // The common key filter, and for identifier boxes only the characters a
    // file name can hold; a box at its maximum length swallows further
    // characters (the widget tells whether text is selected and would be replaced).
    crv::common::KeyVerdict filterKey(int k, std::int16_t& keyCode, bool replacesSelection = false);
    // The common field check, plus the identifier rule.
    bool validate(int k, crv::common::MessagePresenter& presenter);
    // Checks every enabled and visible box in order, as OK does before it
    // closes; returns the first box that fails, or -1.
    int validateAll(crv::common::MessagePresenter& presenter);

private:
    std::vector<FieldBox> boxes_;
    std::vector<crv::common::FieldCheck> checks_;
};

// Letters, digits, blank and "-": what an identifier may hold, since it
// becomes part of the search and case file names.
bool isIdentifierChar(char c);
bool isIdentifierText(const std::string& text);
// The message for an identifier holding anything else.
std::string identifierCharsText();

// Re-expresses a position box in another lat/lon format: the position stays,
// the text, mask and the check's display format change. kind 1 latitude, 2 longitude.
void ReformatLatLonBox(FieldBox& box, crv::common::FieldCheck& check, int kind, int fmt);

// Fills a position box from a remembered site text ("S 12° 30' 00\""); the
// mask's hemisphere letter follows the text's first letter.
void ShowLastSite(FieldBox& box, const std::string& lastSite, int kind);

}  // namespace crv::main
