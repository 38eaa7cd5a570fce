#include "crv/formats/pattern_plot_file.h"

#include <cmath>

#include "crv/formats/file_lines.h"
#include "crv/formats/numbers.h"
#include "crv/platform/numbers.h"

namespace crv::formats {

namespace {
constexpr const char* kAngleCaption = "           Angle         Rel. Signal         Rel. Signal";
constexpr const char* kUnitCaption = "           (deg)         Strength (%)       Strength (dB)";
constexpr const char* kGainPrefix = "    Gain:  ";
constexpr std::size_t kHeadingLines = 6;

// Columns 5 to 79 of a title line, without trailing blanks.
std::string titleOf(const std::string& line) {
    if (line.size() < 5) return "";
    std::string t = line.substr(4, 75);
    while (!t.empty() && (t.back() == ' ' || t.back() == '\r')) t.pop_back();
    return t;
}

// The shortest text of a value as the viewer's messages give it.
std::string shown(double v) { return formatG(v, 10); }
}  // namespace

PatternRow patternRow(double angleDeg, double db) { return {angleDeg, 100.0 * std::pow(10.0, db / 20.0), db}; }

std::vector<std::string> patternPlotLines(const PatternPlot& plot) {
    const bool report = plot.style == PatternPlotStyle::Report;
    std::vector<std::string> lines;
    lines.push_back("    " + plot.caption + plot.description);
    if (!plot.gainDbi)
        lines.emplace_back();
    else
        lines.push_back(kGainPrefix + (report ? fixedField(*plot.gainDbi, 4, 1) : FormatField(*plot.gainDbi, 4, 1)) +
                        " dBi");
    if (report) {
        lines.emplace_back();
        lines.emplace_back(kAngleCaption);
        lines.emplace_back(kUnitCaption);
        lines.emplace_back();
    } else {
        lines.insert(lines.end(), 4, std::string());
    }
    for (const PatternRow& r : plot.rows)
        lines.push_back(report ? " " + fixedField(r.angleDeg, 15, 1) + fixedField(r.percent, 18, 2) +
                                     fixedField(r.db, 19, 2)
                               : FormatField(r.angleDeg, 16, 1) + FormatField(r.percent, 17, 2) +
                                     FormatField(r.db, 18, 2));
    return lines;
}

std::optional<PatternPlotData> readPatternPlotFile(const std::string& path, std::string& error) {
    auto invalid = [&](const std::string& why) {
        error = "Invalid pattern plot file " + path + ": " + why;
        return std::nullopt;
    };
    // A few hundred short lines: a regular file of bounded size, or an error
    // naming it.
    const auto lines = readFileLines(path, kPatternPlotFileMaxBytes);
    if (!lines) {
        error = lines.error();
        return std::nullopt;
    }
    if (lines->size() < kHeadingLines) return invalid("the heading lines are missing");
    PatternPlotData data;
    data.title1 = titleOf((*lines)[0]);
    data.title2 = titleOf((*lines)[1]);
    // The caption ends in two blanks; the description follows them.
    const std::string& first = (*lines)[0];
    const auto mark = first.find(":  ");
    if (mark != std::string::npos && first.size() > 4) {
        data.caption = first.substr(4, mark + 3 - 4);
        data.description = first.substr(mark + 3);
    } else {
        data.description = first.size() > 4 ? first.substr(4) : std::string();
    }
    data.style = (*lines)[3] == kAngleCaption ? PatternPlotStyle::Report : PatternPlotStyle::Editor;
    const std::string& second = (*lines)[1];
    if (second.rfind(kGainPrefix, 0) == 0) {
        const auto fields = crv::platform::splitFreeFormat(std::string_view(second).substr(11));
        if (!fields.empty()) data.gainDbi = crv::platform::parseReal(fields[0]);
    }
    for (std::size_t i = kHeadingLines; i < lines->size(); ++i) {
        const std::string lineNo = std::to_string(i + 1);
        const auto fields = crv::platform::splitFreeFormat((*lines)[i]);
        if (fields.empty()) continue;  // a blank line
        std::optional<double> v[3];
        if (fields.size() >= 3)
            for (int k = 0; k < 3; ++k) v[k] = crv::platform::parseReal(fields[static_cast<std::size_t>(k)]);
        if (!v[0] || !v[1] || !v[2] || !std::isfinite(*v[0]) || !std::isfinite(*v[1]) || !std::isfinite(*v[2]))
            return invalid("line " + lineNo + " is not three numbers");
        const double a = *v[0], pc = *v[1], db = *v[2];
        if (static_cast<int>(data.rows.size()) >= kMaxPatternPoints)
            return invalid("more than " + std::to_string(kMaxPatternPoints) + " points");
        // What the writers of the file can put there: angles of a turn,
        // signals from nothing to far past the main beam.
        if (a < -360 || a > 360 || pc < 0 || pc > 1e6 || db < -999 || db > 999)
            return invalid("line " + lineNo + " (" + shown(a) + " " + shown(pc) + " " + shown(db) +
                           ") is outside an angle of -360 to 360, 0 to 1000000 % and -999 to 999 dB");
        if (!data.rows.empty() && a <= data.rows.back().angleDeg) return invalid("the angles are not in ascending order");
        data.rows.push_back({a, pc, db});
    }
    return data;
}

}  // namespace crv::formats
