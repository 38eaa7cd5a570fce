#include "crv/common/ui/frm_paths_model.h"

#include "crv/common/error_report.h"
#include "crv/common/file_system.h"
#include "crv/common/text_utils.h"

namespace crv::common::ui {

namespace {

using crv::common::AddBackslash;
using crv::common::RemoveBackslash;

const char* const kCaptions[kPathCount] = {
    "&FM Station Database File", "&Navaid Database File",    "&VHF COM Database File",
    "Folder for &Data Files",    "Folder for &Output Files", "Folder for &User-Defined Files",
};

template <class State>
auto databaseOf(State& s, int db) {
    return db == 0 ? &s.FCCDatabase : db == 1 ? &s.QVADatabase : &s.COMDatabase;
}
template <class State>
auto flagOf(State& s, int db) {
    return db == 0 ? &s.UseFCCDB : db == 1 ? &s.UseQVADB : &s.UseCOMDB;
}
template <class State>
auto folderOf(State& s, int i) {
    return i == 3 ? &s.DataFolder : i == 4 ? &s.OutputFolder : &s.UserFolder;
}

}  // namespace

PathsModel::PathsModel(crv::common::AppState& state, Exists exists) : state_(state), before_(state) {
    if (!exists) exists = [](const std::string& p) { return crv::common::FileExists(p); };
    for (int db = 0; db < kDatabaseCount; ++db) {
        paths_[static_cast<std::size_t>(db)] = *databaseOf(state_, db);
        const bool present = !paths_[static_cast<std::size_t>(db)].empty() && exists(paths_[static_cast<std::size_t>(db)]);
        std::int16_t& flag = *flagOf(state_, db);
        if (db == 0)
            flag = present ? 1 : 0;
        else if (!present)
            flag = 0;
        use_[static_cast<std::size_t>(db)] = flag != 0;
        enabled_[static_cast<std::size_t>(db)] = present;
    }
    for (int i = kDatabaseCount; i < kPathCount; ++i) paths_[static_cast<std::size_t>(i)] = RemoveBackslash(*folderOf(state_, i));
}

std::string PathsModel::frameCaption(int i) { return i >= 0 && i < kPathCount ? kCaptions[i] : ""; }

std::string PathsModel::changeTitle(int i) {
    std::string caption = frameCaption(i);
    if (const auto amp = caption.find('&'); amp != std::string::npos) caption.erase(amp, 1);
    return "Select " + caption;
}

std::string PathsModel::chooserFolder(int i) const {
    const std::string& p = path(i);
    const auto slash = p.rfind('/');
    return slash != std::string::npos && slash > 0 ? p.substr(0, slash) : std::string();
}

std::string PathsModel::chooserFileName(int i) const {
    const std::string& p = path(i);
    const auto slash = p.rfind('/');
    return slash != std::string::npos && slash > 0 ? p.substr(slash + 1) : p;
}

std::string PathsModel::tooLongText(const std::string& path) {
    return " This path is too long: \r\r " + path + " \r\r Paths must be shorter than 260 characters. ";
}

bool PathsModel::choose(int i, const std::string& chosen, crv::common::MessagePresenter& presenter) {
    if (i < 0 || i >= kPathCount || chosen.empty()) return false;
    const std::string value = isFolder(i) ? RemoveBackslash(chosen) : chosen;
    const std::string stored = isFolder(i) ? AddBackslash(value) : value;
    if (stored.size() >= kMaxPathBytes) {
        presenter.present({tooLongText(value), "Warning", crv::common::MessageIcon::Exclamation,
                           crv::common::MessageButtons::Ok});
        return false;
    }
    const bool differs = paths_[static_cast<std::size_t>(i)] != value;
    paths_[static_cast<std::size_t>(i)] = value;
    if (!isFolder(i)) {
        use_[static_cast<std::size_t>(i)] = true;
        enabled_[static_cast<std::size_t>(i)] = true;
    }
    return differs;
}

void PathsModel::clickUse(int db) {
    if (db <= 0 || db >= kDatabaseCount) return;  // the FM database cannot be switched off
    use_[static_cast<std::size_t>(db)] = !use_[static_cast<std::size_t>(db)];
}

bool PathsModel::changed() const {
    const crv::common::AppState& b = before_;
    for (int db = 0; db < kDatabaseCount; ++db) {
        if (*databaseOf(b, db) != path(db)) return true;
        if ((*flagOf(b, db) != 0) != useFlag(db)) return true;
    }
    for (int i = kDatabaseCount; i < kPathCount; ++i)
        if (*folderOf(b, i) != AddBackslash(path(i))) return true;
    return false;
}

bool PathsModel::accept(crv::platform::SettingsStore& store, crv::common::RecentFilesMenu* menu,
                        crv::common::MessagePresenter& presenter) {
    const bool save = changed();
    for (int db = 0; db < kDatabaseCount; ++db) {
        *databaseOf(state_, db) = path(db);
        *flagOf(state_, db) = useFlag(db) ? 1 : 0;
    }
    for (int i = kDatabaseCount; i < kPathCount; ++i) *folderOf(state_, i) = AddBackslash(path(i));
    if (!save) return true;
    bool ok = true;
    if (auto saved = crv::common::SavePaths(state_, store); !saved) {
        crv::common::ShowUnexpectedError(presenter, "frmPaths", saved.error());
        ok = false;
    }
    if (menu) menu->UpdateRecentFilesMenu(state_);
    return ok;
}

}  // namespace crv::common::ui
