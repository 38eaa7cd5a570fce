// The pattern and calibration editor driven without its window: open, edit,
// switch, save, and the questions that guard unsaved data.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>

#include <cmath>
#include <filesystem>

#include "crv/editors/user_data_editor.h"
#include "fake_host.h"

using namespace crv::editors;
using crv::common::MessageAnswer;
using test::FakeHost;

namespace {
// A pattern file of kind 2 in percent: point i holds 50 - i.
std::string verticalPattern() {
    UserData d = newUserData(2);
    d.description = "Vertical test            ";
    for (std::size_t i = 0; i < d.values.size(); ++i) d.values[i] = 50.0 - static_cast<double>(i);
    return writeUserDataFile(d);
}
}  // namespace

TEST(UserDataEditor, OpenEditSaveAndReopen) {
    FakeHost host;
    test::writeBytes(host.folder + "in.pat", verticalPattern());
    UserDataEditor ed(host, true);
    host.openPaths = {host.folder + "in.pat"};
    ASSERT_TRUE(ed.Open());
    EXPECT_EQ(ed.caption(), " CRV Radiation Pattern -- in.pat");
    EXPECT_EQ(ed.kind(), 2);
    EXPECT_EQ(ed.cellText(0), " 50.00");
    EXPECT_EQ(ed.xText(1), " 2.5");
    EXPECT_EQ(ed.descriptionText(), "Vertical test");

    std::string text = "20";
    ASSERT_TRUE(ed.commitCell(3, text, ed.cellText(3)));
    EXPECT_EQ(text, " 20.00");
    EXPECT_TRUE(ed.changed());
    // A value outside the cell's range is refused with the check's message.
    std::string bad = "120";
    EXPECT_FALSE(ed.commitCell(4, bad, ed.cellText(4)));
    EXPECT_EQ(host.messages.back().title, "Input Error");

    // Save: the reminder, the dialog; the file holds the values normalised
    // (largest 50 % becomes 100 %), the table keeps them as entered.
    host.answers = {MessageAnswer::Ok};
    host.savePaths_ = {host.folder + "out.pat"};
    ASSERT_TRUE(ed.Save());
    EXPECT_EQ(host.saveRequests.back().initialName, "in.pat");
    EXPECT_FALSE(ed.changed());
    EXPECT_EQ(ed.cellText(0), " 50.00");
    const UserDataRead back = readUserDataFile(test::readBytes(host.folder + "out.pat"), true);
    EXPECT_NEAR(back.data.values[0], 100, 1e-9);
    EXPECT_NEAR(back.data.values[3], 40, 1e-9);
    EXPECT_EQ(ed.caption(), " CRV Radiation Pattern -- out.pat");
}

// The table keeps the values as entered after a save; every later save, plot
// and switch of scale starts from them, not from the last file's scale.
TEST(UserDataEditor, ASecondSaveStartsFromWhatTheTableShows) {
    FakeHost host;
    UserDataEditor ed(host, true);
    ASSERT_TRUE(ed.changeKind(2));
    for (auto [row, text] : {std::pair{0, "50"}, {1, "25"}, {2, "25"}}) {
        std::string v = text;
        ASSERT_TRUE(ed.commitCell(row, v, ed.cellText(row)));
    }
    host.answers = {MessageAnswer::Ok};
    host.savePaths_ = {host.folder + "one.pat"};
    ASSERT_TRUE(ed.Save());
    std::string v = "40";
    ASSERT_TRUE(ed.commitCell(2, v, ed.cellText(2)));
    host.answers = {MessageAnswer::Ok};
    host.savePaths_ = {host.folder + "two.pat"};
    ASSERT_TRUE(ed.Save());

    // 50 / 25 / 40 normalised: 100 / 50 / 80.
    const auto lines = textLines(test::readBytes(host.folder + "two.pat"));
    ASSERT_GE(lines.size(), 5u);
    EXPECT_EQ(lines[2], "  0.00" + std::string(10, ' ') + " 100.000");
    EXPECT_EQ(lines[3], "  2.50" + std::string(10, ' ') + "  50.000");
    EXPECT_EQ(lines[4], "  5.00" + std::string(10, ' ') + "  80.000");

    // The plot shows the table's values: 50 % at 0 degrees, 25 % at 2.5.
    const auto plot = ed.patternPlotLines();
    EXPECT_EQ(plot[6], std::string(13, ' ') + "0.0" + std::string(12, ' ') + "50.00" + std::string(13, ' ') + "-6.02");
    EXPECT_EQ(plot[11], std::string(13, ' ') + "2.5" + std::string(12, ' ') + "25.00" + std::string(12, ' ') + "-12.04");

    // In dB the table shows the same values: 20 log10(v / 100).
    ed.changeScale(1);
    EXPECT_EQ(ed.cellText(0), " -6.02");
    EXPECT_EQ(ed.cellText(1), "-12.04");
    EXPECT_EQ(ed.cellText(2), " -7.96");
}

TEST(UserDataEditor, ScaleSwitchKeepsTheValues) {
    FakeHost host;
    UserDataEditor ed(host, true);
    std::string v = "50";
    ASSERT_TRUE(ed.commitCell(0, v, ed.cellText(0)));
    ed.changeScale(1);
    EXPECT_EQ(ed.cellText(0), " -6.02");
    EXPECT_EQ(ed.cellText(1), "-99.99");  // 0 % shows at the cell's floor
    EXPECT_TRUE(ed.changed());
    ed.changeScale(0);
    EXPECT_EQ(ed.cellText(0), " 50.00");
}

TEST(UserDataEditor, ValuesOutOfRangeFromAFileAreMarkedNotCut) {
    FakeHost host;
    test::writeBytes(host.folder + "big.cal", "Loss\r\n 4 \r\n88 12.5\r\n89 250.75\r\n90 -3\r\n");
    UserDataEditor ed(host, false);
    host.openPaths = {host.folder + "big.cal"};
    ASSERT_TRUE(ed.Open());
    ASSERT_FALSE(host.messages.empty());
    EXPECT_NE(host.messages.back().text.find("2 values of " + host.folder +
                                             "big.cal are outside the allowed range (the first on line 4: \"250.75\")"),
              std::string::npos);
    EXPECT_TRUE(ed.cellInvalid(1));
    EXPECT_EQ(ed.cellText(1), "250.8");  // whole, not cut to four characters
    EXPECT_FALSE(ed.cellInvalid(0));
    EXPECT_FALSE(ed.Save());  // refused while marked values remain
    EXPECT_TRUE(host.saveRequests.empty());
    std::string a = "25", b = "3";
    ASSERT_TRUE(ed.commitCell(1, a, ed.cellText(1)));
    ASSERT_TRUE(ed.commitCell(2, b, ed.cellText(2)));
    EXPECT_FALSE(ed.anyInvalid());
}

// "Yes, save first" never loses the data when the save does not happen.
TEST(UserDataEditor, CancelledSaveStopsTheCommandThatAsked) {
    struct Case {
        const char* name;
        bool (*command)(UserDataEditor&);
    } cases[] = {
        {"Open", [](UserDataEditor& e) { return e.Open(); }},
        {"New", [](UserDataEditor& e) { return e.New(); }},
        {"change of kind", [](UserDataEditor& e) { return e.changeKind(3); }},
        {"Exit", [](UserDataEditor& e) { return e.Exit(); }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        FakeHost host;
        UserDataEditor ed(host, true);
        std::string v = "75";
        ASSERT_TRUE(ed.commitCell(2, v, ed.cellText(2)));
        // Yes, then OK to the reminder, then the save dialog is cancelled.
        host.answers = {MessageAnswer::Yes, MessageAnswer::Ok};
        EXPECT_FALSE(c.command(ed));
        EXPECT_EQ(ed.cellText(2), " 75.00");
        EXPECT_EQ(ed.kind(), 1);
        EXPECT_FALSE(ed.closed());
        // No goes on without saving.
        host.answers = {MessageAnswer::No};
        host.openPaths = {""};
        c.command(ed);
        EXPECT_TRUE(host.saveRequests.size() == 1);
    }
}

TEST(UserDataEditor, OpeningClearsWhatTheLastFileLeft) {
    FakeHost host;
    test::writeBytes(host.folder + "full.pat", verticalPattern());
    test::writeBytes(host.folder + "short.pat", "Short\r\n 2  0  0\r\n0 10\r\n2.5 20\r\n");
    UserDataEditor ed(host, true);
    host.openPaths = {host.folder + "full.pat", host.folder + "short.pat"};
    ASSERT_TRUE(ed.Open());
    ASSERT_TRUE(ed.Open());
    EXPECT_EQ(host.browsed[1], std::make_pair(5, true));  // the browser keeps its settings the second time
    EXPECT_EQ(ed.cellText(1), " 20.00");
    EXPECT_EQ(ed.cellText(10), "  0.00");
}

TEST(UserDataEditor, KindOneWritesThe360DegreePointAsZero) {
    FakeHost host;
    UserDataEditor ed(host, true);
    EXPECT_EQ(ed.rows(), 36);  // 0 to 350 shown
    std::string v = "80";
    ASSERT_TRUE(ed.commitCell(0, v, ed.cellText(0)));
    host.answers = {MessageAnswer::Ok};
    host.savePaths_ = {host.folder + "h.pat"};
    ASSERT_TRUE(ed.Save());
    const auto lines = textLines(test::readBytes(host.folder + "h.pat"));
    ASSERT_EQ(lines.size(), 39u);
    EXPECT_EQ(lines[38], "360.00" + std::string(10, ' ') + " 100.000");
}

TEST(UserDataEditor, NormalizeAsksFirst) {
    FakeHost host;
    UserDataEditor ed(host, true);
    std::string v = "25";
    ASSERT_TRUE(ed.commitCell(5, v, ed.cellText(5)));
    host.answers = {MessageAnswer::Cancel};
    EXPECT_FALSE(ed.Normalize());
    EXPECT_EQ(ed.cellText(5), " 25.00");
    host.answers = {MessageAnswer::Ok};
    EXPECT_TRUE(ed.Normalize());
    EXPECT_EQ(ed.cellText(5), "100.00");
    EXPECT_EQ(host.messages.back().title, "Warning");
}

TEST(UserDataEditor, PlotWritesAPatternPlotFileAndRemovesIt) {
    FakeHost host;
    UserDataEditor ed(host, true);
    ASSERT_TRUE(ed.changeKind(3));
    std::string g = "21.5";
    ASSERT_TRUE(ed.commitGain(g, ed.gainText()));
    std::string v = "100";
    ASSERT_TRUE(ed.commitCell(0, v, ed.cellText(0)));
    ed.ReadGrid();
    const auto lines = ed.patternPlotLines();
    ASSERT_EQ(lines.size(), 6u + 181u);
    EXPECT_EQ(lines[1], "    Gain:  21.5 dBi");
    EXPECT_EQ(lines[0].rfind("    Localizer pattern description:  ", 0), 0u);
    // Between 100 % at 0 degrees and 0 % at 5 degrees: 80 % at 1 degree;
    // a zero value plots at 0.0001 %, -120 dB.
    EXPECT_EQ(lines[7], std::string(13, ' ') + "1.0" + std::string(12, ' ') + "80.00" + std::string(13, ' ') + "-1.94");
    EXPECT_NE(lines.back().find("-120.00"), std::string::npos);
    ASSERT_TRUE(ed.Plot());
    ASSERT_EQ(host.plotted.size(), 1u);
    EXPECT_EQ(host.plotted[0], host.folder + "LocHorU.ptx");
    EXPECT_TRUE(host.plotExisted);
    EXPECT_FALSE(std::filesystem::exists(host.folder + "LocHorU.ptx"));
}

// Without its temporary folder (the per-user folder was refused at start),
// Plot writes nothing into the current folder: it says why and stops.
TEST(UserDataEditor, PlotWithoutATemporaryFolderStopsWithTheMessage) {
    FakeHost host;
    const std::string base = host.folder + "shared-tmp";
    const std::string userFolder = base + "/corvane-" + std::to_string(::getuid());
    std::filesystem::create_directories(userFolder);
    std::filesystem::permissions(userFolder, std::filesystem::perms::all);
    const char* oldTmp = std::getenv("TMPDIR");
    const std::string savedTmp = oldTmp ? oldTmp : "";
    ::setenv("TMPDIR", base.c_str(), 1);
    const auto here = std::filesystem::current_path();
    std::filesystem::current_path(host.folder);
    host.app.TempFolder.clear();
    UserDataEditor ed(host, true);
    ASSERT_TRUE(ed.changeKind(3));
    EXPECT_FALSE(ed.Plot());
    EXPECT_TRUE(host.plotted.empty());
    EXPECT_FALSE(std::filesystem::exists(host.folder + "LocHorU.ptx"));
    ASSERT_FALSE(host.messages.empty());
    EXPECT_EQ(host.messages.back().title, "Temporary Folder");
    EXPECT_NE(host.messages.back().text.find("Set TMPDIR to a folder of your own"), std::string::npos);
    std::filesystem::current_path(here);
    if (oldTmp) ::setenv("TMPDIR", savedTmp.c_str(), 1);
    else ::unsetenv("TMPDIR");
}

TEST(UserDataEditor, AFailedWriteKeepsTheDataUnsaved) {
    FakeHost host;
    UserDataEditor ed(host, false);
    std::string v = "12";
    ASSERT_TRUE(ed.commitCell(0, v, ed.cellText(0)));
    host.answers = {MessageAnswer::Ok};
    host.savePaths_ = {host.folder + "no/such/folder/Antenna.cal"};
    EXPECT_FALSE(ed.Save());
    EXPECT_TRUE(ed.changed());
    EXPECT_EQ(host.messages.back().title, "Save");
}
