#include "crv/platform/temp_folder.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <optional>
#include <vector>

#include "folder_listing.h"

namespace crv::platform {

namespace {

// Said with every refusal: the user can always move the whole area.
constexpr const char* kElsewhere =
    " Set TMPDIR to a folder of your own to keep the temporary files there instead.";

Error refused(const std::string& text) { return makeError(text + kElsewhere); }

// Examines a folder we made or found: it must be a real folder (no link),
// ours, and closed to everyone else.
Expected<void> checkPrivate(const std::string& folder) {
    struct stat st {};
    if (::lstat(folder.c_str(), &st) != 0)
        return refused("Could not examine the temporary folder " + folder + ": " + std::strerror(errno) + ".");
    if (!S_ISDIR(st.st_mode))
        return refused("The temporary folder " + folder + " is not a folder (a link or a file stands there).");
    if (st.st_uid != ::getuid()) return refused("The temporary folder " + folder + " belongs to another user.");
    if ((st.st_mode & 0777) != 0700)
        return refused("The temporary folder " + folder + " is open to other users (mode must be 0700).");
    return {};
}

// Creates the folder when missing; true when this call made it.
Expected<bool> makePrivate(const std::string& folder) {
    bool made = ::mkdir(folder.c_str(), 0700) == 0;
    if (!made && errno != EEXIST)
        return refused("Could not create the temporary folder " + folder + ": " + std::strerror(errno) + ".");
    if (auto ok = checkPrivate(folder); !ok) return makeError(ok.error());
    return made;
}

// Field 22 of /proc/PID/stat: the start time in clock ticks since boot.
// Nullopt when the process does not run (or /proc cannot tell).
std::optional<unsigned long long> startTime(long pid) {
    const std::string path = "/proc/" + std::to_string(pid) + "/stat";
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return std::nullopt;
    char buf[1024];
    const ssize_t n = ::read(fd, buf, sizeof buf - 1);
    ::close(fd);
    if (n <= 0) return std::nullopt;
    buf[n] = '\0';
    // The command name may hold blanks and parentheses: fields count from
    // after its last ')'. The state is field 3, the start time field 22.
    const char* p = std::strrchr(buf, ')');
    if (!p) return std::nullopt;
    ++p;
    for (int field = 3; field < 22; ++field) {
        while (*p == ' ') ++p;
        while (*p && *p != ' ') ++p;
        if (!*p) return std::nullopt;
    }
    char* end = nullptr;
    const unsigned long long t = std::strtoull(p, &end, 10);
    if (end == p) return std::nullopt;
    return t;
}

// The pid namespace of this process (the inode of /proc/self/ns/pid), so
// that processes of two containers sharing TMPDIR never make one name even
// when their numbers and start times agree. 0 when it cannot be read.
unsigned long long pidNamespace() {
    char link[64] = {};
    const ssize_t n = ::readlink("/proc/self/ns/pid", link, sizeof link - 1);
    if (n <= 0) return 0;
    const char* open = std::strchr(link, '[');
    return open ? std::strtoull(open + 1, nullptr, 10) : 0;
}

std::string processFolderName(long pid) {
    const auto start = startTime(pid);
    return "p" + std::to_string(pid) + "-" + std::to_string(start ? *start : 0ULL) + "-" +
           std::to_string(pidNamespace());
}

// "p<pid>-<start>" (folders of earlier versions) or "p<pid>-<start>-<ns>".
struct ProcessFolderName {
    long pid = 0;
    unsigned long long start = 0;
    std::optional<unsigned long long> pidNamespace;
};

std::optional<ProcessFolderName> parseProcessFolderName(const char* name) {
    if (name[0] != 'p') return std::nullopt;
    ProcessFolderName parsed;
    char* end = nullptr;
    parsed.pid = std::strtol(name + 1, &end, 10);
    if (end == name + 1 || *end != '-' || parsed.pid <= 0) return std::nullopt;
    const char* startText = end + 1;
    parsed.start = std::strtoull(startText, &end, 10);
    if (end == startText) return std::nullopt;
    if (*end == '-') {
        const char* nsText = end + 1;
        parsed.pidNamespace = std::strtoull(nsText, &end, 10);
        if (end == nsText) return std::nullopt;
    }
    if (*end != '\0') return std::nullopt;
    return parsed;
}

// Whether the process of this name runs in our own pid namespace. A process
// of another namespace (a container or sandbox sharing TMPDIR) is invisible
// here: only its lock on the folder tells that it runs.
bool runsHere(const ProcessFolderName& name) {
    if (name.pidNamespace && *name.pidNamespace != pidNamespace()) return false;
    if (const auto running = startTime(name.pid)) return *running == name.start;
    // Without /proc only the number can tell.
    return !(::kill(static_cast<pid_t>(name.pid), 0) != 0 && errno == ESRCH);
}

// Removes a process folder and the files in it, without following links:
// the folder holds only the engine's flat temporary files.
void removeProcessFolder(int parentFd, const char* name) {
    const int fd = ::openat(parentFd, name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0) return;
    struct stat st {};
    if (::fstat(fd, &st) != 0 || st.st_uid != ::getuid()) {
        ::close(fd);
        return;
    }
    for (const auto& n : namesIn(fd, [](const char*) { return true; })) ::unlinkat(fd, n.c_str(), 0);
    ::close(fd);
    ::unlinkat(parentFd, name, AT_REMOVEDIR);
}

// A process folder is left over when its process does not run here and no
// process anywhere holds its lock (the lock every process takes on the folder
// it makes, for its whole life). The lock is then held while the folder goes,
// so a process that has just made the folder and not yet locked it finds it
// gone and makes it again.
void removeLeftOvers(const std::string& userFolder) {
    const int fd = ::open(userFolder.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0) return;
    const auto candidates = namesIn(fd, [](const char* entry) {
        const auto name = parseProcessFolderName(entry);
        return name && !runsHere(*name);
    });
    for (const auto& name : candidates) {
        const int held = ::openat(fd, name.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
        if (held < 0) continue;
        if (::flock(held, LOCK_EX | LOCK_NB) == 0) removeProcessFolder(fd, name.c_str());
        ::close(held);
    }
    ::close(fd);
}

// The folders this process made, removed at its end. Kept on the heap and
// never freed: the handler may run after static objects are gone.
struct MadeFolders {
    std::mutex mutex;
    std::vector<std::pair<long, std::string>> folders;  // owner pid, folder
};

MadeFolders& madeFolders() {
    static MadeFolders* made = new MadeFolders;
    return *made;
}

void removeMadeFolders() {
    MadeFolders& made = madeFolders();
    std::lock_guard lock(made.mutex);
    const long pid = static_cast<long>(::getpid());
    for (const auto& [owner, folder] : made.folders) {
        // A forked child inherits the list but not the folder.
        if (owner != pid) continue;
        const auto slash = folder.find_last_of('/', folder.size() - 2);
        const std::string parent = folder.substr(0, slash);
        const std::string name = folder.substr(slash + 1, folder.size() - slash - 2);
        const int fd = ::open(parent.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
        if (fd < 0) continue;
        removeProcessFolder(fd, name.c_str());
        ::close(fd);
    }
}

void rememberMade(const std::string& folder) {
    static std::once_flag registered;
    std::call_once(registered, [] { std::atexit(removeMadeFolders); });
    MadeFolders& made = madeFolders();
    std::lock_guard lock(made.mutex);
    made.folders.emplace_back(static_cast<long>(::getpid()), folder);
}

// Takes the lock that tells every other process, in any pid namespace, that
// the folder's process runs. The descriptor stays open for the process's
// life (never inherited across exec). False when a cleaner removed the
// folder between its making and the lock: it has to be made again.
bool holdForLife(const std::string& folder) {
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0) return false;
    while (::flock(fd, LOCK_EX) != 0 && errno == EINTR) {
    }
    struct stat st {};
    if (::fstat(fd, &st) != 0 || st.st_nlink == 0) {
        ::close(fd);
        return false;
    }
    return true;  // fd deliberately kept: the lock lives as long as the process
}

}  // namespace

Expected<std::string> userTempFolder() {
    const char* env = std::getenv("TMPDIR");
    std::string base = (env && *env) ? env : "/tmp";
    while (base.size() > 1 && base.back() == '/') base.pop_back();
    const std::string folder = base + "/corvane-" + std::to_string(::getuid());
    if (auto made = makePrivate(folder); !made) return makeError(made.error());
    return folder + "/";
}

Expected<std::string> privateTempFolder() {
    auto user = userTempFolder();
    if (!user) return user;
    const std::string folder = *user + processFolderName(static_cast<long>(::getpid()));
    for (int attempt = 0;; ++attempt) {
        auto made = makePrivate(folder);
        if (!made) return makeError(made.error());
        // A folder found in place was made by this process (the other copy
        // of this layer in it, or an earlier call): its name is unique to
        // the process, and its maker holds the lock.
        if (!*made) break;
        if (holdForLife(folder)) {
            rememberMade(folder + "/");
            removeLeftOvers(*user);
            break;
        }
        if (attempt == 10) return refused("Could not keep the temporary folder " + folder + ": it was removed at once.");
    }
    return folder + "/";
}

}  // namespace crv::platform
