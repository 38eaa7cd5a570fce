#pragma once
// The logic of the plot parameters dialog ("CRV Plot Parameters"): the
// interference and navaid level bands and the 14 class colours, edited as
// copies of the application state and stored only by OK.
#include "crv/common/app_state.h"

#include <crv/platform/expected.h>
#include <crv/platform/settings_store.h>

#include <array>
#include <cstdint>
#include <string>

namespace crv::viewers {

inline constexpr int kLevelMinLow = -200;
inline constexpr int kLevelMinHigh = 50;
inline constexpr int kLevelIncrLow = 1;
inline constexpr int kLevelIncrHigh = 25;

enum class Band { Interference, Navaid };
enum class BandValue { Minimum = 0, Increment = 1 };

class PlotParametersController {
public:
    // Loads the copies. Values outside the up-down ranges (a hand-edited
    // settings file) are held at the nearest end of the range.
    explicit PlotParametersController(const common::AppState& state);

    int value(Band band, BandValue which) const;
    // Sets a value, held within its range; false when it had to be held.
    bool setValue(Band band, BandValue which, int value);
    // The arrow keys: one step down or up, never past the range.
    void step(Band band, BandValue which, int delta);
    static int lowest(BandValue which) { return which == BandValue::Minimum ? kLevelMinLow : kLevelIncrLow; }
    static int highest(BandValue which) { return which == BandValue::Minimum ? kLevelMinHigh : kLevelIncrHigh; }

    // Captions of the 14 class labels: "int <= 3" .. "int <= 39", "int >  39".
    std::array<std::string, common::kLevelClasses> captions(Band band) const;

    // The navaid band is shown in the scientific edition only.
    bool navaidBandVisible() const { return navVisible_; }

    // Swatches (0-based class index).
    std::uint32_t colour(int k) const { return colours_.at(k); }
    void exchangeColours(int j, int k);
    int selected() const { return selected_; }
    bool moveMode() const { return moveMode_; }
    void focusSwatch(int k) { selected_ = k; }
    void focusLeftSwatches() { moveMode_ = false; selected_ = -1; }
    void toggleMoveMode() { moveMode_ = !moveMode_; }
    // Up (-1) or Down (+1) on the selected swatch; in move mode the colour
    // travels with the focus. Returns the swatch now focused.
    int arrowOnSwatch(int delta);
    // Dropping swatch j onto swatch k exchanges them (nothing for j == k).
    void dropSwatch(int j, int k);
    void pressSwatch(int k) {
        moveMode_ = false;
        selected_ = k;
    }

    // "Restore Defaults": the factory values, the state untouched until OK.
    void restoreDefaults(const common::AppState& state);

    // OK: stores every differing value into the state; true when anything
    // differed. The caller then saves the plot parameters.
    bool accept(common::AppState& state) const;

private:
    std::int16_t& ref(Band band, BandValue which);
    std::int16_t ref(Band band, BandValue which) const;

    std::int16_t intMin_, intIncr_, navMin_, navIncr_;
    common::PlotColorTable colours_;
    bool navVisible_;
    int selected_ = -1;
    bool moveMode_ = false;
};

// ModifyParameters without its window: OK stores and, when anything changed,
// writes the plot parameters to the settings store. Returns Changed.
platform::Expected<bool> ApplyPlotParameters(const PlotParametersController& controller, common::AppState& state,
                                             platform::SettingsStore& store);

}  // namespace crv::viewers
