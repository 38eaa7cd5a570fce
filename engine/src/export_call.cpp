#include "export_call.h"

#include <atomic>
#include <cstdio>
#include <mutex>
#include <vector>

namespace crv::engine {

namespace {
std::atomic<bool> engineBusy{false};

// Exports run one at a time; the lock is for plots written from a worker.
std::mutex resultMutex;
std::vector<std::string> resultFiles;
}  // namespace

void noteResultFile(const std::string& path) {
    std::lock_guard lock(resultMutex);
    resultFiles.push_back(path);
}

void forgetResultFiles() {
    std::lock_guard lock(resultMutex);
    resultFiles.clear();
}

void removeResultFiles() {
    std::lock_guard lock(resultMutex);
    for (const auto& path : resultFiles) std::remove(path.c_str());
    resultFiles.clear();
}

ExportLock::ExportLock() : acquired_(!engineBusy.exchange(true)) {}

ExportLock::~ExportLock() {
    if (acquired_) engineBusy.store(false);
}

}  // namespace crv::engine
