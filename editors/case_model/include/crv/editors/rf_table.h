#pragma once
// The RF-source table of the case data editor without its widget: one display
// text per cell, the row flags beside the cells, the dummy-value mask in the
// hidden last column, and the row operations the loader, the menus and the
// check call. The editor's table model shows it and forwards edits to it.
//
// Rows and columns are numbered as the editor numbers them: rows 1..rowCount(),
// columns 1..columnCount() (the last is the hidden Dummy Value Flag column,
// the data columns are 1..dataColumnCount()).
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "crv/common/field_check.h"
#include "crv/editors/field_dictionary.h"
#include "crv/editors/intermod_check.h"
#include "crv/editors/pattern_files.h"

namespace crv::editors {

// Row flag 1 (the others are in intermod_check.h).
inline constexpr std::int32_t RowTagged = 1;

// Colours as 0xRRGGBB; 0 means the table's normal colour.
inline constexpr std::uint32_t kNormalColor = 0;
constexpr std::uint32_t rgb(int r, int g, int b) {
    return (static_cast<std::uint32_t>(r) << 16) | (static_cast<std::uint32_t>(g) << 8) | static_cast<std::uint32_t>(b);
}
inline constexpr std::uint32_t kIgnoredBackground = rgb(255, 255, 128);
inline constexpr std::uint32_t kIgnoredText = rgb(128, 128, 128);
inline constexpr std::uint32_t kInvalidBackground = rgb(255, 0, 0);
inline constexpr std::uint32_t kInvalidText = rgb(255, 255, 0);
inline constexpr std::uint32_t kDummyBackground = rgb(128, 255, 255);

struct CellColors {
    std::uint32_t background = kNormalColor;
    std::uint32_t text = kNormalColor;
};

// One column: its dictionary record and, for list columns, its options.
struct RfColumn {
    FieldRecord record;
    // List columns: the option texts for codes minimum..maximum ("P: Proponent",
    // "3:  FmHor03 -- Tower"). The code is the text before the first ":".
    std::vector<std::string> options;
    // Per option: it names a pattern file that does not exist.
    std::vector<bool> notCreated;
    // Per option: the pattern file's base name ("" for dictionary options).
    std::vector<std::string> patternNames;

    bool isList() const { return record.type == FieldType::List; }
    bool isNumber() const { return record.type == FieldType::Integer || record.type == FieldType::Real; }
    bool isPosition() const { return record.type == FieldType::Position; }
    bool readOnly() const { return record.has(ReadOnly); }
    bool hidden() const { return record.has(Hidden); }
    // Code of option i (0-based): the text before its first ":".
    std::string code(int option) const;
    // 0-based option whose code equals the text (blanks around it ignored); -1 when none.
    int optionOf(const std::string& cellText) const;
};

struct CommitOutcome {
    bool changed = false;   // the value differs from what the cell held
    bool checkDue = false;  // and the column's change makes the check due
};

// What a run of the check decided.
struct CheckOutcome {
    bool ok = true;           // no row that takes part holds out-of-range data
    bool dummyOffered = false;  // ok is false: the dummy-value tool is to be enabled
};

// LLDist of the engine: (lat1, lon1, lat2, lon2, distance out, bearing out).
using LLDistFunction = std::function<void(float, float, float, float, float*, float*)>;

class RfTable {
public:
    explicit RfTable(const FieldDictionary& dictionary);

    // Columns.
    int columnCount() const { return static_cast<int>(columns_.size()); }
    int dataColumnCount() const { return columnCount() - 1; }
    int maskColumn() const { return columnCount(); }
    const RfColumn& column(int c) const { return columns_.at(static_cast<std::size_t>(c - 1)); }
    // Columns found by their labels (0 when absent).
    int frequencyColumn() const { return 2; }
    int latitudeColumn() const { return latitudeColumn_; }
    int longitudeColumn() const { return longitudeColumn_; }
    int erpColumn() const { return erpColumn_; }
    int proponentColumn() const { return proponentColumn_; }
    // The check record of a column for ValidateField (control left empty).
    crv::common::FieldCheck fieldCheck(int c) const;

    // The pattern options: FmHor01..25 of "Horizontal Radiation Pattern" (codes
    // 1..25) and FmVrt1..6 of "Radiating Element Type" (after the dictionary's
    // options). Until this is called every pattern file counts as not
    // created; the codes exist either way. Cells keep their codes.
    void setPatternFiles(const std::vector<PatternFileInfo>& horizontal, const std::vector<PatternFileInfo>& vertical);

    // Rows.
    int rowCount() const { return static_cast<int>(rows_.size()); }
    const std::string& cell(int row, int c) const;
    std::int32_t flags(int row) const;
    void setFlags(int row, std::int32_t flags);
    bool tagged(int row) const { return (flags(row) & RowTagged) != 0; }
    void setTagged(int row, bool on);
    void toggleTag(int row) { setTagged(row, !tagged(row)); }
    // The mask as an int, clamped to 0..65535 (a cell that is not a number reads as 0).
    int dummyMask(int row) const;
    bool isDummy(int row, int c) const { return (dummyMask(row) >> (c - 1)) & 1; }

    // The rows of a case file (CaseData::rows: one untrimmed piece per field)
    // shown as cells, sorted, with flags 8 and 16 from the status and flag 2
    // from the ranges. A list code outside its column's range takes the column
    // default and is noted in `replaced` as "row N, label: code".
    void loadRows(const std::vector<std::vector<std::string>>& pieces, std::vector<std::string>* replaced = nullptr);
    // The rows as CaseData::rows for the writer (list cells as codes).
    std::vector<std::vector<std::string>> rowPieces() const;

    // Inserts a row of default values before `position` (rowCount() + 1
    // appends); flags 0; modified and check due.
    void InsertDefaultRow(int position);
    // Removes a row; modified, and check due when it took part in the check.
    void removeRow(int row);
    // Status "P", "I" or anything else ("N"): cell and flags 4, 8, 16.
    void SetPropStatus(int row, const std::string& status);
    // Every row is a proponent or ignored (true for an empty table).
    bool allProponent() const;
    // Caption of the proponent toggle menu entry.
    std::string UpdateToggleCaption() const;
    // Sets flag 2 when a number cell is outside its range or wider than its field.
    void CheckRowRanges(int row);
    // Row header text: the number in 4 columns, "x " in front when tagged.
    std::string SetRowHeader(int row) const;
    // Colours of a data cell from its row's flags and mask (ColorRow).
    CellColors ColorRow(int row, int c) const;
    // Stable sort by frequency, latitude, longitude, ERP and elevation texts,
    // ties by licence status descending; flags and tags travel with the rows.
    void SortRFSources();
    // Stores an already validated value in a cell and clears the cell's dummy
    // bit (even when unchanged); a changed status runs SetPropStatus. The
    // value counts as changed when it differs from `before`, the text the
    // cell held when its editor opened (default: the cell's current text).
    CommitOutcome commitCell(int row, int c, const std::string& value,
                             const std::optional<std::string>& before = std::nullopt);
    // The edit line's live copy: the cell shows what is being typed; nothing
    // else changes until the commit.
    void setCellText(int row, int c, const std::string& text);
    // Tags every row from `from` to `to` (either direction); never untags.
    void tagRange(int from, int to);
    // Bearing from the navaid to the first proponent; nullopt without one.
    std::optional<float> ProponentBearing(float navaidLatitude, float navaidLongitude,
                                          const LLDistFunction& lldist) const;

    // The check: recomputes flag 4 and clears the check-due flag.
    // navaidFrequency is the navaid Frequency text, option the Intermod
    // Calculations value.
    CheckOutcome CheckIntermods(const std::string& navaidFrequency, int option);
    // Replaces out-of-range number cells of rows with flags 2 and 4 by the
    // column defaults and marks them in the mask; returns the cells replaced.
    // A replaced cell of a column whose change makes the check due (the
    // frequency) makes it due again: the dummy value may form new products.
    int AssignDummyValues();

    // Save-time findings over the rows (pre-save checks of the editor).
    int proponentCount() const;
    bool invalidRows() const;  // some row has flags 2 and 4
    // The base name of the last pattern file a row uses that does not exist
    // ("" when all exist).
    std::string missingPattern() const;

    // Editor flags the table's operations set; the editor clears them.
    bool modified = false;
    bool checkDue = false;

private:
    struct Row {
        std::vector<std::string> cells;
        std::int32_t flags = 0;
    };
    Row& rowAt(int row);
    const Row& rowAt(int row) const;
    std::string defaultCell(int c) const;
    std::string cellFromPiece(int c, const std::string& piece, bool& replaced) const;
    void setMask(Row& r, int mask);
    void setStatusFlags(Row& r, const std::string& status);

    std::vector<RfColumn> columns_;
    std::vector<RfColumn> dictionaryColumns_;  // as the dictionary gives them, before the pattern files
    std::vector<Row> rows_;
    int latitudeColumn_ = 0;
    int longitudeColumn_ = 0;
    int erpColumn_ = 0;
    int proponentColumn_ = 0;
    int elementColumn_ = 0;
    int patternColumn_ = 0;
    int licenseColumn_ = 11;
};

// A number as the table shows it: `decimals` decimals right-aligned in
// `width`, never cut (a value too wide for its field stays visible and is out
// of range instead of turning into other digits).
std::string formatCellNumber(double value, int width, int decimals);

}  // namespace crv::editors
