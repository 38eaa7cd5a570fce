// Exports whose work is not part of this build yet. Each fails cleanly with
// status 2 and its one message; none writes a file. The evaluations read the
// case first, as they will when they are built, so a bad case is reported
// with its own message.
#include "case_input.h"
#include "evaluation_exports.h"
#include "failure.h"
#include "fixed_text.h"

namespace crv::engine {

namespace {
[[noreturn]] void notAvailable(const char* routine) {
    fail(routine, "This engine function is not available in this build.");
}
void readCase(const char* runFolder, const char* routine) {
    ReadData(sharedState(), argumentText(runFolder, 260, routine, "run folder"));
}
}  // namespace

void runGrid(const char* runFolder, Progress&, std::int32_t&) {
    readCase(runFolder, "Grid           ");
    notAvailable("Grid           ");
}
void runB1_2Sig(const char* runFolder, Progress&, std::int16_t&, std::int32_t&) {
    readCase(runFolder, "B1_2Sig        ");
    notAvailable("B1_2Sig        ");
}
void runB1_3Sig(const char* runFolder, Progress&, std::int16_t&, std::int32_t&) {
    readCase(runFolder, "B1_3Sig        ");
    notAvailable("B1_3Sig        ");
}
void runGrndCOM(const char* runFolder, Progress&, std::int16_t&) {
    readCase(runFolder, "GrndCOM        ");
    notAvailable("GrndCOM        ");
}

}  // namespace crv::engine
