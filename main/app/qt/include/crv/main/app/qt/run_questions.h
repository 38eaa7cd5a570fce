#pragma once
// The run controller's questions answered by the program's windows: the
// search parameters dialog and the save dialog of a new case file.
#include <functional>
#include <string>

#include "crv/common/messages.h"
#include "crv/main/run/run_ui.h"

class QWidget;

namespace crv::main::qt {

class QtRunQuestions : public crv::main::run::RunQuestions {
public:
    using SaveChooser = std::function<std::string(const crv::main::run::SaveFileRequest&)>;

    QtRunQuestions(QWidget*& parent, const std::string& modelType, crv::common::MessagePresenter& presenter);

    void GetParams(bool backCrs, std::int16_t& svType, float& srchRad, bool& canceled) override;
    std::string SaveFileAs(const crv::main::run::SaveFileRequest& request) override;

    // Replaces the save dialog itself (tests); the default extension and the
    // overwrite question still apply to what it returns.
    void setSaveChooser(SaveChooser chooser) { chooser_ = std::move(chooser); }

private:
    QWidget*& parent_;
    std::string modelType_;
    crv::common::MessagePresenter& presenter_;
    SaveChooser chooser_;
};

// "Data Files (*.dat)|*.dat" as a Qt filter: "Data Files (*.dat)".
std::string qtFilterOf(const std::string& filter);

}  // namespace crv::main::qt
