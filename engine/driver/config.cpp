// "crv50 config": the path block and edition exactly as the engine loads them.
// Uses the engine's own loader so what is printed is what an export would see.
#include <cstdio>

#include "failure.h"
#include "output.h"
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
    using crv::driver::printValue;
    printValue("fm_database", p.fmDatabase);
    printValue("navaid_database", p.navaidDatabase);
    printValue("com_database", p.comDatabase);
    printValue("data_folder", p.dataFolder);
    printValue("output_folder", p.outputFolder);
    printValue("user_folder", p.userFolder);
    printValue("temp_folder", p.tempFolder);
    printValue("edition", p.edition);
    return 0;
}
