#include "large_memory.h"

#include <sys/mman.h>

#include <algorithm>
#include <cstdlib>

namespace crv::engine {

namespace {
constexpr std::size_t kHugePage = std::size_t{2} << 20;
// From a quarter of a huge page up, a whole one: one fault instead of 128.
constexpr std::size_t kHugeFrom = kHugePage / 4;
}

void* allocateLarge(std::size_t bytes) {
    bytes = std::max<std::size_t>(bytes, 1);
    const bool huge = bytes >= kHugeFrom;
    // aligned_alloc wants the size a whole multiple of the alignment.
    const std::size_t alignment = huge ? kHugePage : alignof(std::max_align_t);
    bytes = (bytes + alignment - 1) / alignment * alignment;
    void* p = std::aligned_alloc(alignment, bytes);
    if (!p) throw std::bad_alloc();
    if (huge) ::madvise(p, bytes, MADV_HUGEPAGE);  // a hint: without it the memory is the same
    return p;
}

void freeLarge(void* p) noexcept { std::free(p); }

}  // namespace crv::engine
