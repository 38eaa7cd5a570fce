#pragma once
// What the pattern, calibration and receiver points editors need of the
// program around them: messages, the shared folders, the file browser and
// dialogs, the plot window and help. The program gives the real ones; tests
// script them.
#include <string>

#include "crv/common/app_state.h"
#include "crv/common/messages.h"

namespace crv::editors {

// A save or open dialog's request.
struct FileDialogRequest {
    std::string title;
    std::string filter;            // "Pattern Files (*.pat)|*.pat|All Files (*.*)|*.*"
    std::string defaultExtension;  // ".pat"; "" for none
    std::string initialFolder;
    std::string initialName;
};

class SiteEditorHost {
public:
    virtual ~SiteEditorHost() = default;
    virtual common::MessagePresenter& presenter() = 0;
    // UserFolder and TempFolder, each ending in "/".
    virtual common::AppState& state() = 0;
    // Stores the folders after UserFolder changed.
    virtual void savePaths() = 0;
    // The file browser on files of a kind (5 patterns, 6 calibration data,
    // 7 receiver points), keeping its folder, type and sort when asked. The
    // chosen file's full path, or "".
    virtual std::string showFiles(int kind, bool keepSettings) = 0;
    // The save dialog (with overwrite prompt) and the open dialog; full path or "".
    virtual std::string askSaveFile(const FileDialogRequest& request) = 0;
    virtual std::string askOpenFile(const FileDialogRequest& request) = 0;
    // Shows the plot of a pattern plot file and returns when it is closed.
    virtual void displayPlots(const std::string& folder, const std::string& file) = 0;
    virtual void showHelp(const std::string& topic) = 0;
};


}  // namespace crv::editors
