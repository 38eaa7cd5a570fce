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
    testing::writeFile(dir / "FMALL.dat", "x");
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
    ScreenMetrics metrics;
    metrics.CaptionHeight = 300;
    metrics.MenuHeight = 200;
    metrics.WorkAreaLeft = 0;
    metrics.WorkAreaTop = 0;
    metrics.WorkAreaWidth = 20000;
    metrics.WorkAreaHeight = 15000;

    // Centred: cx = 1000 + 4000, cy = 1000 + (300 + 6000 + 200 - 500) / 2 = 4000.
    const WindowRect main{1000, 1000, 8000, 6000};
    Placement p = PlaceForm(main, false, 500, 3000, 2000, metrics);
    EXPECT_FLOAT_EQ(p.dialogLeft, 3500);
    EXPECT_FLOAT_EQ(p.dialogTop, 3000);
    EXPECT_FALSE(p.moveMain);

    // Near the right edge: x = 18000 - 2250 = 15750 but at most 20000 - 4500 = 15500;
    // the dialog is pulled in by 250 and the main window follows.
    const WindowRect right{14000, 1000, 8000, 6000};
    p = PlaceForm(right, false, 500, 4500, 2000, metrics);
    EXPECT_FLOAT_EQ(p.dialogLeft, 15500);
    EXPECT_TRUE(p.moveMain);
    EXPECT_FLOAT_EQ(p.mainLeft, 13750);
    EXPECT_FLOAT_EQ(p.mainTop, 1000);

    // Minimised main window: only the dialog moves.
    p = PlaceForm(right, true, 500, 4500, 2000, metrics);
    EXPECT_FLOAT_EQ(p.dialogLeft, 15500);
    EXPECT_FALSE(p.moveMain);

    // Larger than the work area: the lower bound first, so it ends at the upper one.
    p = PlaceForm(main, false, 500, 25000, 2000, metrics);
    EXPECT_FLOAT_EQ(p.dialogLeft, -5000);
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
