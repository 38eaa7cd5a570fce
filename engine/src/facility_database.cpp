#include "facility_database.h"

#include <sys/stat.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "crv/formats/facility_records.h"

#include "crv/platform/text_file.h"
#include "failure.h"

namespace crv::engine {

namespace {
// The FM database's record length is found from the first record: the first
// carriage return within this many characters ends it.
constexpr int kFmProbeLength = 136;
constexpr int kFmShortLength = 105;
constexpr int kFmLongLength = 111;

// Kept short: the message box holds 260 characters and the path must fit.
std::string layoutMessage(const DatabaseKind& kind, const std::string& path, const std::string& records,
                          const std::string& detail) {
    return std::string(kind.label) + " database file is not made of " + records + " records ended by CR LF (" +
           detail + "):\r" + path;
}
std::string recordsText(int recordLength) { return std::to_string(recordLength - 2) + "-character"; }
}  // namespace

void DatabaseFile::Closer::operator()(std::FILE* f) const {
    if (f) std::fclose(f);
}

DatabaseFile::DatabaseFile(const std::string& path, int recordLength, const DatabaseKind& kind)
    : unit_(kind.openRoutine), path_(path), kind_(kind) {
    // Only a regular file: a FIFO would never answer, a device never end.
    auto opened = crv::platform::openRegularFile(path);
    if (!opened) fail(kind.openRoutine, "Could not open " + std::string(kind.label) + " database file:\r" + path);
    file_.reset(opened->release());
    struct stat st {};
    if (::fstat(::fileno(file_.get()), &st) != 0)
        fail(kind.openRoutine, "Could not read " + std::string(kind.label) + " database file:\r" + path);
    const long long size = st.st_size;

    if (recordLength == 0) {
        char head[kFmProbeLength];
        const std::size_t got = std::fread(head, 1, sizeof head, file_.get());
        if (std::ferror(file_.get()))
            fail(kind.openRoutine, "Could not read " + std::string(kind.label) + " database file:\r" + path);
        const void* cr = std::memchr(head, '\r', got);
        if (cr == nullptr)
            fail(kind.openRoutine, layoutMessage(kind, path, "103- or 109-character", "no CR LF in record 1"));
        // Position of the carriage return (1-based) plus one for the line feed.
        recordLength = static_cast<int>(static_cast<const char*>(cr) - head) + 2;
        if (recordLength != kFmShortLength && recordLength != kFmLongLength)
            fail(kind.openRoutine, layoutMessage(kind, path, "103- or 109-character",
                                                 "record 1 has " + std::to_string(recordLength - 2)));
    }
    recordLength_ = recordLength;
    size_ = size;
    const std::string records = recordsText(recordLength);
    // Not even one record whole: no database at all.
    if (size < recordLength - crv::formats::kRecordEndLength)
        fail(kind.openRoutine, layoutMessage(kind, path, records, "file too short"));
    // Every record whose first character is in the file counts, as the search
    // probes for them: a database whose last byte is an end-of-file mark
    // (0x1A), whose last record lacks its CR LF or was cut short is searched
    // as far as it holds whole records. The probe reads nothing.
    count_ = CountRecords([&](long n) { return static_cast<long long>(n - 1) * recordLength < size; });
    whole_ = static_cast<long>((size + crv::formats::kRecordEndLength) / recordLength);
    // The first record shows whether the framing holds at all (an LF-only
    // file of the right size would otherwise pass).
    (void)read(1);
}

std::string DatabaseFile::read(long n) const {
    if (n < 1 || n > whole_)
        fail(kind_.readRoutine, "Record " + std::to_string(n) + " is outside the " + std::string(kind_.label) +
                                    " database file:\r" + path_);
    const long long offset = static_cast<long long>(n - 1) * recordLength_;
    // The record and its line end as far as the file holds them.
    const long long available = std::min<long long>(recordLength_, size_ - offset);
    std::string record(static_cast<std::size_t>(available), ' ');
    if (::fseeko(file_.get(), static_cast<off_t>(offset), SEEK_SET) != 0 ||
        std::fread(record.data(), 1, record.size(), file_.get()) != record.size())
        fail(kind_.readRoutine, "Could not read record " + std::to_string(n) + " of the " +
                                    std::string(kind_.label) + " database file:\r" + path_);
    const std::size_t data = static_cast<std::size_t>(recordLength_ - crv::formats::kRecordEndLength);
    const std::string_view end = std::string_view(record).substr(data);
    // Within the file every record ends in CR LF. The last one may end the
    // file without it, or with the end-of-file mark where its line end was.
    const bool last = offset + recordLength_ >= size_;
    const bool sound =
        end == "\r\n" || (last && (end.empty() || end == "\r" || end == "\x1a" || end == "\r\x1a"));
    if (!sound)
        fail(kind_.readRoutine,
             layoutMessage(kind_, path_, recordsText(recordLength_), "record " + std::to_string(n)));
    record.resize(data);
    return record;
}

long CountRecords(const std::function<bool(long)>& readable) {
    long n = 0;
    long step = 1000;
    while (step > 0) {
        while (readable(n + step)) n += step;
        step /= 10;
    }
    return n;
}

long FindCellStart(const DatabaseFile& db, std::string_view key) {
    const long n = db.count();
    if (n < 1) return 0;
    long lo = 1, hi = n;
    std::string recordKey;
    long mid = 1;
    for (;;) {
        mid = (lo + hi) / 2;
        if (!db.readable(mid)) return 0;
        recordKey = db.key(mid);
        if (lo == hi) break;
        if (recordKey >= key)
            hi = mid;
        else
            lo = mid + 1;
    }
    if (recordKey != key) return 0;
    while (mid > 1 && db.readable(mid - 1) && db.key(mid - 1) == key) --mid;
    return mid;
}

}  // namespace crv::engine
