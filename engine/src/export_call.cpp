#include "export_call.h"

#include <atomic>

namespace crv::engine {

namespace {
std::atomic<bool> engineBusy{false};
}

ExportLock::ExportLock() : acquired_(!engineBusy.exchange(true)) {}

ExportLock::~ExportLock() {
    if (acquired_) engineBusy.store(false);
}

}  // namespace crv::engine
