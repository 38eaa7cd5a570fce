// The worker pool behind parallelFor: every index runs once, whatever the
// thread count and however often it changes; the first failure comes back to
// the caller; a parallelFor inside the work runs on its own thread.
#include "parallel.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

namespace crv::engine {
namespace {

// Sets CRV_THREADS for a test and puts back what was there before.
struct ThreadsEnv {
    explicit ThreadsEnv(const char* n) {
        if (const char* old = std::getenv("CRV_THREADS")) before = old, had = true;
        ::setenv("CRV_THREADS", n, 1);
    }
    ~ThreadsEnv() {
        if (had) ::setenv("CRV_THREADS", before.c_str(), 1);
        else ::unsetenv("CRV_THREADS");
    }
    std::string before;
    bool had = false;
};

TEST(ParallelFor, EveryIndexOnceAcrossManyRoundsAndThreadCounts) {
    for (const char* threads : {"1", "3", "8", "2", "16"}) {
        ThreadsEnv env(threads);
        for (int round = 0; round < 200; ++round) {
            const std::size_t first = static_cast<std::size_t>(round % 5), last = first + static_cast<std::size_t>(round % 37);
            std::vector<std::atomic<int>> hits(last + 1);
            parallelFor(first, last, [&](std::size_t i) { hits[i].fetch_add(1); });
            for (std::size_t i = 0; i <= last; ++i) ASSERT_EQ(hits[i].load(), i >= first && i < last ? 1 : 0) << threads;
        }
    }
}

TEST(ParallelFor, TheFailureReachesTheCallerAndThePoolStaysUsable) {
    ThreadsEnv env("8");
    EXPECT_THROW(parallelFor(0, 1000,
                             [](std::size_t i) {
                                 if (i == 500) throw std::runtime_error("item 500");
                             }),
                 std::runtime_error);
    std::atomic<int> count{0};
    parallelFor(0, 1000, [&](std::size_t) { ++count; });
    EXPECT_EQ(count.load(), 1000);
}

TEST(ParallelFor, NestedCallsRunOnTheWorkersOwnThread) {
    ThreadsEnv env("4");
    std::atomic<int> count{0}, foreign{0};
    parallelFor(0, 16, [&](std::size_t) {
        const auto outer = std::this_thread::get_id();
        parallelFor(0, 10, [&](std::size_t) {
            if (std::this_thread::get_id() != outer) ++foreign;
            ++count;
        });
    });
    EXPECT_EQ(count.load(), 160);
    EXPECT_EQ(foreign.load(), 0);
}

TEST(ParallelFor, CallsFromTwoThreadsBothComplete) {
    ThreadsEnv env("4");
    std::atomic<long> sum{0};
    auto work = [&] {
        for (int r = 0; r < 50; ++r) parallelFor(0, 100, [&](std::size_t i) { sum += static_cast<long>(i); });
    };
    std::thread other(work);
    work();
    other.join();
    EXPECT_EQ(sum.load(), 2L * 50 * 4950);
}

}  // namespace
}  // namespace crv::engine
