#include "parallel.h"

#include <atomic>
#include <cstdlib>
#include <exception>
#include <mutex>
#include <thread>
#include <vector>

namespace crv::engine {

int threadCount() {
    if (const char* env = std::getenv("CRV_THREADS"); env && *env) {
        char* end = nullptr;
        long n = std::strtol(env, &end, 10);
        if (end && *end == '\0' && n > 0) return n > 256 ? 256 : static_cast<int>(n);
    }
    unsigned hw = std::thread::hardware_concurrency();
    return hw == 0 ? 1 : static_cast<int>(hw);
}

void parallelFor(std::size_t first, std::size_t last, const std::function<void(std::size_t)>& fn) {
    if (last <= first) return;
    const std::size_t count = last - first;
    const std::size_t workers = std::min<std::size_t>(static_cast<std::size_t>(threadCount()), count);
    if (workers <= 1) {
        for (std::size_t i = first; i < last; ++i) fn(i);
        return;
    }
    std::atomic<std::size_t> next{first};
    std::atomic<bool> stop{false};
    std::exception_ptr error;
    std::mutex errorMutex;
    auto work = [&] {
        for (;;) {
            if (stop.load(std::memory_order_relaxed)) return;
            const std::size_t i = next.fetch_add(1);
            if (i >= last) return;
            try {
                fn(i);
            } catch (...) {
                std::lock_guard lock(errorMutex);
                if (!error) error = std::current_exception();
                stop = true;
            }
        }
    };
    std::vector<std::thread> pool;
    pool.reserve(workers - 1);
    for (std::size_t t = 1; t < workers; ++t) pool.emplace_back(work);
    work();
    for (auto& th : pool) th.join();
    if (error) std::rethrow_exception(error);
}

}  // namespace crv::engine
