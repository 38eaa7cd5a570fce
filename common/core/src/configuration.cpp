#include "crv/common/configuration.h"

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>

#include "crv/common/conversions.h"
#include "crv/common/error_report.h"
#include "crv/common/file_system.h"
#include "crv/common/text_utils.h"
#include "crv/platform/temp_folder.h"

namespace crv::common {

using crv::platform::Expected;
using crv::platform::SettingsStore;
using crv::platform::SettingValues;

namespace {

constexpr const char* kProcedure = "GetConfiguration";

std::string read(const SettingsStore& store, const char* section, const std::string& name) {
    return store.get(section, name).value_or("");
}

// The values each saver writes, in their stored forms.
SettingValues pathValues(const AppState& state) {
    return {
        {"FCC Database", state.FCCDatabase},
        {"QVA Database", state.QVADatabase},
        {"Use QVA DB", std::to_string(state.UseQVADB)},
        {"COM Database", state.COMDatabase},
        {"Use COM DB", std::to_string(state.UseCOMDB)},
        {"Use FCC DB", std::to_string(state.UseFCCDB)},
        {"Data Folder", state.DataFolder},
        {"Output Folder", state.OutputFolder},
        {"User Folder", state.UserFolder},
    };
}

SettingValues recentFileValues(const AppState& state) {
    SettingValues values;
    for (int i = 0; i < kRecentFileCount; ++i)
        values.emplace_back(std::to_string(i + 1), state.RecentFiles[static_cast<std::size_t>(i)]);
    return values;
}

SettingValues generalValues(const AppState& state) {
    return {
        {"Airspace Case", state.AirspaceCase},
        {"Default Output", state.DefaultOutputPlots ? "PLOTS" : "REPORTS"},
        {"Animation", state.AnimationEnabled ? "ON" : "OFF"},
    };
}

SettingValues plotParameterValues(const AppState& state) {
    return {
        {"Nav Level Min", std::to_string(state.NavLevelMin)},
        {"Nav Level Incr", std::to_string(state.NavLevelIncr)},
        {"Int Level Min", std::to_string(state.IntLevelMin)},
        {"Int Level Incr", std::to_string(state.IntLevelIncr)},
        {"Colors", formatPlotColors(state.PlotColors)},
    };
}

struct Group {
    const char* section;
    SettingValues (*values)(const AppState&);
};
constexpr Group kPaths{"Paths", pathValues};
constexpr Group kRecentFiles{"Recent Files", recentFileValues};
constexpr Group kGeneral{"General", generalValues};
constexpr Group kPlotParameters{"Plot Parameters", plotParameterValues};
constexpr const Group* kGroups[] = {&kPaths, &kRecentFiles, &kGeneral, &kPlotParameters};

// Writes the values of a group that differ from what this program last read
// or wrote (a value nobody stored counts as the default it loaded), and the
// rest of the group only where the file holds none: what another program
// stored meanwhile stays.
Expected<void> saveGroup(AppState& state, SettingsStore& store, const Group& group) {
    std::vector<SettingsStore::Write> writes;
    for (auto& [name, value] : group.values(state)) {
        const auto known = state.Stored.find({group.section, name});
        const bool changed = known == state.Stored.end() || known->second != value;
        writes.push_back({name, value, !changed});
    }
    auto written = store.update(group.section, writes);
    if (written)
        for (const auto& w : writes)
            if (!w.onlyIfMissing) state.Stored[{group.section, w.name}] = w.value;
    return written;
}

bool isFolder(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

// A database path as the file system spells it, or "" when no such file exists.
std::string existingFile(const std::string& stored) {
    if (stored.empty()) return {};
    std::string found = NormalizePath(stored);
    if (found.empty() || isFolder(found)) return {};
    return found;
}

// Creates the folder and any missing parents; the per-user root may not exist
// on a first run.
Expected<void> makeFolders(const std::string& folder) {
    for (std::size_t i = 1; i <= folder.size(); ++i) {
        if (i < folder.size() && folder[i] != '/') continue;
        auto made = EnsureDirExists(folder.substr(0, i));
        if (!made) return made;
    }
    return {};
}

std::uint32_t parseHexColor(std::string_view token) {
    std::size_t i = 0;
    while (i < token.size() && (token[i] == ' ' || token[i] == '\t')) ++i;
    std::uint64_t value = 0;
    int digits = 0;
    for (; i < token.size(); ++i) {
        const char c = upperAscii(token[i]);
        int d;
        if (c >= '0' && c <= '9')
            d = c - '0';
        else if (c >= 'A' && c <= 'F')
            d = c - 'A' + 10;
        else
            break;
        value = value * 16 + static_cast<std::uint64_t>(d);
        if (value != 0) ++digits;
        // More than 32 bits cannot be a colour: read as black.
        if (digits > 8) return 0;
    }
    return static_cast<std::uint32_t>(value);
}

std::int16_t levelOr(const SettingsStore& store, const char* name, std::int16_t fallback) {
    const std::string text = read(store, "Plot Parameters", name);
    return text.empty() ? fallback : toInt16(Val(text));
}

}  // namespace

std::string defaultWorkRoot() {
    if (const char* xdg = std::getenv("XDG_DATA_HOME"); xdg && xdg[0] == '/')
        return AddBackslash(xdg) + "Corvane/";
    std::string home;
    if (const char* h = std::getenv("HOME"); h && h[0]) {
        home = h;
    } else if (const passwd* pw = ::getpwuid(::getuid()); pw && pw->pw_dir) {
        home = pw->pw_dir;
    }
    return AddBackslash(home) + ".local/share/Corvane/";
}

std::string formatPlotColors(const PlotColorTable& colors) {
    static const char* hex = "0123456789ABCDEF";
    std::string out;
    for (std::size_t i = 0; i < colors.size(); ++i) {
        if (i) out += ',';
        std::string digits;
        std::uint32_t v = colors[i];
        do {
            digits.insert(digits.begin(), hex[v & 0xF]);
            v >>= 4;
        } while (v);
        out += digits;
    }
    return out;
}

PlotColorTable parsePlotColors(std::string_view text) {
    PlotColorTable colors{};
    std::string rest(text);
    for (auto& colour : colors) colour = parseHexColor(NextToken(",", rest));
    return colors;
}

void GetConfiguration(AppState& state, SettingsStore& store, const ConfigEnvironment& env,
                      MessagePresenter& presenter, RecentFilesMenu* menu) {
    // 1. Factory values.
    state.DefNavLevelMin = -99;
    state.DefNavLevelIncr = 6;
    state.DefIntLevelMin = 3;
    state.DefIntLevelIncr = 3;
    state.DefPlotColors = kFactoryPlotColors;

    // A settings file that is there but cannot be read is not an empty store:
    // say so, load the defaults, and leave the file alone (the store refuses
    // every write to it from now on), so the user's stored paths survive.
    const auto readable = store.check();
    if (!readable) ShowUnexpectedError(presenter, kProcedure, readable.error());
    // What the store holds now: the savers compare with it.
    state.Stored.clear();
    for (const Group* g : kGroups)
        for (const auto& [name, value] : store.values(g->section)) state.Stored[{g->section, name}] = value;

    // 2-3. The work root stands where the program folder stood: the default
    // folders belong to the user, never beside the executable.
    const std::string workRoot = AddBackslash(env.workRoot.empty() ? defaultWorkRoot() : env.workRoot);
    if (auto temp = crv::platform::privateTempFolder()) {
        state.TempFolder = *temp;
    } else {
        ShowUnexpectedError(presenter, kProcedure, temp.error());
    }

    // 5. Paths. A database whose file is gone is dropped without a word;
    // CheckDatabases warns when a search needs it.
    state.FCCDatabase = existingFile(read(store, "Paths", "FCC Database"));
    state.UseFCCDB = state.FCCDatabase.empty() ? 0 : 1;
    state.QVADatabase = existingFile(read(store, "Paths", "QVA Database"));
    state.UseQVADB = state.QVADatabase.empty() ? 0 : toInt16(Val(read(store, "Paths", "Use QVA DB")));
    state.COMDatabase = existingFile(read(store, "Paths", "COM Database"));
    state.UseCOMDB = state.COMDatabase.empty() ? 0 : toInt16(Val(read(store, "Paths", "Use COM DB")));

    const struct {
        const char* name;
        const char* defaultName;
        std::string AppState::*member;
    } folders[] = {{"Data Folder", "Data/", &AppState::DataFolder},
                   {"Output Folder", "Output/", &AppState::OutputFolder},
                   {"User Folder", "User/", &AppState::UserFolder}};
    for (const auto& f : folders) {
        std::string folder = NormalizePath(read(store, "Paths", f.name));
        if (!folder.empty() && !isFolder(folder)) folder.clear();
        if (folder.empty()) {
            folder = workRoot + f.defaultName;
            if (auto made = makeFolders(folder); !made) ShowUnexpectedError(presenter, kProcedure, made.error());
        }
        state.*f.member = AddBackslash(folder);
    }

    // 6. Plot parameters.
    state.NavLevelMin = levelOr(store, "Nav Level Min", state.DefNavLevelMin);
    state.NavLevelIncr = levelOr(store, "Nav Level Incr", state.DefNavLevelIncr);
    state.IntLevelMin = levelOr(store, "Int Level Min", state.DefIntLevelMin);
    state.IntLevelIncr = levelOr(store, "Int Level Incr", state.DefIntLevelIncr);
    const std::string colors = read(store, "Plot Parameters", "Colors");
    state.PlotColors = colors.empty() ? state.DefPlotColors : parsePlotColors(colors);

    // 7. Recent files: up to the first empty entry, vanished and repeated
    // files dropped, the rest moved up.
    state.RecentFiles = {};
    int count = 0;
    for (int i = 1; i <= kRecentFileCount; ++i) {
        const std::string stored = read(store, "Recent Files", std::to_string(i));
        if (stored.empty()) break;
        const std::string path = existingFile(stored);
        if (path.empty()) continue;
        bool taken = false;
        for (int j = 0; j < count; ++j) taken = taken || state.RecentFiles[static_cast<std::size_t>(j)] == path;
        if (taken) continue;
        state.RecentFiles[static_cast<std::size_t>(count++)] = path;
    }
    if (count > 0 && menu) menu->UpdateRecentFilesMenu(state);

    // 8. General.
    state.AirspaceCase = leftSet(read(store, "General", "Airspace Case"), 15);
    state.DefaultOutputPlots = read(store, "General", "Default Output") == "PLOTS";
    state.AnimationEnabled = read(store, "General", "Animation") != "OFF";

    // 9. The engine runs in the edition of the program started last.
    state.ModelType = leftSet(env.editionCode, 3);
    if (!readable) return;  // already reported; nothing is written over it
    if (auto written = store.set("General", "Model Type", state.ModelType); !written)
        ShowUnexpectedError(presenter, kProcedure, written.error());

    // A value nobody stored is the default this program loaded: only a
    // change of it is this program's to write. (Stored values that cleaning
    // changed, a vanished database or a folder spelled as on disk, differ
    // from what Stored holds and are written below.)
    for (const Group* g : kGroups)
        for (const auto& [name, value] : g->values(state)) state.Stored.try_emplace({g->section, name}, value);

    // 10. Rewrite the store with the cleaned values.
    if (auto written = saveGroup(state, store, kPaths); !written)
        ShowUnexpectedError(presenter, kProcedure, written.error());
    if (auto written = saveGroup(state, store, kRecentFiles); !written)
        ShowUnexpectedError(presenter, kProcedure, written.error());
}

bool EnsureTempFolder(AppState& state, MessagePresenter& presenter) {
    if (!state.TempFolder.empty()) return true;
    auto temp = crv::platform::privateTempFolder();
    if (temp) {
        state.TempFolder = *temp;
        return true;
    }
    Message m;
    m.text = " " + temp.error() + " ";
    m.title = "Temporary Folder";
    m.icon = MessageIcon::Exclamation;
    presenter.present(m);
    return false;
}

Expected<void> SavePaths(AppState& state, SettingsStore& store) { return saveGroup(state, store, kPaths); }

Expected<void> SaveRecentFiles(AppState& state, SettingsStore& store) {
    return saveGroup(state, store, kRecentFiles);
}

Expected<void> SaveGeneralSettings(AppState& state, SettingsStore& store) {
    return saveGroup(state, store, kGeneral);
}

Expected<void> SavePlotParameters(AppState& state, SettingsStore& store) {
    return saveGroup(state, store, kPlotParameters);
}

}  // namespace crv::common
