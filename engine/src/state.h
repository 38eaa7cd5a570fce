#pragma once
// The engine's shared state: everything one case holds once ReadData has read
// it. It lives as long as the library is loaded and is rebuilt by every
// evaluation export (one export runs at a time). Routines that may run in
// parallel take what they need as const references; nothing here is written
// while an evaluation runs its points.
//
// Slot numbers are 1-based as the files and reports count them: station slot n
// is stations[n - 1].
#include <array>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace crv::engine {

// Where the engine finds its files; folders end in "/".
struct PathBlock {
    std::string fmDatabase = "FMALL.dat";
    std::string navaidDatabase = "A108M118.dat";
    std::string comDatabase = "G118M136.dat";
    std::string dataFolder = "Data/";
    std::string outputFolder = "Output/";
    std::string userFolder = "User/";
    std::string tempFolder = "./";
    std::string runFolder;
    std::string edition = "FLD";  // three characters
};

// The options line of the case, and what is derived from it.
struct CaseOptions {
    std::int16_t gridType = 0;           // 1..12
    std::int16_t intermodType = 0;       // 0..6
    std::int16_t antennaRejection = 0;   // 1..63
    std::int16_t criteriaType = 0;       // 1..7
    std::int16_t cutoffType = 0;         // 1..6
    std::int16_t outputStyle = 0;        // 1 short, 2 extended, 3 debugging
    double gridAltitudeFt = 0;
    double gridAngleDeg = 0;             // as read
    double horIncrementFt = 0;
    double vrtIncrementFt = 0;
    std::int16_t prescreen = 0;          // non-zero: coarse-grid prescreening
    std::int16_t observeIcaoMinimum = 0; // non-zero: ICAO floor on navaid levels
    // Derived.
    double gridAngleUsedDeg = 0;         // [0, 360)
    bool regressionCriteria = false;     // criteria type 1, 5 or 7
};

// The navaid of the case.
struct Facility {
    std::string identifier;              // 3 characters
    double runwayHeadingDeg = 0;         // or course
    double frequencyMHz = 0;
    std::int32_t frequencyKHz = 0;
    std::int32_t latDeg = 0, latMin = 0, latSec = 0;
    std::int32_t lonDeg = 0, lonMin = 0, lonSec = 0;
    double latitude = 0;                 // decimal degrees, north positive
    double longitude = 0;                // decimal degrees, west positive
    double fieldElevationFt = 0;
    double runwayLengthFt = 0;           // the grid replaces it by the localizer-to-threshold distance
    double transmitterPower = 0;
    std::int16_t arrayType = 0;          // 0..38 (0 read as 6)
    std::int16_t serviceVolumeType = 0;  // 0..8
    double serviceVolumeRadiusNmi = 0;
    double serviceVolumeHeightFt = 0;
};

// One RF source (FM station) of the case.
struct Station {
    std::string callSign;                // 7 characters
    double frequencyMHz = 0;
    std::int32_t frequencyKHz = 0;
    double latitude = 0, longitude = 0;
    std::int32_t latDeg = 0, latMin = 0, latSec = 0;
    std::int32_t lonDeg = 0, lonMin = 0, lonSec = 0;
    double erpKw = 0;
    double antennaElevationFt = 0;
    std::int32_t elementType = 0;        // 0..63
    std::int32_t horizontalPattern = 0;  // 0 none, 1..25
    double rotationDeg = 0;
    bool proponent = false;
    std::string licenceStatus;           // 3 characters
    std::int16_t ordinal = 0;            // line position among all RF-source lines, ignored lines included
};

// A radiation pattern: 37 linear field ratios and its description.
struct Pattern {
    std::array<double, 37> values{};
    std::string description;             // 25 characters
    bool loaded = false;
};

struct PatternTables {
    Pattern localizer;                   // "LocHor.pat"
    double localizerGainDb = 0;
    std::array<Pattern, 26> fmHorizontal{};  // 1..25 used
    std::array<Pattern, 7> fmVertical{};     // 1..6 used
    std::vector<std::pair<double, double>> antennaCalibration;  // up to 100 (MHz, dB)
    std::array<double, 12> receiverCalibration{};  // 1..11: thresholds at -101, -96, ..., -51 dBm
};

struct CaseTexts {
    std::string airspaceCase;            // 15
    std::string site;                    // 25
    std::string date;                    // 8
    std::vector<std::string> labels;     // up to 8 option label lines of 45
};

struct EngineState {
    PathBlock paths;
    bool scientific = false;             // ScientificFlag: edition "SCI"
    CaseOptions options;
    Facility navaid;
    std::vector<Station> stations;       // up to 1280
    std::vector<std::int16_t> proponents;  // slot numbers, from the last slot to the first
    PatternTables patterns;
    CaseTexts texts;

    const Station& slot(int n) const { return stations.at(static_cast<std::size_t>(n - 1)); }
};

inline constexpr int kMaxStations = 1280;

// The process-wide state the exports share.
EngineState& sharedState();

}  // namespace crv::engine
