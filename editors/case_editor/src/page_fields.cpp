#include "crv/editors/case_editor/page_fields.h"

#include <cmath>

#include "crv/common/conversions.h"
#include "crv/common/lat_lon.h"
#include "crv/common/text_utils.h"

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

}  // namespace

int FieldBox::code() const {
    if (isCheck()) return checkState;
    if (isList()) return listIndex < 0 ? 0 : listIndex + static_cast<int>(std::lround(record.minimum));
    return 0;
}

PageFields::PageFields(CasePages& pages, const std::string& editionCode, EditorState& state,
                       crv::common::MessagePresenter& presenter)
    : pages_(pages), state_(state), presenter_(presenter), editionCode_(editionCode) {
    setUp();
}

PageFields::PageFields(const FieldDictionary& dictionary, EditorState& state, crv::common::MessagePresenter& presenter)
    : owned_(std::make_unique<CasePages>(dictionary)),
      pages_(*owned_),
      state_(state),
      presenter_(presenter),
      editionCode_(dictionary.editionCode()) {
    setUp();
}

void PageFields::setUp() {
    int next = kFirstPageField;
    for (int page : {1, 2, 4}) {
        first_[page] = next;
        setUpPage(page, next);
        last_[page] = next - 1;
    }
    sync();
}

void PageFields::setUpPage(int page, int& next) {
    int column = 0;
    int y = kFirstRowTop;
    const int count = pages_.lastField(page) - pages_.firstField(page) + 1;
    for (int k = 0; k < count; ++k) {
        const FieldRecord& r = pages_.field(pages_.firstField(page) + k).record;
        FieldBox f;
        f.number = next;
        f.page = page;
        f.record = r;
        if (r.isGap()) {
            y += kRowStep;
            gaps_.push_back(true);
            f.visible = false;
        } else {
            gaps_.push_back(false);
            f.wide = r.width >= 15 && f.isTextBox();
            f.gridColumn = column;
            f.gridRow = (y - kFirstRowTop) / kRowStep;
            if (r.has(Hidden))
                f.visible = false;
            else
                y += kRowStep;
            const std::string& l = r.label;
            int* special = nullptr;
            if (page == 1 && l == "Site") special = &siteField;
            if (page == 2) {
                if (l == "Array Type")
                    special = &arrayTypeField;
                else if (l == "Service Volume Type")
                    special = &svTypeField;
                else if (l == "Frequency")
                    special = &frequencyField;
                else if (l == "Latitude")
                    special = &latitudeField;
                else if (l == "Longitude")
                    special = &longitudeField;
                else if (l == "Runway Heading")
                    special = &runwayHeadingField;
                else if (l == "Field Elevation")
                    special = &fieldElevationField;
                else if (l == "Runway Length")
                    special = &runwayLengthField;
                else if (l == "Service Volume Radius")
                    special = &svRadiusField;
                else if (l == "Service Volume Height")
                    special = &svHeightField;
            }
            if (page == 4) {
                if (l == "Grid Type")
                    special = &gridTypeField;
                else if (l == "Intermod Calculations")
                    special = &intermodField;
                else if (l == "Antenna Rejection")
                    special = &antennaRejectionField;
                else if (l == "Interference Criteria")
                    special = &interferenceField;
                else if (l == "Cutoff Criteria")
                    special = &cutoffField;
                else if (l == "Grid Altitude")
                    special = &gridAltitudeField;
                else if (l == "Grid Angle")
                    special = &gridAngleField;
                else if (l == "Horizontal Increment")
                    special = &horizontalIncrementField;
                else if (l == "Vertical Increment")
                    special = &verticalIncrementField;
                else if (l == "Coarse Grid Prescreening")
                    special = &coarseGridField;
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
    int used = 0;
    for (int n = first_[page]; n < next; ++n) {
        const std::size_t i = static_cast<std::size_t>(n - kFirstPageField);
        if (!gaps_[i] && fields_[i].visible) used = std::max(used, fields_[i].gridColumn + 1);
    }
    columns_[page] = used;
}

int PageFields::firstField(int page) const { return first_[page]; }
int PageFields::lastField(int page) const { return last_[page]; }
int PageFields::columnCount(int page) const { return columns_[page]; }

FieldBox* PageFields::field(int number) {
    const int i = number - kFirstPageField;
    if (i < 0 || i >= static_cast<int>(fields_.size()) || gaps_[static_cast<std::size_t>(i)]) return nullptr;
    return &fields_[static_cast<std::size_t>(i)];
}

const FieldBox* PageFields::field(int number) const { return const_cast<PageFields*>(this)->field(number); }

std::vector<int> PageFields::fieldNumbers(int page) const {
    std::vector<int> out;
    for (int n = first_[page]; n <= last_[page]; ++n)
        if (field(n)) out.push_back(n);
    return out;
}

int PageFields::fieldNumber(int page, const std::string& label) const { return pages_.fieldNumber(page, label); }

void PageFields::sync() {
    for (auto& f : fields_) {
        if (f.record.isGap() && f.number >= kFirstPageField &&
            gaps_[static_cast<std::size_t>(f.number - kFirstPageField)])
            continue;
        const PageField& m = pages_.field(f.number);
        f.record = m.record;
        f.enabled = m.enabled && f.visible;
        if (f.isList()) {
            f.options = pages_.optionTexts(f.number);
            f.listIndex = pages_.selectedOption(f.number);
        } else if (f.isCheck()) {
            f.checkState = Val(m.text) != 0 ? 1 : 0;
        } else if (!(f.number == state_.currentField && state_.editState != 0)) {
            f.value = m.text;
            if (f.isPosition()) {
                const int fmt = 1;
                const char h = f.value.empty() ? (f.record.minimum == 1 ? 'N' : 'W') : f.value[0];
                f.maskText = crv::common::LatLonMask(h, fmt);
            }
        }
        notify(f.number);
    }
    // The page model's own flags are not the editor's: the editor decides
    // from the tags what the user changed.
    pages_.modified = false;
    pages_.checkDue = false;
}

std::optional<float> PageFields::bearing() const {
    if (!proponentBearing) return std::nullopt;
    return proponentBearing(static_cast<float>(pages_.navaidLatitude()), static_cast<float>(pages_.navaidLongitude()));
}

void PageFields::notify(int n) const {
    if (fieldChanged) fieldChanged(n);
}

crv::common::FieldCheck PageFields::fieldCheck(FieldBox& f) const {
    crv::common::FieldCheck c = pages_.fieldCheck(f.number);
    c.control = &f;
    return c;
}

void PageFields::RestoreFieldRanges() {
    pages_.RestoreFieldRanges();
    sync();
}

void PageFields::load(const CaseData& data) {
    state_.editState = 0;
    state_.currentField = -1;
    pages_.load(data, std::nullopt);
    // The proponent's bearing needs the navaid position just read.
    pages_.UpdateGridFields(bearing());
    shown();
}

void PageFields::shown() {
    state_.editState = 0;
    refusedField_ = -1;
    state_.currentField = -1;
    for (auto& f : fields_) f.tag.clear();
    sync();
}

void PageFields::store(CaseData& data) const { pages_.store(data); }

DiagramKind PageFields::diagramStep(const FieldBox& f) const {
    const bool gridPage = f.page == 4 && editionCode_ == "FLD";
    if (f.isPosition()) return DiagramKind::Hidden;
    if (f.isList()) {
        if (f.number == arrayTypeField) return DiagramKind::ArrayPattern;
        if (f.number == svTypeField) return DiagramKind::ServiceVolume;
    }
    return gridPage ? DiagramKind::Grid : DiagramKind::Hidden;
}

DiagramKind PageFields::gotFocus(int n) {
    FieldBox* f = field(n);
    if (!f) return DiagramKind::Hidden;
    // The focus handed back to a field whose value was just refused is no
    // new entry: Escape must still put back what the field held before the
    // refused edit, not the refused text.
    const bool refusedReturn = n == refusedField_;
    if (refusedReturn) {
        if (f->isPosition()) f->caret = 2;
        return diagramStep(*f);
    }
    if (f->isList())
        f->tag = std::to_string(f->listIndex);
    else if (f->isCheck())
        f->tag = std::to_string(f->checkState);
    else
        f->tag = f->value;
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
               " the \"Coarse Grid Prescreening\" option should " + kCR +
               " NOT be selected.  This reduces the chance of " + kCR + " missing small areas of interference. ";
    } else {
        return false;
    }
    text += std::string(1, kCR) + kCR + " Continue with the change? ";
    return presenter_.present(Message{text, "Warning", MessageIcon::Exclamation, MessageButtons::YesNo}) !=
           MessageAnswer::Yes;
}

KeyAction PageFields::keyPress(int n, std::int16_t& key) {
    FieldBox* f = field(n);
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
    FieldBox* f = field(n);
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
    if (FieldBox* f = field(n)) f->value = text;
}

void PageFields::escape(int n) {
    FieldBox* f = field(n);
    if (!f) return;
    state_.editState = 0;
    refusedField_ = -1;
    if (f->isList() || f->isCheck()) {
        const int old = static_cast<int>(Val(f->tag));
        if (f->isList())
            pages_.selectOption(n, old);
        else
            pages_.commitField(n, std::to_string(old));
        afterListChange(n);
    } else {
        if (f->isPosition() && !f->tag.empty() && !f->maskText.empty() && f->maskText[0] != f->tag[0])
            f->maskText[0] = f->tag[0];
        f->value = f->tag;
        if (f->isPosition()) f->caret = 2;
        notify(n);
    }
}

void PageFields::afterListChange(int n) {
    if (n == svTypeField) pages_.UpdateDependentFields();
    if (n == gridTypeField) pages_.UpdateGridFields(bearing());
    sync();
}

bool PageFields::listClick(int n, int index, DiagramKind* diagram) {
    FieldBox* f = field(n);
    if (!f) return false;
    if (!listGuard_) {
        listGuard_ = true;
        if (state_.editState == 0 && f->record.has(ConfirmChange) && ConfirmFieldChange()) {
            listGuard_ = false;
            notify(n);  // the box goes back to the model's choice
            return false;
        }
        state_.editState = 1;
    }
    listGuard_ = false;
    pages_.selectOption(n, index);
    afterListChange(n);
    DiagramKind d = DiagramKind::Hidden;
    if (n == arrayTypeField)
        d = DiagramKind::ArrayPattern;
    else if (n == svTypeField)
        d = DiagramKind::ServiceVolume;
    else if (f->page == 4 && editionCode_ == "FLD")
        d = DiagramKind::Grid;
    if (diagram) *diagram = d;
    return true;
}

bool PageFields::checkClick(int n, int checkState) {
    FieldBox* f = field(n);
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
    pages_.commitField(n, checkState ? "1" : "0");
    sync();
    return true;
}

bool PageFields::CommitFieldEdit() {
    FieldBox* f = field(state_.currentField);
    state_.editState = 0;
    // Only the refused field's own commit ends its refusal: a list the focus
    // passed through on its way back commits too.
    if (state_.currentField == refusedField_) refusedField_ = -1;
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
            refusedField_ = f->number;
            f->caret = f->isPosition() ? 2 : 0;
            notify(f->number);
            return false;
        }
        changed = f->value != f->tag;
        pages_.commitField(f->number, f->value);
        sync();
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
    pages_.UpdateDependentFields();
    sync();
}

void PageFields::UpdateGridFields() {
    pages_.UpdateGridFields(bearing());
    sync();
}

int PageFields::relAngleCourse() const {
    return runwayHeadingField ? crv::common::toInt16(Val(pages_.field(runwayHeadingField).text)) : 0;
}

int PageFields::relAngleCurrent() const {
    return gridAngleField ? crv::common::toInt16(Val(pages_.field(gridAngleField).text)) : 0;
}

void PageFields::applyRelAngle(float angle, int oldAngle) {
    if (!gridAngleField || angle == static_cast<float>(oldAngle)) return;
    pages_.commitField(gridAngleField, crv::common::FormatField(angle, 3, 0));
    sync();
    state_.modified = true;
}

int PageFields::focusFieldFor(int page) const {
    auto enabled = [&](int n) {
        const FieldBox* f = field(n);
        return f && f->enabled && f->visible;
    };
    switch (page) {
        case 1: return siteField;
        case 2: return enabled(runwayLengthField) ? runwayLengthField : fieldElevationField;
        case 4: return enabled(gridTypeField) ? gridTypeField : intermodField;
        default: return 0;
    }
}

}  // namespace crv::editors
