#include "crv/common/ui/frm_options_model.h"

#include "crv/common/configuration.h"
#include "crv/common/error_report.h"

namespace crv::common::ui {

bool OptionsModel::accept(crv::platform::SettingsStore& store, crv::common::MessagePresenter& presenter) {
    if (!changed()) return true;
    state_.DefaultOutputPlots = plotsFirst;
    state_.AnimationEnabled = animationOn;
    if (auto saved = crv::common::SaveGeneralSettings(state_, store); !saved) {
        crv::common::ShowUnexpectedError(presenter, "frmOptions", saved.error());
        return false;
    }
    return true;
}

}  // namespace crv::common::ui
