#include "crv/platform/text_file.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <random>

namespace crv::platform {

namespace {
std::string describeErrno(const std::string& what, const std::string& path) {
    return what + " " + path + ": " + std::strerror(errno);
}
}  // namespace

void LineReader::Closer::operator()(std::FILE* f) const {
    if (f) std::fclose(f);
}

Expected<void> LineReader::open(const std::string& path) {
    file_.reset(std::fopen(path.c_str(), "rb"));
    lineNumber_ = 0;
    if (!file_) return makeError(describeErrno("Could not open", path));
    return {};
}

bool LineReader::next(std::string& line) {
    line.clear();
    if (!file_) return false;
    int c;
    bool any = false;
    while ((c = std::getc(file_.get())) != EOF) {
        any = true;
        if (c == '\n') break;
        line.push_back(static_cast<char>(c));
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
    return lines;
}

Expected<void> writeFileAtomic(const std::string& path, std::string_view bytes) {
    // The temporary name is unique per call so two writers never share one.
    std::random_device rd;
    std::string tmp = path + ".tmp" + std::to_string(::getpid()) + "_" + std::to_string(rd() & 0xffffff);
    std::FILE* f = std::fopen(tmp.c_str(), "wb");
    if (!f) return makeError(describeErrno("Could not create", tmp));
    bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    ok = (std::fflush(f) == 0) && ok;
    ok = (::fsync(::fileno(f)) == 0) && ok;
    ok = (std::fclose(f) == 0) && ok;
    if (!ok) {
        std::remove(tmp.c_str());
        return makeError(describeErrno("Could not write", path));
    }
    // Keep the permissions of the file being replaced.
    struct stat st {};
    if (::stat(path.c_str(), &st) == 0) ::chmod(tmp.c_str(), st.st_mode & 07777);
    if (std::rename(tmp.c_str(), path.c_str()) != 0) {
        std::string msg = describeErrno("Could not replace", path);
        std::remove(tmp.c_str());
        return makeError(msg);
    }
    return {};
}

Expected<void> writeTextLinesAtomic(const std::string& path, const std::vector<std::string>& lines) {
    std::string bytes;
    for (const auto& line : lines) {
        bytes += line;
        bytes += "\r\n";
    }
    return writeFileAtomic(path, bytes);
}

void TextWriter::Closer::operator()(std::FILE* f) const {
    if (f) std::fclose(f);
}

Expected<void> TextWriter::open(const std::string& path, bool append) {
    path_ = path;
    failed_ = false;
    file_.reset(std::fopen(path.c_str(), append ? "ab" : "wb"));
    if (!file_) return makeError(describeErrno("Could not open", path));
    return {};
}

void TextWriter::writeLine(std::string_view line) {
    writeRaw(line);
    writeRaw("\r\n");
}

void TextWriter::writeRaw(std::string_view bytes) {
    if (!file_) {
        failed_ = true;
        return;
    }
    if (std::fwrite(bytes.data(), 1, bytes.size(), file_.get()) != bytes.size()) failed_ = true;
}

Expected<void> TextWriter::close() {
    if (!file_) return failed_ ? Expected<void>(makeError("Could not write " + path_)) : Expected<void>();
    bool ok = std::fclose(file_.release()) == 0 && !failed_;
    if (!ok) return makeError("Could not write " + path_);
    return {};
}

void TextWriter::discard() {
    // Only a file still being written is removed: once close() has kept it,
    // the file is finished and belongs to its reader.
    if (!file_) return;
    file_.reset();
    if (!path_.empty()) std::remove(path_.c_str());
}

bool fileExists(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

bool removeFile(const std::string& path) { return std::remove(path.c_str()) == 0; }

}  // namespace crv::platform
