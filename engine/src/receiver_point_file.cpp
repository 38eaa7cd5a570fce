#include "receiver_point_file.h"

#include <sys/stat.h>

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <optional>
#include <string_view>

#include "crv/platform/text_file.h"
#include "failure.h"
#include "parallel.h"

namespace crv::engine {

namespace {

constexpr int kHeaderRecords = 18;
// The bytes of a point record with its two length markers.
constexpr std::uint32_t kPointLength = 26;
constexpr std::size_t kPointFrame = 4 + kPointLength + 4;

std::uint32_t lengthAt(std::string_view bytes, std::size_t at) {
    const auto* b = reinterpret_cast<const unsigned char*>(bytes.data() + at);
    return std::uint32_t{b[0]} | std::uint32_t{b[1]} << 8 | std::uint32_t{b[2]} << 16 | std::uint32_t{b[3]} << 24;
}

// The point records as the grid writes them, every one framed alike, decoded
// on all threads, each part into its own place (the file is read by every
// evaluation before its own parallel work can start). False when the bytes
// are not all such records: the caller then takes them one by one.
bool decodeEvenRecords(std::string_view bytes, PointRecords& points) {
    if (bytes.size() % kPointFrame != 0) return false;
    const std::size_t count = bytes.size() / kPointFrame;
    points.resize(count);
    std::atomic<bool> even{true};
    constexpr std::size_t kPart = 4096;
    parallelFor(0, (count + kPart - 1) / kPart, [&](std::size_t part) {
        for (std::size_t i = part * kPart; i < std::min(count, (part + 1) * kPart); ++i) {
            const std::size_t at = i * kPointFrame;
            if (lengthAt(bytes, at) != kPointLength || lengthAt(bytes, at + 4 + kPointLength) != kPointLength) {
                even.store(false, std::memory_order_relaxed);
                return;
            }
            points[i] = *crv::formats::decodeReceiverPoint(bytes.substr(at + 4, kPointLength));
        }
    });
    return even.load(std::memory_order_relaxed);
}

// The records of a sound file from its bytes, without a read or an
// allocation per record: the point records on all threads where every one is
// framed as the grid frames it, otherwise in one pass. Nullopt when anything
// is not as the grid writes it; the caller then reads the file record by
// record, which says what is wrong.
std::optional<ReceiverPointFile> decodeWholeFile(const std::string& path, std::string_view bytes) {
    // The next record's data, checked as the record reader checks it.
    std::size_t at = 0;
    auto next = [&]() -> std::optional<std::string_view> {
        if (bytes.size() - at < 8) return std::nullopt;
        const std::uint32_t length = lengthAt(bytes, at);
        if (length > bytes.size() - at - 8 || lengthAt(bytes, at + 4 + length) != length) return std::nullopt;
        const std::string_view data(bytes.data() + at + 4, length);
        at += std::size_t{length} + 8;
        return data;
    };
    for (int i = 0; i < kHeaderRecords; ++i)
        if (!next()) return std::nullopt;

    ReceiverPointFile file;
    if (!decodeEvenRecords(bytes.substr(at), file.points)) {
        file.points.clear();
        file.points.reserve((bytes.size() - at) / kPointFrame);
        while (at < bytes.size()) {
            const auto data = next();
            if (!data) return std::nullopt;
            const auto point = crv::formats::decodeReceiverPoint(*data);
            if (!point) return std::nullopt;
            file.points.push_back(*point);
        }
    }

    // The header as the plot-file unit reads it, from the header's bytes only.
    crv::formats::RecordReader reader;
    if (!reader.open(path)) return std::nullopt;
    std::string error;
    const auto header = crv::formats::readPlotHeader(reader, error);
    if (!header) return std::nullopt;
    file.header = *header;
    return file;
}

// The whole file, no larger than a grid writes one; a folder, device or FIFO
// is refused, never waited on.
constexpr std::size_t kMaxBytes = crv::formats::kReceiverPointFileMaxBytes;

// Sound framing says nothing of the numbers inside: a point at infinity or
// off the globe would pass into every level calculation. The points are
// checked on all threads; the first bad one in the file is named, whichever
// thread finds one first.
void checkPoints(const ReceiverPointFile& file, const std::string& path, std::string_view routine) {
    const std::size_t count = file.points.size();
    constexpr std::size_t kPart = 4096;
    std::atomic<std::size_t> firstBad{count};
    parallelFor(0, (count + kPart - 1) / kPart, [&](std::size_t part) {
        for (std::size_t i = part * kPart; i < std::min(count, (part + 1) * kPart); ++i)
            if (!crv::formats::receiverPointProblem(file.points[i]).empty()) {
                std::size_t seen = firstBad.load(std::memory_order_relaxed);
                while (i < seen && !firstBad.compare_exchange_weak(seen, i, std::memory_order_relaxed)) {
                }
                return;
            }
    });
    const std::size_t i = firstBad.load(std::memory_order_relaxed);
    if (i < count)
        fail(routine, "Damaged receiver point file (record " + std::to_string(i + 19) + ": " +
                          crv::formats::receiverPointProblem(file.points[i]) + "):\r" + path);
}


// The whole of a regular file of at most kMaxBytes in memory of its own size
// (large_memory.h: fresh memory is costly to touch on some machines, and the
// grown string of an ordinary read is touched twice over); nullopt for
// anything out of the ordinary, which the ordinary read then reports.
struct Whole {
    LargeRoom<char> data;
    std::size_t size = 0;
};
std::optional<Whole> readWhole(const std::string& path) {
    auto file = crv::platform::openRegularFile(path);
    if (!file) return std::nullopt;
    struct stat st {};
    if (::fstat(::fileno(file->get()), &st) != 0 || st.st_size <= 0 ||
        static_cast<std::uint64_t>(st.st_size) > kMaxBytes)
        return std::nullopt;
    Whole w;
    w.size = static_cast<std::size_t>(st.st_size);
    w.data = largeRoom<char>(w.size + 1);
    // The size as read must be the size as stated: one byte more or less
    // (a file being written) goes the ordinary way.
    if (std::fread(w.data.get(), 1, w.size + 1, file->get()) != w.size || std::ferror(file->get())) return std::nullopt;
    return w;
}

}  // namespace

ReceiverPointFile readReceiverPointFile(const std::string& path, std::string_view routine) {
    ReceiverPointFile file;
    if (const auto whole = readWhole(path)) {
        if (auto decoded = decodeWholeFile(path, std::string_view(whole->data.get(), whole->size))) {
            file = std::move(*decoded);
            checkPoints(file, path, routine);
            return file;
        }
    }
    auto bytes = crv::platform::readRegularFile(path, kMaxBytes);
    if (!bytes) {
        if (bytes.error().starts_with("Could not open")) fail(routine, "Could not open receiver point file:\r" + path);
        // The reader's text is "Could not read PATH: reason"; the path is
        // given once, on its own line, as in every engine message.
        const std::string prefix = "Could not read " + path + ": ";
        const std::string reason =
            bytes.error().starts_with(prefix) ? bytes.error().substr(prefix.size()) : bytes.error();
        fail(routine, "Could not read receiver point file (" + reason + "):\r" + path);
    }
    if (auto whole = decodeWholeFile(path, *bytes)) {
        file = std::move(*whole);
    } else {
        crv::formats::RecordReader reader;
        if (!reader.open(path)) fail(routine, "Could not open receiver point file:\r" + path);
        std::string error;
        auto header = crv::formats::readPlotHeader(reader, error);
        if (!header) fail(routine, "Damaged receiver point file:\r" + path + "\r" + error);
        file.header = *header;
        while (auto record = reader.next()) {
            auto point = crv::formats::decodeReceiverPoint(*record);
            if (!point) fail(routine, "Damaged receiver point file (short record):\r" + path);
            file.points.push_back(*point);
        }
        if (reader.damaged()) fail(routine, "Damaged receiver point file:\r" + reader.error());
    }
    checkPoints(file, path, routine);
    return file;
}

}  // namespace crv::engine
