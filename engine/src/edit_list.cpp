#include "edit_list.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <stdexcept>

#include "crv/formats/numbers.h"
#include "crv/platform/numbers.h"

namespace crv::engine {

namespace {

using Item = EditFormat::Item;

class Parser {
public:
    explicit Parser(std::string_view s) : s_(s) {}

    std::vector<Item> parseList(bool inGroup) {
        std::vector<Item> items;
        for (;;) {
            skipSeparators();
            if (pos_ >= s_.size()) {
                if (inGroup) error("unclosed group");
                return items;
            }
            if (s_[pos_] == ')') {
                if (!inGroup) error("unbalanced parenthesis");
                ++pos_;
                return items;
            }
            items.push_back(parseItem());
        }
    }

private:
    void skipSeparators() {
        while (pos_ < s_.size() && (s_[pos_] == ',' || s_[pos_] == ' ')) ++pos_;
    }
    [[noreturn]] void error(const char* what) const {
        throw std::invalid_argument(std::string("edit list: ") + what + " in " + std::string(s_));
    }
    int number() {
        int v = 0;
        bool any = false;
        while (pos_ < s_.size() && std::isdigit(static_cast<unsigned char>(s_[pos_]))) {
            v = v * 10 + (s_[pos_++] - '0');
            any = true;
        }
        return any ? v : -1;
    }
    Item parseItem() {
        if (s_[pos_] == '\'') {
            Item it{Item::Literal};
            ++pos_;
            for (;;) {
                if (pos_ >= s_.size()) error("unclosed literal");
                if (s_[pos_] == '\'') {
                    if (pos_ + 1 < s_.size() && s_[pos_ + 1] == '\'') {
                        it.literal.push_back('\'');
                        pos_ += 2;
                        continue;
                    }
                    ++pos_;
                    break;
                }
                it.literal.push_back(s_[pos_++]);
            }
            return it;
        }
        if (s_[pos_] == '/') {
            ++pos_;
            return Item{Item::NewLine};
        }
        const int count = number();
        if (pos_ >= s_.size()) error("descriptor expected");
        const char c = static_cast<char>(std::toupper(static_cast<unsigned char>(s_[pos_])));
        if (c == '(') {
            ++pos_;
            Item it{Item::Group};
            it.repeat = count < 1 ? 1 : count;
            it.group = parseList(true);
            return it;
        }
        ++pos_;
        Item it{Item::Blanks};
        switch (c) {
            case 'X':
                it.kind = Item::Blanks;
                it.width = count < 0 ? 1 : count;
                return it;
            case 'T':
                it.kind = Item::Tab;
                it.width = number();
                if (it.width < 1) error("T needs a column");
                return it;
            case 'A': it.kind = Item::Text; break;
            case 'I': it.kind = Item::Integer; break;
            case 'F': it.kind = Item::Fixed; break;
            case 'E': it.kind = Item::Exponent; break;
            case 'L': it.kind = Item::Logical; break;
            default: error("unknown descriptor");
        }
        it.repeat = count < 1 ? 1 : count;
        it.width = number();
        if (pos_ < s_.size() && s_[pos_] == '.') {
            ++pos_;
            it.digits = number();
        }
        if (it.kind != Item::Text && it.width < 1) error("field width expected");
        if ((it.kind == Item::Fixed || it.kind == Item::Exponent) && it.digits < 0) error("decimals expected");
        return it;
    }

    std::string_view s_;
    std::size_t pos_ = 0;
};

std::string stars(int width) { return std::string(static_cast<std::size_t>(width), '*'); }

std::string rightAligned(const std::string& text, int width) {
    if (static_cast<int>(text.size()) > width) return stars(width);
    return std::string(static_cast<std::size_t>(width) - text.size(), ' ') + text;
}

// The output record being built: positioning moves, text overwrites.
class Record {
public:
    void put(const std::string& text) {
        if (line_.size() < pos_) line_.resize(pos_, ' ');
        for (char ch : text) {
            if (pos_ < line_.size())
                line_[pos_] = ch;
            else
                line_.push_back(ch);
            ++pos_;
        }
    }
    void skip(int n) { pos_ += static_cast<std::size_t>(n); }
    void tab(int column) { pos_ = static_cast<std::size_t>(column - 1); }
    std::string take() {
        std::string out = std::move(line_);
        line_.clear();
        pos_ = 0;
        return out;
    }

private:
    std::string line_;
    std::size_t pos_ = 0;
};

struct Runner {
    explicit Runner(const std::vector<EditValue>& v) : values(v) {}
    const std::vector<EditValue>& values;
    std::size_t next = 0;
    Record record;
    std::vector<std::string> lines;
    bool stopped = false;

    std::string field(const Item& it, const EditValue& v) {
        switch (it.kind) {
            case Item::Text: {
                const std::string* s = std::get_if<std::string>(&v);
                if (!s) throw std::invalid_argument("edit list: A needs a text");
                if (it.width < 0) return *s;
                std::string out = s->substr(0, static_cast<std::size_t>(it.width));
                out.resize(static_cast<std::size_t>(it.width), ' ');
                return out;
            }
            case Item::Integer: {
                const long long* i = std::get_if<long long>(&v);
                if (!i) throw std::invalid_argument("edit list: I needs an integer");
                return editInteger(*i, it.width, it.digits);
            }
            case Item::Fixed:
            case Item::Exponent: {
                double d;
                if (const double* p = std::get_if<double>(&v))
                    d = *p;
                else if (const long long* q = std::get_if<long long>(&v))
                    d = static_cast<double>(*q);
                else
                    throw std::invalid_argument("edit list: F and E need a number");
                return it.kind == Item::Fixed ? editFixed(d, it.width, it.digits)
                                              : editExponent(d, it.width, it.digits);
            }
            case Item::Logical: {
                const bool* b = std::get_if<bool>(&v);
                if (!b) throw std::invalid_argument("edit list: L needs a logical");
                return rightAligned(*b ? "T" : "F", it.width);
            }
            default: return {};
        }
    }

    void run(const std::vector<Item>& items) {
        for (const auto& it : items) {
            for (int r = 0; r < it.repeat && !stopped; ++r) {
                switch (it.kind) {
                    case Item::Blanks: record.skip(it.width); break;
                    case Item::Tab: record.tab(it.width); break;
                    case Item::Literal: record.put(it.literal); break;
                    case Item::NewLine: lines.push_back(record.take()); break;
                    case Item::Group: run(it.group); break;
                    default:
                        if (next >= values.size()) {
                            stopped = true;
                            break;
                        }
                        record.put(field(it, values[next++]));
                }
            }
            if (stopped) return;
        }
    }
};

}  // namespace

EditFormat::EditFormat(std::string_view layout) {
    std::string_view s = crv::platform::trimBlanks(layout);
    if (s.size() >= 2 && s.front() == '(' && s.back() == ')') s = s.substr(1, s.size() - 2);
    items_ = Parser(s).parseList(false);
}

std::vector<std::string> EditFormat::format(const std::vector<EditValue>& values) const {
    Runner r(values);
    r.run(items_);
    if (r.next < values.size()) throw std::invalid_argument("edit list: more values than the layout takes");
    r.lines.push_back(r.record.take());
    return r.lines;
}

std::vector<std::string> editLines(std::string_view layout, const std::vector<EditValue>& values) {
    return EditFormat(layout).format(values);
}

std::string editInteger(long long value, int width, int minDigits) {
    std::string digits = std::to_string(value < 0 ? -value : value);
    if (minDigits > 0 && static_cast<int>(digits.size()) < minDigits)
        digits.insert(0, static_cast<std::size_t>(minDigits) - digits.size(), '0');
    if (value < 0) digits.insert(0, "-");
    return rightAligned(digits, width);
}

std::string editMHzOfKHz(std::int32_t kHz, int width) {
    // From 1 MHz to 999.999 MHz the digits are those of the whole kHz: the
    // double nearest kHz * 0.001 lies within far less than half a unit of
    // the third decimal of kHz / 1000, so F rounding gives exactly them.
    if (kHz < 1000 || kHz > 999999) return editFixed(kHz * 0.001, width, 3);
    char text[7];
    std::string digits(text, putMHzOfKHz(text, kHz));
    digits.erase(0, digits.find_first_not_of(' '));
    return rightAligned(digits, width);
}

char* putMHzOfKHz(char* at, std::int32_t kHz) {
    int mhz = kHz / 1000;
    const int khz = kHz % 1000;
    for (int i = 2; i >= 0; --i) {
        at[i] = mhz > 0 || i == 2 ? static_cast<char>('0' + mhz % 10) : ' ';
        mhz /= 10;
    }
    at[3] = '.';
    at[4] = static_cast<char>('0' + khz / 100);
    at[5] = static_cast<char>('0' + khz / 10 % 10);
    at[6] = static_cast<char>('0' + khz % 10);
    return at + 7;
}

std::string editFixed(double value, int width, int decimals) {
    // One F-field rule for the report and the pattern plot files.
    return crv::formats::fixedField(value, width, decimals);
}

std::string editExponent(double value, int width, int decimals) {
    if (!std::isfinite(value)) return stars(width);
    std::string mantissa;
    int exponent = 0;
    const bool negative = value < 0;
    double a = std::fabs(value);
    if (a != 0) {
        // Form 0.d1d2...dd x 10^e with d1 non-zero, the digits rounded halves
        // away from zero like F: take many exact digits, then round by hand.
        char buf[128];
        auto res = std::to_chars(buf, buf + sizeof buf, a, std::chars_format::scientific, decimals + 60);
        const std::string sci(buf, res.ptr);
        const auto e = sci.find('e');
        std::string all = sci.substr(0, 1) + sci.substr(2, e - 2);
        exponent = std::stoi(sci.substr(e + 1)) + 1;
        const auto keep = static_cast<std::size_t>(decimals);
        std::string digits = all.substr(0, keep);
        if (all[keep] >= '5') {
            int i = static_cast<int>(keep) - 1;
            for (; i >= 0 && digits[static_cast<std::size_t>(i)] == '9'; --i) digits[static_cast<std::size_t>(i)] = '0';
            if (i >= 0) {
                ++digits[static_cast<std::size_t>(i)];
            } else {
                digits.insert(0, "1");
                digits.pop_back();
                ++exponent;
            }
        }
        mantissa = "0." + digits;
    } else {
        mantissa = "0." + std::string(static_cast<std::size_t>(decimals), '0');
    }
    char exp[16];
    const int ae = exponent < 0 ? -exponent : exponent;
    if (ae > 99)
        std::snprintf(exp, sizeof exp, "%c%03d", exponent < 0 ? '-' : '+', ae);
    else
        std::snprintf(exp, sizeof exp, "E%c%02d", exponent < 0 ? '-' : '+', ae);
    std::string text = (negative ? "-" : "") + mantissa + exp;
    if (static_cast<int>(text.size()) > width) {
        if (text.rfind("0.", 0) == 0)
            text.erase(0, 1);
        else if (text.rfind("-0.", 0) == 0)
            text.erase(1, 1);
    }
    return rightAligned(text, width);
}

}  // namespace crv::engine
