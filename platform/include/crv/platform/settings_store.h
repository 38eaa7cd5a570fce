#pragma once
// The settings store: one text file in place of the per-user registry key
// Software\QVA\Corvane\5.0. Sections are the subkeys ("Paths", "Plot Parameters",
// "Recent Files", "General"); each line is "Value Name=value" with the names
// spelled exactly as the programs and the engine use them, blanks included.
//
// The engine and both programs read the same file, so every write replaces the
// file atomically (temporary file in the same folder, then rename): a reader
// never sees half a file.
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "crv/platform/expected.h"

namespace crv::platform {

// $CORVANE_SETTINGS when set (a file path), else
// $XDG_CONFIG_HOME/QVA/Corvane/5.0.ini, else ~/.config/QVA/Corvane/5.0.ini.
std::string settingsFilePath();

using SettingValues = std::vector<std::pair<std::string, std::string>>;

class SettingsStore {
public:
    explicit SettingsStore(std::string path = settingsFilePath());

    const std::string& path() const { return path_; }

    // Whether the file can be read. Only a missing file is an empty store;
    // any other failure (a folder, a special file, no permission, a read
    // error) is returned here with the path and the reason. Once a file could
    // not be read, this process never writes it: every write below then
    // fails, so the settings the user stored are never replaced by defaults.
    Expected<void> check() const;
    bool writable() const;

    // Reads never fail: a missing file, section or value gives nullopt (and
    // so does a file that cannot be read; check() tells the difference).
    std::optional<std::string> get(std::string_view section, std::string_view name) const;
    std::string get(std::string_view section, std::string_view name, std::string_view fallback) const;
    // Every value of a section in file order (empty when the section is missing).
    SettingValues values(std::string_view section) const;

    // Writes re-read the file first, so values written by another program since
    // are kept. A name or value holding a line break, or a name holding "=" or
    // starting with "[", is refused.
    Expected<void> set(std::string_view section, std::string_view name, std::string_view value);
    Expected<void> setMany(std::string_view section, const SettingValues& values);
    // One value to write: it replaces what the file holds, or, onlyIfMissing,
    // is written only where the file holds no such value.
    struct Write {
        std::string name, value;
        bool onlyIfMissing = false;
    };
    // Writes them in one replacement of the file as it is now (a program's
    // own changes, and the defaults it worked with where nobody stored a
    // value); new names are added in the order given. A file that already
    // holds them all is not rewritten.
    Expected<void> update(std::string_view section, const std::vector<Write>& writes);

private:
    std::string path_;
};

}  // namespace crv::platform
