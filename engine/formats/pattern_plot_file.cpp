#include "pattern_plot_file.h"

#include <cmath>

#include "crv/platform/numbers.h"
#include "crv/platform/text_file.h"

namespace crv::formats {

namespace {
constexpr const char* kAngleCaption = "           Angle         Rel. Signal         Rel. Signal";
constexpr const char* kUnitCaption = "           (deg)         Strength (%)       Strength (dB)";
constexpr const char* kGainPrefix = "    Gain:  ";
}  // namespace

std::string fixedField(double value, int width, int decimals) {
    const std::string stars(static_cast<std::size_t>(width), '*');
    if (!std::isfinite(value)) return stars;
    // Printed as the report prints an F field, so that a pattern reads the same
    // in both: the exact binary value rounded with halves away from zero, no
    // minus sign on a value that rounds to zero, and the leading zero of "0.5"
    // dropped when the field is too narrow for it.
    std::string text = crv::platform::formatFixed(std::fabs(value), decimals + 40);
    const std::size_t cut = text.find('.') + 1 + static_cast<std::size_t>(decimals);
    const bool roundUp = text[cut] >= '5';
    text.resize(cut);
    if (roundUp) {
        int i = static_cast<int>(cut) - 1;
        for (; i >= 0; --i) {
            char& digit = text[static_cast<std::size_t>(i)];
            if (digit == '.') continue;
            if (digit != '9') {
                ++digit;
                break;
            }
            digit = '0';
        }
        if (i < 0) text.insert(0, "1");
    }
    if (value < 0 && text.find_first_of("123456789") != std::string::npos) text.insert(0, "-");
    if (static_cast<int>(text.size()) > width) {
        if (text.rfind("0.", 0) == 0)
            text.erase(0, 1);
        else if (text.rfind("-0.", 0) == 0)
            text.erase(1, 1);
    }
    if (static_cast<int>(text.size()) > width) return stars;
    return std::string(static_cast<std::size_t>(width) - text.size(), ' ') + text;
}

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
