// Fuzz entry: the navaid database (108-118 MHz).
#include "database_fuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    return crv::fuzz::searchDatabase(CRV_DB_NAVAID, "A108M118.dat", 109.5f, data, size);
}
