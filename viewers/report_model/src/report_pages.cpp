#include "crv/viewers/report_pages.h"

namespace crv::viewers {

std::string pageText(const std::vector<std::string>& lines, int linesPerPage) {
    std::string out;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        out += lines[i];
        if (static_cast<int>(i + 1) < linesPerPage) out += "\r\n";
    }
    return out;
}

std::string pageLabel(int currentPage, int pageCount) {
    return "Page " + std::to_string(pageCount < 1 ? 1 : currentPage) + " of " + std::to_string(pageCount);
}

std::string reportLabel(int currentReport, int reportCount) {
    return "Report " + std::to_string(currentReport) + " of " + std::to_string(reportCount);
}

}  // namespace crv::viewers
