#include "crv/formats/file_lines.h"

#include "crv/platform/text_file.h"

namespace crv::formats {

std::vector<std::string> splitLines(std::string_view bytes) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < bytes.size()) {
        const std::size_t end = bytes.find('\n', start);
        std::string_view line = bytes.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        lines.emplace_back(line);
        if (end == std::string_view::npos) break;
        start = end + 1;
    }
    return lines;
}

crv::platform::Expected<std::vector<std::string>> readFileLines(const std::string& path, std::size_t maxBytes) {
    auto bytes = crv::platform::readRegularFile(path, maxBytes);
    if (!bytes) return crv::platform::makeError(bytes.error());
    return splitLines(*bytes);
}

}  // namespace crv::formats
