#include "crv/main/app/main_controller.h"

#include <sys/stat.h>

#include <cstdio>
#include <ctime>

#include "crv/common/dialog_services.h"
#include "crv/common/file_system.h"
#include "crv/common/output_housekeeping.h"
#include "crv/common/text_utils.h"

namespace crv::main {

using namespace crv::common;

// Marks the controller busy for the length of a command.
class MainController::Busy {
public:
    explicit Busy(MainController& c) : c_(c) { c_.setBusy(true); }
    ~Busy() { c_.setBusy(false); }
    Busy(const Busy&) = delete;
    Busy& operator=(const Busy&) = delete;

private:
    MainController& c_;
};

MainController::MainController(MainServices services) : s_(services) {}

void MainController::setBusy(bool busy) {
    if (busy_ == busy) return;
    busy_ = busy;
    if (busyChanged) busyChanged();
}

void MainController::doRefresh() const {
    if (refresh) refresh();
}

AfterCommand MainController::finish(AfterCommand after) const { return closePending_ ? AfterCommand::Close : after; }

void MainController::Startup(const std::string& editionCode, RecentFilesMenu* menu) {
    recentMenu = menu;
    // The paths as stored, to tell the user which databases went missing.
    const std::pair<const char*, const char*> names[] = {
        {"FCC Database", "FM Station Database"}, {"QVA Database", "Navaid Database"}, {"COM Database", "VHF COM Database"}};
    std::vector<std::pair<std::string, std::string>> stored;
    for (const auto& [value, label] : names) stored.emplace_back(label, s_.store.get("Paths", value, ""));
    ConfigEnvironment env;
    env.editionCode = editionCode;
    GetConfiguration(s_.state, s_.store, env, s_.presenter, menu);
    const std::string* loaded[] = {&s_.state.FCCDatabase, &s_.state.QVADatabase, &s_.state.COMDatabase};
    std::vector<std::pair<std::string, std::string>> missing;
    for (std::size_t i = 0; i < stored.size(); ++i)
        if (!stored[i].second.empty() && loaded[i]->empty()) missing.push_back(stored[i]);
    if (!missing.empty())
        s_.presenter.present({missingDatabasesText(missing), "Warning", MessageIcon::Exclamation, MessageButtons::Ok});
}

std::string missingDatabasesText(const std::vector<std::pair<std::string, std::string>>& missing) {
    std::string text = " These database files could not be found: ";
    text += kCR;
    for (const auto& [label, path] : missing) text += std::string(1, kTab) + " " + label + ":  " + path + " " + kCR;
    text += " Set them with Tools > Location of Files before a search. ";
    return text;
}

void MainController::Shutdown() {
    (void)SavePaths(s_.state, s_.store);
    (void)SavePlotParameters(s_.state, s_.store);
    (void)SaveGeneralSettings(s_.state, s_.store);
}

bool MainController::navSelectEnabled() const {
    return !s_.state.OutputFolder.empty() && FileExists(AddBackslash(s_.state.OutputFolder) + "nav@????.plt");
}

bool MainController::calibrationVisible() const { return s_.state.ModelType == "SCI"; }

bool MainController::requestClose() {
    if (!busy_) return true;
    closePending_ = true;
    s_.run.requestCancel();
    return false;
}

AfterCommand MainController::FileNew() {
    if (busy_) return AfterCommand::Nothing;
    Busy busy(*this);
    if (!CheckDatabases(s_.state, true, s_.presenter)) return finish(AfterCommand::Nothing);
    float latitude = 0, longitude = 0, radius = 0;
    bool manual = false, canceled = false;
    for (;;) {
        s_.dialogs.GetParams(latitude, longitude, radius, manual, canceled);
        doRefresh();
        if (canceled || manual || closePending_) break;
        std::int32_t count = 0;
        s_.run.SearchForProponents(latitude, longitude, radius, count);
        if (closePending_) return finish(AfterCommand::Nothing);
        if (count > 0) {
            s_.dialogs.SelectProponent(canceled, manual);
            doRefresh();
            if (!manual) break;
        }
    }
    if (canceled || closePending_) return finish(AfterCommand::Nothing);
    // The previous results go only now that the user has chosen what replaces them.
    bool cancel = false;
    CheckOutputDir(s_.state.OutputFolder, 0, true, cancel, s_.presenter);
    if (cancel) return finish(AfterCommand::Nothing);
    std::int32_t count = 0;
    s_.run.SearchForNavaids(count);
    if (count <= 0 || closePending_) return finish(AfterCommand::Nothing);
    return finish(selectNavaid());
}

AfterCommand MainController::NavSelect() {
    if (busy_) return AfterCommand::Nothing;
    Busy busy(*this);
    return finish(selectNavaid());
}

AfterCommand MainController::selectNavaid() {
    if (!CheckDatabases(s_.state, false, s_.presenter)) return AfterCommand::Nothing;
    bool canceled = false;
    s_.dialogs.SelectNavaid(canceled);
    doRefresh();
    if (canceled) return AfterCommand::Nothing;
    return searchAndOpen(1);
}

AfterCommand MainController::NavManual() {
    if (busy_) return AfterCommand::Nothing;
    Busy busy(*this);
    if (!CheckDatabases(s_.state, false, s_.presenter)) return finish(AfterCommand::Nothing);
    bool canceled = false;
    s_.dialogs.ManualNavaidEntry(canceled);
    doRefresh();
    if (canceled) return finish(AfterCommand::Nothing);
    return finish(searchAndOpen(0));
}

AfterCommand MainController::searchAndOpen(int cleanMode) {
    bool cancel = false;
    CheckOutputDir(s_.state.OutputFolder, cleanMode, true, cancel, s_.presenter);
    if (cancel || closePending_) return AfterCommand::Nothing;
    std::int32_t count = 0;
    s_.run.SearchForRFSources(count);
    if (count <= 0 || closePending_) return AfterCommand::Nothing;
    return OpenCase();
}

AfterCommand MainController::FileOpen() {
    if (busy_) return AfterCommand::Nothing;
    Busy busy(*this);
    const FileSelection sel = s_.entries.ShowFiles(1, browserReload_);
    doRefresh();
    browserReload_ = true;
    if (sel.SelFile.empty()) return finish(AfterCommand::Nothing);
    s_.state.CaseFile = sel.SelFile;
    s_.state.DataFolder = AddBackslash(sel.SelPath);
    (void)SavePaths(s_.state, s_.store);
    return finish(OpenCase());
}

AfterCommand MainController::OpenRecent(const std::string& fullPath) {
    if (busy_ || fullPath.empty()) return AfterCommand::Nothing;
    Busy busy(*this);
    const int p = LastPos(fullPath, "/");
    if (p > 0) {
        s_.state.CaseFile = fullPath.substr(static_cast<std::size_t>(p));
        std::string folder = fullPath.substr(0, static_cast<std::size_t>(p));
        if (folder.front() != '/') folder = s_.state.DataFolder + folder;  // relative to the data folder
        s_.state.DataFolder = folder;
        (void)SavePaths(s_.state, s_.store);
    } else {
        s_.state.CaseFile = fullPath;
    }
    return finish(OpenCase());
}

AfterCommand MainController::OpenCase() {
    std::int32_t result = 1;
    s_.entries.EditDataFile(result);
    doRefresh();
    if (closePending_) return AfterCommand::Nothing;
    bool cancel = false;
    if (result == 2) {
        CheckOutputDir(s_.state.OutputFolder, 2, false, cancel, s_.presenter);
        s_.run.RunSimulation(s_.state.OutputFolder, s_.state.CaseFile);
        return AfterCommand::OpenResultsMenu;
    }
    if (result == 3) {
        if (!s_.entries.SetUpPrinter()) return AfterCommand::Nothing;
        CheckOutputDir(s_.state.OutputFolder, 2, false, cancel, s_.presenter);
        s_.run.RunSimulation(s_.state.OutputFolder, s_.state.CaseFile);
        if (!closePending_) s_.run.PrintResults(s_.state.OutputFolder);
    }
    return AfterCommand::Nothing;
}

void MainController::FileResults() {
    if (busy_) return;
    Busy busy(*this);
    int kind = s_.state.DefaultOutputPlots ? 4 : 3;
    bool reload = false;
    for (;;) {
        const FileSelection sel = s_.entries.ShowFiles(kind, reload);
        kind = sel.FileKind == 3 || sel.FileKind == 4 ? sel.FileKind : kind;
        doRefresh();
        reload = true;
        if (sel.SelFile.empty() || closePending_) return;
        const std::string path = AddBackslash(sel.SelPath);
        if (kind == 3)
            s_.entries.DisplayReports(path, sel.SelFile, false);
        else
            s_.entries.DisplayPlots(path, sel.SelFile, false);
    }
}

AfterCommand MainController::SimRun() {
    if (busy_) return AfterCommand::Nothing;
    Busy busy(*this);
    const FileSelection sel = s_.entries.ShowFiles(2, false);
    doRefresh();
    if (sel.SelFile.empty()) return finish(AfterCommand::Nothing);
    return finish(runFiles(sel, false));
}

AfterCommand MainController::SimAuto() {
    if (busy_) return AfterCommand::Nothing;
    Busy busy(*this);
    const FileSelection sel = s_.entries.ShowFiles(2, false);
    doRefresh();
    if (sel.SelFile.empty()) return finish(AfterCommand::Nothing);
    return finish(runFiles(sel, true));
}

AfterCommand MainController::runFiles(const FileSelection& sel, bool print) {
    if (print && !s_.entries.SetUpPrinter()) return AfterCommand::Nothing;
    // Chosen files, and for printing a printer: only now do the old results go.
    bool cancel = false;
    CheckOutputDir(s_.state.OutputFolder, 2, true, cancel, s_.presenter);
    if (cancel) return AfterCommand::Nothing;
    s_.state.DataFolder = AddBackslash(sel.SelPath);
    (void)SavePaths(s_.state, s_.store);
    if (recentMenu) recentMenu->UpdateRecentFilesMenu(s_.state);
    const std::string output = AddBackslash(s_.state.OutputFolder);
    if (sel.SelFile.find('|') == std::string::npos) {
        s_.run.RunSimulation(output, sel.SelFile);
        if (print && !closePending_) s_.run.PrintResults(output);
    } else {
        std::string files = sel.SelFile;
        for (;;) {
            const std::string name = NextToken("|", files);
            if (name.empty() || closePending_) break;
            std::string folder = output + runFolderName(name);
            if (auto made = EnsureDirExists(folder); !made) {
                s_.presenter.present({" " + made.error() + " ", "CRV Error", MessageIcon::Exclamation,
                                      MessageButtons::Ok});
                continue;  // each run stands alone
            }
            folder = AddBackslash(folder);
            s_.run.RunSimulation(folder, name);
            if (print && !closePending_) s_.run.PrintResults(folder);
        }
    }
    return print ? AfterCommand::Nothing : AfterCommand::OpenResultsMenu;
}

std::string runFolderName(const std::string& caseFile) {
    std::string name = caseFile;
    const auto dot = name.rfind('.');
    if (dot != std::string::npos && dot > 0) name.erase(dot);
    for (char& c : name)
        if (c == '/' || c == '\\' || static_cast<unsigned char>(c) < 32) c = '_';
    if (name.empty() || name == "." || name == "..") name = "_";
    return name;
}

void MainController::ToolsPaths() {
    if (busy_) return;
    s_.entries.ShowPaths();
    doRefresh();
}
void MainController::ToolsOptions() {
    if (busy_) return;
    s_.entries.ShowOptions();
    doRefresh();
}
void MainController::ToolsPlotPar() {
    bool changed = false;
    s_.entries.ModifyParameters(changed);
    doRefresh();
}
void MainController::ToolsSimPts() { s_.entries.EditRcvrTestPts(); }
void MainController::ToolsRadPat() { s_.entries.EditRadiationPattern(); }
void MainController::ToolsCalDat() { s_.entries.EditCalibrationData(); }
void MainController::HelpShow() { s_.entries.ShowHelp(""); }
void MainController::HelpAbout() { s_.presenter.present(AboutMessage(s_.identity)); }

void MainController::ToolsDates() {
    s_.presenter.present({DatesText(s_.state), "Dates of Database Files", MessageIcon::None, MessageButtons::Ok});
}

std::string formatFileDate(std::int64_t secondsSinceEpoch) {
    const std::time_t t = static_cast<std::time_t>(secondsSinceEpoch);
    std::tm tm{};
    localtime_r(&t, &tm);
    const int hour12 = tm.tm_hour % 12 == 0 ? 12 : tm.tm_hour % 12;
    char buf[32];
    std::snprintf(buf, sizeof buf, "%02d/%02d/%02d  %02d:%02d %s", tm.tm_mon + 1, tm.tm_mday, tm.tm_year % 100,
                  hour12, tm.tm_min, tm.tm_hour < 12 ? "am" : "pm");
    return buf;
}

std::string DatesText(const AppState& state) {
    const std::pair<const char*, const std::string*> blocks[] = {{"FM Station Database:", &state.FCCDatabase},
                                                                 {"Navaid Database:", &state.QVADatabase},
                                                                 {"VHF COM Database:", &state.COMDatabase}};
    std::string text;
    for (std::size_t i = 0; i < 3; ++i) {
        const std::string& path = *blocks[i].second;
        text += blocks[i].first;
        text += kCR;
        struct stat st {};
        if (!path.empty() && FileExists(path) && ::stat(path.c_str(), &st) == 0) {
            text += "     File:   " + path + kCR;
            text += "     Date:  " + formatFileDate(static_cast<std::int64_t>(st.st_mtime));
        } else {
            text += "     File not specified";
        }
        if (i < 2) text += std::string(2, kCR);
    }
    return text;
}

Message AboutMessage(const crv::resources::Identity& id) {
    std::string text = id.fileDescription + std::string(2, kCR) + "Version " + id.version + std::string(2, kCR) +
                       id.comments;
    return {text, " About " + id.title, MessageIcon::None, MessageButtons::Ok};
}

}  // namespace crv::main
