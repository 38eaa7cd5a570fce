// Exports whose work is not part of this build yet. Each fails cleanly with
// status 2 and its one message; none touches a file.
#include "evaluation_exports.h"
#include "failure.h"

namespace crv::engine {

namespace {
[[noreturn]] void notAvailable(const char* routine) {
    fail(routine, "This engine function is not available in this build.");
}
}  // namespace

void runGrid(const char*, Progress&, std::int32_t&) { notAvailable("Grid           "); }
void runEvaluate(const char*, Progress&, std::int16_t&) { notAvailable("Evaluate       "); }
void runB1_2Sig(const char*, Progress&, std::int16_t&, std::int32_t&) { notAvailable("B1_2Sig        "); }
void runB1_3Sig(const char*, Progress&, std::int16_t&, std::int32_t&) { notAvailable("B1_3Sig        "); }
void runGrndCOM(const char*, Progress&, std::int16_t&) { notAvailable("GrndCOM        "); }

}  // namespace crv::engine
