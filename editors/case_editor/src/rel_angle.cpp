#include "crv/editors/case_editor/rel_angle.h"

#include <cmath>

#include "crv/common/conversions.h"
#include "crv/common/math_utils.h"
#include "crv/common/text_utils.h"

namespace crv::editors {

RelAngleLogic::RelAngleLogic(float locAngle, float gridAngle) : locAngle_(locAngle) {
    float rel = crv::common::WrapAngle(gridAngle - locAngle, -180.0f, 180.0f);
    if (rel > 0) {
        orientation_ = Orientation::Left;
    } else if (rel < 0) {
        orientation_ = Orientation::Right;
        rel = -rel;
    } else {
        orientation_ = Orientation::Center;
    }
    // At least two columns as the dialog always showed them, but never cut:
    // a relative angle of 100 shows "100", not "10".
    text_ = crv::common::FormatField(rel, rel >= 99.5f ? 3 : 2, 0);
}

void RelAngleLogic::selectOrientation(Orientation o, bool shown) {
    orientation_ = o;
    if (shown) text_ = crv::common::FormatField(0, 2, 0);
}

void RelAngleLogic::step(int delta) {
    double v = std::round(crv::common::Val(text_));
    if (v < kMinimum || v > kMaximum) v = v < kMinimum ? kMinimum : kMaximum;
    else if (v + delta >= kMinimum && v + delta <= kMaximum) v += delta;
    text_ = crv::common::FormatField(v, 2, 0);
}

crv::common::FieldCheck RelAngleLogic::check() {
    crv::common::FieldCheck c;
    c.control = this;
    c.min = kMinimum;
    c.max = kMaximum;
    c.kind = crv::common::kFieldInteger;
    c.width = 3;
    c.decimals = 0;
    return c;
}

crv::common::KeyVerdict RelAngleLogic::keyPress(std::int16_t& key) {
    auto c = check();
    return crv::common::FilterKeyPress(c, key);
}

bool RelAngleLogic::validate(crv::common::MessagePresenter& presenter) {
    if (orientation_ == Orientation::Center) return true;
    auto c = check();
    return crv::common::ValidateField(c, presenter);
}

float RelAngleLogic::result() const {
    if (orientation_ == Orientation::Center) return locAngle_;
    const float rel = static_cast<float>(std::round(crv::common::Val(text_)));
    const float angle = orientation_ == Orientation::Left ? locAngle_ + rel : locAngle_ - rel;
    return crv::common::WrapAngle(angle, 0.0f, 360.0f);
}

}  // namespace crv::editors
