#pragma once
// Sizes of the report window and its screen font, in twips (1/1440 inch).
#include <functional>

namespace crv::viewers {

// Lines a screen page shows: as many lines of height lineTwips as fit in
// availTwips, at most 58; 56 and 57 become 55. Never below 1, also for a
// work area too small for one line or a font that reports no height.
int linesPerPageFor(int availTwips, int lineTwips);

// Height of one line at which 58 lines fill 99% of the work area.
int lineTwipsFor(int workAreaHeightTwips, int heightOverheadTwips, int marginOverheadTwips);

// Grows the screen font from startPixels by whole pixels while its letter
// height (heightOfPixels, twips) stays below lineTwips, and returns the last
// size that did, never below startPixels. The loop stops at maxPixels, so a
// font whose height does not grow cannot hang the viewer.
int growFontPixels(int startPixels, int lineTwips, const std::function<int(int)>& heightOfPixels,
                   int maxPixels = 200);

}  // namespace crv::viewers
