#pragma once
// The plot window's entry, as the main window, the run controller's result
// printing and the pattern editor call it.
#include "crv/common/app_state.h"
#include "crv/common/messages.h"
#include "crv/common/progress_display.h"
#include "crv/viewers/display_options.h"
#include "crv/viewers/plot_builders.h"

#include <functional>
#include <optional>
#include <string>

class QPrinter;
class QWidget;

namespace crv::platform {
class SettingsStore;
}
namespace crv::common::ui {
class frmFileSel;
}

namespace crv::viewers {

class frmPlotScreen;

// Folder and "|"-joined names chosen in the file browser.
struct FileChoice {
    std::string folder;
    std::string names;
};

// File > Open of both viewers: the program's browser on `kind` with its last
// folder and view kept, else a plain file dialog on `filter` in `folder`.
std::optional<FileChoice> chooseFiles(common::ui::frmFileSel* browser, int kind, QWidget* parent,
                                      const std::string& folder, const char* filter);

// What the window uses of the rest of the program. Every member but state
// has a default; tests replace the dialogs with scripts.
struct PlotWindowServices {
    common::AppState* state = nullptr;              // level bands, colours, airspace case
    platform::SettingsStore* store = nullptr;       // where Plot Parameters saves
    Geodesy geodesy;                                // the engine's DistLL and LLDist
    common::MessagePresenter* presenter = nullptr;  // default: the program's
    QPrinter* printer = nullptr;                    // default: the program's printer
    // The display options dialog (GetSettings).
    std::function<void(bool& canceled, DisplaySettings& settings)> getSettings;
    // The print dialog without a page range; false when cancelled.
    std::function<bool(QWidget* parent)> setUpPrinter;
    // The plot parameters dialog; true when new parameters were saved.
    std::function<bool(QWidget* parent)> modifyParameters;
    // The program's file browser, opened on plots (kind 4) by File > Open.
    common::ui::frmFileSel* fileBrowser = nullptr;
    // In place of the browser (tests): nullopt when nothing was chosen.
    std::function<std::optional<FileChoice>(QWidget* parent, const std::string& folder)> showFiles;
    // The Save As dialog: the chosen path, empty when cancelled.
    std::function<std::string(QWidget* parent, const std::string& folder, const std::string& name)> saveFileName;
    // The progress window; default one of the window's own.
    common::ProgressDisplay* progress = nullptr;
    std::function<void()> beep;
    // Called once the window is shown, before DisplayPlots waits (tests
    // drive the window from here).
    std::function<void(frmPlotScreen& window)> shown;
};

// With autoPrint false: hides parent, shows the plot window on the files of
// dirPath listed in fileList ("|"-joined) and returns when it is closed,
// parent shown again. With autoPrint true: prints every listed plot as its
// own job on the program's printer, without dialogs or window.
void DisplayPlots(QWidget* parent, const std::string& dirPath, const std::string& fileList, bool autoPrint,
                  const PlotWindowServices& services);

}  // namespace crv::viewers
