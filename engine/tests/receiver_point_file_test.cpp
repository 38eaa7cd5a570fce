// The receiver-point file as the evaluations read it: the whole file at once
// when it is sound, and the record reader's messages when it is not.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <limits>
#include <string>

#include "failure.h"
#include "receiver_point_file.h"
#include "test_support.h"

namespace crv::engine {
namespace {

using crv::test::readBytes;
using crv::test::writeBytes;

// The golden of the plot-file unit: a header and two points.
const std::string kGolden = CRV_FORMATS_TEST_DATA "receiver_points.plx";
constexpr std::size_t kPointFrame = 34;  // two length markers around 26 bytes

std::string failureOf(const std::string& path) {
    try {
        readReceiverPointFile(path, "Evaluate       ");
    } catch (const EngineFailure& e) {
        EXPECT_EQ(e.routine(), "Evaluate       ");
        return e.message();
    }
    return "no failure";
}

TEST(ReceiverPointFile, ReadsHeaderAndEveryRecordInOrder) {
    const ReceiverPointFile f = readReceiverPointFile(kGolden, "Evaluate       ");
    EXPECT_EQ(f.header.fileName, "Rcvr_Loc.plx");
    EXPECT_EQ(f.header.gridType, 1);
    ASSERT_EQ(f.recordCount(), 3u);
    EXPECT_EQ(f.points[0].id, 0);
    EXPECT_EQ(f.points[0].distanceNmi, 10.5f);
    EXPECT_EQ(f.points[0].azimuthDeg, 270.25f);
    EXPECT_EQ(f.points[0].levelDbm, -62.5f);
    EXPECT_EQ(f.points[1].id, 3);
    EXPECT_EQ(f.points[1].latitude, 38.52f);
    EXPECT_EQ(f.points[2].id, crv::formats::kSectionEnd);
}

TEST(ReceiverPointFile, DamageIsReportedWithTheRecordReadersMessage) {
    const std::string dir = crv::test::scratchFolder("receiver-point-file");
    const std::string sound = readBytes(kGolden);
    ASSERT_GT(sound.size(), 3 * kPointFrame);
    const std::size_t lastRecord = sound.size() - kPointFrame;

    struct Case {
        const char* name;
        std::string bytes;
        std::string message;  // after the path
    };
    std::string disagree = sound;
    disagree[sound.size() - 4] = 27;  // the last record's trailing length
    std::string shortRecord = sound.substr(0, lastRecord);
    shortRecord += std::string("\x14\0\0\0", 4) + std::string(20, '\0') + std::string("\x14\0\0\0", 4);
    const Case cases[] = {
        {"cut.plx", sound.substr(0, sound.size() - 3),
         " is damaged: a record at byte " + std::to_string(lastRecord) + " runs past the end of the file"},
        {"tail.plx", sound + "\x01\x02", " is damaged: incomplete record length at byte " + std::to_string(sound.size())},
        {"disagree.plx", disagree, " is damaged: record lengths disagree at byte " + std::to_string(lastRecord)},
    };
    for (const Case& c : cases) {
        const std::string path = dir + c.name;
        writeBytes(path, c.bytes);
        EXPECT_EQ(failureOf(path), "Damaged receiver point file:\r" + path + c.message) << c.name;
    }
    const std::string shortPath = dir + "short.plx";
    writeBytes(shortPath, shortRecord);
    EXPECT_EQ(failureOf(shortPath), "Damaged receiver point file (short record):\r" + shortPath);
    EXPECT_EQ(failureOf(dir + "missing.plx"), "Could not open receiver point file:\r" + dir + "missing.plx");
}

}  // namespace
}  // namespace crv::engine

namespace crv::engine {
namespace {

// Sound framing around numbers no receiver point can hold: each is refused
// with the record and the value, before an evaluation turns it into a level.
// A file larger than any grid writes (valid, then zeros: a damaged copy) is
// refused from its size, naming the file, before it is read: a sparse
// gigabyte here, which reading would take seconds and a gigabyte of memory.
TEST(ReceiverPointFile, AFileLargerThanAnyGridWritesIsRefusedFromItsSize) {
    const std::string dir = crv::test::scratchFolder("receiver-point-size");
    const std::string path = dir + "Rcvr_Loc.plx";
    writeBytes(path, readBytes(kGolden));
    std::filesystem::resize_file(path, std::uintmax_t(1) << 30);
    EXPECT_EQ(failureOf(path), "Could not read receiver point file (larger than " +
                                   std::to_string(crv::formats::kReceiverPointFileMaxBytes) + " bytes):\r" + path);
    // The bound holds the largest grid: 5000000 points and two section ends.
    EXPECT_EQ(crv::formats::kReceiverPointFileMaxBytes, 423u + 5000002u * 38u);
}

TEST(ReceiverPointFile, ValuesThatNoPointCanHoldAreRefused) {
    const std::string dir = crv::test::scratchFolder("receiver-point-values");
    const std::string sound = readBytes(kGolden);
    // The first point record's data starts 4 bytes into its frame; the
    // fields follow the id (2 bytes): distance, azimuth, altitude, latitude,
    // longitude, level, 4 bytes each.
    const std::size_t firstData = sound.size() - 3 * kPointFrame + 4;
    struct Case {
        const char* name;
        std::size_t offset;
        float value;
        const char* problem;
    } cases[] = {
        {"nan-latitude", 14, std::numeric_limits<float>::quiet_NaN(), "the latitude nan is out of range"},
        {"inf-distance", 2, std::numeric_limits<float>::infinity(), "the distance inf is out of range"},
        {"negative-distance", 2, -1.0f, "the distance -1 is out of range"},
        {"latitude-91", 14, 91.0f, "the latitude 91 is out of range"},
        {"longitude-200", 18, -200.0f, "the longitude -200 is out of range"},
        {"huge-altitude", 10, 3.0e30f, "the altitude 3e+30 is out of range"},
        {"nan-level", 22, std::numeric_limits<float>::quiet_NaN(), "the level nan is out of range"},
    };
    for (const auto& c : cases) {
        std::string bytes = sound;
        std::memcpy(&bytes[firstData + c.offset], &c.value, 4);
        const std::string path = dir + c.name + ".plx";
        writeBytes(path, bytes);
        EXPECT_EQ(failureOf(path),
                  std::string("Damaged receiver point file (record 19: ") + c.problem + "):\r" + path)
            << c.name;
    }
}

}  // namespace
}  // namespace crv::engine

namespace crv::engine {
namespace {

// A file of many points is read in parts on all threads: every record lands
// in its place, the first bad record is the one named whichever part finds
// a bad one first, and records framed otherwise than the grid frames them
// are still read one by one.
TEST(ReceiverPointFile, ManyPointsAreReadInOrderAndTheFirstBadOneIsNamed) {
    const std::string dir = crv::test::scratchFolder("receiver-point-many");
    const std::string sound = readBytes(kGolden);
    const std::string header = sound.substr(0, sound.size() - 3 * kPointFrame);
    const std::string frame = sound.substr(header.size(), kPointFrame);  // the first point record
    constexpr std::size_t kCount = 20000;
    std::string many = header;
    for (std::size_t i = 0; i < kCount; ++i) {
        std::string f = frame;
        const auto id = static_cast<std::int16_t>(i % 9000);
        std::memcpy(&f[4], &id, 2);
        many += f;
    }
    const std::string manyPath = dir + "many.plx";
    writeBytes(manyPath, many);
    const ReceiverPointFile f = readReceiverPointFile(manyPath, "Evaluate       ");
    ASSERT_EQ(f.recordCount(), kCount);
    for (std::size_t i = 0; i < kCount; ++i) ASSERT_EQ(f.points[i].id, static_cast<std::int16_t>(i % 9000)) << i;
    EXPECT_EQ(f.points[kCount - 1].azimuthDeg, 270.25f);

    // Two bad records far apart: the earlier is named (record numbers count
    // the 18 header records).
    std::string bad = many;
    const float nan = std::numeric_limits<float>::quiet_NaN(), far = 20000.0f;
    std::memcpy(&bad[header.size() + 17000 * kPointFrame + 4 + 14], &nan, 4);
    std::memcpy(&bad[header.size() + 9000 * kPointFrame + 4 + 2], &far, 4);
    const std::string badPath = dir + "bad.plx";
    writeBytes(badPath, bad);
    EXPECT_EQ(failureOf(badPath),
              "Damaged receiver point file (record 9019: the distance 20000 is out of range):\r" + badPath);

    // Two point records replaced by one longer record of the same total
    // size: sound framing, read record by record.
    std::string longer = many.substr(0, header.size() + 5000 * kPointFrame);
    const std::uint32_t length = 2 * kPointFrame - 8;
    std::string data = frame.substr(4, 26) + std::string(length - 26, '\0');
    longer += std::string(reinterpret_cast<const char*>(&length), 4) + data +
              std::string(reinterpret_cast<const char*>(&length), 4);
    longer += many.substr(header.size() + 5002 * kPointFrame);
    const std::string longerPath = dir + "longer.plx";
    writeBytes(longerPath, longer);
    const ReceiverPointFile l = readReceiverPointFile(longerPath, "Evaluate       ");
    ASSERT_EQ(l.recordCount(), kCount - 1);
    EXPECT_EQ(l.points[4999].id, 4999);
    EXPECT_EQ(l.points[5000].id, 0);  // the longer record, with the first record's data
    EXPECT_EQ(l.points[5001].id, 5002);
    EXPECT_EQ(l.points[kCount - 2].id, static_cast<std::int16_t>((kCount - 1) % 9000));
}

}  // namespace
}  // namespace crv::engine
