#include "drawing_helpers.h"

#include "crv/common/drawing/page.h"

#include <crv/platform/numbers.h>

#include <cmath>

namespace crv::common::detail {

double wrapAngle(double angle, double low, double high) {
    if (!std::isfinite(angle)) return angle;
    // One step of 360 at a time would take forever for a wild angle; whole
    // turns are removed first, with the same result.
    if (angle >= high + 360.0 || angle < low - 360.0) {
        angle = low + std::fmod(angle - low, 360.0);
    }
    while (angle >= high) angle -= 360.0;
    while (angle < low) angle += 360.0;
    return angle;
}

std::string formatGrouped(double value, int decimals) {
    if (decimals < 0) decimals = 0;
    std::string text = platform::formatFixed(value, decimals);
    bool negative = false;
    if (!text.empty() && text[0] == '-') {
        negative = true;
        text.erase(0, 1);
    }
    if (text.find_first_not_of("0.") == std::string::npos) negative = false;
    const std::size_t point = text.find('.');
    const std::size_t intLen = point == std::string::npos ? text.size() : point;
    std::string out;
    for (std::size_t i = 0; i < intLen; ++i) {
        if (i > 0 && (intLen - i) % 3 == 0) out += ',';
        out += text[i];
    }
    out += text.substr(intLen);
    return negative ? "-" + out : out;
}

std::string formatWhole(double value) {
    return std::to_string(roundToInt32(value, "A label value"));
}

}  // namespace crv::common::detail
