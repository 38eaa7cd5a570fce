#include "crv/editors/case_editor/case_editor_controller.h"

#include "crv/common/dialog_services.h"
#include "crv/common/error_report.h"
#include "crv/editors/pattern_files.h"

namespace crv::editors {

using crv::common::kCR;
using crv::common::Message;
using crv::common::MessageAnswer;
using crv::common::MessageButtons;
using crv::common::MessageIcon;

namespace {

const std::string CR(1, kCR);

}  // namespace

CaseEditorController::CaseEditorController(const FieldDictionary& dictionary, crv::common::AppState& app,
                                           crv::platform::SettingsStore& store,
                                           crv::common::MessagePresenter& presenter, EditorServices services)
    : dictionary_(dictionary),
      app_(app),
      store_(store),
      presenter_(presenter),
      services_(std::move(services)),
      doc_(dictionary),
      table_(doc_.table),
      pages_(doc_.pages, dictionary.editionCode(), state, presenter),
      tableEditor_(table_, state, presenter) {
    table_.setPatternFiles(ScanHorizontalPatterns(app_.UserFolder), ScanVerticalPatterns(app_.UserFolder));
    pages_.proponentBearing = [this](float lat, float lon) { return proponentBearing(lat, lon); };
}

std::optional<float> CaseEditorController::proponentBearing(float lat, float lon) const {
    if (!services_.lldist) return std::nullopt;
    return table_.ProponentBearing(lat, lon, services_.lldist);
}

std::string CaseEditorController::caption() const { return " CRV Data Editor -- " + app_.CaseFile; }

std::vector<std::string> CaseEditorController::recentCaptions() const { return crv::common::RecentFileCaptions(app_); }

void CaseEditorController::absorbTableFlags() {
    if (table_.modified) state.modified = true;
    if (table_.checkDue) {
        state.checkDue = true;
        state.imodsEnabled = true;
    }
    table_.modified = false;
    table_.checkDue = false;
}

void CaseEditorController::rowsDone() {
    absorbTableFlags();
    tableEditor_.redraw = true;
    tableEditor_.refreshCurrent();
    if (rowsChanged) rowsChanged();
}

// ---- Loading ------------------------------------------------------------

crv::platform::Expected<void> CaseEditorController::loadCase(const std::string& folder, const std::string& file) {
    const std::string path = folder + file;
    if (services_.busy) services_.busy(true);
    // The document reads the whole file before it takes anything over: a
    // file that cannot be read leaves the case, the folders and the table.
    auto replaced = doc_.open(path, services_.lldist);
    if (services_.busy) services_.busy(false);
    if (!replaced) return crv::platform::makeError(replaced.error());
    doc_.setModified(false);
    doc_.setCheckDue(false);
    pages_.shown();
    tableEditor_.erpLabel = doc_.pages.erpLabel();
    app_.DataFolder = folder;
    app_.CaseFile = file;
    crv::common::AddRecentFile(app_, path, store_, services_.recentMenu);
    if (!replaced->empty()) {
        std::string list;
        for (const auto& r : *replaced) list += CR + "   " + r + " ";
        presenter_.present(Message{" " + file + " holds values this edition does not offer; " + CR +
                                       " they were replaced by their defaults: " + CR + list + CR + CR +
                                       " The next save writes the defaults. ",
                                   "Open Data File", MessageIcon::Exclamation, MessageButtons::Ok});
    }
    if (caseShown) caseShown();
    return {};
}

bool CaseEditorController::switchTo(const std::string& folder, const std::string& file) {
    auto loaded = loadCase(folder, file);
    if (!loaded) {
        presenter_.present(Message{" The data file " + folder + file + " could not be read: " + CR + CR + " " +
                                       loaded.error() + " " + CR + CR + " The case open before stays open. ",
                                   "Open Data File", MessageIcon::Exclamation, MessageButtons::Ok});
        return false;
    }
    return true;
}

crv::platform::Expected<void> CaseEditorController::openInitialCase() {
    return loadCase(app_.DataFolder, app_.CaseFile);
}

void CaseEditorController::ResetEditor() {
    state.editState = 0;
    state.modified = false;
    state.checkDue = false;
    state.currentField = -1;
    state.currentPage = 3;
    tableEditor_.pageShown = true;
    tableEditor_.redraw = true;
    tableEditor_.setCurrent(1, 1);
    tableEditor_.EnterCell();
    // The new rows are on screen before the check may ask about them.
    if (caseShown) caseShown();
    state.checkDue = true;
    selectPage(1);
    if (caseShown) caseShown();
}

// ---- Pages --------------------------------------------------------------

bool CaseEditorController::selectPage(int page) {
    if (state.currentPage == 3 && state.editState != 0 && !tableEditor_.CommitCellEdit()) return false;
    if (page == state.currentPage) return true;
    // A page field whose value fails its check keeps the user on its page.
    if (state.currentPage != 3 && state.editState != 0 && !pages_.CommitFieldEdit()) return false;
    bool ok = true;
    if (state.checkDue) ok = CheckIntermods(true);
    if (state.currentPage == 3 && !ok) return false;
    state.currentPage = page;
    state.currentField = -1;
    tableEditor_.pageShown = page == 3;
    if (page == 3) tableEditor_.EnterCell();
    return true;
}

int CaseEditorController::neighbourPage(int delta) const {
    int p = state.currentPage + delta;
    if (p > 4) p = 1;
    if (p < 1) p = 4;
    return p;
}

bool CaseEditorController::commitPending() {
    if (state.editState == 0) return true;
    if (state.currentPage == 3)
        tableEditor_.CommitCellEdit();
    else
        pages_.CommitFieldEdit();
    return state.editState == 0;
}

// ---- Check --------------------------------------------------------------

bool CaseEditorController::CheckIntermods(bool ask) {
    if (services_.busy) services_.busy(true);
    if (services_.status) services_.status("Checking intermodulation products and data validity...");
    const auto out = doc_.CheckIntermods();
    if (services_.status) services_.status("");
    if (services_.busy) services_.busy(false);
    table_.checkDue = false;
    state.checkDue = false;
    state.imodsEnabled = false;
    state.dummyEnabled = !out.ok;
    if (!out.ok && ask) {
        const std::string text = " File " + app_.CaseFile + " contains invalid data. " + CR + CR +
                                 " Select \"Yes\" if you wish to assign dummy values to all" + CR +
                                 " incomplete cells to allow a preliminary assessment. " + CR +
                                 " Select \"No\" to proceed with manual editing. " + CR + CR +
                                 " Assign dummy values to incomplete cells? ";
        if (presenter_.present(Message{text, "Data Check", MessageIcon::Exclamation, MessageButtons::YesNo}) ==
            MessageAnswer::Yes) {
            table_.AssignDummyValues();
            state.dummyEnabled = false;
        }
    }
    rowsDone();
    return out.ok;
}

// ---- Saving -------------------------------------------------------------

bool CaseEditorController::writeCase(const std::string& folder, const std::string& file) {
    if (services_.busy) services_.busy(true);
    // The document runs a due check (without its offer), then the rows, the
    // pattern files, the proponents and the data the engine would refuse.
    doc_.setCheckDue(state.checkDue);
    const SaveFindings findings = doc_.saveChecks();
    if (findings.checkRan) {
        state.checkDue = false;
        state.imodsEnabled = false;
        state.dummyEnabled = findings.dummyOffered;
    }
    doc_.setModified(false);
    doc_.setCheckDue(false);
    auto written = crv::editors::SaveDataFile(folder + file, doc_.caseData(), dictionary_, findings.errorFree);
    if (services_.busy) services_.busy(false);
    rowsDone();
    if (!written) {
        // Nothing was written: the case stays modified and no run follows.
        crv::common::ShowUnexpectedError(presenter_, "SaveDataFile", written.error());
        exitCode = kStayOpen;
        return false;
    }
    state.modified = false;
    if (!findings.errorFree) {
        std::string text = findings.message(file);
        if (exitCode == kStayOpen) {
            presenter_.present(Message{text, "Warning", MessageIcon::Exclamation, MessageButtons::Ok});
        } else {
            text += CR + CR + " Resume editing this file? ";
            exitCode = presenter_.present(Message{text, "Warning", MessageIcon::Exclamation, MessageButtons::YesNo}) ==
                               MessageAnswer::Yes
                           ? kStayOpen
                           : kExit;
        }
    }
    return true;
}

bool CaseEditorController::SaveDataFile() { return writeCase(app_.DataFolder, app_.CaseFile); }

// ---- File menu ----------------------------------------------------------

bool CaseEditorController::confirmSwitch() {
    exitCode = kExit;
    if (state.modified) {
        switch (presenter_.present(Message{" Save current data file before opening new file? ", "Open Data File",
                                           MessageIcon::None, MessageButtons::YesNoCancel})) {
            case MessageAnswer::Yes:
                if (!SaveDataFile()) exitCode = kStayOpen;
                break;
            case MessageAnswer::No: break;
            default: exitCode = kStayOpen; break;
        }
    }
    return exitCode == kExit;
}

void CaseEditorController::fileOpen() {
    if (!commitPending() || !confirmSwitch()) return;
    std::optional<std::pair<std::string, std::string>> chosen;
    if (services_.showFiles) chosen = services_.showFiles(browserUsed_);
    browserUsed_ = true;
    if (!chosen || chosen->second.empty()) return;
    std::string file = chosen->second.substr(0, chosen->second.find('|'));
    if (!switchTo(chosen->first, file)) return;
    crv::common::SavePaths(app_, store_);
    ResetEditor();
}

void CaseEditorController::fileRecent(int index) {
    if (!commitPending() || !confirmSwitch()) return;
    const auto captions = recentCaptions();
    if (index < 0 || index >= static_cast<int>(captions.size())) return;
    const std::string& caption = captions[static_cast<std::size_t>(index)];
    const auto slash = caption.rfind('/');
    std::string folder = app_.DataFolder, file = caption;
    if (slash != std::string::npos) {
        file = caption.substr(slash + 1);
        folder = caption.substr(0, slash + 1);
        if (folder[0] != '/') folder = app_.DataFolder + folder;
    }
    const bool newFolder = folder != app_.DataFolder;
    if (!switchTo(folder, file)) return;
    if (newFolder) crv::common::SavePaths(app_, store_);
    ResetEditor();
}

void CaseEditorController::fileRecentPath(const std::string& path) {
    for (int i = 0; i < crv::common::kRecentFileCount; ++i)
        if (app_.RecentFiles[static_cast<std::size_t>(i)] == path) return fileRecent(i);
}

void CaseEditorController::fileSave() {
    if (!commitPending()) return;
    exitCode = kStayOpen;
    SaveDataFile();
}

void CaseEditorController::fileSaveAs() {
    if (!commitPending()) return;
    if (!services_.saveAs) return;
    std::string path = services_.saveAs(app_.DataFolder, app_.CaseFile);
    if (path.empty()) return;
    const auto slash = path.rfind('/');
    const std::string folder = slash == std::string::npos ? app_.DataFolder : path.substr(0, slash + 1);
    const std::string file = slash == std::string::npos ? path : path.substr(slash + 1);
    if (file.empty()) return;
    exitCode = kStayOpen;
    // The case takes its new name only once the file is written.
    if (!writeCase(folder, file)) return;
    app_.CaseFile = file;
    app_.DataFolder = folder;
    crv::common::SavePaths(app_, store_);
    crv::common::AddRecentFile(app_, folder + file, store_, services_.recentMenu);
    if (caseShown) caseShown();
}

void CaseEditorController::fileRun() {
    if (!commitPending()) return;
    exitCode = kRun;
    SaveDataFile();
    if (exitCode != kStayOpen) closed = true;
}

void CaseEditorController::fileAuto() {
    if (!commitPending()) return;
    exitCode = kRunAndPrint;
    SaveDataFile();
    if (exitCode != kStayOpen) closed = true;
}

void CaseEditorController::ExitEditor() {
    if (!commitPending()) return;
    exitCode = kExit;
    bool stay = false;
    if (state.modified) {
        switch (presenter_.present(Message{" Save data file before exiting? ", "Exit Editor", MessageIcon::None,
                                           MessageButtons::YesNoCancel})) {
            case MessageAnswer::Yes:
                SaveDataFile();
                stay = exitCode == kStayOpen;
                break;
            case MessageAnswer::No: break;
            default: stay = true; break;
        }
    }
    if (stay)
        exitCode = kStayOpen;
    else
        closed = true;
}

void CaseEditorController::help() {
    if (services_.showHelp) services_.showHelp(15 + state.currentPage);
}

// ---- Rows ---------------------------------------------------------------

void CaseEditorController::tagAll() {
    if (!commitPending()) return;
    for (int r = 1; r <= table_.rowCount(); ++r) table_.setTagged(r, true);
    rowsDone();
}

void CaseEditorController::untagAll() {
    if (!commitPending()) return;
    for (int r = 1; r <= table_.rowCount(); ++r) table_.setTagged(r, false);
    rowsDone();
}

void CaseEditorController::invertTags() {
    if (!commitPending()) return;
    for (int r = 1; r <= table_.rowCount(); ++r) table_.toggleTag(r);
    rowsDone();
}

void CaseEditorController::insertRow() {
    if (!commitPending() || !tableEditor_.LeaveCell()) return;
    const int r = tableEditor_.currentRow();
    tableEditor_.redraw = false;
    table_.InsertDefaultRow(std::min(r + 1, table_.rowCount() + 1));
    tableEditor_.redraw = true;
    tableEditor_.setCurrent(r + 1, 1);
    rowsDone();
}

void CaseEditorController::deleteRow() {
    if (!commitPending()) return;
    if (presenter_.present(Message{" Delete the current row? ", "Confirm Delete", MessageIcon::Question,
                                   MessageButtons::OkCancel}) != MessageAnswer::Ok)
        return;
    const int r = tableEditor_.currentRow();
    if (r < 1 || r > table_.rowCount()) return;
    tableEditor_.redraw = false;
    state.modified = true;
    if (table_.rowCount() == 1) table_.InsertDefaultRow(r + 1);
    table_.removeRow(r);
    rowsDone();
}

void CaseEditorController::deleteTagged() {
    if (!commitPending()) return;
    bool any = false;
    for (int r = 1; r <= table_.rowCount(); ++r) any = any || table_.tagged(r);
    if (!any) {
        presenter_.present(
            Message{" No rows are tagged ", "Delete Canceled", MessageIcon::Exclamation, MessageButtons::Ok});
        return;
    }
    if (presenter_.present(Message{" Delete all tagged rows? ", "Confirm Delete", MessageIcon::Question,
                                   MessageButtons::OkCancel}) != MessageAnswer::Ok)
        return;
    if (services_.busy) services_.busy(true);
    tableEditor_.LeaveCell();
    tableEditor_.redraw = false;
    state.modified = true;
    for (int r = table_.rowCount(); r >= 1; --r) {
        if (!table_.tagged(r)) continue;
        if (table_.rowCount() == 1) table_.InsertDefaultRow(r + 1);
        table_.removeRow(r);
    }
    if (services_.busy) services_.busy(false);
    rowsDone();
}

void CaseEditorController::propToggle() {
    if (!commitPending()) return;
    tableEditor_.redraw = false;
    if (table_.UpdateToggleCaption().find("-> Non") != std::string::npos) {
        for (int r = 1; r <= table_.rowCount(); ++r)
            if (table_.flags(r) & RowProponent) table_.SetPropStatus(r, "N");
    } else {
        for (int r = 1; r <= table_.rowCount(); ++r)
            if (!(table_.flags(r) & (RowProponent | RowIgnored))) table_.SetPropStatus(r, "P");
    }
    rowsDone();
}

void CaseEditorController::propTagged(const std::string& status) {
    if (!commitPending()) return;
    tableEditor_.redraw = false;
    for (int r = 1; r <= table_.rowCount(); ++r) {
        if (!table_.tagged(r)) continue;
        table_.setTagged(r, false);
        const auto f = table_.flags(r);
        bool differs = false;
        if (status == "P")
            differs = !(f & RowProponent);
        else if (status == "I")
            differs = !(f & RowIgnored);
        else
            differs = (f & (RowProponent | RowIgnored)) != 0;
        if (differs) table_.SetPropStatus(r, status);
    }
    rowsDone();
}

void CaseEditorController::sortRows() {
    if (!commitPending() || !tableEditor_.LeaveCell()) return;
    tableEditor_.redraw = false;
    table_.SortRFSources();
    tableEditor_.redraw = true;
    tableEditor_.setCurrent(1, 1);
    rowsDone();
}

void CaseEditorController::runCheck() {
    if (!commitPending()) return;
    CheckIntermods(true);
}

void CaseEditorController::useDummyValues() {
    if (!commitPending()) return;
    if (presenter_.present(Message{" Assign dummy values to incomplete cells? ", "Confirm Substitution",
                                   MessageIcon::Question, MessageButtons::OkCancel}) != MessageAnswer::Ok)
        return;
    tableEditor_.redraw = false;
    table_.AssignDummyValues();
    state.dummyEnabled = false;
    rowsDone();
}

}  // namespace crv::editors
