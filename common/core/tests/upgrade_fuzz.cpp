// Fuzz entry: old case data files through the version test and the upgrade,
// in memory and on disk (the backup beside the file included).
#include <cstdint>
#include <filesystem>

#include "crv/common/case_file_upgrade.h"
#include "crv/common/data_file_read.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace crv::common;
    const std::string path = crv::fuzz::scratchFile(data, size, "case.dat");
    const auto lines = splitLines(std::string_view(reinterpret_cast<const char*>(data), size));
    const int version = lines.empty() ? -1 : GetFileVersion(lines.front());
    for (int v : {-1, 0, 1}) (void)upgradeCaseLines(lines, v);
    (void)UpgradeDataFile(path, version);
    // Backups would pile up over a run and end in "no free backup name".
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(crv::fuzz::scratchFolder(), ec))
        std::filesystem::remove(entry.path(), ec);
    return 0;
}
