// The receiver test points editor driven without its window.
#include <gtest/gtest.h>

#include "crv/editors/rcvr_points_editor.h"
#include "fake_host.h"

using namespace crv::editors;
using crv::common::MessageAnswer;
using test::FakeHost;

TEST(RcvrPointsEditor, ImportSkipsHeadingsAndReportsThem) {
    FakeHost host;
    test::writeBytes(host.folder + "survey.txt", "Range Bearing Elevation\r\n\r\n5.5 120 2000\r\n3 45 1500\r\n");
    RcvrPointsEditor ed(host);
    ed.changeFormat(0);
    host.openPaths = {host.folder + "survey.txt"};
    host.answers = {MessageAnswer::No};  // the format change is not worth saving
    ASSERT_TRUE(ed.Import());
    EXPECT_EQ(host.openRequests.back().title, "File to Import");
    EXPECT_EQ(ed.fileTitle(), "survey.txt");
    EXPECT_EQ(ed.cellText(0, 1), " 5.500");
    EXPECT_EQ(ed.cellText(1, 3), " 1500");
    EXPECT_EQ(ed.cellText(2, 1), " 0.000");
    ASSERT_FALSE(host.messages.empty());
    EXPECT_NE(host.messages.back().text.find("2 lines hold no number"), std::string::npos);
    EXPECT_FALSE(ed.changed());
}

TEST(RcvrPointsEditor, FormatSwitchKeepsTheNumbers) {
    FakeHost host;
    RcvrPointsEditor ed(host);
    ed.changeFormat(0);
    std::string range = "10", bearing = "45";
    ASSERT_TRUE(ed.commitCell(0, 1, range, ed.cellText(0, 1)));
    ASSERT_TRUE(ed.commitCell(0, 2, bearing, ed.cellText(0, 2)));
    ed.changeFormat(2);
    EXPECT_EQ(ed.heading(1), "      Latitude     ");
    EXPECT_EQ(ed.cellText(0, 1), "N 10.0000\xB0");
    EXPECT_TRUE(ed.changed());
}

// A gap in the list is pointed out before saving; the file ends before it.
TEST(RcvrPointsEditor, SavingAListWithAGap) {
    FakeHost host;
    RcvrPointsEditor ed(host);
    std::string lat = "N 38 30 00", lon = "W 077 15 00", elev = "100", lat3 = "N 39 00 00";
    ASSERT_TRUE(ed.commitCell(0, 1, lat, ed.cellText(0, 1)));
    ASSERT_TRUE(ed.commitCell(0, 2, lon, ed.cellText(0, 2)));
    ASSERT_TRUE(ed.commitCell(0, 3, elev, ed.cellText(0, 3)));
    ASSERT_TRUE(ed.commitCell(2, 1, lat3, ed.cellText(2, 1)));
    host.answers = {MessageAnswer::No};
    EXPECT_FALSE(ed.Save());
    EXPECT_NE(host.messages.back().text.find("row 3"), std::string::npos);
    EXPECT_TRUE(host.saveRequests.empty());

    host.answers = {MessageAnswer::Yes, MessageAnswer::Ok};
    host.savePaths_ = {host.folder + "RcvrTest.pts"};
    ASSERT_TRUE(ed.Save());
    EXPECT_EQ(test::readBytes(host.folder + "RcvrTest.pts"),
              std::string(25, ' ') + "\r\n 1 \r\n 38 30 00   077 15 00    100\r\n");
}

TEST(RcvrPointsEditor, OpenReplacesTheWholeList) {
    FakeHost host;
    std::string many = "Many\r\n 0 \r\n";
    for (int i = 1; i <= 100; ++i) many += "1 2 " + std::to_string(i) + "\r\n";
    std::string ten = "Ten\r\n 0 \r\n";
    for (int i = 1; i <= 10; ++i) ten += "3 4 " + std::to_string(i) + "\r\n";
    test::writeBytes(host.folder + "many.pts", many);
    test::writeBytes(host.folder + "ten.pts", ten);
    RcvrPointsEditor ed(host);
    host.openPaths = {host.folder + "many.pts", host.folder + "ten.pts"};
    ASSERT_TRUE(ed.Open());
    ASSERT_TRUE(ed.Open());
    EXPECT_EQ(ed.format(), 0);
    EXPECT_EQ(listLength(ed.points()), 10u);
    EXPECT_EQ(ed.cellText(10, 3), "    0");
    EXPECT_EQ(ed.descriptionText(), "Ten");
}

TEST(RcvrPointsEditor, OutOfRangePointsBlockSavingUntilCorrected) {
    FakeHost host;
    test::writeBytes(host.folder + "bad.pts", "Bad\r\n 2 \r\n95.5 77.0 100\r\n38.5 77.0 100\r\n");
    RcvrPointsEditor ed(host);
    host.openPaths = {host.folder + "bad.pts"};
    ASSERT_TRUE(ed.Open());
    EXPECT_TRUE(ed.rowInvalid(0));
    EXPECT_NE(host.messages.back().text.find("first on line 3"), std::string::npos);
    EXPECT_FALSE(ed.Save());
    std::string lat = "N 45.0000";
    ASSERT_TRUE(ed.commitCell(0, 1, lat, ed.cellText(0, 1)));
    EXPECT_FALSE(ed.anyInvalid());
}

// The message that stops a save says where the marked values came from.
TEST(RcvrPointsEditor, MarkedValuesAreExplainedByWhatMarkedThem) {
    const std::string fromFile = " Some values read from the file are outside their range";
    const std::string fromFormat = " Some values do not fit the position format now chosen";
    {
        SCOPED_TRACE("range and bearing switched to latitude and longitude");
        FakeHost host;
        RcvrPointsEditor ed(host);
        ed.changeFormat(0);
        std::string range = "95", bearing = "120";  // fine as nmi and degrees, not as a latitude
        ASSERT_TRUE(ed.commitCell(0, 1, range, ed.cellText(0, 1)));
        ASSERT_TRUE(ed.commitCell(0, 2, bearing, ed.cellText(0, 2)));
        ed.changeFormat(2);
        ASSERT_TRUE(ed.rowInvalid(0));
        EXPECT_FALSE(ed.Save());
        ASSERT_FALSE(host.messages.empty());
        EXPECT_EQ(host.messages.back().text.rfind(fromFormat, 0), 0u) << host.messages.back().text;
        EXPECT_TRUE(host.saveRequests.empty());
    }
    {
        SCOPED_TRACE("read from a file");
        FakeHost host;
        test::writeBytes(host.folder + "bad.pts", "Bad\r\n 2 \r\n95.5 77.0 100\r\n");
        RcvrPointsEditor ed(host);
        ed.changeFormat(0);
        host.answers = {MessageAnswer::No};
        host.openPaths = {host.folder + "bad.pts"};
        ASSERT_TRUE(ed.Open());
        EXPECT_FALSE(ed.Save());
        EXPECT_EQ(host.messages.back().text.rfind(fromFile, 0), 0u) << host.messages.back().text;
    }
}
