#include "crv/viewers/display_options.h"

namespace crv::viewers {

DisplayOptionsLayout layoutFor(const DisplaySettings& asked) {
    return {asked.printOut, asked.decibels, asked.polarPlot};
}

DisplaySettings settingsAfter(bool canceled, const DisplaySettings& passedIn, const DisplaySettings& chosen) {
    if (canceled) return passedIn;
    return {passedIn.printOut && chosen.printOut, passedIn.decibels && chosen.decibels,
            passedIn.polarPlot && chosen.polarPlot};
}

}  // namespace crv::viewers
