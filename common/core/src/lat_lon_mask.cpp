// The edit mask of the programs' position boxes.
#include "crv/common/lat_lon.h"

#include "crv/common/text_utils.h"

namespace crv::common {

std::string LatLonMask(char hemisphere, int fmt) {
    std::string mask;
    if (fmt == 1)
        mask = std::string("###") + kDegreeText + " ##' ##\"";
    else if (fmt == 2)
        mask = std::string("###.####") + kDegreeText;
    else
        mask = std::string("###") + kDegreeText + " ##.##'";
    const char h = upperAscii(hemisphere);
    if (h == 'N' || h == 'S') mask.erase(0, 1);
    return std::string(1, hemisphere) + " " + mask;
}

}  // namespace crv::common
