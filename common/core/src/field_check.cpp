#include "crv/common/field_check.h"

#include <cfloat>
#include <cmath>

#include "crv/common/conversions.h"
#include "crv/common/lat_lon.h"
#include "crv/common/text_utils.h"
#include "crv/platform/numbers.h"

namespace crv::common {

namespace {

std::string trimmed(const std::string& s) { return std::string(crv::platform::trimBlanks(s)); }

bool readNumber(const std::string& s, int& value, std::size_t& pos) {
    const std::size_t start = pos;
    value = 0;
    while (pos < s.size() && s[pos] >= '0' && s[pos] <= '9' && pos - start < 4) value = value * 10 + (s[pos++] - '0');
    return pos > start;
}

std::string twoDigits(int v) { return formatDecimal(v % 100, 0, 2); }

}  // namespace

bool parseDate(const std::string& text, int& year, int& month, int& day) {
    const std::string s = trimmed(text);
    std::size_t pos = 0;
    std::size_t yearStart = 0;
    if (!readNumber(s, month, pos) || pos >= s.size()) return false;
    const char sep = s[pos];
    if (sep != '/' && sep != '-' && sep != '.') return false;
    ++pos;
    if (!readNumber(s, day, pos) || pos >= s.size() || s[pos] != sep) return false;
    ++pos;
    yearStart = pos;
    if (!readNumber(s, year, pos) || pos != s.size()) return false;
    const std::size_t yearDigits = pos - yearStart;
    if (yearDigits == 1 || yearDigits == 2)
        year += year < 30 ? 2000 : 1900;
    else if (yearDigits != 4)
        return false;
    if (month < 1 || month > 12 || day < 1) return false;
    static const int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    const int last = days[month - 1] + (month == 2 && leap ? 1 : 0);
    return day <= last;
}

bool ValidateField(FieldCheck& field, MessagePresenter& presenter) {
    if (!field.control) return true;
    bool valid = true;
    std::string message;
    const std::string s = trimmed(field.control->text());
    switch (field.kind) {
        case kFieldNotBlank:
            if (s.empty()) {
                message = " This field must not be left blank. ";
                valid = false;
            }
            field.control->setText(s);
            break;
        case kFieldInteger:
        case kFieldReal: {
            const auto number = crv::platform::parseReal(s);
            if (!number) {
                message = " A valid number must be entered. ";
                valid = false;
                break;
            }
            // A number beyond the range of a single ("1E40") is out of range,
            // not a zero that happens to pass.
            const double v = std::fabs(*number) > FLT_MAX ? *number : static_cast<double>(static_cast<float>(*number));
            if (!std::isfinite(v) || std::fabs(v) > FLT_MAX || v < field.min || v > field.max) {
                message = " Value must be in the range " + formatGeneral(field.min) + " to " +
                          formatGeneral(field.max) + ". ";
                valid = false;
                break;
            }
            field.control->setText(FormatField(singleToDouble(static_cast<float>(v)), field.width, field.decimals));
            break;
        }
        case kFieldDate: {
            if (s.empty()) {
                field.control->setText(s);
                break;
            }
            int year = 0, month = 0, day = 0;
            if (!parseDate(s, year, month, day)) {
                message = " " + s + " is not a valid date. ";
                valid = false;
                field.control->setText(s);
                break;
            }
            field.control->setText(twoDigits(month) + "/" + twoDigits(day) + "/" + twoDigits(year));
            break;
        }
        case kFieldLatLon: {
            const double v = ParseLatLon(s);
            if (!(std::fabs(v) <= field.max)) {
                message = " Value must be in the range 0 to " + formatGeneral(field.max) + " degrees. ";
                valid = false;
                break;
            }
            field.control->setText(FormatLatLon(v, static_cast<int>(field.min), field.decimals));
            break;
        }
        default: break;
    }
    if (!valid) presenter.present({message, "Input Error", MessageIcon::Exclamation, MessageButtons::Ok});
    return valid;
}

KeyVerdict FilterKeyPress(FieldCheck& field, std::int16_t& keyCode) {
    if (keyCode == 8 || keyCode == 46 || field.kind == kFieldFree) return KeyVerdict::Passed;
    const char c = upperAscii(static_cast<char>(keyCode & 0xFF));
    auto accept = [&] {
        keyCode = static_cast<std::int16_t>(static_cast<unsigned char>(c));
        return KeyVerdict::Passed;
    };
    auto reject = [&] {
        keyCode = 0;
        return KeyVerdict::Rejected;
    };
    switch (field.kind) {
        case kFieldInteger:
            return std::string_view("+-0123456789 ").find(c) != std::string_view::npos ? accept() : reject();
        case kFieldReal:
            return std::string_view("+-0123456789.E ").find(c) != std::string_view::npos ? accept() : reject();
        case kFieldLatLon: {
            if (!field.control) return reject();
            std::string mask = field.control->mask();
            if (mask.empty()) return reject();
            if (c >= '0' && c <= '9') {
                const int caret = field.control->selStart();
                const auto p = mask.find('#', static_cast<std::size_t>(caret < 0 ? 0 : caret));
                if (p == std::string::npos) return reject();
                std::string text = field.control->text();
                if (text.size() < mask.size()) text.resize(mask.size(), ' ');
                text[p] = c;
                field.control->setText(text);
                const auto next = mask.find('#', p + 1);
                field.control->setSelStart(next == std::string::npos ? static_cast<int>(mask.size())
                                                                      : static_cast<int>(next));
                keyCode = 0;
                return KeyVerdict::Swallowed;
            }
            const char first = upperAscii(mask[0]);
            const std::string_view set = (first == 'N' || first == 'S') ? "NS" : "EW";
            if (set.find(c) == std::string_view::npos) return reject();
            mask[0] = c;
            field.control->setMask(mask);
            std::string text = field.control->text();
            if (!text.empty()) {
                text[0] = c;
                field.control->setText(text);
            }
            field.control->setSelStart(2);
            keyCode = 0;
            return KeyVerdict::Swallowed;
        }
        default: return accept();
    }
}

}  // namespace crv::common
