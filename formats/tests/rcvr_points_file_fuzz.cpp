// Fuzz entry: a receiver test points file read as the editor opens it and as
// it imports any file in each position format, and written back.
#include <cstdint>

#include "crv/formats/rcvr_points_file.h"
#include "crv/formats/user_data_file.h"
#include "crv/formats/site_files.h"
#include "crv/platform/text_file.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace crv::formats;
    const std::string path = crv::fuzz::scratchFile(data, size, "RcvrTest.pts");
    const auto bytes = crv::platform::readRegularFile(path, kPointsFileMaxBytes);
    if (!bytes) return 0;
    RcvrPointsFileRead file = readRcvrPointsFile(*bytes);
    (void)writeRcvrPointsFile(file.data);
    const auto lines = textLines(*bytes);
    for (int format = 0; format <= 3; ++format) {
        RcvrPoints imported;
        imported.format = format;
        imported.points = ReadPoints(lines, 0, format).points;
        (void)writeRcvrPointsFile(imported);
    }
    return 0;
}
