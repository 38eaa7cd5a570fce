#pragma once
// What main() puts together, written once: the programs and the journey
// tests build the application from these two calls, so a journey runs the
// very program a person starts.
#include <memory>

#include "crv/resources/identity.h"

namespace crv::main::qt {

class Program;

// Before the QApplication exists: the edition handed down to the engine.
void prepareProcess(crv::resources::Edition edition);

// After the QApplication exists: the application's name, font, message boxes
// and quit rule, then the program with its run controller, editors and
// viewers, started and shown. The application ends only when the main window
// has closed (and run its shut-down savers); an editor or viewer that hid
// the main window never ends it, even when it was the last window shown.
class ProgramSetup {
public:
    explicit ProgramSetup(crv::resources::Edition edition);
    ~ProgramSetup();
    ProgramSetup(const ProgramSetup&) = delete;
    ProgramSetup& operator=(const ProgramSetup&) = delete;

    Program& program();

private:
    struct Parts;
    std::unique_ptr<Parts> parts_;
};

}  // namespace crv::main::qt
