#include "crv/common/dialog_services.h"

#include <gtest/gtest.h>

#include "crv/common/error_report.h"
#include "test_support.h"

namespace crv::common {
namespace {

using testing::RecordingPresenter;
using testing::ScratchFolder;

TEST(AddRecentFile, MovesAListedPathUpAndPushesANewOneIn) {
    ScratchFolder dir;
    crv::platform::SettingsStore store(dir / "s.ini");
    struct Case {
        std::string path;
        std::array<std::string, 5> after;
    } cases[] = {
        {"3", {"3", "1", "2", "4", "5"}},
        {"1", {"1", "2", "3", "4", "5"}},
        {"5", {"5", "1", "2", "3", "4"}},
        {"new", {"new", "1", "2", "3", "4"}},
    };
    for (const auto& c : cases) {
        AppState state;
        state.RecentFiles = {"1", "2", "3", "4", "5"};
        AddRecentFile(state, c.path, store, nullptr);
        EXPECT_EQ(state.RecentFiles, c.after) << c.path;
        EXPECT_EQ(store.get("Recent Files", "1"), c.path);
        EXPECT_EQ(store.get("Recent Files", "5"), c.after[4]);
    }
    AppState shortList;
    shortList.RecentFiles = {"a", "", "", "", ""};
    AddRecentFile(shortList, "b", store, nullptr);
    EXPECT_EQ(shortList.RecentFiles, (std::array<std::string, 5>{"b", "a", "", "", ""}));
}

TEST(RecentFileCaptions, ShowFilesInTheDataFolderWithoutIt) {
    AppState state;
    state.DataFolder = "/cases/";
    state.RecentFiles = {"/cases/a.dat", "/elsewhere/b.dat", "/cases/sub/c.dat", "", "/cases/ignored.dat"};
    EXPECT_EQ(RecentFileCaptions(state), (std::vector<std::string>{"a.dat", "/elsewhere/b.dat", "sub/c.dat"}));
}

TEST(CheckDatabases, NamesTheMissingDatabasesInItsWarning) {
    ScratchFolder dir;
    testing::writeBytes(dir / "FMALL.dat", "x");
    const std::string head =
        " Before any database searches may be performed, \r you must set the directory path and select for \r"
        " use the following file(s): \r\r";
    const std::string tail = "\r\r Please select \"Location of Files\" from the Tools menu. ";

    AppState none;
    RecordingPresenter presenter;
    EXPECT_FALSE(CheckDatabases(none, true, presenter));
    ASSERT_EQ(presenter.shown.size(), 1u);
    EXPECT_EQ(presenter.shown[0].text, head + "\t FM database \r\t Navaid and/or COM database \r" + tail);
    EXPECT_EQ(presenter.shown[0].title, "Warning");
    EXPECT_EQ(presenter.shown[0].icon, MessageIcon::Exclamation);

    RecordingPresenter second;
    EXPECT_FALSE(CheckDatabases(none, false, second));
    EXPECT_EQ(second.shown.at(0).text, head + "\t FM database \r" + tail);

    // A flag whose file has gone is cleared before the check.
    AppState fmOnly;
    fmOnly.FCCDatabase = dir / "FMALL.dat";
    fmOnly.UseFCCDB = 1;
    fmOnly.QVADatabase = dir / "gone.dat";
    fmOnly.UseQVADB = 1;
    RecordingPresenter third;
    EXPECT_TRUE(CheckDatabases(fmOnly, false, third));
    EXPECT_TRUE(third.shown.empty());
    EXPECT_EQ(fmOnly.UseQVADB, 0);
    EXPECT_FALSE(CheckDatabases(fmOnly, true, third));
    EXPECT_EQ(third.shown.at(0).text, head + "\t Navaid and/or COM database \r" + tail);
}

TEST(PlaceForm, KeepsTheDialogInsideTheWorkAreaAndMovesTheMainWindowAlong) {
    // A work area that does not start at the origin (a second screen, a panel
    // on the top): x from 1000 to 21000, y from 500 to 15500.
    ScreenMetrics metrics;
    metrics.CaptionHeight = 300;
    metrics.MenuHeight = 200;
    metrics.WorkAreaLeft = 1000;
    metrics.WorkAreaTop = 500;
    metrics.WorkAreaWidth = 20000;
    metrics.WorkAreaHeight = 15000;
    const float status = 500;

    struct Case {
        const char* what;
        WindowRect main;
        bool minimized;
        float width, height;
        float left, top;  // where the dialog goes
        bool moveMain;
        float mainLeft, mainTop;
    };
    // cx = main.left + main.width / 2, cy = main.top + (300 + main.height + 200 - 500) / 2,
    // worked out by hand for each row.
    const Case cases[] = {
        // cx 6000, cy 4500: 6000 - 1500, 4500 - 1000.
        {"centred", {2000, 1500, 8000, 6000}, false, 3000, 2000, 4500, 3500, false, 2000, 1500},
        // cx 19000: 16750 but at most 21000 - 4500 = 16500; the main window follows by -250.
        {"near the right edge", {15000, 1500, 8000, 6000}, false, 4500, 2000, 16500, 3500, true, 14750, 1500},
        {"near the right edge, minimised",
         {15000, 1500, 8000, 6000},
         true,
         4500,
         2000,
         16500,
         3500,
         false,
         15000,
         1500},
        // cx 1000, cy 2000: (-1000, -500) pulled to (1000, 500); the main window by (+2000, +1000).
        {"above and left of the work area", {-3000, -1000, 8000, 6000}, false, 4000, 5000, 1000, 500, true, -1000, 0},
        // Wider than the work area: 6000 - 12500 = -6500 starts at the left edge, 1000.
        {"wider than the work area", {2000, 1500, 8000, 6000}, false, 25000, 2000, 1000, 3500, true, 9500, 1500},
        // Taller, over a main window low on the screen: cy 13000, 13000 - 8000 = 5000
        // starts at the top edge, 500; the main window follows by -4500.
        {"taller than the work area", {2000, 10000, 8000, 6000}, false, 3000, 16000, 4500, 500, true, 2000, 5500},
        // Both, minimised: (-6500, -3500) to the top left corner, the main window stays.
        {"larger both ways, minimised", {2000, 1500, 8000, 6000}, true, 25000, 16000, 1000, 500, false, 2000, 1500},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const Placement p = PlaceForm(c.main, c.minimized, status, c.width, c.height, metrics);
        EXPECT_FLOAT_EQ(p.dialogLeft, c.left);
        EXPECT_FLOAT_EQ(p.dialogTop, c.top);
        EXPECT_EQ(p.moveMain, c.moveMain);
        EXPECT_FLOAT_EQ(p.mainLeft, c.mainLeft);
        EXPECT_FLOAT_EQ(p.mainTop, c.mainTop);
    }
}

TEST(PaintGradient, BandsAreThickEnoughToLeaveNoGaps) {
    EXPECT_EQ(gradientDrawWidth(100), 2);
    EXPECT_EQ(gradientDrawWidth(241), 2);
    EXPECT_EQ(gradientDrawWidth(480), 3);
    EXPECT_EQ(gradientDrawWidth(960), 5);
}

TEST(ShowUnexpectedError, NamesTheProcedureOnItsSecondLine) {
    RecordingPresenter presenter;
    ShowUnexpectedError(presenter, "RunSimulation", "Disk full");
    ASSERT_EQ(presenter.shown.size(), 1u);
    EXPECT_EQ(presenter.shown[0].text,
              " An unexpected error has occurred in \r procedure RunSimulation: \r\r Disk full ");
    EXPECT_EQ(presenter.shown[0].title, "CRV Error");
    EXPECT_EQ(presenter.shown[0].icon, MessageIcon::Exclamation);
    EXPECT_EQ(presenter.shown[0].buttons, MessageButtons::Ok);
}

}  // namespace
}  // namespace crv::common
