#include "report_file.h"

#include <cstdio>

#include "failure.h"

namespace crv::engine {

void ReportFile::open(const std::string& runFolder, bool append, std::string_view routine) {
    const std::string path = runFolder + "Rfi.txt";
    // Staged: the report under its name is always a whole one, the earlier
    // exports' sections included, never a part a process left when it died.
    const auto mode = append ? crv::platform::WriteMode::Extend : crv::platform::WriteMode::Replace;
    if (auto ok = writer_.open(path, mode); !ok) fail(routine, "Could not open report file:\r" + ok.error());
}

void ReportFile::create(const std::string& runFolder, std::string_view routine) { open(runFolder, false, routine); }
void ReportFile::append(const std::string& runFolder, std::string_view routine) { open(runFolder, true, routine); }

void ReportFile::discard() {
    writer_.discard();
    for (const auto& path : companions_) std::remove(path.c_str());
    companions_.clear();
}

void ReportFile::lines(const std::vector<std::string>& lines) {
    for (const auto& l : lines) writer_.writeLine(l);
}

void ReportFile::separator() {
    writer_.writeLine(" " + std::string(80, '_'));
    writer_.writeLine("");
}

void ReportFile::close(std::string_view routine) {
    const std::string path = writer_.path();
    if (auto ok = writer_.close(); !ok) {
        std::remove(path.c_str());
        fail(routine, "Could not write report file:\r" + path);
    }
}

}  // namespace crv::engine
