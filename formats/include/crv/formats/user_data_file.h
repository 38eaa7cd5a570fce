#pragma once
// The small tables the engine reads from the user folder: antenna radiation
// patterns (".pat": FM horizontal, FM vertical, localizer horizontal) and the
// antenna and receiver calibration tables (".cal"). One unit reads and writes
// both layouts; the pattern and calibration editor stands on it.
#include <string>
#include <string_view>
#include <vector>

namespace crv::formats {

// What a data kind fixes: the file the engine reads, the x axis, the value
// column and how much of the table the editor shows.
struct UserDataKind {
    int kind;                  // 1..5
    const char* option;        // option caption
    const char* modelFile;     // the name the engine reads
    const char* nameHint;      // the name as the save reminder gives it
    const char* xHeading;      // "\r" breaks a heading into lines
    double xStart, xStep;
    int points;                // points in the file
    int lastShownRow;          // index of the last point the grid shows
    int visibleRows;
    int xWidth, xDecimals;
    const char* valueHeading;
    int valueWidth, valueDecimals;  // the value cell (linear scale for patterns)
    double valueMin, valueMax;      // likewise
    int helpTopic;
};

// Kinds 1-3 are patterns, 4 antenna rejection, 5 receiver thresholds. Any
// other number gives kind 1.
const UserDataKind& userDataKind(int kind);
inline bool isPatternKind(int kind) { return kind >= 1 && kind <= 3; }

// Pattern values are held in percent of the maximum; scale 1 shows and stores
// them in dB relative to the maximum.
double RelToDb(double percent);  // -99.99 at 0.0001 % and below
double DbToRel(double db);       // 0 at -99.99 dB and below
// The dB a cell shows: never below the -99.99 the cell can hold.
double shownDb(double percent);

// The value cell of a kind and scale: width, decimals, range.
struct ValueCell {
    int width, decimals;
    double min, max;
};
ValueCell valueCell(int kind, int scale);

struct UserData {
    int kind = 1;
    int scale = 0;                               // patterns: 0 linear (percent), 1 dB
    std::string description = std::string(25, ' ');  // always 25 characters
    double gain = 0;                             // main beam gain, dBi (localizer only)
    std::vector<double> x;                       // fixed by the kind
    std::vector<double> values;                  // patterns in percent
};

// Fresh data of a kind: the fixed x values, every value 0, blank description.
UserData newUserData(int kind);
// Puts the kind's fixed x values back and sizes the table to the kind.
void setFixedX(UserData& data);

// Scales the values so the largest is 100 %; all-zero data stay as they are.
void NormalizePattern(UserData& data);

// The file's bytes: CR LF line ends, the kind's layout. The caller normalises
// a pattern first.
std::string writeUserDataFile(const UserData& data);

struct UserDataRead {
    UserData data;
    std::vector<bool> invalid;  // per point: the file's value is outside the cell's range
    int badCount = 0;
    int firstBadLine = 0;       // 1-based line of the first invalid value, 0 when none
    std::string firstBadValue;  // that value as the file writes it
    int extraLines = 0;         // point lines past the table's end, not read
};

// Reads a pattern file (patternMode) or a calibration file from its text.
// The kind and scale come from line 2 (a pattern kind outside 1-3 reads as 1,
// a scale other than 0 or 1 as 0, a calibration kind outside 4-5 as 4); each
// further line is the next point, its second token the value (the number the
// token begins with). Points the file does not reach are 0. A pattern's gain
// that is not a number the gain box can hold reads as 0 and counts as invalid.
UserDataRead readUserDataFile(std::string_view text, bool patternMode);

// The lines of a text, CR LF or LF.
std::vector<std::string> textLines(std::string_view text);

}  // namespace crv::formats
