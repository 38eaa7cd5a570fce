#include "crv/common/file_descriptions.h"

#include "crv/common/conversions.h"
#include "crv/common/file_system.h"
#include "crv/common/text_utils.h"
#include "crv/platform/numbers.h"
#include "crv/platform/text_file.h"

namespace crv::common {

namespace {

std::string extensionOf(std::string_view name) {
    const int dot = LastPos(name, ".");
    return dot == 0 ? std::string() : upperAscii(name.substr(static_cast<std::size_t>(dot)));
}

// "##0.0##": at least one digit each side of the point, at most three decimals.
std::string formatFrequency(double mhz) {
    std::string text = formatDecimal(mhz, 3);
    while (text.size() >= 2 && text.back() == '0' && text[text.size() - 2] != '.') text.pop_back();
    return text;
}

// The stations a result plot name codes, as 1 to 3 indices; empty when the
// name is not a result plot name or a code is below 1.
std::vector<int> plotStations(std::string_view name) {
    if (extensionOf(name) != "PLT" || Mid(name, 3, 1) != "_") return {};
    const int i = DecodeBase36(Mid(name, 1, 2));
    if (i < 1) return {};
    if (containsNoCase(name, "A2B2") || containsNoCase(name, "A2.") || containsNoCase(name, "B2.") ||
        containsNoCase(name, "A1."))
        return {i};
    if (Mid(name, 6, 1) != "_") return {};
    const int j = DecodeBase36(Mid(name, 4, 2));
    if (j < 1) return {};
    if (Mid(name, 7, 2) == "__") return {i, j};
    const int k = DecodeBase36(Mid(name, 7, 2));
    if (k < 1) return {};
    return {i, j, k};
}

// Longest line the file browser reads of a data file: its descriptions and
// station lines are fixed columns well inside this.
constexpr std::size_t kMaxCaseLine = 4096;

std::string firstLineOf(const std::string& path) {
    crv::platform::LineReader reader;
    reader.setMaxLineLength(kMaxCaseLine);
    if (!reader.open(path)) return {};
    std::string line;
    if (!reader.next(line)) return {};
    return std::string(crv::platform::trimBlanks(line));
}

// The folder's entry of that name in any letter case, "" when none.
std::string findFile(const std::string& folder, std::string_view name) {
    for (const auto& entry : FindEntries(folder, name))
        if (!entry.isFolder) return folder + entry.name;
    return {};
}

}  // namespace

int DecodeBase36(std::string_view code) {
    int value = 0;
    for (char raw : code) {
        const char c = upperAscii(raw);
        int digit;
        if (c >= '0' && c <= '9')
            digit = c - '0';
        else if (c >= 'A' && c <= 'Z')
            digit = c - 'A' + 10;
        else
            return 0;
        value = value * 36 + digit;
        if (value > 32767) return 0;
    }
    return value;
}

std::string EncodeBase36(int value) {
    if (value < 0 || value >= kStationCodes) return {};
    static const char* digits = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ";
    return {digits[value / 36], digits[value % 36]};
}

bool isSearchFileName(std::string_view name) {
    for (const char* prefix : {"loc@", "nav@", "vor@", "com@", "fm@"})
        if (startsWithNoCase(name, prefix)) return true;
    return false;
}

void ReadStationNames(StationTables& tables, const std::string& folder) {
    tables = StationTables{};
    int k = 0;
    bool failed = true;
    const std::string path = findFile(AddBackslash(folder), "Rfi.plt");
    crv::platform::LineReader reader;
    // The case copy's lines are fixed columns well inside this.
    reader.setMaxLineLength(kMaxCaseLine);
    std::string line;
    if (!path.empty() && reader.open(path) && reader.next(line)) {
        const bool current = containsNoCase(line, "CRV Version");
        const std::string mark = current ? "$$$$" : "999";
        if (!current || reader.next(line)) {
            failed = false;
            while (reader.next(line)) {
                if (equalsNoCase(Mid(line, 2, static_cast<int>(mark.size())), mark)) break;
                if (k + 1 >= kStationCodes) break;  // no code names a later station
                ++k;
                std::string name;
                double mhz;
                if (current) {
                    name = std::string(crv::platform::trimBlanks(Mid(line, 2, 7)));
                    mhz = Val(Mid(line, 10, 7));
                } else {
                    name = Mid(line, 6, 4);
                    mhz = Val(Mid(line, 11, 7));
                }
                tables.StationNames[static_cast<std::size_t>(k)] = name;
                tables.StationTips[static_cast<std::size_t>(k)] =
                    std::to_string(k) + ": " + name + "@" + formatFrequency(mhz);
            }
            // A read that broke off leaves placeholders after the last station read.
            failed = reader.failed();
        }
    }
    if (failed) {
        for (int i = k + 1; i < kStationCodes; ++i) {
            tables.StationNames[static_cast<std::size_t>(i)] = FormatField(i, 4, 0);
            tables.StationTips[static_cast<std::size_t>(i)] = std::to_string(i);
        }
    }
}

std::string DescribeFile(std::string_view name, const StationTables& tables) {
    const std::string ext = extensionOf(name);
    if (ext == "PAT") {
        if (containsNoCase(name, "FmHor")) return "FM Horizontal Pattern";
        if (containsNoCase(name, "FmVrt")) return "FM Vertical Pattern";
        if (containsNoCase(name, "LocHor")) return "Localizer Horizontal Pattern";
        return "Antenna Radiation Pattern";
    }
    if (ext == "CAL") {
        if (containsNoCase(name, "ant")) return "Antenna Calibration Data";
        if (containsNoCase(name, "rcv") || containsNoCase(name, "rec")) return "Receiver Calibration Data";
        return "Calibration Data File";
    }
    if (ext == "PTS") return "Receiver Test Points";
    if (ext == "PTX") return "Antenna Radiation Pattern";
    if (ext == "PLX") return "Simulation Rcvr Locations";
    if (equalsNoCase(name, "Rfi.plt")) return "Simulation RF Sources";
    if (equalsNoCase(name, "Rfi.txt")) return "Simulation Report";
    if (containsNoCase(name, "nav@")) return "Navaids near " + Mid(name, 5, 4);
    if (containsNoCase(name, "loc@")) return "Localizers near " + Mid(name, 5, 4);
    if (containsNoCase(name, "vor@")) return "VOR facilities near " + Mid(name, 5, 4);
    if (containsNoCase(name, "com@")) return "COM facilities near " + Mid(name, 5, 4);
    if (containsNoCase(name, "fm@")) return "RF Sources near " + Mid(name, 4, 3);
    const auto stations = plotStations(name);
    if (stations.empty()) return {};
    auto station = [&](int i) { return tables.StationNames[static_cast<std::size_t>(i)]; };
    if (stations.size() == 1) {
        const int i = stations[0];
        if (containsNoCase(name, "A2B2")) return "A2B2: " + station(i);
        if (containsNoCase(name, "A2.")) return "A2: " + station(i);
        if (containsNoCase(name, "B2.")) return "B2: " + station(i);
        return "A1: " + station(i);
    }
    std::string text = "B1: " + station(stations[0]);
    for (std::size_t n = 1; n < stations.size(); ++n) text += ", " + station(stations[n]);
    return text;
}

std::string FileToolTip(const std::string& folder, std::string_view name, const StationTables& tables) {
    const std::string ext = extensionOf(name);
    if (ext == "PAT" || ext == "PTS" || ext == "CAL") return firstLineOf(AddBackslash(folder) + std::string(name));
    if (ext != "PLT" || isSearchFileName(name) || equalsNoCase(name, "Rfi.plt")) return {};
    const auto stations = plotStations(name);
    std::string text;
    for (std::size_t n = 0; n < stations.size(); ++n) {
        if (n) text += ",  ";
        text += tables.StationTips[static_cast<std::size_t>(stations[n])];
    }
    return text;
}

}  // namespace crv::common
