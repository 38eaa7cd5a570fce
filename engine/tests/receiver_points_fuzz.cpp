// Fuzz entry: a receiver-point file (".plx") as the evaluations read it.
#include <cstddef>
#include <cstdint>

#include "failure.h"
#include "fuzz_engine.h"
#include "receiver_point_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string path = crv::fuzz::engineInput(data, size, "run/Rcvr_Loc.plx");
    try {
        (void)crv::engine::readReceiverPointFile(path, "Evaluate       ");
    } catch (const crv::engine::EngineFailure&) {
    }
    return 0;
}
