#pragma once
// Entries of the case data editor for the main window: EditDataFile edits
// DataFolder + CaseFile and tells how it was left; GetGridAngle is the
// relative grid angle dialog.
#include <functional>
#include <optional>
#include <string>
#include <utility>

#include "crv/common/app_state.h"
#include "crv/common/messages.h"
#include "crv/editors/rf_table.h"
#include "crv/platform/settings_store.h"
#include "crv/resources/field_dictionaries.h"

class QWidget;

namespace crv::editors {

struct CaseEditorEnvironment {
    CaseEditorEnvironment(crv::common::AppState& a, crv::platform::SettingsStore& s, crv::common::MessagePresenter& p)
        : app(a), store(s), presenter(p) {}
    crv::common::AppState& app;
    crv::platform::SettingsStore& store;
    crv::common::MessagePresenter& presenter;
    crv::resources::Edition edition = crv::resources::Edition::Field;
    // Hidden while the editor is open, shown again afterwards.
    QWidget* mainWindow = nullptr;
    // The file browser for case data files (frmFileSel, kind 1): (folder, file)
    // or nullopt. Without it a plain open dialog is shown.
    std::function<std::optional<std::pair<std::string, std::string>>(bool reload)> showFiles;
    // The engine's LLDist, which the programs pass (EditorServices::lldist).
    LLDistFunction lldist;
    // Help at a topic number; without it the common help window opens.
    std::function<void(int topic)> showHelp;
};

// The help page of a help topic number of the editor: 16 to 19 are its
// pages 1 to 4 (the first page for any other number).
std::string caseEditorHelpTopic(int topic);

// Exit codes: 1 exit, 2 run the simulation, 3 run and print the results.
int EditDataFile(const CaseEditorEnvironment& env);

// The relative grid angle dialog: LocAngle is the localizer course,
// GridAngle the current grid angle in and the chosen one out (unchanged when
// cancelled).
void GetGridAngle(float LocAngle, float& GridAngle, bool& Canceled, QWidget* parent = nullptr);

}  // namespace crv::editors
