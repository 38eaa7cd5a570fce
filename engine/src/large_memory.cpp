#include "large_memory.h"

#include <sys/mman.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdlib>
#include <map>
#include <mutex>
#include <thread>
#include <unordered_map>

namespace crv::engine {

namespace {
constexpr std::size_t kHugePage = std::size_t{2} << 20;
// From a quarter of a huge page up, a whole one: one fault instead of 128.
constexpr std::size_t kHugeFrom = kHugePage / 4;

#if defined(__SANITIZE_ADDRESS__)
// Under AddressSanitizer every block goes back at once, so that a use after
// the free is caught.
constexpr bool kKeep = false;
#else
constexpr bool kKeep = true;
#endif

// Set once the kept blocks are gone (the library unloaded or the process
// ending): a block given back after that goes straight to the system.
constinit std::atomic<bool> keptGone{false};

// Huge blocks given back are kept a short while for the next call's arrays
// instead of going back to the system: fresh memory costs a fault per page
// on first touch, and on a virtual machine a page the guest gave back costs
// the host's work as well (about 3 ms for each 2 MiB touched again), on
// whichever thread touches it first while the others wait for it. One
// export's arrays are then the next one's (a run is several exports in a
// row), and the next run's. Kept blocks go back to the system when none has
// been used for keepFor_ (kKeepFor unless a test sets it), and the oldest go
// first beyond kKeepAtMost.
class KeptBlocks {
public:
    ~KeptBlocks() {
        keptGone.store(true);
        {
            std::lock_guard lock(mutex_);
            quit_ = true;
        }
        changed_.notify_all();
        if (trimmer_.joinable()) trimmer_.join();
        for (const auto& [size, block] : kept_) std::free(block.memory);
    }

    // A kept block of at least `bytes` and at most a little more, or null.
    void* take(std::size_t bytes) {
        std::lock_guard lock(mutex_);
        const auto it = kept_.lower_bound(bytes);
        if (it == kept_.end() || it->first > bytes + std::max(bytes / 4, kHugePage)) return nullptr;
        void* p = it->second.memory;
        sizes_[p] = it->first;
        keptBytes_ -= it->first;
        kept_.erase(it);
        lastUse_ = Clock::now();
        return p;
    }

    // False when the block cannot be noted (it is then never kept).
    bool noteAllocated(void* p, std::size_t bytes) noexcept {
        std::lock_guard lock(mutex_);
        try {
            sizes_[p] = bytes;
            return true;
        } catch (...) {
            return false;
        }
    }

    // Keeps a block this class knows of (or frees it where it cannot be
    // kept); false for any other pointer.
    bool give(void* p) noexcept {
        std::unique_lock lock(mutex_);
        const auto it = sizes_.find(p);
        if (it == sizes_.end()) return false;
        const std::size_t size = it->second;
        sizes_.erase(it);
        try {
            if (size > kKeepAtMost) throw std::bad_alloc();
            if (!trimmer_.joinable()) trimmer_ = std::thread([this] { trimLoop(); });
            lastUse_ = Clock::now();
            kept_.emplace(size, Block{p, lastUse_});
        } catch (...) {
            lock.unlock();
            std::free(p);
            return true;
        }
        keptBytes_ += size;
        // The oldest blocks go back beyond the limit.
        while (keptBytes_ > kKeepAtMost) {
            auto oldest = kept_.begin();
            for (auto k = kept_.begin(); k != kept_.end(); ++k)
                if (k->second.given < oldest->second.given) oldest = k;
            std::free(oldest->second.memory);
            keptBytes_ -= oldest->first;
            kept_.erase(oldest);
        }
        lock.unlock();
        changed_.notify_all();
        return true;
    }

    std::size_t keptBytes() {
        std::lock_guard lock(mutex_);
        return keptBytes_;
    }

    std::chrono::milliseconds keepFor() {
        std::lock_guard lock(mutex_);
        return keepFor_;
    }
    // The trimmer is woken, so a shorter period counts from the last use at
    // once rather than after the old one.
    void setKeepFor(std::chrono::milliseconds period) {
        {
            std::lock_guard lock(mutex_);
            keepFor_ = period;
        }
        changed_.notify_all();
    }

private:
    using Clock = std::chrono::steady_clock;
    static constexpr std::chrono::milliseconds kKeepFor = std::chrono::seconds(3);
    static constexpr std::size_t kKeepAtMost = std::size_t{768} << 20;

    struct Block {
        void* memory;
        Clock::time_point given;
    };

    void trimLoop() {
        std::unique_lock lock(mutex_);
        while (!quit_) {
            if (kept_.empty()) {
                changed_.wait(lock);
                continue;
            }
            if (Clock::now() - lastUse_ < keepFor_) {
                changed_.wait_until(lock, lastUse_ + keepFor_);
                continue;
            }
            for (const auto& [size, block] : kept_) std::free(block.memory);
            kept_.clear();
            keptBytes_ = 0;
        }
    }

    std::mutex mutex_;
    std::condition_variable changed_;
    std::multimap<std::size_t, Block> kept_;        // by size
    std::unordered_map<void*, std::size_t> sizes_;  // blocks in use, from here
    std::size_t keptBytes_ = 0;
    Clock::time_point lastUse_{};
    std::chrono::milliseconds keepFor_ = kKeepFor;
    bool quit_ = false;
    std::thread trimmer_;
};

KeptBlocks& keptBlocks() {
    static KeptBlocks blocks;
    return blocks;
}
}  // namespace

void* allocateLarge(std::size_t bytes) {
    bytes = std::max<std::size_t>(bytes, 1);
    const bool huge = bytes >= kHugeFrom;
    // aligned_alloc wants the size a whole multiple of the alignment.
    const std::size_t alignment = huge ? kHugePage : alignof(std::max_align_t);
    bytes = (bytes + alignment - 1) / alignment * alignment;
    if (huge && kKeep && !keptGone.load())
        if (void* p = keptBlocks().take(bytes)) return p;
    void* p = std::aligned_alloc(alignment, bytes);
    if (!p) throw std::bad_alloc();
    if (huge) {
        ::madvise(p, bytes, MADV_HUGEPAGE);  // a hint: without it the memory is the same
        if (kKeep && !keptGone.load()) keptBlocks().noteAllocated(p, bytes);
    }
    return p;
}

void freeLarge(void* p) noexcept {
    if (!p) return;
    if (kKeep && !keptGone.load() && keptBlocks().give(p)) return;
    std::free(p);
}

std::size_t keptLargeBytes() { return kKeep && !keptGone.load() ? keptBlocks().keptBytes() : 0; }

std::chrono::milliseconds largeKeepPeriod() { return keptBlocks().keepFor(); }

void setLargeKeepPeriod(std::chrono::milliseconds period) { keptBlocks().setKeepFor(period); }

}  // namespace crv::engine
