#include "crv/common/file_descriptions.h"

#include <gtest/gtest.h>

#include "special_files.h"
#include "test_support.h"

namespace crv::common {
namespace {

using testing::ScratchFolder;

TEST(Base36, DecodesBothLetterCasesAndRejectsOtherCharacters) {
    struct Case {
        const char* code;
        int value;
    } cases[] = {{"0A", 10}, {"zz", 1295}, {"ZZ", 1295}, {"1_", 0}, {"01", 1}, {"10", 36}, {"", 0}, {"ZZZZ", 0}};
    for (const auto& c : cases) EXPECT_EQ(DecodeBase36(c.code), c.value) << c.code;
    EXPECT_EQ(EncodeBase36(10), "0A");
    EXPECT_EQ(EncodeBase36(1295), "ZZ");
    EXPECT_EQ(EncodeBase36(1296), "");
}

class Descriptions : public ::testing::Test {
protected:
    ScratchFolder dir;
    StationTables tables;

    void SetUp() override {
        testing::writeBytes(dir / "RFI.PLT",
                            "CRV Version 5.0.6\r\n"
                            " ILX 270 109.500\r\n"
                            " WAAA    101.500  39 00 00\r\n"
                            " KBBB-FM  99.125\r\n"
                            " WCCC    107.9\r\n"
                            " $$$$\r\n"
                            "  1  2\r\n");
        ReadStationNames(tables, dir.path());
    }
};

TEST_F(Descriptions, NameResultPlotsByTheirStations) {
    EXPECT_EQ(tables.StationNames[1], "WAAA");
    EXPECT_EQ(tables.StationTips[1], "1: WAAA@101.5");
    EXPECT_EQ(tables.StationTips[2], "2: KBBB-FM@99.125");
    EXPECT_EQ(tables.StationTips[3], "3: WCCC@107.9");
    EXPECT_EQ(tables.StationNames[4], "");

    struct Case {
        const char* name;
        const char* description;
    } cases[] = {
        {"01____A2.plt", "A2: WAAA"},
        {"02____B2.plt", "B2: KBBB-FM"},
        {"03__A2B2.plt", "A2B2: WCCC"},
        {"02_03___.plt", "B1: KBBB-FM, WCCC"},
        {"01_02_03.plt", "B1: WAAA, KBBB-FM, WCCC"},
        {"00____A2.plt", ""},
        {"01_00___.plt", ""},
        {"01_02_00.plt", ""},
        {"FmHor01.pat", "FM Horizontal Pattern"},
        {"FMVRT2.PAT", "FM Vertical Pattern"},
        {"LocHor.pat", "Localizer Horizontal Pattern"},
        {"mine.pat", "Antenna Radiation Pattern"},
        {"Antenna.cal", "Antenna Calibration Data"},
        {"Receiver.cal", "Receiver Calibration Data"},
        {"rcv2.cal", "Receiver Calibration Data"},
        {"other.cal", "Calibration Data File"},
        {"RcvrTest.pts", "Receiver Test Points"},
        {"FmHor01.ptx", "Antenna Radiation Pattern"},
        {"Rcvr_Loc.plx", "Simulation Rcvr Locations"},
        {"rfi.plt", "Simulation RF Sources"},
        {"Rfi.txt", "Simulation Report"},
        {"nav@1234.plt", "Navaids near 1234"},
        {"LOC@WXYZ.plt", "Localizers near WXYZ"},
        {"vor@AB.txt", "VOR facilities near AB.t"},
        {"com@ABCD.txt", "COM facilities near ABCD"},
        {"fm@567.txt", "RF Sources near 567"},
        {"case.dat", ""},
    };
    for (const auto& c : cases) EXPECT_EQ(DescribeFile(c.name, tables), c.description) << c.name;
}

TEST_F(Descriptions, ToolTipsComeFromStationsOrFirstLines) {
    testing::writeBytes(dir / "FmHor01.pat", "  Four-bay panel antenna  \r\n1 1\r\n");
    EXPECT_EQ(FileToolTip(dir.path(), "FmHor01.pat", tables), "Four-bay panel antenna");
    EXPECT_EQ(FileToolTip(dir.path(), "missing.cal", tables), "");
    EXPECT_EQ(FileToolTip(dir.path(), "01____A2.plt", tables), "1: WAAA@101.5");
    EXPECT_EQ(FileToolTip(dir.path(), "01_02_03.plt", tables), "1: WAAA@101.5,  2: KBBB-FM@99.125,  3: WCCC@107.9");
    EXPECT_EQ(FileToolTip(dir.path(), "nav@1234.plt", tables), "");
    EXPECT_EQ(FileToolTip(dir.path(), "Rfi.plt", tables), "");
    EXPECT_EQ(FileToolTip(dir.path(), "00____A2.plt", tables), "");
    EXPECT_EQ(FileToolTip(dir.path(), "Rfi.txt", tables), "");
}

TEST_F(Descriptions, EachReadStartsFromEmptyTables) {
    ScratchFolder other;
    testing::writeBytes(other / "Rfi.plt", " ILX 270\r\n     ZZZZ  100.10\r\n 999\r\n");  // oldest layout
    ReadStationNames(tables, other.path());
    EXPECT_EQ(tables.StationNames[1], "ZZZZ");
    EXPECT_EQ(tables.StationTips[1], "1: ZZZZ@100.1");
    EXPECT_EQ(tables.StationNames[2], "");  // not the previous folder's second station
}

TEST_F(Descriptions, AFolderWithoutTheRunCopyGetsNumberedStations) {
    ScratchFolder empty;
    ReadStationNames(tables, empty.path());
    EXPECT_EQ(tables.StationNames[0], "");
    EXPECT_EQ(tables.StationNames[1], "   1");
    EXPECT_EQ(tables.StationNames[1295], "1295");
    EXPECT_EQ(tables.StationTips[12], "12");
    EXPECT_EQ(DescribeFile("01_0C___.plt", tables), "B1:    1,   12");

    testing::writeBytes(empty / "Rfi.plt", "");
    ReadStationNames(tables, empty.path());
    EXPECT_EQ(tables.StationNames[1], "   1");
}

// The browser reads a run copy and first lines while it lists a folder: a
// special file in their place returns at once with placeholders or no tip.
TEST_F(Descriptions, SpecialFilesGiveNumberedStationsAndNoTip) {
    for (const auto& special : crv::test_files::specialFiles()) {
        SCOPED_TRACE(special.what);
        ScratchFolder run;
        if (!special.make(run.path() + "Rfi.plt") || !special.make(run.path() + "FmHor01.pat")) continue;
        ReadStationNames(tables, run.path());
        EXPECT_EQ(tables.StationNames[1], "   1");
        EXPECT_EQ(tables.StationTips[1295], "1295");
        EXPECT_EQ(FileToolTip(run.path(), "FmHor01.pat", tables), "");
    }
}

}  // namespace
}  // namespace crv::common
