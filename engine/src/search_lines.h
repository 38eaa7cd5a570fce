#pragma once
// The lines a facility search writes for each record it finds: the FM
// proponent line, the navaid line and navaid report line, the RF-source line
// and RF-source report line. The programs sort and read these files by fixed
// columns, so every field stands in its own columns whatever its value: numbers
// right-aligned (asterisks when they do not fit), minutes and seconds with two
// digits, texts cut to their span.
#include <cstdint>
#include <string>
#include <string_view>

#include "facility_records.h"

namespace crv::engine {

// A line of fixed length being filled field by field (columns 1-based).
class ColumnLine {
public:
    explicit ColumnLine(std::size_t length) : text_(length, ' ') {}
    void text(int first, int last, std::string_view value);  // left-justified, cut
    void integer(int first, int last, long long value);      // right-aligned
    void twoDigits(int first, long long value);              // minutes, seconds: "05"
    void real(int first, int last, double value, int decimals);
    // Whole degrees, right-aligned; "-0" when the position is less than a
    // degree south or east, so the sign is not lost.
    void degrees(int first, int last, std::int32_t value, bool negative);
    const std::string& str() const { return text_; }

private:
    void rightAligned(int first, int last, const std::string& value);
    std::string text_;
};

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
