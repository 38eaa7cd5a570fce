#include "sort_file.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <memory>
#include <new>
#include <numeric>
#include <optional>

#include "crv/platform/numbers.h"
#include "crv/platform/text_file.h"
#include "failure.h"
#include "file_units.h"
#include "fixed_text.h"
#include "large_memory.h"
#include "parallel.h"

namespace crv::engine {

namespace {
constexpr const char* kRoutine = "SortFile       ";

// Compares two keys as blank-padded texts: columns past a line's end are blanks.
int compareKey(const std::string& a, const std::string& b, const SortKey& key) {
    for (int c = key.start; c <= key.end; ++c) {
        const auto i = static_cast<std::size_t>(c - 1);
        const unsigned char ca = i < a.size() ? static_cast<unsigned char>(a[i]) : ' ';
        const unsigned char cb = i < b.size() ? static_cast<unsigned char>(b[i]) : ' ';
        if (ca != cb) return ca < cb ? -1 : 1;
    }
    return 0;
}

bool comesBefore(const std::string& a, const std::string& b, const std::vector<SortKey>& keys) {
    for (const auto& key : keys) {
        const int c = compareKey(a, b, key);
        if (c < 0) return key.ascending;
        if (c > 0) return !key.ascending;
    }
    return false;
}
}  // namespace

namespace {
// One blank-separated group of a key text: "start:end" or "start:end:dir".
struct KeyGroup {
    std::string_view text;
    std::optional<long long> start, end;
    std::optional<std::string_view> direction;  // the text after the second ':'
};

std::vector<KeyGroup> keyGroups(std::string_view keyText) {
    std::vector<KeyGroup> groups;
    std::size_t i = 0;
    while (i < keyText.size()) {
        while (i < keyText.size() && keyText[i] == ' ') ++i;
        const std::size_t startPos = i;
        while (i < keyText.size() && keyText[i] != ' ') ++i;
        if (i == startPos) break;
        KeyGroup g;
        g.text = keyText.substr(startPos, i - startPos);
        const auto c1 = g.text.find(':');
        if (c1 != std::string_view::npos) {
            const auto c2 = g.text.find(':', c1 + 1);
            g.start = crv::platform::parseInteger(g.text.substr(0, c1));
            g.end = crv::platform::parseInteger(
                g.text.substr(c1 + 1, c2 == std::string_view::npos ? std::string_view::npos : c2 - c1 - 1));
            if (c2 != std::string_view::npos) g.direction = g.text.substr(c2 + 1);
        }
        groups.push_back(g);
    }
    return groups;
}
}  // namespace

std::vector<SortKey> parseSortKeys(std::string_view keyText, int recordLength) {
    std::vector<SortKey> keys;
    for (const KeyGroup& g : keyGroups(keyText)) {
        if (!g.start || !g.end) continue;
        const bool descending = g.direction && !g.direction->empty() && ((*g.direction)[0] == 'D' || (*g.direction)[0] == 'd');
        long long s = *g.start < 1 ? 1 : *g.start;
        long long e = *g.end > recordLength ? recordLength : *g.end;
        if (s > e || s > recordLength) continue;
        keys.push_back({static_cast<int>(s), static_cast<int>(e), !descending});
    }
    if (keys.empty() && recordLength > 0) keys.push_back({1, recordLength, true});
    return keys;
}

std::string firstUnclearSortKey(std::string_view keyText, int recordLength) {
    for (const KeyGroup& g : keyGroups(keyText)) {
        const bool direction = !g.direction || *g.direction == "A" || *g.direction == "a" || *g.direction == "D" ||
                               *g.direction == "d";
        if (!g.start || !g.end || !direction || *g.start < 1 || *g.start > *g.end || *g.end > recordLength)
            return std::string(g.text);
    }
    return {};
}

std::vector<std::size_t> heapSortOrder(std::span<const std::string> records, const std::vector<SortKey>& keys,
                                       int /*recordLength*/) {
    const std::size_t n = records.size();
    // 1-based index array as the classic heapsort keeps it.
    std::vector<std::size_t> index(n + 1);
    for (std::size_t k = 1; k <= n; ++k) index[k] = k - 1;
    if (n < 2) {
        index.erase(index.begin());
        return index;
    }
    auto before = [&](std::size_t a, std::size_t b) { return comesBefore(records[a], records[b], keys); };
    std::size_t l = n / 2 + 1;
    std::size_t ir = n;
    for (;;) {
        std::size_t taken;
        if (l > 1) {
            --l;
            taken = index[l];
        } else {
            taken = index[ir];
            index[ir] = index[1];
            --ir;
            if (ir == 1) {
                index[1] = taken;
                break;
            }
        }
        std::size_t i = l;
        std::size_t j = l + l;
        while (j <= ir) {
            if (j < ir && before(index[j], index[j + 1])) ++j;
            if (before(taken, index[j])) {
                index[i] = index[j];
                i = j;
                j += j;
            } else {
                break;
            }
        }
        index[i] = taken;
    }
    index.erase(index.begin());
    return index;
}

namespace {
// A record's keys as one byte string that sorts as the keys do: the key
// columns one after the other, blank-padded, with the bytes of a descending
// key inverted. Two records' strings are equal exactly when all keys are.
std::string sortString(const std::string& record, const std::vector<SortKey>& keys) {
    std::string s;
    for (const auto& key : keys) {
        for (int c = key.start; c <= key.end; ++c) {
            const auto i = static_cast<std::size_t>(c - 1);
            const auto b = static_cast<unsigned char>(i < record.size() ? record[i] : ' ');
            s.push_back(static_cast<char>(key.ascending ? b : 255 - b));
        }
    }
    return s;
}
}  // namespace

namespace {

constexpr std::size_t kSortHere = 16384;

// Sorts v[0, n) with `before` on all threads: chunks sorted on their own,
// then merged pass by pass into the second buffer. Every merge of two runs is
// cut into pieces of kChunk output places, each found by a binary search for
// how many of its elements come from the first run, so that every pass runs
// on all threads (merging whole pairs left the last passes to one or two
// threads while the others waited). The result is in v. Equal elements keep
// no particular order.
template <typename T, typename Before>
void parallelSort(T* v, T* buffer, std::size_t n, const Before& before) {
    // A short list sorts faster on this thread than handed out: the rounds'
    // hand-overs and the buffer's fresh pages cost more than the merging.
    if (n <= kSortHere) {
        std::sort(v, v + n, before);
        return;
    }
    constexpr std::size_t kChunk = 2048;
    const std::size_t chunks = (n + kChunk - 1) / kChunk;
    parallelFor(0, chunks, [&](std::size_t c) { std::sort(v + c * kChunk, v + std::min(n, (c + 1) * kChunk), before); });
    T* from = v;
    T* to = buffer;
    for (std::size_t width = kChunk; width < n; width *= 2) {
        parallelFor(0, chunks, [&](std::size_t piece) {
            const std::size_t k0 = piece * kChunk, k1 = std::min(n, k0 + kChunk);
            // The pair of runs this piece belongs to: 2 x width is a whole
            // number of pieces, so a piece never spans two pairs.
            const std::size_t first = k0 / (2 * width) * (2 * width);
            const std::size_t middle = std::min(n, first + width), last = std::min(n, first + 2 * width);
            const T* a = from + first;
            const T* b = from + middle;
            const std::size_t m = middle - first, mb = last - middle;
            // How many of the first k merged elements come from run a; on
            // equal keys a's element comes first, as std::merge takes it.
            const auto fromA = [&](std::size_t k) {
                std::size_t lo = k > mb ? k - mb : 0, hi = std::min(k, m);
                while (lo < hi) {
                    const std::size_t i = (lo + hi) / 2, j = k - i;
                    if (j > 0 && i < m && !before(b[j - 1], a[i])) lo = i + 1;
                    else hi = i;
                }
                return lo;
            };
            const std::size_t i0 = fromA(k0 - first), i1 = fromA(k1 - first);
            const std::size_t j0 = k0 - first - i0, j1 = k1 - first - i1;
            std::merge(a + i0, a + i1, b + j0, b + j1, to + k0, before);
        });
        std::swap(from, to);
    }
    if (from != v) parallelFor(0, chunks, [&](std::size_t c) {
            std::copy(from + c * kChunk, from + std::min(n, (c + 1) * kChunk), v + c * kChunk);
        });
}

// Whether every element of v[0, n) comes strictly before the next, checked on
// all threads.
template <typename T, typename Before>
bool strictlyOrdered(const T* v, std::size_t n, const Before& before) {
    constexpr std::size_t kChunk = 8192;
    std::vector<char> broken((n + kChunk - 1) / kChunk, 0);
    parallelFor(0, broken.size(), [&](std::size_t c) {
        for (std::size_t k = std::max<std::size_t>(1, c * kChunk); k < std::min(n, (c + 1) * kChunk); ++k)
            if (!before(v[k - 1], v[k])) {
                broken[c] = 1;
                return;
            }
    });
    return std::find(broken.begin(), broken.end(), 1) == broken.end();
}

// The record order for keys of up to kWidth bytes in all: each record's sort
// string (below) is kept beside its index, zero-padded, so the sort compares
// fixed-size byte arrays in place instead of following an index to a string
// on the heap. Empty when two records' keys are equal.
constexpr std::size_t kWidth = 28;
struct Keyed {
    std::array<unsigned char, kWidth> key;
    std::uint32_t index;
};

UnwrittenVector<std::size_t> distinctOrderNarrow(std::span<const std::string> records,
                                                 const std::vector<SortKey>& keys) {
    const std::size_t n = records.size();
    // Left unwritten until the threads fill them: clearing them first would
    // touch every page on one thread.
    const LargeRoom<Keyed> v = largeRoom<Keyed>(n), buffer = largeRoom<Keyed>(n > kSortHere ? n : 0);
    constexpr std::size_t kChunk = 2048;
    parallelFor(0, (n + kChunk - 1) / kChunk, [&](std::size_t c) {
        for (std::size_t i = c * kChunk; i < std::min(n, (c + 1) * kChunk); ++i) {
            const std::string& record = records[i];
            Keyed& k = v[i];
            std::size_t at = 0;
            for (const auto& key : keys)
                for (int col = key.start; col <= key.end; ++col) {
                    const auto x = static_cast<std::size_t>(col - 1);
                    const auto b = static_cast<unsigned char>(x < record.size() ? record[x] : ' ');
                    k.key[at++] = key.ascending ? b : static_cast<unsigned char>(255 - b);
                }
            std::fill(k.key.begin() + static_cast<std::ptrdiff_t>(at), k.key.end(), 0);
            k.index = static_cast<std::uint32_t>(i);
        }
    });
    const auto before = [](const Keyed& a, const Keyed& b) { return std::memcmp(a.key.data(), b.key.data(), kWidth) < 0; };
    parallelSort(v.get(), buffer.get(), n, before);
    if (!strictlyOrdered(v.get(), n, before)) return {};
    UnwrittenVector<std::size_t> order(n);
    parallelFor(0, (n + kChunk - 1) / kChunk, [&](std::size_t c) {
        for (std::size_t i = c * kChunk; i < std::min(n, (c + 1) * kChunk); ++i) order[i] = v[i].index;
    });
    return order;
}

// The same for keys of any width, through each record's sort string.
UnwrittenVector<std::size_t> distinctOrderWide(std::span<const std::string> records, const std::vector<SortKey>& keys) {
    const std::size_t n = records.size();
    std::vector<std::string> sortKeys(n);
    constexpr std::size_t kChunk = 2048;
    parallelFor(0, (n + kChunk - 1) / kChunk, [&](std::size_t c) {
        for (std::size_t i = c * kChunk; i < std::min(n, (c + 1) * kChunk); ++i) sortKeys[i] = sortString(records[i], keys);
    });
    UnwrittenVector<std::size_t> order(n), buffer(n);
    std::iota(order.begin(), order.end(), std::size_t{0});
    // std::string compares bytes as unsigned char.
    const auto before = [&](std::size_t a, std::size_t b) { return sortKeys[a] < sortKeys[b]; };
    parallelSort(order.data(), buffer.data(), n, before);
    if (!strictlyOrdered(order.data(), n, before)) return {};
    return order;
}

}  // namespace

void sortRecords(std::span<std::string> records, std::string_view keyText, int recordLength) {
    const std::size_t n = records.size();
    if (n < 2) return;
    const auto keys = parseSortKeys(keyText, recordLength);
    std::size_t width = 0;
    for (const auto& key : keys) width += static_cast<std::size_t>(key.end - key.start + 1);
    // Sorted, each record comes strictly before the next unless two keys are
    // equal; then only the heapsort's own order is right.
    UnwrittenVector<std::size_t> order = width <= kWidth && n <= UINT32_MAX ? distinctOrderNarrow(records, keys)
                                                                         : distinctOrderWide(records, keys);
    if (order.empty()) {
        const std::vector<std::size_t> heap = heapSortOrder(records, keys, recordLength);
        order.assign(heap.begin(), heap.end());
    }
    // Moved into place on all threads, through room for the records' handles
    // that each thread constructs and destroys in its own part (cleared on
    // this thread first, a million of them took longer than the moves).
    const LargeRoom<std::string> room = largeRoom<std::string>(n);
    std::string* sorted = room.get();
    constexpr std::size_t kChunk = 8192;
    const std::size_t chunks = (n + kChunk - 1) / kChunk;
    parallelFor(0, chunks, [&](std::size_t c) {
        for (std::size_t k = c * kChunk; k < std::min(n, (c + 1) * kChunk); ++k)
            new (sorted + k) std::string(std::move(records[order[k]]));
    });
    parallelFor(0, chunks, [&](std::size_t c) {
        for (std::size_t k = c * kChunk; k < std::min(n, (c + 1) * kChunk); ++k) {
            records[k] = std::move(sorted[k]);
            sorted[k].~basic_string();
        }
    });
}

void sortRecordFile(const std::string& path, std::string_view keyText, int recordLength) {
    if (recordLength <= 0) fail(kRoutine, "Invalid record length " + std::to_string(recordLength) + ".");
    FileUnit unit(kRoutine);
    auto lines = crv::platform::readTextLines(path);
    if (!lines) return;  // a file that cannot be opened is left alone
    if (lines->size() < 2) return;

    // Keys only look at the first record-length columns; longer lines keep
    // their tail when written back.
    const auto keys = parseSortKeys(keyText, recordLength);
    const auto order = heapSortOrder(*lines, keys, recordLength);

    std::string bytes;
    for (std::size_t k : order) {
        bytes += trimRightCopy((*lines)[k]);
        bytes += "\r\n";
    }
    if (auto ok = crv::platform::writeFileAtomic(path, bytes); !ok) fail(kRoutine, ok.error());
}

}  // namespace crv::engine
