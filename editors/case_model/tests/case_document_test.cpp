#include "crv/editors/case_document.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "crv/testing/files.h"
#include "special_files.h"

namespace fs = std::filesystem;
using crv::testing::readBytes;
using namespace crv::editors;
using crv::resources::Edition;

namespace {

const FieldDictionary& fld() {
    static const FieldDictionary d = FieldDictionary::forEdition(Edition::Field);
    return d;
}

// Status 64-65, pattern 57-58 (0: non-directional), frequency 10-16.
std::string rf(const std::string& call, const std::string& freq, const std::string& status,
               const std::string& pattern = " 0") {
    return " " + call + " " + freq + "  39 21 18   77 38 02  50.0000  1378 13 " + pattern + "  30 " + status +
           " LIC     0";
}

std::string caseText(const std::vector<std::string>& rows, const std::string& grid = " 1",
                     const std::string& navFreq = "108.100") {
    std::string t =
        "CRV Version 5.0.6\r\n ABC 275 " + navFreq + "  39 20 15   77 45 40   250  9000  15 38  0   0     0\r\n";
    for (const auto& r : rows) t += r + "\r\n";
    t += " $$$$\r\n " + grid + "  1  1  1  1  1     0   0 2000 500  0  0\r\n";
    t += " ABC-123         Somewhere                 01/02/03 30\r\n";
    return t;
}

class CaseDocumentTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() / ("crv_case_document_" + std::to_string(::getpid()) + "_" +
                                            ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir_);
        fs::create_directories(dir_);
    }
    void TearDown() override { fs::remove_all(dir_); }
    fs::path write(const std::string& name, const std::string& text) {
        crv::testing::writeBytes(dir_ / name, text);
        return dir_ / name;
    }
    // The checked mark sits at columns 70-71 of the navaid line.
    bool marked(const fs::path& p) { return readBytes(p).find(" \x7f\r\n") != std::string::npos; }
    fs::path dir_;
};

const LLDistFunction noBearing;

TEST_F(CaseDocumentTest, FailedOpenLeavesTheCaseAsItWas) {
    CaseDocument doc(fld());
    ASSERT_TRUE(doc.open(write("a.dat", caseText({rf("QKAA   ", "106.100", " 1")})).string(), noBearing));
    doc.table.commitCell(1, 1, "WXYZ   ");
    ASSERT_TRUE(doc.modified());
    const CaseData before = doc.caseData();

    std::string cut = caseText({rf("QKBB   ", " 99.100", " 0")});
    cut.resize(cut.find(" $$$$"));  // ends before the terminator
    auto r = doc.open(write("b.dat", cut).string(), noBearing);
    ASSERT_FALSE(r);
    EXPECT_NE(r.error().find("terminator"), std::string::npos) << r.error();
    const CaseData after = doc.caseData();
    EXPECT_EQ(after.rows, before.rows);
    EXPECT_EQ(after.navaidPage, before.navaidPage);
    EXPECT_TRUE(doc.modified());
}

// A folder, a FIFO, a device or a read error is said as what it is, naming
// the file, and the case shown stays.
TEST_F(CaseDocumentTest, UnreadableFilesAreNamedAndTheCaseStays) {
    CaseDocument doc(fld());
    ASSERT_TRUE(doc.open(write("a.dat", caseText({rf("QKAA   ", "106.100", " 1")})).string(), noBearing));
    const CaseData before = doc.caseData();
    for (const auto& special : crv::test_files::specialFiles()) {
        SCOPED_TRACE(special.what);
        const std::string path = (dir_ / "special.dat").string();
        crv::test_files::removeSpecial(path);
        if (!special.make(path)) continue;
        auto r = doc.open(path, noBearing);
        ASSERT_FALSE(r);
        EXPECT_EQ(r.error().rfind(special.verb + path, 0), 0u) << r.error();
        EXPECT_EQ(doc.caseData().rows, before.rows);
        EXPECT_FALSE(fs::exists(dir_ / "special_old.dat"));
    }
}

TEST_F(CaseDocumentTest, OpenSetsFlagsAndReportsReplacedCodes) {
    CaseDocument doc(fld());
    // Grid Type 12 and Proponent Status 5 are not offered by the field edition.
    auto r = doc.open(
        write("a.dat", caseText({rf("QKAA   ", "106.100", " 5"), rf("QKBB   ", " 99.100", " 1")}, "12")).string(),
        noBearing);
    ASSERT_TRUE(r) << r.error();
    ASSERT_EQ(r->size(), 2u);
    EXPECT_EQ((*r)[0], "Grid Type: 12");
    EXPECT_EQ((*r)[1], "row 1, Proponent Status: 5");
    EXPECT_EQ(doc.pages.gridType(), 1);
    EXPECT_FALSE(doc.modified());
    EXPECT_TRUE(doc.checkDue());
    EXPECT_EQ(doc.table.flags(1), RowProponent);  // sorted: 99.100 first
    EXPECT_EQ(doc.table.flags(2), 0);
}

TEST_F(CaseDocumentTest, AFileWithoutRowsShowsOneRowOfDefaults) {
    CaseDocument doc(fld());
    ASSERT_TRUE(doc.open(write("a.dat", caseText({})).string(), noBearing));
    ASSERT_EQ(doc.table.rowCount(), 1);
    EXPECT_EQ(doc.table.cell(1, 1), "XXXX   ");
    EXPECT_FALSE(doc.modified());
}

TEST_F(CaseDocumentTest, SaveChecksDecideTheMark) {
    struct Case {
        std::vector<std::string> rows;
        std::string grid;
        bool mark;
        const char* says;
    } cases[] = {
        {{rf("QKAA   ", "106.100", " 1")}, " 1", true, ""},
        {{rf("QKAA   ", "106.100", " 0")}, " 1", false, " No proponent selected. "},
        {{rf("QKAA   ", "106.100", " 1"), rf("QKBB   ", " 99.100", " 1")}, " 1", true, ""},
        {{rf("QKAA   ", "106.100", " 1"), rf("QKBB   ", " 99.100", " 1")},
         " 4",
         false,
         " Multiple proponents not allowed with vertical grid. "},
        // Pattern 3 names "FmHor03.pat", which was never created.
        {{rf("QKAA   ", "106.100", " 1", " 3")}, " 1", false, " Pattern file FmHor03.pat not found. "},
        // A proponent with an out-of-range ERP.
        {{" QKAA    106.100  39 21 18   77 38 02 600.0000  1378 13  0  30  1 LIC     0"},
         " 1",
         false,
         " Invalid RF source data. "},
        // A station on the navaid frequency is refused by the engine.
        {{rf("QKAA   ", "106.100", " 1"), rf("QKBB   ", "108.100", " 0")}, " 1", false, "navaid frequency"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.says);
        CaseDocument doc(fld());
        const fs::path p = write("c.dat", caseText(c.rows, c.grid));
        ASSERT_TRUE(doc.open(p.string(), noBearing));
        doc.table.commitCell(1, 1, "EDITED ");
        auto saved = doc.save(p.string());
        ASSERT_TRUE(saved) << saved.error();
        EXPECT_TRUE(saved->checkRan);
        EXPECT_EQ(saved->errorFree, c.mark);
        EXPECT_EQ(marked(p), c.mark);
        EXPECT_FALSE(doc.modified());
        const std::string message = saved->message("c.dat");
        if (c.mark) {
            EXPECT_EQ(message, "");
        } else {
            EXPECT_EQ(message.rfind(" Errors in c.dat: \r", 0), 0u) << message;
            EXPECT_NE(message.find(c.says), std::string::npos) << message;
        }
    }
}

// A field the running edition does not let the user edit never gets a range
// finding; when the engine cannot run with its value, the finding says what
// to do instead.
TEST_F(CaseDocumentTest, SaveFindingsNameOnlyWhatTheUserCanChange) {
    const FieldDictionary sci = FieldDictionary::forEdition(Edition::Scientific);
    const std::string outside = "Horizontal Increment: 0 is outside 100 to 9999.";
    const std::string cannot =
        "Horizontal Increment is 0 ft; a run with Grid Type 1 needs more than 0 ft. "
        "This edition cannot change it";
    struct Case {
        const char* name;
        const FieldDictionary* dict;
        std::string grid;
        bool mark;
        bool saysOutside, saysCannot;
    } cases[] = {
        {"field edition, grid using the increment", &fld(), " 1", false, false, true},
        {"field edition, external locations", &fld(), " 8", true, false, false},
        {"scientific edition: the field is editable", &sci, " 1", false, true, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::string text = caseText({rf("QKAA   ", "106.100", " 1")}, c.grid);
        const auto at = text.find(" 2000 500");
        ASSERT_NE(at, std::string::npos);
        text.replace(at, 5, "    0");
        CaseDocument doc(*c.dict);
        const fs::path p = write("inc.dat", text);
        ASSERT_TRUE(doc.open(p.string(), noBearing));
        auto saved = doc.save(p.string());
        ASSERT_TRUE(saved) << saved.error();
        const std::string message = saved->message("inc.dat");
        EXPECT_EQ(saved->errorFree, c.mark) << message;
        EXPECT_EQ(message.find(outside) != std::string::npos, c.saysOutside) << message;
        EXPECT_EQ(message.find(cannot) != std::string::npos, c.saysCannot) << message;
    }
}

// A station without an ERP forms no product, but the engine cannot read it:
// the check shows it red, the dummy values mend it, and then the save finds
// nothing to refuse.
TEST_F(CaseDocumentTest, WhatTheSaveRefusesTheCheckMarksAndTheDummyValuesMend) {
    std::string noErp = rf("QBAD2  ", " 95.000", " 0");
    noErp.replace(noErp.find("50.0000"), 7, " 0.0000");
    CaseDocument doc(fld());
    const fs::path p = write("erp.dat", caseText({rf("QKAA   ", "106.100", " 1"), noErp}));
    ASSERT_TRUE(doc.open(p.string(), noBearing));
    int bad = 0;
    for (int r = 1; r <= doc.table.rowCount(); ++r)
        if (doc.table.cell(r, 1) == "QBAD2  ") bad = r;
    ASSERT_NE(bad, 0);
    const CheckOutcome out = doc.CheckIntermods();
    EXPECT_FALSE(out.ok);
    EXPECT_TRUE(out.dummyOffered);
    EXPECT_EQ(doc.table.flags(bad) & (RowOutOfRange | RowTakesPart), RowOutOfRange | RowTakesPart);
    EXPECT_TRUE(doc.table.invalidRows());

    EXPECT_EQ(doc.table.AssignDummyValues(), 1);
    EXPECT_EQ(doc.table.cell(bad, doc.table.erpColumn()), "111.1111");
    auto saved = doc.save(p.string());
    ASSERT_TRUE(saved) << saved.error();
    EXPECT_TRUE(saved->errorFree) << saved->message("erp.dat");
}

TEST_F(CaseDocumentTest, FailedSaveKeepsTheModifiedFlag) {
    CaseDocument doc(fld());
    ASSERT_TRUE(doc.open(write("a.dat", caseText({rf("QKAA   ", "106.100", " 1")})).string(), noBearing));
    doc.table.commitCell(1, 1, "EDITED ");
    auto r = doc.save((dir_ / "missing" / "a.dat").string());
    EXPECT_FALSE(r);
    EXPECT_TRUE(doc.modified());

    // A grid altitude too wide for its columns is refused, never cut: field
    // elevation 99999 + 1000 must not be written as "10099".
    const int elevation = doc.pages.fieldNumber(2, "Field Elevation");
    const int grid = doc.pages.fieldNumber(4, "Grid Type");
    doc.pages.commitField(elevation, "99999");
    doc.pages.commitField(grid, "3");
    doc.pages.UpdateGridFields(std::nullopt);
    EXPECT_EQ(doc.pages.field(doc.pages.fieldNumber(4, "Grid Altitude")).text, "100999");
    const std::string before = readBytes(dir_ / "a.dat");
    r = doc.save((dir_ / "a.dat").string());
    ASSERT_FALSE(r);
    EXPECT_NE(r.error().find("Grid Altitude"), std::string::npos) << r.error();
    EXPECT_EQ(readBytes(dir_ / "a.dat"), before);
    EXPECT_TRUE(doc.modified());
}

TEST_F(CaseDocumentTest, GridAngleOfTheSingleProponentGridComesFromTheBearing) {
    CaseDocument doc(fld());
    float seen = -1;
    LLDistFunction lldist = [&](float, float, float, float, float* d, float* az) {
        *d = 5;
        *az = 179.5f;  // turned by 180: 359.5, which rounds to 360 and wraps to 0
        seen = *az;
    };
    ASSERT_TRUE(doc.open(write("a.dat", caseText({rf("QKAA   ", "106.100", " 1")}, " 4")).string(), lldist));
    EXPECT_EQ(seen, 179.5f);
    EXPECT_EQ(doc.pages.field(doc.pages.fieldNumber(4, "Grid Angle")).text, "  0");
}

}  // namespace
