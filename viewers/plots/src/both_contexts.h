#pragma once
// Every page is drawn twice: into the screen picture and into the metafile
// (when the plot has one). The screen gets its fonts 1.12 times taller, in
// the face named; the metafile keeps the face the plot began with.
#include "crv/common/drawing/draw_context.h"
#include "crv/common/drawing/plot.h"

#include <string>

namespace crv::viewers::detail {

template <class F>
void inBoth(common::Plot& plot, F&& draw) {
    draw(plot.picture(), false);
    if (common::DrawContext* meta = plot.metafile()) draw(*meta, true);
}

// Font heights given as metafile / screen pairs.
inline void setFonts(common::Plot& plot, double metaIn, double screenIn, const std::string& screenFace) {
    common::SetPlotFont(plot.picture(), screenIn, screenFace);
    if (common::DrawContext* meta = plot.metafile()) common::SetPlotFont(*meta, metaIn, "");
}

// File names of the messages: the folder and the name, one "/" between.
std::string joinPath(const std::string& dirPath, const std::string& fileName);
std::string upper(std::string text);

}  // namespace crv::viewers::detail
