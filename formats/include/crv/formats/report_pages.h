#pragma once
// The pages of the system's text reports: the simulation report "Rfi.txt"
// and the search reports "nav@....txt" and "fm@....txt". A page holds at most
// a given number of lines; a line whose first character is a form feed ends
// the page and is not shown. The search reports' writers end a page with such
// a line every 56 lines; the engine's report has none. The report viewer
// pages on screen and on paper by the same rule.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace crv::formats {

// The largest report the viewer reads: "Rfi.txt" of a large run.
inline constexpr std::size_t kReportMaxBytes = std::size_t(256) << 20;

inline constexpr char kFormFeed = '\f';
// The line a writer puts where a page ends.
inline constexpr const char* kPageBreakLine = "\f";
// Lines of a page of the search reports (their writers count them).
inline constexpr int kSearchReportPageLines = 56;
// Lines of a printed page, and the most a screen page shows.
inline constexpr int kPrintedLinesPerPage = 58;

// True when the line ends a page.
inline bool isPageBreak(std::string_view line) { return !line.empty() && line[0] == kFormFeed; }

// Splits off one line at `pos` (LF or CR LF ends it, as does the end of the
// text) and moves pos past its end.
std::string_view nextLine(std::string_view text, std::size_t& pos);

// The pages of a text, remembered by the byte position of their first line,
// so a long report is indexed once and each page is read on demand. A page
// that would receive no line (a form feed at its top) takes no number;
// reports of any length are paged (no page cap).
class ReportPages {
public:
    // linesPerPage below 1 counts as 1, so paging always moves forward.
    static ReportPages paginate(std::string_view text, int linesPerPage);

    int pageCount() const { return static_cast<int>(pageStart_.size()); }
    int linesPerPage() const { return linesPerPage_; }

    // Lines of page `page` (from 1) of the same text, without line ends;
    // empty for a page outside 1..pageCount.
    std::vector<std::string> pageLines(std::string_view text, int page) const;

private:
    std::vector<std::uint64_t> pageStart_;
    int linesPerPage_ = 1;
};

}  // namespace crv::formats
