#include "crv/viewers/plot_parameters.h"

#include "crv/common/configuration.h"

#include <algorithm>
#include <utility>

namespace crv::viewers {

namespace {
std::int16_t held(int v, BandValue which) {
    return static_cast<std::int16_t>(
        std::clamp(v, PlotParametersController::lowest(which), PlotParametersController::highest(which)));
}
}  // namespace

PlotParametersController::PlotParametersController(const common::AppState& state)
    : intMin_(held(state.IntLevelMin, BandValue::Minimum)),
      intIncr_(held(state.IntLevelIncr, BandValue::Increment)),
      navMin_(held(state.NavLevelMin, BandValue::Minimum)),
      navIncr_(held(state.NavLevelIncr, BandValue::Increment)),
      colours_(state.PlotColors),
      navVisible_(state.ModelType == "SCI") {}

std::int16_t& PlotParametersController::ref(Band band, BandValue which) {
    if (band == Band::Interference) return which == BandValue::Minimum ? intMin_ : intIncr_;
    return which == BandValue::Minimum ? navMin_ : navIncr_;
}
std::int16_t PlotParametersController::ref(Band band, BandValue which) const {
    return const_cast<PlotParametersController*>(this)->ref(band, which);
}

int PlotParametersController::value(Band band, BandValue which) const { return ref(band, which); }

bool PlotParametersController::setValue(Band band, BandValue which, int v) {
    ref(band, which) = held(v, which);
    return ref(band, which) == v;
}

void PlotParametersController::step(Band band, BandValue which, int delta) {
    setValue(band, which, value(band, which) + delta);
}

std::array<std::string, common::kLevelClasses> PlotParametersController::captions(Band band) const {
    const std::string p = band == Band::Interference ? "int" : "nav";
    const int m = value(band, BandValue::Minimum), i = value(band, BandValue::Increment);
    std::array<std::string, common::kLevelClasses> out;
    for (int k = 1; k <= 13; ++k) out[k - 1] = p + " <= " + std::to_string(m + (k - 1) * i);
    out[13] = p + " >  " + std::to_string(m + 12 * i);
    return out;
}

void PlotParametersController::exchangeColours(int j, int k) { std::swap(colours_.at(j), colours_.at(k)); }

int PlotParametersController::arrowOnSwatch(int delta) {
    if (selected_ < 0) return selected_;
    const int target = selected_ + delta;
    if (target < 0 || target >= common::kLevelClasses) return selected_;
    if (moveMode_) exchangeColours(selected_, target);
    selected_ = target;
    return selected_;
}

void PlotParametersController::dropSwatch(int j, int k) {
    if (j == k) return;
    exchangeColours(j, k);
    selected_ = k;
}

void PlotParametersController::restoreDefaults(const common::AppState& state) {
    intMin_ = held(state.DefIntLevelMin, BandValue::Minimum);
    intIncr_ = held(state.DefIntLevelIncr, BandValue::Increment);
    navMin_ = held(state.DefNavLevelMin, BandValue::Minimum);
    navIncr_ = held(state.DefNavLevelIncr, BandValue::Increment);
    colours_ = state.DefPlotColors;
}

bool PlotParametersController::accept(common::AppState& state) const {
    bool changed = false;
    auto store = [&](std::int16_t& global, std::int16_t v) {
        if (global != v) {
            global = v;
            changed = true;
        }
    };
    store(state.IntLevelMin, intMin_);
    store(state.IntLevelIncr, intIncr_);
    store(state.NavLevelMin, navMin_);
    store(state.NavLevelIncr, navIncr_);
    for (int k = 0; k < common::kLevelClasses; ++k) {
        if (state.PlotColors[k] != colours_[k]) {
            state.PlotColors[k] = colours_[k];
            changed = true;
        }
    }
    return changed;
}

platform::Expected<bool> ApplyPlotParameters(const PlotParametersController& controller, common::AppState& state,
                                             platform::SettingsStore& store) {
    if (!controller.accept(state)) return false;
    if (auto saved = common::SavePlotParameters(state, store); !saved) return platform::makeError(saved.error());
    return true;
}

}  // namespace crv::viewers
