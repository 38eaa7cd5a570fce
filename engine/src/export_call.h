#pragma once
// The boundary of every export: one call at a time, and nothing thrown inside
// ever reaches the C caller. Failures become status 2 after their one message,
// cancel requests status 1.
#include <cstdint>
#include <exception>
#include <new>
#include <string>
#include <string_view>

#include "crv50.h"
#include "failure.h"

namespace crv::engine {

// Marks the engine busy for the lifetime of the object; false from busy()
// means another export is already running in this process.
class ExportLock {
public:
    ExportLock();
    ~ExportLock();
    ExportLock(const ExportLock&) = delete;
    ExportLock& operator=(const ExportLock&) = delete;
    bool acquired() const { return acquired_; }

private:
    bool acquired_;
};

// The result files (plots) the running export has created. A call that fails
// part-way must not leave plots of its own beside a report it deleted, for a
// viewer to show as results: the boundary removes them all on failure. A
// cancel keeps the finished plots of an evaluation, as it always has.
void noteResultFile(const std::string& path);
void forgetResultFiles();
void removeResultFiles();

// Runs body() (which returns nothing and throws EngineFailure or
// CancelRequested) and returns the status.
template <class Body>
std::int16_t runExport(std::string_view routine, Body&& body) noexcept {
    try {
        ExportLock lock;
        if (!lock.acquired()) {
            ErrMsg(routine, "Another engine call is still running; wait for it to end.");
            return CRV_STATUS_FAILED;
        }
        forgetResultFiles();
        try {
            body();
            forgetResultFiles();
            return CRV_STATUS_DONE;
        } catch (const CancelRequested&) {
            forgetResultFiles();
            return CRV_STATUS_CANCELLED;
        } catch (const EngineFailure& e) {
            removeResultFiles();
            ErrMsg(e.routine(), e.message());
        } catch (const std::bad_alloc&) {
            removeResultFiles();
            ErrMsg(routine, "Could not allocate required memory.");
        } catch (const std::exception& e) {
            removeResultFiles();
            ErrMsg(routine, e.what());
        } catch (...) {
            removeResultFiles();
            ErrMsg(routine, "Unexpected internal error.");
        }
    } catch (...) {
        // Even the message failed; the status still tells the caller.
    }
    return CRV_STATUS_FAILED;
}

}  // namespace crv::engine
