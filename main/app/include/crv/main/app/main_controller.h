#pragma once
// What the main window (frmMainMenu) does, without the window: start-up and
// shut-down, the enabling rules of its menus, and every menu command with the
// new-case workflow. The window binds its menu actions to these members.
#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "crv/common/app_state.h"
#include "crv/common/configuration.h"
#include "crv/common/messages.h"
#include "crv/main/app/entry_points.h"
#include "crv/main/app/run_control.h"
#include "crv/platform/settings_store.h"
#include "crv/resources/identity.h"

namespace crv::main {

// What the window does once a command has returned.
enum class AfterCommand {
    Nothing,
    OpenResultsMenu,  // open the File menu on "Display Results..."
    Close,            // the user closed the window while the command ran
};

struct MainServices {
    crv::common::AppState& state;
    crv::platform::SettingsStore& store;
    crv::common::MessagePresenter& presenter;
    EntryPoints& entries;
    RunControl& run;
    NewCaseDialogs& dialogs;
    const crv::resources::Identity& identity;
};

class MainController {
public:
    explicit MainController(MainServices services);

    // Start-up: GetConfiguration with the edition code, then a warning naming
    // each database that the settings name but that is gone.
    void Startup(const std::string& editionCode, crv::common::RecentFilesMenu* menu);
    // Shut-down: the paths, plot parameters and general settings are saved.
    void Shutdown();

    // Enabling rules.
    bool navSelectEnabled() const;     // a "nav@????.plt" in the output folder
    bool calibrationVisible() const;   // the scientific edition only
    bool commandsEnabled() const { return !busy_; }  // nothing that calls the engine while a command runs
    bool busy() const { return busy_; }

    // Menu commands.
    AfterCommand FileNew();
    AfterCommand FileOpen();
    AfterCommand OpenRecent(const std::string& fullPath);
    void FileResults();
    AfterCommand NavManual();
    AfterCommand NavSelect();
    AfterCommand SimRun();
    AfterCommand SimAuto();
    void ToolsPaths();
    void ToolsOptions();
    void ToolsDates();
    void ToolsPlotPar();
    void ToolsSimPts();
    void ToolsRadPat();
    void ToolsCalDat();
    void HelpShow();
    void HelpAbout();

    // The window is being closed: false while a command runs (its engine call
    // is asked to stop, and the window closes when the command has returned).
    bool requestClose();

    // Called after each dialog or editor returns (the window repaints) and
    // whenever busy() changes or the recent list moved.
    std::function<void()> refresh;
    std::function<void()> busyChanged;
    crv::common::RecentFilesMenu* recentMenu = nullptr;

private:
    class Busy;
    AfterCommand OpenCase();
    AfterCommand selectNavaid();
    AfterCommand searchAndOpen(int cleanMode);
    AfterCommand runFiles(const FileSelection& sel, bool print);
    AfterCommand finish(AfterCommand after) const;
    void setBusy(bool busy);
    void doRefresh() const;

    MainServices s_;
    bool busy_ = false;
    bool closePending_ = false;
    bool browserReload_ = false;  // File > Open's browser state
};

// Tools > Dates of Database Files: the text of the message.
std::string DatesText(const crv::common::AppState& state);
// "mm/dd/yy  hh:mm am/pm" of a file's modification time (local time).
std::string formatFileDate(std::int64_t secondsSinceEpoch);
// Help > About.
crv::common::Message AboutMessage(const crv::resources::Identity& identity);
// The run folder name of a case file: its name without the last extension,
// made safe for a folder name.
std::string runFolderName(const std::string& caseFile);
// The databases the store names that GetConfiguration found missing.
std::string missingDatabasesText(const std::vector<std::pair<std::string, std::string>>& missing);

}  // namespace crv::main
