#pragma once
// The relative grid angle dialog without its window: the grid angle given as
// 0 to 35 degrees left or right of the localizer course, or as the course.
#include <cstdint>
#include <string>

#include "crv/common/field_check.h"
#include "crv/common/messages.h"

namespace crv::editors {

enum class Orientation { Left = 1, Right = 2, Center = 3 };

class RelAngleLogic : public crv::common::FieldControl {
public:
    static constexpr int kMinimum = 0;
    static constexpr int kMaximum = 35;

    // Presets the orientation and the angle box from the course and the
    // current grid angle. The box shows the whole relative angle, even one
    // beyond 35 degrees; OK then refuses it rather than returning a wrong angle.
    RelAngleLogic(float locAngle, float gridAngle);

    Orientation orientation() const { return orientation_; }
    // An orientation button: while the dialog is shown the box is reset to 0.
    void selectOrientation(Orientation o, bool shown);
    bool boxEnabled() const { return orientation_ != Orientation::Center; }

    // The up-down control and the arrow keys: one degree within 0..35.
    void step(int delta);
    // Keys typed into the box (backspace, digits, sign, blank).
    crv::common::KeyVerdict keyPress(std::int16_t& key);
    // Leaving the box or OK: checks 0..35 and rewrites the text in 3 columns.
    bool validate(crv::common::MessagePresenter& presenter);
    // The chosen grid angle (call after validate succeeded).
    float result() const;

    std::string text() const override { return text_; }
    void setText(const std::string& t) override { text_ = t; }

private:
    crv::common::FieldCheck check();
    float locAngle_;
    Orientation orientation_ = Orientation::Center;
    std::string text_;
};

}  // namespace crv::editors
