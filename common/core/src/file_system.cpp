#include "crv/common/file_system.h"

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "crv/common/text_utils.h"

namespace crv::common {

namespace {

bool hasWildcard(std::string_view s) { return s.find_first_of("*?") != std::string_view::npos; }

bool matchFrom(std::string_view name, std::string_view pattern) {
    // Iterative glob with one back-tracking point per "*".
    std::size_t n = 0, p = 0, star = std::string_view::npos, mark = 0;
    while (n < name.size()) {
        if (p < pattern.size() && (pattern[p] == '?' || upperAscii(pattern[p]) == upperAscii(name[n]))) {
            ++n;
            ++p;
        } else if (p < pattern.size() && pattern[p] == '*') {
            star = p++;
            mark = n;
        } else if (star != std::string_view::npos) {
            p = star + 1;
            n = ++mark;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '*') ++p;
    return p == pattern.size();
}

bool entryExists(const std::string& path) {
    struct stat st {};
    return ::lstat(path.c_str(), &st) == 0;
}

// The folder part of a path including its "/" ("" for a bare name) and the rest.
std::pair<std::string, std::string> splitLast(std::string_view path) {
    const auto slash = path.rfind('/');
    if (slash == std::string_view::npos) return {"", std::string(path)};
    return {std::string(path.substr(0, slash + 1)), std::string(path.substr(slash + 1))};
}

// The folder as the file system spells it ("" stays "", meaning the current folder).
std::string resolveFolder(const std::string& folder) {
    if (folder.empty()) return folder;
    if (entryExists(folder)) return folder;
    return NormalizePath(folder);
}

}  // namespace

bool matchesPattern(std::string_view name, std::string_view pattern) {
    // "*.*" means every name, dotted or not.
    if (pattern == "*.*") return true;
    return matchFrom(name, pattern);
}

std::vector<DirEntry> FindEntries(std::string_view folder, std::string_view pattern) {
    std::vector<DirEntry> out;
    const std::string dirPath = folder.empty() ? std::string(".") : std::string(folder);
    DIR* dir = ::opendir(dirPath.c_str());
    if (!dir) return out;
    while (const dirent* e = ::readdir(dir)) {
        const std::string name = e->d_name;
        if (name == "." || name == "..") continue;
        if (!matchesPattern(name, pattern)) continue;
        DirEntry entry;
        entry.name = name;
        struct stat st {};
        if (::lstat((AddBackslash(dirPath) + name).c_str(), &st) == 0) {
            entry.isLink = S_ISLNK(st.st_mode);
            entry.isFolder = S_ISDIR(st.st_mode);
        }
        out.push_back(std::move(entry));
    }
    ::closedir(dir);
    std::sort(out.begin(), out.end(), [](const DirEntry& a, const DirEntry& b) { return a.name < b.name; });
    return out;
}

std::string NormalizePath(std::string_view path) {
    std::string s(path);
    const auto b = s.find_first_not_of(' ');
    if (b == std::string::npos) return {};
    s = s.substr(b, s.find_last_not_of(' ') - b + 1);
    const bool trailing = s.size() > 1 && s.back() == '/';
    std::string result = s.front() == '/' ? "/" : "";
    std::size_t pos = 0;
    while (pos < s.size()) {
        const auto next = s.find('/', pos);
        const std::string component = s.substr(pos, next == std::string::npos ? std::string::npos : next - pos);
        pos = next == std::string::npos ? s.size() : next + 1;
        if (component.empty()) continue;
        std::string spelled;
        if (component == "." || component == ".." || entryExists(result + component)) {
            spelled = component;
        } else {
            for (const auto& entry : FindEntries(result, "*")) {
                if (equalsNoCase(entry.name, component)) {
                    spelled = entry.name;
                    break;
                }
            }
            if (spelled.empty()) return {};
        }
        result += spelled;
        if (pos < s.size()) result += '/';
    }
    if (result.empty()) return {};
    if (trailing && result.back() != '/') result += '/';
    return result;
}

bool FileExists(std::string_view path) {
    if (path == "/") return true;
    const std::string p = RemoveBackslash(path);
    if (p.empty()) return false;
    auto [folder, name] = splitLast(p);
    if (hasWildcard(name)) {
        const std::string resolved = resolveFolder(folder);
        if (!folder.empty() && resolved.empty()) return false;
        return !FindEntries(resolved, name).empty();
    }
    if (entryExists(p)) return true;
    return !NormalizePath(p).empty();
}

void DeleteFiles(std::string_view pattern) {
    auto [folder, name] = splitLast(pattern);
    const std::string resolved = resolveFolder(folder);
    if (!folder.empty() && resolved.empty()) return;
    for (const auto& entry : FindEntries(resolved, name)) {
        if (entry.isFolder) continue;
        ::unlink((resolved + entry.name).c_str());
    }
}

crv::platform::Expected<void> EnsureDirExists(std::string_view path) {
    const std::string p = RemoveBackslash(path);
    if (p.empty()) return {};
    struct stat st {};
    if (::stat(p.c_str(), &st) == 0 && S_ISDIR(st.st_mode)) return {};
    if (::mkdir(p.c_str(), 0777) == 0) return {};
    const int err = errno;
    if (err == ENOENT) return crv::platform::makeError("Path not found: " + p);
    return crv::platform::makeError("Path/File access error: " + p + " (" + std::strerror(err) + ")");
}

}  // namespace crv::common
