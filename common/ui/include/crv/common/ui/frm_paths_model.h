#pragma once
// The logic of the "Location of CRV Files" dialog, without a widget: working
// copies of the three database files and three work folders, the use flags,
// the titles of the choosers, the length limit and what OK writes.
#include <array>
#include <functional>
#include <string>

#include "crv/common/app_state.h"
#include "crv/common/configuration.h"
#include "crv/common/messages.h"
#include "crv/platform/settings_store.h"

namespace crv::common::ui {

inline constexpr int kPathCount = 6;     // 0-2 database files, 3-5 folders
inline constexpr int kDatabaseCount = 3;
// The engine holds paths in fixed fields of 260 characters; a longer one
// would reach it cut short, so it is refused here.
inline constexpr std::size_t kMaxPathBytes = 260;

class PathsModel {
public:
    using Exists = std::function<bool(const std::string& path)>;

    // Loads the working copies. A database whose file is missing gets its use
    // flag cleared in `state` (the FM one is set when its file exists), and its
    // box disabled; that change stands even after Cancel.
    PathsModel(crv::common::AppState& state, Exists exists = {});

    static bool isFolder(int i) { return i >= kDatabaseCount; }
    // "&FM Station Database File", ..., "Folder for &User-Defined Files".
    static std::string frameCaption(int i);
    // "Select " + the caption without its first "&".
    static std::string changeTitle(int i);

    // Database paths as stored; folders without their trailing "/".
    const std::string& path(int i) const { return paths_[static_cast<std::size_t>(i)]; }
    bool useFlag(int db) const { return use_[static_cast<std::size_t>(db)]; }
    bool useEnabled(int db) const { return enabled_[static_cast<std::size_t>(db)]; }

    // Where a database chooser opens: the folder of the working path (only when
    // its last "/" is past the first character) and the name after it.
    std::string chooserFolder(int i) const;
    std::string chooserFileName(int i) const;

    // A chooser's answer: "" (cancelled) changes nothing; a path of 260 bytes
    // or more (a folder counted with its trailing "/") is refused with a
    // message. A chosen database file is checked and its box enabled.
    // Returns true when the working path changed.
    bool choose(int i, const std::string& chosen, crv::common::MessagePresenter& presenter);
    // A click on a use box: the FM box stays checked, the others toggle.
    void clickUse(int db);

    // True when OK would change a stored setting.
    bool changed() const;
    // OK: writes the working copies and flags to the state and, when any
    // differs from what was stored, saves the "Paths" group and refreshes the
    // recent-file menu (its captions are relative to the data folder). A
    // failed save is reported. Returns false only when the save failed.
    bool accept(crv::platform::SettingsStore& store, crv::common::RecentFilesMenu* menu,
                crv::common::MessagePresenter& presenter);

    // The message for a path that is too long.
    static std::string tooLongText(const std::string& path);

private:
    crv::common::AppState& state_;
    crv::common::AppState before_;  // as stored when the dialog opened
    std::array<std::string, kPathCount> paths_;
    std::array<bool, kDatabaseCount> use_{};
    std::array<bool, kDatabaseCount> enabled_{};
};

}  // namespace crv::common::ui
