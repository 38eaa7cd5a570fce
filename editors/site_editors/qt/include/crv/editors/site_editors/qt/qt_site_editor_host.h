#pragma once
// The site editors' host inside the programs: the application's presenter,
// state and settings, Qt's file dialogs, the help window, and the program's
// plot window. The file browser is given by the program (a plain file
// dialog until it is wired).
#include <functional>
#include <string>

#include <QString>

#include "crv/editors/site_editor_host.h"
#include "crv/platform/settings_store.h"

class QWidget;

namespace crv::editors {

class QtSiteEditorHost : public SiteEditorHost {
public:
    // `plotWindow` shows a pattern plot (folder, file) in the program's plot window.
    using PlotWindow = std::function<void(const std::string&, const std::string&)>;
    QtSiteEditorHost(common::AppState& state, platform::SettingsStore& store, PlotWindow plotWindow,
                     QWidget* parent = nullptr);
    common::MessagePresenter& presenter() override;
    common::AppState& state() override { return state_; }
    void savePaths() override;
    std::string showFiles(int kind, bool keepSettings) override;
    std::string askSaveFile(const FileDialogRequest& request) override;
    std::string askOpenFile(const FileDialogRequest& request) override;
    void displayPlots(const std::string& folder, const std::string& file) override;
    void showHelp(const std::string& topic) override;

    // The file browser (kind, keep settings) of the program.
    std::function<std::string(int, bool)> fileBrowser;

private:
    PlotWindow plotWindow_;
    common::AppState& state_;
    platform::SettingsStore& store_;
    QWidget* parent_;
};

// "Pattern Files (*.pat)|*.pat|All Files (*.*)|*.*" as a Qt dialog filter.
QString qtFilter(const std::string& filter);

}  // namespace crv::editors
