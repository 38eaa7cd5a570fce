#include "crv/editors/pattern_files.h"

#include <cstdio>
#include <filesystem>
#include <system_error>

#include "crv/formats/site_files.h"
#include "crv/platform/text_file.h"

namespace crv::editors {
namespace {

std::string joinPath(const std::string& folder, const std::string& file) {
    if (folder.empty() || folder.back() == '/') return folder + file;
    return folder + "/" + file;
}

}  // namespace

PatternFileInfo readPatternFile(const std::string& userFolder, const std::string& name) {
    PatternFileInfo info;
    info.name = name;
    const std::filesystem::path path = joinPath(userFolder, name + ".pat");
    std::error_code ec;
    const auto status = std::filesystem::status(path, ec);
    if (ec || !std::filesystem::exists(status)) {
        info.state = ec && ec != std::errc::no_such_file_or_directory ? PatternFileState::Unreadable
                                                                      : PatternFileState::Missing;
        return info;
    }
    // Only a regular file is read, and only its first line, within the
    // width a description can have.
    crv::platform::LineReader reader;
    reader.setMaxLineLength(4096);
    std::string line;
    if (!std::filesystem::is_regular_file(status) || !reader.open(path.string()) ||
        (!reader.next(line) && reader.failed())) {
        info.state = PatternFileState::Unreadable;
        return info;
    }
    info.state = PatternFileState::Present;
    info.description = crv::formats::patternListDescription(line);
    return info;
}

std::vector<PatternFileInfo> ScanHorizontalPatterns(const std::string& userFolder) {
    std::vector<PatternFileInfo> out;
    for (int i = 1; i <= 25; ++i) {
        char name[16];
        std::snprintf(name, sizeof name, "FmHor%02d", i);
        out.push_back(readPatternFile(userFolder, name));
    }
    return out;
}

std::vector<PatternFileInfo> ScanVerticalPatterns(const std::string& userFolder) {
    std::vector<PatternFileInfo> out;
    for (int i = 1; i <= 6; ++i) out.push_back(readPatternFile(userFolder, "FmVrt" + std::to_string(i)));
    return out;
}

std::string patternListName(const PatternFileInfo& info) {
    switch (info.state) {
    case PatternFileState::Missing: return info.name + " -- Not Created";
    case PatternFileState::Unreadable: return info.name + " -- (unreadable)";
    case PatternFileState::Present: break;
    }
    return info.description.empty() ? info.name : info.name + " -- " + info.description;
}

}  // namespace crv::editors
