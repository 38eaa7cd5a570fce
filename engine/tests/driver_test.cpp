// The shipped binaries: the library lets out exactly its nine functions and
// the driver keeps its output form and exit codes.
#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <set>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

#include "test_support.h"

namespace {
struct Result {
    int exitCode;
    std::string out;
};

Result run(const std::string& command) {
    Result r{-1, {}};
    FILE* p = ::popen(command.c_str(), "r");
    if (!p) return r;
    std::array<char, 4096> buf;
    std::size_t n;
    while ((n = std::fread(buf.data(), 1, buf.size(), p)) > 0) r.out.append(buf.data(), n);
    const int status = ::pclose(p);
    r.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return r;
}

const std::string driver = std::string(CRV_BIN_DIR) + "crv50 --quiet ";
}  // namespace

TEST(Library, ExportsExactlyTheNineFunctions) {
    const Result r = run("nm -D --defined-only " CRV_BIN_DIR "libcrv50.so | awk '{print $3}'");
    ASSERT_EQ(r.exitCode, 0);
    std::set<std::string> names;
    std::size_t start = 0;
    while (start < r.out.size()) {
        const auto end = r.out.find('\n', start);
        const std::string name = r.out.substr(start, end - start);
        if (!name.empty()) names.insert(name);
        if (end == std::string::npos) break;
        start = end + 1;
    }
    const std::set<std::string> expected = {"Grid",     "Evaluate", "B1_2Sig", "B1_3Sig", "GrndCOM",
                                            "SearchDB", "SortFile", "DistLL",  "LLDist"};
    EXPECT_EQ(names, expected);
}

TEST(Driver, GeodesyCommands) {
    Result r = run(driver + "lldist 40 75 40 74");
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_NE(r.out.find("bearing=90\n"), std::string::npos) << r.out;
    EXPECT_EQ(r.out.rfind("distance=45.96", 0), 0u) << r.out;

    r = run(driver + "distll 60 0 38.5 77.25");
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.out, "latitude=39.5\nlongitude=77.25\n");
}

TEST(Driver, ExitCodes) {
    const std::string dir = crv::test::scratchFolder("driver");
    struct Case {
        std::string args;
        int exitCode;
    } cases[] = {
        {"", 2},                                   // no command
        {"frobnicate", 2},                         // unknown command
        {"lldist 1 2 3", 2},                       // wrong argument count
        {"lldist 1 2 3 x", 2},                     // not a number
        {"grid " + dir + " 2>/dev/null", 2},       // no case in the folder
        {"sort " + dir + "missing.txt 1:2:A 10", 2},
        {"--help", 0},
        {"--version", 0},
    };
    for (const auto& c : cases) EXPECT_EQ(run(driver + c.args + " 2>/dev/null").exitCode, c.exitCode) << c.args;
}

TEST(Driver, SortCommand) {
    const std::string dir = crv::test::scratchFolder("driver-sort");
    crv::test::writeBytes(dir + "f.txt", "b 2\r\na 1\r\n");
    const Result r = run(driver + "sort " + dir + "f.txt '1:1:A 3:3:D' 3");
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.out, "sorted=" + dir + "f.txt\nrecords=2\nkeys=1:1:A 3:3:D\n");
    EXPECT_EQ(crv::test::readBytes(dir + "f.txt"), "a 1\r\nb 2\r\n");
}

// The driver checks its own arguments: what has no answer is refused with a
// message and exit 2, and nothing is run or changed.
TEST(Driver, RefusesArgumentsWithoutAnAnswer) {
    const std::string dir = crv::test::scratchFolder("driver-refuse");
    crv::test::writeBytes(dir + "f.txt", "b 2\r\na 1\r\n");
    std::filesystem::create_directories(dir + "ils");
    std::filesystem::copy_file(std::string(CRV_TEST_DATA) + "ils_two_stations/Rfi.plt", dir + "ils/Rfi.plt");
    struct Case {
        std::string args, message;
    } cases[] = {
        {"lldist 91 0 0 0", "latitude must be -90..90: 91"},
        {"lldist 0 0 0 1e39", "longitude must be -180..180: 1e39"},
        {"distll 10 45 95 0", "latitude must be -90..90: 95"},
        {"distll -1 45 40 75", "distance must be 0..10800: -1"},
        {"sort " + dir + "f.txt 'x:2:A' 3", "cannot read the sort key \"x:2:A\""},
        {"sort " + dir + "f.txt '1:1:A 2' 3", "cannot read the sort key \"2\""},
        {"sort " + dir + "f.txt '2:1' 3", "cannot read the sort key \"2:1\""},
        {"sort " + dir + "f.txt '1:9' 3", "cannot read the sort key \"1:9\""},
        // Only A and D say a direction; anything else would sort ascending.
        {"sort " + dir + "f.txt '1:1:X' 3", "cannot read the sort key \"1:1:X\""},
        {"sort " + dir + "f.txt '1:1:A 3:3:Down' 3", "cannot read the sort key \"3:3:Down\""},
        // What is not a file is named for what it is.
        {"sort " + dir + " 1:1:A 3", "cannot sort " + dir + ": it is a folder"},
        {"sort /dev/null 1:1:A 3", "cannot sort /dev/null: it is a device"},
        {"grndcom " + dir + "ils", "grndcom needs a VHF COM case (service-volume type 8)"},
        {"search fm 1 1e39 75 0 0 0 0 10 0", "a search value must be -1e+30..1e+30: 1e39"},
    };
    for (const auto& c : cases) {
        const Result r = run(driver + c.args + " 2>&1");
        EXPECT_EQ(r.exitCode, 2) << c.args;
        EXPECT_NE(r.out.find("crv50: " + c.message), std::string::npos) << c.args << "\n" << r.out;
        EXPECT_EQ(r.out.find("status="), std::string::npos) << c.args;
    }
    EXPECT_EQ(crv::test::readBytes(dir + "f.txt"), "b 2\r\na 1\r\n");
    EXPECT_FALSE(std::filesystem::exists(dir + "ils/Rfi.txt"));

    const Result v = run(driver + "--version");
    EXPECT_EQ(v.out, "crv50 5.0.6\n");
}

// A sort the engine could not finish (its export has no status; its message
// tells) ends with exit 2 and no "sorted=" line, the file as it was: a full
// disk (no file may grow at all) and a folder that takes no new file.
TEST(Driver, AFailedSortIsNoSuccess) {
    const std::string dir = crv::test::scratchFolder("driver-sort-fails");
    const std::string records = "b 2\r\na 1\r\nc 3\r\n";
    crv::test::writeBytes(dir + "f.txt", records);
    // The shell ignores the signal a write past the limit raises, and so
    // does the driver it starts: the write then fails as on a full disk.
    Result r = run("sh -c \"trap '' XFSZ; ulimit -f 0; " + driver + "sort " + dir + "f.txt 1:1:A 3\" 2>&1");
    EXPECT_EQ(r.exitCode, 2) << r.out;
    EXPECT_EQ(r.out.find("sorted="), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("An error occurred in procedure SortFile"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find(dir + "f.txt"), std::string::npos) << r.out;
    EXPECT_EQ(crv::test::readBytes(dir + "f.txt"), records);

    std::filesystem::permissions(dir, std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
    if (::access(dir.c_str(), W_OK) != 0) {  // as root the folder still takes files
        r = run(driver + "sort " + dir + "f.txt 1:1:A 3 2>&1");
        EXPECT_EQ(r.exitCode, 2) << r.out;
        EXPECT_EQ(r.out.find("sorted="), std::string::npos) << r.out;
        EXPECT_EQ(crv::test::readBytes(dir + "f.txt"), records);
    }
    std::filesystem::permissions(dir, std::filesystem::perms::owner_all);
}

// Each printed value is one line, whatever a path holds: a line break in a
// file name cannot add lines of its own to the output.
TEST(Driver, APathNeverAddsLinesOfItsOwn) {
    const std::string dir = crv::test::scratchFolder("driver-newline");
    const std::string folder = dir + "x\nstatus=0\ncases=99\\y/";
    std::filesystem::create_directories(folder);
    crv::test::writeBytes(folder + "f", "b\r\na\r\n");
    const Result r = run(driver + "sort '" + folder + "f' 1:1:A 1");
    EXPECT_EQ(r.exitCode, 0) << r.out;
    EXPECT_EQ(r.out, "sorted=" + dir + "x\\nstatus=0\\ncases=99\\\\y/f\nrecords=2\nkeys=1:1:A\n");
    EXPECT_EQ(crv::test::readBytes(folder + "f"), "a\r\nb\r\n");
}

// A settings file that is there but cannot be read is reported, not taken
// for an empty one.
TEST(Driver, ConfigReportsAnUnreadableSettingsFile) {
    const std::string dir = crv::test::scratchFolder("driver-config-folder");
    std::filesystem::create_directories(dir + "s.ini");
    const Result r = run("CORVANE_SETTINGS=" + dir + "s.ini " + driver + "config 2>&1");
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_NE(r.out.find("Could not open " + dir + "s.ini"), std::string::npos) << r.out;
    EXPECT_EQ(r.out.find("fm_database="), std::string::npos) << r.out;
}

TEST(Driver, ConfigShowsThePathBlock) {
    const std::string dir = crv::test::scratchFolder("driver-config");
    crv::test::writeBytes(dir + "s.ini", "[Paths]\nUser Folder=/u\n[General]\nModel Type=SCI\n");
    const Result r = run("CORVANE_SETTINGS=" + dir + "s.ini " + driver + "config");
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_NE(r.out.find("user_folder=/u/\n"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("edition=SCI\n"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("fm_database=FMALL.dat\n"), std::string::npos) << r.out;
}
