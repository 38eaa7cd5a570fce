#pragma once
// The user's pattern files as the RF-source table lists them: FmHor01..25
// (horizontal patterns) and FmVrt1..6 (vertical patterns) in the user folder.
#include <string>
#include <vector>

namespace crv::editors {

enum class PatternFileState { Present, Missing, Unreadable };

struct PatternFileInfo {
    std::string name;         // base name, "FmHor03"
    PatternFileState state = PatternFileState::Missing;
    std::string description;  // Present: the first item of line 1
};

// Looks at userFolder + name + ".pat". A file that exists but cannot be read
// (no permission, a folder of that name) is Unreadable, never an error: one
// bad file must not keep the table from being laid out.
PatternFileInfo readPatternFile(const std::string& userFolder, const std::string& name);

// FmHor01..FmHor25 and FmVrt1..FmVrt6, in that order.
std::vector<PatternFileInfo> ScanHorizontalPatterns(const std::string& userFolder);
std::vector<PatternFileInfo> ScanVerticalPatterns(const std::string& userFolder);

// The name as the lists show it: "FmHor03 -- Tower", "FmHor03" (empty
// description), "FmHor03 -- Not Created", "FmHor03 -- (unreadable)".
std::string patternListName(const PatternFileInfo& info);

}  // namespace crv::editors
