#pragma once
// The private temporary folder, in place of the system's shared temp path.
// Fixed names such as "RfiSrch1.tmp" and "Imod2.tmp" must never sit in a
// world-writable folder where another user could plant a link, so the folder
// is ${TMPDIR:-/tmp}/corvane-<uid>/, created with mode 0700 and refused when it
// exists but is a link, is not ours or is open to others.
#include <string>

#include "crv/platform/expected.h"

namespace crv::platform {

// The folder path, ending in "/", created when missing.
Expected<std::string> privateTempFolder();

}  // namespace crv::platform
