#pragma once
// Files of the report viewer: the list handed to it and copying a report.
#include <optional>
#include <string>
#include <vector>

namespace crv::viewers {

// Names joined by "|": leading separators are skipped and the list ends at
// the first empty name.
std::vector<std::string> splitReportList(const std::string& fileList);

// Reads a whole report. Empty optional when it cannot be read.
std::optional<std::string> readReport(const std::string& path);

// Copies a report unchanged to target. Copying a file onto itself (same file
// after resolving links and relative parts) leaves it as it is. The copy is
// written beside the target and renamed into place, so a failed copy never
// leaves a half-written or emptied target. Returns an empty string on
// success, else a message saying what failed.
std::string saveReportCopy(const std::string& source, const std::string& target);

}  // namespace crv::viewers
