#pragma once
// The report's line layouts are written as edit lists, the notation the report
// layouts have always been described in:
//   nX       n blanks (moves the position)      Tn     continue at column n
//   Aw / A   text in w columns / the whole text Iw     integer, right-aligned
//   Iw.m     at least m digits, leading zeros   Fw.d   fixed point
//   Ew.d     exponential form 0.ddddE+ee        Lw     T or F, right-aligned
//   'text'   literal ('' for an apostrophe)     /      ends the line
//   n(...)   group repeated n times; a count before a data descriptor repeats it
// A number too wide for its field prints as w asterisks. Text fields hold the
// engine's fixed-width texts: a shorter text is blank-padded on the right.
// Printing never depends on the process locale.
#include <cstdint>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace crv::engine {

using EditValue = std::variant<long long, double, std::string, bool>;

class EditFormat {
public:
    // Parses the layout, with or without its enclosing parentheses. Throws
    // std::invalid_argument for a layout it cannot read (a programming error).
    explicit EditFormat(std::string_view layout);

    // The lines the layout makes of the values (without line endings). Stops,
    // like formatted output does, at the first data descriptor for which no
    // value is left; literals, positioning and "/" before it are still done.
    std::vector<std::string> format(const std::vector<EditValue>& values) const;

    struct Item {
        enum Kind { Blanks, Tab, Text, Integer, Fixed, Exponent, Logical, Literal, NewLine, Group };
        explicit Item(Kind k) : kind(k) {}
        Kind kind;
        int width = 0;      // w, or n for X / T
        int digits = -1;    // d, or m for Iw.m
        int repeat = 1;
        std::string literal;
        std::vector<Item> group;
    };

private:
    std::vector<Item> items_;
};

// One-shot helper for layouts used once.
std::vector<std::string> editLines(std::string_view layout, const std::vector<EditValue>& values);

// Single fields, exposed for tests and for callers building lines by hand.
std::string editInteger(long long value, int width, int minDigits = -1);
std::string editFixed(double value, int width, int decimals);
// editFixed(kHz * 0.001, width, 3): a whole number of kHz in MHz, without the
// general field's exact expansion of the binary value (a list of a million
// records spent most of its making there). The same text for every kHz.
std::string editMHzOfKHz(std::int32_t kHz, int width);
// From 1 MHz up to 999.999 MHz (1000 <= kHz <= 999999): the seven characters
// of editMHzOfKHz(kHz, 7) written at `at`; returns the end.
char* putMHzOfKHz(char* at, std::int32_t kHz);
std::string editExponent(double value, int width, int decimals);

}  // namespace crv::engine
