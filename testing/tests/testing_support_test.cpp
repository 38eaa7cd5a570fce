// The shared test support: environment variables restored, the goldens
// written only with CRV_UPDATE_GOLDENS=1, a differing golden's candidate in
// the build tree and the golden itself untouched, file writes that fail
// loudly, and scratch folders that a fork's exit leaves alone.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <stdexcept>

#include "crv/testing/files.h"
#include "crv/testing/golden.h"
#include "crv/testing/scoped_env.h"

namespace fs = std::filesystem;
using namespace crv::testing;

namespace {

TEST(ScopedEnv, PutsBackTheValueOrItsAbsence) {
    ::setenv("CRV_TESTING_PROBE", "before", 1);
    {
        ScopedEnv set("CRV_TESTING_PROBE", "during");
        EXPECT_STREQ(std::getenv("CRV_TESTING_PROBE"), "during");
        {
            ScopedEnv removed("CRV_TESTING_PROBE");
            EXPECT_EQ(std::getenv("CRV_TESTING_PROBE"), nullptr);
        }
        EXPECT_STREQ(std::getenv("CRV_TESTING_PROBE"), "during");
    }
    EXPECT_STREQ(std::getenv("CRV_TESTING_PROBE"), "before");
    ::unsetenv("CRV_TESTING_PROBE");
    { ScopedEnv set("CRV_TESTING_PROBE", "x"); }
    EXPECT_EQ(std::getenv("CRV_TESTING_PROBE"), nullptr);
}

// Only "1" writes: any other value, or none, compares.
TEST(Goldens, OnlyOneMeansUpdate) {
    struct Case {
        const char* value;
        bool updating;
    };
    for (const Case& c : {Case{"1", true}, Case{"0", false}, Case{"", false}, Case{"yes", false}, Case{"true", false},
                          Case{nullptr, false}}) {
        SCOPED_TRACE(c.value ? c.value : "(unset)");
        auto env = c.value ? ScopedEnv("CRV_UPDATE_GOLDENS", c.value) : ScopedEnv("CRV_UPDATE_GOLDENS");
        EXPECT_EQ(updatingGoldens(), c.updating);
    }
}

TEST(Goldens, AnEqualGoldenPassesAndAMissingOneFailsUnwritten) {
    ScopedEnv comparing("CRV_UPDATE_GOLDENS");
    const std::string dir = scratchFolder("golden-compare");
    writeBytes(dir + "page.txt", "line 1\r\nline 2\r\n");
    EXPECT_TRUE(matchesGolden(dir + "page.txt", "testing/page.txt", "line 1\r\nline 2\r\n"));

    const auto missing = matchesGolden(dir + "lost.txt", "testing/lost.txt", "anything");
    EXPECT_FALSE(missing);
    EXPECT_NE(std::string(missing.message()).find("missing"), std::string::npos) << missing.message();
    EXPECT_FALSE(existsAt(dir + "lost.txt"));
    // A folder where the golden should be is no golden.
    fs::create_directories(dir + "folder.txt");
    EXPECT_FALSE(matchesGolden(dir + "folder.txt", "testing/folder.txt", ""));
}

TEST(Goldens, ADifferingGoldenLeavesItsCandidateInTheBuildTree) {
    ScopedEnv comparing("CRV_UPDATE_GOLDENS", "yes");
    const std::string dir = scratchFolder("golden-differ");
    writeBytes(dir + "page.txt", "old\n");
    const fs::path candidate = goldenCandidatePath("testing/deeper/page.txt");
    fs::remove(candidate);

    const auto result = matchesGolden(dir + "page.txt", "testing/deeper/page.txt", "new\n");
    EXPECT_FALSE(result);
    EXPECT_NE(std::string(result.message()).find(candidate.string()), std::string::npos) << result.message();
    EXPECT_EQ(readBytes(dir + "page.txt"), "old\n");
    EXPECT_EQ(readBytes(candidate), "new\n");
    // Nothing beside the golden: the source tree stays as it was.
    EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 1);
    // The build tree, not the folder of the goldens.
    EXPECT_EQ(candidate.string().rfind(dir, 0), std::string::npos);
    fs::remove(candidate);
}

TEST(Goldens, UpdateWritesTheGoldenAndReportsAFailedWrite) {
    ScopedEnv updating("CRV_UPDATE_GOLDENS", "1");
    const std::string dir = scratchFolder("golden-update");
    EXPECT_TRUE(matchesGolden(dir + "sub/page.txt", "testing/page.txt", "fresh\r\n"));
    EXPECT_EQ(readBytes(dir + "sub/page.txt"), "fresh\r\n");
    EXPECT_TRUE(matchesGolden(dir + "sub/page.txt", "testing/page.txt", "again"));
    EXPECT_EQ(readBytes(dir + "sub/page.txt"), "again");
    fs::create_directories(dir + "taken");
    EXPECT_FALSE(matchesGolden(dir + "taken", "testing/taken", "x"));
}

TEST(Files, WholeFilesInAndOut) {
    const std::string dir = scratchFolder("files");
    const std::string bytes("a\0b\r\n\xff", 6);
    writeBytes(dir + "f", bytes);
    EXPECT_EQ(readBytes(dir + "f"), bytes);
    writeBytes(dir + "f", "short");
    EXPECT_EQ(readBytes(dir + "f"), "short");
    EXPECT_EQ(readBytes(dir + "none"), "");
    EXPECT_THROW(writeBytes(dir + "no/such/folder/f", "x"), std::runtime_error);
    writeLines(dir + "lines", {"one", "", "three"});
    EXPECT_EQ(readBytes(dir + "lines"), "one\r\n\r\nthree\r\n");
    EXPECT_THROW(writeLines(dir + "no/such/folder/f", {"x"}), std::runtime_error);
    ::symlink((dir + "nowhere").c_str(), (dir + "dangling").c_str());
    EXPECT_TRUE(existsAt(dir + "dangling"));
    EXPECT_FALSE(existsAt(dir + "nowhere"));
}

// A second call with the name empties the folder; a forked child that ends
// through exit() leaves the parent's folders in place.
TEST(Files, ScratchFoldersAreFreshAndOutliveAForkedChild) {
    const std::string dir = scratchFolder("fresh");
    writeBytes(dir + "left", "x");
    EXPECT_EQ(scratchFolder("fresh"), dir);
    EXPECT_FALSE(existsAt(dir + "left"));
    writeBytes(dir + "kept", "x");
    const pid_t child = ::fork();
    if (child == 0) std::exit(0);
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    EXPECT_TRUE(existsAt(dir + "kept"));
}

TEST(Files, AScratchFolderGoesWithItsObjectEvenWhenLockedUp) {
    std::string path;
    {
        ScratchFolder folder("crv-testing");
        path = folder.path();
        ASSERT_EQ(path.back(), '/');
        fs::create_directories(folder / "locked/inner");
        writeBytes(folder / "locked/inner/f", "x");
        fs::permissions(folder / "locked", fs::perms::none);
    }
    EXPECT_FALSE(existsAt(path));
}

}  // namespace
