#include "crv/formats/search_map_files.h"

#include <algorithm>
#include <cmath>

#include "crv/formats/case_file.h"
#include "crv/formats/file_lines.h"
#include "crv/formats/lat_lon.h"
#include "crv/formats/numbers.h"
#include "crv/formats/version.h"
#include "crv/platform/numbers.h"

namespace crv::formats {

namespace {

using crv::platform::makeError;

bool currentLayout(const std::vector<std::string>& lines) {
    return !lines.empty() && lines[0].find("CRV Version") != std::string::npos;
}

bool isFacilityTerminator(const std::string& line) { return textAt(line, kFacilityTerminatorMark) == "$$$"; }

std::string from(const std::string& line, std::size_t col) { return line.size() >= col ? line.substr(col - 1) : ""; }
// Names and identifiers lose their blanks at either end (tabs are kept, as
// the maps have always shown them).
std::string trimmed(std::string_view s) {
    while (!s.empty() && s.front() == ' ') s.remove_prefix(1);
    while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
    return std::string(s);
}

// Field i (1-based) of a line split at blanks, when it is wholly a number.
std::optional<double> num(const std::vector<std::string>& f, std::size_t i) {
    if (i > f.size()) return std::nullopt;
    const auto v = crv::platform::parseReal(f[i - 1]);
    if (!v || !std::isfinite(*v)) return std::nullopt;
    return v;
}

// Six fields from `first`: degrees, minutes and seconds of latitude, then of
// longitude.
std::optional<MapPosition> position(const std::vector<std::string>& f, std::size_t first) {
    for (std::size_t i = first; i < first + 6; ++i)
        if (!num(f, i)) return std::nullopt;
    return MapPosition{DmsToDegrees(f[first - 1], f[first], f[first + 1]),
                       DmsToDegrees(f[first + 2], f[first + 3], f[first + 4])};
}

// The value as the file gives it, for messages.
std::string shown(double v) { return formatG(v, 12); }

// A value outside what the programs write is refused: a position off the
// globe or a radius past its columns would make the map span the world in
// ticks, or convert out of a float's range.
std::optional<std::string> outsideRange(const char* what, double v, double lo, double hi, std::size_t lineIndex) {
    if (v >= lo && v <= hi) return std::nullopt;
    return std::string(what) + " " + shown(v) + " in line " + std::to_string(lineIndex + 1) + " is outside " +
           shown(lo) + " to " + shown(hi);
}
std::optional<std::string> badPosition(const MapPosition& pos, std::size_t lineIndex) {
    if (auto e = outsideRange("the latitude", pos.latitude, -90, 90, lineIndex)) return e;
    return outsideRange("the longitude", pos.longitude, -180, 180, lineIndex);
}

std::string firstToken(const std::string& line) {
    std::string t = line;
    return NextToken(" ", t);
}

// The map files are read whole, within the bound of their layout.
crv::platform::Expected<std::vector<std::string>> mapLines(const std::string& path, std::size_t maxBytes) {
    return readFileLines(path, maxBytes);
}

}  // namespace

crv::platform::Expected<NavaidSearchFile> readNavaidSearchFile(const std::string& path) {
    auto lines = readFileLines(path, kNavaidSearchFileMaxBytes);
    if (!lines) return makeError(lines.error());
    // The facility list must end with " $$$" and the proponent line after it;
    // anything else would be read past its end.
    std::size_t terminator = lines->size();
    for (std::size_t i = 1; i < lines->size(); ++i)
        if (isFacilityTerminator((*lines)[i])) {
            terminator = i;
            break;
        }
    if (!currentLayout(*lines) || terminator + 1 >= lines->size())
        return makeError("The navaid search file " + path + " is incomplete or of an old layout.");
    NavaidSearchFile file;
    for (std::size_t i = 1; i < terminator; ++i)
        if (!(*lines)[i].empty()) file.facilityLines.push_back((*lines)[i]);
    file.proponentRecord = (*lines)[terminator + 1];
    return file;
}

std::vector<std::string> navaidSearchFileLines(const NavaidSearchFile& file) {
    std::vector<std::string> lines{kVersionText};
    lines.insert(lines.end(), file.facilityLines.begin(), file.facilityLines.end());
    lines.emplace_back(kFacilityTerminator);
    lines.push_back(file.proponentRecord);
    return lines;
}

crv::platform::Expected<FacilityMap> readFacilityMap(const std::string& path) {
    auto invalid = [&](const std::string& why) { return makeError("Invalid search plot file " + path + ": " + why); };
    const auto read = mapLines(path, kNavaidSearchFileMaxBytes);
    if (!read) return makeError(read.error());
    const std::vector<std::string>& lines = *read;
    const bool current = currentLayout(lines);
    const std::string terminator = current ? "$$$" : "999";
    const std::size_t typeField = current ? 13 : 12;
    const std::size_t first = current ? 1 : 0;
    std::size_t end = first;
    while (end < lines.size() && firstToken(lines[end]) != terminator) ++end;
    if (end >= lines.size()) return invalid("the facility list has no end line \"" + terminator + "\"");
    if (end + 1 >= lines.size()) return invalid("the proponent line is missing");

    FacilityMap map;
    // The proponent: the name in columns 2-8 (old layout 6-9), then the
    // frequency and the position split at blanks.
    const std::string& prop = lines[end + 1];
    map.proponentName = trimmed(current ? textAt(prop, {2, 8}) : textAt(prop, {6, 9}));
    const auto pf = SplitFields(from(prop, current ? 10 : 11), " ", 7);
    const auto propPos = position(pf, 2);
    if (!num(pf, 1) || !propPos) return invalid("the proponent line has no frequency or position");
    if (auto e = badPosition(*propPos, end + 1)) return invalid(*e);
    map.proponentFrequencyMHz = *num(pf, 1);
    map.proponent = *propPos;

    // Every facility is checked before anything is drawn: the identifier in
    // columns 2-4, then from column 6 the heading, the frequency, the
    // position and (field 13, old layout 12) the service-volume type.
    for (std::size_t i = first; i < end; ++i) {
        const auto f = SplitFields(from(lines[i], 6), " ", 13);
        const auto pos = position(f, 3);
        const auto heading = num(f, 1);
        const auto type = num(f, typeField);
        FacilityMapEntry entry;
        entry.identifier = trimmed(textAt(lines[i], navaid_line::identifier));
        if (pos && heading && type) {
            if (auto e = badPosition(*pos, i)) return invalid(*e);
            if (auto e = outsideRange("the heading", *heading, -999, 999, i)) return invalid(*e);
            if (auto e = outsideRange("the service volume type", *type, -99, 99, i)) return invalid(*e);
            entry.readable = true;
            entry.headingDeg = *heading;
            entry.position = *pos;
            entry.serviceVolumeType = static_cast<int>(*type);
        }
        map.facilities.push_back(std::move(entry));
    }
    return map;
}

crv::platform::Expected<EmitterMap> readEmitterMap(const std::string& path) {
    auto invalid = [&](const std::string& why) { return makeError("Invalid search plot file " + path + ": " + why); };
    const auto read = mapLines(path, kCaseFileMaxBytes);
    if (!read) return makeError(read.error());
    const std::vector<std::string>& lines = *read;
    const bool current = currentLayout(lines);
    const std::string terminator = current ? "$$$$" : "999";
    const std::size_t navIndex = current ? 1 : 0;
    if (navIndex >= lines.size()) return invalid("the navaid line is missing");
    const std::size_t first = navIndex + 1;
    std::size_t end = first;
    while (end < lines.size() && firstToken(lines[end]) != terminator) ++end;
    if (end >= lines.size()) return invalid("the RF source list has no end line \"" + terminator + "\"");

    // The navaid: the identifier in columns 2-4, then from column 6 the
    // heading, the frequency, the position, the elevation (field 9), the
    // service-volume type (13, old layout 12), its radius (14) and, in the old
    // layout, the search radius (16).
    EmitterMap map;
    const std::string& nav = lines[navIndex];
    map.identifier = trimmed(textAt(nav, navaid_line::identifier));
    const auto nf = SplitFields(from(nav, 6), " ", 16);
    const auto navPos = position(nf, 3);
    const auto heading = num(nf, 1), freq = num(nf, 2), type = num(nf, current ? 13 : 12);
    if (!navPos || !heading || !freq || !type)
        return invalid("the navaid line has no heading, frequency, position or type");
    map.elevationFt = num(nf, 9).value_or(0);
    if (current) {
        // The search radius of the case line, columns 53-54.
        if (end + 2 >= lines.size()) return invalid("the case line is missing");
        const std::string r = trimmed(textAt(lines[end + 2], case_line::searchRadius));
        const auto radius = crv::platform::parseReal(r);
        if (r.empty() || !radius) return invalid("the case line has no search radius");
        map.searchRadiusNmi = *radius;
    } else {
        const auto r = num(nf, 16);
        if (!r) return invalid("the navaid line has no search radius");
        map.searchRadiusNmi = *r;
    }
    if (auto e = badPosition(*navPos, navIndex)) return invalid(*e);
    if (auto e = outsideRange("the heading", *heading, -999, 999, navIndex)) return invalid(*e);
    if (auto e = outsideRange("the service volume type", *type, -99, 99, navIndex)) return invalid(*e);
    // The search radius has two columns in the case line (the service-volume
    // radius, below, three in the navaid line).
    if (auto e = outsideRange("the search radius", map.searchRadiusNmi, 0, 99, current ? end + 2 : navIndex))
        return invalid(*e);
    map.headingDeg = *heading;
    map.frequencyMHz = *freq;
    map.navaid = *navPos;
    map.serviceVolumeType = std::clamp(static_cast<int>(*type), 0, 8);
    if (map.serviceVolumeType >= 8) {
        map.serviceVolumeRadiusNmi = num(nf, 14).value_or(0);
        if (auto e = outsideRange("the service volume radius", map.serviceVolumeRadiusNmi, 0, 999, navIndex))
            return invalid(*e);
    }

    // The sources: the name in columns 2-8 (old layout 6-9), then the
    // frequency, the position and (field 13) the proponent status.
    for (std::size_t i = first; i < end; ++i) {
        const auto f = SplitFields(from(lines[i], current ? 10 : 11), " ", 13);
        const auto pos = position(f, 2);
        const auto status = num(f, 13);
        if (pos)
            if (auto e = badPosition(*pos, i)) return invalid(*e);
        if (status)
            if (auto e = outsideRange("the proponent status", *status, -99, 99, i)) return invalid(*e);
        EmitterMapSource source;
        source.name = trimmed(current ? textAt(lines[i], rf_source_line::callSign) : textAt(lines[i], {6, 9}));
        const auto fr = num(f, 1);
        if (status && fr && pos) {
            source.readable = true;
            source.frequencyMHz = *fr;
            source.position = *pos;
            source.proponentStatus = static_cast<int>(*status);
        }
        map.sources.push_back(std::move(source));
    }
    // The map names the case it was made from: the case line's Airspace Case
    // (columns 2-16 in every layout), never whichever case was opened last.
    if (end + 2 < lines.size()) map.airspaceCase = trimmed(textAt(lines[end + 2], case_line::airspaceCase));
    return map;
}

}  // namespace crv::formats
