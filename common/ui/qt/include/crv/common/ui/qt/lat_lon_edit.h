#pragma once
// The latitude/longitude box: a hemisphere letter, then fixed digit places
// in one of the three display formats. Qt's own input masks give "N" and
// "#" other meanings, so the box keeps its mask itself: digits fill the next
// digit place, N/S (latitude) or E/W (longitude) set the hemisphere wherever
// the caret is, "." moves past the decimal point, Backspace and Delete put a
// 0 in a digit place; every other key that would change the text beeps.
// Typed over a selection (the whole text is selected on entry), the first
// digit, Backspace or Delete first puts 0 in every selected digit place, so
// the box holds exactly the position typed; a hemisphere letter typed over
// a selection changes the hemisphere and leaves the digits selected.
// The hemisphere letter carries the sign, so a position less than a degree
// from the equator or the zero meridian keeps it.
#include "crv/common/ui/qt/field_edit.h"

namespace crv::common::ui {

class LatLonEdit : public FieldEdit {
    Q_OBJECT
public:
    enum class Axis { Latitude = 1, Longitude = 2 };
    // fmt: 1 degrees-minutes-seconds, 2 decimal degrees, 3 decimal minutes.
    explicit LatLonEdit(Axis axis, int fmt = 1, crv::common::MessagePresenter* presenter = nullptr,
                        QWidget* parent = nullptr);
    // Decimal degrees, latitude positive north, longitude positive west.
    void setValue(double degrees);
    double value() const;
    // Shows the value in another display format.
    void setFormat(int fmt);
    int format() const { return fmt_; }
    Axis axis() const { return axis_; }

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;

private:
    void blankDigit(bool backwards);
    void clearSelectedPlaces();
    Axis axis_;
    int fmt_;
};

}  // namespace crv::common::ui
