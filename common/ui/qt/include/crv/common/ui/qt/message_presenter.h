#pragma once
// Message boxes in windows. A program calls installQtMessagePresenter() once
// after creating its QApplication: the logic then gets its questions answered
// through appPresenter(), and the engine's and platform layer's messages are
// shown as boxes too. Tests install a recording presenter instead
// (crv/testing/qt/recording_presenter.h).
#include <memory>
#include <string>
#include <vector>

#include "crv/common/messages.h"

class QMessageBox;
class QWidget;

namespace crv::common::ui {

// The box for a message: the text as plain text with its blanks kept and
// each carriage return a line break; title, icon and buttons as asked.
std::unique_ptr<QMessageBox> makeMessageBox(const crv::common::Message& message, QWidget* parent = nullptr);

// Shows the message modally over the active window and returns the button
// chosen; closing a question box without a button is its safe choice (No,
// or Cancel).
class QtMessagePresenter : public crv::common::MessagePresenter {
public:
    crv::common::MessageAnswer present(const crv::common::Message& message) override;
};

// Installs the Qt presenter as appPresenter() and as the platform layer's
// presenter. Returns it.
crv::common::MessagePresenter& installQtMessagePresenter();
// Makes `presenter` the program-wide one (tests); nullptr restores the Qt one.
void setAppPresenter(crv::common::MessagePresenter* presenter);
crv::common::MessagePresenter& appPresenter();

}  // namespace crv::common::ui
