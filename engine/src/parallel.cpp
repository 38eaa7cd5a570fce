#include "parallel.h"

#include <algorithm>
#include <atomic>
#include <chrono>
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

// Watches ready() for up to 2 ms; false when it did not come true, and the
// caller then sleeps until woken. Parallel rounds often follow each other within a millisecond (a round's
// results are written out on the calling thread, then the next starts); a
// thread that sleeps must be woken through the kernel, which on a virtual
// machine costs as much as a small round's work, so a thread keeps watching
// for that long first. With more threads than cores a spinning thread would
// hold a core another one needs, so then nobody spins.
template <class Ready>
bool spinUntil(bool spin, Ready ready) {
    if (!spin) return ready();
    using Clock = std::chrono::steady_clock;
    constexpr auto kSpin = std::chrono::microseconds(2000);
    const auto until = Clock::now() + kSpin;
    for (int i = 1;; ++i) {
        if (ready()) return true;
#if defined(__x86_64__) || defined(__i386__)
        __builtin_ia32_pause();
#endif
        if (i % 64 == 0 && Clock::now() > until) return false;
    }
}

// The worker threads, started on first use and kept for the life of the
// process: an export makes thousands of short parallel rounds, and starting
// threads for each of them cost more than the rounds' work on a small case.
class WorkerPool {
public:
    ~WorkerPool() {
        {
            std::lock_guard lock(mutex_);
            quit_ = true;
            generation_.fetch_add(1, std::memory_order_release);
        }
        wake_.notify_all();
        for (auto& t : threads_) t.join();
    }

    // Runs job on the calling thread and helpers - 1 workers.
    void run(std::size_t helpers, const std::function<void()>& job) {
        std::lock_guard callLock(callMutex_);  // one parallel round at a time
        {
            std::lock_guard lock(mutex_);
            while (threads_.size() < helpers - 1) {
                const std::size_t index = threads_.size();
                threads_.emplace_back([this, index] { workerLoop(index); });
            }
            job_ = &job;
            wanted_ = helpers - 1;
            const unsigned cores = std::thread::hardware_concurrency();
            spin_.store(cores == 0 || helpers <= cores, std::memory_order_relaxed);
            busy_.store(wanted_, std::memory_order_relaxed);
            generation_.fetch_add(1, std::memory_order_release);
        }
        wake_.notify_all();  // no system call when every worker is still spinning

        insideWork = true;
        job();
        insideWork = false;

        if (!spinUntil(spin_.load(std::memory_order_relaxed),
                       [&] { return busy_.load(std::memory_order_acquire) == 0; })) {
            std::unique_lock lock(mutex_);
            done_.wait(lock, [&] { return busy_.load(std::memory_order_acquire) == 0; });
        }
    }

private:
    void workerLoop(std::size_t index) {
        std::uint64_t seen = 0;
        for (;;) {
            const auto fresh = [&] { return generation_.load(std::memory_order_acquire) != seen; };
            if (!spinUntil(spin_.load(std::memory_order_relaxed), fresh)) {
                std::unique_lock lock(mutex_);
                wake_.wait(lock, fresh);
            }
            const std::function<void()>* job = nullptr;
            {
                std::lock_guard lock(mutex_);
                if (quit_) return;
                seen = generation_.load(std::memory_order_relaxed);
                if (index >= wanted_) continue;  // this round needs fewer threads
                job = job_;
            }
            insideWork = true;
            (*job)();
            insideWork = false;
            if (busy_.fetch_sub(1, std::memory_order_acq_rel) == 1) {
                std::lock_guard lock(mutex_);  // the caller is either still spinning or waiting on done_
                done_.notify_one();
            }
        }
    }

    std::mutex callMutex_;
    std::mutex mutex_;
    std::condition_variable wake_, done_;
    std::vector<std::thread> threads_;
    const std::function<void()>* job_ = nullptr;
    std::size_t wanted_ = 0;
    std::atomic<std::size_t> busy_{0};
    std::atomic<std::uint64_t> generation_{0};
    std::atomic<bool> spin_{true};
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
