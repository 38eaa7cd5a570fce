#include "sort_file.h"

#include <gtest/gtest.h>

#include <stdlib.h>

#include <algorithm>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "test_support.h"

using namespace crv::engine;
using crv::test::readBytes;
using crv::test::writeBytes;

TEST(SortFile, HeapOrderOfEqualKeysMatchesTheGolden) {
    // Many records share the primary key; the golden order is that of the
    // heapsort, which differs from any stable sort of the same keys.
    const std::string dir = crv::test::scratchFolder("sort-golden");
    const std::string file = dir + "list.txt";
    writeBytes(file, readBytes(CRV_TEST_DATA "sort_input.txt"));
    sortRecordFile(file, "10:16:A 27:29:D", 40);
    EXPECT_EQ(readBytes(file), readBytes(CRV_TEST_DATA "sort_expected.txt"));
}

TEST(SortFile, KeyParsing) {
    struct Case {
        const char* text;
        int recordLength;
        std::vector<SortKey> expected;
    } cases[] = {
        {"11:17:A 26:63:A 21:23:D", 80, {{11, 17, true}, {26, 63, true}, {21, 23, false}}},
        {"", 40, {{1, 40, true}}},                       // no group: whole record ascending
        {"5:9:d", 40, {{5, 9, false}}},                  // lower-case d is descending too
        {"5:9:X", 40, {{5, 9, true}}},                   // anything else ascends
        {"30:60:A", 40, {{30, 40, true}}},               // end clamped to the record
        {"50:60:A 9:3:A 1:2:A", 40, {{1, 2, true}}},     // past the record, start > end: ignored
        {"junk 4:x:A", 40, {{1, 40, true}}},
    };
    for (const auto& c : cases) {
        const auto keys = parseSortKeys(c.text, c.recordLength);
        ASSERT_EQ(keys.size(), c.expected.size()) << c.text;
        for (std::size_t i = 0; i < keys.size(); ++i) {
            EXPECT_EQ(keys[i].start, c.expected[i].start) << c.text;
            EXPECT_EQ(keys[i].end, c.expected[i].end) << c.text;
            EXPECT_EQ(keys[i].ascending, c.expected[i].ascending) << c.text;
        }
    }
}

TEST(SortFile, MultiKeyOrder) {
    const std::string dir = crv::test::scratchFolder("sort-keys");
    const std::string file = dir + "k.txt";
    // Columns 1-2 ascending, then 4-5 descending.
    writeBytes(file, "bb 01\r\naa 01\r\nbb 09\r\naa 05\r\n");
    sortRecordFile(file, "1:2:A 4:5:D", 5);
    EXPECT_EQ(readBytes(file), "aa 05\r\naa 01\r\nbb 09\r\nbb 01\r\n");
}

TEST(SortFile, ShrinkingAndLongLines) {
    const std::string dir = crv::test::scratchFolder("sort-shrink");
    const std::string file = dir + "s.txt";
    // Trailing blanks go, so the file shrinks: no stale tail may remain. A line
    // longer than the record is sorted by its first columns and kept whole.
    writeBytes(file, "zz        \r\nyy TAIL BEYOND THE RECORD\r\nxx     \r\n");
    sortRecordFile(file, "1:2:A", 5);
    EXPECT_EQ(readBytes(file), "xx\r\nyy TAIL BEYOND THE RECORD\r\nzz\r\n");
}

TEST(SortFile, SingleLineAndMissingFileAreLeftAlone) {
    const std::string dir = crv::test::scratchFolder("sort-one");
    const std::string file = dir + "one.txt";
    writeBytes(file, "only line   \n");
    sortRecordFile(file, "1:4:A", 10);
    EXPECT_EQ(readBytes(file), "only line   \n");
    EXPECT_NO_THROW(sortRecordFile(dir + "missing.txt", "1:4:A", 10));
}

namespace {
std::vector<std::string> linesOf(const std::string& bytes) {
    std::vector<std::string> lines;
    std::string cur;
    for (char c : bytes) {
        if (c != '\n') {
            cur.push_back(c);
            continue;
        }
        if (!cur.empty() && cur.back() == '\r') cur.pop_back();
        lines.push_back(cur);
        cur.clear();
    }
    if (!cur.empty()) lines.push_back(cur);
    return lines;
}
}  // namespace

TEST(SortFile, InMemorySortKeepsTheHeapOrderWithAndWithoutTies) {
    // With ties, only the heapsort's own order is right: the golden file's
    // records sorted in memory must come out as the golden sorted file.
    const auto input = linesOf(readBytes(CRV_TEST_DATA "sort_input.txt"));
    auto expected = linesOf(readBytes(CRV_TEST_DATA "sort_expected.txt"));
    std::vector<std::string> records(input.begin(), input.end());
    while (!records.empty() && records.back().empty()) records.pop_back();
    while (!expected.empty() && expected.back().empty()) expected.pop_back();
    sortRecords(records, "10:16:A 27:29:D", 40);
    for (auto& r : records) r = r.substr(0, r.find_last_not_of(' ') + 1);
    EXPECT_EQ(records, std::vector<std::string>(expected.begin(), expected.end()));

    // Distinct keys (an intermodulation list): descending signals, then
    // ascending proponent.
    std::vector<std::string> list{"    1    2    3 108.100", "    2    2    3 108.100", "    1    4    5 108.050",
                                  "    3    1    9 108.150"};
    sortRecords(list, "7:23:D 2:5:A", 23);
    const std::vector<std::string> sorted{"    1    4    5 108.050", "    1    2    3 108.100", "    2    2    3 108.100",
                                          "    3    1    9 108.150"};
    EXPECT_EQ(list, sorted);
}

TEST(SortFile, InMemorySortOfManyRecordsMergesAcrossChunks) {
    // Enough records for several merge passes. Record k (in the expected
    // order) holds key 99999 - k / 2 in columns 7-23 (descending) and
    // proponent 1 or 2 (ascending) for the two records of each key.
    constexpr int kRecords = 21000;
    std::vector<std::string> expected;
    for (int k = 0; k < kRecords; ++k) {
        char line[32];
        std::snprintf(line, sizeof line, " %4d %17d", 1 + k % 2, 99999 - k / 2);
        expected.emplace_back(line);
    }
    // Keys of up to 28 columns in all are compared in place; wider ones
    // (here the same keys and 20 further blank columns) through a copy.
    for (const char* keys : {"7:23:D 2:5:A", "7:23:D 2:5:A 24:43:A"})
        for (const char* threads : {"1", "8"}) {
            ::setenv("CRV_THREADS", threads, 1);
            std::vector<std::string> records = expected;
            std::shuffle(records.begin(), records.end(), std::mt19937(20241210));
            sortRecords(records, keys, 43);
            EXPECT_TRUE(records == expected) << keys << ", " << threads << " threads";
        }
    ::unsetenv("CRV_THREADS");
}
