#include "crv/platform/settings_store.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "crv/platform/numbers.h"
#include "crv/platform/text_file.h"

namespace crv::platform {

namespace {

struct Section {
    std::string name;
    SettingValues values;
};
using Document = std::vector<Section>;

Document load(const std::string& path) {
    Document doc;
    auto lines = readTextLines(path);
    if (!lines) return doc;
    for (const auto& raw : *lines) {
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

std::optional<std::string> SettingsStore::get(std::string_view section, std::string_view name) const {
    Document doc = load(path_);
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
    Document doc = load(path_);
    if (Section* s = findSection(doc, section)) return s->values;
    return {};
}

Expected<void> SettingsStore::set(std::string_view section, std::string_view name, std::string_view value) {
    return setMany(section, {{std::string(name), std::string(value)}});
}

Expected<void> SettingsStore::setMany(std::string_view section, const SettingValues& values) {
    for (const auto& [name, value] : values) {
        if (auto ok = checkName(section, name); !ok) return ok;
        if (hasLineBreak(value))
            return makeError("The setting \"" + name + "\" cannot hold a line break.");
    }
    Document doc = load(path_);
    Section* s = findSection(doc, section);
    if (!s) {
        doc.push_back({std::string(section), {}});
        s = &doc.back();
    }
    for (const auto& [name, value] : values) {
        bool replaced = false;
        for (auto& [n, v] : s->values)
            if (n == name) {
                v = value;
                replaced = true;
                break;
            }
        if (!replaced) s->values.emplace_back(name, value);
    }
    return save(path_, doc);
}

Expected<void> SettingsStore::remove(std::string_view section, std::string_view name) {
    Document doc = load(path_);
    Section* s = findSection(doc, section);
    if (!s) return {};
    std::erase_if(s->values, [&](const auto& nv) { return nv.first == name; });
    return save(path_, doc);
}

Expected<void> SettingsStore::removeSection(std::string_view section) {
    Document doc = load(path_);
    std::erase_if(doc, [&](const Section& s) { return s.name == section; });
    return save(path_, doc);
}

}  // namespace crv::platform
