#pragma once
// One running program: its settings, identity, entry points, the new-case
// dialogs, the controller and the main window, put together for an edition.
// main() builds one; the window tests build one per edition.
#include <memory>

#include "crv/common/app_state.h"
#include "crv/common/ui/qt/frm_file_sel.h"
#include "crv/main/app/entry_points.h"
#include "crv/main/app/main_controller.h"
#include "crv/main/app/qt/frm_main_menu.h"
#include "crv/main/app/run_control.h"
#include "crv/main/dialogs/navaid_selection.h"
#include "crv/platform/settings_store.h"
#include "crv/resources/identity.h"

namespace crv::main::qt {

// The new-case dialogs as the controller asks for them.
class QtNewCaseDialogs : public NewCaseDialogs {
public:
    QtNewCaseDialogs(QWidget*& parent, crv::common::AppState& state, crv::platform::SettingsStore& store,
                     crv::common::MessagePresenter& presenter, const NavaidRules& rules);
    void GetParams(float& latitude, float& longitude, float& searchRadius, bool& manual, bool& canceled) override;
    void SelectProponent(bool& canceled, bool& manual) override;
    void SelectNavaid(bool& canceled) override;
    void ManualNavaidEntry(bool& canceled) override;

private:
    QWidget*& parent_;
    crv::common::AppState& state_;
    crv::platform::SettingsStore& store_;
    crv::common::MessagePresenter& presenter_;
    const NavaidRules& rules_;
};

class Program {
public:
    // `settingsPath` "" means the user's settings file.
    Program(crv::resources::Edition edition, crv::common::MessagePresenter& presenter,
            const std::string& settingsPath = {});
    ~Program();

    // Hands the searches and runs to `run` (kept by the caller); every
    // program has one (RunWiring).
    void setRunControl(RunControl& run) { runRef_ = &run; }
    // GetConfiguration, the window's start-up, then shows it.
    void start();

    crv::resources::Edition edition;
    std::string editionCode;
    crv::resources::Identity identity;
    crv::common::AppState state;
    crv::platform::SettingsStore store;
    EntryPoints entries;
    NavaidRules rules;
    crv::common::MessagePresenter& presenter;

    MainController& controller() { return *controller_; }
    // The searches and runs as the window's commands make them.
    RunControl& runControl();
    frmMainMenu& window() { return *window_; }
    // The program's one file browser (made on first use), so every window
    // that opens it finds its last folder, type and sort.
    crv::common::ui::frmFileSel& fileBrowser();

private:
    class RunForwarder;
    // The file browser, Location of Files, Options, printer set-up and help
    // of the common windows, for every entry main() left empty.
    void wireCommonWindows();
    QWidget* parentWidget_ = nullptr;
    RunControl* runRef_ = nullptr;
    std::unique_ptr<RunForwarder> forwarder_;
    std::unique_ptr<QtNewCaseDialogs> dialogs_;
    std::unique_ptr<MainController> controller_;
    std::unique_ptr<frmMainMenu> window_;
    // One browser, so a reload finds its last state; a child of the window,
    // so it goes first.
    std::unique_ptr<crv::common::ui::frmFileSel> browser_;
};

// The edition code of a program: entry 16 of its field dictionary.
std::string editionCodeOf(crv::resources::Edition edition);

}  // namespace crv::main::qt
