#pragma once
// The site editors' host inside the programs: the application's presenter,
// state and settings, Qt's file dialogs, the help window. The file browser
// and the plot window are given by the program (each defaults to a plain
// dialog or a message until it is wired).
#include <functional>
#include <string>

#include <QString>

#include "crv/editors/site_editor_host.h"
#include "crv/platform/settings_store.h"

class QWidget;

namespace crv::editors {

class QtSiteEditorHost : public SiteEditorHost {
public:
    QtSiteEditorHost(common::AppState& state, platform::SettingsStore& store, QWidget* parent = nullptr);
    common::MessagePresenter& presenter() override;
    common::AppState& state() override { return state_; }
    void savePaths() override;
    std::string showFiles(int kind, bool keepSettings) override;
    std::string askSaveFile(const FileDialogRequest& request) override;
    std::string askOpenFile(const FileDialogRequest& request) override;
    void displayPlots(const std::string& folder, const std::string& file) override;
    void showHelp(const std::string& topic) override;

    // The file browser (kind, keep settings) and the plot window (folder,
    // file) of the program.
    std::function<std::string(int, bool)> fileBrowser;
    std::function<void(const std::string&, const std::string&)> plotWindow;

private:
    common::AppState& state_;
    platform::SettingsStore& store_;
    QWidget* parent_;
};

// "Pattern Files (*.pat)|*.pat|All Files (*.*)|*.*" as a Qt dialog filter.
QString qtFilter(const std::string& filter);

}  // namespace crv::editors
