#include "crv/platform/settings_store.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <set>

#include "crv/platform/numbers.h"
#include "crv/platform/text_file.h"

namespace crv::platform {

namespace {

struct Section {
    std::string name;
    SettingValues values;
};
using Document = std::vector<Section>;

// The settings file holds a few dozen short lines; anything near this size
// is not one.
constexpr std::size_t kMaxSettingsBytes = 1 << 20;

// Settings files this process could not read. Writing one of them would
// replace every value the user stored with the few being set, so none of them
// is written again while the process runs, even through another store object.
struct Unreadable {
    std::mutex mutex;
    std::set<std::string> paths;
};
Unreadable& unreadable() {
    static Unreadable* u = new Unreadable;  // never freed: used until the very end
    return *u;
}
void markUnreadable(const std::string& path) {
    std::lock_guard lock(unreadable().mutex);
    unreadable().paths.insert(path);
}
bool isMarkedUnreadable(const std::string& path) {
    std::lock_guard lock(unreadable().mutex);
    return unreadable().paths.count(path) != 0;
}

// Only a file that is not there is an empty store; a folder, a device, a
// file we may not read or a read error is a failure, never "no settings".
Expected<Document> load(const std::string& path) {
    Document doc;
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0 && errno == ENOENT) return doc;
    auto bytes = readRegularFile(path, kMaxSettingsBytes);
    if (!bytes) {
        markUnreadable(path);
        return makeError(bytes.error());
    }
    std::vector<std::string> lines;
    std::size_t at = 0;
    while (at < bytes->size()) {
        std::size_t end = bytes->find('\n', at);
        if (end == std::string::npos) end = bytes->size();
        std::string line = bytes->substr(at, end - at);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(std::move(line));
        at = end + 1;
    }
    for (const auto& raw : lines) {
        std::string_view line = raw;
        if (!line.empty() && line.front() == '[' && trimRight(line).back() == ']') {
            line = trimRight(line);
            doc.push_back({std::string(line.substr(1, line.size() - 2)), {}});
            continue;
        }
        auto eq = line.find('=');
        if (eq == std::string_view::npos || doc.empty()) continue;
        // Names and values are raw: no trimming, so "FCC Database" and a value
        // with leading blanks come back exactly as written.
        doc.back().values.emplace_back(std::string(line.substr(0, eq)), std::string(line.substr(eq + 1)));
    }
    return doc;
}

std::string render(const Document& doc) {
    std::string out;
    for (const auto& section : doc) {
        out += "[" + section.name + "]\n";
        for (const auto& [name, value] : section.values) out += name + "=" + value + "\n";
        out += "\n";
    }
    return out;
}

Section* findSection(Document& doc, std::string_view name) {
    for (auto& s : doc)
        if (s.name == name) return &s;
    return nullptr;
}

// Reads keep their promise of never failing: an unreadable file reads as
// empty here, and check() says why.
Document loadOrEmpty(const std::string& path) {
    auto doc = load(path);
    return doc ? std::move(*doc) : Document{};
}

Expected<void> refusedWrite(const std::string& path) {
    return makeError("The settings file " + path +
                     " could not be read, so it is not written: the settings stored in it are kept as they are.");
}

// The document to change before a write; a file that cannot be read is
// never replaced.
Expected<Document> loadForWrite(const std::string& path) {
    if (isMarkedUnreadable(path)) return makeError(refusedWrite(path).error());
    auto doc = load(path);
    if (!doc) return makeError(doc.error() + "\n" + refusedWrite(path).error());
    return doc;
}

bool hasLineBreak(std::string_view s) { return s.find_first_of("\r\n") != std::string_view::npos; }

Expected<void> checkName(std::string_view section, std::string_view name) {
    if (section.empty() || hasLineBreak(section) || section.find(']') != std::string_view::npos)
        return makeError("Invalid settings section name \"" + std::string(section) + "\"");
    if (name.empty() || hasLineBreak(name) || name.find('=') != std::string_view::npos || name.front() == '[')
        return makeError("Invalid settings value name \"" + std::string(name) + "\"");
    return {};
}

void makeParentFolders(const std::string& path) {
    for (std::size_t i = 1; i < path.size(); ++i) {
        if (path[i] != '/') continue;
        std::string dir = path.substr(0, i);
        ::mkdir(dir.c_str(), 0700);
    }
}

Expected<void> save(const std::string& path, const Document& doc) {
    if (isMarkedUnreadable(path)) return refusedWrite(path);
    makeParentFolders(path);
    return writeFileAtomic(path, render(doc));
}

}  // namespace

std::string settingsFilePath() {
    if (const char* p = std::getenv("CORVANE_SETTINGS"); p && *p) return p;
    std::string base;
    if (const char* x = std::getenv("XDG_CONFIG_HOME"); x && *x) {
        base = x;
    } else {
        const char* home = std::getenv("HOME");
        base = std::string(home && *home ? home : ".") + "/.config";
    }
    return base + "/QVA/Corvane/5.0.ini";
}

SettingsStore::SettingsStore(std::string path) : path_(std::move(path)) {}

Expected<void> SettingsStore::check() const {
    auto doc = load(path_);
    if (!doc) return makeError(doc.error());
    return {};
}

bool SettingsStore::writable() const { return !isMarkedUnreadable(path_); }

std::optional<std::string> SettingsStore::get(std::string_view section, std::string_view name) const {
    Document doc = loadOrEmpty(path_);
    if (Section* s = findSection(doc, section))
        for (auto& [n, v] : s->values)
            if (n == name) return v;
    return std::nullopt;
}

std::string SettingsStore::get(std::string_view section, std::string_view name, std::string_view fallback) const {
    auto v = get(section, name);
    return v ? *v : std::string(fallback);
}

SettingValues SettingsStore::values(std::string_view section) const {
    Document doc = loadOrEmpty(path_);
    if (Section* s = findSection(doc, section)) return s->values;
    return {};
}

Expected<void> SettingsStore::set(std::string_view section, std::string_view name, std::string_view value) {
    return setMany(section, {{std::string(name), std::string(value)}});
}

Expected<void> SettingsStore::setMany(std::string_view section, const SettingValues& values) {
    std::vector<Write> writes;
    for (const auto& [name, value] : values) writes.push_back({name, value});
    return update(section, writes);
}

Expected<void> SettingsStore::update(std::string_view section, const std::vector<Write>& writes) {
    for (const Write& w : writes) {
        if (auto ok = checkName(section, w.name); !ok) return ok;
        if (hasLineBreak(w.value)) return makeError("The setting \"" + w.name + "\" cannot hold a line break.");
    }
    auto loaded = loadForWrite(path_);
    if (!loaded) return makeError(loaded.error());
    Document& doc = *loaded;
    Section* s = findSection(doc, section);
    if (!s) {
        doc.push_back({std::string(section), {}});
        s = &doc.back();
    }
    bool changed = false;
    for (const Write& w : writes) {
        bool found = false;
        for (auto& [n, v] : s->values)
            if (n == w.name) {
                if (!w.onlyIfMissing && v != w.value) {
                    v = w.value;
                    changed = true;
                }
                found = true;
                break;
            }
        if (!found) {
            s->values.emplace_back(w.name, w.value);
            changed = true;
        }
    }
    // A file that already holds every value is left as it is.
    if (!changed) return {};
    return save(path_, doc);
}

}  // namespace crv::platform
