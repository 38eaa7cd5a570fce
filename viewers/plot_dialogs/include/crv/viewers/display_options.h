#pragma once
// The logic of the display options dialog (" Display Options"): which of the
// three questions are asked, where their frames stand (twips) and what the
// caller gets back.
namespace crv::viewers {

struct DisplaySettings {
    bool printOut = false;
    bool decibels = false;
    bool polarPlot = false;
};

struct DisplayOptionsLayout {
    bool showDestination = false, showFieldStrength = false, showPlotType = false;
    int destinationTop = 240, fieldStrengthTop = 1620, plotTypeTop = 3000;
    // The client height: the lowest element plus the 240 twips above the first.
    int innerHeight = 0;
};

inline constexpr int kFrameLeft = 240, kFrameWidth = 1740, kFrameHeight = 1080;
inline constexpr int kButtonLeft = 2280, kButtonWidth = 1080, kButtonHeight = 330;
inline constexpr int kOkTop = 270, kCancelTop = 780, kHelpTop = 1290;

DisplayOptionsLayout layoutFor(const DisplaySettings& asked);

// The answers of GetSettings: when cancelled the flags keep what was passed
// in; otherwise each is the choice made, a question not shown answering
// false.
DisplaySettings settingsAfter(bool canceled, const DisplaySettings& passedIn, const DisplaySettings& chosen);

}  // namespace crv::viewers
