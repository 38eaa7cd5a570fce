#pragma once
// Whole files in and out, and folders of a test's own: the helpers every test
// that touches the file system shares.
#include <sys/resource.h>

#include <filesystem>
#include <string>
#include <vector>

namespace crv::testing {

// The file's bytes; empty when it is missing or cannot be read (the caller's
// comparison then fails and shows it).
std::string readBytes(const std::filesystem::path& path);

// Replaces the file with `bytes`. Throws std::runtime_error naming the file
// when it cannot be written, so a fixture that did not land fails the test
// at its cause.
void writeBytes(const std::filesystem::path& path, const std::string& bytes);

// Replaces the file with the lines, each ended with CR LF as the system's
// data files are; throws as writeBytes does.
void writeLines(const std::filesystem::path& path, const std::vector<std::string>& lines);

// True when something (a file, a folder, a link, even a dangling one) is at
// `path`.
bool existsAt(const std::filesystem::path& path);

// A folder of its own under the test's temporary area, emptied on creation;
// the path ends in "/". The process's number is part of the name, as tests
// run side by side in processes of their own. The folders are removed when
// the process ends.
std::string scratchFolder(const std::string& name);

// A fresh, uniquely named folder for the life of the object; path() ends in
// "/".
class ScratchFolder {
public:
    explicit ScratchFolder(const std::string& prefix = "crv");
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;
    const std::string& path() const { return path_; }
    std::string operator/(const std::string& name) const { return path_ + name; }

private:
    std::string path_;
};

// Files of this process may not grow past `bytes` while the object lives: a
// write beyond fails (EFBIG) as it would on a full disk, instead of ending
// the process.
class ScopedFileSizeLimit {
public:
    explicit ScopedFileSizeLimit(rlim_t bytes);
    ~ScopedFileSizeLimit();
    ScopedFileSizeLimit(const ScopedFileSizeLimit&) = delete;
    ScopedFileSizeLimit& operator=(const ScopedFileSizeLimit&) = delete;

private:
    struct rlimit old_ {};
    void (*previous_)(int) = nullptr;
};

}  // namespace crv::testing
