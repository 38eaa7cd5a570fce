#include "crv/platform/settings_store.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>
#include <filesystem>
#include <fstream>

using crv::platform::SettingsStore;

namespace {
std::string freshFile(const std::string& name) {
    auto dir = std::filesystem::temp_directory_path() / ("crv-settings-" + name);
    std::filesystem::remove_all(dir);
    return (dir / "nested" / "5.0.ini").string();  // parent folders are made on write
}
}  // namespace

TEST(SettingsStore, MissingFileReadsDefaults) {
    SettingsStore store(freshFile("missing"));
    EXPECT_FALSE(store.get("Paths", "Data Folder"));
    EXPECT_EQ(store.get("Paths", "Data Folder", "Data/"), "Data/");
    EXPECT_TRUE(store.values("Recent Files").empty());
}

TEST(SettingsStore, RoundTripKeepsNamesAndValuesExactly) {
    SettingsStore store(freshFile("roundtrip"));
    ASSERT_TRUE(store.set("Paths", "FCC Database", "/data/FM ALL.dat"));
    ASSERT_TRUE(store.set("General", "Model Type", "SCI"));
    ASSERT_TRUE(store.set("Plot Parameters", "Level Band 1", "  -90 = x "));  // '=' and blanks in a value
    ASSERT_TRUE(store.set("Paths", "FCC Database", "/other.dat"));            // replaced, not repeated

    SettingsStore again(store.path());
    EXPECT_EQ(again.get("Paths", "FCC Database"), "/other.dat");
    EXPECT_EQ(again.get("General", "Model Type"), "SCI");
    EXPECT_EQ(again.get("Plot Parameters", "Level Band 1"), "  -90 = x ");
    EXPECT_EQ(again.values("Paths").size(), 1u);
}

TEST(SettingsStore, ListsAndRefusals) {
    SettingsStore store(freshFile("lists"));
    ASSERT_TRUE(store.setMany("Recent Files", {{"File1", "/a.dat"}, {"File2", "/b.dat"}}));
    EXPECT_EQ(store.values("Recent Files").size(), 2u);

    EXPECT_FALSE(store.set("Paths", "Data Folder", "two\nlines"));
    EXPECT_FALSE(store.set("Paths", "a=b", "x"));
    EXPECT_FALSE(store.set("Paths", "", "x"));
    EXPECT_FALSE(store.get("Paths", "Data Folder"));
}

TEST(SettingsStore, WritesLeaveNoTemporaryFilesBehind) {
    SettingsStore store(freshFile("atomic"));
    for (int i = 0; i < 5; ++i) ASSERT_TRUE(store.set("General", "Count", std::to_string(i)));
    const auto folder = std::filesystem::path(store.path()).parent_path();
    int files = 0;
    for ([[maybe_unused]] auto& e : std::filesystem::directory_iterator(folder)) ++files;
    EXPECT_EQ(files, 1);
    EXPECT_EQ(store.get("General", "Count"), "4");
}

TEST(SettingsStore, PathFromEnvironment) {
    ::setenv("CORVANE_SETTINGS", "/tmp/x/s.ini", 1);
    EXPECT_EQ(crv::platform::settingsFilePath(), "/tmp/x/s.ini");
    ::unsetenv("CORVANE_SETTINGS");
    ::setenv("XDG_CONFIG_HOME", "/cfg", 1);
    EXPECT_EQ(crv::platform::settingsFilePath(), "/cfg/QVA/Corvane/5.0.ini");
    ::unsetenv("XDG_CONFIG_HOME");
    ::setenv("HOME", "/home/u", 1);
    EXPECT_EQ(crv::platform::settingsFilePath(), "/home/u/.config/QVA/Corvane/5.0.ini");
}

// Only a missing file is an empty store. A settings file that is there but
// cannot be read (a folder in its place, a FIFO, a link to a device, a read
// error) is reported, and never replaced: a write would keep only the values
// being set and lose every other stored path and parameter.
TEST(SettingsStore, UnreadableFileIsReportedAndNeverWritten) {
    namespace fs = std::filesystem;
    const fs::path dir = fs::temp_directory_path() / ("crv-settings-unreadable-" + std::to_string(::getpid()));
    fs::remove_all(dir);
    fs::create_directories(dir);
    struct Case {
        const char* name;
        void (*make)(const std::string& path);
    } cases[] = {
        {"folder", [](const std::string& p) { fs::create_directory(p); }},
        {"fifo", [](const std::string& p) { ::mkfifo(p.c_str(), 0600); }},
        {"zero", [](const std::string& p) { fs::create_symlink("/dev/zero", p); }},
        // Listed as a regular file, but reading it fails (EIO) as a damaged
        // disk would.
        {"readerror", [](const std::string& p) { fs::create_symlink("/proc/self/mem", p); }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string path = (dir / (std::string(c.name) + ".ini")).string();
        c.make(path);
        const auto before = fs::symlink_status(path).type();
        SettingsStore store(path);
        const auto checked = store.check();
        ASSERT_FALSE(checked);
        EXPECT_NE(checked.error().find(path), std::string::npos) << checked.error();
        EXPECT_FALSE(store.get("Paths", "Data Folder"));  // returns, empty
        const auto written = store.set("General", "Model Type", "SCI");
        ASSERT_FALSE(written);
        EXPECT_NE(written.error().find("is not written"), std::string::npos) << written.error();
        EXPECT_FALSE(store.setMany("Recent Files", {{"1", ""}}));
        EXPECT_FALSE(store.writable());
        EXPECT_EQ(fs::symlink_status(path).type(), before);
    }

    // A file that was unreadable once stays untouched for the rest of the
    // process, through any store object, even if it reads again later.
    const std::string path = (dir / "later.ini").string();
    fs::create_directory(path);
    EXPECT_FALSE(SettingsStore(path).check());
    fs::remove(path);
    std::ofstream(path, std::ios::binary) << "[Paths]\nData Folder=/kept/\n";
    SettingsStore again(path);
    EXPECT_TRUE(again.check());
    EXPECT_EQ(again.get("Paths", "Data Folder"), "/kept/");
    EXPECT_FALSE(again.set("Paths", "Data Folder", "/new/"));
    std::ifstream in(path, std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), "[Paths]\nData Folder=/kept/\n");
}
