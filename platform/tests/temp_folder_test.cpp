#include "crv/platform/temp_folder.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
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
// ps shows it: "p" + pid + "-" + start time (field 22 of /proc/self/stat).
std::string folderNameOf(pid_t pid) {
    std::ifstream in("/proc/" + std::to_string(pid) + "/stat");
    std::string all((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::istringstream rest(all.substr(all.rfind(')') + 2));
    std::string field;
    for (int i = 3; i <= 22; ++i) rest >> field;
    return "p" + std::to_string(pid) + "-" + field;
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
    // Our parent still runs: its folder stays.
    const std::string running = userFolder(b) + "/" + folderNameOf(::getppid());
    const std::string other = userFolder(b) + "/notes";
    for (const auto& f : {gone, reused, running, other}) {
        fs::create_directories(f);
        std::ofstream(f + "/RfiSrch1.tmp") << "old";
    }
    ASSERT_TRUE(privateTempFolder());
    EXPECT_FALSE(fs::exists(gone));
    EXPECT_FALSE(fs::exists(reused));
    EXPECT_TRUE(fs::exists(running + "/RfiSrch1.tmp"));
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
