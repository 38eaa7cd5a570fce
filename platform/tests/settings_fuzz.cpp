// Fuzz entry: the settings file, read as the programs and the engine read it
// and then written once (a write re-reads the file and keeps every value).
#include <cstddef>
#include <cstdint>
#include <string>

#include "crv/platform/settings_store.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string path = crv::fuzz::scratchFile(data, size, "5.0.ini");
    crv::platform::SettingsStore store(path);
    if (!store.check()) return 0;
    (void)store.get("Paths", "FCC Database");
    (void)store.get("General", "Model Type");
    (void)store.values("Recent Files");
    (void)store.set("General", "Model Type", "SCI");
    return 0;
}
