#include "crv/viewers/report_pages.h"

#include <algorithm>

namespace crv::viewers {

std::string_view nextLine(std::string_view text, std::size_t& pos) {
    const std::size_t start = pos;
    std::size_t end = text.find('\n', start);
    if (end == std::string_view::npos) {
        end = text.size();
        pos = end;
    } else {
        pos = end + 1;
    }
    std::size_t len = end - start;
    if (len > 0 && text[start + len - 1] == '\r') --len;
    return text.substr(start, len);
}

static bool isFormFeedLine(std::string_view line) { return !line.empty() && line[0] == kFormFeed; }

ReportPages ReportPages::paginate(std::string_view text, int linesPerPage) {
    ReportPages pages;
    pages.linesPerPage_ = std::max(linesPerPage, 1);
    // Reports of several thousand pages are usual; reserve roughly.
    pages.pageStart_.reserve(text.size() / (80 * pages.linesPerPage_) + 1);
    std::size_t pos = 0;
    while (pos < text.size()) {
        const std::size_t start = pos;
        int lines = 0;
        while (pos < text.size() && lines < pages.linesPerPage_) {
            if (isFormFeedLine(nextLine(text, pos))) break;
            ++lines;
        }
        // A page that received no line (form feed at its top) takes no number.
        if (lines >= 1) pages.pageStart_.push_back(start);
    }
    return pages;
}

std::vector<std::string> ReportPages::pageLines(std::string_view text, int page) const {
    std::vector<std::string> lines;
    if (page < 1 || page > pageCount()) return lines;
    std::size_t pos = static_cast<std::size_t>(pageStart_[page - 1]);
    while (pos < text.size() && static_cast<int>(lines.size()) < linesPerPage_) {
        const std::string_view line = nextLine(text, pos);
        if (isFormFeedLine(line)) break;
        lines.emplace_back(line);
    }
    return lines;
}

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

std::string terminalDegrees(std::string line) {
    std::replace(line.begin(), line.end(), static_cast<char>(176), static_cast<char>(248));
    return line;
}

}  // namespace crv::viewers
