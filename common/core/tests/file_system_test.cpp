#include "crv/common/file_system.h"

#include <sys/stat.h>

#include <gtest/gtest.h>

#include "test_support.h"

namespace crv::common {
namespace {

using testing::ScratchFolder;

TEST(MatchesPattern, IgnoresLetterCase) {
    EXPECT_TRUE(matchesPattern("RFI.PLT", "*.plt"));
    EXPECT_TRUE(matchesPattern("Rfi.plt", "rfi.plt"));
    EXPECT_TRUE(matchesPattern("noext", "*.*"));
    EXPECT_TRUE(matchesPattern("FmHor01.pat", "FmHor??.pat"));
    EXPECT_FALSE(matchesPattern("FmHor1.pat", "FmHor??.pat"));
    EXPECT_FALSE(matchesPattern("a.plx", "*.plt"));
    EXPECT_TRUE(matchesPattern("a.b.plt", "*.plt"));
}

TEST(NormalizePath, SpellsEachComponentAsStored) {
    ScratchFolder dir;
    testing::makeFolder(dir / "Cases");
    testing::writeBytes(dir / "Cases/My Case.DAT", "x");
    EXPECT_EQ(NormalizePath(dir / "cases/"), dir / "Cases/");
    EXPECT_EQ(NormalizePath(dir / "CASES/my case.dat"), dir / "Cases/My Case.DAT");
    EXPECT_EQ(NormalizePath("  " + (dir / "Cases") + "  "), dir / "Cases");
    EXPECT_EQ(NormalizePath(dir / "missing/"), "");
    EXPECT_EQ(NormalizePath(""), "");
    EXPECT_EQ(NormalizePath("/"), "/");
}

TEST(FileExists, MatchesFilesFoldersAndPatternsInAnyCase) {
    ScratchFolder dir;
    testing::makeFolder(dir / "Run");
    testing::writeBytes(dir / "Run/Rfi.plt", "x");
    EXPECT_TRUE(FileExists(dir / "Run/"));
    EXPECT_TRUE(FileExists(dir / "run/rfi.plt"));
    EXPECT_TRUE(FileExists(dir / "Run/*.PLT"));
    EXPECT_FALSE(FileExists(dir / "Run/*.txt"));
    EXPECT_FALSE(FileExists(dir / "Other/*.plt"));
    EXPECT_FALSE(FileExists(""));
}

TEST(DeleteFiles, DeletesReadOnlyMatchesAndLeavesFolders) {
    ScratchFolder dir;
    testing::writeBytes(dir / "a.ptx", "x");
    testing::writeBytes(dir / "B.PTX", "x");
    ::chmod((dir / "B.PTX").c_str(), 0444);
    testing::makeFolder(dir / "folder.ptx");
    testing::writeBytes(dir / "keep.txt", "x");
    DeleteFiles(dir / "*.ptx");
    EXPECT_FALSE(testing::existsAt(dir / "a.ptx"));
    EXPECT_FALSE(testing::existsAt(dir / "B.PTX"));
    EXPECT_TRUE(testing::existsAt(dir / "folder.ptx"));
    EXPECT_TRUE(testing::existsAt(dir / "keep.txt"));
    DeleteFiles(dir / "missing/*.ptx");  // nothing to do, no failure
}

TEST(EnsureDirExists, CreatesOneLevelAndRefusesAFile) {
    ScratchFolder dir;
    EXPECT_TRUE(EnsureDirExists(dir / "New/"));
    EXPECT_TRUE(testing::existsAt(dir / "New"));
    EXPECT_TRUE(EnsureDirExists(dir / "New"));  // already there
    testing::writeBytes(dir / "file", "x");
    EXPECT_FALSE(EnsureDirExists(dir / "file"));
    EXPECT_FALSE(EnsureDirExists(dir / "a/b/c"));  // one level only
}

}  // namespace
}  // namespace crv::common
