#include "crv/platform/output_file.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>

#include "crv/platform/text_file.h"
#include "crv/testing/files.h"

using namespace crv::platform;
namespace fs = std::filesystem;

namespace {
using crv::testing::readBytes;
using crv::testing::writeBytes;
std::string folder(const std::string& name) { return crv::testing::scratchFolder("output-" + name); }
std::vector<std::string> namesIn(const std::string& dir) {
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(dir)) names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

// Runs `work` in a child process that an alarm ends after five seconds, and
// returns what it reported; "blocked" when the alarm had to end it. A writer
// that waits on a FIFO would otherwise hang the whole test run.
std::string inChild(const std::function<std::string()>& work) {
    int fds[2];
    if (::pipe(fds) != 0) return "no pipe";
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(fds[0]);
        ::alarm(5);
        const std::string text = work();
        (void)!::write(fds[1], text.data(), text.size());
        ::_exit(0);
    }
    ::close(fds[1]);
    std::string text;
    char buf[4096];
    ssize_t n;
    while ((n = ::read(fds[0], buf, sizeof buf)) > 0) text.append(buf, static_cast<std::size_t>(n));
    ::close(fds[0]);
    int status = 0;
    ::waitpid(child, &status, 0);
    if (WIFSIGNALED(status) && WTERMSIG(status) == SIGALRM) return "blocked";
    return text;
}

// Each way a file is written, as a function that writes "new\r\n" to the
// path and returns "" or the error.
struct Writer {
    const char* name;
    std::function<std::string(const std::string&)> write;
};

std::string throughTextWriter(const std::string& path, WriteMode mode) {
    TextWriter w;
    if (auto opened = w.open(path, mode); !opened) return opened.error();
    w.writeLine("new");
    auto closed = w.close();
    return closed ? "" : closed.error();
}

const Writer kWriters[] = {
    {"truncate", [](const std::string& p) { return throughTextWriter(p, WriteMode::Truncate); }},
    {"append", [](const std::string& p) { return throughTextWriter(p, WriteMode::Append); }},
    {"replace", [](const std::string& p) { return throughTextWriter(p, WriteMode::Replace); }},
    {"extend", [](const std::string& p) { return throughTextWriter(p, WriteMode::Extend); }},
    {"atomic",
     [](const std::string& p) {
         auto r = writeFileAtomic(p, "new\r\n");
         return r ? std::string() : r.error();
     }},
};

bool appending(const std::string& writer) { return writer == "append" || writer == "extend"; }
}  // namespace

// Whatever stands at the path instead of a regular file, every writer refuses
// it at once, names the path and says what it is, and leaves it (and what a
// link points to) exactly as it was.
TEST(OutputFile, EveryWriterRefusesWhatIsNotAWritableRegularFile) {
    const std::string dir = folder("refuse");
    writeBytes(dir + "victim.txt", "the victim's notes\n");
    writeBytes(dir + "readonly.txt", "kept\n");
    ::chmod((dir + "readonly.txt").c_str(), 0444);
    fs::create_directory(dir + "folder");
    ASSERT_EQ(::mkfifo((dir + "fifo").c_str(), 0600), 0);
    ASSERT_EQ(::mkfifo((dir + "readfifo").c_str(), 0600), 0);
    // A FIFO that has a reader: opening it for writing would succeed.
    const int reader = ::open((dir + "readfifo").c_str(), O_RDONLY | O_NONBLOCK);
    ASSERT_GE(reader, 0);
    fs::create_symlink(dir + "victim.txt", dir + "link.txt");
    fs::create_symlink(dir + "nowhere.txt", dir + "dangling.txt");

    struct Case {
        std::string path;
        std::string what;
    } cases[] = {
        {dir + "fifo", "it is a FIFO"},
        {dir + "readfifo", "it is a FIFO"},
        {dir + "folder", "it is a folder"},
        {dir + "link.txt", "it is a symbolic link"},
        {dir + "dangling.txt", "it is a symbolic link"},
        {dir + "readonly.txt", "it is read-only"},
        {"/dev/null", "it is a device"},
    };
    for (const auto& writer : kWriters) {
        for (const auto& c : cases) {
            SCOPED_TRACE(std::string(writer.name) + " " + c.path);
            const std::string error = inChild([&] { return writer.write(c.path); });
            const std::string verb = appending(writer.name) ? "Could not append to " : "Could not create ";
            EXPECT_EQ(error, verb + c.path + ": " + c.what);
        }
    }
    ::close(reader);
    EXPECT_EQ(readBytes(dir + "victim.txt"), "the victim's notes\n");
    EXPECT_EQ(readBytes(dir + "readonly.txt"), "kept\n");
    EXPECT_TRUE(fs::is_symlink(dir + "link.txt"));
    EXPECT_TRUE(fs::is_symlink(dir + "dangling.txt"));
    EXPECT_FALSE(fs::exists(dir + "nowhere.txt"));
    EXPECT_TRUE(fs::is_fifo(dir + "fifo"));
    // Nothing else was made beside them: no temporaries, no new files.
    EXPECT_EQ(namesIn(dir), (std::vector<std::string>{"dangling.txt", "fifo", "folder", "link.txt", "readfifo",
                                                      "readonly.txt", "victim.txt"}));
}

TEST(OutputFile, WritersCreateAppendAndReplaceRegularFiles) {
    const std::string dir = folder("write");
    struct Case {
        const char* writer;
        const char* before;  // nullptr: no file yet
        const char* after;
    } cases[] = {
        {"truncate", nullptr, "new\r\n"}, {"truncate", "old\r\n", "new\r\n"},
        {"append", nullptr, "new\r\n"},   {"append", "old\r\n", "old\r\nnew\r\n"},
        {"replace", nullptr, "new\r\n"},  {"replace", "old\r\n", "new\r\n"},
        {"extend", nullptr, "new\r\n"},   {"extend", "old\r\n", "old\r\nnew\r\n"},
        {"atomic", nullptr, "new\r\n"},   {"atomic", "old\r\n", "new\r\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.writer) + (c.before ? " over a file" : " without a file"));
        const std::string path = dir + "f.txt";
        fs::remove(path);
        if (c.before) {
            writeBytes(path, c.before);
            ::chmod(path.c_str(), 0640);
        }
        for (const auto& w : kWriters) {
            if (std::string(w.name) == c.writer) {
                EXPECT_EQ(w.write(path), "");
            }
        }
        EXPECT_EQ(readBytes(path), c.after);
        // A replaced file keeps its permissions.
        if (c.before) {
            EXPECT_EQ(fs::status(path).permissions(), fs::perms(0640));
        }
        EXPECT_EQ(namesIn(dir), std::vector<std::string>{"f.txt"});
    }
}

// A staged file appears under its name only when it is complete: until
// close() the old file is what a reader sees; abandoning leaves it, discarding
// leaves nothing.
TEST(OutputFile, StagedFilesAppearOnlyWhole) {
    const std::string dir = folder("staged");
    const std::string path = dir + "Rfi.txt";
    writeBytes(path, "earlier sections\r\n");
    for (WriteMode mode : {WriteMode::Replace, WriteMode::Extend}) {
        SCOPED_TRACE(mode == WriteMode::Replace ? "replace" : "extend");
        OutputFile out;
        ASSERT_TRUE(out.open(path, mode));
        std::fputs("more\r\n", out.get());
        std::fflush(out.get());
        EXPECT_EQ(readBytes(path), "earlier sections\r\n");
        out.abandon();
        EXPECT_EQ(readBytes(path), "earlier sections\r\n");
        EXPECT_EQ(namesIn(dir), std::vector<std::string>{"Rfi.txt"});
    }
    OutputFile out;
    ASSERT_TRUE(out.open(path, WriteMode::Extend));
    std::fputs("more\r\n", out.get());
    ASSERT_TRUE(out.close());
    EXPECT_EQ(readBytes(path), "earlier sections\r\nmore\r\n");

    ASSERT_TRUE(out.open(path, WriteMode::Extend));
    out.discard();
    EXPECT_FALSE(fs::exists(path));
    EXPECT_TRUE(namesIn(dir).empty());

    // A writer ended without close() leaves the target as it was.
    writeBytes(path, "kept\r\n");
    {
        OutputFile unfinished;
        ASSERT_TRUE(unfinished.open(path, WriteMode::Replace));
        std::fputs("half", unfinished.get());
    }
    EXPECT_EQ(readBytes(path), "kept\r\n");
    EXPECT_EQ(namesIn(dir), std::vector<std::string>{"Rfi.txt"});
}

// A write that fails (here: a file-size limit, as on a full disk) leaves the
// target as it was and says which file could not be written.
TEST(OutputFile, AFailedWriteLeavesTheTargetAsItWas) {
    const std::string dir = folder("full");
    const std::string path = dir + "s.ini";
    writeBytes(path, "[Paths]\nData Folder=/data/\n");
    const std::string error = inChild([&] {
        std::signal(SIGXFSZ, SIG_IGN);
        struct rlimit small {};
        ::getrlimit(RLIMIT_FSIZE, &small);
        small.rlim_cur = 16;
        ::setrlimit(RLIMIT_FSIZE, &small);
        auto r = writeFileAtomic(path, std::string(100, 'x'));
        return r ? std::string() : r.error();
    });
    EXPECT_EQ(error.rfind("Could not write " + path + ": ", 0), 0u) << error;
    EXPECT_EQ(readBytes(path), "[Paths]\nData Folder=/data/\n");
    EXPECT_EQ(namesIn(dir), std::vector<std::string>{"s.ini"});
}

// A writer killed part-way leaves the target untouched and its temporary
// behind; the next writer of that file removes the temporary, but never one a
// live writer still holds.
TEST(OutputFile, TemporariesOfKilledWritersAreRemoved) {
    const std::string dir = folder("stray");
    const std::string path = dir + "Case.dat";
    writeBytes(path, "case\r\n");
    int fds[2];
    ASSERT_EQ(::pipe(fds), 0);
    const pid_t child = ::fork();
    if (child == 0) {
        OutputFile out;
        if (!out.open(path, WriteMode::Replace)) ::_exit(1);
        std::fputs("half a case", out.get());
        std::fflush(out.get());
        (void)!::write(fds[1], "x", 1);
        ::pause();
        ::_exit(0);
    }
    char c;
    ASSERT_EQ(::read(fds[0], &c, 1), 1);
    ::kill(child, SIGKILL);
    ::waitpid(child, nullptr, 0);
    ::close(fds[0]);
    ::close(fds[1]);
    auto names = namesIn(dir);
    ASSERT_EQ(names.size(), 2u);
    const std::string stray = names[1];
    EXPECT_EQ(stray.rfind("Case.dat.tmp" + std::to_string(child) + "_", 0), 0u) << stray;
    EXPECT_EQ(readBytes(path), "case\r\n");

    // A live writer of another file in the folder keeps its temporary.
    OutputFile live;
    ASSERT_TRUE(live.open(dir + "Other.dat", WriteMode::Replace));
    // Someone else's file that only looks like a temporary stays too.
    writeBytes(dir + "notes.tmp12", "mine");

    removeStrayTemporaries(dir);
    names = namesIn(dir);
    EXPECT_EQ(std::count(names.begin(), names.end(), stray), 0);
    EXPECT_EQ(names.size(), 3u);  // Case.dat, the live temporary, notes.tmp12
    ASSERT_TRUE(live.close());
    EXPECT_EQ(namesIn(dir), (std::vector<std::string>{"Case.dat", "Other.dat", "notes.tmp12"}));
}

TEST(OutputFile, TemporaryNames) {
    struct Case {
        const char* name;
        bool temporary;
    } cases[] = {
        {"Rfi.txt.tmp123_4567", true},
        {"s.ini.tmp1_0", true},
        {"FmVrt01.ptx.tmp99_12345", true},
        {"RfiSrch1.tmp", false},
        {"Imod2.tmp", false},
        {"Fr108100.tmp", false},
        {".tmp1_2", false},
        {"x.tmp1_", false},
        {"x.tmp_2", false},
        {"x.tmp12", false},
        {"x.tmp1_2a", false},
        {"x.tmp1_2_3", false},
    };
    for (const auto& c : cases) EXPECT_EQ(isStagedTemporaryName(c.name), c.temporary) << c.name;
}
