#pragma once
// Pattern plot files (".ptx"): a text table of an antenna pattern that the
// plot viewer draws. Six heading lines (the description, the gain of a
// localizer array or an empty line, an empty line, two column captions and an
// empty line), then one line per angle: a blank, the angle (15 columns, 1
// decimal), the relative signal in percent (18 columns, 2 decimals) and in dB
// (19 columns, 2 decimals). Lines end in CR LF.
#include <optional>
#include <string>
#include <vector>

namespace crv::formats {

struct PatternRow {
    double angleDeg = 0;
    double percent = 0;  // relative field strength, 100 x 10^(dB/20)
    double db = 0;
};

struct PatternPlot {
    // Line 1 after its four blanks: a caption ending in two blanks, then the
    // description at the width its kind uses.
    std::string caption;
    std::string description;
    std::optional<double> gainDbi;  // localizer arrays only
    std::vector<PatternRow> rows;
};

// A row from the dB value at an angle.
PatternRow patternRow(double angleDeg, double db);

// The file's lines without their endings.
std::vector<std::string> patternPlotLines(const PatternPlot& plot);

// Reads a pattern plot file back as the viewer does: the description (line 1
// after the caption), the gain when line 2 has one, and every data line.
// nullopt with `error` set when the file is missing or a data line is not
// three numbers.
struct PatternPlotData {
    std::string description;
    std::optional<double> gainDbi;
    std::vector<PatternRow> rows;
};
std::optional<PatternPlotData> readPatternPlotFile(const std::string& path, std::string& error);

}  // namespace crv::formats
