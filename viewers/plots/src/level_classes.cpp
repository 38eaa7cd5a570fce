#include "both_contexts.h"
#include "crv/viewers/plot_builders.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <limits>

namespace crv::viewers {

LevelBands levelBandsOf(const common::AppState& state) {
    return LevelBands{state.PlotColors, state.NavLevelMin, state.NavLevelIncr, state.IntLevelMin,
                      state.IntLevelIncr};
}

std::array<std::int16_t, 13> levelThresholds(std::int16_t minimum, std::int16_t increment) {
    std::array<std::int16_t, 13> t{};
    std::int32_t v = minimum;
    for (auto& x : t) {
        // A band that would run past the 16-bit range stays at its edge.
        v = std::clamp<std::int32_t>(v, std::numeric_limits<std::int16_t>::min(),
                                     std::numeric_limits<std::int16_t>::max());
        x = static_cast<std::int16_t>(v);
        v += increment;
    }
    return t;
}

int levelClass(const std::array<std::int16_t, 13>& thresholds, std::int32_t level) {
    for (int k = 0; k < 13; ++k)
        if (level <= thresholds[k]) return k + 1;
    return 14;
}

std::int16_t levelToInt16(double level) {
    if (std::isnan(level)) return std::numeric_limits<std::int16_t>::min();
    const double c = std::clamp(level, -32768.0, 32767.0);
    return static_cast<std::int16_t>(std::nearbyint(c));  // default rounding: halves to even
}

PageKind pageKindOf(const std::string& fileName) {
    const std::string u = detail::upper(fileName);
    const auto at = u.find('@');
    const std::string prefix = at == std::string::npos ? "" : u.substr(0, at + 1);
    if (prefix == "LOC@" || prefix == "NAV@" || prefix == "VOR@" || prefix == "COM@") return PageKind::FacilityMap;
    if (prefix == "FM@" || u == "RFI.PLT") return PageKind::EmitterMap;
    if (u.size() >= 3 && u.compare(u.size() - 3, 3, "PTX") == 0) return PageKind::Pattern;
    return PageKind::Simulation;
}

namespace detail {
std::string joinPath(const std::string& dirPath, const std::string& fileName) {
    if (dirPath.empty() || dirPath.back() == '/') return dirPath + fileName;
    return dirPath + "/" + fileName;
}
std::string upper(std::string text) {
    for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return text;
}
}  // namespace detail

}  // namespace crv::viewers
