#include "crv/platform/temp_folder.h"

#include "crv/platform/folder_lock.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <vector>
#include <fstream>
#include <sstream>

using crv::platform::privateTempFolder;
namespace fs = std::filesystem;

namespace {
std::string base(const std::string& name) {
    auto dir = fs::temp_directory_path() / ("crv-tmpbase-" + name + "-" + std::to_string(::getpid()));
    fs::remove_all(dir);
    fs::create_directories(dir);
    ::setenv("TMPDIR", dir.c_str(), 1);
    return dir.string();
}

std::string userFolder(const std::string& b) { return b + "/corvane-" + std::to_string(::getuid()); }

unsigned mode(const std::string& path) {
    struct stat st {};
    return ::lstat(path.c_str(), &st) == 0 ? (st.st_mode & 0777) : 0u;
}

// The last component of the process folder, worked out from /proc the way
// ps shows it: "p" + pid + "-" + start time (field 22 of /proc/PID/stat) +
// "-" + the inode number of its pid namespace (what ls -iL shows for
// /proc/PID/ns/pid). Without the namespace: the name earlier versions made.
std::string folderNameOf(pid_t pid, bool withNamespace = true) {
    std::ifstream in("/proc/" + std::to_string(pid) + "/stat");
    std::string all((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::istringstream rest(all.substr(all.rfind(')') + 2));
    std::string field;
    for (int i = 3; i <= 22; ++i) rest >> field;
    std::string name = "p" + std::to_string(pid) + "-" + field;
    struct stat ns {};
    if (withNamespace && ::stat(("/proc/" + std::to_string(pid) + "/ns/pid").c_str(), &ns) == 0)
        name += "-" + std::to_string(ns.st_ino);
    return name;
}
std::string ownFolderName() { return folderNameOf(::getpid()); }
}  // namespace

TEST(TempFolder, EachProcessHasItsOwnPrivateFolder) {
    const std::string b = base("fresh");
    auto t = privateTempFolder();
    ASSERT_TRUE(t) << t.error();
    EXPECT_EQ(*t, userFolder(b) + "/" + ownFolderName() + "/");
    EXPECT_EQ(mode(userFolder(b)), 0700u);
    EXPECT_EQ(mode(*t), 0700u);
    EXPECT_EQ(privateTempFolder().value(), *t);  // a second call finds it in place

    // Another process gets another folder, and its folder goes when it ends.
    int pipeFds[2];
    ASSERT_EQ(::pipe(pipeFds), 0);
    const pid_t child = ::fork();
    if (child == 0) {
        auto own = privateTempFolder();
        const std::string text = own ? *own : std::string("error");
        if (own) std::ofstream(*own + "Imod2.tmp") << "child";
        (void)!::write(pipeFds[1], text.data(), text.size());
        std::exit(0);
    }
    ::close(pipeFds[1]);
    char buf[4096];
    const ssize_t n = ::read(pipeFds[0], buf, sizeof buf);
    ::close(pipeFds[0]);
    int status = 0;
    ::waitpid(child, &status, 0);
    const std::string childFolder(buf, n > 0 ? static_cast<std::size_t>(n) : 0);
    EXPECT_NE(childFolder, *t);
    EXPECT_EQ(childFolder.rfind(userFolder(b) + "/p" + std::to_string(child) + "-", 0), 0u) << childFolder;
    EXPECT_FALSE(fs::exists(childFolder));
    EXPECT_TRUE(fs::exists(*t));  // the child's end takes only its own
}

TEST(TempFolder, FoldersOfEndedProcessesAreRemoved) {
    const std::string b = base("stale");
    fs::create_directories(userFolder(b));
    ::chmod(userFolder(b).c_str(), 0700);
    // pid_max is at most 2^22: this process cannot run.
    const std::string gone = userFolder(b) + "/p99999999-12345";
    // Our own number with another start time: a process that died before us.
    const std::string reused = userFolder(b) + "/p" + std::to_string(::getpid()) + "-1";
    // Our parent still runs: its folder stays, in either form of the name.
    const std::string running = userFolder(b) + "/" + folderNameOf(::getppid());
    const std::string runningEarlier = userFolder(b) + "/" + folderNameOf(::getppid(), false);
    const std::string other = userFolder(b) + "/notes";
    for (const auto& f : {gone, reused, running, runningEarlier, other}) {
        fs::create_directories(f);
        std::ofstream(f + "/RfiSrch1.tmp") << "old";
    }
    ASSERT_TRUE(privateTempFolder());
    EXPECT_FALSE(fs::exists(gone));
    EXPECT_FALSE(fs::exists(reused));
    EXPECT_TRUE(fs::exists(running + "/RfiSrch1.tmp"));
    EXPECT_TRUE(fs::exists(runningEarlier + "/RfiSrch1.tmp"));
    EXPECT_TRUE(fs::exists(other + "/RfiSrch1.tmp"));  // not a process folder: not ours to judge
}

TEST(TempFolder, RefusesOpenFoldersAndLinks) {
    std::string b = base("open");
    ::mkdir(userFolder(b).c_str(), 0777);
    ::chmod(userFolder(b).c_str(), 0777);
    auto t = privateTempFolder();
    ASSERT_FALSE(t);
    EXPECT_NE(t.error().find("open to other users"), std::string::npos);

    b = base("link");
    fs::create_directories(b + "/elsewhere");
    ::symlink((b + "/elsewhere").c_str(), userFolder(b).c_str());
    EXPECT_FALSE(privateTempFolder());

    // The process folder is held to the same rules.
    b = base("innerlink");
    ::mkdir(userFolder(b).c_str(), 0700);
    fs::create_directories(b + "/elsewhere");
    ::symlink((b + "/elsewhere").c_str(), (userFolder(b) + "/" + ownFolderName()).c_str());
    t = privateTempFolder();
    ASSERT_FALSE(t);
    EXPECT_NE(t.error().find("not a folder"), std::string::npos) << t.error();

    b = base("inneropen");
    ::mkdir(userFolder(b).c_str(), 0700);
    ::mkdir((userFolder(b) + "/" + ownFolderName()).c_str(), 0755);
    ::chmod((userFolder(b) + "/" + ownFolderName()).c_str(), 0755);
    EXPECT_FALSE(privateTempFolder());
}

namespace {
// A process started with pipes on its standard input and output.
struct Child {
    pid_t pid = -1;
    int in = -1;   // its standard input
    int out = -1;  // its standard output

    // The first line it printed.
    std::string line() const {
        std::string text;
        char c;
        while (::read(out, &c, 1) == 1 && c != '\n') text += c;
        return text;
    }
    int finish() {
        if (in >= 0) ::close(in);
        in = -1;
        int status = 0;
        ::waitpid(pid, &status, 0);
        if (out >= 0) ::close(out);
        out = -1;
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
};

Child start(const std::vector<std::string>& argv) {
    int in[2], out[2];
    if (::pipe(in) != 0 || ::pipe(out) != 0) return {};
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::dup2(in[0], 0);
        ::dup2(out[1], 1);
        ::close(in[0]);
        ::close(in[1]);
        ::close(out[0]);
        ::close(out[1]);
        std::vector<char*> args;
        for (const auto& a : argv) args.push_back(const_cast<char*>(a.c_str()));
        args.push_back(nullptr);
        ::execvp(args[0], args.data());
        ::_exit(127);
    }
    ::close(in[0]);
    ::close(out[1]);
    return {pid, in[1], out[0]};
}

// The holder in a pid namespace of its own (and its own /proc), where it is
// process 1, as in a container or sandbox that shares TMPDIR with us.
std::vector<std::string> inOwnPidNamespace() {
    return {"unshare", "--pid", "--fork", "--kill-child", "--mount-proc", CRV_TEMP_FOLDER_HOLDER};
}
bool pidNamespacesAllowed() {
    return std::system("unshare --pid --fork --mount-proc true >/dev/null 2>&1") == 0;
}
}  // namespace

// A process that runs where this one cannot see its number (another pid
// namespace) keeps its folder while it runs: liveness is the lock it holds on
// the folder, not its number. Here the other process is played by a lock this
// test holds on a folder whose number runs nowhere.
TEST(TempFolder, ALockedFolderStaysWhateverItsNumber) {
    const std::string b = base("locked");
    fs::create_directories(userFolder(b));
    ::chmod(userFolder(b).c_str(), 0700);
    // Another namespace's process 1, and a number that runs nowhere here.
    const std::string elsewhere = userFolder(b) + "/p1-5-1";
    const std::string invisible = userFolder(b) + "/p99999999-12345";
    for (const auto& f : {elsewhere, invisible}) {
        fs::create_directories(f);
        std::ofstream(f + "/RfiSrch1.tmp") << "running";
    }
    auto holder = std::make_unique<crv::platform::FolderLock>();
    auto holder2 = std::make_unique<crv::platform::FolderLock>();
    ASSERT_TRUE(holder->tryLock(elsewhere) && holder->held());
    ASSERT_TRUE(holder2->tryLock(invisible) && holder2->held());

    // A new process makes its folder and clears away the left-overs.
    const auto makeInChild = [] {
        const pid_t child = ::fork();
        if (child == 0) ::_exit(privateTempFolder() ? 0 : 1);
        int status = 0;
        ::waitpid(child, &status, 0);
        return WIFEXITED(status) && WEXITSTATUS(status) == 0;
    };
    ASSERT_TRUE(makeInChild());
    EXPECT_TRUE(fs::exists(elsewhere + "/RfiSrch1.tmp"));
    EXPECT_TRUE(fs::exists(invisible + "/RfiSrch1.tmp"));

    // Their processes end: the next new process removes both.
    holder.reset();
    holder2.reset();
    ASSERT_TRUE(makeInChild());
    EXPECT_FALSE(fs::exists(elsewhere));
    EXPECT_FALSE(fs::exists(invisible));
}

// Two processes in two pid namespaces sharing TMPDIR, both process 1 in their
// own: the second's start never removes the first's folder, and a folder
// left by one killed without clean-up goes at the next start.
TEST(TempFolder, ProcessesInOtherPidNamespacesKeepTheirFolders) {
    if (!pidNamespacesAllowed()) GTEST_SKIP() << "no pid namespaces here (unshare refused)";
    const std::string b = base("namespaces");
    Child first = start(inOwnPidNamespace());
    const std::string firstFolder = first.line();
    ASSERT_EQ(firstFolder.rfind(userFolder(b) + "/p1-", 0), 0u) << firstFolder;

    Child second = start(inOwnPidNamespace());
    const std::string secondFolder = second.line();
    ASSERT_EQ(secondFolder.rfind(userFolder(b) + "/p1-", 0), 0u) << secondFolder;
    EXPECT_NE(secondFolder, firstFolder);
    EXPECT_EQ(second.finish(), 0);
    EXPECT_FALSE(fs::exists(secondFolder));  // gone with its process

    EXPECT_TRUE(fs::exists(firstFolder + "RfiSrch1.tmp"));
    ::kill(first.pid, SIGKILL);  // and unshare kills its child: no clean-up at all
    ::waitpid(first.pid, nullptr, 0);
    // Its output ends when the holder itself is gone (its input still open,
    // so it never saw an end of input to finish on).
    char c;
    while (::read(first.out, &c, 1) > 0) {
    }
    EXPECT_TRUE(fs::exists(firstFolder));  // nobody cleaned up after it
    ::close(first.in);
    ::close(first.out);

    Child third = start(inOwnPidNamespace());
    EXPECT_FALSE(third.line().empty());
    EXPECT_EQ(third.finish(), 0);
    EXPECT_FALSE(fs::exists(firstFolder));
}

// The message of a refused folder says how to work elsewhere.
TEST(TempFolder, ARefusalSaysHowToChooseAnotherPlace) {
    const std::string b = base("hint");
    ::mkdir(userFolder(b).c_str(), 0777);
    ::chmod(userFolder(b).c_str(), 0777);
    auto t = privateTempFolder();
    ASSERT_FALSE(t);
    EXPECT_EQ(t.error(), "The temporary folder " + userFolder(b) +
                             " is open to other users (mode must be 0700). Set TMPDIR to a folder of your own to "
                             "keep the temporary files there instead.");
}
