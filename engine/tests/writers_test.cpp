// Every file the engine and its driver write, against what can stand in its
// place: a FIFO (which would hold a writer for ever), a folder, a link to a
// file of someone else's (which the writer would fill) and a read-only file.
// Each run must return at once, fail with a message that names the path and
// what stands there, and leave that thing exactly as it was.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <string>

#include "crv/platform/temp_folder.h"
#include "crv50.h"
#include "sample_fixture.h"
#include "test_support.h"

namespace {

namespace fs = std::filesystem;
using crv::test::readBytes;
using crv::test::writeBytes;

struct Result {
    int exitCode = -1;
    std::string output;  // standard output and error
};

// A shell command bounded by `timeout`: exit 124 means it had to be stopped.
Result shell(const std::string& command) {
    Result r;
    FILE* p = ::popen(("timeout 30 sh -c '" + command + "' 2>&1").c_str(), "r");
    if (!p) return r;
    std::array<char, 4096> buf;
    std::size_t n;
    while ((n = std::fread(buf.data(), 1, buf.size(), p)) > 0) r.output.append(buf.data(), n);
    const int status = ::pclose(p);
    r.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return r;
}

enum class Obstacle { Fifo, Folder, Link, ReadOnly };

struct ObstacleCase {
    const char* name;
    Obstacle kind;
    const char* what;  // as the message names it
};

constexpr ObstacleCase kObstacles[] = {
    {"FIFO", Obstacle::Fifo, "it is a FIFO"},
    {"folder", Obstacle::Folder, "it is a folder"},
    {"link", Obstacle::Link, "it is a symbolic link"},
    {"read-only file", Obstacle::ReadOnly, "it is read-only"},
};

// Puts the obstacle at `path`; a link points at `victim`.
void place(const std::string& path, Obstacle kind, const std::string& victim) {
    fs::remove_all(path);
    switch (kind) {
        case Obstacle::Fifo: ASSERT_EQ(::mkfifo(path.c_str(), 0600), 0); break;
        case Obstacle::Folder: fs::create_directory(path); break;
        case Obstacle::Link: fs::create_symlink(victim, path); break;
        case Obstacle::ReadOnly:
            writeBytes(path, "the user's own copy\r\n");
            ::chmod(path.c_str(), 0444);
            break;
    }
}

// Whether the obstacle is still what it was.
void expectUntouched(const std::string& path, Obstacle kind, const std::string& victim) {
    switch (kind) {
        case Obstacle::Fifo: EXPECT_TRUE(fs::is_fifo(fs::symlink_status(path))); break;
        case Obstacle::Folder: EXPECT_TRUE(fs::is_empty(path)); break;
        case Obstacle::Link:
            EXPECT_TRUE(fs::is_symlink(path));
            EXPECT_EQ(readBytes(victim), "notes nobody else may change\n");
            break;
        case Obstacle::ReadOnly: EXPECT_EQ(readBytes(path), "the user's own copy\r\n"); break;
    }
}

class Writers : public crv::test::SampleWorkspace {};

const std::string kDriver = std::string(CRV_BIN_DIR) + "crv50 --quiet ";

// The files of a simulation run (the sample ILS case writes all of these),
// the driver's search files in the current folder and the frequency search's
// file there.
TEST_F(Writers, EveryWriterRefusesWhatIsNotARegularFile) {
    const std::string ils = sampleCase("ILS");
    struct Target {
        const char* file;
        const char* command;  // run in the folder, with the folder as "F/"
    } targets[] = {
        {"Rfi.txt", "run F/"},
        {"Rcvr_Loc.plx", "run F/"},
        {"07____A2.plt", "run F/"},        // A2/B2 plot (Evaluate)
        {"07_06___.plt", "run F/"},        // two-signal plot (B1_2Sig)
        {"FmHorU01.ptx", "run F/"},        // pattern plot of the report heading
        {"RfiSrch1.tmp", "search navaid 1 39.3375 77.7611 0 0 0 0 60 0"},
        {"RfiSrch2.tmp", "search navaid 1 39.3375 77.7611 0 0 0 0 60 0"},
        {"Fr108100.tmp", "search navaid 0 0 0 0 0 0 0 0 108.1"},
    };
    const std::string victim = *root_ + "victim-notes.txt";
    for (const auto& target : targets) {
        for (const auto& obstacle : kObstacles) {
            SCOPED_TRACE(std::string(target.file) + ", " + obstacle.name);
            writeBytes(victim, "notes nobody else may change\n");
            const std::string folder = runFolder("writers", ils);
            const std::string path = folder + target.file;
            place(path, obstacle.kind, victim);
            std::string command = target.command;
            if (const auto at = command.find("F/"); at != std::string::npos) command.replace(at, 2, folder);
            const Result r = shell("cd " + folder + " && " + kDriver + command);
            EXPECT_EQ(r.exitCode, 2) << r.output;
            // Files of the current folder are named as the search names them.
            const std::string named = command.rfind("search", 0) == 0 ? target.file : path;
            EXPECT_NE(r.output.find(named + ": " + obstacle.what), std::string::npos) << r.output;
            expectUntouched(path, obstacle.kind, victim);
        }
    }
}

// The engine's own search files live in its private temporary folder; a
// FIFO or link there (put by the same user) is refused the same way, here
// through the export itself in a child that an alarm would end.
TEST_F(Writers, TheSearchFilesInTheTemporaryFolderToo) {
    const std::string victim = *root_ + "victim-notes.txt";
    for (const auto& obstacle : kObstacles) {
        SCOPED_TRACE(obstacle.name);
        writeBytes(victim, "notes nobody else may change\n");
        int fds[2];
        ASSERT_EQ(::pipe(fds), 0);
        const pid_t child = ::fork();
        if (child == 0) {
            ::alarm(10);
            crv::test::MessageCapture capture;
            auto temp = crv::platform::privateTempFolder();
            if (!temp) ::_exit(3);
            place(*temp + "RfiSrch1.tmp", obstacle.kind, victim);
            CrvSearchParams p{1, 39.3375f, 77.7611f, 0, 0, 0, 0, 60.0f, 0};
            std::int16_t status = -1, count = -1;
            ::SearchDB(CRV_DB_NAVAID, &p, nullptr, &status, &count);
            std::string report = std::to_string(status) + "\n" + *temp + "RfiSrch1.tmp\n";
            for (const auto& m : capture.messages()) report += m.text + "\n";
            (void)!::write(fds[1], report.data(), report.size());
            ::_exit(0);
        }
        ::close(fds[1]);
        std::string report;
        char buf[4096];
        ssize_t n;
        while ((n = ::read(fds[0], buf, sizeof buf)) > 0) report.append(buf, static_cast<std::size_t>(n));
        ::close(fds[0]);
        int status = 0;
        ::waitpid(child, &status, 0);
        ASSERT_TRUE(WIFEXITED(status)) << "the search did not return";
        const std::string path = report.substr(2, report.find('\n', 2) - 2);
        EXPECT_EQ(report.substr(0, 2), "2\n") << report;
        EXPECT_NE(report.find(path + ": " + obstacle.what), std::string::npos) << report;
        if (obstacle.kind == Obstacle::Link) {
            EXPECT_EQ(readBytes(victim), "notes nobody else may change\n");
        }
    }
}

}  // namespace
