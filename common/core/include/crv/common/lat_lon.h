#pragma once
// Latitude/longitude texts of the programs. The texts and their reading are
// the formats layer's (crv/formats/lat_lon.h: the files and the screens share
// them); the programs keep calling them by these names. The edit mask of a
// position box is the programs' own.
#include <string>

#include "crv/formats/lat_lon.h"

namespace crv::common {

using crv::formats::DmsToDegrees;
using crv::formats::FormatLatLon;
using crv::formats::kDegreeSign;
using crv::formats::kDegreeText;
using crv::formats::ParseLatLon;

// The masked-edit mask of a position box: the hemisphere letter, a blank and
// the format's digit places; a latitude ("N"/"S") has two degree digits.
std::string LatLonMask(char hemisphere, int fmt);

}  // namespace crv::common
