#include "run_support.h"

#include <sys/stat.h>

#include <cstdio>
#include <filesystem>

#include "crv/common/conversions.h"
#include "crv/common/data_file_read.h"
#include "crv/common/file_system.h"
#include "crv/common/text_utils.h"

namespace crv::main::run::detail {

std::vector<std::string> readLines(const std::string& path) {
    auto lines = crv::platform::readTextLines(path);
    if (!lines) throw RunError("Cannot read " + path + ": " + lines.error());
    return std::move(*lines);
}

StagedFile::StagedFile(std::string target) : target_(std::move(target)) {
    staged_ = target_ + ".part";
    // Neither the target nor the staged file may be a link, FIFO, folder or
    // read-only file: refused here, naming it, before anything is written.
    if (auto ok = crv::platform::checkWritableTarget(target_); !ok) throw RunError(ok.error());
    auto opened = writer_.open(staged_);
    if (!opened) throw RunError("Cannot create " + target_ + ": " + opened.error());
}

StagedFile::~StagedFile() {
    if (!committed_) discard();
}

void StagedFile::writeLine(const std::string& line) { writer_.writeLine(line); }

void StagedFile::close() {
    if (closed_) return;
    closed_ = true;
    auto done = writer_.close();
    if (!done) throw RunError("Cannot write " + target_ + ": " + done.error());
}

void StagedFile::commit() {
    close();
    if (auto ok = crv::platform::checkWritableTarget(target_); !ok) throw RunError(ok.error());
    std::error_code ec;
    std::filesystem::rename(staged_, target_, ec);
    if (ec) throw RunError("Cannot write " + target_ + ": " + ec.message());
    committed_ = true;
}

void StagedFile::discard() {
    if (committed_) return;
    if (!closed_) {
        writer_.discard();
        closed_ = true;
    }
    crv::platform::removeFile(staged_);
}

std::string safeNamePart(const std::string& text) {
    std::string out = text;
    for (char& c : out)
        if (c == '/' || c == '\\' || c == '*' || c == '?' || static_cast<unsigned char>(c) < 32) c = '_';
    if (out == "." || out == "..") out = std::string(out.size(), '_');
    return out;
}

bool sameFile(const std::string& a, const std::string& b) {
    struct stat sa {}, sb {};
    if (::stat(a.c_str(), &sa) != 0 || ::stat(b.c_str(), &sb) != 0) return false;
    return sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino;
}

void copyFileReplacing(const std::string& from, const std::string& to) {
    if (sameFile(from, to)) throw RunError("A file cannot be copied onto itself: " + from);
    auto bytes = crv::platform::readRegularFile(from, crv::common::kCaseFileMaxBytes);
    if (!bytes) throw RunError("Cannot read " + from + ": " + bytes.error());
    if (auto copied = crv::platform::writeFileAtomic(to, *bytes); !copied) throw RunError(copied.error());
}

void removeAnyCase(const std::string& folder, const std::string& name) {
    for (const auto& e : crv::common::FindEntries(folder, name))
        if (!e.isFolder && e.name != name) crv::platform::removeFile(folder + e.name);
}

ProgressSteps::ProgressSteps(crv::common::ProgressDisplay& display, std::int32_t maximum, std::int32_t start,
                             const bool& cancelRequested)
    : display_(display), cancelRequested_(cancelRequested), position_(start) {
    display_.MaxValue(maximum);
    step_ = static_cast<std::int32_t>(crv::common::roundHalfEven(maximum / 20.0));
    if (step_ < 1) step_ = 1;
    next_ = step_;
}

bool ProgressSteps::advance() {
    ++position_;
    if (position_ >= next_) {
        display_.Value(position_);
        if (display_.Canceled() || cancelRequested_) return true;
        next_ += step_;
    }
    return false;
}

std::string printNumber(float value) {
    return (value < 0 ? "" : " ") + crv::common::formatGeneral(value) + " ";
}

std::string countText(long value) { return std::to_string(value); }

}  // namespace crv::main::run::detail
