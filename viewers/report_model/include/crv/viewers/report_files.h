#pragma once
// Files of the report viewer: the list handed to it and copying a report.
#include <string>
#include <vector>

#include "crv/platform/expected.h"

namespace crv::viewers {

// Names joined by "|": leading separators are skipped and the list ends at
// the first empty name.
std::vector<std::string> splitReportList(const std::string& fileList);

// Reads a whole report: a regular file only. A folder, FIFO or device, a
// read error or a report past any run's size is an error naming the file
// ("Could not open PATH: ..." / "Could not read PATH: ...").
platform::Expected<std::string> readReport(const std::string& path);

// Copies a report unchanged to target. Copying a file onto itself (same file
// after resolving links and relative parts) leaves it as it is. The copy is
// written beside the target and renamed into place, so a failed copy never
// leaves a half-written or emptied target. Returns an empty string on
// success, else a message saying what failed.
std::string saveReportCopy(const std::string& source, const std::string& target);

}  // namespace crv::viewers
