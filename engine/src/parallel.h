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

// As above; poll(done) runs on the calling thread after each item that thread
// ran itself (at least once), with the number of items finished so far on all
// threads. It is
// where progress is reported and a cancel seen: an exception from it stops the
// work like one from fn.
void parallelFor(std::size_t first, std::size_t last, const std::function<void(std::size_t)>& fn,
                 const std::function<void(std::size_t done)>& poll);

// Runs produce(i) for every i in [0, count) on up to threadCount() threads and
// consume(i) on the calling thread in the order of i, each as soon as
// produce(i) has finished, while the other threads go on with later items: a
// thread that loses its core for a while holds up only the writing of its own
// item, not the others' work. No item is produced more than `ahead` items
// past the one being consumed, so the caller keeps results in `ahead` slots
// (item i in slot i % ahead); consume(i) may reuse what slot i holds. The
// first exception from either stops the work and is rethrown on the calling
// thread.
void parallelOrdered(std::size_t count, std::size_t ahead, const std::function<void(std::size_t)>& produce,
                     const std::function<void(std::size_t)>& consume);

}  // namespace crv::engine
