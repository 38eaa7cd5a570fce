#pragma once
// The receiver test points file, as the receiver points editor reads and
// writes it: the formats layer's unit (crv/formats/rcvr_points_file.h), by the
// names the editors use.
#include "crv/formats/rcvr_points_file.h"

namespace crv::editors {

using crv::formats::firstPointAfterEnd;
using crv::formats::formatPointLine;
using crv::formats::kMaxRcvrPoints;
using crv::formats::kRcvrPointsFile;
using crv::formats::listLength;
using crv::formats::pointValueValid;
using crv::formats::RcvrPoint;
using crv::formats::RcvrPoints;
using crv::formats::RcvrPointsFileRead;
using crv::formats::RcvrPointsRead;
using crv::formats::ReadPoints;
using crv::formats::readRcvrPointsFile;
using crv::formats::writeRcvrPointsFile;

}  // namespace crv::editors
