// Receiver test points files: the layout of each position format, the engine
// reading what the editor writes, and reading imported or damaged files.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>

#include "case_folder.h"
#include "crv/editors/rcvr_points_file.h"
#include "crv/editors/user_data_file.h"
#include "crv50.h"
#include "receiver_point_file.h"

using namespace crv::editors;
namespace et = crv::engine::test;
namespace fs = std::filesystem;

TEST(RcvrPointsFile, LayoutOfEachFormat) {
    struct Case {
        int format;
        RcvrPoint point;
        const char* line;
    } cases[] = {
        {0, {12.5, -45.3, 2500}, "12.500   -45.3   2500"},
        // A bearing of -179.5 keeps its decimal: the bearing field is six wide.
        {0, {3, -179.5, 10}, " 3.000  -179.5     10"},
        {2, {38.8533, 77.0342, 900}, " 38.8533    77.0342    900"},
        // Notation 1: the grid's text without hemisphere and signs; a
        // longitude keeps three degree digits; south and east write "-".
        {1, {38.8533333333, 77.0, 900}, " 38 51 12   077 00 00    900"},
        {1, {-38.8533333333, -77.0, 900}, "-38 51 12  -077 00 00    900"},
        // Under a degree from the equator and Greenwich the sign stays.
        {1, {-0.5, -0.25, 10}, "-00 30 00  -000 15 00     10"},
        {3, {-0.5, 77.2541666667, 10}, "-00 30.00   077 15.25     10"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line);
        EXPECT_EQ(formatPointLine(c.point, c.format), c.line);
        // ...and reads back as the same position.
        const auto back = ReadPoints({c.line}, 0, c.format);
        ASSERT_EQ(back.points.size(), 1u);
        EXPECT_NEAR(back.points[0].first, c.point.first, 1e-3);
        EXPECT_NEAR(back.points[0].second, c.point.second, 1e-3);
        EXPECT_EQ(std::signbit(back.points[0].first), std::signbit(c.point.first));
    }
    RcvrPoints d;
    d.format = 1;
    d.description = "Points";
    d.points = {{38.5, 77.5, 100}, {0, 0, 0}, {39, 78, 200}};  // an all-zero point ends the list
    EXPECT_EQ(writeRcvrPointsFile(d), "Points                   \r\n 1 \r\n 38 30 00   077 30 00    100\r\n");
    EXPECT_EQ(firstPointAfterEnd(d.points), 2);
}

// Each of the engine's own test files opens, saves unchanged in its values,
// and the engine's grid made from the saved file is the grid of the original.
TEST(RcvrPointsFile, EngineGridFromASavedFileIsUnchanged) {
    for (const char* name : {"grid8_code0", "grid8_code1", "grid8_code2", "grid8_code3"}) {
        SCOPED_TRACE(name);
        const std::string dir = std::string(ENGINE_GRID_DATA) + name + "/";
        const auto opened = readRcvrPointsFile(et::readBytes(dir + "RcvrTest.pts"));
        ASSERT_FALSE(opened.data.points.empty());
        et::CaseFolder folder;
        fs::copy_file(dir + "Rfi.plt", folder.run + "Rfi.plt");
        const std::string saved = writeRcvrPointsFile(opened.data);
        et::writeBytes(folder.user + "RcvrTest.pts", saved);
        std::int16_t status = -1;
        std::int32_t count = 0;
        Grid(folder.run.c_str(), nullptr, &status, &count);
        ASSERT_EQ(status, 0);
        EXPECT_EQ(et::readBytes(folder.run + "Rcvr_Loc.plx"), et::readBytes(dir + "expected.plx"));
        // Saved again after reopening: the same bytes.
        EXPECT_EQ(writeRcvrPointsFile(readRcvrPointsFile(saved).data), saved);
    }
}

TEST(RcvrPointsFile, ReadingImportedAndDamagedFiles) {
    // An import reads every line as a point line: a heading and blank lines
    // hold no number and are skipped (and counted), missing tokens are 0.
    const auto r = ReadPoints({"Range Bearing Elev", "", "5 90", "120.5 10 100", "3 45 200"}, 0, 0);
    ASSERT_EQ(r.points.size(), 3u);
    EXPECT_EQ(r.skippedLines, 2);
    EXPECT_EQ(r.points[0].elevationFt, 0);
    EXPECT_TRUE(r.invalid[1]);  // range 120.5 is beyond 99.999
    EXPECT_EQ(r.badCount, 1);
    EXPECT_EQ(r.firstBadLine, 4);

    // A format code outside 0-3 opens as 1; a latitude over 90 is marked.
    const auto f = readRcvrPointsFile("Odd\r\n 7 \r\n 95 00 00   077 00 00    100\r\n");
    EXPECT_EQ(f.data.format, 1);
    EXPECT_EQ(f.read.badCount, 1);

    // 5000 points fill the table; the 5001st line is counted, not read.
    std::vector<std::string> many;
    for (int i = 0; i < 5001; ++i) many.push_back("1 2 " + std::to_string(i + 1));
    const auto full = ReadPoints(many, 0, 0);
    EXPECT_EQ(full.points.size(), 5000u);
    EXPECT_EQ(full.extraLines, 1);

    // Opening a short file leaves exactly its points.
    const auto ten = readRcvrPointsFile("Ten\n0\n1 1 1\n2 2 2\n3 3 3\n4 4 4\n5 5 5\n6 6 6\n7 7 7\n8 8 8\n9 9 9\n10 10 10\n");
    EXPECT_EQ(ten.data.points.size(), 10u);
    EXPECT_EQ(listLength(ten.data.points), 10u);
}
