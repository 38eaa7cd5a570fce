#pragma once
// Pattern plot files (".ptx"): a text table of an antenna pattern that the
// plot viewer draws. Line 1 is four blanks, a caption ending in two blanks and
// the description; line 2 is empty or, for a localizer, four blanks, "Gain:  ",
// the gain and " dBi"; lines 3 to 6 are free; then one line per angle: the
// angle, the relative signal in percent and in dB. Lines end in CR LF. Two
// writers put them down, each in its own rows:
//  - the engine, for the patterns a case uses (Report): lines 3 to 6 an empty
//    line, two column captions and an empty line; each row a blank, the angle
//    (15 columns, 1 decimal), percent (18, 2) and dB (19, 2) as the report
//    prints F fields;
//  - the pattern editor's Plot command (Editor): four empty lines; each row
//    the angle (16 columns, 1 decimal), percent (17, 2) and dB (18, 2) as
//    FormatField writes them.
#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace crv::formats {

// At most this many points: a full turn at one degree.
inline constexpr int kMaxPatternPoints = 361;

struct PatternRow {
    double angleDeg = 0;
    double percent = 0;  // relative field strength, 100 x 10^(dB/20)
    double db = 0;
};

enum class PatternPlotStyle { Report, Editor };

struct PatternPlot {
    PatternPlotStyle style = PatternPlotStyle::Report;
    // Line 1 after its four blanks: a caption ending in two blanks, then the
    // description at the width its kind uses.
    std::string caption;
    std::string description;
    std::optional<double> gainDbi;  // localizer patterns only
    std::vector<PatternRow> rows;
};

// A row from the dB value at an angle.
PatternRow patternRow(double angleDeg, double db);

// The file's lines without their endings.
std::vector<std::string> patternPlotLines(const PatternPlot& plot);

// What a pattern plot file holds, as the viewer takes it: the two titles
// (columns 5 to 79 of lines 1 and 2), the description and gain the writers
// put in them, and every data line from line 7 on (numbers separated by
// blanks or commas; blank lines are skipped).
struct PatternPlotData {
    std::string title1, title2;
    PatternPlotStyle style = PatternPlotStyle::Report;  // Report when line 4 holds the column captions
    std::string caption;       // line 1 after its four blanks, through the two blanks after ":"
    std::string description;   // line 1 after the caption, as it stands
    std::optional<double> gainDbi;
    std::vector<PatternRow> rows;
};

// Reads the file whole, no larger than kPatternPlotFileMaxBytes. nullopt with
// `error` naming the file when it cannot be read, has fewer than the six
// heading lines, a data line is not three finite numbers, holds a value no
// writer puts there (an angle outside -360 to 360, 0 to 1000000 % or -999 to
// 999 dB), its angles do not ascend, or it holds more than 361 points.
inline constexpr std::size_t kPatternPlotFileMaxBytes = std::size_t(1) << 20;
std::optional<PatternPlotData> readPatternPlotFile(const std::string& path, std::string& error);

}  // namespace crv::formats
