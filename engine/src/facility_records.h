#pragma once
// The read procedures of the three facility databases: a record's position
// and frequency decoded by the formats layer's record layouts
// (crv/formats/facility_records.h), and a record that does not hold numbers
// where its layout has them refused under the database's routine name.
#include <cstdint>
#include <string>
#include <string_view>

#include "crv/formats/facility_records.h"
#include "crv/formats/numbers.h"

namespace crv::engine {

using crv::formats::DmsPosition;
using crv::formats::LeadingInt;

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
FacilityRecord ReadFCC(std::string raw, const RecordSource& source);
FacilityRecord ReadQVA(std::string raw, const RecordSource& source);
FacilityRecord ReadCOM(std::string raw, const RecordSource& source);

// A real field of the record, refused as the read procedures refuse one.
double realField(std::string_view record, crv::formats::Columns c, int impliedDecimals, const RecordSource& source);
// A whole-number field of the record, refused likewise.
std::int32_t integerField(std::string_view record, crv::formats::Columns c, const RecordSource& source);

// The 3-character identifier of a COM facility, made from its position and
// frequency, in base 36 ("0"-"9", "A"-"Z").
std::string Base36(const FacilityRecord& record);

// MHz to whole kHz, halves away from zero; -1 for values no database holds
// (negative, not finite, or too large), so they never match a record.
std::int32_t frequencyKHzOf(double frequencyMHz);

}  // namespace crv::engine
