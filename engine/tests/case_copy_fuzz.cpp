// Fuzz entry: the case copy "Rfi.plt" as the evaluations read it (ReadData).
#include <cstddef>
#include <cstdint>

#include "case_input.h"
#include "failure.h"
#include "fuzz_engine.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    crv::fuzz::engineInput(data, size, "run/Rfi.plt");
    crv::engine::EngineState state;
    try {
        crv::engine::ReadData(state, crv::fuzz::engineScratch().run);
    } catch (const crv::engine::EngineFailure&) {
    }
    return 0;
}
