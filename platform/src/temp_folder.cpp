#include "crv/platform/temp_folder.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace crv::platform {

Expected<std::string> privateTempFolder() {
    const char* env = std::getenv("TMPDIR");
    std::string base = (env && *env) ? env : "/tmp";
    while (base.size() > 1 && base.back() == '/') base.pop_back();
    const uid_t uid = ::getuid();
    std::string folder = base + "/corvane-" + std::to_string(uid);

    if (::mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST)
        return makeError("Could not create the temporary folder " + folder + ": " + std::strerror(errno));

    struct stat st {};
    if (::lstat(folder.c_str(), &st) != 0)
        return makeError("Could not examine the temporary folder " + folder + ": " + std::strerror(errno));
    if (!S_ISDIR(st.st_mode))
        return makeError("The temporary folder " + folder + " is not a folder (a link or a file stands there).");
    if (st.st_uid != uid)
        return makeError("The temporary folder " + folder + " belongs to another user.");
    if ((st.st_mode & 0777) != 0700)
        return makeError("The temporary folder " + folder + " is open to other users (mode must be 0700).");
    return folder + "/";
}

}  // namespace crv::platform
