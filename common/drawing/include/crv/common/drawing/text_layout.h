#pragma once
// Where a text goes, given its anchor, alignment, angle and measured extent;
// shared by every target so they all place text alike.
#include "crv/common/drawing/recording.h"

#include <string>
#include <string_view>
#include <vector>

namespace crv::common {

struct TextOrigin {
    double x = 0.0;
    double y = 0.0;
};

// The top-left corner (before turning) of a text of extent cx by cy anchored
// at (px, py), in a space whose y grows downward: dx = -(align / 3) cx / 2,
// dy = -(align % 3) cy / 2, and the offset turns counter-clockwise with the
// text.
TextOrigin textOrigin(double px, double py, int align, double angleDeg, double cx, double cy);

// Texts are UTF-8; a text that is not valid UTF-8 is read byte by byte as
// Windows-1252, the code page of the system's data files.
std::u16string decodeText(std::string_view text);

struct TextExtent {
    double width = 0.0;   // advance of the whole text
    double height = 0.0;  // ascent + descent of the font
    std::vector<double> advances;  // one per UTF-16 unit
};

// Measures text in a font whose em height is emPx device pixels.
class TextMetrics {
public:
    virtual ~TextMetrics() = default;
    virtual TextExtent measure(const Font& font, double emPx, const std::u16string& text) const = 0;
};

}  // namespace crv::common
