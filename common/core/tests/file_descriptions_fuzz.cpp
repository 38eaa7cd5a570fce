// Fuzz entry: a run copy "Rfi.plt" read for the station names of result
// plots, and a data file's first line read for its tool tip.
#include <cstdint>

#include "crv/common/file_descriptions.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace crv::common;
    crv::fuzz::scratchFile(data, size, "Rfi.plt");
    crv::fuzz::scratchFile(data, size, "FmHor01.pat");
    static StationTables tables;
    ReadStationNames(tables, crv::fuzz::scratchFolder());
    for (const char* name : {"01____A2.plt", "01_02___.plt", "0Z_10_ZZ.plt", "Rfi.plt", "FmHor01.pat"}) {
        DescribeFile(name, tables);
        FileToolTip(crv::fuzz::scratchFolder(), name, tables);
    }
    return 0;
}
