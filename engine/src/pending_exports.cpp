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

void runEvaluate(const char* runFolder, Progress&, std::int16_t&) {
    readCase(runFolder, "Evaluate       ");
    notAvailable("Evaluate       ");
}

}  // namespace crv::engine
