#include "crv/viewers/display_options.h"

#include <algorithm>

namespace crv::viewers {

DisplayOptionsLayout layoutFor(const DisplaySettings& asked) {
    DisplayOptionsLayout l;
    const int top0 = l.destinationTop;
    int bottom = 0;
    if (asked.printOut) {
        l.showDestination = true;
        bottom = l.destinationTop + kFrameHeight;
    }
    if (asked.decibels) {
        l.showFieldStrength = true;
        l.fieldStrengthTop = top0 + bottom + 60;
        bottom = l.fieldStrengthTop + kFrameHeight;
    }
    if (asked.polarPlot) {
        l.showPlotType = true;
        l.plotTypeTop = top0 + bottom + 60;
        bottom = l.plotTypeTop + kFrameHeight;
    }
    bottom = std::max(bottom, kHelpTop + kButtonHeight);
    l.innerHeight = top0 + bottom;
    return l;
}

DisplaySettings settingsAfter(bool canceled, const DisplaySettings& passedIn, const DisplaySettings& chosen) {
    if (canceled) return passedIn;
    return {passedIn.printOut && chosen.printOut, passedIn.decibels && chosen.decibels,
            passedIn.polarPlot && chosen.polarPlot};
}

}  // namespace crv::viewers
