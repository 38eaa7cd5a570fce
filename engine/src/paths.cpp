#include "paths.h"

#include <cstdlib>

#include "crv/platform/settings_store.h"
#include "crv/platform/temp_folder.h"
#include "failure.h"
#include "fixed_text.h"

namespace crv::engine {

namespace {
constexpr const char* kRoutine = "GetPaths       ";

// RegGetStr: a missing value keeps the default. A value that does not fit the
// engine's 260-character field is refused rather than silently cut.
void readPath(const crv::platform::SettingsStore& store, const char* section, const char* name,
              std::string& target, bool folder) {
    auto value = store.get(section, name);
    if (!value) return;
    std::string text = trimRightCopy(*value);
    if (text.size() > 259)
        fail(kRoutine, std::string("The setting \"") + name + "\" is longer than 259 characters.");
    target = folder ? asFolder(text) : text;
}
}  // namespace

void GetPaths(EngineState& state) {
    PathBlock paths;  // the defaults
    paths.runFolder = state.paths.runFolder;

    auto temp = crv::platform::privateTempFolder();
    if (!temp) fail(kRoutine, temp.error());
    paths.tempFolder = *temp;

    crv::platform::SettingsStore store;
    // Defaults in place of settings that exist but cannot be read would send
    // the run to other databases and folders without a word.
    if (auto readable = store.check(); !readable) fail(kRoutine, readable.error());
    readPath(store, "Paths", "FCC Database", paths.fmDatabase, false);
    readPath(store, "Paths", "QVA Database", paths.navaidDatabase, false);
    readPath(store, "Paths", "COM Database", paths.comDatabase, false);
    readPath(store, "Paths", "Data Folder", paths.dataFolder, true);
    readPath(store, "Paths", "Output Folder", paths.outputFolder, true);
    readPath(store, "Paths", "User Folder", paths.userFolder, true);

    if (auto model = store.get("General", "Model Type")) paths.edition = model->substr(0, 3);
    // Both editions write their code to the one shared settings file at start,
    // so with the two running the stored value names whichever started last.
    // A program hands its own edition down in CRV_EDITION, which wins.
    if (const char* edition = std::getenv("CRV_EDITION"); edition && *edition)
        paths.edition = std::string(edition).substr(0, 3);

    state.paths = paths;
    state.scientific = state.paths.edition == "SCI";
}

}  // namespace crv::engine
