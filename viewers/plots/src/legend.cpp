// The legend page: the 14 level classes with their colours and the navaid
// and interference bands they stand for.
#include "both_contexts.h"
#include "crv/common/drawing/primitives.h"
#include "crv/viewers/plot_builders.h"

namespace crv::viewers {

using namespace crv::common;

bool DrawLegend(Plot& plot, const LevelBands& bands, ProgressDisplay* progress) {
    if (progress) progress->MaxValue(14);
    SetWorldWindow(plot, plot.PageFrame);
    detail::setFonts(plot, 0.25, 0.322, plot.PlotFontFace);
    detail::inBoth(plot, [](DrawContext& dc, bool) { PlotText(dc, "Legend for Corvane Plots", 4.25, 1.1, 4, 0); });
    detail::setFonts(plot, 0.165, 1.288 * 0.18, plot.TextFontFace);
    detail::inBoth(plot, [](DrawContext& dc, bool) {
        PlotText(dc, "nav = navaid signal level (dBm)", 4.25, 9.6, 4, 0);
        PlotText(dc, "int = interference level above threshold (dB)", 4.25, 9.9, 4, 0);
    });
    const auto nav = levelThresholds(bands.navLevelMin, bands.navLevelIncr);
    const auto inter = levelThresholds(bands.intLevelMin, bands.intLevelIncr);
    static const char kChars[] = "123456789ABCDE";
    for (int k = 1; k <= 14; ++k) {
        const double y = 1.4 + 0.53 * k;
        const double x = 4.35;
        const Colour colour = bands.colours[k - 1];
        if (DrawContext* meta = plot.metafile()) {
            SetPlotFont(*meta, 0.05, "");
            SetTextColor(*meta, colour);
            const std::string mark(1, kChars[k - 1]);
            for (int i = 0; i < 12; ++i)
                for (int j = 0; j < 12; ++j)
                    PlotText(*meta, mark, x + (i - 5.5) / 24.0, y + (j - 5.5) / 24.0, 4, 0);
            PlotBox(*meta, x - 0.25, y - 0.25, x + 0.25, y + 0.25);
            SetPlotFont(*meta, 0.18, "");
            SetTextColor(*meta, kBlack);
        }
        DrawContext& screen = plot.picture();
        SetPenColor(screen, colour);
        PlotBox(screen, x - 0.25, y - 0.25, x + 0.25, y + 0.25);
        FillArea(screen, colour, x, y);
        SetPenColor(screen, kBlack);
        PlotBox(screen, x - 0.25, y - 0.25, x + 0.25, y + 0.25);
        detail::inBoth(plot, [&](DrawContext& dc, bool) {
            if (k > 1) {
                PlotText(dc, std::to_string(nav[k - 2]) + " < ", 2.5, y, 7, 0);
                PlotText(dc, std::to_string(inter[k - 2]) + " < ", 5.6, y, 7, 0);
            }
            PlotText(dc, "nav", 2.7, y, 4, 0);
            PlotText(dc, "int", 5.75, y, 4, 0);
            if (k < 14) {
                PlotText(dc, " <= " + std::to_string(nav[k - 1]), 2.9, y, 1, 0);
                PlotText(dc, " <= " + std::to_string(inter[k - 1]), 5.9, y, 1, 0);
            }
        });
        if (progress) {
            progress->Value(k);
            if (progress->Canceled()) return true;
        }
    }
    return false;
}

}  // namespace crv::viewers
