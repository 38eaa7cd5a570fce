#pragma once
// Field checks of every dialog with typed input: one record per input box
// holds its kind, range and display format; ValidateField checks and rewrites
// the box's text when the box is left, FilterKeyPress filters keystrokes.
#include <cstdint>
#include <string>

#include "crv/common/messages.h"

namespace crv::common {

// The input box as the checks see it: a text box, or a masked edit box whose
// mask holds "#" digit places and a leading hemisphere letter.
class FieldControl {
public:
    virtual ~FieldControl() = default;
    virtual std::string text() const = 0;
    virtual void setText(const std::string& text) = 0;
    virtual std::string mask() const { return {}; }
    virtual void setMask(const std::string&) {}
    // Caret position, 0-based (the number of characters before it).
    virtual int selStart() const { return 0; }
    virtual void setSelStart(int) {}
};

// Field kinds.
enum FieldKind : std::int32_t {
    kFieldFree = 0,      // no checks, every key passes
    kFieldNotBlank = 2,  // text that must not be blank
    kFieldInteger = 3,
    kFieldReal = 4,
    kFieldLatLon = 5,    // angle or latitude/longitude in degrees
    kFieldDate = 6,      // "mm/dd/yy"; empty accepted
};

struct FieldCheck {
    FieldControl* control = nullptr;
    float min = 0;    // kinds 3, 4; kind 5: 1 latitude, 2 longitude
    float max = 0;    // kinds 3, 4; kind 5: largest absolute value in degrees
    float extra = 0;  // the field dictionary's extra value; not read here
    std::int32_t kind = kFieldFree;
    std::int16_t width = 0;     // kinds 3, 4: FormatField width
    std::int16_t decimals = 0;  // kinds 3, 4: decimals; kind 5: display format 1-3
};

// Checks the box's text by kind, rewrites it in its normal form and shows at
// most one "Input Error" message. Returns whether the text is valid.
bool ValidateField(FieldCheck& field, MessagePresenter& presenter);

// What became of a key.
enum class KeyVerdict {
    Passed,     // keyCode holds the key to let through (letters upper-cased)
    Swallowed,  // the filter acted on it itself; keyCode is 0, no beep
    Rejected,   // keyCode is 0; the window sounds the beep
};

// Called before the box sees a key press (keyCode is the character code).
KeyVerdict FilterKeyPress(FieldCheck& field, std::int16_t& keyCode);

// Reads a date as typed ("2/5/02", "12/31/1999", "2-5-02"); returns false when
// it is not one. Two-digit years 00-29 are 2000-2029, 30-99 are 1930-1999.
bool parseDate(const std::string& text, int& year, int& month, int& day);

}  // namespace crv::common
