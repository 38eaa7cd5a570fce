#pragma once
// What the report viewer decides, without a window: the list of reports,
// the current report and page, the texts of the labels and the caption,
// which buttons are enabled, what Page Up and Page Down do, the print range
// in printed pages and Save As. The window (frmReport) shows it.
#include "crv/viewers/report_pages.h"
#include "crv/viewers/report_print.h"

#include <optional>
#include <string>
#include <vector>

namespace crv::viewers {

// DisplayReports' question: view or print is asked only for several reports
// (and never for AutoPrint, which prints).
struct ReportQuestions {
    bool ask = false;
    bool print = false;
};
ReportQuestions reportQuestions(const std::string& fileList, bool autoPrint);

// Printed pages of 58 lines that a text gives.
int printedPageCount(std::string_view text);

class ReportViewerController {
public:
    void setList(const std::string& folder, const std::string& fileList);
    void setLinesPerPage(int lines);

    // Reads and pages the current report and shows its first page. On a
    // failure the report shows no page and the message comes back.
    std::optional<std::string> LoadFile();

    int ReportCount() const { return static_cast<int>(files_.size()); }
    int CurrentReport() const { return current_; }
    int PageCount() const { return pages_.pageCount(); }
    int CurrentPage() const { return page_; }
    int LinesPerPage() const { return lines_; }
    const std::string& ReportFolder() const { return folder_; }
    const std::vector<std::string>& ReportFiles() const { return files_; }
    std::string currentName() const;
    std::string currentPath() const;
    const std::string& text() const { return text_; }

    std::string caption() const;
    std::string pageText() const;
    std::string pageLabelText() const { return pageLabel(page_, PageCount()); }
    std::string reportLabelText() const { return reportLabel(current_, ReportCount()); }
    bool prevPageEnabled() const { return page_ >= 2; }
    bool nextPageEnabled() const { return page_ < PageCount(); }
    bool prevReportEnabled() const { return current_ >= 2; }
    bool nextReportEnabled() const { return current_ < ReportCount(); }

    bool nextPage();
    bool prevPage();
    // The report changes only; the caller then runs LoadFile.
    bool nextReport();
    bool prevReport();
    // Makes report n (from 1) current; the caller then runs LoadFile.
    void selectReport(int n);

    // Page Up / Page Down: no shift moves a page, Shift alone a report.
    enum class KeyAction { None, Page, Report, Beep };
    KeyAction key(bool pageDown, bool shift, bool otherModifiers);

    // Printed pages of the current report in the range, numbered as printed.
    int printedPageTotal() const { return printedPageCount(text_); }
    std::vector<PrintedPage> pagesToPrint(int fromPage, int toPage) const {
        return printedPages(text_, fromPage, toPage);
    }

    // Save As: copies the current report; an empty string on success.
    std::string saveAs(const std::string& target) const;

    void clear();

private:
    std::string folder_;
    std::vector<std::string> files_;
    int current_ = 0;
    int page_ = 1;
    int lines_ = kPrintedLinesPerPage;
    std::string text_;
    ReportPages pages_;
};

}  // namespace crv::viewers
