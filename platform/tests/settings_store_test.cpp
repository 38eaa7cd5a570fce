#include "crv/platform/settings_store.h"

#include <gtest/gtest.h>

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
    ASSERT_TRUE(store.set("Paths", "FCC Database", "/other.dat"));             // replaced, not repeated

    SettingsStore again(store.path());
    EXPECT_EQ(again.get("Paths", "FCC Database"), "/other.dat");
    EXPECT_EQ(again.get("General", "Model Type"), "SCI");
    EXPECT_EQ(again.get("Plot Parameters", "Level Band 1"), "  -90 = x ");
    EXPECT_EQ(again.values("Paths").size(), 1u);
}

TEST(SettingsStore, ListsRemovalAndRefusals) {
    SettingsStore store(freshFile("lists"));
    ASSERT_TRUE(store.setMany("Recent Files", {{"File1", "/a.dat"}, {"File2", "/b.dat"}}));
    EXPECT_EQ(store.values("Recent Files").size(), 2u);
    ASSERT_TRUE(store.remove("Recent Files", "File1"));
    EXPECT_EQ(store.values("Recent Files").size(), 1u);
    ASSERT_TRUE(store.removeSection("Recent Files"));
    EXPECT_TRUE(store.values("Recent Files").empty());

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
