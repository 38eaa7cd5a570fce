#include "crv/editors/rcvr_points_editor.h"


#include "crv/common/conversions.h"
#include "crv/common/data_file_read.h"
#include "crv/common/lat_lon.h"
#include "crv/common/text_utils.h"
#include "crv/editors/user_data_file.h"
#include "crv/platform/text_file.h"
#include "editor_steps.h"
#include "text_field.h"

namespace crv::editors {

using common::kCR;
using common::MessageAnswer;
using common::MessageButtons;
using common::MessageIcon;

namespace {

double& valueOf(RcvrPoint& p, int column) {
    return column == 1 ? p.first : column == 2 ? p.second : p.elevationFt;
}

}  // namespace

RcvrPointsEditor::RcvrPointsEditor(SiteEditorHost& host) : host_(host) {
    ClearData();
    ShowData();
}

common::MessageAnswer RcvrPointsEditor::say(const std::string& text, const std::string& title, MessageIcon icon,
                                            MessageButtons buttons) {
    return host_.presenter().present({text, title, icon, buttons});
}

std::string RcvrPointsEditor::heading(int column) const {
    if (column == 3) return "Elev (ft)";
    if (format_ == 0) return column == 1 ? "    Range    " : "   Bearing   ";
    return column == 1 ? "      Latitude     " : "      Longitude     ";
}

common::FieldCheck RcvrPointsEditor::columnRecord(int column) const {
    common::FieldCheck r;
    if (column == 3) {
        r.kind = common::kFieldInteger;
        r.width = 5;
        r.min = -999;
        r.max = 99999;
    } else if (format_ == 0) {
        r.kind = common::kFieldReal;
        r.width = 6;  // a bearing of -179.5 needs six columns
        r.decimals = column == 1 ? 3 : 1;
        r.min = column == 1 ? 0.0f : -180.0f;
        r.max = column == 1 ? 99.999f : 180.0f;
    } else {
        r.kind = common::kFieldLatLon;
        r.min = column == 1 ? 1 : 2;
        r.max = column == 1 ? 90 : 180;
        r.width = column == 1 ? 13 : 14;
        r.decimals = static_cast<std::int16_t>(format_);
    }
    return r;
}

const std::string& RcvrPointsEditor::cellText(int row, int column) const {
    return cells_[static_cast<std::size_t>(row) * 3 + static_cast<std::size_t>(column - 1)];
}

bool RcvrPointsEditor::anyInvalid() const {
    for (bool b : invalid_)
        if (b) return true;
    return false;
}

std::string RcvrPointsEditor::formatValue(double v, int column, bool invalid) const {
    const common::FieldCheck r = columnRecord(column);
    if (r.kind == common::kFieldLatLon) return common::FormatLatLon(v, column == 1 ? 1 : 2, format_);
    // A value from a file the cell cannot hold is shown whole, never cut.
    if (invalid && !pointValueValid(v, column, format_)) return common::formatDecimal(v, r.decimals);
    return common::FormatField(v, r.width, r.decimals);
}

void RcvrPointsEditor::ClearData() {
    fileTitle_ = "untitled";
    markedByFormat_ = false;
    descriptionText_.clear();
    points_.assign(kRows, RcvrPoint{});
    invalid_.assign(kRows, false);
    changed_ = false;
}

void RcvrPointsEditor::ShowData() {
    typing_ = false;
    cells_.assign(static_cast<std::size_t>(kRows) * 3, std::string());
    for (int r = 0; r < kRows; ++r) {
        RcvrPoint& p = points_[static_cast<std::size_t>(r)];
        for (int c = 1; c <= 3; ++c)
            cells_[static_cast<std::size_t>(r) * 3 + static_cast<std::size_t>(c - 1)] =
                formatValue(valueOf(p, c), c, invalid_[static_cast<std::size_t>(r)]);
    }
}

void RcvrPointsEditor::ReadGrid() {
    // Every commit keeps the points as numbers, so a change of format or
    // notation shows the same positions without rounding them through texts.
    descriptionText_ = detail::trimBlanks(descriptionText_);
}

bool RcvrPointsEditor::commitCell(int row, int column, std::string& text, const std::string& beforeRef) {
    const std::string before = beforeRef;  // the caller may pass the cell's own text
    if (!detail::checkText(text, columnRecord(column), host_.presenter())) return false;
    if (text != before) changed_ = true;
    cells_[static_cast<std::size_t>(row) * 3 + static_cast<std::size_t>(column - 1)] = text;
    // A row read out of range is corrected once all its values fit.
    RcvrPoint p = points_[static_cast<std::size_t>(row)];
    // An unchanged text keeps the value it shows (which may hold more decimals).
    if (text != before) valueOf(p, column) = column < 3 && format_ != 0 ? common::ParseLatLon(text) : common::Val(text);
    points_[static_cast<std::size_t>(row)] = p;
    invalid_[static_cast<std::size_t>(row)] = !(pointValueValid(p.first, 1, format_) &&
                                                pointValueValid(p.second, 2, format_) &&
                                                pointValueValid(p.elevationFt, 3, format_));
    typing_ = false;
    return true;
}

bool RcvrPointsEditor::commitDescription(std::string& text, const std::string& beforeRef) {
    const std::string before = beforeRef;  // the caller may pass the cell's own text
    if (text.size() > 25) text.resize(25);
    if (text != before) changed_ = true;
    descriptionText_ = text;
    typing_ = false;
    return true;
}

RcvrPointsEditor::Prompt RcvrPointsEditor::askToSave(const std::string& text, const std::string& title) {
    if (!changed_ && !typing_) return Prompt::Go;
    return detail::askToSaveFirst(host_.presenter(), text, title, commitPending, [this] { return SaveDataAs(); }) ==
                   detail::SavePrompt::Go
               ? Prompt::Go
               : Prompt::Stop;
}

bool RcvrPointsEditor::SaveDataAs() {
    if (anyInvalid()) {
        detail::sayMarkedValuesRemain(host_.presenter(), markedByFormat_ ? detail::MarkedBy::FormatChange
                                                                         : detail::MarkedBy::FileRead);
        return false;
    }
    ReadGrid();
    if (const int after = firstPointAfterEnd(points_); after >= 0) {
        const std::string text = " Row " + std::to_string(listLength(points_) + 1) +
                                 " is empty, so the list ends there: row " + std::to_string(after + 1) +
                                 " and the rows after it will not be saved. " + kCR + " Save anyway? ";
        if (say(text, "Save", MessageIcon::Exclamation, MessageButtons::YesNo) != MessageAnswer::Yes) return false;
    }
    const std::string which = "the receiver points data file must be " + std::string(1, kCR) + "named " + kRcvrPointsFile;
    if (!detail::remindOfTheModelName(host_.presenter(), which, MessageIcon::Information)) return false;
    FileDialogRequest request;
    request.title = "Save As";
    request.filter = "Receiver Points (*.pts)|*.pts|All Files (*.*)|*.*";
    request.defaultExtension = ".pts";
    request.initialFolder = host_.state().UserFolder;
    request.initialName = fileTitle_ == "untitled" ? kRcvrPointsFile : fileTitle_;
    const std::string path = detail::askWhereToSave(host_, request, fileTitle_);
    if (path.empty()) return false;
    RcvrPoints file;
    file.format = format_;
    file.description = common::leftSet(descriptionText_, 25);
    file.points = points_;
    if (!detail::writeOrReport(host_.presenter(), path, writeRcvrPointsFile(file))) return false;
    changed_ = false;
    return true;
}

bool RcvrPointsEditor::Save() {
    if (!commitPending()) return false;
    return SaveDataAs();
}

bool RcvrPointsEditor::New() {
    if (askToSave(" Save current data before creating a new file? ", "New File") == Prompt::Stop) return false;
    ClearData();
    ShowData();
    return true;
}

void RcvrPointsEditor::takeRead(const RcvrPointsRead& read, const std::string& path, const std::string& title) {
    // The read list replaces the whole previous list.
    markedByFormat_ = false;
    points_.assign(kRows, RcvrPoint{});
    invalid_.assign(kRows, false);
    for (std::size_t i = 0; i < read.points.size() && i < points_.size(); ++i) {
        points_[i] = read.points[i];
        invalid_[i] = read.invalid[i];
    }
    changed_ = false;
    ShowData();
    std::string problems;
    if (read.badCount > 0)
        problems += " " + std::to_string(read.badCount) + (read.badCount == 1 ? " point of " : " points of ") + path +
                    (read.badCount == 1 ? " has" : " have") + " values outside the allowed range (the first on line " +
                    std::to_string(read.firstBadLine) + ": \"" + read.firstBadText + "\"" +
                    "); they are marked in the table. " + kCR;
    if (read.skippedLines > 0)
        problems += " " + std::to_string(read.skippedLines) + (read.skippedLines == 1 ? " line holds" : " lines hold") +
                    " no number and " + (read.skippedLines == 1 ? "was" : "were") + " skipped. " + kCR;
    if (read.extraLines > 0)
        problems += " The table holds " + std::to_string(kRows) + " points; " + std::to_string(read.extraLines) +
                    (read.extraLines == 1 ? " further line was" : " further lines were") + " not read. " + kCR;
    if (!problems.empty()) {
        problems.pop_back();
        say(problems, title, MessageIcon::Exclamation, MessageButtons::Ok);
    }
}

bool RcvrPointsEditor::Open() {
    if (askToSave(" Save current data before opening new file? ", "Open File") == Prompt::Stop) return false;
    const std::string path = host_.showFiles(7, browsedBefore_);
    browsedBefore_ = true;
    if (path.empty()) return false;
    std::string bytes;
    if (!detail::readOrReport(host_.presenter(), path, "Open File", common::kPointsFileMaxBytes, bytes)) return false;
    detail::followChosenFile(host_, path, fileTitle_);
    const RcvrPointsFileRead f = readRcvrPointsFile(bytes);
    descriptionText_ = detail::trimBlanks(f.data.description);
    format_ = f.data.format;
    takeRead(f.read, path, "Open File");
    return true;
}

bool RcvrPointsEditor::Import() {
    if (askToSave(" Save current data before opening new file? ", "Open File") == Prompt::Stop) return false;
    FileDialogRequest request;
    request.title = "File to Import";
    request.filter = "All Files (*.*)|*.*";
    request.initialFolder = host_.state().UserFolder;
    const std::string path = host_.askOpenFile(request);
    if (path.empty()) return false;
    std::string bytes;
    if (!detail::readOrReport(host_.presenter(), path, "Import", common::kPointsFileMaxBytes, bytes)) return false;
    fileTitle_ = detail::nameOf(path);
    takeRead(ReadPoints(textLines(bytes), 0, format_), path, "Import");
    return true;
}

void RcvrPointsEditor::changeFormat(int format) {
    if (format == format_) return;
    ReadGrid();
    format_ = format;
    // The numbers stay; whether they fit is judged under the new headings.
    for (int r = 0; r < kRows; ++r) {
        const RcvrPoint& p = points_[static_cast<std::size_t>(r)];
        invalid_[static_cast<std::size_t>(r)] = !(pointValueValid(p.first, 1, format_) &&
                                                  pointValueValid(p.second, 2, format_) &&
                                                  pointValueValid(p.elevationFt, 3, format_));
    }
    // From now on a marked value is one the format does not fit, whatever
    // marked it first.
    markedByFormat_ = anyInvalid();
    ShowData();
    changed_ = true;
}

bool RcvrPointsEditor::Exit() {
    if (askToSave(" Save your changes before exiting? ", "Exit Editor") == Prompt::Stop) return false;
    closed_ = true;
    return true;
}

}  // namespace crv::editors
