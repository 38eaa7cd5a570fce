#include "crv/viewers/report_viewer_controller.h"

#include "crv/viewers/report_files.h"

namespace crv::viewers {

ReportQuestions reportQuestions(const std::string& fileList, bool autoPrint) {
    if (autoPrint) return {false, true};
    return {fileList.find('|') != std::string::npos, false};
}

int printedPageCount(std::string_view text) { return ReportPages::paginate(text, kPrintedLinesPerPage).pageCount(); }

void ReportViewerController::setList(const std::string& folder, const std::string& fileList) {
    folder_ = folder;
    files_ = splitReportList(fileList);
    current_ = files_.empty() ? 0 : 1;
    text_.clear();
    pages_ = ReportPages::paginate(text_, lines_);
    page_ = 1;
}

void ReportViewerController::setLinesPerPage(int lines) { lines_ = std::max(lines, 1); }

std::string ReportViewerController::currentName() const {
    return current_ >= 1 && current_ <= ReportCount() ? files_[current_ - 1] : std::string();
}

std::string ReportViewerController::currentPath() const { return folder_ + currentName(); }

std::optional<std::string> ReportViewerController::LoadFile() {
    page_ = 1;
    text_.clear();
    pages_ = ReportPages::paginate(text_, lines_);
    if (current_ < 1) return std::nullopt;
    auto text = readReport(currentPath());
    if (!text) return text.error();
    text_ = std::move(*text);
    pages_ = ReportPages::paginate(text_, lines_);
    return std::nullopt;
}

std::string ReportViewerController::caption() const {
    return current_ >= 1 ? " CRV Report -- " + currentName() : std::string(" CRV Report");
}

std::string ReportViewerController::pageText() const {
    return viewers::pageText(pages_.pageLines(text_, page_), lines_);
}

bool ReportViewerController::nextPage() {
    if (page_ >= PageCount()) return false;
    ++page_;
    return true;
}

bool ReportViewerController::prevPage() {
    if (page_ <= 1) return false;
    --page_;
    return true;
}

bool ReportViewerController::nextReport() {
    if (current_ >= ReportCount()) return false;
    ++current_;
    return true;
}

bool ReportViewerController::prevReport() {
    if (current_ <= 1) return false;
    --current_;
    return true;
}

void ReportViewerController::selectReport(int n) {
    if (n >= 1 && n <= ReportCount()) current_ = n;
}

ReportViewerController::KeyAction ReportViewerController::key(bool pageDown, bool shift, bool otherModifiers) {
    if (otherModifiers) return KeyAction::None;
    if (shift) {
        const bool moved = pageDown ? nextReport() : prevReport();
        return moved ? KeyAction::Report : KeyAction::Beep;
    }
    const bool moved = pageDown ? nextPage() : prevPage();
    return moved ? KeyAction::Page : KeyAction::Beep;
}

std::string ReportViewerController::saveAs(const std::string& target) const {
    return saveReportCopy(currentPath(), target);
}

void ReportViewerController::clear() {
    files_.clear();
    text_.clear();
    text_.shrink_to_fit();
    pages_ = ReportPages::paginate(text_, lines_);
    current_ = 0;
    page_ = 1;
}

}  // namespace crv::viewers
