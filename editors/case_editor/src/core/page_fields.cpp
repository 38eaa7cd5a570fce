#include "crv/editors/case_editor/page_fields.h"

#include <cmath>

#include "crv/common/conversions.h"
#include "crv/common/lat_lon.h"
#include "crv/common/math_utils.h"
#include "crv/common/text_utils.h"
#include "crv/editors/range_split.h"

namespace crv::editors {

using crv::common::kCR;
using crv::common::Message;
using crv::common::MessageAnswer;
using crv::common::MessageButtons;
using crv::common::MessageIcon;
using crv::common::Val;

namespace {

constexpr int kFirstPageField = 16;
constexpr int kRowStep = 780;
constexpr int kFirstRowTop = 600;
constexpr int kLastRowTop = 4800;

std::string trim(const std::string& s) {
    const auto b = s.find_first_not_of(' ');
    if (b == std::string::npos) return {};
    return s.substr(b, s.find_last_not_of(' ') - b + 1);
}

bool oneOf(int v, std::initializer_list<int> set) {
    for (int s : set)
        if (v == s) return true;
    return false;
}

}  // namespace

int PageField::code() const {
    if (isCheck()) return checkState;
    if (isList()) return listIndex < 0 ? 0 : listIndex + static_cast<int>(std::lround(record.minimum));
    return 0;
}

PageFields::PageFields(const FieldDictionary& dictionary, EditorState& state, crv::common::MessagePresenter& presenter)
    : dictionary_(dictionary), state_(state), presenter_(presenter), editionCode_(dictionary.editionCode()) {
    int next = kFirstPageField;
    for (int page : {1, 2, 4}) {
        first_[page] = next;
        setUpPage(page, next);
        last_[page] = next - 1;
    }
}

void PageFields::setUpPage(int page, int& next) {
    const auto records = dictionary_.pageRecords(page);
    int column = 0;
    int y = kFirstRowTop;
    for (const auto& r : records) {
        PageField f;
        f.number = next;
        f.page = page;
        f.dictionary = r;
        if (r.isGap()) {
            y += kRowStep;
            gaps_.push_back(true);
            f.visible = false;
        } else {
            gaps_.push_back(false);
            setRange(f, r);
            f.wide = r.width >= 15 && f.isTextBox();
            f.gridColumn = column;
            f.gridRow = (y - kFirstRowTop) / kRowStep;
            f.value = f.isTextBox() ? std::string() : std::string();
            if (r.has(Hidden)) {
                f.visible = false;
            } else {
                f.enabled = !r.has(ReadOnly);
                y += kRowStep;
            }
            const std::string& l = r.label;
            int* special = nullptr;
            if (page == 1 && l == "Site") special = &siteField;
            if (page == 2) {
                if (l == "Array Type") special = &arrayTypeField;
                else if (l == "Service Volume Type") special = &svTypeField;
                else if (l == "Frequency") special = &frequencyField;
                else if (l == "Latitude") special = &latitudeField;
                else if (l == "Longitude") special = &longitudeField;
                else if (l == "Runway Heading") special = &runwayHeadingField;
                else if (l == "Field Elevation") special = &fieldElevationField;
                else if (l == "Runway Length") special = &runwayLengthField;
                else if (l == "Service Volume Radius") special = &svRadiusField;
                else if (l == "Service Volume Height") special = &svHeightField;
            }
            if (page == 4) {
                if (l == "Grid Type") special = &gridTypeField;
                else if (l == "Intermod Calculations") special = &intermodField;
                else if (l == "Antenna Rejection") special = &antennaRejectionField;
                else if (l == "Interference Criteria") special = &interferenceField;
                else if (l == "Cutoff Criteria") special = &cutoffField;
                else if (l == "Grid Altitude") special = &gridAltitudeField;
                else if (l == "Grid Angle") special = &gridAngleField;
                else if (l == "Horizontal Increment") special = &horizontalIncrementField;
                else if (l == "Vertical Increment") special = &verticalIncrementField;
                else if (l == "Coarse Grid Prescreening") special = &coarseGridField;
            }
            if (special) *special = next;
        }
        fields_.push_back(std::move(f));
        ++next;
        if (y > kLastRowTop) {
            y = kFirstRowTop;
            ++column;
        }
    }
    // A column only counts when something stands in it.
    int used = 0;
    for (int n = first_[page]; n < next; ++n) {
        const auto& f = fields_[static_cast<std::size_t>(n - kFirstPageField)];
        if (!gaps_[static_cast<std::size_t>(n - kFirstPageField)] && f.visible) used = std::max(used, f.gridColumn + 1);
    }
    columns_[page] = used;
}

int PageFields::firstField(int page) const { return first_[page]; }
int PageFields::lastField(int page) const { return last_[page]; }
int PageFields::columnCount(int page) const { return columns_[page]; }

PageField* PageFields::field(int number) {
    const int i = number - kFirstPageField;
    if (i < 0 || i >= static_cast<int>(fields_.size()) || gaps_[static_cast<std::size_t>(i)]) return nullptr;
    return &fields_[static_cast<std::size_t>(i)];
}

const PageField* PageFields::field(int number) const { return const_cast<PageFields*>(this)->field(number); }

std::vector<int> PageFields::fieldNumbers(int page) const {
    std::vector<int> out;
    for (int n = first_[page]; n <= last_[page]; ++n)
        if (field(n)) out.push_back(n);
    return out;
}

int PageFields::fieldNumber(int page, const std::string& label) const {
    for (int n : fieldNumbers(page))
        if (field(n)->record.label == label) return n;
    return 0;
}

void PageFields::setRange(PageField& f, const FieldRecord& r) {
    f.record = r;
    if (r.type == FieldType::List) f.options = dictionary_.optionTexts(r);
}

void PageFields::setEnabled(PageField& f, bool on) {
    const bool e = on && !f.record.has(ReadOnly);
    if (f.enabled == e) return;
    f.enabled = e;
    notify(f.number);
}

void PageFields::setValue(PageField& f, const std::string& v) {
    f.value = v;
    notify(f.number);
}

void PageFields::notify(int n) const {
    if (fieldChanged) fieldChanged(n);
}

int PageFields::listCode(int n) const {
    const PageField* f = field(n);
    return f ? f->code() : 0;
}

crv::common::FieldCheck PageFields::fieldCheck(PageField& f) const {
    crv::common::FieldCheck c;
    c.control = &f;
    c.min = f.record.minimum;
    c.max = f.record.maximum;
    c.extra = f.record.extra;
    c.kind = static_cast<std::int32_t>(f.record.type);
    c.width = static_cast<std::int16_t>(f.record.width);
    c.decimals = static_cast<std::int16_t>(f.record.decimals);
    return c;
}

void PageFields::RestoreFieldRanges() {
    for (auto& f : fields_) {
        if (f.dictionary.isGap() || !f.dictionary.has(SplitAtExtra)) continue;
        if (f.isList() || f.record.type == FieldType::Integer || f.record.type == FieldType::Real) {
            setRange(f, f.dictionary);
            notify(f.number);
        }
    }
}

void PageFields::load(const CaseData& data) {
    for (int page : {1, 2, 4}) {
        const auto& values = page == 1 ? data.casePage : page == 2 ? data.navaidPage : data.optionsPage;
        std::size_t i = 0;
        for (int n : fieldNumbers(page)) {
            PageField& f = *field(n);
            const std::string piece = i < values.size() ? values[i] : std::string();
            ++i;
            const auto& r = f.record;
            switch (r.type) {
                case FieldType::Integer:
                case FieldType::Real: {
                    const double v = Val(piece);
                    FieldRecord narrowed = r;
                    SplitAtExtraValue(narrowed, static_cast<float>(v));
                    setRange(f, narrowed);
                    f.value = crv::common::FormatField(v, r.width, r.decimals);
                    break;
                }
                case FieldType::Position: {
                    const int kind = static_cast<int>(std::lround(r.minimum));
                    const int fmt = r.decimals > 0 ? r.decimals : 1;
                    f.value = crv::common::FormatLatLon(crv::common::ParseLatLon(piece), kind, fmt);
                    f.maskText = crv::common::LatLonMask(f.value.empty() ? (kind == 1 ? 'N' : 'W') : f.value[0], fmt);
                    break;
                }
                case FieldType::List: {
                    double v = Val(piece);
                    if (v < r.minimum || v > r.maximum) v = Val(r.defaultText);
                    FieldRecord narrowed = r;
                    SplitAtExtraValue(narrowed, static_cast<float>(v));
                    setRange(f, narrowed);
                    const long pos = std::lround(v - f.record.minimum);
                    f.listIndex = pos >= 0 && pos < static_cast<long>(f.options.size()) ? static_cast<int>(pos) : -1;
                    break;
                }
                case FieldType::CheckBox: f.checkState = Val(piece) != 0 ? 1 : 0; break;
                default: f.value = piece; break;
            }
            f.tag.clear();
            notify(n);
        }
    }
    UpdateDependentFields();
    UpdateGridFields();
}

void PageFields::store(CaseData& data) const {
    for (int page : {1, 2, 4}) {
        auto& values = page == 1 ? data.casePage : page == 2 ? data.navaidPage : data.optionsPage;
        values.clear();
        for (int n : fieldNumbers(page)) {
            const PageField& f = *field(n);
            if (f.isList() || f.isCheck()) values.push_back(std::to_string(f.code()));
            else values.push_back(trim(f.value));
        }
    }
}

DiagramKind PageFields::diagramStep(const PageField& f) const {
    const bool gridPage = f.page == 4 && editionCode_ == "FLD";
    if (f.isPosition()) return DiagramKind::Hidden;
    if (f.isList()) {
        if (f.number == arrayTypeField) return DiagramKind::ArrayPattern;
        if (f.number == svTypeField) return DiagramKind::ServiceVolume;
    }
    return gridPage ? DiagramKind::Grid : DiagramKind::Hidden;
}

DiagramKind PageFields::gotFocus(int n) {
    PageField* f = field(n);
    if (!f) return DiagramKind::Hidden;
    if (f->isList()) f->tag = std::to_string(f->listIndex);
    else if (f->isCheck()) f->tag = std::to_string(f->checkState);
    else f->tag = f->value;
    if (f->isPosition()) f->caret = 2;
    state_.currentField = n;
    return diagramStep(*f);
}

bool PageFields::ConfirmFieldChange() const {
    std::string text;
    if (state_.currentPage == 2) {
        text = std::string(" Changing this parameter is inconsistent with ") + kCR +
               " the navaid data obtained during the search. ";
    } else if (state_.currentPage == 4) {
        text = std::string(" If Horizontal Increment is greater than 1000 feet, ") + kCR +
               " the \"Coarse Grid Prescreening\" option should " + kCR + " NOT be selected.  This reduces the chance of " +
               kCR + " missing small areas of interference. ";
    } else {
        return false;
    }
    text += std::string(1, kCR) + kCR + " Continue with the change? ";
    return presenter_.present(Message{text, "Warning", MessageIcon::Exclamation, MessageButtons::YesNo}) !=
           MessageAnswer::Yes;
}

KeyAction PageFields::keyPress(int n, std::int16_t& key) {
    PageField* f = field(n);
    if (!f) return KeyAction::Beep;
    if (key == 13) {
        key = 0;
        return KeyAction::SendTab;
    }
    if (key == 27) {
        key = 0;
        escape(n);
        return KeyAction::Swallow;
    }
    // Other control characters have no place in a field (a tab or a line
    // break would break the file's columns).
    if (key != 8 && key >= 0 && key < 32) {
        key = 0;
        return KeyAction::Beep;
    }
    if (state_.editState == 0 && f->record.has(ConfirmChange) && ConfirmFieldChange()) {
        key = 0;
        return KeyAction::Swallow;
    }
    state_.editState = 1;
    auto check = fieldCheck(*f);
    switch (crv::common::FilterKeyPress(check, key)) {
        case crv::common::KeyVerdict::Passed: return KeyAction::Pass;
        case crv::common::KeyVerdict::Swallowed: notify(n); return KeyAction::Swallow;
        case crv::common::KeyVerdict::Rejected: return KeyAction::Beep;
    }
    return KeyAction::Beep;
}

std::string PageFields::filterPaste(int n, const std::string& text) {
    PageField* f = field(n);
    if (!f) return {};
    std::string out;
    for (char ch : text) {
        const unsigned char u = static_cast<unsigned char>(ch);
        if (u < 32 || u == 127) continue;
        std::int16_t key = u;
        if (f->isPosition()) {
            keyPress(n, key);
            continue;
        }
        if (keyPress(n, key) == KeyAction::Pass && key != 0) out += static_cast<char>(key);
    }
    return out;
}

void PageFields::textChanged(int n, const std::string& text) {
    if (PageField* f = field(n)) f->value = text;
}

void PageFields::escape(int n) {
    PageField* f = field(n);
    if (!f) return;
    if (f->isList()) f->listIndex = static_cast<int>(Val(f->tag));
    else if (f->isCheck()) f->checkState = static_cast<int>(Val(f->tag));
    else {
        if (f->isPosition() && !f->tag.empty() && !f->maskText.empty() && f->maskText[0] != f->tag[0])
            f->maskText[0] = f->tag[0];
        f->value = f->tag;
        if (f->isPosition()) f->caret = 2;
    }
    state_.editState = 0;
    if (f->isList() && f->number == gridTypeField) UpdateGridFields();
    if (f->isList() && f->number == svTypeField) UpdateDependentFields();
    notify(n);
}

bool PageFields::listClick(int n, int index, DiagramKind* diagram) {
    PageField* f = field(n);
    if (!f) return false;
    if (index == f->listIndex && n == state_.currentField && state_.editState == 0) return true;
    if (!listGuard_) {
        listGuard_ = true;
        if (state_.editState == 0 && f->record.has(ConfirmChange) && ConfirmFieldChange()) {
            listGuard_ = false;
            notify(n);
            return false;
        }
        state_.editState = 1;
    }
    listGuard_ = false;
    f->listIndex = index;
    DiagramKind d = DiagramKind::Hidden;
    if (n == arrayTypeField) d = DiagramKind::ArrayPattern;
    else if (n == svTypeField) {
        UpdateDependentFields();
        d = DiagramKind::ServiceVolume;
    } else if (f->page == 4) {
        if (n == gridTypeField) UpdateGridFields();
        d = editionCode_ == "FLD" ? DiagramKind::Grid : DiagramKind::Hidden;
    }
    if (diagram) *diagram = d;
    notify(n);
    return true;
}

bool PageFields::checkClick(int n, int checkState) {
    PageField* f = field(n);
    if (!f) return false;
    if (!checkGuard_) {
        checkGuard_ = true;
        if (state_.editState == 0 && f->record.has(ConfirmChange) && ConfirmFieldChange()) {
            checkGuard_ = false;
            notify(n);
            return false;
        }
        state_.editState = 1;
    }
    checkGuard_ = false;
    f->checkState = checkState ? 1 : 0;
    notify(n);
    return true;
}

bool PageFields::CommitFieldEdit() {
    PageField* f = field(state_.currentField);
    state_.editState = 0;
    if (!f) return true;
    bool changed = false;
    if (f->isList()) {
        changed = std::to_string(f->listIndex) != f->tag;
    } else if (f->isCheck()) {
        changed = std::to_string(f->checkState) != f->tag;
    } else {
        auto check = fieldCheck(*f);
        if (!crv::common::ValidateField(check, presenter_)) {
            state_.editState = 1;
            f->caret = f->isPosition() ? 2 : 0;
            notify(f->number);
            return false;
        }
        changed = f->value != f->tag;
        notify(f->number);
    }
    if (changed) {
        state_.modified = true;
        if (f->record.has(RecheckOnChange)) {
            state_.checkDue = true;
            state_.imodsEnabled = true;
        }
    }
    return true;
}

void PageFields::UpdateDependentFields() {
    const int t = listCode(svTypeField);
    const int g = listCode(gridTypeField);
    if (PageField* f = field(runwayHeadingField)) setEnabled(*f, t < 5);
    if (PageField* f = field(runwayLengthField)) setEnabled(*f, t < 5);
    relAngleEnabled_ = t < 5 && oneOf(g, {5, 7, 9, 10, 11});
}

void PageFields::UpdateGridFields() {
    const int t = listCode(svTypeField);
    const int g = listCode(gridTypeField);
    if (PageField* a = field(gridAltitudeField)) {
        if (g != 3 && g != 11) {
            setEnabled(*a, false);
            setValue(*a, "");
        } else {
            setEnabled(*a, true);
            if (trim(a->value).empty()) {
                const PageField* e = field(fieldElevationField);
                const double elevation = e ? crv::common::toInt16(Val(e->value)) : 0;
                setValue(*a, crv::common::FormatField(elevation + 1000, a->record.width, a->record.decimals));
            }
        }
    }
    if (PageField* a = field(gridAngleField)) {
        if (oneOf(g, {5, 7, 9, 10, 11})) {
            setEnabled(*a, true);
            if (trim(a->value).empty()) {
                const PageField* h = field(runwayHeadingField);
                setValue(*a, h ? h->value : std::string());
            }
        } else if (g == 4 || g == 6) {
            setEnabled(*a, false);
            std::optional<float> bearing;
            const PageField* lat = field(latitudeField);
            const PageField* lon = field(longitudeField);
            if (proponentBearing && lat && lon)
                bearing = proponentBearing(static_cast<float>(crv::common::ParseLatLon(lat->value)),
                                           static_cast<float>(crv::common::ParseLatLon(lon->value)));
            if (bearing) {
                float b = *bearing;
                if (t < 5) b = crv::common::WrapAngle(b + 180.0f, 0.0f, 360.0f);
                setValue(*a, crv::common::FormatField(b, a->record.width, a->record.decimals));
            } else {
                setValue(*a, "");
            }
        } else {
            setEnabled(*a, false);
            setValue(*a, "");
        }
    }
    if (PageField* f = field(horizontalIncrementField)) setEnabled(*f, g != 8 && g != 12);
    if (PageField* f = field(verticalIncrementField)) setEnabled(*f, oneOf(g, {4, 5, 6, 7, 12}));
    if (PageField* f = field(coarseGridField)) setEnabled(*f, g != 8 && g != 12);
    if (t <= 4) {
        const PageField* a = field(gridAngleField);
        relAngleEnabled_ = a && a->enabled;
    }
}

int PageFields::relAngleCourse() const {
    const PageField* f = field(runwayHeadingField);
    return f ? crv::common::toInt16(Val(f->value)) : 0;
}

int PageFields::relAngleCurrent() const {
    const PageField* f = field(gridAngleField);
    return f ? crv::common::toInt16(Val(f->value)) : 0;
}

void PageFields::applyRelAngle(float angle, int oldAngle) {
    PageField* f = field(gridAngleField);
    if (!f || angle == static_cast<float>(oldAngle)) return;
    setValue(*f, crv::common::FormatField(angle, 3, 0));
    state_.modified = true;
}

int PageFields::focusFieldFor(int page) const {
    auto enabled = [&](int n) {
        const PageField* f = field(n);
        return f && f->enabled && f->visible;
    };
    switch (page) {
        case 1: return siteField;
        case 2: return enabled(runwayLengthField) ? runwayLengthField : fieldElevationField;
        case 4: return enabled(gridTypeField) ? gridTypeField : intermodField;
        default: return 0;
    }
}

std::string PageFields::gridTypeText() const {
    const PageField* f = field(gridTypeField);
    if (!f || f->listIndex < 0 || f->listIndex >= static_cast<int>(f->options.size())) return {};
    return f->options[static_cast<std::size_t>(f->listIndex)];
}

}  // namespace crv::editors
