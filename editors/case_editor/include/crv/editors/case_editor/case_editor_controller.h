#pragma once
// The case data editor as a whole, without windows: the case it holds (pages
// and RF-source table), the page switch, every menu command with its
// confirmations, the checks before a save, and how the editor is left (the
// exit code EditDataFile returns). The window forwards its menus here and
// shows what changed.
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "crv/common/app_state.h"
#include "crv/common/configuration.h"
#include "crv/common/messages.h"
#include "crv/editors/case_document.h"
#include "crv/editors/case_editor/page_fields.h"
#include "crv/editors/case_editor/rf_table_editor.h"
#include "crv/editors/case_file.h"
#include "crv/editors/field_dictionary.h"
#include "crv/editors/rf_table.h"
#include "crv/platform/expected.h"
#include "crv/platform/settings_store.h"

namespace crv::editors {

// What the commands need from around the editor; tests script them.
struct EditorServices {
    // The file browser for case data files: (folder ending in "/", file), or
    // nullopt when nothing was chosen. reload: reuse the last folder and order.
    std::function<std::optional<std::pair<std::string, std::string>>(bool reload)> showFiles;
    // The Save As dialog: the chosen full path, "" when cancelled.
    std::function<std::string(const std::string& initialFolder, const std::string& fileName)> saveAs;
    // Help at a topic number (16..19 for pages 1..4).
    std::function<void(int topic)> showHelp;
    // The busy pointer on and off.
    std::function<void(bool busy)> busy;
    // The status line ("Checking ..." during the check, "" after it).
    std::function<void(const std::string& text)> status;
    // Recent-file menus of the main window and the editor.
    crv::common::RecentFilesMenu* recentMenu = nullptr;
    // The engine's LLDist (navaid to proponent bearing), which the programs
    // pass; without it the case has no proponent bearing, and the grid fields
    // that follow it are left as the file has them.
    LLDistFunction lldist;
};

// Exit codes of the editor.
enum EditExit : int { kStayOpen = 0, kExit = 1, kRun = 2, kRunAndPrint = 3 };

class CaseEditorController {
public:
    CaseEditorController(const FieldDictionary& dictionary, crv::common::AppState& app,
                         crv::platform::SettingsStore& store, crv::common::MessagePresenter& presenter,
                         EditorServices services);

    EditorState state;
    PageFields& pages() { return pages_; }
    RfTable& table() { return table_; }
    RfTableEditor& tableEditor() { return tableEditor_; }
    const FieldDictionary& dictionary() const { return dictionary_; }
    crv::common::AppState& app() { return app_; }
    std::string caption() const;
    std::string editionCode() const { return dictionary_.editionCode(); }

    // Reads DataFolder + CaseFile (the editor's first case). A failure is
    // returned; nothing is shown.
    crv::platform::Expected<void> openInitialCase();
    // Clears the editing state and shows the case from page 1, or from the
    // RF-source page when its check fails.
    void ResetEditor();

    // Page switch: false when the editor stays on the current page (a pending
    // value failed its check, or the RF sources failed theirs).
    bool selectPage(int page);
    // Ctrl+Tab / Ctrl+Shift+Tab: the page delta steps away, round the ends.
    int neighbourPage(int delta) const;
    bool menusEnabled() const { return state.currentPage == 3; }

    // Commits the pending page-field or cell edit; false when it failed and
    // the command must stop.
    bool commitPending();

    // File menu.
    void fileOpen();
    void fileRecent(int index);                    // 0-based
    void fileRecentPath(const std::string& path);  // the entry's full path
    void fileSave();
    void fileSaveAs();
    void fileRun();
    void fileAuto();
    void ExitEditor();
    std::vector<std::string> recentCaptions() const;
    void help();

    // Select, Insert/Delete, PropStatus and Tools menus (page 3).
    void tagAll();
    void untagAll();
    void invertTags();
    void insertRow();
    void deleteRow();
    void deleteTagged();
    std::string toggleCaption() const { return table_.UpdateToggleCaption(); }
    void propToggle();
    void propTagged(const std::string& status);  // "P", "N" or "I"
    void sortRows();
    void runCheck();
    void useDummyValues();

    // The check: runs CheckIntermods, colours, and with ask offers dummy values.
    bool CheckIntermods(bool ask);
    // The checks and the write; returns false when the file was not written.
    bool SaveDataFile();

    int exitCode = kStayOpen;
    bool closed = false;
    // The window shows the case again after a load, or its rows after a row
    // operation.
    std::function<void()> caseShown;
    std::function<void()> rowsChanged;

private:
    bool confirmSwitch();
    crv::platform::Expected<void> loadCase(const std::string& folder, const std::string& file);
    bool switchTo(const std::string& folder, const std::string& file);
    bool writeCase(const std::string& folder, const std::string& file);
    void absorbTableFlags();
    void rowsDone();
    std::optional<float> proponentBearing(float lat, float lon) const;

    const FieldDictionary& dictionary_;
    crv::common::AppState& app_;
    crv::platform::SettingsStore& store_;
    crv::common::MessagePresenter& presenter_;
    EditorServices services_;
    CaseDocument doc_;
    RfTable& table_;
    PageFields pages_;
    RfTableEditor tableEditor_;
    bool browserUsed_ = false;
};

}  // namespace crv::editors
