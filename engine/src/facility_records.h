#pragma once
// Decoding the records of the three facility databases. Every record starts
// with its cell key (columns 1-7) and its position in degrees, minutes and
// seconds (latitude 8-14 as 3, 2, 2 digits; longitude 15-22 as 4, 2, 2); the
// frequency follows at column 23 in a width and implied-decimal rule of its own
// database. The other fields are taken from the raw text by the writers.
#include <cstdint>
#include <string>
#include <string_view>

namespace crv::engine {

struct DmsPosition {
    std::int32_t latDeg = 0, latMin = 0, latSec = 0;
    std::int32_t lonDeg = 0, lonMin = 0, lonSec = 0;
    // A "-0" degrees field: less than one degree south or east.
    bool latNegative = false, lonNegative = false;
    double latitude = 0;   // decimal degrees, north positive
    double longitude = 0;  // decimal degrees, west positive
};

struct FacilityRecord {
    long number = 0;          // record number in the database
    std::string raw;          // the record without its CR LF
    DmsPosition position;
    double frequencyMHz = 0;
    std::int32_t frequencyKHz = 0;  // what frequency filters compare
};

// Where a record comes from, for messages.
struct RecordSource {
    std::string_view label;    // "FCC", "QVA", "COM"
    std::string_view routine;  // "ReadFCC        "
    std::string_view path;
    long number;
};

// The three read procedures: position and frequency decoded. Fail (under the
// source's routine, naming the file and record) when a numeric field does not
// hold a number; a blank numeric field reads as 0.
FacilityRecord ReadFCC(std::string raw, const RecordSource& source);  // frequency 31-35, 1 implied decimal
FacilityRecord ReadQVA(std::string raw, const RecordSource& source);  // frequency 23-30, 4 implied decimals
FacilityRecord ReadCOM(std::string raw, const RecordSource& source);  // as the navaid record

// A real field (columns first..last) as such files hold it: when the field has
// no decimal point, the last `impliedDecimals` digits are the fraction.
double realField(std::string_view record, int first, int last, int impliedDecimals, const RecordSource& source);
// An integer field; "-0" sets `negative`.
std::int32_t integerField(std::string_view record, int first, int last, const RecordSource& source,
                          bool* negative = nullptr);

// The value of the decimal digits at the start of the text, up to the first
// character that is not a digit; 0 when it starts with anything else (a blank,
// a sign). `found` tells whether any digit was read.
std::int32_t LeadingInt(std::string_view text, bool* found = nullptr);

// The 3-character identifier of a COM facility, made from its position and
// frequency, in base 36 ("0"-"9", "A"-"Z").
std::string Base36(const FacilityRecord& record);

// MHz to whole kHz, halves away from zero; -1 for values no database holds
// (negative, not finite, or too large), so they never match a record.
std::int32_t frequencyKHzOf(double frequencyMHz);

}  // namespace crv::engine
