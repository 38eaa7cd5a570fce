#pragma once
// What stands at a path that is not a regular file, as the messages of the
// readers and writers name it.
#include <sys/stat.h>

#include <cerrno>
#include <cstring>
#include <string>

#include "crv/platform/expected.h"

namespace crv::platform {

inline std::string describeFileKind(mode_t mode) {
    if (S_ISLNK(mode)) return "it is a symbolic link";
    if (S_ISDIR(mode)) return "it is a folder";
    if (S_ISFIFO(mode)) return "it is a FIFO";
    if (S_ISCHR(mode) || S_ISBLK(mode)) return "it is a device";
    if (S_ISSOCK(mode)) return "it is a socket";
    return "not a regular file";
}

// The open descriptor is a regular file; otherwise the error says what it is.
inline Expected<void> regularFileCheck(int fd) {
    struct stat st {};
    if (::fstat(fd, &st) != 0) return makeError(std::strerror(errno));
    if (!S_ISREG(st.st_mode)) return makeError(describeFileKind(st.st_mode));
    return {};
}

}  // namespace crv::platform
