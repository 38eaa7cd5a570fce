#include "crv/editors/field_dictionary.h"

#include <charconv>
#include <cmath>
#include <stdexcept>

namespace crv::editors {
namespace {

std::runtime_error malformed(int lineNumber, const std::string& why) {
    return std::runtime_error("Field dictionary line " + std::to_string(lineNumber) + ": " + why);
}

// Reads the quoted, escaped text starting at s[0] == '"'.
std::string unquote(std::string_view s, int lineNumber) {
    if (s.size() < 2 || s.front() != '"' || s.back() != '"') throw malformed(lineNumber, "text must be in double quotes");
    std::string out;
    for (std::size_t i = 1; i + 1 < s.size(); ++i) {
        char c = s[i];
        if (c == '\\') {
            if (i + 2 >= s.size()) throw malformed(lineNumber, "escape at the end of the text");
            const char e = s[++i];
            if (e == 'n') c = '\n';
            else if (e == '"' || e == '\\') c = e;
            else throw malformed(lineNumber, std::string("unknown escape \\") + e);
        }
        out.push_back(c);
    }
    return out;
}

int wholeNumber(const std::string& text, int id) {
    int value = 0;
    const char* begin = text.data();
    const char* end = begin + text.size();
    if (begin != end && *begin == '+') ++begin;
    const auto [p, ec] = std::from_chars(begin, end, value);
    if (ec != std::errc() || p != end)
        throw std::runtime_error("Field dictionary id " + std::to_string(id) + " is not a whole number: \"" + text + "\"");
    return value;
}

float single(const std::string& text, int id) {
    // Locale-free: from_chars reads ".0001" and "-999" alike.
    float value = 0;
    const char* begin = text.data();
    const char* end = begin + text.size();
    if (begin != end && *begin == '+') ++begin;
    const auto [p, ec] = std::from_chars(begin, end, value);
    if (ec != std::errc() || p != end)
        throw std::runtime_error("Field dictionary id " + std::to_string(id) + " is not a number: \"" + text + "\"");
    return value;
}

}  // namespace

int optionCount(float minimum, float maximum) {
    // CInt rounds half to even, as nearbyint does in the default rounding mode.
    return static_cast<int>(std::nearbyint(maximum - minimum)) + 1;
}

FieldDictionary FieldDictionary::parse(std::string_view text) {
    FieldDictionary d;
    int lineNumber = 0;
    while (!text.empty()) {
        const std::size_t eol = text.find('\n');
        std::string_view line = text.substr(0, eol);
        text = eol == std::string_view::npos ? std::string_view() : text.substr(eol + 1);
        ++lineNumber;
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        if (line.empty() || line.front() == '#') continue;
        const std::size_t blank = line.find(' ');
        if (blank == std::string_view::npos) throw malformed(lineNumber, "no text after the id");
        int id = 0;
        const auto [p, ec] = std::from_chars(line.data(), line.data() + blank, id);
        if (ec != std::errc() || p != line.data() + blank || id < 0) throw malformed(lineNumber, "bad id");
        if (!d.entries_.emplace(id, unquote(line.substr(blank + 1), lineNumber)).second)
            throw malformed(lineNumber, "id " + std::to_string(id) + " given twice");
    }
    return d;
}

FieldDictionary FieldDictionary::forEdition(crv::resources::Edition edition) {
    return parse(crv::resources::fieldDictionaryText(edition));
}

std::optional<std::string> FieldDictionary::text(int id) const {
    const auto it = entries_.find(id);
    if (it == entries_.end()) return std::nullopt;
    return it->second;
}

std::string FieldDictionary::need(int id) const {
    const auto it = entries_.find(id);
    if (it == entries_.end()) throw std::runtime_error("Field dictionary has no entry " + std::to_string(id));
    return it->second;
}

std::string FieldDictionary::editionCode() const { return need(16); }

std::vector<FieldRecord> FieldDictionary::pageRecords(int page) const {
    if (page < 1 || page > 4) throw std::invalid_argument("page must be 1..4");
    const int count = wholeNumber(need(31 + page), 31 + page);
    std::vector<FieldRecord> records;
    records.reserve(static_cast<std::size_t>(count));
    for (int k = 0; k < count; ++k) {
        FieldRecord r;
        r.page = page;
        r.index = k;
        r.baseId = page * 256 + k * 16;
        const int b = r.baseId;
        r.label = need(b);
        if (page == 3) r.header = need(b + 1);
        r.defaultText = need(b + 2);
        r.type = static_cast<FieldType>(wholeNumber(need(b + 3), b + 3));
        r.width = wholeNumber(need(b + 4), b + 4);
        r.flags = wholeNumber(need(b + 5), b + 5);
        if (!r.isGap()) {
            switch (r.type) {
            case FieldType::Integer: case FieldType::Real: case FieldType::Position: case FieldType::List:
                r.minimum = single(need(b + 6), b + 6);
                r.maximum = single(need(b + 7), b + 7);
                r.decimals = wholeNumber(need(b + 8), b + 8);
                r.listBase = r.minimum;
                break;
            default:
                break;
            }
            if (page != 3 && r.has(SplitAtExtra)) r.extra = single(need(b + 9), b + 9);
        }
        records.push_back(std::move(r));
    }
    return records;
}

std::vector<FieldColumns> FieldDictionary::fileColumns(int page) const {
    std::vector<FieldColumns> columns;
    int next = 1;
    for (const FieldRecord& r : pageRecords(page)) {
        if (r.isGap()) continue;
        columns.push_back({next + 1, next + r.width});
        next += 1 + r.width;
    }
    return columns;
}

std::vector<std::string> FieldDictionary::optionTexts(const FieldRecord& record) const {
    if (record.type != FieldType::List) throw std::invalid_argument("not a list field: " + record.label);
    const int n = optionCount(record.minimum, record.maximum);
    std::vector<std::string> texts;
    texts.reserve(static_cast<std::size_t>(n));
    const int first = record.decimals + optionCount(record.listBase, record.minimum) - 1;
    for (int i = 0; i < n; ++i) texts.push_back(need(first + i));
    return texts;
}

}  // namespace crv::editors
