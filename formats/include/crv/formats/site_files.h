#pragma once
// The user folder's site files: radiation patterns (".pat": "LocHor.pat",
// "FmHorxx.pat, where xx = 01-25", "FmVrtx.pat, where x = 1-6"), the antenna
// and receiver calibration tables ("Antenna.cal", "Receiver.cal") and the
// receiver test points ("RcvrTest.pts"). Line 1 is a description (columns
// 1-25), line 2 the kind (and scale and gain) or the position format code,
// then one point per line.
//
// The pattern and calibration editor and the receiver points editor read and
// write them with crv/formats/user_data_file.h and rcvr_points_file.h, which
// read everything a file holds and mark what the editor cannot show. A run
// reads them here: list-directed (numbers separated by blanks, tabs or
// commas, each wholly a number), and the first value it cannot use stops the
// run with a message naming the file and the line.
#include <array>
#include <cstddef>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "crv/formats/columns.h"
#include "crv/platform/expected.h"

namespace crv::formats {

// Bounds of the files the editors read whole, generous beside what they
// write (a file of empty lines costs a string per line, so they stay small).
inline constexpr std::size_t kSiteFileMaxBytes = std::size_t(1) << 20;    // ".pat", ".cal": 39 short lines
inline constexpr std::size_t kPointsFileMaxBytes = std::size_t(1) << 20;  // ".pts": 5000 points of ~30 bytes

// Line 1 of every site file.
inline constexpr Columns kSiteDescription{1, 25};
// Points of a pattern: horizontal FM every 10 degrees from 0 to 360, vertical
// FM every 2.5 degrees from 0 to 90, the localizer every 5 degrees to 180.
inline constexpr int kPatternPoints = 37;
inline constexpr std::size_t kMaxAntennaCalibrationPairs = 100;
// The receiver thresholds at -101, -96, ..., -51 dBm.
inline constexpr int kReceiverCalibrationLevels = 11;

// The description of a pattern file as the RF-source table lists it: the
// first input item of line 1 (a quoted text up to its closing quote, else the
// text up to the first comma), control characters blanked so it cannot break
// a list entry.
std::string patternListDescription(std::string_view firstLine);

enum class PatternFileKind { Localizer, FmHorizontal, FmVertical };

// A pattern as a run uses it.
struct PatternFileValues {
    std::string description;                  // columns 1-25 of line 1, trailing blanks removed
    double gainDb = 0;                        // localizer patterns: line 2's third number
    std::array<double, kPatternPoints> values{};  // linear field ratios
};

// Line 2's kind and scale (scale 1: the values are dB, else percent) and for
// the localizer its gain, then exactly 37 lines of angle and value (the angle
// implied by the line's place). The messages are the run's: "Could not open
// localizer pattern file:" + CR + path, and the line and value of what it
// cannot use.
crv::platform::Expected<PatternFileValues> readPatternFile(const std::string& path, PatternFileKind kind);

// "Antenna.cal": up to 100 (frequency MHz, loss dB) pairs after the two
// heading lines, until the end of the file; empty lines are passed over.
crv::platform::Expected<std::vector<std::pair<double, double>>> readAntennaCalibration(const std::string& path);

// "Receiver.cal": the thresholds for the receiver levels -101, -96, ..., -51
// dBm into entries 1..11. The editor writes each line as the level, then the
// threshold; a line of one number is that threshold.
crv::platform::Expected<std::array<double, 12>> readReceiverCalibration(const std::string& path);

// What a receiver test point can be. A range beyond half the earth's
// circumference, a position off the globe or an altitude no aircraft reaches
// is a damaged line, and would otherwise become a point at infinity.
inline constexpr double kMaxTestPointRangeNmi = 10800.0;
inline constexpr double kMaxTestPointAltitudeFt = 1.0e6;
inline constexpr double kMaxTestPointBearingDeg = 1.0e6;

// One point of "RcvrTest.pts" as a run reads it: range and bearing from the
// navaid (format 0) or latitude and longitude in decimal degrees (formats
// 1-3, south and east negative), and the altitude.
struct TestPoint {
    int format = 0;
    double first = 0, second = 0;  // range (nmi), bearing (deg); or latitude, longitude
    double altitudeFt = 0;
};

// The points of the file in file order (blank lines passed over), at most
// `maxPoints`; a file with more is refused. Line 1 is the description; a file
// without a second line has no points. Degrees, minutes (and seconds) add up
// signed by the degrees, as the case file's positions are read, so "-0"
// keeps a position less than a degree south or east.
crv::platform::Expected<std::vector<TestPoint>> readTestPoints(const std::string& path, std::size_t maxPoints);

}  // namespace crv::formats
