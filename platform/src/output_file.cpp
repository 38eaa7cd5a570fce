#include "crv/platform/output_file.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <random>
#include <vector>

#include "file_kind.h"
#include "folder_listing.h"

namespace crv::platform {

namespace {

bool staged(WriteMode mode) { return mode == WriteMode::Replace || mode == WriteMode::Extend; }

std::string verb(WriteMode mode) {
    return mode == WriteMode::Append || mode == WriteMode::Extend ? "Could not append to " : "Could not create ";
}

Error refusal(WriteMode mode, const std::string& path, const std::string& reason) {
    return makeError(verb(mode) + path + ": " + reason);
}

// What an open for writing that failed ran into, in words a user can act on.
std::string openFailure(int error) {
    switch (error) {
        case ELOOP: return describeFileKind(S_IFLNK);  // O_NOFOLLOW met a link
        case ENXIO: return describeFileKind(S_IFIFO);  // a FIFO nobody reads
        case EISDIR: return describeFileKind(S_IFDIR);
        default: return std::strerror(error);
    }
}

unsigned temporaryNumber() {
    static thread_local std::mt19937 numbers{std::random_device{}()};
    return numbers() & 0xffffff;
}

// Creates the temporary beside PATH exclusively (never through a link) and
// holds its lock. A cleaner that found the new name before the lock was
// taken may have removed it: then another name is made.
Expected<int> createTemporary(const std::string& path, WriteMode mode, std::string& temporary) {
    for (int attempt = 0; attempt < 100; ++attempt) {
        temporary = path + ".tmp" + std::to_string(::getpid()) + "_" + std::to_string(temporaryNumber());
        const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_NOCTTY | O_CLOEXEC, 0666);
        if (fd < 0) {
            if (errno == EEXIST) continue;
            const int error = errno;
            temporary.clear();
            return refusal(mode, path, std::strerror(error));
        }
        // A file system without locks leaves the temporary unlocked; the
        // cleaner cannot lock it there either, so it is never taken for a
        // stray.
        while (::flock(fd, LOCK_EX) != 0 && errno == EINTR) {
        }
        struct stat st {};
        if (::fstat(fd, &st) == 0 && st.st_nlink == 0) {
            ::close(fd);
            continue;
        }
        return fd;
    }
    temporary.clear();
    return refusal(mode, path, "no free temporary name beside it");
}

// Copies the target's bytes into the temporary (an appending writer that
// must leave the target whole until it is done).
Expected<void> copyTarget(const std::string& path, int to) {
    const int from = ::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (from < 0) {
        if (errno == ENOENT) return {};
        return refusal(WriteMode::Extend, path, openFailure(errno));
    }
    if (auto kind = regularFileCheck(from); !kind) {
        ::close(from);
        return refusal(WriteMode::Extend, path, kind.error());
    }
    char buffer[65536];
    for (;;) {
        const ssize_t n = ::read(from, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            const int error = errno;
            ::close(from);
            return makeError("Could not read " + path + ": " + std::strerror(error));
        }
        if (n == 0) break;
        for (ssize_t done = 0; done < n;) {
            const ssize_t w = ::write(to, buffer + done, static_cast<std::size_t>(n - done));
            if (w < 0 && errno == EINTR) continue;
            if (w < 0) {
                const int error = errno;
                ::close(from);
                return makeError("Could not write " + path + ": " + std::strerror(error));
            }
            done += w;
        }
    }
    ::close(from);
    return {};
}

}  // namespace

Expected<void> checkWritableTarget(const std::string& path, WriteMode mode) {
    struct stat st {};
    if (::lstat(path.c_str(), &st) != 0) {
        if (errno == ENOENT) return {};
        return refusal(mode, path, std::strerror(errno));
    }
    if (!S_ISREG(st.st_mode)) return refusal(mode, path, describeFileKind(st.st_mode));
    // Read-only as the user set it (no write permission for anyone), or not
    // writable by this user: replacing it by renaming would pass over both.
    if ((st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0) return refusal(mode, path, "it is read-only");
    if (::faccessat(AT_FDCWD, path.c_str(), W_OK, AT_EACCESS) != 0) return refusal(mode, path, std::strerror(errno));
    return {};
}

std::string whatStandsAt(const std::string& path) {
    struct stat st {};
    if (::lstat(path.c_str(), &st) != 0 || S_ISREG(st.st_mode)) return {};
    return describeFileKind(st.st_mode);
}

OutputFile::~OutputFile() { abandon(); }

OutputFile::OutputFile(OutputFile&& other) noexcept
    : file_(other.file_), path_(std::move(other.path_)), staged_(std::move(other.staged_)) {
    other.file_ = nullptr;
}

OutputFile& OutputFile::operator=(OutputFile&& other) noexcept {
    if (this != &other) {
        abandon();
        file_ = other.file_;
        path_ = std::move(other.path_);
        staged_ = std::move(other.staged_);
        other.file_ = nullptr;
    }
    return *this;
}

Expected<void> OutputFile::open(const std::string& path, WriteMode mode) {
    abandon();
    path_ = path;
    staged_.clear();
    if (auto ok = checkWritableTarget(path, mode); !ok) return ok;

    if (!staged(mode)) {
        // O_NONBLOCK: a FIFO that slipped in after the check fails at once
        // (ENXIO) instead of waiting for a reader; O_NOFOLLOW: so does a link.
        const int flags = O_WRONLY | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC |
                          (mode == WriteMode::Append ? O_APPEND : O_TRUNC);
        const int fd = ::open(path.c_str(), flags, 0666);
        if (fd < 0) return refusal(mode, path, openFailure(errno));
        if (auto kind = regularFileCheck(fd); !kind) {
            ::close(fd);
            return refusal(mode, path, kind.error());
        }
        const int fl = ::fcntl(fd, F_GETFL);
        if (fl >= 0) ::fcntl(fd, F_SETFL, fl & ~O_NONBLOCK);
        file_ = ::fdopen(fd, mode == WriteMode::Append ? "ab" : "wb");
        if (!file_) {
            const int error = errno;
            ::close(fd);
            return refusal(mode, path, std::strerror(error));
        }
        return {};
    }

    auto fd = createTemporary(path, mode, staged_);
    if (!fd) return makeError(fd.error());
    auto fail = [&](const std::string& message) {
        ::unlink(staged_.c_str());
        ::close(*fd);
        staged_.clear();
        return makeError(message);
    };
    // The replacement keeps the permissions of the file it replaces.
    struct stat st {};
    if (::lstat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode)) ::fchmod(*fd, st.st_mode & 07777);
    if (mode == WriteMode::Extend)
        if (auto copied = copyTarget(path, *fd); !copied) return fail(copied.error());
    file_ = ::fdopen(*fd, "wb");
    if (!file_) return fail(refusal(mode, path, std::strerror(errno)).message);
    return {};
}

Expected<void> OutputFile::close(bool sync) {
    if (!file_) return {};
    std::FILE* f = file_;
    file_ = nullptr;
    errno = 0;
    bool ok = std::fflush(f) == 0 && !std::ferror(f);
    int error = errno ? errno : EIO;
    if (ok && sync && ::fsync(::fileno(f)) != 0) {
        ok = false;
        error = errno;
    }
    std::string message;
    if (!ok) message = "Could not write " + path_ + ": " + std::strerror(error);
    if (!staged_.empty()) {
        // Renamed while the lock is still held, so no cleaner ever finds the
        // finished file unlocked under its temporary name.
        if (ok && std::rename(staged_.c_str(), path_.c_str()) != 0) {
            ok = false;
            message = "Could not replace " + path_ + ": " + std::strerror(errno);
        }
        if (!ok) ::unlink(staged_.c_str());
        staged_.clear();
    }
    if (std::fclose(f) != 0 && ok) {
        ok = false;
        message = "Could not write " + path_ + ": " + std::strerror(errno);
    }
    if (!ok) return makeError(message);
    return {};
}

void OutputFile::abandon() {
    if (!file_) return;
    if (!staged_.empty()) ::unlink(staged_.c_str());
    std::fclose(file_);
    file_ = nullptr;
    staged_.clear();
}

void OutputFile::discard() {
    if (!file_) return;
    abandon();
    if (!path_.empty()) ::unlink(path_.c_str());
}

bool isStagedTemporaryName(std::string_view name) {
    const auto at = name.rfind(".tmp");
    if (at == std::string_view::npos || at == 0) return false;
    std::string_view rest = name.substr(at + 4);
    const auto underscore = rest.find('_');
    if (underscore == std::string_view::npos || underscore == 0 || underscore + 1 == rest.size()) return false;
    for (std::size_t i = 0; i < rest.size(); ++i)
        if (i != underscore && (rest[i] < '0' || rest[i] > '9')) return false;
    return true;
}

void removeStrayTemporaries(const std::string& folder, std::string_view prefix) {
    const int dirFd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dirFd < 0) return;
    const auto names = namesIn(dirFd, [&](std::string_view name) {
        return name.substr(0, prefix.size()) == prefix && isStagedTemporaryName(name);
    });
    for (const std::string& name : names) {
        const int fd = ::openat(dirFd, name.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
        if (fd < 0) continue;
        struct stat held {}, now {};
        // Only this user's regular files whose writer no longer holds them;
        // the name must still be that file when it is removed.
        if (::fstat(fd, &held) == 0 && S_ISREG(held.st_mode) && held.st_uid == ::geteuid() &&
            ::flock(fd, LOCK_EX | LOCK_NB) == 0 &&
            ::fstatat(dirFd, name.c_str(), &now, AT_SYMLINK_NOFOLLOW) == 0 && now.st_dev == held.st_dev &&
            now.st_ino == held.st_ino)
            ::unlinkat(dirFd, name.c_str(), 0);
        ::close(fd);
    }
    ::close(dirFd);
}

}  // namespace crv::platform
