#pragma once
// The write procedures of the facility search: what each database's record
// found gives in the search result files. The lines themselves are the
// formats layer's (crv/formats/search_lines.h), which the programs read back.
#include <cstdint>
#include <string>
#include <string_view>

#include "facility_records.h"

namespace crv::engine {

// Where a found facility lies from the search centre, as InArea left it.
struct HitGeometry {
    std::int32_t option = 1;
    double distanceNmi = 0;
    double bearingDeg = 0;
};

// What a write procedure produced for one record: line1 goes to the first
// result file (or the frequency-search file), line2 to the second (report)
// file. An empty text means no line; counted tells whether the record counts
// as a hit.
struct SearchLines {
    bool counted = false;
    std::string line1;
    std::string line2;
};

SearchLines WriteFCC(const FacilityRecord& record, bool longLayout, const HitGeometry& hit,
                     const RecordSource& source);
SearchLines WriteQVA(const FacilityRecord& record, const HitGeometry& hit, const RecordSource& source);
SearchLines WriteCOM(const FacilityRecord& record, const HitGeometry& hit);

}  // namespace crv::engine
