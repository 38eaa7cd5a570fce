#pragma once
// Binds libcrv50.so by name at run time, the way the programs do: the library
// beside the executable first, then the system's search path.
#include <string>

#include "crv50.h"

namespace crv::driver {

struct EngineFunctions {
    decltype(&::Grid) grid = nullptr;
    decltype(&::Evaluate) evaluate = nullptr;
    decltype(&::B1_2Sig) b1_2sig = nullptr;
    decltype(&::B1_3Sig) b1_3sig = nullptr;
    decltype(&::GrndCOM) grndcom = nullptr;
    decltype(&::SearchDB) searchdb = nullptr;
    decltype(&::SortFile) sortfile = nullptr;
    decltype(&::DistLL) distll = nullptr;
    decltype(&::LLDist) lldist = nullptr;
};

// Loads the library and every export; false with `error` set when any is missing.
bool bindEngine(EngineFunctions& f, std::string& error);

}  // namespace crv::driver
