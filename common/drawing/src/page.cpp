#include "crv/common/drawing/page.h"

#include "crv/common/drawing/drawing_error.h"

#include <cfenv>
#include <cmath>
#include <limits>
#include <string>

namespace crv::common {

std::int32_t roundToInt32(double value, const char* what) {
    // nearbyint follows the current rounding mode; the process never leaves
    // round-to-nearest-even, which is the rounding the page coordinates use.
    const double r = std::nearbyint(value);
    if (!std::isfinite(r) || r < static_cast<double>(std::numeric_limits<std::int32_t>::min()) ||
        r > static_cast<double>(std::numeric_limits<std::int32_t>::max())) {
        throw DrawingError(std::string(what) + " is outside the range of the drawing page.");
    }
    return static_cast<std::int32_t>(r);
}

bool PointInRect(double x, double y, const WorldRect& r) {
    return r.xmin <= x && x <= r.xmax && r.ymin <= y && y <= r.ymax;
}

}  // namespace crv::common
