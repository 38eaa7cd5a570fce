#pragma once
// The application state that more than one window uses: one object, created
// empty at start, loaded by GetConfiguration and written back by the four
// savers. Members carry the names the windows know them by. The stored
// 1-based lists (PlotColors(1..14), RecentFiles(1..5)) are 0-based here.
#include <array>
#include <cstdint>
#include <map>
#include <string>
#include <utility>

namespace crv::common {

inline constexpr int kLevelClasses = 14;
inline constexpr int kRecentFileCount = 5;

using PlotColorTable = std::array<std::uint32_t, kLevelClasses>;  // 0x00BBGGRR

// Factory colours of level classes 1 to 14.
inline constexpr PlotColorTable kFactoryPlotColors = {0x80,     0xFF,     0x8080,   0xFFFF,   0xFF00,
                                                      0xFF0000, 0xFF00FF, 0xC0C0C0, 0xFFFF00, 0x800000,
                                                      0x8000,   0x808000, 0x800080, 0x808080};

// The settings store's values as this program last read or wrote them, by
// (section, value name). The savers write only the values that differ from
// these: two programs on one store each write back what they changed and
// never what the other changed meanwhile.
using StoredValues = std::map<std::pair<std::string, std::string>, std::string>;

struct AppState {
    // Plot parameters.
    PlotColorTable PlotColors{};
    std::int16_t NavLevelMin = 0;
    std::int16_t NavLevelIncr = 0;
    std::int16_t IntLevelMin = 0;
    std::int16_t IntLevelIncr = 0;
    PlotColorTable DefPlotColors{};
    std::int16_t DefNavLevelMin = 0;
    std::int16_t DefNavLevelIncr = 0;
    std::int16_t DefIntLevelMin = 0;
    std::int16_t DefIntLevelIncr = 0;

    // Facility databases and whether each is in use (0/1).
    std::string FCCDatabase;
    std::string QVADatabase;
    std::string COMDatabase;
    std::int16_t UseFCCDB = 0;
    std::int16_t UseQVADB = 0;
    std::int16_t UseCOMDB = 0;

    // Work folders, each ending in "/". TempFolder is never saved.
    std::string DataFolder;
    std::string OutputFolder;
    std::string UserFolder;
    std::string TempFolder;

    // Most recent first; empty entries only at the end.
    std::array<std::string, kRecentFileCount> RecentFiles;

    std::string ModelType;     // edition code, 3 characters ("FLD" or "SCI")
    std::string AirspaceCase = std::string(15, ' ');  // 15 characters, blank-padded
    std::string CaseFile;      // file name (no folder) of the current case in DataFolder
    std::string ProponentRecord;  // 52 columns, "" when there is no proponent
    std::string NavaidRecord;     // 72 columns
    std::string LastLatitude;     // display code 1 text of the last site entered
    std::string LastLongitude;
    bool DefaultOutputPlots = false;  // Display Results opens plots (true) or reports first
    bool AnimationEnabled = true;     // the main window's service-volume animation

    StoredValues Stored;  // filled by GetConfiguration, kept by the savers
};

}  // namespace crv::common
