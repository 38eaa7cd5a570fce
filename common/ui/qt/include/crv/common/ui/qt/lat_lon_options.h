#pragma once
// The three position notations as option buttons in a frame, as every
// window that lets the user choose how positions are shown offers them.
#include <QString>

#include <array>
#include <functional>

class QGroupBox;
class QRadioButton;
class QWidget;

namespace crv::common::ui {

// A frame titled `title` holding the notations 1 (degrees, minutes,
// seconds), 2 (decimal degrees) and 3 (degrees, decimal minutes), the first
// checked; `options` receives the buttons, `chosen` is called with the
// notation of a clicked button.
QGroupBox* LatLonFormatOptions(const QString& title, std::array<QRadioButton*, 3>& options,
                               const std::function<void(int format)>& chosen, QWidget* parent = nullptr);

}  // namespace crv::common::ui
