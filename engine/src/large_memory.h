#pragma once
// Memory for large arrays.
//
// The first touch of every page of fresh memory costs a page fault, and on
// some machines (virtual ones above all) a fault costs some microseconds: a
// 45 MB array then takes a tenth of a second to clear with 4 KiB pages,
// longer than the work it is for. Arrays from half a megabyte up therefore ask
// the kernel for whole 2 MiB pages (a hint it takes where transparent huge
// pages are on or in "madvise" mode; elsewhere the memory is the same, only
// slower to touch first). Smaller ones come from the ordinary allocator.
// Huge blocks given back are kept for a few seconds and handed out again
// (large_memory.cpp says why).
#include <chrono>
#include <cstddef>
#include <memory>
#include <new>
#include <type_traits>
#include <utility>
#include <vector>

namespace crv::engine {

// At least `bytes` of memory aligned for any type, in whole huge pages from
// half a megabyte up; throws std::bad_alloc. Free it with freeLarge.
void* allocateLarge(std::size_t bytes);
// Huge blocks are kept a few seconds for the next allocations (memory touched
// before costs nothing to touch again); the rest goes back at once.
void freeLarge(void* p) noexcept;
// The bytes kept for reuse at this moment.
std::size_t keptLargeBytes();
// How long kept blocks stay when none of them is used: 3 s, which spans the
// pause between one export and the next. Tests of the trimming set it short,
// so they need not wait the 3 s out, and put it back afterwards.
std::chrono::milliseconds largeKeepPeriod();
void setLargeKeepPeriod(std::chrono::milliseconds period);

struct FreeLarge {
    void operator()(void* p) const noexcept { freeLarge(p); }
};

// Room for `count` objects of T from allocateLarge, not constructed (for
// arrays whose every element is written, or constructed, before it is read).
template <typename T>
using LargeRoom = std::unique_ptr<T[], FreeLarge>;
template <typename T>
LargeRoom<T> largeRoom(std::size_t count) {
    if (count > static_cast<std::size_t>(-1) / sizeof(T)) throw std::bad_array_new_length();
    return LargeRoom<T>(static_cast<T*>(allocateLarge(count * sizeof(T))));
}

// An allocator that takes large blocks through allocateLarge.
template <typename T>
struct LargeAllocator {
    using value_type = T;
    LargeAllocator() = default;
    template <typename U>
    LargeAllocator(const LargeAllocator<U>&) noexcept {}
    T* allocate(std::size_t n) {
        if (n > static_cast<std::size_t>(-1) / sizeof(T)) throw std::bad_array_new_length();
        return static_cast<T*>(allocateLarge(n * sizeof(T)));
    }
    void deallocate(T* p, std::size_t) noexcept { freeLarge(p); }
    template <typename U>
    bool operator==(const LargeAllocator<U>&) const noexcept {
        return true;
    }
};

template <typename T>
using LargeVector = std::vector<T, LargeAllocator<T>>;

// The same, except that the elements made by resize() or the count
// constructor are left unwritten where the type has nothing to construct or
// destroy (trivially copyable and destructible: such objects exist in the
// allocated memory as soon as it is written), so that the threads that fill
// a large array touch its pages, not the thread that sizes it. Every element
// must be written before it is read.
template <typename T>
struct UnwrittenAllocator : LargeAllocator<T> {
    using value_type = T;
    UnwrittenAllocator() = default;
    template <typename U>
    UnwrittenAllocator(const UnwrittenAllocator<U>&) noexcept {}
    template <typename U>
    void construct(U* p) noexcept(std::is_nothrow_default_constructible_v<U>) {
        if constexpr (!(std::is_trivially_copyable_v<U> && std::is_trivially_destructible_v<U>))
            ::new (static_cast<void*>(p)) U();
    }
    template <typename U, typename... Args>
    void construct(U* p, Args&&... args) {
        ::new (static_cast<void*>(p)) U(std::forward<Args>(args)...);
    }
};

template <typename T>
using UnwrittenVector = std::vector<T, UnwrittenAllocator<T>>;

}  // namespace crv::engine
