// Fuzz entry: the FM station database (short and long layout).
#include "database_fuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    return crv::fuzz::searchDatabase(CRV_DB_FM, "FMALL.dat", 97.7f, data, size);
}
