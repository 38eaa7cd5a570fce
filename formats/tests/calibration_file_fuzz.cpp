// Fuzz entry: a calibration file read as the editor reads it (a regular file of
// bounded size, then its lines) and written back.
#include <cstdint>

#include "crv/formats/user_data_file.h"
#include "crv/formats/site_files.h"
#include "crv/platform/text_file.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace crv::formats;
    const std::string path = crv::fuzz::scratchFile(data, size, "in.cal");
    const auto bytes = crv::platform::readRegularFile(path, kSiteFileMaxBytes);
    if (!bytes) return 0;
    UserDataRead read = readUserDataFile(*bytes, false);
    if (isPatternKind(read.data.kind)) NormalizePattern(read.data);
    (void)writeUserDataFile(read.data);
    return 0;
}
