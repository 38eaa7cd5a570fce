#pragma once
// The records of the three facility databases ("FMALL.dat", "A108M118.dat",
// "G118M136.dat"): fixed-length text records, each ended by CR LF, sorted by
// their cell key. Every record starts with its cell key (columns 1-7) and its
// position in degrees, minutes and seconds; the frequency follows at column
// 23 in a width and implied-decimal rule of its own database. The engine's
// search reads them; the sample workspace writes them.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "crv/formats/columns.h"

namespace crv::formats {

// Columns 1-22 of every database.
namespace database_record {
inline constexpr Columns cellKey{1, 7};
inline constexpr Columns latDegrees{8, 10};
inline constexpr Columns latMinutes{11, 12};
inline constexpr Columns latSeconds{13, 14};
inline constexpr Columns lonDegrees{15, 18};
inline constexpr Columns lonMinutes{19, 20};
inline constexpr Columns lonSeconds{21, 22};
}  // namespace database_record

// FM stations: 103 characters (short layout) or 109 (long layout, with the
// second ERP), the layout told by the length of the first record.
namespace fm_database_record {
inline constexpr Columns callSign{23, 30};  // only its first 4 characters are used
inline constexpr Columns frequency{31, 35};
inline constexpr int kFrequencyImpliedDecimals = 1;
inline constexpr Columns state{36, 37};
inline constexpr Columns city{38, 67};
inline constexpr Columns licenceStatus{82, 87};  // only its first 3 characters are used
inline constexpr Columns licenceUsed{82, 84};
inline constexpr Columns erp1{94, 99};
inline constexpr Columns erp2{100, 105};  // long layout only
inline constexpr Columns heightShort{100, 103};  // metres
inline constexpr Columns heightLong{106, 109};
inline constexpr int kShortLength = 103;
inline constexpr int kLongLength = 109;
}  // namespace fm_database_record

// Navaids 108-118 MHz: 135 characters.
namespace navaid_database_record {
inline constexpr Columns frequency{23, 30};
inline constexpr int kFrequencyImpliedDecimals = 4;
inline constexpr Columns state{41, 42};  // the first 2 of columns 41-44
inline constexpr Columns name{45, 68};
inline constexpr Columns bearing{69, 71};     // whole degrees, leading digits
inline constexpr Columns identifier{72, 79};  // only its first 3 characters are used
inline constexpr Columns descriptive1{80, 82};
inline constexpr Columns descriptive2{83, 92};
inline constexpr Columns siteElevation{93, 98};  // feet, leading digits
inline constexpr Columns antennaHeight{99, 103};  // feet above the site, leading digits
inline constexpr Columns serviceVolumeCode{108, 112};  // "STD  ", "OPT A", ...
inline constexpr Columns descriptive3{113, 132};
inline constexpr Columns power{133, 135};  // watts
inline constexpr int kLength = 135;
}  // namespace navaid_database_record

// VHF COM facilities 118-136 MHz: 140 characters.
namespace com_database_record {
inline constexpr Columns frequency{23, 30};
inline constexpr int kFrequencyImpliedDecimals = 4;
inline constexpr Columns state{41, 42};
inline constexpr Columns name{45, 68};
inline constexpr Columns siteElevation{93, 98};
inline constexpr Columns antennaHeight{99, 103};
inline constexpr Columns power{131, 133};   // watts, leading digits
inline constexpr Columns radius{134, 137};  // nmi, leading digits; 0 or none means 50
inline constexpr Columns height{138, 140};  // hundreds of feet; 0 or none means 100
inline constexpr int kLength = 140;
}  // namespace com_database_record

// The line end every record carries.
inline constexpr int kRecordEndLength = 2;

struct DmsPosition {
    std::int32_t latDeg = 0, latMin = 0, latSec = 0;
    std::int32_t lonDeg = 0, lonMin = 0, lonSec = 0;
    // A "-0" degrees field: less than one degree south or east.
    bool latNegative = false, lonNegative = false;
    double latitude = 0;   // decimal degrees, north positive
    double longitude = 0;  // decimal degrees, west positive
};

// The position of a record, decimal degrees from DMS2Deg. nullopt, with
// `bad` set to the columns, when a field holds anything but a whole number
// (a blank field is 0).
std::optional<DmsPosition> positionOf(std::string_view record, Columns* bad = nullptr);

// The 7-character cell key of a whole-degree cell: latitude in 3 characters
// with at least 2 digits, longitude in 4 with at least 3, a "-" before the
// digits of a negative value and a blank in that place otherwise (" 38 077",
// "-05-003"). A blank sorts before "-", so every non-negative key sorts before
// every negative one, as the search's cell order expects.
std::string cellKey(int latitudeCell, int longitudeCell);

// Columns 1-22 of a record: the cell key of the position's whole degrees,
// then latitude degrees, minutes, seconds (3, 2, 2) and longitude degrees,
// minutes, seconds (4, 2, 2), degrees signed ("-0" less than a degree south
// or east), minutes and seconds with two digits.
std::string writeDatabasePosition(const DmsPosition& position);

// A real field of a database record: blank is 0, and when the text has no
// decimal point its last `impliedDecimals` digits are the fraction. nullopt
// when the field holds no finite number.
std::optional<double> databaseReal(std::string_view record, Columns c, int impliedDecimals);

}  // namespace crv::formats
