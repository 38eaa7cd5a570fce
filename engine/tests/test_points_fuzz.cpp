// Fuzz entry: the user-defined receiver points "RcvrTest.pts", read by the
// grid export for grid type 8 with a fixed ILS case.
#include <cstddef>
#include <cstdint>
#include <string>

#include "crv50.h"
#include "fuzz_engine.h"

namespace {
// A standard ILS volume and grid type 8 (user-defined points), no station.
const char kCase[] =
    "CRV Version 5.0.6\r\n"
    " ILX 123 110.100  40 30 15   75 20 30   500  8000 100  1  0   0     0\r\n"
    " $$$$\r\n"
    "  8  0  1  1  1  1  3000  45  1000 500  0  0\r\n"
    " CASE            SITE                      01/01/24\r\n";
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const bool ready = [] {
        crv::fuzz::engineInput(reinterpret_cast<const std::uint8_t*>(kCase), sizeof kCase - 1, "run/Rfi.plt");
        return true;
    }();
    (void)ready;
    crv::fuzz::engineInput(data, size, "user/RcvrTest.pts");
    std::int16_t status = 0;
    std::int32_t points = 0;
    Grid(crv::fuzz::engineScratch().run.c_str(), nullptr, &status, &points);
    return 0;
}
