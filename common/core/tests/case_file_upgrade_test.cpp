#include "crv/common/case_file_upgrade.h"

#include <gtest/gtest.h>

#include "crv/common/file_system.h"
#include "special_files.h"
#include "test_support.h"

namespace crv::common {
namespace {

using testing::readBytes;
using testing::ScratchFolder;

const std::string kData = CRV_TEST_DATA;

TEST(GetFileVersion, ReadsTheLastNumberOfTheVersionText) {
    struct Case {
        const char* line;
        int version;
    } cases[] = {
        {"CRV Version 5.0.6", 2},
        {"CRV Version 5.0.2", 2},
        {"CRV Version 5.0.9", 2},
        {"CRV Version 5.0.1", 1},
        {"CRV Version 5.0.0", 0},
        {"CRV Version 5.0.6 ", 2},
        {"CRV Version 5.0.6\r", 2},
        {" CRV Version 5.0.1  ", 1},
        {" ILX  270  109.50  38 30 00", -1},
        {"", -1},
    };
    for (const auto& c : cases) EXPECT_EQ(GetFileVersion(c.line), c.version) << c.line;
}

TEST(BackupName, PutsOldBeforeTheExtensionOfTheFileName) {
    EXPECT_EQ(backupName("/cases/case.dat"), "/cases/case_old.dat");
    EXPECT_EQ(backupName("/cases/my.case.dat"), "/cases/my.case_old.dat");
    EXPECT_EQ(backupName("/my.cases/case"), "/my.cases/case_old");
    EXPECT_EQ(backupName("case"), "case_old");
}

class Upgrade : public ::testing::TestWithParam<std::pair<std::string, int>> {};

TEST_P(Upgrade, BringsEachOldLayoutToTheCurrentOneAndKeepsTheOriginal) {
    const auto& [name, version] = GetParam();
    ScratchFolder dir;
    const std::string original = readBytes(kData + name + ".dat");
    const std::string path = dir / "case.dat";
    testing::writeBytes(path, original);
    const auto firstLine = original.substr(0, original.find('\r'));
    ASSERT_EQ(GetFileVersion(firstLine), version);
    auto done = UpgradeDataFile(path, version);
    ASSERT_TRUE(done) << done.error();
    EXPECT_EQ(readBytes(path), readBytes(kData + name + "_expected.dat"));
    EXPECT_EQ(readBytes(dir / "case_old.dat"), original);
}

INSTANTIATE_TEST_SUITE_P(Layouts, Upgrade,
                         ::testing::Values(std::make_pair(std::string("upgrade_oldest"), -1),
                                           std::make_pair(std::string("upgrade_v0"), 0),
                                           std::make_pair(std::string("upgrade_v0b"), 0),
                                           std::make_pair(std::string("upgrade_v1"), 1)));

TEST(UpgradeDataFile, RefusesAFileThatIsNoCaseFileAndLeavesItByteIdentical) {
    ScratchFolder dir;
    // A facility database opened as a case: no version line, no "999", no options line.
    const std::string database =
        "3807722 WAAA    101.100 38 10 00  77 20 00  3.0000  500\r\n"
        "3807723 WBBB    102.100 38 11 00  77 21 00  1.0000  300\r\n";
    const std::string path = dir / "FMALL.dat";
    testing::writeBytes(path, database);
    EXPECT_FALSE(UpgradeDataFile(path, GetFileVersion("3807722 WAAA")));
    EXPECT_EQ(readBytes(path), database);
    EXPECT_FALSE(testing::existsAt(dir / "FMALL_old.dat"));

    struct Case {
        std::string text;
        int version;
    } broken[] = {
        {"CRV Version 5.0.1\r\n nav\r\n rf\r\n", 1},              // no terminator
        {"CRV Version 5.0.1\r\n nav\r\n $$$$\r\n", 1},            // no options line
        {"CRV Version 5.0.0\r\n nav\r\n $$$$\r\n  0  1\r\n", 0},  // no case line
        {" nav\r\n 999\r\n  0  1\r\n", -1},                       // oldest, no case line
        {"", -1},
    };
    for (const auto& c : broken) {
        testing::writeBytes(path, c.text);
        auto result = UpgradeDataFile(path, c.version);
        EXPECT_FALSE(result) << c.text;
        EXPECT_EQ(readBytes(path), c.text);
        EXPECT_FALSE(testing::existsAt(dir / "FMALL_old.dat"));
    }
}

TEST(UpgradeDataFile, KeepsAnEarlierBackup) {
    ScratchFolder dir;
    const std::string original = readBytes(kData + "upgrade_v1.dat");
    testing::writeBytes(dir / "case.dat", original);
    testing::writeBytes(dir / "case_old.dat", "the first original");
    ASSERT_TRUE(UpgradeDataFile(dir / "case.dat", 1));
    EXPECT_EQ(readBytes(dir / "case_old.dat"), "the first original");
    EXPECT_EQ(readBytes(dir / "case_old2.dat"), original);
    EXPECT_EQ(readBytes(dir / "case.dat"), readBytes(kData + "upgrade_v1_expected.dat"));
}

TEST(UpgradeDataFile, LeavesACurrentFileAlone) {
    ScratchFolder dir;
    const std::string current = readBytes(kData + "upgrade_v1_expected.dat");
    testing::writeBytes(dir / "case.dat", current);
    ASSERT_TRUE(UpgradeDataFile(dir / "case.dat", 2));
    EXPECT_EQ(readBytes(dir / "case.dat"), current);
    EXPECT_FALSE(testing::existsAt(dir / "case_old.dat"));
}

// A file that cannot be read is said as such, naming it, and nothing is
// written beside it.
TEST(UpgradeDataFile, RefusesWhatItCannotReadAndWritesNothing) {
    for (const auto& special : crv::test_files::specialFiles()) {
        SCOPED_TRACE(special.what);
        ScratchFolder dir;
        const std::string path = dir.path() + "case.dat";
        if (!special.make(path)) continue;
        const auto done = UpgradeDataFile(path, 1);
        ASSERT_FALSE(done);
        EXPECT_EQ(done.error().rfind(special.verb + path, 0), 0u) << done.error();
        EXPECT_FALSE(FileExists(dir.path() + "case_old.dat"));
    }
}

}  // namespace
}  // namespace crv::common
