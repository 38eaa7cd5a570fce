// Huge blocks given back are kept a short while and handed out again, within
// a limit, and go back to the system when nothing has used them for the keep
// period (3 s in the programs, set short here so the test need not wait it
// out).
#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <thread>
#include <vector>

#include "large_memory.h"

namespace crv::engine {
namespace {

constexpr std::size_t kMiB = std::size_t{1} << 20;

// Whether this build keeps blocks at all (a sanitizer build gives every block
// back at once, so that a use after the free is caught).
bool keeps() {
    void* p = allocateLarge(3 * kMiB);
    const std::size_t before = keptLargeBytes();
    freeLarge(p);
    return keptLargeBytes() > before;
}

// The keep period for a scope; the old one comes back afterwards, so the
// other tests see blocks kept as the programs keep them.
class ScopedKeepPeriod {
public:
    explicit ScopedKeepPeriod(std::chrono::milliseconds period) : old_(largeKeepPeriod()) {
        setLargeKeepPeriod(period);
    }
    ~ScopedKeepPeriod() { setLargeKeepPeriod(old_); }
    ScopedKeepPeriod(const ScopedKeepPeriod&) = delete;
    ScopedKeepPeriod& operator=(const ScopedKeepPeriod&) = delete;

private:
    std::chrono::milliseconds old_;
};

bool waitUntilNothingKept(std::chrono::seconds timeout) {
    const auto until = std::chrono::steady_clock::now() + timeout;
    while (keptLargeBytes() > 0) {
        if (std::chrono::steady_clock::now() > until) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return true;
}

TEST(LargeMemory, AGivenBackBlockIsHandedOutAgainForANearSize) {
    if (!keeps()) GTEST_SKIP() << "this build gives blocks back at once";
    auto* p = static_cast<char*>(allocateLarge(20 * kMiB));
    std::memset(p, 1, 20 * kMiB);
    freeLarge(p);
    const std::size_t kept = keptLargeBytes();
    EXPECT_GE(kept, 20 * kMiB);

    // A far smaller request does not take it; a near one does.
    void* small = allocateLarge(2 * kMiB);
    EXPECT_NE(small, p);
    void* again = allocateLarge(20 * kMiB - 100);
    EXPECT_EQ(again, p);
    EXPECT_LE(keptLargeBytes(), kept - 20 * kMiB);
    freeLarge(small);
    freeLarge(again);
}

TEST(LargeMemory, TheProgramsKeepBlocksForThreeSeconds) {
    EXPECT_EQ(largeKeepPeriod(), std::chrono::seconds(3));
    {
        ScopedKeepPeriod shortly(std::chrono::milliseconds(20));
        EXPECT_EQ(largeKeepPeriod(), std::chrono::milliseconds(20));
    }
    EXPECT_EQ(largeKeepPeriod(), std::chrono::seconds(3));
}

TEST(LargeMemory, BlocksBeyondTheLimitAreNotKept) {
    if (!keeps()) GTEST_SKIP() << "this build gives blocks back at once";
    const std::size_t before = keptLargeBytes();
    void* p = allocateLarge(std::size_t{1} << 30);  // never touched: no memory used
    freeLarge(p);
    EXPECT_EQ(keptLargeBytes(), before);
}

TEST(LargeMemory, ManyThreadsShareTheKeptBlocksAndAllGoBackAtLast) {
    std::vector<std::thread> threads;
    for (int t = 0; t < 8; ++t)
        threads.emplace_back([t] {
            for (int i = 0; i < 50; ++i) {
                const std::size_t bytes = (1 + static_cast<std::size_t>((t + i) % 5)) * kMiB;
                auto* p = static_cast<char*>(allocateLarge(bytes));
                p[0] = p[bytes - 1] = static_cast<char>(i);
                freeLarge(p);
            }
        });
    for (auto& t : threads) t.join();
    // Set after the blocks went back: a shorter period applies to the blocks
    // already kept, counted from their last use.
    ScopedKeepPeriod shortly(std::chrono::milliseconds(20));
    EXPECT_TRUE(waitUntilNothingKept(std::chrono::seconds(30))) << keptLargeBytes() << " bytes still kept";
}

}  // namespace
}  // namespace crv::engine
