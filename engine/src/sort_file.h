#pragma once
// Sorting fixed-length record files by column keys. The order of records equal
// in every key is that of the heapsort below; callers (the search result lists,
// the intermodulation combination lists) see it, so no library sort is used.
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace crv::engine {

struct SortKey {
    int start;  // first column, 1-based
    int end;    // last column
    bool ascending;
};

// Parses "start:end:D ..." groups. Groups that cannot be read, start past the
// record or start after their end are ignored; an end past the record length is
// clamped. No usable group sorts by columns 1..record length ascending.
std::vector<SortKey> parseSortKeys(std::string_view keyText, int recordLength);

// The first group of a key text that says something other than
// "start:end", "start:end:A" or "start:end:D" (either letter case) with
// 1 <= start <= end <= record length; empty when every group is clear. The
// export takes any other direction as ascending, as the programs rely on;
// a person typing a key is told instead.
std::string firstUnclearSortKey(std::string_view keyText, int recordLength);

// The record order (0-based indexes) that the heapsort gives.
std::vector<std::size_t> heapSortOrder(std::span<const std::string> records, const std::vector<SortKey>& keys,
                                       int recordLength);

// Sorts records in memory into the heapsort's order. When no two records have
// equal keys (as in the intermodulation lists) every correct sort gives that
// order, and a faster one is used; otherwise the heapsort runs.
void sortRecords(std::span<std::string> records, std::string_view keyText, int recordLength);

// Sorts the file in place (by writing a new file and renaming it over the old).
// Lines longer than the record length are sorted by their first columns but
// written back whole; every line loses its trailing blanks. A file that cannot
// be opened is left alone; fewer than two lines leave the file untouched.
void sortRecordFile(const std::string& path, std::string_view keyText, int recordLength);

}  // namespace crv::engine
