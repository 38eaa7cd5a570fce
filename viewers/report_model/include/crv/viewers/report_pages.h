#pragma once
// Screen paging of a text report. A page holds at most linesPerPage lines; a
// line whose first character is a form feed ends the page and is not shown.
// A page that would receive no line (form feed at its top) takes no number.
// Pages are remembered by the byte position of their first line, so a long
// report is indexed once and each page is read on demand.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace crv::viewers {

inline constexpr char kFormFeed = '\f';
// Lines of a printed page, and the most a screen page shows.
inline constexpr int kPrintedLinesPerPage = 58;

class ReportPages {
public:
    // Indexes text held in memory (the whole file). linesPerPage below 1
    // counts as 1, so paging always moves forward.
    static ReportPages paginate(std::string_view text, int linesPerPage);

    int pageCount() const { return static_cast<int>(pageStart_.size()); }
    int linesPerPage() const { return linesPerPage_; }
    std::uint64_t pageStart(int page) const { return pageStart_.at(page - 1); }

    // Lines of screen page `page` (from 1) of the same text, without line
    // ends; empty for a page outside 1..pageCount.
    std::vector<std::string> pageLines(std::string_view text, int page) const;

private:
    std::vector<std::uint64_t> pageStart_;
    int linesPerPage_ = 1;
};

// Splits off one line at `pos` (LF or CRLF ends it, as does the end of the
// text) and moves pos past its end.
std::string_view nextLine(std::string_view text, std::size_t& pos);

// Text of a screen page as the text area shows it: lines joined by CR LF, the
// last line of a full page without a line break.
std::string pageText(const std::vector<std::string>& lines, int linesPerPage);

// "Page n of m" and "Report n of m"; a report without pages reads "Page 1 of 0".
std::string pageLabel(int currentPage, int pageCount);
std::string reportLabel(int currentReport, int reportCount);

// The Terminal font shows the degree sign at its own code (248); the file's
// text is not changed, only what is shown.
std::string terminalDegrees(std::string line);

}  // namespace crv::viewers
