// The RF-source table's rows, flags and row operations.
#include "crv/editors/rf_table.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

#include "crv/common/conversions.h"
#include "crv/common/lat_lon.h"
#include "crv/common/text_utils.h"

namespace crv::editors {
namespace {

using crv::common::Val;

std::string trimBlanks(const std::string& s) {
    std::size_t b = 0, e = s.size();
    while (b < e && s[b] == ' ') ++b;
    while (e > b && s[e - 1] == ' ') --e;
    return s.substr(b, e - b);
}

bool contains(const std::string& text, const char* part) { return text.find(part) != std::string::npos; }

// Out of range as the table sees a number cell: below the minimum, above the
// maximum, or wider than the field can carry.
bool numberOutOfRange(const FieldRecord& r, const std::string& cellText) {
    const double v = Val(cellText);
    if (v < r.minimum || v > r.maximum) return true;
    return trimBlanks(cellText).size() > static_cast<std::size_t>(r.width);
}

int positionKind(const FieldRecord& r) { return r.minimum == 1.0f ? 1 : 2; }

}  // namespace

std::string formatCellNumber(double value, int width, int decimals) {
    const std::string s = crv::common::formatDecimal(value, decimals);
    if (s.size() >= static_cast<std::size_t>(width)) return s;
    return std::string(static_cast<std::size_t>(width) - s.size(), ' ') + s;
}

std::string RfColumn::code(int option) const {
    const std::string& t = options.at(static_cast<std::size_t>(option));
    return t.substr(0, t.find(':'));
}

int RfColumn::optionOf(const std::string& cellText) const {
    const std::string wanted = trimBlanks(cellText);
    for (std::size_t i = 0; i < options.size(); ++i)
        if (trimBlanks(code(static_cast<int>(i))) == wanted) return static_cast<int>(i);
    return -1;
}

RfTable::RfTable(const FieldDictionary& dictionary) {
    for (auto& r : dictionary.pageRecords(3)) {
        if (r.isGap()) continue;
        RfColumn c;
        c.record = r;
        if (c.isList()) {
            c.options = dictionary.optionTexts(r);
            c.notCreated.assign(c.options.size(), false);
            c.patternNames.assign(c.options.size(), std::string());
        }
        columns_.push_back(std::move(c));
    }
    if (columns_.size() < 3) throw std::runtime_error("The field dictionary defines too few RF-source columns.");
    dictionaryColumns_ = columns_;
    for (int c = 1; c <= columnCount(); ++c) {
        const std::string& label = column(c).record.label;
        if (!latitudeColumn_ && contains(label, "Latitude")) latitudeColumn_ = c;
        if (!longitudeColumn_ && contains(label, "Longitude")) longitudeColumn_ = c;
        if (!erpColumn_ && contains(label, "Effective Radiated Power")) erpColumn_ = c;
        if (!proponentColumn_ && contains(label, "Proponent")) proponentColumn_ = c;
        if (label == "Radiating Element Type") elementColumn_ = c;
        if (label == "Horizontal Radiation Pattern") patternColumn_ = c;
        if (contains(label, "License")) licenseColumn_ = c;
    }
    // Until the user folder is scanned every pattern counts as not created:
    // the codes exist either way, so rows read before the scan keep theirs.
    std::vector<PatternFileInfo> hor, vrt;
    for (int i = 1; i <= 25; ++i) hor.push_back({(i < 10 ? "FmHor0" : "FmHor") + std::to_string(i), PatternFileState::Missing, {}});
    for (int i = 1; i <= 6; ++i) vrt.push_back({"FmVrt" + std::to_string(i), PatternFileState::Missing, {}});
    setPatternFiles(hor, vrt);
}

crv::common::FieldCheck RfTable::fieldCheck(int c) const {
    const FieldRecord& r = column(c).record;
    crv::common::FieldCheck check;
    check.kind = static_cast<std::int32_t>(r.type);
    check.min = r.minimum;
    check.max = r.maximum;
    check.width = static_cast<std::int16_t>(r.width);
    check.decimals = static_cast<std::int16_t>(r.decimals);
    if (r.type == FieldType::Position) check.decimals = 1;  // the table shows degrees, minutes, seconds
    return check;
}

void RfTable::setPatternFiles(const std::vector<PatternFileInfo>& horizontal,
                              const std::vector<PatternFileInfo>& vertical) {
    auto fill = [](RfColumn& col, const RfColumn& base, const std::vector<PatternFileInfo>& files, int firstCode) {
        col = base;
        const int keep = std::max(0, firstCode - static_cast<int>(std::lround(base.record.minimum)));
        col.options.resize(static_cast<std::size_t>(std::min<int>(keep, static_cast<int>(col.options.size()))));
        col.notCreated.resize(col.options.size(), false);
        col.patternNames.resize(col.options.size());
        int value = firstCode;
        for (const auto& f : files) {
            col.options.push_back(std::to_string(value) + ":  " + patternListName(f));
            col.notCreated.push_back(f.state == PatternFileState::Missing);
            col.patternNames.push_back(f.name);
            ++value;
        }
        col.record.maximum = static_cast<float>(value - 1);
    };
    if (patternColumn_) {
        const auto& base = dictionaryColumns_[static_cast<std::size_t>(patternColumn_ - 1)];
        fill(columns_[static_cast<std::size_t>(patternColumn_ - 1)], base, horizontal, 1);
    }
    if (elementColumn_) {
        const auto& base = dictionaryColumns_[static_cast<std::size_t>(elementColumn_ - 1)];
        fill(columns_[static_cast<std::size_t>(elementColumn_ - 1)], base, vertical,
             static_cast<int>(std::lround(base.record.maximum)) + 1);
    }
}

RfTable::Row& RfTable::rowAt(int row) {
    if (row < 1 || row > rowCount()) throw std::out_of_range("no RF-source row " + std::to_string(row));
    return rows_[static_cast<std::size_t>(row - 1)];
}

const RfTable::Row& RfTable::rowAt(int row) const {
    if (row < 1 || row > rowCount()) throw std::out_of_range("no RF-source row " + std::to_string(row));
    return rows_[static_cast<std::size_t>(row - 1)];
}

const std::string& RfTable::cell(int row, int c) const {
    return rowAt(row).cells.at(static_cast<std::size_t>(c - 1));
}

std::int32_t RfTable::flags(int row) const { return rowAt(row).flags; }
void RfTable::setFlags(int row, std::int32_t f) { rowAt(row).flags = f; }

void RfTable::setTagged(int row, bool on) {
    Row& r = rowAt(row);
    r.flags = on ? (r.flags | RowTagged) : (r.flags & ~RowTagged);
}

int RfTable::dummyMask(int row) const {
    const double v = Val(cell(row, maskColumn()));
    if (!(v > 0)) return 0;
    if (v >= 65535) return 65535;
    return static_cast<int>(v);
}

void RfTable::setMask(Row& r, int mask) {
    r.cells[static_cast<std::size_t>(maskColumn() - 1)] =
        crv::common::FormatField(std::clamp(mask, 0, 65535), column(maskColumn()).record.width, 0);
}

std::string RfTable::defaultCell(int c) const {
    const RfColumn& col = column(c);
    const FieldRecord& r = col.record;
    switch (r.type) {
    case FieldType::List: {
        int option = static_cast<int>(std::lround(Val(r.defaultText) - r.minimum));
        if (option < 0 || option >= static_cast<int>(col.options.size())) option = 0;
        return col.options.empty() ? std::string() : col.code(option);
    }
    case FieldType::Integer: case FieldType::Real:
        return formatCellNumber(Val(r.defaultText), r.width, r.decimals);
    case FieldType::Position:
        return crv::common::FormatLatLon(crv::common::ParseLatLon(r.defaultText), positionKind(r), 1);
    default:
        return crv::common::leftSet(r.defaultText, static_cast<std::size_t>(r.width));
    }
}

std::string RfTable::cellFromPiece(int c, const std::string& piece, bool& replaced) const {
    const RfColumn& col = column(c);
    const FieldRecord& r = col.record;
    replaced = false;
    switch (r.type) {
    case FieldType::List: {
        const double v = Val(piece);
        const int option = static_cast<int>(std::lround(v - r.minimum));
        if (v < r.minimum || v > r.maximum || option < 0 || option >= static_cast<int>(col.options.size())) {
            replaced = !trimBlanks(piece).empty();
            return defaultCell(c);
        }
        return col.code(option);
    }
    case FieldType::Integer: case FieldType::Real:
        return formatCellNumber(Val(piece), r.width, r.decimals);
    case FieldType::Position:
        return crv::common::FormatLatLon(crv::common::ParseLatLon(piece), positionKind(r), 1);
    default:
        return piece.size() < static_cast<std::size_t>(r.width)
                   ? crv::common::leftSet(piece, static_cast<std::size_t>(r.width))
                   : piece;
    }
}

void RfTable::loadRows(const std::vector<std::vector<std::string>>& pieces, std::vector<std::string>* replaced) {
    std::vector<Row> rows;
    rows.reserve(pieces.size());
    for (std::size_t i = 0; i < pieces.size(); ++i) {
        Row row;
        for (int c = 1; c <= columnCount(); ++c) {
            const std::string piece = static_cast<std::size_t>(c - 1) < pieces[i].size()
                                          ? pieces[i][static_cast<std::size_t>(c - 1)]
                                          : std::string();
            bool wasReplaced = false;
            row.cells.push_back(cellFromPiece(c, piece, wasReplaced));
            if (wasReplaced && replaced)
                replaced->push_back("row " + std::to_string(i + 1) + ", " + column(c).record.label + ": " +
                                    trimBlanks(piece));
        }
        rows.push_back(std::move(row));
    }
    rows_ = std::move(rows);
    SortRFSources();
    for (int r = 1; r <= rowCount(); ++r) {
        Row& row = rowAt(r);
        row.flags = 0;
        if (proponentColumn_) {
            const std::string status = trimBlanks(cell(r, proponentColumn_));
            if (status == "P") row.flags = RowProponent;
            else if (status == "I") row.flags = RowIgnored;
        }
        CheckRowRanges(r);
    }
}

std::vector<std::vector<std::string>> RfTable::rowPieces() const {
    std::vector<std::vector<std::string>> out;
    out.reserve(rows_.size());
    for (const Row& row : rows_) {
        std::vector<std::string> pieces;
        for (int c = 1; c <= columnCount(); ++c) {
            const RfColumn& col = column(c);
            const std::string& text = row.cells[static_cast<std::size_t>(c - 1)];
            if (col.isList()) {
                int option = col.optionOf(text);
                // A cell that names no option (only a foreign file can make
                // one) is written as the column default rather than as a code
                // the engine would misread.
                double code = option >= 0 ? col.record.minimum + option : Val(col.record.defaultText);
                pieces.push_back(crv::common::formatDecimal(code, 0));
            } else {
                pieces.push_back(text);
            }
        }
        out.push_back(std::move(pieces));
    }
    return out;
}

void RfTable::InsertDefaultRow(int position) {
    position = std::clamp(position, 1, rowCount() + 1);
    Row row;
    for (int c = 1; c <= columnCount(); ++c) row.cells.push_back(defaultCell(c));
    rows_.insert(rows_.begin() + (position - 1), std::move(row));
    modified = true;
    checkDue = true;
}

void RfTable::removeRow(int row) {
    if (rowAt(row).flags & RowTakesPart) checkDue = true;
    rows_.erase(rows_.begin() + (row - 1));
    modified = true;
}

void RfTable::setStatusFlags(Row& r, const std::string& status) {
    if (status == "P") r.flags = (r.flags & ~RowIgnored) | RowProponent | RowTakesPart;
    else if (status == "I") r.flags = (r.flags & ~(RowProponent | RowTakesPart)) | RowIgnored;
    else r.flags = (r.flags & ~(RowProponent | RowIgnored)) | RowTakesPart;
}

void RfTable::SetPropStatus(int row, const std::string& status) {
    Row& r = rowAt(row);
    const std::string s = trimBlanks(status);
    const std::string code = (s == "P" || s == "I") ? s : "N";
    setStatusFlags(r, code);
    if (proponentColumn_) r.cells[static_cast<std::size_t>(proponentColumn_ - 1)] = code;
    modified = true;
    checkDue = true;
}

bool RfTable::allProponent() const {
    return std::none_of(rows_.begin(), rows_.end(),
                        [](const Row& r) { return (r.flags & (RowProponent | RowIgnored)) == 0; });
}

std::string RfTable::UpdateToggleCaption() const {
    return allProponent() ? "&All Proponent -> Non-Proponent" : "&All Non-Proponent -> Proponent";
}

void RfTable::CheckRowRanges(int row) {
    Row& r = rowAt(row);
    r.flags &= ~RowOutOfRange;
    for (int c = 1; c <= dataColumnCount(); ++c) {
        const RfColumn& col = column(c);
        if (col.isNumber() && numberOutOfRange(col.record, r.cells[static_cast<std::size_t>(c - 1)])) {
            r.flags |= RowOutOfRange;
            return;
        }
    }
}

std::string RfTable::SetRowHeader(int row) const {
    const std::string number = crv::common::FormatField(row, 4, 0);
    return tagged(row) ? "x " + number : number;
}

CellColors RfTable::ColorRow(int row, int c) const {
    const std::int32_t f = flags(row);
    if (f & RowIgnored) return {kIgnoredBackground, kIgnoredText};
    if ((f & RowOutOfRange) && (f & RowTakesPart)) return {kInvalidBackground, kInvalidText};
    if (c >= 1 && c <= dataColumnCount() && isDummy(row, c)) return {kDummyBackground, kNormalColor};
    return {};
}

void RfTable::SortRFSources() {
    const std::size_t lic = static_cast<std::size_t>(licenseColumn_ - 1);
    const std::size_t last = std::min<std::size_t>(6, static_cast<std::size_t>(columnCount()));
    std::stable_sort(rows_.begin(), rows_.end(), [&](const Row& a, const Row& b) {
        for (std::size_t c = 1; c < last; ++c) {
            const int cmp = a.cells[c].compare(b.cells[c]);
            if (cmp != 0) return cmp < 0;
        }
        if (lic < a.cells.size()) return a.cells[lic].compare(b.cells[lic]) > 0;
        return false;
    });
}

void RfTable::setCellText(int row, int c, const std::string& text) {
    rowAt(row).cells.at(static_cast<std::size_t>(c - 1)) = text;
}

void RfTable::tagRange(int from, int to) {
    if (from > to) std::swap(from, to);
    for (int r = std::max(from, 1); r <= std::min(to, rowCount()); ++r) setTagged(r, true);
}

CommitOutcome RfTable::commitCell(int row, int c, const std::string& value, const std::optional<std::string>& before) {
    Row& r = rowAt(row);
    std::string& target = r.cells.at(static_cast<std::size_t>(c - 1));
    CommitOutcome out;
    out.changed = (before ? *before : target) != value;
    target = value;
    if (c != maskColumn()) setMask(r, dummyMask(row) & ~(1 << (c - 1)));
    if (out.changed) {
        modified = true;
        if (column(c).record.has(RecheckOnChange)) {
            checkDue = true;
            out.checkDue = true;
        }
        if (c == proponentColumn_) {
            SetPropStatus(row, value);
            out.checkDue = true;
        }
    }
    CheckRowRanges(row);
    return out;
}

std::optional<float> RfTable::ProponentBearing(float navaidLatitude, float navaidLongitude,
                                               const LLDistFunction& lldist) const {
    if (!latitudeColumn_ || !longitudeColumn_) return std::nullopt;
    for (int r = 1; r <= rowCount(); ++r) {
        if (!(flags(r) & RowProponent)) continue;
        const float lat = static_cast<float>(crv::common::ParseLatLon(cell(r, latitudeColumn_)));
        const float lon = static_cast<float>(crv::common::ParseLatLon(cell(r, longitudeColumn_)));
        float distance = 0, bearing = 0;
        lldist(navaidLatitude, navaidLongitude, lat, lon, &distance, &bearing);
        return bearing;
    }
    return std::nullopt;
}

CheckOutcome RfTable::CheckIntermods(const std::string& navaidFrequency, int option) {
    std::vector<std::int32_t> f;
    std::vector<float> frequencies;
    f.reserve(rows_.size());
    frequencies.reserve(rows_.size());
    for (int r = 1; r <= rowCount(); ++r) {
        f.push_back(rowAt(r).flags);
        frequencies.push_back(static_cast<float>(Val(cell(r, frequencyColumn()))));
    }
    IntermodResult result =
        crv::editors::CheckIntermods(f, frequencies, static_cast<float>(Val(navaidFrequency)), option);
    // The engine reads every station that is not ignored, product or not,
    // and cannot use one without a frequency or an ERP: such a row counts
    // as taking part, so it is shown red and the dummy values can mend it,
    // instead of the save refusing what the check let pass.
    for (int r = 1; r <= rowCount(); ++r) {
        std::int32_t& flags = result.flags[static_cast<std::size_t>(r - 1)];
        if (flags & RowIgnored) continue;
        const bool noFrequency = !(Val(cell(r, frequencyColumn())) > 0);
        const bool noErp = erpColumn() && !(Val(cell(r, erpColumn())) > 0);
        if ((noFrequency || noErp) && (flags & RowOutOfRange)) {
            flags |= RowTakesPart;
            result.ok = false;
        }
    }
    for (int r = 1; r <= rowCount(); ++r) rowAt(r).flags = result.flags[static_cast<std::size_t>(r - 1)];
    checkDue = false;
    return {result.ok, !result.ok};
}

int RfTable::AssignDummyValues() {
    int replacedCells = 0;
    for (int row = 1; row <= rowCount(); ++row) {
        Row& r = rowAt(row);
        if (!((r.flags & RowOutOfRange) && (r.flags & RowTakesPart))) continue;
        int mask = dummyMask(row);
        for (int c = 1; c <= dataColumnCount(); ++c) {
            const RfColumn& col = column(c);
            std::string& text = r.cells[static_cast<std::size_t>(c - 1)];
            if (!col.isNumber() || !numberOutOfRange(col.record, text)) continue;
            const float dummy = static_cast<float>(Val(col.record.defaultText));
            text = formatCellNumber(crv::common::singleToDouble(dummy), col.record.width, col.record.decimals);
            mask |= 1 << (c - 1);
            ++replacedCells;
            if (col.record.has(RecheckOnChange)) checkDue = true;
        }
        setMask(r, mask);
        r.flags &= ~RowOutOfRange;
        modified = true;
    }
    return replacedCells;
}

int RfTable::proponentCount() const {
    return static_cast<int>(
        std::count_if(rows_.begin(), rows_.end(), [](const Row& r) { return (r.flags & RowProponent) != 0; }));
}

bool RfTable::invalidRows() const {
    return std::any_of(rows_.begin(), rows_.end(), [](const Row& r) {
        return (r.flags & RowOutOfRange) && (r.flags & RowTakesPart);
    });
}

std::string RfTable::missingPattern() const {
    std::string name;
    for (int r = 1; r <= rowCount(); ++r) {
        for (int c : {elementColumn_, patternColumn_}) {
            if (!c) continue;
            const RfColumn& col = column(c);
            const int option = col.optionOf(cell(r, c));
            if (option >= 0 && col.notCreated[static_cast<std::size_t>(option)])
                name = col.patternNames[static_cast<std::size_t>(option)];
        }
    }
    return name;
}

}  // namespace crv::editors
