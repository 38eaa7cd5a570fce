// The ground COM check on a case worked out by hand: a COM facility at
// 127.7 MHz (site 40 30 15 N, 75 20 30 W, field 500 ft, receiver at 540 ft),
// constant-beam stations at the receiver's height, antenna rejection 13.2 dB.
//   X 107.9 MHz, proponent, 0.5 nmi north, 28.0532 kW: intermod level -9.000 dBm;
//     in-band -80.263 dBm, out-of-band -0.142 dBm (both over their limits).
//   Y 88.1 MHz, 0.8 nmi south: intermod level -31.000 (0.3021 kW) or -25.000 (1.2026 kW).
//   Z 100.0 MHz, proponent, 2 nmi south, 100 kW: in-band -86.784, out-of-band -6.161;
//     too far for the intermodulation lists.
// 2 x 107.9 - 88.1 = 127.7: one two-signal combination, no three-signal one.
#include <gtest/gtest.h>

#include <filesystem>

#include "b1_fixture.h"
#include "crv50.h"
#include "test_support.h"

namespace crv::engine {
namespace {

using namespace test;
namespace fs = std::filesystem;

const double kLon = 75 + 20.0 / 60 + 30.0 / 3600;
const double kSiteLat = 40 + 30.0 / 60 + 15.0 / 3600;

std::vector<StationLine> comStations(double erpY) {
    return {{"WXXX", 107.9, kSiteLat + 30.0 / 3600, kLon, 28.0532, 540, 1},
            {"WYYY", 88.1, kSiteLat - 48.0 / 3600, kLon, erpY, 540, 0},
            {"WZZZ", 100.0, kSiteLat - 120.0 / 3600, kLon, 100, 540, 1}};
}

std::string sep() { return " " + std::string(80, '_'); }

class GroundCase : public ::testing::Test {
protected:
    void writeCase(double erpY, int intermod, int style = 2) {
        CaseOptionsLine o;
        o.gridType = 8;
        o.intermod = intermod;
        o.style = style;
        folder.writeCase(caseLines(navaidLine(127.7, 37, 8), comStations(erpY), o));
        writeBytes(folder.run + "Rfi.txt", "HEAD\r\n");
    }
    std::int16_t run(std::int16_t& status, CrvProgressCallback cb = nullptr) {
        std::int16_t cases = -1;
        GrndCOM(folder.run.c_str(), cb, &status, &cases);
        return cases;
    }
    std::vector<std::string> report() const { return splitLines(readBytes(folder.run + "Rfi.txt")); }

    CaseFolder folder;
    PrivateTemp temp{folder};
    crv::test::MessageCapture messages;
};

std::vector<std::string> stationSection() {
    return {
        "",
        " Results of check for out-of-band interference",
        sep(),
        "",
        " The out-of-band level for station    1 (WXXX, 107.900) is  -0.1 dBm.",
        " This exceeds the out-of-band limit of -4 dBm by  3.9 dB.",
        "",
        " The out-of-band level for station    3 (WZZZ, 100.000) is  -6.2 dBm.",
        " This does not exceed the out-of-band limit of -4 dBm.",
        "",
        "",
        " Results of check for in-band interference",
        sep(),
        "",
        " The in-band level for station    1 (WXXX, 107.900) is  -80.3 dBm.",
        " This exceeds the in-band limit of -104 dBm by 23.7 dB.",
        "",
        " The in-band level for station    3 (WZZZ, 100.000) is  -86.8 dBm.",
        " This exceeds the in-band limit of -104 dBm by 17.2 dB.",
        "",
    };
}

TEST_F(GroundCase, SecondaryLevelDecidesTheTwoSignalCheck) {
    struct Row {
        double erpY;
        std::int16_t cases;
        std::vector<std::string> combination;
    };
    const std::vector<Row> rows{
        {0.3021, 3,
         {"   Station    2 (WYYY   ,  88.100) does not exceed secondary level of -30 dBm.",
          "   This does not meet the criteria for interference.", "",
          " No 2-signal intermodulation interference found.", ""}},
        {1.2026, 4,
         {"   Station    2 (WYYY   ,  88.100) exceeds secondary level of -30 dBm by  5.0 dB.",
          "   This meets the criteria for interference.", ""}},
    };
    for (const Row& row : rows) {
        writeCase(row.erpY, 1);
        std::int16_t status = -1;
        EXPECT_EQ(run(status), row.cases);
        ASSERT_EQ(status, 0);
        std::vector<std::string> expected{"HEAD", "", "", "", " GROUND COMM FACILITY", sep(), ""};
        for (const auto& l : stationSection()) expected.push_back(l);
        for (const auto& l : std::vector<std::string>{
                 "", " Results of check for 2-signal intermodulation interference", sep(), "",
                 " Two-signal intermod at 127.700 MHz (offset of   0 kHz):",
                 "   Station    1 (WXXX   , 107.900) exceeds primary level of -10 dBm by  1.0 dB."})
            expected.push_back(l);
        for (const auto& l : row.combination) expected.push_back(l);
        for (const auto& l : std::vector<std::string>{
                 "", "", " There are no 3-signal intermodulation combinations for this data file."})
            expected.push_back(l);
        EXPECT_EQ(report(), expected) << row.erpY;
        EXPECT_FALSE(fs::exists(tempFile(folder, "Imod2.tmp")));
        EXPECT_FALSE(fs::exists(tempFile(folder, "Imod3.tmp")));
    }
}

TEST_F(GroundCase, IntermodTypeZeroRunsOnlyTheStationChecks) {
    writeCase(0.3021, 0);
    std::int16_t status = -1;
    EXPECT_EQ(run(status), 3);
    std::vector<std::string> expected{"HEAD", "", "", " GROUND COMM FACILITY", sep(), ""};
    for (const auto& l : stationSection()) expected.push_back(l);
    EXPECT_EQ(report(), expected);
}

TEST_F(GroundCase, NoAirborneChecksRunsOnlyTheIntermodulation) {
    writeCase(1.2026, 3);
    std::int16_t status = -1;
    EXPECT_EQ(run(status), 1);
    const auto lines = report();
    EXPECT_EQ(std::count_if(lines.begin(), lines.end(),
                            [](const std::string& l) { return l.find("band level") != std::string::npos; }),
              0);
}

TEST_F(GroundCase, BeyondTheHorizonCountsNothingEvenWhenDebugging) {
    // Z moved 30 nmi away: beyond the 15.6 nmi radio horizon of the site.
    CaseOptionsLine o;
    o.gridType = 8;
    o.intermod = 0;
    o.style = 3;
    auto stations = comStations(0.3021);
    stations[2].latitude = kSiteLat - 0.5;
    folder.writeCase(caseLines(navaidLine(127.7, 37, 8), stations, o));
    writeBytes(folder.run + "A2B2.dbg", "EARLIER\r\n");
    std::int16_t status = -1;
    EXPECT_EQ(run(status), 2);  // X's two exceedances only
    ASSERT_EQ(status, 0);
    const auto lines = report();
    EXPECT_EQ(std::count_if(lines.begin(), lines.end(),
                            [](const std::string& l) { return l.find("WZZZ") != std::string::npos; }),
              0);
    EXPECT_NE(std::find(lines.begin(), lines.end(), "       T F F"), lines.end());  // Z's flags
    const auto dbg = splitLines(readBytes(folder.run + "A2B2.dbg"));
    ASSERT_EQ(dbg.size(), 5u);
    EXPECT_EQ(dbg[0], "EARLIER");
    EXPECT_EQ(dbg[1], " GROUND");
}

int gCalls = 0, gCancelAt = 0;
void cancelAtNth(std::int32_t, std::int16_t* cancel) { *cancel = ++gCalls == gCancelAt ? 1 : 0; }

TEST_F(GroundCase, CancelDeletesTheReportAndTheLists) {
    // Callbacks: two proponents, then the one two-signal record.
    for (int n : {1, 3}) {
        writeCase(1.2026, 1, 3);
        writeBytes(folder.run + "B1_2Sig.dbg", "EARLIER\r\n");
        gCalls = 0;
        gCancelAt = n;
        std::int16_t status = -1;
        run(status, cancelAtNth);
        EXPECT_EQ(status, 1);
        EXPECT_FALSE(fs::exists(folder.run + "Rfi.txt"));
        EXPECT_FALSE(fs::exists(tempFile(folder, "Imod2.tmp")));
        EXPECT_FALSE(fs::exists(tempFile(folder, "Imod3.tmp")));
        // The debugging file being written at the cancel goes with it.
        EXPECT_EQ(fs::exists(folder.run + "B1_2Sig.dbg"), n == 1);
    }
}

}  // namespace
}  // namespace crv::engine
