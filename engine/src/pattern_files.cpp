#include "pattern_files.h"

#include <cmath>
#include <optional>
#include <vector>

#include "crv/platform/numbers.h"
#include "crv/platform/text_file.h"
#include "failure.h"
#include "file_units.h"
#include "fixed_text.h"

namespace crv::engine {

namespace {

using crv::platform::LineReader;

const char* kindName(PatternKind kind) {
    switch (kind) {
        case PatternKind::Localizer: return "localizer pattern file";
        case PatternKind::FmHorizontal: return "FM horizontal pattern file";
        case PatternKind::FmVertical: return "FM vertical pattern file";
    }
    return "pattern file";
}

// Free-format numbers of one line; fails on anything that is not a number.
std::vector<double> numbers(std::string_view line, long lineNumber, const std::string& what, const std::string& path,
                            std::string_view routine) {
    std::vector<double> out;
    for (auto field : crv::platform::splitFreeFormat(line)) {
        auto v = crv::platform::parseReal(field);
        if (!v || !std::isfinite(*v))
            fail(routine, "Could not read the number \"" + std::string(field.substr(0, 20)) + "\" in line " +
                              std::to_string(lineNumber) + " of " + what + ":\r" + path);
        out.push_back(*v);
    }
    return out;
}

[[noreturn]] void endsEarly(const std::string& what, const std::string& detail, const std::string& path,
                            std::string_view routine) {
    fail(routine, "The " + what + " ends early (" + detail + "):\r" + path);
}

// The next line, or the failure that says why there is none: a read error
// or an over-long line is not the end of the file.
bool nextLine(LineReader& in, std::string& line, const std::string& what, const std::string& path,
              std::string_view routine) {
    if (in.next(line)) return true;
    if (in.failed()) fail(routine, "Could not read " + what + " (" + in.reason() + "):\r" + path);
    return false;
}

// A pattern or calibration line is a description or a few numbers.
constexpr std::size_t kMaxLine = 256;

bool isBlank(std::string_view line) { return crv::platform::trimBlanks(line).empty(); }

}  // namespace

double readPatternFile(const std::string& path, PatternKind kind, Pattern& pattern, std::string_view routine) {
    const std::string what = kindName(kind);
    FileUnit unit(routine);
    LineReader in;
    if (!in.open(path)) {
        const char* message = kind == PatternKind::Localizer      ? "Could not open localizer pattern file:"
                              : kind == PatternKind::FmHorizontal ? "Could not open FM horizontal pattern file:"
                                                                  : "Could not open FM vertical pattern file:";
        fail(routine, std::string(message) + "\r" + path);
    }
    in.setMaxLineLength(kMaxLine);
    Pattern read;
    std::string line;
    if (!nextLine(in, line, what, path, routine)) endsEarly(what, "no description line", path, routine);
    read.description = trimRightCopy(crv::platform::columns(line, 1, 25));

    if (!nextLine(in, line, what, path, routine)) endsEarly(what, "no kind and scale line", path, routine);
    const auto head = numbers(line, in.lineNumber(), what, path, routine);
    const std::size_t needed = kind == PatternKind::Localizer ? 3 : 2;
    if (head.size() < needed)
        fail(routine, "Line 2 of the " + what + " needs the kind, the scale" +
                          (kind == PatternKind::Localizer ? std::string(" and the gain") : std::string()) + ":\r" +
                          path);
    const bool decibels = head[1] == 1.0;
    const double gain = kind == PatternKind::Localizer ? head[2] : 0.0;

    for (std::size_t k = 0; k < 37; ++k) {
        if (!nextLine(in, line, what, path, routine)) endsEarly(what, "fewer than 37 points", path, routine);
        const auto point = numbers(line, in.lineNumber(), what, path, routine);
        if (point.size() < 2)
            fail(routine, "Line " + std::to_string(in.lineNumber()) + " of the " + what +
                              " needs an angle and a value:\r" + path);
        // The angle is implied by the line's position; only the value counts.
        read.values[k] = decibels ? std::pow(10.0, point[1] / 20.0) : point[1] / 100.0;
        // A decibel value of a few hundred already overflows the ratio.
        if (!std::isfinite(read.values[k]))
            fail(routine, "The value \"" + std::string(crv::platform::splitFreeFormat(line)[1].substr(0, 20)) +
                              "\" in line " + std::to_string(in.lineNumber()) + " of " + what +
                              " is out of range:\r" + path);
    }
    read.loaded = true;
    pattern = read;
    return gain;
}

void readAntennaCalibration(const std::string& path, std::vector<std::pair<double, double>>& table,
                            std::string_view routine) {
    const std::string what = "calibration file";
    FileUnit unit(routine);
    LineReader in;
    if (!in.open(path)) fail(routine, "Could not open calibration file:\r" + path);
    in.setMaxLineLength(kMaxLine);
    std::string line;
    if (!nextLine(in, line, what, path, routine) || !nextLine(in, line, what, path, routine)) endsEarly(what, "no heading lines", path, routine);
    std::vector<std::pair<double, double>> read;
    while (read.size() < 100 && nextLine(in, line, what, path, routine)) {
        if (isBlank(line)) continue;  // an empty line left at the end by an editor
        const auto pair = numbers(line, in.lineNumber(), what, path, routine);
        if (pair.size() < 2)
            fail(routine, "Line " + std::to_string(in.lineNumber()) +
                              " of the calibration file needs a frequency and a value:\r" + path);
        read.emplace_back(pair[0], pair[1]);
    }
    table = std::move(read);
}

void readReceiverCalibration(const std::string& path, std::array<double, 12>& table, std::string_view routine) {
    const std::string what = "calibration file";
    FileUnit unit(routine);
    LineReader in;
    if (!in.open(path)) fail(routine, "Could not open calibration file:\r" + path);
    in.setMaxLineLength(kMaxLine);
    std::string line;
    if (!nextLine(in, line, what, path, routine) || !nextLine(in, line, what, path, routine)) endsEarly(what, "no heading lines", path, routine);
    std::array<double, 12> read{};
    for (std::size_t k = 1; k <= 11; ++k) {
        if (!nextLine(in, line, what, path, routine)) endsEarly(what, "fewer than 11 receiver levels", path, routine);
        const auto values = numbers(line, in.lineNumber(), what, path, routine);
        if (values.empty())
            fail(routine, "Line " + std::to_string(in.lineNumber()) + " of the calibration file holds no number:\r" +
                              path);
        // The calibration editor writes the receiver level, then the threshold.
        read[k] = values.size() >= 2 ? values[1] : values[0];
    }
    table = read;
}

}  // namespace crv::engine
