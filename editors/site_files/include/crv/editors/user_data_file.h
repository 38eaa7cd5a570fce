#pragma once
// The pattern and calibration tables of the user folder, as the pattern and
// calibration editor reads and writes them: the formats layer's unit
// (crv/formats/user_data_file.h), by the names the editors use.
#include "crv/formats/user_data_file.h"

namespace crv::editors {

using crv::formats::DbToRel;
using crv::formats::isPatternKind;
using crv::formats::newUserData;
using crv::formats::NormalizePattern;
using crv::formats::readUserDataFile;
using crv::formats::RelToDb;
using crv::formats::setFixedX;
using crv::formats::shownDb;
using crv::formats::textLines;
using crv::formats::UserData;
using crv::formats::UserDataKind;
using crv::formats::userDataKind;
using crv::formats::UserDataRead;
using crv::formats::ValueCell;
using crv::formats::valueCell;
using crv::formats::writeUserDataFile;

}  // namespace crv::editors
