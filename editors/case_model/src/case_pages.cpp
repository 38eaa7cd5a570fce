// The page fields and the rules between them.
#include "crv/editors/case_pages.h"

#include <cmath>
#include <cstdlib>
#include <stdexcept>

#include "crv/common/conversions.h"
#include "crv/common/lat_lon.h"
#include "crv/common/math_utils.h"
#include "crv/common/text_utils.h"
#include "crv/editors/range_split.h"
#include "crv/editors/rf_table.h"

namespace crv::editors {
namespace {

using crv::common::Val;

std::string trimBlanks(const std::string& s) {
    std::size_t b = 0, e = s.size();
    while (b < e && s[b] == ' ') ++b;
    while (e > b && s[e - 1] == ' ') --e;
    return s.substr(b, e - b);
}

int positionKind(const FieldRecord& r) { return r.minimum == 1.0f ? 1 : 2; }

// A value from the file (or the dictionary default) as the field shows it.
std::string displayText(const FieldRecord& r, const std::string& value) {
    switch (r.type) {
    case FieldType::Integer: case FieldType::Real:
        return formatCellNumber(Val(value), r.width, r.decimals);
    case FieldType::Position:
        return crv::common::FormatLatLon(crv::common::ParseLatLon(trimBlanks(value)), positionKind(r), 1);
    case FieldType::List: case FieldType::CheckBox:
        return crv::common::formatDecimal(Val(value), 0);
    case FieldType::Gap:
        return {};
    default:
        return trimBlanks(value);
    }
}

std::string rangeText(float minimum, float maximum) {
    return crv::common::formatGeneral(minimum) + " to " + crv::common::formatGeneral(maximum);
}

// Whole kHz as the engine compares frequencies.
long kHz(double mhz) { return std::lround(mhz * 1000.0 + 0.2); }

bool isAnyOf(int v, std::initializer_list<int> set) {
    for (int s : set)
        if (v == s) return true;
    return false;
}

}  // namespace

int gridAngleDegrees(double angle) {
    if (!std::isfinite(angle)) return 0;
    const double whole = std::round(angle);
    return static_cast<int>(crv::common::WrapAngle(static_cast<float>(whole), 0.0f, 360.0f));
}

CasePages::CasePages(const FieldDictionary& dictionary) : dictionary_(&dictionary) {
    int next = 16;
    for (int page : {1, 2, 4}) {
        first_[page] = next;
        for (const FieldRecord& r : dictionary.pageRecords(page)) {
            PageField f;
            f.number = next++;
            f.record = r;
            f.text = displayText(r, r.defaultText);
            f.enabled = !r.isGap() && !r.has(ReadOnly) && !r.has(Hidden);
            fields_.push_back(std::move(f));
        }
        last_[page] = next - 1;
    }
}

int CasePages::firstField(int page) const { return first_[page == 3 ? 0 : page]; }
int CasePages::lastField(int page) const { return last_[page == 3 ? 0 : page]; }

PageField& CasePages::field(int n) {
    if (n < 16 || n >= 16 + static_cast<int>(fields_.size())) throw std::out_of_range("no page field " + std::to_string(n));
    return fields_[static_cast<std::size_t>(n - 16)];
}

const PageField& CasePages::field(int n) const { return const_cast<CasePages*>(this)->field(n); }

int CasePages::fieldNumber(int page, const std::string& label) const {
    if (page != 1 && page != 2 && page != 4) return 0;
    for (int n = first_[page]; n <= last_[page]; ++n)
        if (!field(n).record.isGap() && field(n).record.label == label) return n;
    return 0;
}

int CasePages::number(const char* label, int page) const { return fieldNumber(page, label); }

crv::common::FieldCheck CasePages::fieldCheck(int n) const {
    const FieldRecord& r = field(n).record;
    crv::common::FieldCheck check;
    check.kind = static_cast<std::int32_t>(r.type);
    check.min = r.minimum;
    check.max = r.maximum;
    check.extra = r.extra;
    check.width = static_cast<std::int16_t>(r.width);
    check.decimals = static_cast<std::int16_t>(r.decimals);
    if (r.type == FieldType::Position) {
        check.min = static_cast<float>(positionKind(r));
        check.decimals = 1;
    }
    return check;
}

std::vector<std::string> CasePages::optionTexts(int n) const { return dictionary_->optionTexts(field(n).record); }

int CasePages::selectedOption(int n) const {
    const PageField& f = field(n);
    const double v = Val(f.text);
    if (v < f.record.minimum || v > f.record.maximum) return -1;
    return static_cast<int>(std::lround(v - f.record.minimum));
}

void CasePages::selectOption(int n, int option) {
    PageField& f = field(n);
    f.text = crv::common::formatDecimal(f.record.minimum + option, 0);
}

void CasePages::RestoreFieldRanges() {
    for (int page : {1, 2, 4}) {
        const auto records = dictionary_->pageRecords(page);
        for (int n = first_[page]; n <= last_[page]; ++n) {
            PageField& f = field(n);
            if (f.record.has(SplitAtExtra)) f.record = records[static_cast<std::size_t>(n - first_[page])];
        }
    }
}

void CasePages::load(const CaseData& data, std::optional<float> proponentBearing) {
    RestoreFieldRanges();
    for (int page : {1, 2, 4}) {
        const std::vector<std::string>& values =
            page == 1 ? data.casePage : page == 2 ? data.navaidPage : data.optionsPage;
        std::size_t i = 0;
        for (int n = first_[page]; n <= last_[page]; ++n) {
            PageField& f = field(n);
            if (f.record.isGap()) continue;
            const std::string value = i < values.size() ? values[i] : f.record.defaultText;
            ++i;
            f.text = displayText(f.record, value);
            if (f.record.type == FieldType::List && selectedOption(n) < 0)
                f.text = displayText(f.record, f.record.defaultText);
            SplitAtExtraValue(f.record, static_cast<float>(Val(f.text)));
        }
    }
    UpdateDependentFields();
    UpdateGridFields(proponentBearing);
    modified = false;
    checkDue = false;
}

void CasePages::store(CaseData& data) const {
    for (int page : {1, 2, 4}) {
        std::vector<std::string>& values = page == 1 ? data.casePage : page == 2 ? data.navaidPage : data.optionsPage;
        values.clear();
        for (int n = first_[page]; n <= last_[page]; ++n)
            if (!field(n).record.isGap()) values.push_back(field(n).text);
    }
}

FieldCommit CasePages::commitField(int n, const std::string& text, const std::optional<std::string>& before) {
    PageField& f = field(n);
    FieldCommit out;
    out.changed = (before ? *before : f.text) != text;
    f.text = text;
    if (out.changed) {
        modified = true;
        if (f.record.has(RecheckOnChange)) {
            checkDue = true;
            out.checkDue = true;
        }
    }
    return out;
}

int CasePages::serviceVolumeType() const {
    const int n = number("Service Volume Type", 2);
    return n ? static_cast<int>(std::lround(Val(field(n).text))) : 0;
}

int CasePages::gridType() const {
    const int n = number("Grid Type", 4);
    return n ? static_cast<int>(std::lround(Val(field(n).text))) : 0;
}

int CasePages::intermodOption() const {
    const int n = number("Intermod Calculations", 4);
    return n ? static_cast<int>(std::lround(Val(field(n).text))) : 0;
}

std::string CasePages::navaidFrequencyText() const {
    const int n = number("Frequency", 2);
    return n ? field(n).text : std::string();
}

double CasePages::navaidLatitude() const {
    const int n = number("Latitude", 2);
    return n ? crv::common::ParseLatLon(field(n).text) : 0.0;
}

double CasePages::navaidLongitude() const {
    const int n = number("Longitude", 2);
    return n ? crv::common::ParseLatLon(field(n).text) : 0.0;
}

std::string CasePages::erpHeader() const { return serviceVolumeType() == 8 ? "VP ERP" : "HP ERP"; }

std::string CasePages::erpLabel() const {
    return serviceVolumeType() == 8 ? "VP Effective Radiated Power (kW)" : "HP Effective Radiated Power (kW)";
}

void CasePages::setEnabled(int n, bool on) {
    if (!n) return;
    PageField& f = field(n);
    f.enabled = on && !f.record.has(ReadOnly) && !f.record.has(Hidden);
}

void CasePages::UpdateDependentFields() {
    const int t = serviceVolumeType();
    const int g = gridType();
    setEnabled(number("Runway Heading", 2), t < 5);
    setEnabled(number("Runway Length", 2), t < 5);
    relativeAngleEnabled_ = t < 5 && isAnyOf(g, {5, 7, 9, 10, 11});
}

void CasePages::UpdateGridFields(std::optional<float> proponentBearing) {
    const int t = serviceVolumeType();
    const int g = gridType();

    if (const int n = number("Grid Altitude", 4)) {
        PageField& f = field(n);
        if (g == 3 || g == 11) {
            setEnabled(n, true);
            if (trimBlanks(f.text).empty()) {
                const int elevation = number("Field Elevation", 2);
                // No 16-bit CInt here: a field elevation near its 99999 limit
                // must give a number, not an overflow.
                const double base = elevation ? crv::common::roundHalfEven(Val(field(elevation).text)) : 0.0;
                f.text = formatCellNumber(base + 1000.0, f.record.width, f.record.decimals);
            }
        } else {
            setEnabled(n, false);
            f.text.clear();
        }
    }

    const int angle = number("Grid Angle", 4);
    if (angle) {
        PageField& f = field(angle);
        if (isAnyOf(g, {5, 7, 9, 10, 11})) {
            setEnabled(angle, true);
            const int heading = number("Runway Heading", 2);
            if (trimBlanks(f.text).empty() && heading) f.text = field(heading).text;
        } else if (g == 4 || g == 6) {
            setEnabled(angle, false);
            if (proponentBearing) {
                const double turned = t < 5 ? static_cast<double>(*proponentBearing) + 180.0 : *proponentBearing;
                f.text = crv::common::FormatField(gridAngleDegrees(turned), f.record.width, f.record.decimals);
            } else {
                f.text.clear();
            }
        } else {
            setEnabled(angle, false);
            f.text.clear();
        }
    }

    setEnabled(number("Horizontal Increment", 4), g != 8 && g != 12);
    setEnabled(number("Vertical Increment", 4), isAnyOf(g, {4, 5, 6, 7, 12}));
    setEnabled(number("Coarse Grid Prescreening", 4), g != 8 && g != 12);
    if (t <= 4) relativeAngleEnabled_ = angle && field(angle).enabled;
}

std::vector<std::string> CasePages::rangeErrors() const {
    std::vector<std::string> errors;
    const int t = serviceVolumeType();
    const int g = gridType();
    for (const PageField& f : fields_) {
        const FieldRecord& r = f.record;
        if (r.isGap()) continue;
        // Fields the grid type or the service-volume type leave unused carry
        // a value the engine never reads: their range does not matter.
        const std::string& label = r.label;
        if ((label == "Runway Heading" || label == "Runway Length") && t >= 5) continue;
        if (label == "Grid Altitude" && g != 3 && g != 11) continue;
        if (label == "Grid Angle" && !isAnyOf(g, {4, 5, 6, 7, 9, 10, 11})) continue;
        if (label == "Horizontal Increment" && (g == 8 || g == 12)) continue;
        if (label == "Vertical Increment" && !isAnyOf(g, {4, 5, 6, 7, 12})) continue;
        // Hidden and read-only fields cannot be edited in this edition: a
        // finding about their range would be one the user cannot act on.
        // What matters of them is what the engine refuses (caseDataErrors).
        if (r.has(Hidden) || r.has(ReadOnly)) continue;
        const std::string shown = trimBlanks(f.text);
        switch (r.type) {
        case FieldType::Integer: case FieldType::Real: {
            const double v = Val(f.text);
            if (v < r.minimum || v > r.maximum)
                errors.push_back(label + ": " + shown + " is outside " + rangeText(r.minimum, r.maximum) + ".");
            else if (shown.size() > static_cast<std::size_t>(r.width))
                errors.push_back(label + ": " + shown + " does not fit its " + std::to_string(r.width) + " columns.");
            break;
        }
        case FieldType::Position:
            if (std::fabs(crv::common::ParseLatLon(f.text)) > r.maximum)
                errors.push_back(label + ": " + shown + " is beyond " + crv::common::formatGeneral(r.maximum) +
                                 " degrees.");
            break;
        case FieldType::List:
            if (selectedOption(f.number) < 0)
                errors.push_back(label + ": code " + shown + " is outside " + rangeText(r.minimum, r.maximum) + ".");
            break;
        case FieldType::UpperTextNotBlank:
            if (shown.empty()) errors.push_back(label + " is blank.");
            break;
        case FieldType::Date: {
            int y = 0, m = 0, d = 0;
            if (!shown.empty() && !crv::common::parseDate(shown, y, m, d))
                errors.push_back(label + ": " + shown + " is not a valid date.");
            break;
        }
        default:
            break;
        }
    }
    return errors;
}

namespace {

// The engine's navaid models: which array types each service-volume type
// takes (array type 0 is read as 6; type 1 suits every model).
bool arraySuitsVolume(int arrayType, int volumeType) {
    if (arrayType == 0) arrayType = 6;
    if (arrayType == 1) return true;
    if (volumeType >= 0 && volumeType <= 4) return (arrayType >= 2 && arrayType <= 35) || arrayType == 38;
    if (volumeType >= 5 && volumeType <= 7) return arrayType == 36;
    if (volumeType == 8) return arrayType == 37;
    return false;
}

// The engine reads at most this many RF sources (ignored ones aside), and
// its result files name RF-source lines up to this one.
constexpr int kMaxRfSources = 1280;
constexpr int kMaxRfLine = 36 * 36 - 1;

bool arrayUsesPower(int arrayType) {
    if (arrayType == 0) arrayType = 6;
    return (arrayType >= 2 && arrayType <= 31) || arrayType == 33 || arrayType == 34 || arrayType == 36 ||
           arrayType == 37 || arrayType == 38;
}

std::string pageText(const CasePages& pages, int page, const char* label) {
    const int n = pages.fieldNumber(page, label);
    return n ? pages.field(n).text : std::string();
}

}  // namespace

std::vector<std::string> caseDataErrors(const CasePages& pages, const RfTable& table) {
    std::vector<std::string> errors = pages.rangeErrors();

    // What the engine's case reader refuses of the navaid, hidden fields
    // included: the case would never run.
    const int array = static_cast<int>(std::lround(Val(pageText(pages, 2, "Array Type"))));
    const int volume = pages.serviceVolumeType();
    if (!arraySuitsVolume(array, volume))
        errors.push_back("Array Type " + std::to_string(array) + " cannot be used with Service Volume Type " +
                         std::to_string(volume) + ".");
    if (arrayUsesPower(array) && pages.fieldNumber(2, "Transmitter Power") &&
        !(Val(pageText(pages, 2, "Transmitter Power")) > 0))
        errors.push_back("Transmitter Power must be greater than 0 for Array Type " + std::to_string(array) + ".");
    if (volume == 8 && pages.fieldNumber(2, "Service Volume Radius") &&
        !(Val(pageText(pages, 2, "Service Volume Radius")) > 0))
        errors.push_back("Service Volume Radius must be greater than 0 for a VHF COM case.");

    // The grid increments the engine's grid needs: one it cannot use stops
    // every run. An editable increment is range-checked above; one this
    // edition does not let the user change gets a finding that says how to
    // get a case that runs.
    const int grid = pages.gridType();
    const bool usesHorizontal = grid != 8 && grid != 12;
    const bool usesVertical = isAnyOf(grid, {4, 5, 6, 7, 12});
    for (auto [label, used] : {std::pair{"Horizontal Increment", usesHorizontal}, {"Vertical Increment", usesVertical}}) {
        const int n = pages.fieldNumber(4, label);
        if (!n || !used) continue;
        const PageField& f = pages.field(n);
        if (!f.record.has(Hidden) && !f.record.has(ReadOnly)) continue;
        if (Val(f.text) > 0) continue;
        errors.push_back(std::string(label) + " is " + trimBlanks(f.text) + " ft; a run with Grid Type " +
                         std::to_string(grid) + " needs more than 0 ft. This edition cannot change it: choose a "
                         "Grid Type that does not use it, or create the case again with File > New in the main "
                         "window.");
    }

    const long navaid = kHz(Val(pages.navaidFrequencyText()));
    int read = 0;
    for (int r = 1; r <= table.rowCount(); ++r) {
        if (table.flags(r) & RowIgnored) continue;
        ++read;
        const std::string call = trimBlanks(table.cell(r, 1));
        const std::string where = "RF source " + call + " (row " + std::to_string(r) + ")";
        if (r > kMaxRfLine)
            errors.push_back(where + " stands after line " + std::to_string(kMaxRfLine) +
                             " of the RF sources, which result files cannot name.");
        const double mhz = Val(table.cell(r, table.frequencyColumn()));
        // Every station the engine reads needs a usable frequency and ERP,
        // whether or not it takes part in the check.
        if (!(mhz > 0)) errors.push_back(where + ": the frequency must be greater than 0 MHz.");
        else if (kHz(mhz) == navaid) errors.push_back(where + " is on the navaid frequency.");
        if (table.erpColumn() && !(Val(table.cell(r, table.erpColumn())) > 0))
            errors.push_back(where + ": the ERP must be greater than 0.");
        for (int c : {table.latitudeColumn(), table.longitudeColumn()}) {
            if (!c) continue;
            const FieldRecord& rec = table.column(c).record;
            if (std::fabs(crv::common::ParseLatLon(table.cell(r, c))) > rec.maximum)
                errors.push_back(where + ": " + rec.label + " is beyond " + crv::common::formatGeneral(rec.maximum) +
                                 " degrees.");
        }
    }
    if (read > kMaxRfSources)
        errors.push_back("The case holds " + std::to_string(read) + " RF sources that are not ignored; a run takes " +
                         std::to_string(kMaxRfSources) + " at most.");
    return errors;
}

}  // namespace crv::editors
