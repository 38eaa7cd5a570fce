#include "crv/main/dialogs/field_box.h"

#include "crv/common/lat_lon.h"

namespace crv::main {

using crv::common::KeyVerdict;

FieldSet::FieldSet(int count) : boxes_(static_cast<std::size_t>(count)), checks_(static_cast<std::size_t>(count)) {
    for (std::size_t i = 0; i < boxes_.size(); ++i) checks_[i].control = &boxes_[i];
}

bool isIdentifierChar(char c) {
    // ASCII only, whatever the C library's locale: the name must mean the
    // same file on every system.
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == ' ' || c == '-';
}

bool isIdentifierText(const std::string& text) {
    for (char c : text)
        if (!isIdentifierChar(c)) return false;
    return true;
}

std::string identifierCharsText() { return " Only letters, digits, blanks and \"-\" may be used here. "; }

KeyVerdict FieldSet::filterKey(int k, std::int16_t& keyCode, bool replacesSelection) {
    FieldBox& b = box(k);
    // A byte above 127 handed over as a signed char is a character, not a control key.
    const bool control = keyCode > 0 && keyCode < 32;
    if (!control && b.identifier && !isIdentifierChar(static_cast<char>(keyCode & 0xFF))) {
        keyCode = 0;
        return KeyVerdict::Rejected;
    }
    const KeyVerdict verdict = crv::common::FilterKeyPress(check(k), keyCode);
    if (verdict == KeyVerdict::Passed && !control && b.maxLength > 0 && !replacesSelection &&
        static_cast<int>(b.text().size()) >= b.maxLength) {
        // A full box drops the character without a beep, as a text box with
        // a length limit does.
        keyCode = 0;
        return KeyVerdict::Swallowed;
    }
    return verdict;
}

bool FieldSet::validate(int k, crv::common::MessagePresenter& presenter) {
    if (!crv::common::ValidateField(check(k), presenter)) return false;
    if (box(k).identifier && !isIdentifierText(box(k).text())) {
        presenter.present({identifierCharsText(), "Input Error", crv::common::MessageIcon::Exclamation,
                           crv::common::MessageButtons::Ok});
        return false;
    }
    return true;
}

int FieldSet::validateAll(crv::common::MessagePresenter& presenter) {
    for (int k = 0; k < size(); ++k) {
        if (!box(k).enabled || !box(k).visible) continue;
        if (!validate(k, presenter)) return k;
    }
    return -1;
}

void ReformatLatLonBox(FieldBox& box, crv::common::FieldCheck& check, int kind, int fmt) {
    const double value = crv::common::ParseLatLon(box.text());
    const std::string text = crv::common::FormatLatLon(value, kind, fmt);
    box.setMask(crv::common::LatLonMask(text.empty() ? (kind == 1 ? 'N' : 'W') : text[0], fmt));
    box.setText(text);
    check.decimals = static_cast<std::int16_t>(fmt);
}

void ShowLastSite(FieldBox& box, const std::string& lastSite, int kind) {
    char hemisphere = kind == 1 ? 'N' : 'W';
    const char other = kind == 1 ? 'S' : 'E';
    if (!lastSite.empty() && (lastSite[0] == other)) hemisphere = other;
    box.setMask(crv::common::LatLonMask(hemisphere, 1));
    // A site never entered shows the empty mask: zero degrees in the hemisphere.
    box.setText(lastSite.empty() ? crv::common::FormatLatLon(0.0, kind, 1) : lastSite);
}

}  // namespace crv::main
