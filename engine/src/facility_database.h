#pragma once
// Positional access to the three facility databases: fixed-length text records,
// each ended by CR LF, read one at a time by record number (1-based). The
// databases hold many thousands of records; an area search reads only the
// records of the cells it covers, so nothing here ever reads a whole file.
//
// A file whose framing is not what the search expects is refused when it is
// opened (and a record found without its CR LF when it is read): reading on
// with a wrong record length would decode every later record from the wrong
// columns and report facilities at invented positions. The end of a file is
// taken as the databases users have end: the last record may lack its CR LF,
// an end-of-file mark (0x1A) may follow, and a last record cut short counts
// but cannot be read, as the search's record count has it.
#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "crv/formats/facility_records.h"
#include "file_units.h"

namespace crv::engine {

// How a database names itself in messages and routine names.
struct DatabaseKind {
    std::string_view label;        // "FCC", "QVA", "COM"
    std::string_view openRoutine;  // "OpenFCC        "
    std::string_view readRoutine;  // "ReadFCC        "
};

class DatabaseFile {
public:
    // recordLength: the record length with its CR LF; 0 for the FM database,
    // whose length (105 short layout, 111 long layout) is found from the
    // first record. Fails under the kind's open routine when the file cannot be
    // read or its framing is wrong.
    DatabaseFile(const std::string& path, int recordLength, const DatabaseKind& kind);
    DatabaseFile(const DatabaseFile&) = delete;
    DatabaseFile& operator=(const DatabaseFile&) = delete;

    int recordLength() const { return recordLength_; }  // with CR LF
    bool longLayout() const { return recordLength_ >= 111; }
    // Every record whose first character is in the file.
    long count() const { return count_; }
    // Whether record n (1..count) is whole: all but a last record cut short
    // (or the end-of-file mark alone) are.
    bool readable(long n) const { return n >= 1 && n <= whole_; }
    const std::string& path() const { return path_; }

    // Record n without its CR LF; n must be readable. Fails under the read
    // routine when the record does not end as a record must or cannot be read.
    std::string read(long n) const;
    // The 7-character cell key of record n.
    std::string key(long n) const { return read(n).substr(0, 7); }

private:
    struct Closer {
        void operator()(std::FILE* f) const;
    };
    FileUnit unit_;
    std::string path_;
    DatabaseKind kind_;
    std::unique_ptr<std::FILE, Closer> file_;
    int recordLength_ = 0;
    long long size_ = 0;
    long count_ = 0;
    long whole_ = 0;
};

// The number of the last readable record, found by probing in strides of
// 1000, 100, 10 and 1 (0 when record 1 is not readable).
long CountRecords(const std::function<bool(long)>& readable);

// First record (1..n) whose key equals `key`, or 0 when no record has it.
// The records are sorted by key in byte order; a record that cannot be read
// ends the search (not found) or the step back to the cell's first record.
long FindCellStart(const DatabaseFile& db, std::string_view key);

// The cell key of a whole-degree cell, as the databases' records begin.
using crv::formats::cellKey;

}  // namespace crv::engine
