#include "parallel.h"

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <cstdlib>
#include <exception>
#include <mutex>
#include <thread>
#include <vector>

namespace crv::engine {

namespace {

// True on a thread while it runs work of a parallelFor: a parallelFor called
// from inside one runs on that thread alone.
thread_local bool insideWork = false;

// The worker threads, started on first use and kept for the life of the
// process: an export makes thousands of short parallel rounds, and starting
// threads for each of them cost more than the rounds' work on a small case.
class WorkerPool {
public:
    ~WorkerPool() {
        {
            std::lock_guard lock(mutex_);
            quit_ = true;
        }
        wake_.notify_all();
        for (auto& t : threads_) t.join();
    }

    // Runs job on the calling thread and helpers - 1 workers.
    void run(std::size_t helpers, const std::function<void()>& job) {
        std::lock_guard callLock(callMutex_);  // one parallel round at a time
        std::unique_lock lock(mutex_);
        while (threads_.size() < helpers - 1) {
            const std::size_t index = threads_.size();
            threads_.emplace_back([this, index] { workerLoop(index); });
        }
        job_ = &job;
        wanted_ = helpers - 1;
        busy_ = wanted_;
        ++generation_;
        lock.unlock();
        wake_.notify_all();

        insideWork = true;
        job();
        insideWork = false;

        lock.lock();
        done_.wait(lock, [&] { return busy_ == 0; });
        job_ = nullptr;
    }

private:
    void workerLoop(std::size_t index) {
        std::uint64_t seen = 0;
        std::unique_lock lock(mutex_);
        for (;;) {
            wake_.wait(lock, [&] { return quit_ || generation_ != seen; });
            if (quit_) return;
            seen = generation_;
            if (index >= wanted_) continue;  // this round needs fewer threads
            const std::function<void()>* job = job_;
            lock.unlock();
            insideWork = true;
            (*job)();
            insideWork = false;
            lock.lock();
            if (--busy_ == 0) done_.notify_one();
        }
    }

    std::mutex callMutex_;
    std::mutex mutex_;
    std::condition_variable wake_, done_;
    std::vector<std::thread> threads_;
    const std::function<void()>* job_ = nullptr;
    std::size_t wanted_ = 0, busy_ = 0;
    std::uint64_t generation_ = 0;
    bool quit_ = false;
};

WorkerPool& pool() {
    static WorkerPool p;
    return p;
}

}  // namespace

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
    const std::size_t workers = insideWork ? 1 : std::min<std::size_t>(static_cast<std::size_t>(threadCount()), count);
    if (workers <= 1) {
        for (std::size_t i = first; i < last; ++i) fn(i);
        return;
    }
    std::atomic<std::size_t> next{first};
    std::atomic<bool> stop{false};
    std::exception_ptr error;
    std::mutex errorMutex;
    const std::function<void()> work = [&] {
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
    pool().run(workers, work);
    if (error) std::rethrow_exception(error);
}

}  // namespace crv::engine
