#pragma once
// The recording of one drawing target: what was drawn, in logical page units,
// in the order it was drawn. A plot is drawn into recordings once and the
// recordings are played onto the screen picture, a printer or PDF page, the
// clipboard or an enhanced metafile file.
#include "crv/common/drawing/page.h"

#include <cstdint>
#include <string>
#include <variant>
#include <vector>

namespace crv::common {

// Colours in the 0x00BBGGRR form that stored plot parameters hold.
using Colour = std::uint32_t;
inline constexpr Colour kBlack = 0x000000;

inline constexpr std::uint8_t redOf(Colour c) { return c & 0xFF; }
inline constexpr std::uint8_t greenOf(Colour c) { return (c >> 8) & 0xFF; }
inline constexpr std::uint8_t blueOf(Colour c) { return (c >> 16) & 0xFF; }

// A solid pen; width in logical units.
struct Pen {
    Colour colour = kBlack;
    std::int32_t width = 6;
    friend bool operator==(const Pen&, const Pen&) = default;
};

// A font as the metafile describes it: a negative height is a character height
// in logical units (the em size without internal leading); escapement and
// orientation in tenths of a degree, counter-clockwise.
struct Font {
    std::string face = "Arial";
    std::int32_t height = -150;
    std::int32_t weight = 400;
    std::int32_t escapement = 0;
    std::int32_t orientation = 0;
    bool italic = false;
    std::uint8_t charSet = 0;
    friend bool operator==(const Font&, const Font&) = default;
};

namespace rec {

struct SelectPen {
    Pen pen;
};
struct SelectFont {
    Font font;
};
struct SetTextColour {
    Colour colour;
};
struct MoveTo {
    PagePoint to;
};
struct LineTo {
    PagePoint to;
};
// Text anchored at a page point. align 0..8: align / 3 is the horizontal
// anchor (0 left end, 1 centre, 2 right end), align % 3 the vertical one
// (0 top, 1 middle, 2 bottom). The text turns counter-clockwise by angleDeg
// about the anchor, in the current font; the target measures it in its own
// device space, so glyphs keep their shape whatever the page mapping does.
struct Text {
    PagePoint anchor;
    int align = 0;
    double angleDeg = 0.0;
    std::string text;  // UTF-8; bytes that are not UTF-8 are read as Windows-1252
};
// Fill of the closed outline drawn in the fill colour around the seed point.
// outline is that outline (empty when none encloses the seed, in which case
// no target fills anything).
struct Fill {
    Colour colour;
    PagePoint seed;
    std::vector<PagePoint> outline;
};

// A run of point markers: at each point every character of text is drawn
// centred (centre-middle, unturned) in the current font and text colour,
// overstruck into one mark. Plots of many points record them this way: a page
// point (8 bytes) per marker, no text object per point.
struct Marks {
    std::string text;  // single-byte characters
    std::vector<PagePoint> points;
};

}  // namespace rec

using Command = std::variant<rec::SelectPen, rec::SelectFont, rec::SetTextColour, rec::MoveTo,
                             rec::LineTo, rec::Text, rec::Fill, rec::Marks>;

struct Recording {
    std::vector<Command> commands;
};

}  // namespace crv::common
