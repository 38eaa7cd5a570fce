#pragma once
// Binds the search and run controller into a program: the engine, the
// progress window, the questions it asks through the program's dialogs, the
// result viewers of the program's entry table, and the navaid rules of the
// selection list. Built only with the run controller's library.
#include <memory>

namespace crv::binding {
class EngineApi;
}
namespace crv::main::run {
class RunController;
}
namespace crv::common::ui {
class frmProgress;
}

namespace crv::main::qt {

class Program;
class QtRunQuestions;

class RunWiring {
public:
    RunWiring(Program& program, crv::binding::EngineApi& engine);
    ~RunWiring();
    RunWiring(const RunWiring&) = delete;
    RunWiring& operator=(const RunWiring&) = delete;

    QtRunQuestions& questions();
    crv::main::run::RunController& controller();
    crv::common::ui::frmProgress& progress();

private:
    struct Parts;
    std::unique_ptr<Parts> parts_;
};

}  // namespace crv::main::qt
