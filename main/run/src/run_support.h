#pragma once
// Small helpers of the run controller's procedures: line files, progress
// steps and the names of the files it writes.
#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

#include "crv/common/progress_display.h"
#include "crv/platform/text_file.h"

namespace crv::main::run::detail {

// A failure the procedure reports through the unexpected-error box.
class RunError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

inline constexpr char kCR = '\r';
inline constexpr const char* kVersionLine = "CRV Version 5.0.6";

// Every line of a text file (CR LF or LF); throws RunError when it cannot be read.
std::vector<std::string> readLines(const std::string& path);

// A text file written line by line (CR LF); throws RunError when it cannot be
// created or written. Until commit() it is a temporary file beside the
// target; discard (or destruction without commit) deletes it, so a cancelled
// writer never touches a file already under the target's name.
class StagedFile {
public:
    explicit StagedFile(std::string target);
    ~StagedFile();
    StagedFile(const StagedFile&) = delete;
    StagedFile& operator=(const StagedFile&) = delete;

    void writeLine(const std::string& line);
    // Closes the temporary file and checks that everything was written.
    void close();
    // Moves the closed file to its target name (replacing what is there).
    void commit();
    void discard();
    const std::string& target() const { return target_; }
    const std::string& stagedPath() const { return staged_; }

private:
    std::string target_;
    std::string staged_;
    crv::platform::TextWriter writer_;
    bool closed_ = false;
    bool committed_ = false;
};

// A name part taken from a data field, safe inside a file name: "/" and
// control characters (and the wildcards "*", "?") become "_"; blanks stay.
std::string safeNamePart(const std::string& text);

// True when both paths name the same existing file.
bool sameFile(const std::string& a, const std::string& b);

// Copies a file byte for byte through a temporary file, replacing the
// target; refuses a copy onto itself. Throws RunError.
void copyFileReplacing(const std::string& from, const std::string& to);

// Removes every file of `folder` spelled like `name` without regard to letter
// case, so the file written next has the one canonical spelling.
void removeAnyCase(const std::string& folder, const std::string& name);

// The progress of a writer: the bar's maximum, a step of about a twentieth
// of it, and the check for Cancel at each step.
class ProgressSteps {
public:
    ProgressSteps(crv::common::ProgressDisplay& display, std::int32_t maximum, std::int32_t start,
                  const bool& cancelRequested);
    // One unit of work; true when the user asked to cancel.
    bool advance();
    void skip(std::int32_t units) { position_ += units; }

private:
    crv::common::ProgressDisplay& display_;
    const bool& cancelRequested_;
    std::int32_t step_;
    std::int32_t position_;
    std::int32_t next_;
};

// A number as a print statement writes it: a blank for the sign, the value in
// its shortest form and one blank (30 gives " 30 ").
std::string printNumber(float value);

// The decimal text of a count ("One ..." texts are the caller's).
std::string countText(long value);

}  // namespace crv::main::run::detail
