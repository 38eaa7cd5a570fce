#include "crv/editors/rf_table.h"
#include "crv/editors/case_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include "crv/testing/files.h"

namespace fs = std::filesystem;
using namespace crv::editors;
using crv::resources::Edition;

namespace {

const std::string deg = "\xB0";

FieldDictionary fld() { return FieldDictionary::forEdition(Edition::Field); }

// One RF-source line, columns laid out by hand as the engine reads them.
std::string rfLine(const std::string& call, const std::string& freq, const std::string& erp, const std::string& elev,
                   const std::string& status, const std::string& lic = "LIC", const std::string& mask = "    0") {
    return " " + call + " " + freq + "  39 21 18   77 38 02 " + erp + " " + elev + " 13  1  30 " + status + " " + lic +
           " " + mask;
}

std::vector<std::vector<std::string>> pieces(const std::vector<std::string>& rfLines) {
    std::vector<std::string> lines{"CRV Version 5.0.6",
                                   " ABC 275 108.100  39 20 15   77 45 40   420  9000  15 38  0   0     0"};
    lines.insert(lines.end(), rfLines.begin(), rfLines.end());
    lines.push_back(" $$$$");
    lines.push_back("  1  2  1  1  1  1     0   0    0   0  0  0");
    lines.push_back(" ABC-123         Somewhere                 01/02/03 30");
    auto d = ReadCaseLines(lines, fld());
    EXPECT_TRUE(d) << (d ? "" : d.error());
    return d ? d->rows : std::vector<std::vector<std::string>>{};
}

TEST(RfTable, ColumnsComeFromTheDictionary) {
    for (Edition e : {Edition::Field, Edition::Scientific}) {
        RfTable t(FieldDictionary::forEdition(e));
        EXPECT_EQ(t.columnCount(), 12);
        EXPECT_EQ(t.dataColumnCount(), 11);
        EXPECT_EQ(t.latitudeColumn(), 3);
        EXPECT_EQ(t.longitudeColumn(), 4);
        EXPECT_EQ(t.erpColumn(), 5);
        EXPECT_EQ(t.proponentColumn(), 10);
        EXPECT_TRUE(t.column(12).hidden());
        EXPECT_TRUE(t.column(11).readOnly());
        EXPECT_EQ(t.column(10).options.size(), 3u);
    }
}

TEST(RfTable, LoadedRowsShowCellsFlagsAndRanges) {
    RfTable t(fld());
    std::vector<std::string> replaced;
    t.loadRows(pieces({rfLine("QKAA   ", "106.100", " 50.0000", " 1378", " 1"),
                       rfLine("QKBB   ", " 98.500", "600.0000", " 1378", " 2"),
                       rfLine("QKCC   ", " 99.100", " 50.0000", "    0", " 7")}),
               &replaced);
    ASSERT_EQ(t.rowCount(), 3);
    // Sorted by frequency text: " 98.500" < " 99.100" < "106.100".
    EXPECT_EQ(t.cell(1, 1), "QKBB   ");
    EXPECT_EQ(t.cell(1, 2), " 98.500");
    EXPECT_EQ(t.cell(1, 3), "N 39" + deg + " 21' 18\"");
    EXPECT_EQ(t.cell(1, 4), "W 077" + deg + " 38' 02\"");
    EXPECT_EQ(t.cell(1, 5), "600.0000");
    EXPECT_EQ(t.cell(1, 7), "13");
    EXPECT_EQ(t.cell(1, 10), "I");
    EXPECT_EQ(t.cell(1, 12), "    0");
    EXPECT_EQ(t.flags(1), RowIgnored | RowOutOfRange);  // ERP above 500
    EXPECT_EQ(t.cell(2, 1), "QKCC   ");
    EXPECT_EQ(t.cell(2, 10), "N");         // status 7 is no option: default
    EXPECT_EQ(t.flags(2), RowOutOfRange);  // elevation 0 below 1
    EXPECT_EQ(t.flags(3), RowProponent);
    ASSERT_EQ(replaced.size(), 1u);
    EXPECT_EQ(replaced[0], "row 3, Proponent Status: 7");
    EXPECT_FALSE(t.modified);
}

TEST(RfTable, RowsGoBackToTheSameFileLines) {
    const std::vector<std::string> rf{rfLine("QKAA   ", " 98.500", " 50.0000", " 1378", " 1"),
                                      rfLine("QKBB   ", "106.100", "  0.0001", "99999", " 2", "   ", "   18"),
                                      rfLine("QKCC   ", "107.900", "500.0000", "    1", " 0", "APP")};
    RfTable t(fld());
    t.loadRows(pieces(rf));
    CaseData d;
    d.rows = t.rowPieces();
    auto lines = WritePage(3, d, fld(), false);
    ASSERT_TRUE(lines) << lines.error();
    std::vector<std::string> expected = rf;
    expected.push_back(" $$$$");
    EXPECT_EQ(*lines, expected);
}

TEST(RfTable, DefaultRowAndInsertPosition) {
    RfTable t(fld());
    t.loadRows(pieces({rfLine("QKAA   ", " 98.500", " 50.0000", " 1378", " 1")}));
    t.InsertDefaultRow(1);
    t.InsertDefaultRow(t.rowCount() + 1);
    ASSERT_EQ(t.rowCount(), 3);
    const std::vector<std::string> expected{"XXXX   ",
                                            "111.111",
                                            "N 00" + deg + " 00' 00\"",
                                            "W 000" + deg + " 00' 00\"",
                                            "111.1111",
                                            " 1111",
                                            "0",
                                            "0",
                                            "  0",
                                            "N",
                                            "   ",
                                            "    0"};
    for (int row : {1, 3}) {
        for (int c = 1; c <= 12; ++c) EXPECT_EQ(t.cell(row, c), expected[c - 1]) << row << "," << c;
        EXPECT_EQ(t.flags(row), 0);
    }
    EXPECT_EQ(t.cell(2, 1), "QKAA   ");
    EXPECT_TRUE(t.modified);
    EXPECT_TRUE(t.checkDue);
}

TEST(RfTable, ProponentStatusSetsFlags) {
    struct Case {
        std::int32_t before;
        const char* status;
        std::int32_t after;
        const char* cell;
    } cases[] = {
        {RowIgnored | RowTagged, "P", RowProponent | RowTakesPart | RowTagged, "P"},
        {RowProponent | RowTakesPart | RowOutOfRange, "I", RowIgnored | RowOutOfRange, "I"},
        {RowProponent | RowIgnored, "N", RowTakesPart, "N"},
        {0, "X", RowTakesPart, "N"},  // any other text acts as "N"
    };
    for (const auto& c : cases) {
        RfTable t(fld());
        t.InsertDefaultRow(1);
        t.setFlags(1, c.before);
        t.SetPropStatus(1, c.status);
        EXPECT_EQ(t.flags(1), c.after) << c.status;
        EXPECT_EQ(t.cell(1, 10), c.cell);
    }
}

TEST(RfTable, ToggleCaptionAndHeaders) {
    RfTable t(fld());
    EXPECT_EQ(t.UpdateToggleCaption(), "&All Proponent -> Non-Proponent");  // empty table
    t.InsertDefaultRow(1);
    t.InsertDefaultRow(1);
    EXPECT_EQ(t.UpdateToggleCaption(), "&All Non-Proponent -> Proponent");
    t.SetPropStatus(1, "P");
    t.SetPropStatus(2, "I");
    EXPECT_EQ(t.UpdateToggleCaption(), "&All Proponent -> Non-Proponent");
    t.toggleTag(2);
    EXPECT_EQ(t.SetRowHeader(1), "   1");
    EXPECT_EQ(t.SetRowHeader(2), "x    2");
    t.toggleTag(2);
    EXPECT_EQ(t.SetRowHeader(2), "   2");
    // Dragging over the row headers tags the range and untags nothing.
    t.InsertDefaultRow(1);
    t.InsertDefaultRow(1);
    t.setTagged(3, true);
    t.tagRange(4, 2);
    EXPECT_FALSE(t.tagged(1));
    for (int r = 2; r <= 4; ++r) EXPECT_TRUE(t.tagged(r)) << r;
}

TEST(RfTable, CommitComparesWithTheValueTheEditorOpenedOn) {
    RfTable t(fld());
    t.InsertDefaultRow(1);
    t.modified = t.checkDue = false;
    // The edit line copies every keystroke into the cell before the commit.
    t.setCellText(1, 2, " 98.5");
    EXPECT_FALSE(t.modified);
    const CommitOutcome out = t.commitCell(1, 2, " 98.500", std::string("111.111"));
    EXPECT_TRUE(out.changed);
    EXPECT_TRUE(out.checkDue);
    EXPECT_TRUE(t.modified);
    EXPECT_EQ(t.cell(1, 2), " 98.500");
    // Typed and typed back: unchanged.
    t.modified = false;
    t.setCellText(1, 2, " 9");
    EXPECT_FALSE(t.commitCell(1, 2, " 98.500", std::string(" 98.500")).changed);
    EXPECT_FALSE(t.modified);
}

TEST(RfTable, SortIsStableWithLicenceDescendingOnTies) {
    RfTable t(fld());
    // Equal in frequency, position, ERP and elevation: licence descending;
    // equal in licence too: the order they came in.
    t.loadRows(pieces({rfLine("FIRST  ", " 98.500", " 50.0000", " 1378", " 0", "AAA"),
                       rfLine("SECOND ", " 98.500", " 50.0000", " 1378", " 0", "AAA"),
                       rfLine("ZLIC   ", " 98.500", " 50.0000", " 1378", " 0", "ZZZ"),
                       rfLine("LOWERP ", " 98.500", " 40.0000", " 1378", " 0", "AAA"),
                       rfLine("HIGHF  ", "101.100", " 10.0000", " 1378", " 0", "ZZZ")}));
    t.toggleTag(2);  // ZLIC
    const char* order[] = {"LOWERP ", "ZLIC   ", "FIRST  ", "SECOND ", "HIGHF  "};
    for (int r = 1; r <= 5; ++r) EXPECT_EQ(t.cell(r, 1), order[r - 1]);
    t.InsertDefaultRow(1);  // 111.111 sorts last
    t.SortRFSources();
    EXPECT_EQ(t.cell(6, 1), "XXXX   ");
    EXPECT_TRUE(t.tagged(2));  // the tag travels with its row
    EXPECT_EQ(t.cell(2, 1), "ZLIC   ");
    EXPECT_FALSE(t.tagged(1));
}

TEST(RfTable, RangeCheckBoundaries) {
    struct Case {
        int column;
        const char* text;
        bool out;
    } cases[] = {
        {2, " 50.000", false},
        {2, " 49.999", true},
        {2, "950.000", false},
        {2, "950.001", true},
        {5, "  0.0001", false},
        {5, "  0.0000", true},
        {5, "500.0000", false},
        {5, "500.0001", true},
        {6, "99999", false},
        {6, "100000", true},
        {6, "    0", true},
        {9, "359", false},
        {9, "360", true},
        {9, " -1", true},
        {3, "S 95\xB0 00' 00\"", false},  // positions are not range-checked here
    };
    for (const auto& c : cases) {
        RfTable t(fld());
        t.InsertDefaultRow(1);
        t.commitCell(1, c.column, c.text);
        EXPECT_EQ((t.flags(1) & RowOutOfRange) != 0, c.out) << c.column << " " << c.text;
    }
}

TEST(RfTable, CommitClearsTheDummyBitAndMarksChanges) {
    RfTable t(fld());
    t.InsertDefaultRow(1);
    t.commitCell(1, 12, "   38");  // bits of columns 2, 3 and 6
    t.modified = t.checkDue = false;

    auto out = t.commitCell(1, 2, "111.111");  // unchanged: still confirms the value
    EXPECT_FALSE(out.changed);
    EXPECT_EQ(t.dummyMask(1), 36);
    EXPECT_EQ(t.cell(1, 12), "   36");
    EXPECT_FALSE(t.modified);

    out = t.commitCell(1, 1, "WABC   ");  // call letters: modified, no check
    EXPECT_TRUE(out.changed && !out.checkDue);
    EXPECT_TRUE(t.modified);
    EXPECT_FALSE(t.checkDue);

    out = t.commitCell(1, 6, " 2000");
    EXPECT_EQ(t.dummyMask(1), 4);
    EXPECT_FALSE(t.checkDue);
    out = t.commitCell(1, 2, " 98.500");  // frequency: check due
    EXPECT_TRUE(out.checkDue && t.checkDue);

    t.checkDue = false;
    out = t.commitCell(1, 10, "P");
    EXPECT_TRUE(out.checkDue && t.checkDue);
    EXPECT_EQ(t.flags(1), RowProponent | RowTakesPart);
}

TEST(RfTable, MaskIsClampedAndReadAsInt) {
    RfTable t(fld());
    t.InsertDefaultRow(1);
    struct Case {
        const char* text;
        int mask;
    } cases[] = {{"    0", 0}, {"65535", 65535}, {"70000", 65535}, {"   -3", 0}, {"  abc", 0}, {" 2048", 2048}};
    for (const auto& c : cases) {
        t.commitCell(1, 12, c.text);
        EXPECT_EQ(t.dummyMask(1), c.mask) << c.text;
    }
}

TEST(RfTable, Colours) {
    RfTable t(fld());
    t.InsertDefaultRow(1);
    t.commitCell(1, 12, "    2");  // frequency cell holds a dummy value
    struct Case {
        std::int32_t flags;
        int column;
        CellColors colors;
    } cases[] = {
        {0, 2, {kDummyBackground, kNormalColor}},
        {0, 1, {}},
        {RowOutOfRange, 2, {kDummyBackground, kNormalColor}},
        {RowOutOfRange | RowTakesPart, 2, {kInvalidBackground, kInvalidText}},
        {RowOutOfRange | RowTakesPart, 1, {kInvalidBackground, kInvalidText}},
        {RowIgnored | RowOutOfRange | RowTakesPart, 2, {kIgnoredBackground, kIgnoredText}},
    };
    for (const auto& c : cases) {
        t.setFlags(1, c.flags);
        const CellColors got = t.ColorRow(1, c.column);
        EXPECT_EQ(got.background, c.colors.background) << c.flags << " " << c.column;
        EXPECT_EQ(got.text, c.colors.text) << c.flags << " " << c.column;
    }
    EXPECT_EQ(kInvalidBackground, 0xFF0000u);
}

TEST(RfTable, CheckAndDummyValues) {
    RfTable t(fld());
    // Navaid 109.90, proponent 98.50, station 87.10: 2 x 98.50 - 87.10 = 109.90.
    t.loadRows(pieces({rfLine("PROP   ", " 98.500", " 50.0000", " 1378", " 1"),
                       rfLine("IMOD   ", " 87.100", "600.0000", "    0", " 0"),
                       rfLine("FAR    ", " 90.000", "600.0000", " 1378", " 0")}));
    t.checkDue = true;
    CheckOutcome out = t.CheckIntermods("109.900", 2);
    EXPECT_FALSE(out.ok);
    EXPECT_TRUE(out.dummyOffered);
    EXPECT_FALSE(t.checkDue);
    // Rows sorted: IMOD (87.1), FAR (90.0), PROP (98.5).
    EXPECT_EQ(t.flags(1), RowOutOfRange | RowTakesPart);
    EXPECT_EQ(t.flags(2), RowOutOfRange);
    EXPECT_EQ(t.flags(3), RowProponent | RowTakesPart);

    EXPECT_EQ(t.AssignDummyValues(), 2);
    EXPECT_EQ(t.cell(1, 5), "111.1111");
    EXPECT_EQ(t.cell(1, 6), " 1111");
    EXPECT_EQ(t.cell(1, 2), " 87.100");
    EXPECT_EQ(t.dummyMask(1), (1 << 4) | (1 << 5));
    EXPECT_EQ(t.flags(1), RowTakesPart);
    EXPECT_EQ(t.cell(2, 5), "600.0000");  // takes no part: left as it is
    EXPECT_FALSE(t.checkDue);             // no frequency replaced
    EXPECT_TRUE(t.CheckIntermods("109.900", 2).ok);
}

TEST(RfTable, ADummyFrequencyMakesTheCheckDueAgain) {
    RfTable t(fld());
    t.loadRows(pieces({rfLine("PROP   ", "999.000", " 50.0000", " 1378", " 1")}));
    EXPECT_FALSE(t.CheckIntermods("109.900", 1).ok);
    EXPECT_EQ(t.AssignDummyValues(), 1);
    EXPECT_EQ(t.cell(1, 2), "111.111");
    EXPECT_EQ(t.dummyMask(1), 2);
    EXPECT_TRUE(t.checkDue);
}

TEST(RfTable, BearingToTheFirstProponent) {
    RfTable t(fld());
    t.loadRows(pieces({rfLine("AAA    ", " 98.500", " 50.0000", " 1378", " 0"),
                       rfLine("PROP   ", " 99.500", " 50.0000", " 1378", " 1")}));
    float seen[4] = {};
    auto lldist = [&](float a, float b, float c, float d, float* dist, float* az) {
        seen[0] = a, seen[1] = b, seen[2] = c, seen[3] = d;
        *dist = 1;
        *az = 123.5f;
    };
    auto bearing = t.ProponentBearing(39.25f, 77.5f, lldist);
    ASSERT_TRUE(bearing);
    EXPECT_FLOAT_EQ(*bearing, 123.5f);
    EXPECT_FLOAT_EQ(seen[0], 39.25f);
    EXPECT_FLOAT_EQ(seen[1], 77.5f);
    EXPECT_NEAR(seen[2], 39 + 21 / 60.0 + 18 / 3600.0, 1e-5);
    EXPECT_NEAR(seen[3], 77 + 38 / 60.0 + 2 / 3600.0, 1e-5);
    t.SetPropStatus(2, "N");
    EXPECT_FALSE(t.ProponentBearing(0, 0, lldist));
}

class PatternFilesTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() / ("crv_patterns_" + std::to_string(::getpid()));
        fs::remove_all(dir_);
        fs::create_directories(dir_);
    }
    void TearDown() override { fs::remove_all(dir_); }
    void write(const std::string& name, const std::string& text) { crv::testing::writeBytes(dir_ / name, text); }
    fs::path dir_;
};

TEST_F(PatternFilesTest, OptionsFlagsAndUnreadableFiles) {
    write("FmHor01.pat", "Tower array, more\r\n1 0 0\r\n");
    write("FmHor02.pat", "\r\n");
    write("FmHor04.pat", "\"Quoted, with comma\"\r\n");
    // A description that merely says so is still a pattern that exists.
    write("FmHor05.pat", "Not Created\r\n");
    fs::create_directories(dir_ / "FmHor03.pat");  // cannot be read as a file
    write("FmVrt2.pat", "Vertical two\n");

    const auto hor = ScanHorizontalPatterns(dir_.string());
    const auto vrt = ScanVerticalPatterns(dir_.string());
    ASSERT_EQ(hor.size(), 25u);
    ASSERT_EQ(vrt.size(), 6u);
    EXPECT_EQ(patternListName(hor[0]), "FmHor01 -- Tower array");
    EXPECT_EQ(patternListName(hor[1]), "FmHor02");
    EXPECT_EQ(patternListName(hor[2]), "FmHor03 -- (unreadable)");
    EXPECT_EQ(patternListName(hor[3]), "FmHor04 -- Quoted, with comma");
    EXPECT_EQ(patternListName(hor[24]), "FmHor25 -- Not Created");
    EXPECT_EQ(patternListName(vrt[1]), "FmVrt2 -- Vertical two");

    RfTable t(fld());
    t.setPatternFiles(hor, vrt);
    const RfColumn& pat = t.column(8);
    ASSERT_EQ(pat.options.size(), 26u);
    EXPECT_EQ(pat.options[0], "0: Non-Directional");
    EXPECT_EQ(pat.options[1], "1:  FmHor01 -- Tower array");
    EXPECT_EQ(pat.options[25], "25:  FmHor25 -- Not Created");
    EXPECT_FLOAT_EQ(pat.record.maximum, 25);
    EXPECT_FALSE(pat.notCreated[5]);  // the "Not Created" description
    EXPECT_FALSE(pat.notCreated[3]);  // unreadable is not missing
    EXPECT_TRUE(pat.notCreated[6]);
    const RfColumn& el = t.column(7);
    ASSERT_EQ(el.options.size(), 64u);
    EXPECT_EQ(el.options[58], "58:  FmVrt1 -- Not Created");
    EXPECT_EQ(el.options[59], "59:  FmVrt2 -- Vertical two");
    EXPECT_FLOAT_EQ(el.record.maximum, 63);
    t.setPatternFiles(hor, vrt);  // a second scan replaces, never adds
    EXPECT_EQ(t.column(8).options.size(), 26u);

    t.InsertDefaultRow(1);
    EXPECT_EQ(t.missingPattern(), "");
    t.commitCell(1, 8, "5");
    EXPECT_EQ(t.missingPattern(), "");
    t.commitCell(1, 7, "58");
    t.commitCell(1, 8, "7");
    EXPECT_EQ(t.missingPattern(), "FmHor07");  // the last one met wins
    t.commitCell(1, 8, "1");
    EXPECT_EQ(t.missingPattern(), "FmVrt1");
}

TEST_F(PatternFilesTest, PatternCodesAboveTheDictionaryLoadOnceFilesAreKnown) {
    RfTable t(fld());
    t.setPatternFiles(ScanHorizontalPatterns(dir_.string()), ScanVerticalPatterns(dir_.string()));
    std::vector<std::string> replaced;
    t.loadRows(pieces({rfLine("QKAA   ", " 98.500", " 50.0000", " 1378", " 1")}), &replaced);
    EXPECT_TRUE(replaced.empty());
    EXPECT_EQ(t.cell(1, 8), "1");  // rfLine uses pattern 1
}

}  // namespace
