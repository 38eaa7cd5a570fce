#include "parallel.h"

#include <linux/futex.h>
#include <sys/syscall.h>
#include <sched.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <climits>
#include <cstdint>
#include <cstdlib>
#include <exception>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace crv::engine {

namespace {

// True on a thread while it runs work of a parallel call: a parallel call made
// from inside one runs on that thread alone.
thread_local bool insideWork = false;

// A counter that threads wait on to change. A waiting thread watches it for a
// while and then sleeps in the kernel, so an idle or blocked thread gives its
// core back (a spinning thread would take the core from a thread that has
// work, and on a laptop it costs battery). For the first tens of microseconds
// it only watches: a hand-over between threads is often that quick. Then,
// up to half a millisecond, it offers its core to any other thread that
// wants it between looks: the work between two parallel calls (a file read,
// a sort, a report) often takes that long, and a core whose thread slept is
// slow to wake (on a virtual machine a sleeping core is given back to the
// host: waking it took longer than many calls' work, and every call paid
// it). Signalling costs no system call while nobody sleeps.
class Event {
public:
    std::uint32_t value() const { return seq_.load(std::memory_order_acquire); }

    // Returns once the counter is no longer `seen` (or, rarely, spuriously:
    // callers re-check their condition).
    void wait(std::uint32_t seen) {
        using Clock = std::chrono::steady_clock;
        constexpr auto kWatchOnly = std::chrono::microseconds(50);
        constexpr auto kWatch = std::chrono::microseconds(500);
        const auto start = Clock::now();
        for (int i = 1;; ++i) {
            if (seq_.load(std::memory_order_acquire) != seen) return;
#if defined(__x86_64__) || defined(__i386__)
            __builtin_ia32_pause();
#endif
            if (i % 32 == 0) {
                const auto waited = Clock::now() - start;
                if (waited > kWatch) break;
                if (waited > kWatchOnly) ::sched_yield();
            }
        }
        // Announce the sleep before the last look, and the signaller bumps
        // the counter before it looks for sleepers (both sequentially
        // consistent): either it sees this sleeper or this look sees the new
        // count. The kernel re-checks the word, so a wake between the look
        // and the sleep is not lost.
        waiters_.fetch_add(1, std::memory_order_seq_cst);
        if (seq_.load(std::memory_order_seq_cst) == seen)
            ::syscall(SYS_futex, reinterpret_cast<std::uint32_t*>(&seq_), FUTEX_WAIT_PRIVATE, seen, nullptr, nullptr, 0);
        waiters_.fetch_sub(1, std::memory_order_relaxed);
    }

    void signal() {
        seq_.fetch_add(1, std::memory_order_seq_cst);
        if (waiters_.load(std::memory_order_seq_cst) > 0)
            ::syscall(SYS_futex, reinterpret_cast<std::uint32_t*>(&seq_), FUTEX_WAKE_PRIVATE, INT_MAX, nullptr, nullptr,
                      0);
    }

private:
    static_assert(sizeof(std::atomic<std::uint32_t>) == sizeof(std::uint32_t));
    std::atomic<std::uint32_t> seq_{0};
    std::atomic<int> waiters_{0};
};

// Waits until done() holds, re-checking each time the event moves.
template <class Done>
void waitFor(Event& event, Done done) {
    for (;;) {
        const std::uint32_t seen = event.value();
        if (done()) return;
        event.wait(seen);
    }
}

// The worker threads, started on first use and kept for the life of the
// process (starting threads for every parallel call cost more than a small
// call's work).
//
// A call is one round: its work goes out to the workers, the calling thread
// takes part, and the round ends as soon as all its items are finished. A
// worker that has not yet found the round when the caller runs out of items
// (asleep, or waiting for a core the machine gave to something else) does
// not join it any more, so nobody waits for a thread that has nothing to do.
class WorkerPool {
public:
    ~WorkerPool() {
        quit_.store(true, std::memory_order_release);
        round_.signal();
        for (auto& t : threads_) t.join();
    }

    // Runs workerJob on up to helpers - 1 workers and callerJob on the calling
    // thread. Each job takes items until none are left. Returns when the
    // calling thread's job has returned and no worker is inside its job.
    void run(std::size_t helpers, const std::function<void()>& workerJob, const std::function<void()>& callerJob) {
        std::lock_guard callLock(callMutex_);  // one round at a time
        const std::uint32_t id = round_.value() + 1;
        while (threads_.size() < helpers - 1) {
            const std::size_t index = threads_.size();
            threads_.emplace_back([this, index, seen = id - 1] { workerLoop(index, seen); });
        }
        job_ = &workerJob;
        wanted_.store(helpers - 1, std::memory_order_relaxed);
        state_.store(std::uint64_t{id} << 32, std::memory_order_release);  // open, nobody inside
        round_.signal();

        // The round is closed and its workers gone before this returns, even
        // when the caller's job throws: they use the caller's variables.
        struct Close {
            WorkerPool& pool;
            ~Close() {
                insideWork = false;
                pool.state_.fetch_or(kClosed, std::memory_order_acq_rel);
                waitFor(pool.idle_, [&] { return (pool.state_.load(std::memory_order_acquire) & kActive) == 0; });
            }
        } close{*this};
        insideWork = true;
        callerJob();
    }

private:
    static constexpr std::uint64_t kClosed = std::uint64_t{1} << 31;
    static constexpr std::uint64_t kActive = kClosed - 1;

    void workerLoop(std::size_t index, std::uint32_t seen) {
        for (;;) {
            waitFor(round_, [&] { return round_.value() != seen || quit_.load(std::memory_order_acquire); });
            if (quit_.load(std::memory_order_acquire)) return;
            seen = round_.value();
            if (index >= wanted_.load(std::memory_order_relaxed)) continue;  // a round for fewer threads
            // Join the round only while it is open.
            std::uint64_t s = state_.load(std::memory_order_acquire);
            bool joined = false;
            while ((s >> 32) == seen && (s & kClosed) == 0) {
                if (state_.compare_exchange_weak(s, s + 1, std::memory_order_acq_rel)) {
                    joined = true;
                    break;
                }
            }
            if (!joined) continue;
            insideWork = true;
            (*job_)();
            insideWork = false;
            const std::uint64_t left = state_.fetch_sub(1, std::memory_order_acq_rel) - 1;
            if ((left & kActive) == 0 && (left & kClosed) != 0) idle_.signal();
        }
    }

    std::mutex callMutex_;
    std::vector<std::thread> threads_;
    const std::function<void()>* job_ = nullptr;
    std::atomic<std::size_t> wanted_{0};
    Event round_;  // its value is the current round's id
    Event idle_;   // signalled when the last worker leaves a closed round
    // The current round's id (high half), whether it is closed, and how many
    // workers are inside it.
    std::atomic<std::uint64_t> state_{0};
    std::atomic<bool> quit_{false};
};

WorkerPool& pool() {
    static WorkerPool p;
    return p;
}

std::size_t workersFor(std::size_t count) {
    return insideWork ? 1 : std::min<std::size_t>(static_cast<std::size_t>(threadCount()), count);
}

// The first failure of a call, and the flag that stops the others taking work.
class FirstError {
public:
    void set(std::exception_ptr e) {
        {
            std::lock_guard lock(mutex_);
            if (!error_) error_ = std::move(e);
        }
        stop_.store(true, std::memory_order_release);
    }
    bool stopped() const { return stop_.load(std::memory_order_acquire); }
    void rethrow() {
        if (error_) std::rethrow_exception(error_);
    }

private:
    std::mutex mutex_;
    std::exception_ptr error_;
    std::atomic<bool> stop_{false};
};

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
    parallelFor(first, last, fn, {});
}

void parallelFor(std::size_t first, std::size_t last, const std::function<void(std::size_t)>& fn,
                 const std::function<void(std::size_t done)>& poll) {
    if (last <= first) return;
    const std::size_t count = last - first;
    const std::size_t workers = workersFor(count);
    if (workers <= 1) {
        for (std::size_t i = first; i < last; ++i) {
            fn(i);
            if (poll) poll(i - first + 1);
        }
        return;
    }
    std::atomic<std::size_t> next{first}, done{0};
    FirstError error;
    bool polled = false;
    // Items are taken one at a time, so a thread that loses its core holds
    // up at most the item it has.
    const auto take = [&](bool caller) {
        for (;;) {
            if (error.stopped()) return;
            const std::size_t i = next.fetch_add(1, std::memory_order_relaxed);
            if (i >= last) return;
            try {
                fn(i);
                const std::size_t finished = done.fetch_add(1, std::memory_order_relaxed) + 1;
                if (caller && poll) {
                    polled = true;
                    poll(finished);
                }
            } catch (...) {
                error.set(std::current_exception());
            }
        }
    };
    const std::function<void()> workerJob = [&] { take(false); };
    const std::function<void()> callerJob = [&] { take(true); };
    pool().run(workers, workerJob, callerJob);
    error.rethrow();
    if (poll && !polled) poll(count);  // the other threads took every item
}

void parallelOrdered(std::size_t count, std::size_t ahead, const std::function<void(std::size_t)>& produce,
                     const std::function<void(std::size_t)>& consume) {
    if (count == 0) return;
    ahead = std::max<std::size_t>(ahead, 1);
    const std::size_t workers = workersFor(count);
    if (workers <= 1) {
        for (std::size_t i = 0; i < count; ++i) {
            produce(i);
            consume(i);
        }
        return;
    }
    // done[i % ahead] holds i + 1 once item i is produced.
    const std::unique_ptr<std::atomic<std::size_t>[]> done(new std::atomic<std::size_t>[ahead]);
    for (std::size_t k = 0; k < ahead; ++k) done[k].store(0, std::memory_order_relaxed);
    std::atomic<std::size_t> next{0};      // the next item to produce
    std::atomic<std::size_t> consumed{0};  // items consumed so far
    Event producedEvent, consumedEvent;
    FirstError error;

    enum class Take { Item, Full, None };
    const auto take = [&](std::size_t& item) {
        std::size_t i = next.load(std::memory_order_relaxed);
        for (;;) {
            if (error.stopped() || i >= count) return Take::None;
            if (i >= consumed.load(std::memory_order_acquire) + ahead) return Take::Full;
            if (next.compare_exchange_weak(i, i + 1, std::memory_order_relaxed)) {
                item = i;
                return Take::Item;
            }
        }
    };
    const auto make = [&](std::size_t i) {
        try {
            produce(i);
            done[i % ahead].store(i + 1, std::memory_order_release);
        } catch (...) {
            error.set(std::current_exception());
        }
        producedEvent.signal();
    };
    const std::function<void()> workerJob = [&] {
        for (;;) {
            const std::uint32_t seen = consumedEvent.value();
            std::size_t i = 0;
            const Take t = take(i);
            if (t == Take::None) return;
            if (t == Take::Item) make(i);
            else consumedEvent.wait(seen);  // the window is full: wait for the writer
        }
    };
    const std::size_t wakeStep = std::max<std::size_t>(1, ahead / 8);
    const std::function<void()> callerJob = [&] {
        for (std::size_t i = 0; i < count && !error.stopped();) {
            const std::uint32_t seen = producedEvent.value();
            if (done[i % ahead].load(std::memory_order_acquire) == i + 1) {
                try {
                    consume(i);
                } catch (...) {
                    error.set(std::current_exception());
                    break;
                }
                consumed.store(++i, std::memory_order_release);
                // Threads waiting for room are woken once a part of the
                // window is free, not for every item (a wake is a system call).
                if (i % wakeStep == 0) consumedEvent.signal();
                continue;
            }
            // The next item is not ready: help with the work, or wait for it.
            std::size_t j = 0;
            if (take(j) == Take::Item) make(j);
            else producedEvent.wait(seen);
        }
        consumedEvent.signal();  // at the end or after a failure, wake the workers waiting for room
    };
    pool().run(workers, workerJob, callerJob);
    error.rethrow();
}

}  // namespace crv::engine
