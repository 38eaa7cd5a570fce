#pragma once
// The lines of the search result files ("RfiSrch1.tmp", "RfiSrch2.tmp", the
// frequency-search file "Fr......tmp"): the FM proponent line, the navaid
// line and navaid report line, the RF-source line and the RF-source report
// line. The engine's database search writes them; the programs sort them and
// read them by these columns into the search plot files, the reports, the
// selection lists and the new case. Every field stands in its own columns
// whatever its value: numbers right-aligned (asterisks when they do not fit),
// minutes and seconds with two digits, texts cut to their span.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "crv/formats/case_file.h"
#include "crv/formats/columns.h"
#include "crv/formats/facility_records.h"

namespace crv::formats {

// Kind 1, "RfiSrch1.tmp" of an FM circle search: 90 columns.
namespace fm_proponent_line {
inline constexpr Columns callSign{2, 8};
inline constexpr Columns frequency{10, 16};
inline constexpr Columns latitude{18, 26};
inline constexpr Columns longitude{28, 37};
inline constexpr Columns erp{39, 46};
inline constexpr Columns antennaElevation{48, 52};
inline constexpr Columns city{54, 83};
inline constexpr Columns state{85, 86};
inline constexpr Columns licenceStatus{88, 90};
inline constexpr int kLength = 90;
}  // namespace fm_proponent_line

// Kind 2, "RfiSrch1.tmp" of a navaid or COM circle search: columns 1-69 are a
// navaid line of the case file (navaid_line), then these; 136 columns.
namespace navaid_search_line {
inline constexpr Columns backCourse{71, 72};
inline constexpr Columns name{74, 97};
inline constexpr Columns state{99, 100};
inline constexpr Columns descriptive1{102, 104};
inline constexpr Columns descriptive2{106, 115};
inline constexpr Columns descriptive3{117, 136};
// The three descriptive fields together: the localizer's antenna description.
inline constexpr Columns antennaDescription{102, 136};
inline constexpr int kLength = 136;
}  // namespace navaid_search_line

// The fields of a localizer's antenna description (columns 102-136 of its
// navaid search line), numbered within the description.
namespace antenna_description {
inline constexpr Columns code{1, 2};  // the first two characters of descriptive field 1
inline constexpr Columns descriptive2{5, 14};
inline constexpr Columns descriptive3{16, 35};
}  // namespace antenna_description

// Kind 3, "RfiSrch2.tmp" of a navaid or COM circle search: 100 columns.
namespace navaid_report_line {
inline constexpr Columns classLetter{2, 2};  // "I" localizer, "V" VOR, "C" COM
inline constexpr Columns identifier{3, 5};
inline constexpr Columns course{9, 11};
inline constexpr Columns frequency{15, 21};
inline constexpr Columns latDegrees{24, 26};
inline constexpr Columns latMinutes{28, 29};
inline constexpr Columns latSeconds{31, 32};
inline constexpr Columns lonDegrees{35, 38};
inline constexpr Columns lonMinutes{40, 41};
inline constexpr Columns lonSeconds{43, 44};
inline constexpr Columns power{48, 50};
inline constexpr Columns siteElevation{53, 57};
inline constexpr Columns bearing{61, 63};
inline constexpr Columns distance{67, 69};
inline constexpr Columns name{73, 96};
inline constexpr Columns state{99, 100};
// What the navaid search report prints of a line: the facility, then its
// name and state on a line of their own.
inline constexpr Columns facility{2, 69};
inline constexpr Columns nameAndState{70, 100};
inline constexpr int kLength = 100;
}  // namespace navaid_report_line

// Kind 4, "RfiSrch1.tmp" of an RF-source search: an RF-source line of the case
// file (rf_source_line), 75 columns.

// Kind 5, "RfiSrch2.tmp" of an RF-source search: 106 columns.
namespace rf_source_report_line {
inline constexpr Columns callSign{2, 8};
inline constexpr Columns frequency{11, 17};
inline constexpr Columns licenceStatus{21, 23};
inline constexpr Columns latDegrees{26, 28};
inline constexpr Columns latMinutes{30, 31};
inline constexpr Columns latSeconds{33, 34};
inline constexpr Columns lonDegrees{37, 40};
inline constexpr Columns lonMinutes{42, 43};
inline constexpr Columns lonSeconds{45, 46};
inline constexpr Columns erp{49, 56};
inline constexpr Columns antennaElevation{59, 63};
inline constexpr Columns bearing{67, 69};
inline constexpr Columns distance{72, 75};
inline constexpr Columns name{79, 102};
inline constexpr Columns state{105, 106};
// Two lines are one source when they agree in these: call sign and
// frequency, and position through antenna elevation.
inline constexpr Columns station{2, 17};
inline constexpr Columns placeAndPower{26, 63};
// What the FM search report prints of a line.
inline constexpr Columns source{2, 75};
inline constexpr Columns nameAndState{76, 106};
inline constexpr int kLength = 106;
}  // namespace rf_source_report_line

struct FmProponentFields {
    std::string_view callSign;
    double frequencyMHz = 0;
    DmsPosition position;
    double erpKw = 0;
    long long antennaElevationFt = 0;
    std::string_view city, state, licenceStatus;
};

struct NavaidSearchFields {
    std::string_view identifier;
    double frequencyMHz = 0;
    DmsPosition position;
    long long course = 0;
    long long siteElevationFt = 0;
    long long runwayLengthFt = 0;
    long long power = 0;
    int serviceVolumeType = 0;
    long long radiusNmi = 0;
    long long heightFt = 0;
    int backCourse = 0;
    std::string_view name, state;
    std::string_view descriptive1, descriptive2, descriptive3;  // blank for COM facilities
};

struct NavaidReportFields {
    char classLetter = 'I';
    std::string_view identifier;
    long long course = 0;
    double frequencyMHz = 0;
    DmsPosition position;
    long long power = 0;
    long long siteElevationFt = 0;
    double bearingDeg = 0, distanceNmi = 0;  // from the search centre; written whole
    std::string_view name, state;
};

struct RfSourceSearchFields {
    std::string_view callSign;
    double frequencyMHz = 0;
    DmsPosition position;
    double erpKw = 0;
    long long antennaElevationFt = 0;
    int elementType = 0;
    std::string_view licenceStatus;
};

struct RfSourceReportFields {
    std::string_view callSign;
    double frequencyMHz = 0;
    std::string_view licenceStatus;
    DmsPosition position;
    double erpKw = 0;
    long long antennaElevationFt = 0;
    double bearingDeg = 0, distanceNmi = 0;  // written whole
    std::string_view name, state;
};

// The readers give the fields of a line by their columns (texts as they
// stand, views into the line); nullopt, with `bad` set to the field's columns,
// when a numeric field holds no number. A line the sort left without its
// trailing blanks reads as the whole line.
std::optional<FmProponentFields> readFmProponentLine(std::string_view line, Columns* bad = nullptr);
std::optional<NavaidSearchFields> readNavaidSearchLine(std::string_view line, Columns* bad = nullptr);
std::optional<NavaidReportFields> readNavaidReportLine(std::string_view line, Columns* bad = nullptr);
std::optional<RfSourceReportFields> readRfSourceReportLine(std::string_view line, Columns* bad = nullptr);

std::string writeFmProponentLine(const FmProponentFields& f);
std::string writeNavaidSearchLine(const NavaidSearchFields& f);
std::string writeNavaidReportLine(const NavaidReportFields& f);
// Pattern number, rotation, proponent status and dummy mask are 0 for a
// station found by a search.
std::string writeRfSourceSearchLine(const RfSourceSearchFields& f);
std::string writeRfSourceReportLine(const RfSourceReportFields& f);

}  // namespace crv::formats
