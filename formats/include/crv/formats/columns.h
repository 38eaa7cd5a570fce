#pragma once
// Fixed columns of the text formats. Every layout names its fields as column
// ranges, 1-based and inclusive as the layouts are numbered ("frequency in
// columns 10-16"), so a reader and a writer of one file can never disagree on
// where a field stands.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace crv::formats {

struct Columns {
    int first;
    int last;
    constexpr int width() const { return last - first + 1; }
};

// The text in the columns: shorter (or empty) when the line ends early, never
// read past its end.
std::string_view textAt(std::string_view line, Columns c);
// The same without blanks at either end.
std::string_view trimmedAt(std::string_view line, Columns c);

// A real in the columns: a blank field is 0, a number as the data files write
// one ("12", "-1.5", ".5", "5.", "1E3") its value; anything else is not a
// number (nullopt).
std::optional<double> realAt(std::string_view line, Columns c);
// A whole number in the columns; a blank field is 0, anything but an optional
// sign and digits is not one (nullopt).
std::optional<long long> integerAt(std::string_view line, Columns c);

// Puts the text into the columns, left-justified and blank-padded or cut to
// their width; a line shorter than the columns is first lengthened with
// blanks.
void putText(std::string& line, Columns c, std::string_view text);

// Reads the fields of one line by their columns for a layout's reader: the
// first numeric field that holds no number is noted (in `bad`, when given)
// and every later read gives 0, so a reader reads its fields in a row and
// asks ok() once.
class FieldReader {
public:
    FieldReader(std::string_view line, Columns* bad) : line_(line), bad_(bad) {}
    bool ok() const { return ok_; }
    // The text as it stands, and without its trailing blanks.
    std::string_view view(Columns c) const { return textAt(line_, c); }
    std::string text(Columns c) const;
    // A finite real, or a whole number within 32 bits; blank is 0.
    double real(Columns c);
    long long whole(Columns c);
    // True when the field's text begins with a minus sign (a "-0" degrees
    // field carries the hemisphere).
    bool negative(Columns c) const { return trimmedAt(line_, c).starts_with('-'); }

private:
    double failAt(Columns c);
    std::string_view line_;
    Columns* bad_;
    bool ok_ = true;
};

// A line of fixed length filled field by field.
class ColumnLine {
public:
    explicit ColumnLine(std::size_t length) : text_(length, ' ') {}
    // Left-justified, cut to the field.
    void text(Columns c, std::string_view value);
    // Right-aligned; asterisks when the number does not fit.
    void integer(Columns c, long long value);
    // Minutes and seconds: two digits with a leading zero ("05").
    void twoDigits(Columns c, long long value);
    // The value with `decimals` decimals as printf prints it (the exact binary
    // value rounded), right-aligned; asterisks when it does not fit or is not
    // finite. A value that rounds to zero carries no minus sign.
    void real(Columns c, double value, int decimals);
    // Whole degrees, right-aligned; "-0" when the position is less than a
    // degree south or east, so the sign is not lost.
    void degrees(Columns c, std::int32_t value, bool negative);
    const std::string& str() const { return text_; }

private:
    void rightAligned(Columns c, const std::string& value);
    std::string text_;
};

}  // namespace crv::formats
