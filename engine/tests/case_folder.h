#pragma once
// Test helper: a private folder holding a settings file, a run folder with a
// case copy "Rfi.plt" and a user folder for pattern and calibration files.
// The settings file is made the engine's settings store for this process.
#include <stdlib.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "crv/testing/files.h"

namespace crv::engine::test {

using crv::testing::readBytes;
using crv::testing::writeBytes;

// The lines of a text file without their endings.
inline std::vector<std::string> splitLines(const std::string& bytes) {
    std::vector<std::string> lines;
    std::string cur;
    for (char c : bytes) {
        if (c == '\n') {
            if (!cur.empty() && cur.back() == '\r') cur.pop_back();
            lines.push_back(cur);
            cur.clear();
        } else {
            cur.push_back(c);
        }
    }
    if (!cur.empty()) lines.push_back(cur);
    return lines;
}

inline std::string joinLines(const std::vector<std::string>& lines, const char* eol = "\r\n") {
    std::string out;
    for (const auto& l : lines) out += l + eol;
    return out;
}

// Puts `text` right-aligned into columns first..last (1-based) of `line`.
inline std::string setColumns(std::string line, int first, int last, const std::string& text) {
    const auto width = static_cast<std::size_t>(last - first + 1);
    if (line.size() < static_cast<std::size_t>(last)) line.resize(static_cast<std::size_t>(last), ' ');
    std::string field = text.size() >= width ? text.substr(0, width) : std::string(width - text.size(), ' ') + text;
    line.replace(static_cast<std::size_t>(first - 1), width, field);
    return line;
}

class CaseFolder {
public:
    explicit CaseFolder(const std::string& edition = "SCI") {
        root = scratch_.path();
        run = root + "run/";
        user = root + "user/";
        std::filesystem::create_directories(run);
        std::filesystem::create_directories(user);
        setEdition(edition);
    }
    CaseFolder(const CaseFolder&) = delete;
    CaseFolder& operator=(const CaseFolder&) = delete;

    void setEdition(const std::string& edition) {
        writeBytes(root + "settings.ini", "[Paths]\nUser Folder=" + user + "\n[General]\nModel Type=" + edition + "\n");
        ::setenv("CORVANE_SETTINGS", (root + "settings.ini").c_str(), 1);
    }
    void writeCase(const std::vector<std::string>& lines, const char* eol = "\r\n") {
        writeBytes(run + "Rfi.plt", joinLines(lines, eol));
    }
    void writeUser(const std::string& name, const std::vector<std::string>& lines) {
        writeBytes(user + name, joinLines(lines));
    }

    std::string root, run, user;

private:
    crv::testing::ScratchFolder scratch_{"crv-case"};
};

// The two-station ILS case of the test data: navaid ILX, RF-source lines
// WAAA-FM (proponent, pattern 3), WIGN (ignored) and WCCC (element type 57).
inline std::vector<std::string> ilsCaseLines() {
    return splitLines(readBytes(std::string(CRV_TEST_DATA) + "ils_two_stations/Rfi.plt"));
}
// Line indexes in ilsCaseLines().
inline constexpr std::size_t kVersionLine = 0, kNavaidLine = 1, kFirstStation = 2, kIgnoredStation = 3,
                             kSecondStation = 4, kEndLine = 5, kOptionsLine = 6, kCaseLine = 7;

// A pattern file of 37 points with values given per point.
inline std::vector<std::string> patternLines(const std::string& description, const std::string& kindLine, double step,
                                             double (*value)(int)) {
    std::vector<std::string> lines = {description, kindLine};
    for (int k = 0; k < 37; ++k) {
        char buf[64];
        std::snprintf(buf, sizeof buf, "%6.1f %9.4f", k * step, value(k));
        lines.emplace_back(buf);
    }
    return lines;
}

// Percent values 100, 99, ..., 64: pattern point k has value (100 - k) %.
inline double descendingPercent(int k) { return 100.0 - k; }

}  // namespace crv::engine::test
