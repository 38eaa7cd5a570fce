#include "crv/platform/temp_folder.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

using crv::platform::privateTempFolder;

namespace {
std::string base(const std::string& name) {
    auto dir = std::filesystem::temp_directory_path() / ("crv-tmpbase-" + name);
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    ::setenv("TMPDIR", dir.c_str(), 1);
    return dir.string();
}
}  // namespace

TEST(TempFolder, CreatedPrivate) {
    const std::string b = base("fresh");
    auto t = privateTempFolder();
    ASSERT_TRUE(t) << t.error();
    EXPECT_EQ(*t, b + "/corvane-" + std::to_string(::getuid()) + "/");
    struct stat st {};
    ASSERT_EQ(::stat(t->c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0700u);
    EXPECT_TRUE(privateTempFolder());  // a second call finds it in place
}

TEST(TempFolder, RefusesOpenFoldersAndLinks) {
    std::string b = base("open");
    const std::string folder = b + "/corvane-" + std::to_string(::getuid());
    ::mkdir(folder.c_str(), 0777);
    ::chmod(folder.c_str(), 0777);
    auto t = privateTempFolder();
    ASSERT_FALSE(t);
    EXPECT_NE(t.error().find("open to other users"), std::string::npos);

    b = base("link");
    std::filesystem::create_directories(b + "/elsewhere");
    ::symlink((b + "/elsewhere").c_str(), (b + "/corvane-" + std::to_string(::getuid())).c_str());
    EXPECT_FALSE(privateTempFolder());
}
