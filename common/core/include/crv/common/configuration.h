#pragma once
// Loading and saving the application state through the settings store. The
// value names and text forms are an external format: the engine reads "Paths"
// and "General" from the same store.
//
//   [Paths]            "FCC Database", "QVA Database", "Use QVA DB", "COM Database",
//                      "Use COM DB", "Use FCC DB", "Data Folder", "Output Folder",
//                      "User Folder"  (flags "0"/"1", folders ending in "/")
//   [Plot Parameters]  "Nav Level Min", "Nav Level Incr", "Int Level Min",
//                      "Int Level Incr" (decimal), "Colors" (14 upper-case hex
//                      numbers without prefix, joined by "," without blanks)
//   [Recent Files]     "1" .. "5", "" beyond the list
//   [General]          "Airspace Case" (15 characters), "Default Output"
//                      ("PLOTS"/"REPORTS"), "Animation" ("ON"/"OFF"),
//                      "Model Type" (the edition code, written at every start)
#include <string>

#include "crv/common/app_state.h"
#include "crv/common/messages.h"
#include "crv/platform/expected.h"
#include "crv/platform/settings_store.h"

namespace crv::common {

// Shows the recent-file list in the menus (the Qt layer implements it).
class RecentFilesMenu {
public:
    virtual ~RecentFilesMenu() = default;
    virtual void UpdateRecentFilesMenu(const AppState& state) = 0;
};

struct ConfigEnvironment {
    std::string editionCode;  // resource string 16 of the running program
    // Where the default Data/, Output/ and User/ folders go, ending in "/";
    // "" means defaultWorkRoot().
    std::string workRoot;
};

// The per-user root of the default work folders:
// $XDG_DATA_HOME/Corvane/, else $HOME/.local/share/Corvane/.
std::string defaultWorkRoot();

// Loads every setting, in this order: the factory values, the default work
// folders (created when missing), "Paths" (database paths whose files are
// gone are dropped), "Plot Parameters", "Recent Files" (vanished and repeated
// files dropped), "General"; then writes the edition code as "Model Type" and
// rewrites "Paths" and "Recent Files" with the cleaned values (each only
// where it differs from what was stored), so a later step never sees a value
// an earlier one has dropped. Errors are reported through ShowUnexpectedError
// with "GetConfiguration" and the load goes on with the next setting.
void GetConfiguration(AppState& state, crv::platform::SettingsStore& store, const ConfigEnvironment& env,
                      MessagePresenter& presenter, RecentFilesMenu* menu);

// The four savers. Each writes, in one replacement of the file as it is now,
// the values of its group that differ from what this program last read or
// wrote (state.Stored), and the others only where the file holds none; the
// values another program stored meanwhile stay, and a file that already
// holds them all is not rewritten.
crv::platform::Expected<void> SavePaths(AppState& state, crv::platform::SettingsStore& store);
crv::platform::Expected<void> SaveRecentFiles(AppState& state, crv::platform::SettingsStore& store);
crv::platform::Expected<void> SaveGeneralSettings(AppState& state, crv::platform::SettingsStore& store);
crv::platform::Expected<void> SavePlotParameters(AppState& state, crv::platform::SettingsStore& store);

// The private temporary folder, where the engine's search files and the
// editors' plot files go. When it could not be had at start (the per-user
// folder refused: another user's, open to others, a link), it is asked for
// again; still refused, the message (which says how to choose another place)
// is shown and false returned, and the caller stops: working in the current
// folder instead would delete and write files there.
bool EnsureTempFolder(AppState& state, MessagePresenter& presenter);

// "Colors" as stored: "80,FF,8080,...".
std::string formatPlotColors(const PlotColorTable& colors);
// Reads "Colors": 14 hexadecimal tokens; a missing or unreadable token is 0 (black).
PlotColorTable parsePlotColors(std::string_view text);

}  // namespace crv::common
