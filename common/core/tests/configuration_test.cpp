#include "crv/common/configuration.h"

#include <gtest/gtest.h>

#include "crv/common/dialog_services.h"
#include "test_support.h"

namespace crv::common {
namespace {

using crv::platform::SettingsStore;
using crv::platform::SettingValues;
using testing::RecordingPresenter;
using testing::ScratchFolder;

class CountingMenu : public RecentFilesMenu {
public:
    void UpdateRecentFilesMenu(const AppState& state) override {
        ++calls;
        lastCaptions = RecentFileCaptions(state);
    }
    int calls = 0;
    std::vector<std::string> lastCaptions;
};

class Configuration : public ::testing::Test {
protected:
    ScratchFolder dir;
    std::string settingsPath = dir / "settings.ini";
    SettingsStore store{settingsPath};
    ConfigEnvironment env{"SCI", dir / "home/share/Corvane/"};
    RecordingPresenter presenter;
    CountingMenu menu;
    AppState state;

    void load() { GetConfiguration(state, store, env, presenter, &menu); }
};

TEST_F(Configuration, AnEmptyStoreGivesTheDefaultsAndIsWrittenBack) {
    load();
    const std::string root = env.workRoot;
    EXPECT_EQ(state.DataFolder, root + "Data/");
    EXPECT_EQ(state.OutputFolder, root + "Output/");
    EXPECT_EQ(state.UserFolder, root + "User/");
    EXPECT_TRUE(testing::existsAt(root + "Data"));
    EXPECT_TRUE(testing::existsAt(root + "Output"));
    EXPECT_TRUE(testing::existsAt(root + "User"));
    EXPECT_EQ(state.FCCDatabase, "");
    EXPECT_EQ(state.UseFCCDB, 0);
    EXPECT_EQ(state.UseQVADB, 0);
    EXPECT_EQ(state.UseCOMDB, 0);
    EXPECT_EQ(state.NavLevelMin, -99);
    EXPECT_EQ(state.NavLevelIncr, 6);
    EXPECT_EQ(state.IntLevelMin, 3);
    EXPECT_EQ(state.IntLevelIncr, 3);
    EXPECT_EQ(state.DefNavLevelMin, -99);
    EXPECT_EQ(state.PlotColors, kFactoryPlotColors);
    EXPECT_EQ(state.DefPlotColors, kFactoryPlotColors);
    EXPECT_EQ(state.RecentFiles[0], "");
    EXPECT_EQ(menu.calls, 0);  // an empty list leaves the menu alone
    EXPECT_EQ(state.AirspaceCase, std::string(15, ' '));
    EXPECT_FALSE(state.DefaultOutputPlots);
    EXPECT_TRUE(state.AnimationEnabled);
    EXPECT_EQ(state.ModelType, "SCI");
    EXPECT_FALSE(state.TempFolder.empty());
    EXPECT_TRUE(presenter.shown.empty());

    EXPECT_EQ(store.values("Paths"), (SettingValues{{"FCC Database", ""},
                                                    {"QVA Database", ""},
                                                    {"Use QVA DB", "0"},
                                                    {"COM Database", ""},
                                                    {"Use COM DB", "0"},
                                                    {"Use FCC DB", "0"},
                                                    {"Data Folder", root + "Data/"},
                                                    {"Output Folder", root + "Output/"},
                                                    {"User Folder", root + "User/"}}));
    EXPECT_EQ(store.values("Recent Files"), (SettingValues{{"1", ""}, {"2", ""}, {"3", ""}, {"4", ""}, {"5", ""}}));
    EXPECT_EQ(store.get("General", "Model Type"), "SCI");
    EXPECT_FALSE(store.get("Plot Parameters", "Colors").has_value());
}

TEST_F(Configuration, AFullStoreLoadsEveryValueSpelledAsOnDisk) {
    testing::makeFolder(dir / "Cases");
    testing::makeFolder(dir / "Out");
    testing::makeFolder(dir / "user");
    testing::writeBytes(dir / "FMALL.dat", "x");
    testing::writeBytes(dir / "A108M118.dat", "x");
    testing::writeBytes(dir / "G118M136.dat", "x");
    testing::writeBytes(dir / "Cases/a.dat", "x");
    testing::writeBytes(dir / "Cases/b.dat", "x");
    // The settings file, one of its lines to a line here.
    // clang-format off
    testing::writeBytes(settingsPath,
                        "[Paths]\n"
                        "FCC Database=" + dir.path() + "FMALL.dat\n"
                        "QVA Database=" + dir.path() + "a108m118.DAT\n"
                        "Use QVA DB=1\n"
                        "COM Database=" + dir.path() + "G118M136.dat\n"
                        "Use COM DB=0\n"
                        "Use FCC DB=0\n"
                        "Data Folder=" + dir.path() + "cases/\n"
                        "Output Folder=" + dir.path() + "Out\n"
                        "User Folder=" + dir.path() + "user/\n"
                        "[Plot Parameters]\n"
                        "Nav Level Min=-90\n"
                        "Nav Level Incr=5\n"
                        "Int Level Min=\n"
                        "Int Level Incr=4.5\n"
                        "Colors=FF,80,8080,FFFF,FF00,FF0000,FF00FF,C0C0C0,FFFF00,800000,8000,808000,zz\n"
                        "[Recent Files]\n"
                        "1=" + dir.path() + "Cases/a.dat\n"
                        "2=" + dir.path() + "Cases/gone.dat\n"
                        "3=" + dir.path() + "Cases/a.dat\n"
                        "4=" + dir.path() + "Cases/b.dat\n"
                        "5=\n"
                        "[General]\n"
                        "Airspace Case=2003-AGL-123\n"
                        "Default Output=PLOTS\n"
                        "Animation=OFF\n"
                        "Model Type=FLD\n");
    // clang-format on
    load();
    EXPECT_EQ(state.FCCDatabase, dir / "FMALL.dat");
    EXPECT_EQ(state.UseFCCDB, 1);  // "Use FCC DB" is not read: the file exists
    EXPECT_EQ(state.QVADatabase, dir / "A108M118.dat");
    EXPECT_EQ(state.UseQVADB, 1);
    EXPECT_EQ(state.COMDatabase, dir / "G118M136.dat");
    EXPECT_EQ(state.UseCOMDB, 0);
    EXPECT_EQ(state.DataFolder, dir / "Cases/");
    EXPECT_EQ(state.OutputFolder, dir / "Out/");
    EXPECT_EQ(state.UserFolder, dir / "user/");
    EXPECT_FALSE(testing::existsAt(env.workRoot));  // no default folder was needed
    EXPECT_EQ(state.NavLevelMin, -90);
    EXPECT_EQ(state.NavLevelIncr, 5);
    EXPECT_EQ(state.IntLevelMin, 3);
    EXPECT_EQ(state.IntLevelIncr, 4);  // 4.5 rounds to the even 4
    PlotColorTable colors = {0xFF,     0x80,     0x8080,   0xFFFF, 0xFF00,   0xFF0000, 0xFF00FF,
                             0xC0C0C0, 0xFFFF00, 0x800000, 0x8000, 0x808000, 0,        0};
    EXPECT_EQ(state.PlotColors, colors);  // "zz" and the missing 14th read as black
    EXPECT_EQ(state.RecentFiles[0], dir / "Cases/a.dat");
    EXPECT_EQ(state.RecentFiles[1], dir / "Cases/b.dat");
    EXPECT_EQ(state.RecentFiles[2], "");
    EXPECT_EQ(menu.calls, 1);
    EXPECT_EQ(menu.lastCaptions, (std::vector<std::string>{"a.dat", "b.dat"}));
    EXPECT_EQ(state.AirspaceCase, "2003-AGL-123   ");
    EXPECT_TRUE(state.DefaultOutputPlots);
    EXPECT_FALSE(state.AnimationEnabled);
    EXPECT_EQ(store.get("General", "Model Type"), "SCI");

    // The store now holds the cleaned values.
    EXPECT_EQ(store.get("Paths", "QVA Database"), dir / "A108M118.dat");
    EXPECT_EQ(store.get("Paths", "Use FCC DB"), "1");
    EXPECT_EQ(store.get("Paths", "Output Folder"), dir / "Out/");
    EXPECT_EQ(store.values("Recent Files"),
              (SettingValues{{"1", dir / "Cases/a.dat"}, {"2", dir / "Cases/b.dat"}, {"3", ""}, {"4", ""}, {"5", ""}}));
}

TEST_F(Configuration, VanishedDatabasesAreDroppedAndTheStoreRewritten) {
    testing::writeBytes(dir / "a.dat", "x");
    testing::writeBytes(dir / "b.dat", "x");
    testing::makeFolder(dir / "folder.dat");
    // The settings file, one of its lines to a line here.
    // clang-format off
    testing::writeBytes(settingsPath,
                        "[Paths]\n"
                        "FCC Database=" + dir.path() + "gone/FMALL.dat\n"
                        "QVA Database=" + dir.path() + "A108M118.dat\n"
                        "Use QVA DB=1\n"
                        "COM Database=" + dir.path() + "folder.dat\n"
                        "Use COM DB=1\n"
                        "Data Folder=" + dir.path() + "missing/\n"
                        "[Recent Files]\n"
                        "1=" + dir.path() + "a.dat\n"
                        "2=\n"
                        "3=" + dir.path() + "b.dat\n"
                        "[General]\n"
                        "Default Output=plots\n"
                        "Animation=off\n");
    // clang-format on
    load();
    EXPECT_EQ(state.FCCDatabase, "");
    EXPECT_EQ(state.UseFCCDB, 0);
    EXPECT_EQ(state.QVADatabase, "");
    EXPECT_EQ(state.UseQVADB, 0);
    EXPECT_EQ(state.COMDatabase, "");  // a folder is no database file
    EXPECT_EQ(state.UseCOMDB, 0);
    EXPECT_EQ(state.DataFolder, env.workRoot + "Data/");
    EXPECT_EQ(store.get("Paths", "QVA Database"), "");
    EXPECT_EQ(store.get("Paths", "Use QVA DB"), "0");
    EXPECT_EQ(store.get("Paths", "Use COM DB"), "0");
    EXPECT_EQ(store.get("Paths", "Data Folder"), env.workRoot + "Data/");
    // The list stops at the first empty entry.
    EXPECT_EQ(state.RecentFiles[0], dir / "a.dat");
    EXPECT_EQ(state.RecentFiles[1], "");
    EXPECT_FALSE(state.DefaultOutputPlots);  // only "PLOTS" exactly
    EXPECT_TRUE(state.AnimationEnabled);     // only "OFF" exactly stops it
}

TEST_F(Configuration, AFolderThatCannotBeCreatedIsReportedAndTheLoadGoesOn) {
    testing::writeBytes(dir / "afile", "x");
    env.workRoot = dir / "afile/Corvane/";
    load();
    ASSERT_EQ(presenter.shown.size(), 3u);  // one per default folder
    EXPECT_EQ(presenter.shown[0].title, "CRV Error");
    EXPECT_NE(presenter.shown[0].text.find(" procedure GetConfiguration: "), std::string::npos);
    EXPECT_EQ(state.NavLevelMin, -99);
    EXPECT_EQ(state.ModelType, "SCI");
    EXPECT_EQ(store.get("Paths", "Data Folder"), dir / "afile/Corvane/Data/");
}

// A settings file that is there but cannot be used is reported once, the
// defaults are loaded, and the file keeps every byte: neither the start nor a
// later save writes over it. (A file beyond the store's size bound stands in
// for an unreadable one: the tests run with rights that read any mode.)
TEST_F(Configuration, AnUnreadableStoreIsReportedAndKeptByteForByte) {
    std::string stored = "[Paths]\r\nData Folder=" + dir / "mine/" + "\r\n[Recent Files]\r\n1=/cases/a.dat\r\n";
    stored += "[Padding]\r\n";
    while (stored.size() <= (1u << 20)) stored += "Note=" + std::string(100, 'x') + "\r\n";
    testing::writeBytes(settingsPath, stored);
    load();
    ASSERT_EQ(presenter.shown.size(), 1u);
    EXPECT_EQ(presenter.shown[0].title, "CRV Error");
    EXPECT_NE(presenter.shown[0].text.find(" procedure GetConfiguration: "), std::string::npos);
    EXPECT_NE(presenter.shown[0].text.find(settingsPath), std::string::npos) << presenter.shown[0].text;
    EXPECT_EQ(state.DataFolder, env.workRoot + "Data/");  // the defaults, for this run
    EXPECT_EQ(state.ModelType, "SCI");
    EXPECT_FALSE(SavePaths(state, store));
    EXPECT_FALSE(SaveGeneralSettings(state, store));
    EXPECT_EQ(testing::readBytes(settingsPath), stored);
}

TEST_F(Configuration, TheSaversWriteTheirGroupsInTheStoredForms) {
    load();
    state.AirspaceCase = "2004-ANM-9     ";
    state.DefaultOutputPlots = true;
    state.AnimationEnabled = false;
    state.NavLevelMin = -100;
    state.IntLevelIncr = 2;
    ASSERT_TRUE(SaveGeneralSettings(state, store));
    ASSERT_TRUE(SavePlotParameters(state, store));
    EXPECT_EQ(store.values("General"), (SettingValues{{"Model Type", "SCI"},
                                                      {"Airspace Case", "2004-ANM-9     "},
                                                      {"Default Output", "PLOTS"},
                                                      {"Animation", "OFF"}}));
    EXPECT_EQ(store.values("Plot Parameters"),
              (SettingValues{
                  {"Nav Level Min", "-100"},
                  {"Nav Level Incr", "6"},
                  {"Int Level Min", "3"},
                  {"Int Level Incr", "2"},
                  {"Colors", "80,FF,8080,FFFF,FF00,FF0000,FF00FF,C0C0C0,FFFF00,800000,8000,808000,800080,808080"}}));

    // A second start reads back what was saved.
    AppState again;
    GetConfiguration(again, store, env, presenter, &menu);
    EXPECT_EQ(again.AirspaceCase, state.AirspaceCase);
    EXPECT_TRUE(again.DefaultOutputPlots);
    EXPECT_FALSE(again.AnimationEnabled);
    EXPECT_EQ(again.NavLevelMin, -100);
    EXPECT_EQ(again.PlotColors, kFactoryPlotColors);
}

// Two programs on one settings file, each with its own state as it loaded
// it: whichever exits last puts back only what it changed itself, never the
// values it read at start over the other's changes.
TEST_F(Configuration, TwoProgramsKeepEachOthersChanges) {
    testing::writeBytes(settingsPath, "[General]\nDefault Output=PLOTS\nAnimation=OFF\n");
    load();  // program A
    AppState b;
    SettingsStore storeB{settingsPath};
    GetConfiguration(b, storeB, env, presenter, &menu);
    ASSERT_TRUE(state.DefaultOutputPlots && !state.AnimationEnabled);

    // A: Options (reports first, animation on), then the plot levels; A exits.
    state.DefaultOutputPlots = false;
    state.AnimationEnabled = true;
    ASSERT_TRUE(SaveGeneralSettings(state, store));
    state.IntLevelMin = 9;
    ASSERT_TRUE(SavePlotParameters(state, store));
    ASSERT_TRUE(SavePaths(state, store));
    ASSERT_TRUE(SavePlotParameters(state, store));
    ASSERT_TRUE(SaveGeneralSettings(state, store));
    // Meanwhile another program moves the output folder.
    ASSERT_TRUE(SettingsStore(settingsPath).set("Paths", "Output Folder", "/elsewhere/Output/"));

    // B changes its airspace case only, and exits last.
    b.AirspaceCase = "2024-AEA-7     ";
    ASSERT_TRUE(SavePaths(b, storeB));
    ASSERT_TRUE(SavePlotParameters(b, storeB));
    ASSERT_TRUE(SaveGeneralSettings(b, storeB));

    const SettingsStore file{settingsPath};
    EXPECT_EQ(file.get("General", "Default Output"), "REPORTS");
    EXPECT_EQ(file.get("General", "Animation"), "ON");
    EXPECT_EQ(file.get("General", "Airspace Case"), "2024-AEA-7     ");
    EXPECT_EQ(file.get("Plot Parameters", "Int Level Min"), "9");
    EXPECT_EQ(file.get("Paths", "Output Folder"), "/elsewhere/Output/");

    // A saver with nothing changed and nothing missing leaves the file as
    // it is (not even replaced by the same bytes).
    const ino_t inode = testing::inodeOf(settingsPath);
    ASSERT_TRUE(SavePaths(b, storeB));
    ASSERT_TRUE(SaveGeneralSettings(b, storeB));
    ASSERT_TRUE(SavePlotParameters(b, storeB));
    EXPECT_EQ(testing::inodeOf(settingsPath), inode);

    // A value this program changes is written, over the other's.
    b.IntLevelMin = 12;
    ASSERT_TRUE(SavePlotParameters(b, storeB));
    EXPECT_EQ(SettingsStore(settingsPath).get("Plot Parameters", "Int Level Min"), "12");
    EXPECT_EQ(SettingsStore(settingsPath).values("Plot Parameters").size(), 5u);
}

TEST(PlotColors, ReadAndWriteTheHexadecimalList) {
    EXPECT_EQ(formatPlotColors(PlotColorTable{}), "0,0,0,0,0,0,0,0,0,0,0,0,0,0");
    PlotColorTable colors = parsePlotColors("ffffffff, 1A ,,0");
    EXPECT_EQ(colors[0], 0xFFFFFFFFu);
    EXPECT_EQ(colors[1], 0x1Au);
    EXPECT_EQ(colors[2], 0u);                        // empty tokens are skipped by the token reader
    EXPECT_EQ(parsePlotColors("123456789")[0], 0u);  // beyond 32 bits
}

}  // namespace
}  // namespace crv::common
