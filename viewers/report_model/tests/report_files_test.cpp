#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>

#include <sys/stat.h>
#include <unistd.h>

#include "crv/testing/files.h"
#include "crv/viewers/report_files.h"
#include "special_files.h"

namespace fs = std::filesystem;
using namespace crv::viewers;

namespace {
class ReportFiles : public ::testing::Test {
protected:
    void SetUp() override {
        dir = fs::temp_directory_path() / ("crv_report_files_" + std::to_string(::getpid()));
        fs::remove_all(dir);
        fs::create_directories(dir / "sub");
        write(dir / "Rfi.txt", "line 1\r\nline 2\r\n");
    }
    void TearDown() override {
        fs::permissions(dir / "sub", fs::perms::owner_all);
        fs::remove_all(dir);
    }
    static void write(const fs::path& p, const std::string& s) { crv::testing::writeBytes(p, s); }
    static std::string read(const fs::path& p) {
        auto text = readReport(p.string());
        return text ? *text : "<missing>";
    }
    fs::path dir;
};
}  // namespace

TEST(ReportList, Splits) {
    EXPECT_EQ(splitReportList("Rfi.txt"), (std::vector<std::string>{"Rfi.txt"}));
    EXPECT_EQ(splitReportList("||a.txt|b.txt"), (std::vector<std::string>{"a.txt", "b.txt"}));
    EXPECT_EQ(splitReportList("a.txt||b.txt"), (std::vector<std::string>{"a.txt"}));
    EXPECT_EQ(splitReportList("a.txt|"), (std::vector<std::string>{"a.txt"}));
    EXPECT_TRUE(splitReportList("").empty());
}

TEST_F(ReportFiles, CopiesUnchanged) {
    EXPECT_EQ(saveReportCopy((dir / "Rfi.txt").string(), (dir / "copy.txt").string()), "");
    EXPECT_EQ(read(dir / "copy.txt"), "line 1\r\nline 2\r\n");
    write(dir / "old.txt", "something longer that is replaced\r\n");
    EXPECT_EQ(saveReportCopy((dir / "Rfi.txt").string(), (dir / "old.txt").string()), "");
    EXPECT_EQ(read(dir / "old.txt"), "line 1\r\nline 2\r\n");
}

TEST_F(ReportFiles, SavingOntoItselfKeepsTheReport) {
    const std::string source = (dir / "Rfi.txt").string();
    for (const fs::path& target : {dir / "Rfi.txt", dir / "sub" / ".." / "Rfi.txt"}) {
        EXPECT_EQ(saveReportCopy(source, target.string()), "") << target;
        EXPECT_EQ(read(dir / "Rfi.txt"), "line 1\r\nline 2\r\n") << target;
    }
    fs::create_symlink(dir / "Rfi.txt", dir / "link.txt");
    EXPECT_EQ(saveReportCopy((dir / "link.txt").string(), source), "");
    EXPECT_EQ(read(dir / "Rfi.txt"), "line 1\r\nline 2\r\n");
}

TEST_F(ReportFiles, FailuresAreReportedAndLeaveTargetIntact) {
    EXPECT_NE(saveReportCopy((dir / "missing.txt").string(), (dir / "x.txt").string()), "");
    EXPECT_FALSE(fs::exists(dir / "x.txt"));
    EXPECT_NE(saveReportCopy((dir / "Rfi.txt").string(), (dir / "nofolder" / "x.txt").string()), "");
    if (::geteuid() != 0) {
        write(dir / "sub" / "keep.txt", "kept\r\n");
        fs::permissions(dir / "sub", fs::perms::owner_read | fs::perms::owner_exec);
        EXPECT_NE(saveReportCopy((dir / "Rfi.txt").string(), (dir / "sub" / "keep.txt").string()), "");
        EXPECT_EQ(read(dir / "sub" / "keep.txt"), "kept\r\n");
    }
}

// The viewer shows what the reader says: a report that cannot be read is
// named and explained, never an empty page.
TEST_F(ReportFiles, SpecialFilesAreRefusedNamingThem) {
    for (const auto& special : crv::test_files::specialFiles()) {
        SCOPED_TRACE(special.what);
        const std::string path = (dir / "Special.txt").string();
        crv::test_files::removeSpecial(path);
        if (!special.make(path)) continue;
        const auto text = readReport(path);
        ASSERT_FALSE(text);
        EXPECT_EQ(text.error().rfind(special.verb + path, 0), 0u) << text.error();
    }
    EXPECT_EQ(read(dir / "Rfi.txt"), "line 1\r\nline 2\r\n");
}

// Save As never writes through a link someone put where the copy goes, never
// waits on a FIFO there and never replaces a read-only file: each is refused
// with its name and what it is, and left as it was.
TEST_F(ReportFiles, SaveAsRefusesWhatIsNotAWritableFile) {
    write(dir / "victim.txt", "someone's notes\n");
    struct Case {
        const char* what;
        std::function<void(const fs::path&)> make;
    } cases[] = {
        {"it is a symbolic link", [&](const fs::path& p) { fs::create_symlink(dir / "victim.txt", p); }},
        {"it is a FIFO", [](const fs::path& p) { ASSERT_EQ(::mkfifo(p.c_str(), 0600), 0); }},
        {"it is read-only",
         [](const fs::path& p) {
             write(p, "kept\r\n");
             fs::permissions(p, fs::perms::owner_read);
         }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const fs::path target = dir / "copy.txt";
        fs::remove(target);
        c.make(target);
        const std::string error = saveReportCopy((dir / "Rfi.txt").string(), target.string());
        EXPECT_EQ(error, "The report could not be copied to \"" + target.string() + "\": Could not create " +
                             target.string() + ": " + c.what);
    }
    EXPECT_EQ(read(dir / "victim.txt"), "someone's notes\n");
    EXPECT_EQ(read(dir / "copy.txt"), "kept\r\n");
}
