#pragma once
// Work spread over threads inside one export. Results must not depend on how
// many threads ran: callers compute per-index results into their own slots and
// combine them in index order on the calling thread.
#include <cstddef>
#include <functional>

namespace crv::engine {

// CRV_THREADS when set to a positive number, else the machine's cores.
int threadCount();

// Runs fn(i) for every i in [first, last) on up to threadCount() threads and
// returns when all are done. The first exception thrown by fn is rethrown on
// the calling thread after the others have stopped taking work.
void parallelFor(std::size_t first, std::size_t last, const std::function<void(std::size_t)>& fn);

}  // namespace crv::engine
