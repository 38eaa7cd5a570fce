#pragma once
// The logic of the small services every window uses: the recent-file list,
// the database check before a search, the placement of a dialog over the main
// window and the band width of the plot window's gradient.
#include <string>
#include <vector>

#include "crv/common/app_state.h"
#include "crv/common/configuration.h"
#include "crv/common/messages.h"
#include "crv/common/screen_metrics.h"
#include "crv/platform/settings_store.h"

namespace crv::common {

// Puts `path` at the head of the recent-file list (a listed path moves up, a
// new one pushes the fifth out), saves the list and updates the menus.
void AddRecentFile(AppState& state, const std::string& path, crv::platform::SettingsStore& store,
                   RecentFilesMenu* menu);

// The menu captions of the recent files up to the first empty entry; a file
// inside DataFolder is shown relative to it.
std::vector<std::string> RecentFileCaptions(const AppState& state);

// Clears the use flag of every database whose file is gone, then checks that
// the databases a search needs are in use (the FM database always, for a new
// case also the navaid or the COM database). When not, shows the "Warning"
// naming the missing ones and returns false. The cleared flags are not saved.
bool CheckDatabases(AppState& state, bool newCase, MessagePresenter& presenter);

// The warning's text for a list of "\t <name> \r" lines.
std::string checkDatabasesText(const std::string& list);

// Window rectangles in twips.
struct WindowRect {
    float left = 0;
    float top = 0;
    float width = 0;
    float height = 0;
};

struct Placement {
    float dialogLeft = 0;
    float dialogTop = 0;
    bool moveMain = false;  // the main window follows the dialog's shift
    float mainLeft = 0;
    float mainTop = 0;
};

// PlaceForm's arithmetic: the dialog centred over the main window (below its
// caption and menu, above its status bar), kept inside the work area (one
// larger than the work area starts at its top left corner); when it had to
// be pulled in, the main window (unless minimised) moves by the same amount
// so the dialog still sits over it.
Placement PlaceForm(const WindowRect& main, bool mainMinimized, float statusBarHeight, float dialogWidth,
                    float dialogHeight, const ScreenMetrics& metrics);

// Band thickness in pixels of the 241-band gradient for a client height in pixels.
int gradientDrawWidth(int clientHeightPixels);

}  // namespace crv::common
