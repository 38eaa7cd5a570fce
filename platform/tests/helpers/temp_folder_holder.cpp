// A process that makes its private temporary folder, puts a file in it,
// prints the folder and holds it until its standard input ends. Exit status
// 0 when the file was still there at the end, 3 when someone removed it, 2
// when no folder could be made.
#include <cstdio>
#include <fstream>
#include <string>

#include "crv/platform/temp_folder.h"

int main() {
    auto folder = crv::platform::privateTempFolder();
    if (!folder) {
        std::printf("error: %s\n", folder.error().c_str());
        return 2;
    }
    std::ofstream(*folder + "RfiSrch1.tmp") << "lines of a search in progress\n";
    std::printf("%s\n", folder->c_str());
    std::fflush(stdout);
    while (std::getchar() != EOF) {
    }
    return std::ifstream(*folder + "RfiSrch1.tmp").good() ? 0 : 3;
}
