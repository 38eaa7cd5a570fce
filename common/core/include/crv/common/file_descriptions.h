#pragma once
// Descriptions of the files the file browser lists, result plot files among
// them. A result plot names its stations by their ordinal among the
// RF-source lines of the run's case copy "Rfi.plt", as two base-36 digits
// ("0"-"9", "A"-"Z"; value = first x 36 + second):
//   CC____A2.plt  CC____B2.plt  CC__A2B2.plt   one station (A2/B2)
//   CC_DD___.plt                               two-signal B1
//   CC_DD_EE.plt                               three-signal B1
#include <array>
#include <string>
#include <string_view>

namespace crv::common {

inline constexpr int kStationCodes = 1296;  // every two-character code, 0 to 1295

struct StationTables {
    // Call sign of station i of the folder's "Rfi.plt".
    std::array<std::string, kStationCodes> StationNames;
    // "i: <call sign>@<frequency>", the frequency formatted "##0.0##".
    std::array<std::string, kStationCodes> StationTips;
};

// The code's number; 0 when any character is not a digit or a letter (either
// case), or when the code is too long for a 16-bit value.
int DecodeBase36(std::string_view code);
// Two base-36 digits, upper case, for 0 to 1295; "" outside that range.
std::string EncodeBase36(int value);

// Fills both tables from `folder` + "Rfi.plt" (any letter case), after
// clearing them, so a folder never shows the stations of the one before.
// A missing, empty or unreadable file gives numeric placeholders from the
// station after the last one read: names i right-aligned in 4, tips i.
void ReadStationNames(StationTables& tables, const std::string& folder);

// The "Description" column of the file browser, from the file name alone.
std::string DescribeFile(std::string_view name, const StationTables& tables);

// The tool tip: a pattern, calibration or receiver-point file's first line
// (read from `folder`), or a result plot's station tips; otherwise "".
std::string FileToolTip(const std::string& folder, std::string_view name, const StationTables& tables);

// True for the names of search plot files and reports: the part up to the
// first "@" is "loc@", "nav@", "vor@", "com@" or "fm@" (any letter case).
bool isSearchFileName(std::string_view name);

}  // namespace crv::common
