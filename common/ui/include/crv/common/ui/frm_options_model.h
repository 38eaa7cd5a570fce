#pragma once
// The logic of the "Options" dialog: which results Display Results shows first
// and whether the main window's picture is animated.
#include "crv/common/app_state.h"
#include "crv/common/messages.h"
#include "crv/platform/settings_store.h"

namespace crv::common::ui {

class OptionsModel {
public:
    explicit OptionsModel(crv::common::AppState& state)
        : state_(state), plotsFirst(state.DefaultOutputPlots), animationOn(state.AnimationEnabled) {}

    bool changed() const {
        return plotsFirst != state_.DefaultOutputPlots || animationOn != state_.AnimationEnabled;
    }
    // OK: the choices go to the state and, when they differ, the "General"
    // group is saved. A failed save is reported; returns false then.
    bool accept(crv::platform::SettingsStore& store, crv::common::MessagePresenter& presenter);

private:
    crv::common::AppState& state_;

public:
    bool plotsFirst;   // "Show plots first", else "Show reports first"
    bool animationOn;  // "Animation on", else "Animation off"
};

}  // namespace crv::common::ui
