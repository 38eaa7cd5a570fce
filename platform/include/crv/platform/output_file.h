#pragma once
// Opening files for writing. Every writer of the system (reports, plot files,
// search results, settings, case files, copies) opens through here, so that
// none of them waits forever on a FIFO, writes into a device, follows a link
// that someone else planted where a result belongs, or quietly replaces a file
// the user made read-only. Each refusal names the path and what stands there:
// "Could not create PATH: it is a symbolic link".
//
// Files that readers open while they are written, or that must never be seen
// half-written (results, settings, case files), are staged: written under a
// temporary name beside the target ("NAME.tmp<pid>_<n>") and renamed over it
// only when complete, so a reader sees the old file or the whole new one, and
// a process killed part-way leaves at most a temporary. A writer holds a lock
// on its temporary for as long as it writes; a temporary nobody holds belongs
// to a writer that is gone and is removed by removeStrayTemporaries.
#include <cstdio>
#include <string>
#include <string_view>

#include "crv/platform/expected.h"

namespace crv::platform {

enum class WriteMode {
    Truncate,  // in place, from the start (created when missing)
    Append,    // in place, after what the file holds (created when missing)
    Replace,   // staged: the new bytes replace the file at close()
    Extend,    // staged: the file's bytes, then the new ones, replace it at close()
};

// Whether a writer may put a file under PATH: nothing there, or a regular file
// that is not read-only. The error names the path and what stands there.
Expected<void> checkWritableTarget(const std::string& path, WriteMode mode = WriteMode::Replace);

// What stands at PATH when it is neither missing nor a regular file, as the
// messages name it ("it is a folder", "it is a FIFO", "it is a device", "it
// is a symbolic link", ...); empty otherwise.
std::string whatStandsAt(const std::string& path);

class OutputFile {
public:
    OutputFile() = default;
    // A file still open here was not finished: a staged one leaves its target
    // as it was; one written in place keeps what was written.
    ~OutputFile();
    OutputFile(OutputFile&& other) noexcept;
    OutputFile& operator=(OutputFile&& other) noexcept;
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;

    // Opens without ever blocking; refuses a link, folder, FIFO, device,
    // socket or read-only file at PATH.
    Expected<void> open(const std::string& path, WriteMode mode);
    bool isOpen() const { return file_ != nullptr; }
    std::FILE* get() const { return file_; }
    const std::string& path() const { return path_; }

    // Flushes and closes; a staged file is then renamed over its target.
    // With `sync` the bytes reach the disk before the rename (files a power
    // cut must not empty: settings, case files). A write error leaves the
    // target as it was.
    Expected<void> close(bool sync = false);
    // Closes without finishing: a staged temporary is removed and the target
    // stays as it was; a file written in place keeps what was written.
    void abandon();
    // Closes and deletes what was being written: the temporary and the file
    // under the target's name (a cancelled or failed writer leaves nothing).
    void discard();

private:
    std::FILE* file_ = nullptr;
    std::string path_;
    std::string staged_;  // the temporary; empty when written in place
};

// Removes from FOLDER the temporaries that staged writers of this user left
// when their process ended part-way (names "NAME.tmp<digits>_<digits>" that
// no live writer holds). `prefix` limits it to names beginning so, such as
// the target's own name. Never follows links; errors are ignored.
void removeStrayTemporaries(const std::string& folder, std::string_view prefix = {});

// Whether NAME is a staged writer's temporary ("NAME.tmp<digits>_<digits>").
bool isStagedTemporaryName(std::string_view name);

}  // namespace crv::platform
