#pragma once
// Text files as the data files hold them: bytes in fixed columns, Windows-1252,
// lines ending in CR LF (LF alone is accepted when reading). A trailing CR never
// reaches a parser. Writers always end lines in CR LF.
#include <cstdio>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "crv/platform/expected.h"
#include "crv/platform/output_file.h"

namespace crv::platform {

// Opens a file for reading only when it is a regular file: a folder, FIFO,
// device or socket (directly or behind a link) is refused with
// "Could not open PATH: not a regular file" and never blocks or streams
// forever. Every reader of user or data files opens through this.
struct FileCloser {
    void operator()(std::FILE* f) const;
};
using FilePtr = std::unique_ptr<std::FILE, FileCloser>;
Expected<FilePtr> openRegularFile(const std::string& path);

// The whole regular file, at most `maxBytes` long; a larger file is refused
// with "Could not read PATH: larger than N bytes", a read error with
// "Could not read PATH: reason".
Expected<std::string> readRegularFile(const std::string& path, std::size_t maxBytes);

// Reads one line into `line` without its ending; false at the end of the file.
class LineReader {
public:
    LineReader() = default;
    Expected<void> open(const std::string& path);
    bool isOpen() const { return file_ != nullptr; }
    // False at the end of the file and on a read error or an over-long line;
    // failed() and error() tell the two apart.
    bool next(std::string& line);
    bool failed() const { return !error_.empty(); }
    const std::string& error() const { return error_; }
    // The error without "Could not read PATH: ", for readers that name the
    // file in their own words.
    const std::string& reason() const { return reason_; }
    // Longest line accepted; a longer one stops the reader with an error
    // naming the file and the line.
    void setMaxLineLength(std::size_t n) { maxLine_ = n; }
    // Lines returned so far (1-based number of the last line read).
    long lineNumber() const { return lineNumber_; }
    void close();

private:
    FilePtr file_;
    std::string path_;
    std::string error_;
    std::string reason_;
    std::size_t maxLine_ = 1 << 20;
    long lineNumber_ = 0;
};

// The whole file as lines; a read error or an over-long line is an error.
Expected<std::vector<std::string>> readTextLines(const std::string& path);

// Writes a file by writing a temporary file in the same folder and renaming it
// over the target, so the target is either the old file or the whole new one.
// The target must be absent or a regular file that is not read-only (a link,
// FIFO or folder in its place is refused naming it); its permissions are
// kept. Temporaries of this name that a killed writer left are removed first.
Expected<void> writeFileAtomic(const std::string& path, std::string_view bytes);
// The lines, each ended in CR LF, written atomically.
Expected<void> writeTextLinesAtomic(const std::string& path, const std::vector<std::string>& lines);

// A sequential text writer for long outputs (reports): each line ends in CR LF.
// Errors are sticky and reported by close(). It opens through OutputFile, so
// a link, FIFO, folder, device or read-only file at the path is refused; in
// the staged modes the file appears under its name only when close() succeeds.
class TextWriter {
public:
    TextWriter() = default;
    Expected<void> open(const std::string& path, WriteMode mode = WriteMode::Truncate);
    bool isOpen() const { return file_.isOpen(); }
    void writeLine(std::string_view line);
    void writeRaw(std::string_view bytes);
    Expected<void> close();
    // Closes and deletes a file still being written (a cancelled or failed
    // writer leaves nothing); a file already closed and kept stays.
    void discard();
    const std::string& path() const { return path_; }

private:
    OutputFile file_;
    std::string path_;
    bool failed_ = false;
    std::string reason_;  // of the first failed write
};

bool fileExists(const std::string& path);
bool removeFile(const std::string& path);

}  // namespace crv::platform
