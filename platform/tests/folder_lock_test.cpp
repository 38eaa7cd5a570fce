#include "crv/platform/folder_lock.h"

#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>

#include "crv/testing/files.h"

using crv::platform::FolderLock;
namespace fs = std::filesystem;

namespace {
std::string folder(const std::string& name) { return crv::testing::scratchFolder("lock-" + name); }

// Whether a new process can take the lock (exit status 0) or finds it held (1).
int lockInChild(const std::string& dir) {
    const pid_t child = ::fork();
    if (child == 0) {
        FolderLock lock;
        ::_exit(lock.tryLock(dir) && lock.held() ? 0 : 1);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}
}  // namespace

// One holder at a time, in this process or another; the lock goes with its
// object, and with its process however that ends.
TEST(FolderLock, OneHolderAtATime) {
    const std::string dir = folder("one");
    {
        FolderLock first;
        ASSERT_TRUE(first.tryLock(dir));
        EXPECT_TRUE(first.held());
        FolderLock second;
        EXPECT_FALSE(second.tryLock(dir));
        EXPECT_FALSE(second.held());
        EXPECT_EQ(lockInChild(dir), 1);
        // Moved, it is still held.
        FolderLock moved = std::move(first);
        EXPECT_TRUE(moved.held());
        EXPECT_EQ(lockInChild(dir), 1);
    }
    EXPECT_EQ(lockInChild(dir), 0);

    // A holder killed without any clean-up leaves the folder free.
    int fds[2];
    ASSERT_EQ(::pipe(fds), 0);
    const pid_t holder = ::fork();
    if (holder == 0) {
        FolderLock lock;
        lock.tryLock(dir);
        (void)!::write(fds[1], "x", 1);
        ::pause();
        ::_exit(0);
    }
    char c;
    ASSERT_EQ(::read(fds[0], &c, 1), 1);
    EXPECT_EQ(lockInChild(dir), 1);
    ::kill(holder, SIGKILL);
    ::waitpid(holder, nullptr, 0);
    ::close(fds[0]);
    ::close(fds[1]);
    EXPECT_EQ(lockInChild(dir), 0);
}

// A folder that is not there is not "in use": the caller goes on and meets
// the missing folder in its own words.
TEST(FolderLock, AMissingFolderIsNotBusy) {
    FolderLock lock;
    EXPECT_TRUE(lock.tryLock(folder("missing") + "not-there/"));
    EXPECT_FALSE(lock.held());
}
