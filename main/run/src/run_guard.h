#pragma once
// One search or run at a time: the guard every controller entry takes first.
#include "crv/main/run/run_controller.h"

namespace crv::main::run {

class RunGuard {
public:
    explicit RunGuard(RunController& c) : c_(c) {
        ok_ = !c.busy_ && !c.s_.engine->busy();
        if (!ok_) {
            c.s_.messages->present(engineBusyMessage());
            return;
        }
        c.busy_ = true;
        c.cancelRequested_ = false;
    }
    ~RunGuard() {
        if (ok_) c_.busy_ = false;
    }
    RunGuard(const RunGuard&) = delete;
    RunGuard& operator=(const RunGuard&) = delete;
    bool ok() const { return ok_; }

private:
    RunController& c_;
    bool ok_ = false;
};

}  // namespace crv::main::run
