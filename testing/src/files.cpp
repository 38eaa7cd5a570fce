#include "crv/testing/files.h"

#include <sys/stat.h>
#include <unistd.h>

#include <csignal>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <vector>

#include <gtest/gtest.h>

namespace crv::testing {

namespace fs = std::filesystem;

std::string readBytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

void writeBytes(const fs::path& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
    out.close();
    if (!out) throw std::runtime_error("cannot write the test file " + path.string());
}

void writeLines(const fs::path& path, const std::vector<std::string>& lines) {
    std::string bytes;
    for (const auto& line : lines) bytes += line + "\r\n";
    writeBytes(path, bytes);
}

bool existsAt(const fs::path& path) {
    struct stat st {};
    return ::lstat(path.c_str(), &st) == 0;
}

std::string scratchFolder(const std::string& name) {
    // Only the process that made them removes them: a forked child that
    // ends through exit() leaves its parent's folders alone.
    struct Folders {
        std::vector<fs::path> made;
        pid_t owner = ::getpid();
        ~Folders() {
            if (::getpid() != owner) return;
            std::error_code ec;
            for (const auto& dir : made) fs::remove_all(dir, ec);
        }
    };
    static Folders folders;
    const auto dir = fs::path(::testing::TempDir()) / ("crv-" + std::to_string(::getpid()) + "-" + name);
    fs::remove_all(dir);
    fs::create_directories(dir);
    folders.made.push_back(dir);
    return dir.string() + "/";
}

ScratchFolder::ScratchFolder(const std::string& prefix) {
    std::string pattern = (fs::path(::testing::TempDir()) / (prefix + "-XXXXXX")).string();
    if (!::mkdtemp(pattern.data())) throw std::runtime_error("cannot make a scratch folder from " + pattern);
    path_ = pattern + "/";
}

ScratchFolder::~ScratchFolder() {
    std::error_code ec;
    // Tests take permissions away to provoke errors: give them back first,
    // or the folder could not be emptied.
    for (auto it = fs::recursive_directory_iterator(path_, fs::directory_options::skip_permission_denied, ec);
         !ec && it != fs::recursive_directory_iterator(); it.increment(ec))
        if (it->is_directory(ec) && !it->is_symlink(ec))
            fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, ec);
    fs::permissions(path_, fs::perms::owner_all, fs::perm_options::add, ec);
    fs::remove_all(path_, ec);
}

ScopedFileSizeLimit::ScopedFileSizeLimit(rlim_t bytes) {
    ::getrlimit(RLIMIT_FSIZE, &old_);
    previous_ = std::signal(SIGXFSZ, SIG_IGN);
    struct rlimit small = old_;
    small.rlim_cur = bytes;
    ::setrlimit(RLIMIT_FSIZE, &small);
}

ScopedFileSizeLimit::~ScopedFileSizeLimit() {
    ::setrlimit(RLIMIT_FSIZE, &old_);
    std::signal(SIGXFSZ, previous_);
}

}  // namespace crv::testing
