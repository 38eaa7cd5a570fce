#pragma once
// The field dictionary: texts by whole-number id that define the case data
// editor's pages and the column layout of the case data file.
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "crv/resources/field_dictionaries.h"

namespace crv::editors {

// Field types as the dictionary stores them (entry +3).
enum class FieldType : int {
    Gap = -1, Text = 0, UpperText = 1, UpperTextNotBlank = 2, Integer = 3, Real = 4,
    Position = 5, Date = 6, List = 7, CheckBox = 8
};

// Field flags (entry +5), combined by addition.
enum FieldFlag : int {
    ReadOnly = 1, Hidden = 2, ConfirmChange = 4, RecheckOnChange = 8, SplitAtExtra = 16
};

// One field record of a page, as read from the dictionary.
struct FieldRecord {
    int page = 0;          // 1..4
    int index = 0;         // k: 0 = first record of the page
    int baseId = 0;        // page * 256 + index * 16
    std::string label;     // +0
    std::string header;    // +1, page 3 only
    std::string defaultText;  // +2
    FieldType type = FieldType::Text;  // +3
    int width = 0;         // +4
    int flags = 0;         // +5
    float minimum = 0;     // +6 (types 3, 4, 5, 7)
    float maximum = 0;     // +7
    int decimals = 0;      // +8: decimals, position format or first option id
    float extra = 0;       // +9 (flag 16, pages 1, 2 and 4)
    float listBase = 0;    // value whose option text sits at id +8 (the dictionary minimum)

    bool isGap() const { return type == FieldType::Gap; }
    bool has(FieldFlag f) const { return (flags & f) != 0; }
};

// Columns of one field in a case file line (1-based, inclusive): the field
// is written as a blank followed by the value at the record's width.
struct FieldColumns {
    int first = 0;
    int last = 0;
};

class FieldDictionary {
public:
    // Parses dictionary text; throws std::runtime_error naming the line of a
    // malformed entry.
    static FieldDictionary parse(std::string_view text);
    static FieldDictionary forEdition(crv::resources::Edition edition);

    std::optional<std::string> text(int id) const;
    // The edition code held at id 16 ("FLD" or "SCI").
    std::string editionCode() const;
    std::size_t size() const { return entries_.size(); }

    // The records of page 1..4 in id order, gaps included. Throws
    // std::runtime_error naming the id when an entry a reader needs is absent.
    std::vector<FieldRecord> pageRecords(int page) const;

    // Column layout of a page's line in the case file: one entry per non-gap
    // record, in record order.
    std::vector<FieldColumns> fileColumns(int page) const;

    // Option texts of a list record: one per value of its current
    // minimum..maximum (a narrowed range gives the texts of its values).
    std::vector<std::string> optionTexts(const FieldRecord& record) const;

private:
    std::string need(int id) const;
    std::map<int, std::string> entries_;
};

// Number of options of a list of this range: CInt(maximum - minimum) + 1.
int optionCount(float minimum, float maximum);

}  // namespace crv::editors
