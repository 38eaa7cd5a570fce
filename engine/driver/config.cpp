// "crv50 config": the path block and edition exactly as the engine loads them.
// Uses the engine's own loader so what is printed is what an export would see.
#include <cstdio>

#include "failure.h"
#include "paths.h"

int configCommand() {
    crv::engine::EngineState state;
    try {
        crv::engine::GetPaths(state);
    } catch (const crv::engine::EngineFailure& e) {
        std::fprintf(stderr, "crv50: %s\n", e.message().c_str());
        return 2;
    }
    const auto& p = state.paths;
    std::printf("fm_database=%s\nnavaid_database=%s\ncom_database=%s\n", p.fmDatabase.c_str(),
                p.navaidDatabase.c_str(), p.comDatabase.c_str());
    std::printf("data_folder=%s\noutput_folder=%s\nuser_folder=%s\ntemp_folder=%s\nedition=%s\n",
                p.dataFolder.c_str(), p.outputFolder.c_str(), p.userFolder.c_str(), p.tempFolder.c_str(),
                p.edition.c_str());
    return 0;
}
