#pragma once
// An advisory lock on a folder, held for the life of the object: how one
// process tells the others that a folder is in use (a run folder while a
// simulation run writes it, a temporary folder while its process lives).
// Every process that can see the folder can test the lock, whatever its
// process numbers, and the lock goes when its holder ends, however it ends.
#include <string>

namespace crv::platform {

class FolderLock {
public:
    FolderLock() = default;
    ~FolderLock();
    FolderLock(FolderLock&& other) noexcept;
    FolderLock& operator=(FolderLock&& other) noexcept;
    FolderLock(const FolderLock&) = delete;
    FolderLock& operator=(const FolderLock&) = delete;

    // Takes the lock on FOLDER without waiting. False only when another
    // holder has it (another process, or another lock object in this one).
    // A folder that cannot be opened, or a file system without locks, leaves
    // this object unlocked and returns true: the work that follows meets the
    // real problem and reports it in its own words.
    bool tryLock(const std::string& folder);
    bool held() const { return fd_ >= 0; }
    void unlock();

private:
    int fd_ = -1;
};

}  // namespace crv::platform
