#pragma once
// The page fields of the case data editor (pages 1, 2 and 4) without their
// controls: each field's current record (its range narrowed by the split), its
// text as the editor shows it and whether it is enabled, and the rules that
// tie fields together (the service-volume type and the grid type).
//
// Field numbers follow the editor: 16 upwards over pages 1, 2 and 4, one per
// dictionary record, gaps included.
#include <optional>
#include <string>
#include <vector>

#include "crv/common/field_check.h"
#include "crv/editors/case_file.h"
#include "crv/editors/field_dictionary.h"

namespace crv::editors {

struct PageField {
    int number = 0;
    FieldRecord record;   // current record: the split narrows its range
    // Text as the editor shows it: text and date trimmed; integer and real
    // at the field's width and decimals; a position in degrees, minutes and
    // seconds with its hemisphere letter; list: the code; check box "0"/"1".
    std::string text;
    bool enabled = true;  // read-only fields are never enabled
};

struct FieldCommit {
    bool changed = false;
    bool checkDue = false;
};

class CasePages {
public:
    explicit CasePages(const FieldDictionary& dictionary);

    int firstField(int page) const;
    int lastField(int page) const;
    PageField& field(int number);
    const PageField& field(int number) const;
    // Number of the field of a page whose label is exactly `label`; 0 when none.
    int fieldNumber(int page, const std::string& label) const;
    // The field's check record for ValidateField (control left empty).
    crv::common::FieldCheck fieldCheck(int number) const;
    // Options of a list field over its current range, and the selected one
    // (0-based; -1 when the code is outside the range).
    std::vector<std::string> optionTexts(int number) const;
    int selectedOption(int number) const;
    void selectOption(int number, int option);

    // Puts back the dictionary range and list of every flag-16 field.
    void RestoreFieldRanges();
    // Shows a case's pages 1, 2 and 4 (ranges restored first, then the split
    // applied to the values read) and runs the dependent-field rules.
    // `proponentBearing` feeds the grid angle of the single-proponent grids.
    void load(const CaseData& data, std::optional<float> proponentBearing);
    // Puts the pages' values into a case for the writer.
    void store(CaseData& data) const;

    // Takes over a validated value; flag-8 fields make the check due. The
    // value counts as changed when it differs from `before`, the text the
    // field held when it got the focus (default: the field's current text).
    FieldCommit commitField(int number, const std::string& text,
                            const std::optional<std::string>& before = std::nullopt);

    // Values the other parts of the editor read.
    int serviceVolumeType() const;
    int gridType() const;
    int intermodOption() const;
    std::string navaidFrequencyText() const;
    double navaidLatitude() const;
    double navaidLongitude() const;
    bool relativeAngleEnabled() const { return relativeAngleEnabled_; }
    // The ERP column's header and label follow the service-volume type.
    std::string erpHeader() const;
    std::string erpLabel() const;

    // Enables "Runway Heading", "Runway Length" and the relative-angle button
    // by the service-volume type.
    void UpdateDependentFields();
    // Enables, fills or clears the fields that depend on the grid type.
    void UpdateGridFields(std::optional<float> proponentBearing);

    // The values of the page fields the user can edit that lie outside their
    // ranges: one text per problem ("Frequency: 140.000 is outside 118 to
    // 136."). Fields the grid type or service-volume type leave unused and
    // hidden fields are not range-checked (see caseDataErrors). Empty when
    // all hold.
    std::vector<std::string> rangeErrors() const;

    bool modified = false;
    bool checkDue = false;

private:
    const FieldDictionary* dictionary_;
    std::vector<PageField> fields_;  // index = number - 16
    int first_[5] = {};
    int last_[5] = {};
    bool relativeAngleEnabled_ = false;
    int number(const char* label, int page) const;
    void setEnabled(int number, bool on);
};

// A grid angle in whole degrees: rounded first, then wrapped into 0..359, so
// 359.5 becomes 0 and never "360".
int gridAngleDegrees(double angle);

// Errors that keep the checked mark off: rangeErrors, what the engine's case
// reader refuses of the navaid (an array type the service-volume type's model
// does not take, no transmitter power where the array needs it, a VHF COM
// radius of 0), and of every RF row it reads (ignored rows aside, whether or
// not they take part in the check): a station on the navaid frequency, a
// frequency or ERP not above 0, a position beyond 90 or 180 degrees. Empty
// when none.
class RfTable;
std::vector<std::string> caseDataErrors(const CasePages& pages, const RfTable& table);

}  // namespace crv::editors
