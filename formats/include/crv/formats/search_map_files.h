#pragma once
// The search plot files of the new-case workflow, which the navaid selection
// lists and the plot window draws as maps:
//  - the navaid search plot file "nav@" + id + ".plt" and its subsets "loc@",
//    "vor@", "com@": the version line, one navaid search line per facility,
//    the terminator " $$$" and the proponent record (an empty line when there
//    is none);
//  - the FM search plot file "fm@" + identifier + ".plt", laid out as a case
//    data file (crv/formats/case_file.h), and a run folder's case copy
//    "Rfi.plt", drawn the same way.
// Files of the oldest layout (no version line, the list ended by "999") are
// drawn too. Numbers are read without the locale.
#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "crv/formats/columns.h"
#include "crv/formats/search_lines.h"
#include "crv/platform/expected.h"

namespace crv::formats {

inline constexpr const char* kFacilityTerminator = " $$$";
inline constexpr Columns kFacilityTerminatorMark{2, 4};
// The id in the navaid search files' names: the first four characters of the
// proponent's call sign, columns 2-5 of its record.
inline constexpr Columns kNavaidSearchFileId{2, 5};
// The facility count of a search crosses as 16 bits; the writer refuses more.
inline constexpr int kMaxSearchFacilities = 32767;
// The largest navaid search plot file the workflow writes: the version line,
// every facility's 136 columns, the terminator and the proponent record, each
// with its CR LF. A file past it is refused from its size.
inline constexpr std::size_t kNavaidSearchFileMaxBytes =
    (17 + 2) + std::size_t(kMaxSearchFacilities) * (navaid_search_line::kLength + 2) + (4 + 2) +
    (rf_source_line::proponentRecord.width() + 2);

// A navaid search plot file of the current layout, as the navaid selection
// lists it.
struct NavaidSearchFile {
    std::vector<std::string> facilityLines;  // in file order; empty lines left out
    std::string proponentRecord;             // the line after the terminator
};

// Reads the file; an error names it: a file that cannot be read, one past
// the bound, and one without its version line, its terminator or the
// proponent line after it (a file of the old layout is one of these).
crv::platform::Expected<NavaidSearchFile> readNavaidSearchFile(const std::string& path);

// The lines of a navaid search plot file: version line, facility lines,
// terminator, proponent record.
std::vector<std::string> navaidSearchFileLines(const NavaidSearchFile& file);

struct MapPosition {
    double latitude = 0, longitude = 0;  // decimal degrees, north and west positive
};

// What the facility map takes from a navaid search plot file: the proponent
// (the map's centre) and every facility line's fields, split at blanks.
struct FacilityMapEntry {
    std::string identifier;  // columns 2-4, trimmed
    bool readable = false;   // heading, position and type were found
    double headingDeg = 0;
    MapPosition position;
    int serviceVolumeType = 0;
};
struct FacilityMap {
    std::string proponentName;
    double proponentFrequencyMHz = 0;
    MapPosition proponent;
    std::vector<FacilityMapEntry> facilities;  // every line before the terminator
};

// What the emitter map takes from an FM search plot file or a case copy.
struct EmitterMapSource {
    std::string name;        // the call sign, trimmed
    bool readable = false;   // frequency, position and status were found
    double frequencyMHz = 0;
    MapPosition position;
    int proponentStatus = 0;
};
struct EmitterMap {
    std::string identifier;
    double headingDeg = 0, frequencyMHz = 0, elevationFt = 0;
    MapPosition navaid;
    int serviceVolumeType = 0;         // held to 0..8
    double serviceVolumeRadiusNmi = 0;  // the navaid line's, read for a VHF COM facility
    double searchRadiusNmi = 0;
    std::string airspaceCase;  // of the case line, "" when the file has none
    std::vector<EmitterMapSource> sources;
};

// The maps' readers. A file of either layout is read whole and checked before
// anything is drawn: one without its terminator, proponent, navaid or case
// line, or with a value no program writes (a position off the globe, a radius
// past its columns) is refused with "Invalid search plot file PATH: ..." and
// the line and value; a facility or source with unreadable fields is kept,
// not readable, and left off the map.
crv::platform::Expected<FacilityMap> readFacilityMap(const std::string& path);
crv::platform::Expected<EmitterMap> readEmitterMap(const std::string& path);

}  // namespace crv::formats
