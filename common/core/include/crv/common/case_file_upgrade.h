#pragma once
// Bringing case data files of earlier layouts to the current one before they
// are edited or run.
//
// File versions: -1 the oldest layout (no version line; the navaid line comes
// first and the RF-source lines end at "999"), 0 and 1 the older layouts with
// a version line "CRV Version x.y.0" / "x.y.1", 2 the current layout
// ("CRV Version 5.0.6").
#include <string>
#include <string_view>
#include <vector>

#include "crv/platform/expected.h"

namespace crv::common {

inline constexpr const char* kCurrentVersionText = "CRV Version 5.0.6";

// The version of a file from its first line: -1 when the line is not a version
// line; otherwise the last number of the version after "CRV Version" (trailing
// blanks and a stray CR do not count), capped at 2.
int GetFileVersion(std::string_view firstLine);

// The file brought to the current layout, computed in memory. Fails, naming
// the reason, when the lines lack the RF-source terminator, the options line
// or the case line of their layout; such a file is not a case data file.
crv::platform::Expected<std::vector<std::string>> upgradeCaseLines(const std::vector<std::string>& lines, int version);

// The name the file as it was is kept under: "_old" before the extension of
// the file name ("case_old.dat"), or appended when the name has none.
std::string backupName(std::string_view path);

// Rewrites the case data file in the current layout and keeps the file as it
// was beside it. Nothing is written unless the whole file converts; an
// existing backup is kept (the new one then takes the first free name
// "_old2", "_old3", ...); the file itself is replaced atomically, so it is
// either the old file or the whole new one. Version 2 leaves the file alone.
crv::platform::Expected<void> UpgradeDataFile(const std::string& path, int version);

}  // namespace crv::common
