#include "crv/editors/user_data_editor.h"

#include <cmath>

#include "crv/common/configuration.h"
#include "crv/common/conversions.h"
#include "crv/common/data_file_read.h"
#include "crv/common/text_utils.h"
#include "crv/formats/pattern_plot_file.h"
#include "crv/platform/text_file.h"
#include "editor_steps.h"
#include "text_field.h"

namespace crv::editors {

using common::kCR;
using common::MessageAnswer;
using common::MessageButtons;
using common::MessageIcon;


UserDataEditor::UserDataEditor(SiteEditorHost& host, bool patternMode)
    : host_(host), patternMode_(patternMode), data_(newUserData(patternMode ? 1 : 4)) {
    ClearData();
    ShowData();
}

std::string UserDataEditor::caption() const {
    return std::string(patternMode_ ? " CRV Radiation Pattern -- " : " CRV Calibration Data -- ") + fileTitle_;
}

std::string UserDataEditor::helpTopic() const {
    switch (data_.kind) {
        case 3: return "localizer_pattern";
        case 4:
        case 5: return "calibration_data";
        default: return "fm_pattern";
    }
}

std::string UserDataEditor::xText(int row) const {
    const UserDataKind& k = kindInfo();
    return common::FormatField(data_.x[static_cast<std::size_t>(row)], k.xWidth, k.xDecimals);
}

bool UserDataEditor::anyInvalid() const {
    for (bool b : invalid_)
        if (b) return true;
    return false;
}

MessageAnswer UserDataEditor::say(const std::string& text, const std::string& title, MessageIcon icon,
                                  MessageButtons buttons) {
    return host_.presenter().present({text, title, icon, buttons});
}

void UserDataEditor::ClearData() {
    fileTitle_ = "untitled";
    data_.description = std::string(25, ' ');
    data_.gain = 0;
    setFixedX(data_);
    data_.values.assign(data_.values.size(), 0.0);
    invalid_.assign(data_.values.size(), false);
    changed_ = false;
}

void UserDataEditor::ShowData() {
    typing_ = false;
    const ValueCell cell = valueCell();
    cells_.assign(static_cast<std::size_t>(rows()), std::string());
    invalid_.resize(data_.values.size(), false);
    for (int r = 0; r < rows(); ++r) {
        const auto i = static_cast<std::size_t>(r);
        const double v = data_.values[i];
        const double shown = patternMode_ && data_.scale == 1 ? shownDb(v) : v;
        // A value from a file that the cell cannot hold is shown whole, so
        // it can be seen and corrected, never cut to the cell's width.
        cells_[i] = invalid_[i] ? common::formatDecimal(shown, cell.decimals)
                                : common::FormatField(shown, cell.width, cell.decimals);
    }
    descriptionText_ = detail::trimBlanks(data_.description);
    data_.description = common::leftSet(descriptionText_, 25);
    gainText_ = common::FormatField(data_.gain, 4, 1);
}

void UserDataEditor::ReadGrid() {
    // The values are kept as numbers by every commit, so a switch of scale
    // or a save never rounds them through the cells' texts.
    data_.description = common::leftSet(detail::trimBlanks(descriptionText_), 25);
    data_.gain = common::Val(gainText_);
    // The 360 degree point of an FM horizontal pattern is its 0 degree point.
    if (data_.kind == 1) data_.values.back() = data_.values.front();
}

bool UserDataEditor::commitCell(int row, std::string& text, const std::string& beforeRef) {
    const std::string before = beforeRef;  // the caller may pass the cell's own text
    const ValueCell cell = valueCell();
    common::FieldCheck record;
    record.kind = common::kFieldReal;
    record.width = static_cast<std::int16_t>(cell.width);
    record.decimals = static_cast<std::int16_t>(cell.decimals);
    record.min = static_cast<float>(cell.min);
    record.max = static_cast<float>(cell.max);
    if (!detail::checkText(text, record, host_.presenter())) return false;
    if (text != before) changed_ = true;
    cells_[static_cast<std::size_t>(row)] = text;
    invalid_[static_cast<std::size_t>(row)] = false;
    // An unchanged text keeps the value it shows (which may hold more decimals).
    if (text != before) {
        const double v = common::Val(text);
        data_.values[static_cast<std::size_t>(row)] = patternMode_ && data_.scale == 1 ? DbToRel(v) : v;
    }
    typing_ = false;
    return true;
}

bool UserDataEditor::commitDescription(std::string& text, const std::string& beforeRef) {
    const std::string before = beforeRef;  // the caller may pass the cell's own text
    common::FieldCheck record;
    record.kind = common::kFieldFree;
    record.width = 25;
    if (!detail::checkText(text, record, host_.presenter())) return false;
    if (text.size() > 25) text.resize(25);
    if (text != before) changed_ = true;
    descriptionText_ = text;
    typing_ = false;
    return true;
}

bool UserDataEditor::commitGain(std::string& text, const std::string& beforeRef) {
    const std::string before = beforeRef;  // the caller may pass the cell's own text
    common::FieldCheck record;
    record.kind = common::kFieldReal;
    record.width = 4;
    record.decimals = 1;
    record.min = 0.1f;
    record.max = 99.9f;
    if (!detail::checkText(text, record, host_.presenter())) return false;
    if (text != before) changed_ = true;
    gainText_ = text;
    typing_ = false;
    return true;
}

UserDataEditor::Prompt UserDataEditor::askToSave(const std::string& text, const std::string& title,
                                                 bool evenWhenOnlyTyped) {
    if (!changed_ && !(evenWhenOnlyTyped && typing_)) return Prompt::Go;
    return detail::askToSaveFirst(host_.presenter(), text, title, commitPending, [this] { return SaveDataAs(); }) ==
                   detail::SavePrompt::Go
               ? Prompt::Go
               : Prompt::Stop;
}

bool UserDataEditor::SaveDataAs() {
    if (anyInvalid()) {
        detail::sayMarkedValuesRemain(host_.presenter());
        return false;
    }
    const UserDataKind& k = kindInfo();
    const std::string which = patternMode_ ? "the pattern file must be named " + std::string(1, kCR) + k.nameHint
                                           : "the calibration data file must be " + std::string(1, kCR) + "named " +
                                                 k.modelFile;
    if (!detail::remindOfTheModelName(host_.presenter(), which, MessageIcon::Exclamation)) return false;
    FileDialogRequest request;
    request.title = "Save As";
    request.filter = patternMode_ ? "Pattern Files (*.pat)|*.pat|All Files (*.*)|*.*"
                                  : "Calibration Data (*.cal)|*.cal|All Files (*.*)|*.*";
    request.defaultExtension = patternMode_ ? ".pat" : ".cal";
    request.initialFolder = host_.state().UserFolder;
    request.initialName = fileTitle_ == "untitled" ? k.modelFile : fileTitle_;
    const std::string path = detail::askWhereToSave(host_, request, fileTitle_);
    if (path.empty()) return false;
    ReadGrid();
    // What is saved is normalised; the table keeps the values as entered,
    // and so do the data behind it: a later edit, save, plot or switch of
    // scale works on what the table shows, never on a mix of the two scales.
    UserData saved = data_;
    if (patternMode_) NormalizePattern(saved);
    if (!detail::writeOrReport(host_.presenter(), path, writeUserDataFile(saved))) return false;
    changed_ = false;
    return true;
}

bool UserDataEditor::Save() {
    if (!commitPending()) return false;
    return SaveDataAs();
}

bool UserDataEditor::New() {
    if (askToSave(" Save current data before creating a new file? ", "New File", true) == Prompt::Stop) return false;
    ClearData();
    ShowData();
    return true;
}

bool UserDataEditor::Open() {
    if (askToSave(" Save current data before opening new file? ", "Open File", true) == Prompt::Stop) return false;
    const std::string path = host_.showFiles(patternMode_ ? 5 : 6, browsedBefore_);
    browsedBefore_ = true;
    if (path.empty()) return false;
    std::string bytes;
    if (!detail::readOrReport(host_.presenter(), path, "Open File", common::kSiteFileMaxBytes, bytes)) return false;
    detail::followChosenFile(host_, path, fileTitle_);
    const UserDataRead read = readUserDataFile(bytes, patternMode_);
    data_ = read.data;
    invalid_ = read.invalid;
    changed_ = false;
    ShowData();
    std::string problems;
    if (read.badCount > 0) {
        // A bad gain (line 2) is set to 0; bad point values stay, marked.
        const bool gainBad = read.firstBadLine == 2;
        const int marked = read.badCount - (gainBad ? 1 : 0);
        problems += " " + std::to_string(read.badCount) + (read.badCount == 1 ? " value" : " values") + " of " +
                    path + (read.badCount == 1 ? " is" : " are") + " outside the allowed range (the first on line " +
                    std::to_string(read.firstBadLine) + ": \"" + read.firstBadValue + "\"); ";
        if (gainBad) problems += std::string("the gain reads as 0") + (marked > 0 ? "; " : ". ");
        if (marked > 0) problems += std::string(gainBad ? "the others" : "they") + " are marked in the table. ";
        problems += kCR;
    }
    if (read.extraLines > 0)
        problems += " The file holds more points than the table; " + std::to_string(read.extraLines) +
                    (read.extraLines == 1 ? " line" : " lines") + " after the last point were not read. " + kCR;
    if (!problems.empty()) {
        problems.pop_back();
        say(problems, "Open File", MessageIcon::Exclamation, MessageButtons::Ok);
    }
    return true;
}

bool UserDataEditor::Normalize() {
    if (!commitPending()) return false;
    const std::string text = " The Normalize function should not be used until " + std::string(1, kCR) +
                             " you have finished entering the magnitude data. ";
    if (say(text, "Warning", MessageIcon::Exclamation, MessageButtons::OkCancel) != MessageAnswer::Ok) return false;
    ReadGrid();
    NormalizePattern(data_);
    ShowData();
    return true;
}

std::vector<std::string> UserDataEditor::patternPlotLines() const {
    crv::formats::PatternPlot plot;
    plot.style = crv::formats::PatternPlotStyle::Editor;
    plot.caption = data_.kind == 1   ? "FM horizontal pattern data description:  "
                   : data_.kind == 2 ? "FM vertical pattern data description:  "
                                     : "Localizer pattern description:  ";
    plot.description = common::leftSet(data_.description, 25);
    if (data_.kind == 3) plot.gainDbi = data_.gain;
    // Five rows to each interval, the angle and percent both linear; a
    // nothing plots at 0.0001 % so its dB stays finite.
    auto row = [&](double angle, double p) {
        if (p < 0.0001) p = 0.0001;
        plot.rows.push_back({angle, p, 20.0 * std::log10(p / 100.0)});
    };
    const std::size_t n = data_.values.size();
    for (std::size_t i = 0; i + 1 < n; ++i)
        for (int j = 0; j < 5; ++j) {
            const double f = j / 5.0;
            row(data_.x[i] + (data_.x[i + 1] - data_.x[i]) * f, data_.values[i] + (data_.values[i + 1] - data_.values[i]) * f);
        }
    if (n > 0) row(data_.x[n - 1], data_.values[n - 1]);
    return crv::formats::patternPlotLines(plot);
}

bool UserDataEditor::Plot() {
    if (!patternMode_ || !commitPending()) return false;
    ReadGrid();
    std::string model = kindInfo().modelFile;
    auto end = model.find("Hor");
    end = end != std::string::npos ? end + 3 : model.find("Vrt") + 3;
    const std::string name = model.substr(0, end) + "U.ptx";
    // Never the current folder in place of a refused temporary one.
    if (!common::EnsureTempFolder(host_.state(), host_.presenter())) return false;
    const std::string folder = host_.state().TempFolder;
    if (auto written = platform::writeTextLinesAtomic(folder + name, patternPlotLines()); !written) {
        say(" The plot file could not be written: " + std::string(1, kCR) + " " + folder + name + " ", "Plot",
            MessageIcon::Critical, MessageButtons::Ok);
        return false;
    }
    host_.displayPlots(folder, name);
    platform::removeFile(folder + name);
    return true;
}

bool UserDataEditor::changeKind(int kind) {
    if (kind == data_.kind) return true;
    if (askToSave(" Save current data before changing to a new type? ", "Change Data Type", false) == Prompt::Stop)
        return false;
    data_.kind = kind;
    ClearData();
    ShowData();
    return true;
}

void UserDataEditor::changeScale(int scale) {
    if (scale == data_.scale) return;
    ReadGrid();
    data_.scale = scale;
    ShowData();
    changed_ = true;
}

bool UserDataEditor::Exit() {
    if (askToSave(" Save your changes before exiting? ", "Exit Editor", true) == Prompt::Stop) return false;
    closed_ = true;
    return true;
}

}  // namespace crv::editors
