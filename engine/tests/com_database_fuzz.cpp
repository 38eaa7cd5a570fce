// Fuzz entry: the VHF COM database (118-136 MHz).
#include "database_fuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    return crv::fuzz::searchDatabase(CRV_DB_COM, "G118M136.dat", 122.85f, data, size);
}
