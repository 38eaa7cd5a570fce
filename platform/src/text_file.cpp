#include "crv/platform/text_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstring>
#include <utility>

namespace crv::platform {

namespace {
std::string describeErrno(const std::string& what, const std::string& path) {
    return what + " " + path + ": " + std::strerror(errno);
}
}  // namespace

void FileCloser::operator()(std::FILE* f) const {
    if (f) std::fclose(f);
}

Expected<FilePtr> openRegularFile(const std::string& path) {
    // O_NONBLOCK keeps the open itself from waiting on a FIFO with no writer;
    // the type is then checked on the open descriptor, so a link swapped in
    // between cannot slip a device past the check.
    int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) return makeError(describeErrno("Could not open", path));
    struct stat st {};
    if (::fstat(fd, &st) != 0) {
        std::string msg = describeErrno("Could not open", path);
        ::close(fd);
        return makeError(msg);
    }
    if (!S_ISREG(st.st_mode)) {
        ::close(fd);
        return makeError("Could not open " + path + ": " +
                         (S_ISDIR(st.st_mode) ? "it is a folder" : "not a regular file"));
    }
    int flags = ::fcntl(fd, F_GETFL);
    if (flags >= 0) ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK);
    std::FILE* f = ::fdopen(fd, "rb");
    if (!f) {
        std::string msg = describeErrno("Could not open", path);
        ::close(fd);
        return makeError(msg);
    }
    return FilePtr(f);
}

Expected<std::string> readRegularFile(const std::string& path, std::size_t maxBytes) {
    auto file = openRegularFile(path);
    if (!file) return makeError(file.error());
    // A file past the bound is refused from its size, before a byte is read:
    // a damaged gigabyte must not be read (and held) to be called too large.
    // The read below stays bounded too, for a file that grows meanwhile.
    struct stat st {};
    if (::fstat(::fileno(file->get()), &st) == 0 && st.st_size > 0 &&
        static_cast<std::uint64_t>(st.st_size) > maxBytes)
        return makeError("Could not read " + path + ": larger than " + std::to_string(maxBytes) + " bytes");
    std::string bytes;
    if (st.st_size > 0) bytes.reserve(static_cast<std::size_t>(st.st_size));
    char buf[65536];
    for (;;) {
        std::size_t n = std::fread(buf, 1, sizeof buf, file->get());
        if (bytes.size() + n > maxBytes)
            return makeError("Could not read " + path + ": larger than " + std::to_string(maxBytes) + " bytes");
        bytes.append(buf, n);
        if (n < sizeof buf) break;
    }
    if (std::ferror(file->get())) return makeError(describeErrno("Could not read", path));
    return bytes;
}

Expected<void> LineReader::open(const std::string& path) {
    lineNumber_ = 0;
    error_.clear();
    reason_.clear();
    path_ = path;
    auto f = openRegularFile(path);
    if (!f) {
        file_.reset();
        return makeError(f.error());
    }
    file_ = std::move(*f);
    return {};
}

bool LineReader::next(std::string& line) {
    line.clear();
    if (!file_ || !error_.empty()) return false;
    int c;
    bool any = false;
    errno = 0;
    while ((c = std::getc(file_.get())) != EOF) {
        any = true;
        if (c == '\n') break;
        if (line.size() >= maxLine_) {
            reason_ = "line " + std::to_string(lineNumber_ + 1) + " is longer than " + std::to_string(maxLine_) +
                      " characters";
            error_ = "Could not read " + path_ + ": " + reason_;
            return false;
        }
        line.push_back(static_cast<char>(c));
    }
    if (c == EOF && std::ferror(file_.get())) {
        reason_ = std::strerror(errno ? errno : EIO);
        error_ = "Could not read " + path_ + ": " + reason_;
        return false;
    }
    if (!any) return false;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    ++lineNumber_;
    return true;
}

void LineReader::close() { file_.reset(); }

Expected<std::vector<std::string>> readTextLines(const std::string& path) {
    LineReader reader;
    if (auto r = reader.open(path); !r) return makeError(r.error());
    std::vector<std::string> lines;
    std::string line;
    while (reader.next(line)) lines.push_back(line);
    if (reader.failed()) return makeError(reader.error());
    return lines;
}

namespace {
// The folder part of a path ("" for a bare name) and the name itself.
std::pair<std::string, std::string> splitPath(const std::string& path) {
    const auto slash = path.find_last_of('/');
    if (slash == std::string::npos) return {"", path};
    return {path.substr(0, slash + 1), path.substr(slash + 1)};
}
}  // namespace

Expected<void> writeFileAtomic(const std::string& path, std::string_view bytes) {
    const auto [folder, name] = splitPath(path);
    removeStrayTemporaries(folder, name + ".tmp");
    OutputFile out;
    if (auto opened = out.open(path, WriteMode::Replace); !opened) return opened;
    if (std::fwrite(bytes.data(), 1, bytes.size(), out.get()) != bytes.size()) {
        const std::string message = describeErrno("Could not write", path);
        out.abandon();
        return makeError(message);
    }
    // Settings and case files must survive a power cut too: on disk before
    // the rename.
    return out.close(true);
}

Expected<void> writeTextLinesAtomic(const std::string& path, const std::vector<std::string>& lines) {
    std::string bytes;
    for (const auto& line : lines) {
        bytes += line;
        bytes += "\r\n";
    }
    return writeFileAtomic(path, bytes);
}

Expected<void> TextWriter::open(const std::string& path, WriteMode mode) {
    path_ = path;
    failed_ = false;
    reason_.clear();
    return file_.open(path, mode);
}

void TextWriter::writeLine(std::string_view line) {
    writeRaw(line);
    writeRaw("\r\n");
}

void TextWriter::writeRaw(std::string_view bytes) {
    if (!file_.isOpen()) {
        failed_ = true;
        return;
    }
    if (std::fwrite(bytes.data(), 1, bytes.size(), file_.get()) != bytes.size() && !failed_) {
        failed_ = true;
        reason_ = std::strerror(errno ? errno : EIO);
    }
}

Expected<void> TextWriter::close() {
    if (!file_.isOpen()) return failed_ ? Expected<void>(makeError("Could not write " + path_)) : Expected<void>();
    if (failed_) {
        file_.abandon();
        return makeError("Could not write " + path_ + ": " + reason_);
    }
    return file_.close();
}

void TextWriter::discard() {
    // Only a file still being written is removed: once close() has kept it,
    // the file is finished and belongs to its reader.
    file_.discard();
}

bool fileExists(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

bool removeFile(const std::string& path) { return std::remove(path.c_str()) == 0; }

}  // namespace crv::platform
