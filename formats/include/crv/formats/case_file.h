#pragma once
// The lines of the case data file (".dat", and its run copy "Rfi.plt"): the
// version line, the navaid line, one RF-source line per station, the
// terminator " $$$$", the options line, the case line and the option-text
// lines. Every field is a blank followed by the value at the field's width,
// so the first field starts in column 2; numbers stand right-aligned. The
// navaid record of the new-case workflow (72 characters) and the navaid line
// of a navaid search file share the navaid line's columns 1-69.
//
// The engine's case reader, the case data editor's model (whose columns come
// from the field dictionary and are checked against these), the search
// workflow that writes new cases and the sample workspace read and write the
// lines through the columns and writers here.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "crv/formats/columns.h"
#include "crv/formats/version.h"

namespace crv::formats {

// The most a case data file (or an FM search plot file, laid out alike) can
// hold: 1280 stations and the RF-source search's longest lists of hits are
// well within it.
inline constexpr std::size_t kCaseFileMaxBytes = std::size_t(4) << 20;

// Line 2: the navaid (editor page 2), 69 columns, 71 with the checked mark.
namespace navaid_line {
inline constexpr Columns identifier{2, 4};
inline constexpr Columns runwayHeading{6, 8};  // true degrees, whole
inline constexpr Columns frequency{10, 16};    // MHz, 3 decimals
inline constexpr Columns latitude{18, 26};     // degrees 18-20, minutes 22-23, seconds 25-26
inline constexpr Columns latDegrees{18, 20};
inline constexpr Columns latMinutes{22, 23};
inline constexpr Columns latSeconds{25, 26};
inline constexpr Columns longitude{28, 37};  // degrees 28-31, minutes 33-34, seconds 36-37
inline constexpr Columns lonDegrees{28, 31};
inline constexpr Columns lonMinutes{33, 34};
inline constexpr Columns lonSeconds{36, 37};
inline constexpr Columns fieldElevation{39, 43};
inline constexpr Columns runwayLength{45, 49};
inline constexpr Columns transmitterPower{51, 53};
inline constexpr Columns arrayType{55, 56};
inline constexpr Columns serviceVolumeType{58, 59};  // 0..8, 8 VHF COM
inline constexpr Columns serviceVolumeRadius{61, 63};
inline constexpr Columns serviceVolumeHeight{65, 69};
inline constexpr int kLength = 69;
// " " and Chr(127) in columns 70-71 once the editor's check has passed.
inline constexpr char kCheckedMark = '\x7f';
inline constexpr int kCheckedMarkColumn = 71;
}  // namespace navaid_line

// The navaid record the workflow passes from the navaid selection to the
// RF-source search: the navaid line's columns 1-69, a blank, the back-course
// flag in columns 71-72 (" 0" when there is none).
namespace navaid_record {
inline constexpr Columns caseColumns{1, 70};
inline constexpr Columns backCourse{71, 72};
inline constexpr int kLength = 72;
}  // namespace navaid_record

// Lines 3..: one RF source each (editor page 3), 75 columns.
namespace rf_source_line {
inline constexpr Columns callSign{2, 8};
inline constexpr Columns frequency{10, 16};  // MHz, 3 decimals
inline constexpr Columns latitude{18, 26};
inline constexpr Columns latDegrees{18, 20};
inline constexpr Columns latMinutes{22, 23};
inline constexpr Columns latSeconds{25, 26};
inline constexpr Columns longitude{28, 37};
inline constexpr Columns lonDegrees{28, 31};
inline constexpr Columns lonMinutes{33, 34};
inline constexpr Columns lonSeconds{36, 37};
inline constexpr Columns erp{39, 46};  // kW, 4 decimals
inline constexpr Columns antennaElevation{48, 52};
inline constexpr Columns elementType{54, 55};
inline constexpr Columns horizontalPattern{57, 58};
inline constexpr Columns rotation{60, 62};
inline constexpr Columns proponentStatus{64, 65};  // 0 none, 1 proponent, 2 ignored
inline constexpr Columns licenceStatus{67, 69};
inline constexpr Columns dummyMask{71, 75};
inline constexpr int kLength = 75;
// Call sign through longitude: what makes a search hit the proponent's own.
inline constexpr Columns station{1, 37};
// The proponent record's columns: call sign through antenna elevation.
inline constexpr Columns proponentRecord{1, 52};
// The terminator's dollar signs stand in columns 2-5.
inline constexpr Columns terminatorMark{2, 5};
}  // namespace rf_source_line

inline constexpr const char* kRfSourceTerminator = " $$$$";

// The options line (editor page 4): twelve whole numbers.
namespace options_line {
inline constexpr Columns gridType{2, 3};
inline constexpr Columns intermodType{5, 6};
inline constexpr Columns antennaRejection{8, 9};
inline constexpr Columns criteriaType{11, 12};
inline constexpr Columns cutoffType{14, 15};
inline constexpr Columns outputStyle{17, 18};
inline constexpr Columns gridAltitude{20, 24};
inline constexpr Columns gridAngle{26, 28};
inline constexpr Columns horizontalIncrement{30, 33};
inline constexpr Columns verticalIncrement{35, 37};
inline constexpr Columns prescreening{39, 40};
inline constexpr Columns observeIcaoMinimum{42, 43};
inline constexpr int kLength = 43;
}  // namespace options_line

// The case line (editor page 1).
namespace case_line {
inline constexpr Columns airspaceCase{2, 16};
inline constexpr Columns site{18, 42};
inline constexpr Columns date{44, 51};  // mm/dd/yy
inline constexpr Columns searchRadius{53, 54};
inline constexpr int kLength = 54;
}  // namespace case_line

// The option-text lines after the case line: a blank, then the text.
inline constexpr Columns kOptionText{2, 46};

// A position field as the case file holds it: whole degrees, minutes and
// seconds, south and east written with a minus sign before the degrees (so
// a position less than one degree south or east reads "-0").
struct DmsField {
    int degrees = 0, minutes = 0, seconds = 0;  // degrees may carry the sign themselves
    bool negative = false;                      // south or east
};

struct NavaidLine {
    std::string identifier;
    double runwayHeadingDeg = 0;
    double frequencyMHz = 0;
    DmsField latitude, longitude;
    double fieldElevationFt = 0, runwayLengthFt = 0, transmitterPower = 0;
    int arrayType = 0, serviceVolumeType = 0;
    double serviceVolumeRadiusNmi = 0, serviceVolumeHeightFt = 0;
};

struct RfSourceLine {
    std::string callSign;
    double frequencyMHz = 0;
    DmsField latitude, longitude;
    double erpKw = 0, antennaElevationFt = 0;
    int elementType = 0, horizontalPattern = 0;
    double rotationDeg = 0;
    int proponentStatus = 0;
    std::string licenceStatus;
    long dummyMask = 0;
};

struct OptionsLine {
    int gridType = 1, intermodType = 0, antennaRejection = 1, criteriaType = 1, cutoffType = 1, outputStyle = 1;
    double gridAltitudeFt = 0, gridAngleDeg = 0, horizontalIncrementFt = 0, verticalIncrementFt = 0;
    int prescreening = 0, observeIcaoMinimum = 0;
};

struct CaseLine {
    std::string airspaceCase, site, date;
    double searchRadiusNmi = 0;
};

// What follows the navaid line's last field: nothing (the editor's check
// found an error), the checked mark " " Chr(127), or the two blanks a new
// case file of the search workflow holds there until its first check.
enum class NavaidMark { None, Checked, Pending };

// The readers: each field by its columns, texts without their trailing
// blanks, a blank numeric field 0. nullopt, with `bad` set to the field's
// columns, when a numeric field holds no number (or a position field no
// whole number).
std::optional<NavaidLine> readNavaidLine(std::string_view line, NavaidMark* mark = nullptr, Columns* bad = nullptr);
std::optional<RfSourceLine> readRfSourceLine(std::string_view line, Columns* bad = nullptr);
std::optional<OptionsLine> readOptionsLine(std::string_view line, Columns* bad = nullptr);
std::optional<CaseLine> readCaseLine(std::string_view line, Columns* bad = nullptr);

// The writers. Texts stand from their field's first column, padded or cut to
// the field; numbers are rendered with the field's decimals (FormatField:
// halves away from zero) and right-aligned. A value wider than its field is
// cut as the case data editor cuts it; `cut`, when given, receives the name
// of the first field that was, for writers that must never write one (""
// when none was).
std::string writeNavaidLine(const NavaidLine& line, NavaidMark mark, std::string* cut = nullptr);
inline std::string writeNavaidLine(const NavaidLine& line, bool checkedMark, std::string* cut = nullptr) {
    return writeNavaidLine(line, checkedMark ? NavaidMark::Checked : NavaidMark::None, cut);
}
std::string writeRfSourceLine(const RfSourceLine& line, std::string* cut = nullptr);
std::string writeOptionsLine(const OptionsLine& line, std::string* cut = nullptr);
std::string writeCaseLine(const CaseLine& line, std::string* cut = nullptr);
// The position field of a navaid or RF-source line: "  38 51 12", "-151 12 30";
// `width` 9 for a latitude, 10 for a longitude.
std::string dmsFieldText(const DmsField& field, int width);
inline std::string optionTextLine(std::string_view text) { return " " + std::string(text); }

// The navaid line a new case file starts with: the navaid record's columns
// 1-70 and a blank in column 71, where the editor puts its checked mark.
std::string newCaseNavaidLine(std::string_view navaidRecord);
// The RF-source line of a proponent entered by hand or found by the FM
// search: its 52-column record, then element type 0, pattern 0, rotation 0,
// proponent status 1, licence status "PRP" and mask 0.
std::string proponentLine(std::string_view proponentRecord);

// The service-volume type of a navaid line, navaid record or navaid search
// line (columns 58-59): a blank field is 0, a number its value rounded to the
// nearest whole number (halves to even); nullopt when the columns hold
// anything else. Every reader of the navaid's type takes it from here.
std::optional<int> serviceVolumeType(std::string_view navaidLine);

}  // namespace crv::formats
