// Case data file reading and writing.
#include "crv/editors/case_file.h"

#include <cmath>

#include "crv/common/case_file_upgrade.h"
#include "crv/common/conversions.h"
#include "crv/common/data_file_read.h"
#include "crv/common/lat_lon.h"
#include "crv/formats/case_file.h"
#include "crv/platform/numbers.h"
#include "crv/platform/text_file.h"

namespace crv::editors {
namespace {

using crv::platform::Expected;
using crv::platform::makeError;

std::string trim(std::string_view s) {
    std::size_t b = 0, e = s.size();
    while (b < e && s[b] == ' ') ++b;
    while (e > b && s[e - 1] == ' ') --e;
    return std::string(s.substr(b, e - b));
}

std::vector<FieldRecord> fieldsOf(const FieldDictionary& dictionary, int page) {
    std::vector<FieldRecord> out;
    for (auto& r : dictionary.pageRecords(page))
        if (!r.isGap()) out.push_back(r);
    return out;
}

bool isNumeric(FieldType t) {
    return t == FieldType::Integer || t == FieldType::Real || t == FieldType::List || t == FieldType::CheckBox;
}

// True when the whole trimmed piece is one number as the data files write
// one, whatever the process locale; a blank piece reads as 0.
bool readsAsNumber(const std::string& piece) { return piece.empty() || crv::platform::parseReal(piece).has_value(); }

std::string lineRef(std::size_t index) { return "line " + std::to_string(index + 1); }

int lineLength(const std::vector<FieldRecord>& recs) {
    int n = 0;
    for (const auto& r : recs) n += 1 + r.width;
    return n;
}

// Splits one page line into its field texts. A page list code outside the
// field's range takes the field default and is noted in replaced. RF-row list
// codes stay as read: their ranges grow with the pattern files of the User
// folder, and the row range check flags them.
Expected<std::vector<std::string>> splitLine(const std::string& line, std::size_t lineIndex,
                                             const std::vector<FieldRecord>& recs, bool rowCells,
                                             std::vector<std::string>& replaced) {
    std::vector<std::string> values;
    int pos = 2;
    std::string previous;
    for (const auto& r : recs) {
        // The blank before each field keeps the columns apart: a character
        // there means the value before it overflowed, and reading on would
        // take the wrong digits (1000 in three columns reads as 100).
        if (pos > 2 && static_cast<std::size_t>(pos - 1) <= line.size() && line[pos - 2] != ' ')
            return makeError("In " + lineRef(lineIndex) + " the value of \"" + previous +
                             "\" runs past its columns.");
        std::string piece = crv::common::Mid(line, pos, r.width);
        pos += r.width + 1;
        previous = r.label;
        std::string trimmed = trim(piece);
        if (isNumeric(r.type) && !readsAsNumber(trimmed))
            return makeError("Could not read the number \"" + trimmed + "\" of \"" + r.label + "\" in " +
                             lineRef(lineIndex) + ".");
        if (r.type == FieldType::List && !rowCells) {
            double v = crv::common::Val(trimmed);
            if (v < r.minimum || v > r.maximum) {
                if (!trimmed.empty()) replaced.push_back(r.label + ": " + trimmed);
                v = crv::common::Val(r.defaultText);
            }
            values.push_back(crv::common::formatDecimal(v, 0));
        } else if (r.type == FieldType::CheckBox || r.type == FieldType::List) {
            values.push_back(crv::common::formatDecimal(crv::common::Val(trimmed), 0));
        } else {
            values.push_back(rowCells ? piece : trimmed);
        }
    }
    return values;
}

std::string rightJustify(const std::string& s, int width) {
    return s.size() >= static_cast<std::size_t>(width) ? s : std::string(width - s.size(), ' ') + s;
}

// Control characters would break the line layout: they become blanks.
std::string blankControls(std::string_view s) {
    std::string out(s);
    for (char& c : out)
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) c = ' ';
    return out;
}

Expected<std::string> renderField(const FieldRecord& r, const std::string& value, const std::string& where) {
    std::string s;
    switch (r.type) {
    case FieldType::Text: case FieldType::UpperText: case FieldType::UpperTextNotBlank: case FieldType::Date:
        return crv::common::leftSet(trim(blankControls(value)), r.width);
    case FieldType::Position: {
        const bool latitude = r.width < 10;
        s = crv::common::FormatLatLon(crv::common::ParseLatLon(trim(value)), latitude ? 1 : 2, 0);
        break;
    }
    case FieldType::List: case FieldType::CheckBox:
        s = crv::common::formatDecimal(crv::common::Val(value), 0);
        break;
    default:
        s = crv::common::formatDecimal(crv::common::Val(value), r.decimals);
        break;
    }
    if (s.size() > static_cast<std::size_t>(r.width))
        return makeError("The value \"" + trim(value) + "\" of \"" + r.label + "\"" + where +
                         " does not fit its " + std::to_string(r.width) + " columns.");
    return rightJustify(s, r.width);
}

Expected<std::string> renderLine(const std::vector<FieldRecord>& recs, const std::vector<std::string>& values,
                                 const std::string& where) {
    if (values.size() != recs.size())
        return makeError("The case holds " + std::to_string(values.size()) + " values" + where + " where " +
                         std::to_string(recs.size()) + " fields are defined.");
    std::string line;
    for (std::size_t i = 0; i < recs.size(); ++i) {
        auto f = renderField(recs[i], values[i], where);
        if (!f) return makeError(f.error());
        line += ' ';
        line += *f;
    }
    return line;
}

const std::vector<std::string>* pageValues(int page, const CaseData& d) {
    switch (page) {
    case 1: return &d.casePage;
    case 2: return &d.navaidPage;
    case 4: return &d.optionsPage;
    default: return nullptr;
    }
}

// The option-text lines: one per list field of pages 2 and 4, hidden ones too.
std::vector<std::string> optionTextLines(const CaseData& d, const FieldDictionary& dictionary) {
    std::vector<std::string> out;
    for (int page : {2, 4}) {
        const auto recs = fieldsOf(dictionary, page);
        const auto& values = *pageValues(page, d);
        for (std::size_t i = 0; i < recs.size() && i < values.size(); ++i) {
            if (recs[i].type != FieldType::List) continue;
            const auto texts = dictionary.optionTexts(recs[i]);
            const double code = crv::common::Val(values[i]);
            const long pos = std::lround(code - recs[i].minimum);
            const bool valid = trim(values[i]).size() > 0 && pos >= 0 && pos < static_cast<long>(texts.size());
            out.push_back(valid ? " " + texts[pos] : " ");
        }
    }
    return out;
}

}  // namespace

Expected<CaseData> ReadCaseLines(const std::vector<std::string>& lines, const FieldDictionary& dictionary) {
    if (lines.empty() || crv::common::GetFileVersion(lines[0]) != 2)
        return makeError("The file is not a case data file of the current layout: line 1 is not \"" +
                         std::string(crv::common::kCurrentVersionText) + "\".");
    CaseData d;
    if (lines.size() < 2) return makeError("The file ends before the navaid line (line 2).");
    const auto navaid = fieldsOf(dictionary, 2);
    auto nav = splitLine(lines[1], 1, navaid, false, d.replacedCodes);
    if (!nav) return makeError(nav.error());
    d.navaidPage = std::move(*nav);
    const std::size_t markAt = static_cast<std::size_t>(lineLength(navaid)) + 1;  // 0-based index of Chr(127)
    d.checkedMark = lines[1].size() > markAt && lines[1][markAt] == crv::formats::navaid_line::kCheckedMark;

    const auto rowFields = fieldsOf(dictionary, 3);
    std::size_t i = 2;
    for (;; ++i) {
        if (i >= lines.size())
            return makeError("The file ends in " + lineRef(i - 1) +
                             " before the terminator line \" $$$$\" of the RF sources.");
        if (crv::formats::textAt(lines[i], crv::formats::rf_source_line::terminatorMark) == "$$$$") break;
        auto row = splitLine(lines[i], i, rowFields, true, d.replacedCodes);
        if (!row) return makeError(row.error());
        d.rows.push_back(std::move(*row));
    }
    if (++i >= lines.size()) return makeError("The file ends in " + lineRef(i - 1) + " before the options line.");
    auto opts = splitLine(lines[i], i, fieldsOf(dictionary, 4), false, d.replacedCodes);
    if (!opts) return makeError(opts.error());
    d.optionsPage = std::move(*opts);
    if (++i >= lines.size()) return makeError("The file ends in " + lineRef(i - 1) + " before the case line.");
    auto cs = splitLine(lines[i], i, fieldsOf(dictionary, 1), false, d.replacedCodes);
    if (!cs) return makeError(cs.error());
    d.casePage = std::move(*cs);
    return d;
}

Expected<CaseData> LoadDataFile(const std::string& path, const FieldDictionary& dictionary) {
    auto lines = crv::common::readFileLines(path, crv::common::kCaseFileMaxBytes);
    if (!lines) return makeError(lines.error());
    const int version = lines->empty() ? -1 : crv::common::GetFileVersion(lines->front());
    if (version != 2) {
        // Convert in memory first: a file that does not convert is not a case
        // and is left exactly as it was.
        auto converted = crv::common::upgradeCaseLines(*lines, version);
        if (!converted) return makeError(path + " is not a case data file: " + converted.error());
        auto upgraded = ReadCaseLines(*converted, dictionary);
        if (!upgraded) return makeError(path + " is not a case data file: " + upgraded.error());
        auto done = crv::common::UpgradeDataFile(path, version);
        if (!done) return makeError(done.error());
        lines = crv::common::readFileLines(path, crv::common::kCaseFileMaxBytes);
        if (!lines) return makeError(lines.error());
    }
    auto data = ReadCaseLines(*lines, dictionary);
    if (!data) return makeError(path + ": " + data.error());
    return data;
}

Expected<std::vector<std::string>> WritePage(int page, const CaseData& data, const FieldDictionary& dictionary,
                                             bool errorFree) {
    const auto recs = fieldsOf(dictionary, page);
    std::vector<std::string> out;
    if (page == 3) {
        for (std::size_t r = 0; r < data.rows.size(); ++r) {
            const std::string where = " in RF-source row " + std::to_string(r + 1);
            if (!data.rows[r].empty() && trim(data.rows[r][0]).rfind("$$$$", 0) == 0)
                return makeError("The call letters \"" + trim(data.rows[r][0]) + "\"" + where +
                                 " begin with \"$$$$\", which ends the RF-source lines.");
            auto line = renderLine(recs, data.rows[r], where);
            if (!line) return makeError(line.error());
            out.push_back(std::move(*line));
        }
        out.push_back(crv::formats::kRfSourceTerminator);
        return out;
    }
    const auto* values = pageValues(page, data);
    if (!values) return makeError("There is no page " + std::to_string(page) + ".");
    auto line = renderLine(recs, *values, " on page " + std::to_string(page));
    if (!line) return makeError(line.error());
    if (page == 2 && errorFree) *line += std::string(" ") + crv::formats::navaid_line::kCheckedMark;
    out.push_back(std::move(*line));
    return out;
}

Expected<std::vector<std::string>> CaseFileLines(const CaseData& data, const FieldDictionary& dictionary,
                                                 bool errorFree) {
    std::vector<std::string> lines{crv::common::kCurrentVersionText};
    for (int page : {2, 3, 4, 1}) {
        auto part = WritePage(page, data, dictionary, errorFree);
        if (!part) return makeError(part.error());
        lines.insert(lines.end(), part->begin(), part->end());
    }
    const auto texts = optionTextLines(data, dictionary);
    lines.insert(lines.end(), texts.begin(), texts.end());
    return lines;
}

Expected<void> SaveDataFile(const std::string& path, const CaseData& data, const FieldDictionary& dictionary,
                            bool errorFree) {
    auto lines = CaseFileLines(data, dictionary, errorFree);
    if (!lines) return makeError(lines.error());
    auto written = crv::platform::writeTextLinesAtomic(path, *lines);
    if (!written) return makeError("Could not save " + path + ": " + written.error());
    return {};
}

}  // namespace crv::editors
