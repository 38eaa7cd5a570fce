#pragma once
// File services of the programs. Folders end in "/". The data came from a file
// system that ignores letter case, and users still name their files "RFI.PLT"
// or "fmall.DAT", so every lookup that reads matches names without regard to
// letter case (ASCII), preferring the exact spelling when it exists; whatever
// the system writes keeps its own exact spelling.
#include <string>
#include <string_view>
#include <vector>

#include "crv/platform/expected.h"

namespace crv::common {

struct DirEntry {
    std::string name;
    bool isFolder = false;  // a real folder; a link to one is not followed
    bool isLink = false;
};

// True when `name` matches `pattern` ("*" any run, "?" one character), letter
// case ignored. "*.*" matches every name, as it always has.
bool matchesPattern(std::string_view name, std::string_view pattern);

// The entries of `folder` whose names match `pattern`, "." and ".." left out,
// sorted by name. A missing or unreadable folder gives none.
std::vector<DirEntry> FindEntries(std::string_view folder, std::string_view pattern);

// The path with every component spelled as the file system stores it, or ""
// when it does not exist. A trailing "/" is kept.
std::string NormalizePath(std::string_view path);

// True when at least one entry (file or folder) matches; the last component
// may hold wildcards. A trailing "/" is ignored.
bool FileExists(std::string_view path);

// Deletes every entry matching the pattern's last component in its folder,
// except folders. A link is removed itself, never what it points to.
// Failures of single files are ignored.
void DeleteFiles(std::string_view pattern);

// Creates the folder (one level) unless a folder of that name exists. Fails
// when the parent is missing or a file has that name.
crv::platform::Expected<void> EnsureDirExists(std::string_view path);

}  // namespace crv::common
