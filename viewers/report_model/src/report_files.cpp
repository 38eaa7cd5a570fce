#include "crv/viewers/report_files.h"

#include <cstdio>
#include <filesystem>
#include <system_error>

#include "crv/common/data_file_read.h"
#include "crv/platform/text_file.h"

namespace fs = std::filesystem;

namespace crv::viewers {

std::vector<std::string> splitReportList(const std::string& fileList) {
    std::vector<std::string> names;
    std::size_t pos = fileList.find_first_not_of('|');
    while (pos != std::string::npos && pos < fileList.size()) {
        const std::size_t bar = fileList.find('|', pos);
        const std::string name = fileList.substr(pos, bar == std::string::npos ? std::string::npos : bar - pos);
        if (name.empty()) break;
        names.push_back(name);
        if (bar == std::string::npos) break;
        pos = bar + 1;
    }
    return names;
}

platform::Expected<std::string> readReport(const std::string& path) {
    return platform::readRegularFile(path, common::kReportMaxBytes);
}

std::string saveReportCopy(const std::string& source, const std::string& target) {
    std::error_code ec;
    if (!fs::is_regular_file(source, ec)) return "The report \"" + source + "\" cannot be read.";
    // Same file under another spelling (relative parts, links): nothing to copy.
    if (fs::exists(target, ec) && fs::equivalent(source, target, ec)) return {};
    auto bytes = readReport(source);
    if (!bytes) return "The report \"" + source + "\" cannot be read: " + bytes.error();
    // A temporary beside the target, renamed over it when complete; a link,
    // FIFO, folder or read-only file there is refused and named.
    if (auto copied = platform::writeFileAtomic(target, *bytes); !copied)
        return "The report could not be copied to \"" + target + "\": " + copied.error();
    return {};
}

}  // namespace crv::viewers
