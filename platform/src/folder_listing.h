#pragma once
// The names in an open folder, for the clean-ups that look through one.
#include <dirent.h>
#include <unistd.h>

#include <cstring>
#include <string>
#include <vector>

namespace crv::platform {

// The names in the folder open as `dirFd` (which stays open and is not
// moved) that `keep` accepts; never "." or "..".
template <class Keep>
std::vector<std::string> namesIn(int dirFd, Keep keep) {
    std::vector<std::string> names;
    const int scanFd = ::dup(dirFd);
    DIR* dir = scanFd >= 0 ? ::fdopendir(scanFd) : nullptr;
    if (!dir) {
        if (scanFd >= 0) ::close(scanFd);
        return names;
    }
    while (const dirent* e = ::readdir(dir))
        if (std::strcmp(e->d_name, ".") != 0 && std::strcmp(e->d_name, "..") != 0 && keep(e->d_name))
            names.emplace_back(e->d_name);
    ::closedir(dir);
    return names;
}

}  // namespace crv::platform
