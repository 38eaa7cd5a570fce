#pragma once
// Files a reader must refuse without waiting or streaming: a folder, a FIFO
// with no writer, a link to an endless device and a link to a file the system
// lists as regular but cannot read. Each case names the start of the message
// the reader must give for it.
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

namespace crv::test_files {

struct SpecialFile {
    const char* what;
    // Makes the special file at `path`; false when the system cannot (the
    // case is then skipped).
    bool (*make)(const std::string& path);
    // The message begins with this followed by the path.
    const char* verb;
};

inline bool makeFolder(const std::string& path) { return std::filesystem::create_directory(path); }
inline bool makeFifo(const std::string& path) { return ::mkfifo(path.c_str(), 0600) == 0; }
inline bool linkDevZero(const std::string& path) { return ::symlink("/dev/zero", path.c_str()) == 0; }
// Listed as a regular file, but every read at its start fails.
inline bool linkProcMem(const std::string& path) {
    return ::access("/proc/self/mem", R_OK) == 0 && ::symlink("/proc/self/mem", path.c_str()) == 0;
}

inline const std::vector<SpecialFile>& specialFiles() {
    static const std::vector<SpecialFile> cases{
        {"folder", makeFolder, "Could not open "},
        {"FIFO", makeFifo, "Could not open "},
        {"link to /dev/zero", linkDevZero, "Could not open "},
        {"unreadable (link to /proc/self/mem)", linkProcMem, "Could not read "},
    };
    return cases;
}

// Removes whatever special file is at `path`.
inline void removeSpecial(const std::string& path) {
    std::error_code ec;
    std::filesystem::remove_all(path, ec);
}

}  // namespace crv::test_files
