#include "crv/formats/report_pages.h"

#include <algorithm>

namespace crv::formats {

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

ReportPages ReportPages::paginate(std::string_view text, int linesPerPage) {
    ReportPages pages;
    pages.linesPerPage_ = std::max(linesPerPage, 1);
    // Reports of several thousand pages are usual; reserve roughly.
    pages.pageStart_.reserve(text.size() / (80 * static_cast<std::size_t>(pages.linesPerPage_)) + 1);
    std::size_t pos = 0;
    while (pos < text.size()) {
        const std::size_t start = pos;
        int lines = 0;
        while (pos < text.size() && lines < pages.linesPerPage_) {
            if (isPageBreak(nextLine(text, pos))) break;
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
    std::size_t pos = static_cast<std::size_t>(pageStart_[static_cast<std::size_t>(page - 1)]);
    while (pos < text.size() && static_cast<int>(lines.size()) < linesPerPage_) {
        const std::string_view line = nextLine(text, pos);
        if (isPageBreak(line)) break;
        lines.emplace_back(line);
    }
    return lines;
}

}  // namespace crv::formats
