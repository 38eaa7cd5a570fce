#include "crv/platform/folder_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>

namespace crv::platform {

namespace {
int openFolder(const std::string& folder) {
    return ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
}
}  // namespace

FolderLock::~FolderLock() { unlock(); }

FolderLock::FolderLock(FolderLock&& other) noexcept : fd_(other.fd_) { other.fd_ = -1; }

FolderLock& FolderLock::operator=(FolderLock&& other) noexcept {
    if (this != &other) {
        unlock();
        fd_ = other.fd_;
        other.fd_ = -1;
    }
    return *this;
}

bool FolderLock::tryLock(const std::string& folder) {
    unlock();
    const int fd = openFolder(folder);
    if (fd < 0) return true;
    int rc;
    while ((rc = ::flock(fd, LOCK_EX | LOCK_NB)) != 0 && errno == EINTR) {
    }
    if (rc == 0) {
        fd_ = fd;
        return true;
    }
    const bool busy = errno == EWOULDBLOCK;
    ::close(fd);
    return !busy;
}

void FolderLock::unlock() {
    if (fd_ < 0) return;
    ::close(fd_);  // closing the only descriptor of the lock releases it
    fd_ = -1;
}

}  // namespace crv::platform
