#pragma once
// The number and text conversions the forms run-time gave the programs. They
// are the formats layer's (the files and the screens share one rule for every
// number); the programs keep calling them by these names.
#include "crv/formats/numbers.h"

namespace crv::common {

using crv::formats::formatDecimal;
using crv::formats::formatGeneral;
using crv::formats::formatGrouped;
using crv::formats::leftSet;
using crv::formats::Mid;
using crv::formats::roundHalfEven;
using crv::formats::singleToDouble;
using crv::formats::Str;
using crv::formats::toInt16;
using crv::formats::Val;

}  // namespace crv::common
