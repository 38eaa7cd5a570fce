#include "crv/formats/pattern_plot_file.h"

#include <cmath>

#include "crv/formats/numbers.h"
#include "crv/platform/numbers.h"
#include "crv/platform/text_file.h"

namespace crv::formats {

namespace {
constexpr const char* kAngleCaption = "           Angle         Rel. Signal         Rel. Signal";
constexpr const char* kUnitCaption = "           (deg)         Strength (%)       Strength (dB)";
constexpr const char* kGainPrefix = "    Gain:  ";
}  // namespace

PatternRow patternRow(double angleDeg, double db) { return {angleDeg, 100.0 * std::pow(10.0, db / 20.0), db}; }

std::vector<std::string> patternPlotLines(const PatternPlot& plot) {
    std::vector<std::string> lines;
    lines.push_back("    " + plot.caption + plot.description);
    lines.push_back(plot.gainDbi ? kGainPrefix + fixedField(*plot.gainDbi, 4, 1) + " dBi" : "");
    lines.emplace_back();
    lines.emplace_back(kAngleCaption);
    lines.emplace_back(kUnitCaption);
    lines.emplace_back();
    for (const PatternRow& r : plot.rows)
        lines.push_back(" " + fixedField(r.angleDeg, 15, 1) + fixedField(r.percent, 18, 2) + fixedField(r.db, 19, 2));
    return lines;
}

std::optional<PatternPlotData> readPatternPlotFile(const std::string& path, std::string& error) {
    auto lines = crv::platform::readTextLines(path);
    if (!lines) {
        // A read error is not a missing file: say which it was.
        error = lines.error().starts_with("Could not open") ? "Could not open pattern plot file: " + path
                                                            : "Could not read pattern plot file: " + lines.error();
        return std::nullopt;
    }
    if (lines->size() < 6) {
        error = "Pattern plot file is too short: " + path;
        return std::nullopt;
    }
    PatternPlotData data;
    // The caption ends in two blanks; the description follows them.
    const std::string& first = (*lines)[0];
    const auto mark = first.find(":  ");
    data.description = std::string(crv::platform::trimRight(mark == std::string::npos ? first : first.substr(mark + 3)));
    const std::string& second = (*lines)[1];
    if (second.rfind(kGainPrefix, 0) == 0) {
        const auto fields = crv::platform::splitFreeFormat(std::string_view(second).substr(11));
        if (!fields.empty()) data.gainDbi = crv::platform::parseReal(fields[0]);
    }
    for (std::size_t i = 6; i < lines->size(); ++i) {
        const auto fields = crv::platform::splitFreeFormat((*lines)[i]);
        if (fields.empty()) continue;
        std::optional<double> v[3];
        if (fields.size() >= 3)
            for (int k = 0; k < 3; ++k) v[k] = crv::platform::parseReal(fields[static_cast<std::size_t>(k)]);
        if (!v[0] || !v[1] || !v[2]) {
            error = "Damaged line " + std::to_string(i + 1) + " in pattern plot file: " + path;
            return std::nullopt;
        }
        data.rows.push_back({*v[0], *v[1], *v[2]});
    }
    return data;
}

}  // namespace crv::formats
