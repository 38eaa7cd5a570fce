#pragma once
// The logic of the display options dialog (" Display Options"): which of the
// three questions are asked and what the caller gets back.
namespace crv::viewers {

struct DisplaySettings {
    bool printOut = false;
    bool decibels = false;
    bool polarPlot = false;
};

// Which frames the dialog shows. The frames stand under each other in this
// order and the dialog's layout closes up the ones not shown, so the dialog
// is just tall enough for what it asks.
struct DisplayOptionsLayout {
    bool showDestination = false, showFieldStrength = false, showPlotType = false;
};

DisplayOptionsLayout layoutFor(const DisplaySettings& asked);

// The answers of GetSettings: when cancelled the flags keep what was passed
// in; otherwise each is the choice made, a question not shown answering
// false.
DisplaySettings settingsAfter(bool canceled, const DisplaySettings& passedIn, const DisplaySettings& chosen);

}  // namespace crv::viewers
