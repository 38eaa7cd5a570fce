// Fuzz entry: a calibration file read as the editor reads it (a regular file of
// bounded size, then its lines) and written back.
#include <cstdint>

#include "crv/common/data_file_read.h"
#include "crv/editors/user_data_file.h"
#include "crv/platform/text_file.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace crv::editors;
    const std::string path = crv::fuzz::scratchFile(data, size, "in.cal");
    const auto bytes = crv::platform::readRegularFile(path, crv::common::kSiteFileMaxBytes);
    if (!bytes) return 0;
    UserDataRead read = readUserDataFile(*bytes, false);
    if (isPatternKind(read.data.kind)) NormalizePattern(read.data);
    (void)writeUserDataFile(read.data);
    return 0;
}
