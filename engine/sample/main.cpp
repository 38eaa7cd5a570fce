// crv_sample FOLDER: writes the sample workspace into FOLDER:
//   db/     FMALL.dat (long layout), FMSHORT.dat (short layout), A108M118.dat, G118M136.dat
//   User/   LocHor.pat, FmHor01-03.pat, FmVrt1-6.pat, Antenna.cal, Receiver.cal, RcvrTest.pts
//   Data/   SampleILS.dat, SampleVOR.dat, SampleCOM.dat (finished cases)
//   Output/ empty
// Everything is invented (call signs, names, identifiers, region) and comes
// from fixed seeds: two runs write the same bytes.
#include <cstdio>
#include <filesystem>
#include <string>

#include "sample_common.h"

int main(int argc, char** argv) {
    if (argc != 2 || std::string(argv[1]) == "--help") {
        std::fputs("usage: crv_sample FOLDER\n  writes the sample databases, user files and cases into FOLDER\n",
                   argc == 2 ? stdout : stderr);
        return argc == 2 ? 0 : 2;
    }
    std::string root = argv[1];
    if (root.back() != '/') root += '/';
    std::error_code ec;
    for (const char* sub : {"db", "User", "Data", "Output"}) {
        std::filesystem::create_directories(root + sub, ec);
        if (ec) {
            std::fprintf(stderr, "crv_sample: could not create %s%s: %s\n", root.c_str(), sub, ec.message().c_str());
            return 2;
        }
    }
    if (!crv::sample::writeDatabases(root + "db/") || !crv::sample::writeUserFiles(root + "User/") ||
        !crv::sample::writeCases(root + "Data/"))
        return 2;
    std::printf("sample workspace written to %s\n", root.c_str());
    return 0;
}
