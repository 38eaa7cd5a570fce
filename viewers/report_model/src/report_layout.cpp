#include "crv/viewers/report_layout.h"

#include <algorithm>
#include <cmath>

#include "crv/viewers/report_pages.h"

namespace crv::viewers {

int linesPerPageFor(int availTwips, int lineTwips) {
    if (lineTwips <= 0 || availTwips <= 0) return 1;
    int lines = std::min(availTwips / lineTwips, kPrintedLinesPerPage);
    if (lines == 56 || lines == 57) lines = 55;
    return std::max(lines, 1);
}

int lineTwipsFor(int workAreaHeightTwips, int heightOverheadTwips, int marginOverheadTwips) {
    const double avail = std::nearbyint(0.99 * workAreaHeightTwips) - heightOverheadTwips - marginOverheadTwips;
    return static_cast<int>(std::nearbyint(avail / kPrintedLinesPerPage));
}

int growFontPixels(int startPixels, int lineTwips, const std::function<int(int)>& heightOfPixels,
                   int maxPixels) {
    int kept = startPixels;
    for (int px = startPixels + 1; px <= maxPixels; ++px) {
        if (heightOfPixels(px) >= lineTwips) break;
        kept = px;
    }
    return kept;
}

}  // namespace crv::viewers
