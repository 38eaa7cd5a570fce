#pragma once
// "Options": which results Display Results shows first, and whether the main
// window's picture is animated. OK saves what changed; Cancel discards.
#include <functional>

#include <QDialog>

#include "crv/common/ui/frm_options_model.h"

class QRadioButton;
class QPushButton;

namespace crv::common::ui {

class frmOptions : public QDialog {
    Q_OBJECT
public:
    frmOptions(crv::common::AppState& state, crv::platform::SettingsStore& store,
               crv::common::MessagePresenter& presenter, QWidget* parent = nullptr);

    const OptionsModel& model() const { return model_; }
    QRadioButton* optPlots() const { return optPlots_; }
    QRadioButton* optReports() const { return optReports_; }
    QRadioButton* optAnimationOn() const { return optAnimationOn_; }
    QRadioButton* optAnimationOff() const { return optAnimationOff_; }
    QPushButton* okButton() const { return ok_; }
    QPushButton* cancelButton() const { return cancel_; }

private:
    OptionsModel model_;
    crv::platform::SettingsStore& store_;
    crv::common::MessagePresenter& presenter_;
    QRadioButton* optPlots_;
    QRadioButton* optReports_;
    QRadioButton* optAnimationOn_;
    QRadioButton* optAnimationOff_;
    QPushButton* ok_;
    QPushButton* cancel_;
};

// Tools > Options: shows the dialog modally. `run` replaces exec() (tests).
int ShowOptions(QWidget* parent, crv::common::AppState& state, crv::platform::SettingsStore& store,
                crv::common::MessagePresenter& presenter, const std::function<int(frmOptions&)>& run = {});

}  // namespace crv::common::ui
