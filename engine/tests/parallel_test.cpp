// The worker pool behind parallelFor and parallelOrdered: every index runs
// once, whatever the thread count and however often it changes; ordered
// results reach the caller in order and are never overwritten before they
// are used; progress polls run on the calling thread; the first failure comes
// back to the caller; a parallel call inside the work runs on its own thread.
#include "parallel.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <mutex>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "crv/testing/scoped_env.h"

namespace crv::engine {
namespace {

// CRV_THREADS for a test, put back afterwards.
struct ThreadsEnv : crv::testing::ScopedEnv {
    explicit ThreadsEnv(const char* n) : ScopedEnv("CRV_THREADS", n) {}
};

TEST(ParallelFor, EveryIndexOnceAcrossManyRoundsAndThreadCounts) {
    for (const char* threads : {"1", "3", "8", "2", "16"}) {
        ThreadsEnv env(threads);
        for (int round = 0; round < 200; ++round) {
            const std::size_t first = static_cast<std::size_t>(round % 5),
                              last = first + static_cast<std::size_t>(round % 37);
            std::vector<std::atomic<int>> hits(last + 1);
            parallelFor(first, last, [&](std::size_t i) { hits[i].fetch_add(1); });
            for (std::size_t i = 0; i <= last; ++i)
                ASSERT_EQ(hits[i].load(), i >= first && i < last ? 1 : 0) << threads;
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

TEST(ParallelFor, PollRunsOnTheCallingThreadWithRisingCounts) {
    for (const char* threads : {"1", "4", "16"}) {
        ThreadsEnv env(threads);
        for (const std::size_t count : {std::size_t{1}, std::size_t{7}, std::size_t{500}}) {
            const auto caller = std::this_thread::get_id();
            std::atomic<int> ran{0};
            std::vector<std::size_t> seen;
            bool foreign = false;
            parallelFor(
                10, 10 + count, [&](std::size_t) { ++ran; },
                [&](std::size_t done) {
                    foreign = foreign || std::this_thread::get_id() != caller;
                    seen.push_back(done);
                });
            EXPECT_EQ(ran.load(), static_cast<int>(count)) << threads;
            ASSERT_FALSE(seen.empty()) << threads << " " << count;  // at least once, however the items fell
            EXPECT_FALSE(foreign);
            EXPECT_TRUE(std::is_sorted(seen.begin(), seen.end()));
            EXPECT_LE(seen.back(), count);
        }
    }
}

TEST(ParallelFor, AFailingPollStopsTheWork) {
    ThreadsEnv env("4");
    std::atomic<int> ran{0};
    std::atomic<bool> pollRan{false};
    const auto caller = std::this_thread::get_id();
    // The other threads hold their first item until the caller's poll has
    // run, so on a loaded machine they cannot finish every item before it.
    const auto item = [&](std::size_t) {
        const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(30);
        while (std::this_thread::get_id() != caller && !pollRan.load() && std::chrono::steady_clock::now() < until)
            std::this_thread::yield();
        ++ran;
    };
    EXPECT_THROW(parallelFor(0, 100000, item,
                             [&](std::size_t) {
                                 pollRan = true;
                                 throw std::runtime_error("cancel");
                             }),
                 std::runtime_error);
    EXPECT_LT(ran.load(), 100000);
}

// Each item is produced into slot i % ahead and checked when consumed: an item
// produced too far ahead would overwrite one not yet consumed.
TEST(ParallelOrdered, ConsumesInOrderAndNeverOverrunsTheWindow) {
    struct Case {
        const char* threads;
        std::size_t count, ahead;
    };
    for (const Case c : {Case{"1", 50, 4}, Case{"3", 1, 1}, Case{"4", 1000, 1}, Case{"8", 1000, 7}, Case{"8", 5000, 64},
                         Case{"16", 300, 1000}}) {
        ThreadsEnv env(c.threads);
        std::vector<std::size_t> slot(c.ahead, SIZE_MAX);
        std::vector<std::size_t> consumed;
        std::atomic<int> produced{0};
        bool overrun = false;
        parallelOrdered(
            c.count, c.ahead,
            [&](std::size_t i) {
                slot[i % c.ahead] = i;
                ++produced;
            },
            [&](std::size_t i) {
                overrun = overrun || slot[i % c.ahead] != i;
                consumed.push_back(i);
            });
        EXPECT_FALSE(overrun) << c.threads << " " << c.count << " " << c.ahead;
        EXPECT_EQ(produced.load(), static_cast<int>(c.count));
        ASSERT_EQ(consumed.size(), c.count);
        for (std::size_t i = 0; i < c.count; ++i) ASSERT_EQ(consumed[i], i);
    }
}

TEST(ParallelOrdered, AFailureOnEitherSideReachesTheCallerAndThePoolStaysUsable) {
    ThreadsEnv env("8");
    EXPECT_THROW(parallelOrdered(
                     1000, 16,
                     [](std::size_t i) {
                         if (i == 300) throw std::runtime_error("produce 300");
                     },
                     [](std::size_t) {}),
                 std::runtime_error);
    std::size_t last = 0;
    EXPECT_THROW(parallelOrdered(
                     1000, 16, [](std::size_t) {},
                     [&](std::size_t i) {
                         last = i;
                         if (i == 40) throw std::logic_error("consume 40");
                     }),
                 std::logic_error);
    EXPECT_EQ(last, 40u);  // nothing consumed after the failure
    std::atomic<int> count{0};
    parallelOrdered(
        1000, 16, [&](std::size_t) { ++count; }, [](std::size_t) {});
    EXPECT_EQ(count.load(), 1000);
}

}  // namespace
}  // namespace crv::engine
