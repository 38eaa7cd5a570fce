#pragma once
// Screen paging of a text report: the pages of the report unit, the text and
// labels the viewer shows of them.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "crv/formats/report_pages.h"

namespace crv::viewers {

// The paging rule is the report files' own (crv/formats/report_pages.h):
// the engine and the search writers rely on it as the viewer does.
using crv::formats::kFormFeed;
using crv::formats::kPrintedLinesPerPage;
using crv::formats::nextLine;
using crv::formats::ReportPages;

// Text of a screen page as the text area shows it: lines joined by CR LF, the
// last line of a full page without a line break.
std::string pageText(const std::vector<std::string>& lines, int linesPerPage);

// "Page n of m" and "Report n of m"; a report without pages reads "Page 1 of 0".
std::string pageLabel(int currentPage, int pageCount);
std::string reportLabel(int currentReport, int reportCount);

}  // namespace crv::viewers
