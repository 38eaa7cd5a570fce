#pragma once
// The receiver test points file ("RcvrTest.pts"): up to 5000 positions the
// engine evaluates when a case asks for the user's own points. Positions are
// range and bearing from the navaid (format 0) or latitude and longitude in
// one of three notations (1 degrees, minutes, seconds; 2 decimal degrees;
// 3 degrees and decimal minutes). Latitudes are negative south, longitudes
// negative east, as everywhere in the system.
#include <string>
#include <string_view>
#include <vector>

namespace crv::formats {

inline constexpr int kMaxRcvrPoints = 5000;
inline constexpr const char* kRcvrPointsFile = "RcvrTest.pts";

struct RcvrPoint {
    double first = 0;   // range (nmi) or latitude
    double second = 0;  // bearing (deg) or longitude
    double elevationFt = 0;
    bool isEnd() const { return first == 0 && second == 0 && elevationFt == 0; }
};

struct RcvrPoints {
    int format = 1;
    std::string description = std::string(25, ' ');
    std::vector<RcvrPoint> points;  // the list; an all-zero point ends it on saving
};

// The number of points a save writes: those before the first all-zero point.
std::size_t listLength(const std::vector<RcvrPoint>& points);
// Index of the first point that is not all zero after an all-zero one (a
// point the save would drop), or -1.
int firstPointAfterEnd(const std::vector<RcvrPoint>& points);

// The position fields of one point as the file holds them.
std::string formatPointLine(const RcvrPoint& point, int format);
std::string writeRcvrPointsFile(const RcvrPoints& data);

// Whether a value is inside its column's range in a format (column 1..3).
bool pointValueValid(double value, int column, int format);

struct RcvrPointsRead {
    std::vector<RcvrPoint> points;
    std::vector<bool> invalid;  // per point: a value outside its column's range
    int badCount = 0;
    int firstBadLine = 0;       // 1-based line, 0 when none
    std::string firstBadText;   // that line's numbers as the file writes them
    int skippedLines = 0;       // lines holding no number (blank lines, headings)
    int extraLines = 0;         // point lines past the 5000th, not read
};

// Point lines in a format, from `firstLine` (0-based) of `lines`. A line with
// no number is skipped and counted; missing tokens read as 0.
RcvrPointsRead ReadPoints(const std::vector<std::string>& lines, std::size_t firstLine, int format);

struct RcvrPointsFileRead {
    RcvrPoints data;
    RcvrPointsRead read;
};
// A whole file: description, format code (outside 0-3 reads as 1), points.
RcvrPointsFileRead readRcvrPointsFile(std::string_view text);

}  // namespace crv::formats
