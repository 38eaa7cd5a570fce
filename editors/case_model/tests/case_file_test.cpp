#include "crv/editors/case_file.h"
#include "crv/common/case_file_upgrade.h"
#include "crv/editors/case_document.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include "crv/testing/files.h"

namespace fs = std::filesystem;
using crv::editors::CaseData;
using crv::editors::FieldDictionary;
using crv::resources::Edition;
using crv::testing::readBytes;
using crv::testing::writeBytes;

namespace {

// One scratch folder per test with the sample workspace written into it.
class CaseFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() / ("crv_case_file_" + std::to_string(::getpid()) + "_" +
                                            ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir_);
        fs::create_directories(dir_);
        const std::string cmd = std::string(CRV_SAMPLE_EXE) + " '" + dir_.string() + "' >/dev/null 2>&1";
        ASSERT_EQ(std::system(cmd.c_str()), 0);
    }
    void TearDown() override { fs::remove_all(dir_); }
    std::vector<fs::path> samples() const {
        std::vector<fs::path> out;
        for (auto& e : fs::directory_iterator(dir_ / "Data"))
            if (e.path().extension() == ".dat") out.push_back(e.path());
        std::sort(out.begin(), out.end());
        return out;
    }
    fs::path dir_;
};

// A case line by line, as the engine reads it, built here column by column.
const std::string kCase =
    "CRV Version 5.0.6\r\n"
    " ABC 275 108.100  39 20 15   77 45 40   420  9000  15 38  0   0     0\r\n"
    " QKAA    106.100  39 21 18   77 38 02  50.0000  1378 13  1  30  0 LIC     0\r\n"
    " $$$$\r\n"
    "  1  1  1  1  1  1  1000   0 2000 500  0  0\r\n"
    " CASE            SITE                      03/14/24 30\r\n";

}  // namespace

// Reads a case, writes it with and without the mark, reads that back: the
// same values, and writing again gives the same bytes. Returns the first write.
std::string roundTrip(const fs::path& path, const fs::path& out, const FieldDictionary& dict) {
    auto data = crv::editors::LoadDataFile(path.string(), dict);
    EXPECT_TRUE(data) << data.error();
    if (!data) return {};
    std::string first;
    for (bool mark : {data->checkedMark, !data->checkedMark}) {
        EXPECT_TRUE(crv::editors::SaveDataFile(out.string(), *data, dict, mark));
        const std::string written = readBytes(out);
        if (first.empty()) first = written;
        auto again = crv::editors::LoadDataFile(out.string(), dict);
        EXPECT_TRUE(again) << again.error();
        if (!again) return {};
        EXPECT_EQ(again->checkedMark, mark);
        EXPECT_EQ(again->rows, data->rows);
        EXPECT_EQ(again->navaidPage, data->navaidPage);
        EXPECT_EQ(again->optionsPage, data->optionsPage);
        EXPECT_EQ(again->casePage, data->casePage);
        EXPECT_TRUE(crv::editors::SaveDataFile(out.string(), *again, dict, mark));
        EXPECT_EQ(readBytes(out), written);
    }
    return first;
}

TEST_F(CaseFileTest, SampleCasesRoundTripByteForByte) {
    const auto sci = FieldDictionary::forEdition(Edition::Scientific);
    const auto fld = FieldDictionary::forEdition(Edition::Field);
    for (const char* name : {"SampleILS.dat", "SampleVOR.dat", "SampleCOM.dat"}) {
        SCOPED_TRACE(name);
        const fs::path path = dir_ / "Data" / name;
        // The samples use scientific-edition options: that edition writes
        // them back byte for byte, the field edition keeps its own values stable.
        EXPECT_EQ(roundTrip(path, dir_ / "out.dat", sci), readBytes(path));
        roundTrip(path, dir_ / "out.dat", fld);
    }
}

TEST_F(CaseFileTest, ValueRunningPastItsColumnsIsRefusedNotMisread) {
    // A Vertical Increment of 1000 in its 3 columns: reading by columns would
    // take 100, reading by blanks would shift every later field.
    std::string text = kCase;
    text.replace(text.find(" 2000 500 "), 10, " 2000 1000");
    const fs::path path = dir_ / "wide.dat";
    writeBytes(path, text);
    auto data = crv::editors::LoadDataFile(path.string(), FieldDictionary::forEdition(Edition::Scientific));
    ASSERT_FALSE(data);
    EXPECT_NE(data.error().find("line 5"), std::string::npos) << data.error();
    EXPECT_NE(data.error().find("Vertical Increment"), std::string::npos) << data.error();
    EXPECT_EQ(readBytes(path), text);
}

TEST_F(CaseFileTest, WritesTheColumnsTheTrailerAndTheMark) {
    const auto dict = FieldDictionary::forEdition(Edition::Field);
    const fs::path p = dir_ / "c.dat";
    writeBytes(p, kCase);
    auto data = crv::editors::LoadDataFile(p.string(), dict);
    ASSERT_TRUE(data) << data.error();
    EXPECT_FALSE(data->checkedMark);
    ASSERT_TRUE(crv::editors::SaveDataFile(p.string(), *data, dict, true));
    const std::string bytes = readBytes(p);
    // The case lines come back as they were; the navaid line gains " " Chr(127)
    // at columns 70-71.
    std::string expected = kCase;
    expected.replace(expected.find("     0\r\n"), 8, "     0 \x7f\r\n");
    ASSERT_EQ(bytes.substr(0, expected.size()), expected);
    const std::string trailer = bytes.substr(expected.size());
    // Eight option-text lines: Array Type, Service Volume Type, then the six of
    // the options line; Service Volume Type 0 is " ILS, U.S. Standard".
    int count = 0;
    for (std::size_t at = 0; (at = trailer.find("\r\n", at)) != std::string::npos; at += 2) ++count;
    EXPECT_EQ(count, 8);
    EXPECT_NE(trailer.find("\r\n ILS, U.S. Standard\r\n"), std::string::npos);
    EXPECT_EQ(trailer.find('\n'), trailer.find("\r\n") + 1);
}

TEST_F(CaseFileTest, FileCutBeforeALineFailsNamingTheLineAndChangesNothing) {
    const auto dict = FieldDictionary::forEdition(Edition::Field);
    struct Cut {
        int keepLines;
        const char* says;
    };
    for (Cut c : {Cut{4, "options line"}, Cut{5, "case line"}, Cut{3, "terminator"}, Cut{1, "navaid"}}) {
        std::string text;
        std::istringstream in(kCase);
        std::string line;
        int n = 0;
        while (n < c.keepLines && std::getline(in, line)) {
            text += line + "\n";
            ++n;
        }
        const fs::path p = dir_ / "cut.dat";
        writeBytes(p, text);
        auto data = crv::editors::LoadDataFile(p.string(), dict);
        ASSERT_FALSE(data) << c.says;
        EXPECT_NE(data.error().find(c.says), std::string::npos) << data.error();
        EXPECT_EQ(readBytes(p), text);
        EXPECT_FALSE(fs::exists(dir_ / "cut_old.dat"));
    }
}

TEST_F(CaseFileTest, AFileThatIsNotACaseIsRefusedAndLeftAlone) {
    const auto dict = FieldDictionary::forEdition(Edition::Field);
    for (auto& e : fs::recursive_directory_iterator(dir_ / "db")) {
        if (!e.is_regular_file()) continue;
        SCOPED_TRACE(e.path().string());
        const std::string before = readBytes(e.path());
        auto data = crv::editors::LoadDataFile(e.path().string(), dict);
        EXPECT_FALSE(data);
        EXPECT_NE(data.error().find("not a case data file"), std::string::npos) << data.error();
        EXPECT_EQ(readBytes(e.path()), before);
        EXPECT_FALSE(fs::exists(crv::common::backupName(e.path().string())));
    }
}

TEST_F(CaseFileTest, BadNumberIsRefusedWithItsLine) {
    const auto dict = FieldDictionary::forEdition(Edition::Field);
    std::string text = kCase;
    text.replace(text.find("1378"), 4, "13x8");
    const fs::path p = dir_ / "bad.dat";
    writeBytes(p, text);
    auto data = crv::editors::LoadDataFile(p.string(), dict);
    ASSERT_FALSE(data);
    EXPECT_NE(data.error().find("line 3"), std::string::npos) << data.error();
}

TEST_F(CaseFileTest, TextThatWouldBreakTheLayoutNeverReachesTheFile) {
    const auto dict = FieldDictionary::forEdition(Edition::Field);
    const fs::path p = dir_ / "c.dat";
    writeBytes(p, kCase);
    auto data = crv::editors::LoadDataFile(p.string(), dict);
    ASSERT_TRUE(data);
    const std::string before = readBytes(p);

    // A number wider than its field is refused, never cut.
    CaseData wide = *data;
    wide.navaidPage[5] = "123456";
    auto r = crv::editors::SaveDataFile(p.string(), wide, dict, true);
    EXPECT_FALSE(r);
    EXPECT_NE(r.error().find("Field Elevation"), std::string::npos) << r.error();
    EXPECT_EQ(readBytes(p), before);

    CaseData dollars = *data;
    dollars.rows[0][0] = "$$$$X  ";
    EXPECT_FALSE(crv::editors::SaveDataFile(p.string(), dollars, dict, true));
    EXPECT_EQ(readBytes(p), before);

    // Control characters become blanks; a long text is cut to its width.
    CaseData texts = *data;
    texts.casePage[0] = "A\tB\rC";
    texts.casePage[1] = std::string(40, 'S');
    ASSERT_TRUE(crv::editors::SaveDataFile(p.string(), texts, dict, false));
    EXPECT_NE(readBytes(p).find("\r\n A B C" + std::string(10, ' ') + " " + std::string(25, 'S') + " 03/14/24 30\r\n"),
              std::string::npos);
}

TEST_F(CaseFileTest, FailedSaveIsReportedAndKeepsTheFileAndItsPermissions) {
    const auto dict = FieldDictionary::forEdition(Edition::Field);
    const fs::path p = dir_ / "c.dat";
    writeBytes(p, kCase);
    ::chmod(p.c_str(), 0640);
    auto data = crv::editors::LoadDataFile(p.string(), dict);
    ASSERT_TRUE(data);
    ASSERT_TRUE(crv::editors::SaveDataFile(p.string(), *data, dict, true));
    struct stat st {};
    ASSERT_EQ(::stat(p.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0640u);

    // No folder to write the temporary file in: reported, never success.
    auto r = crv::editors::SaveDataFile((dir_ / "missing" / "c.dat").string(), *data, dict, true);
    EXPECT_FALSE(r);
    EXPECT_FALSE(r.error().empty());
}

TEST_F(CaseFileTest, ListCodeOutsideTheEditionTakesTheDefaultAndIsReported) {
    const auto dict = FieldDictionary::forEdition(Edition::Field);
    std::string text = kCase;
    // Grid Type 12 exists only in the scientific edition.
    text.replace(text.find("\r\n  1  1  1") + 2, 3, " 12");
    const fs::path p = dir_ / "sci.dat";
    writeBytes(p, text);
    auto data = crv::editors::LoadDataFile(p.string(), dict);
    ASSERT_TRUE(data) << data.error();
    ASSERT_EQ(data->replacedCodes.size(), 1u);
    EXPECT_NE(data->replacedCodes[0].find("12"), std::string::npos);
    auto sci = crv::editors::LoadDataFile(p.string(), FieldDictionary::forEdition(Edition::Scientific));
    ASSERT_TRUE(sci);
    EXPECT_TRUE(sci->replacedCodes.empty());
    EXPECT_EQ(sci->optionsPage[0], "12");
}

TEST_F(CaseFileTest, EngineReadsACaseWrittenByTheModel) {
    const auto dict = FieldDictionary::forEdition(Edition::Field);
    for (const char* name : {"SampleILS.dat", "SampleVOR.dat", "SampleCOM.dat"}) {
        SCOPED_TRACE(name);
        auto data = crv::editors::LoadDataFile((dir_ / "Data" / name).string(), dict);
        ASSERT_TRUE(data);
        const fs::path run = dir_ / "run";
        fs::create_directories(run);
        ASSERT_TRUE(crv::editors::SaveDataFile((run / "Rfi.plt").string(), *data, dict, true));
        const fs::path log = dir_ / "readcase.txt";
        const std::string cmd =
            "cd '" + dir_.string() + "' && " + CRV50_EXE + " readcase run >'" + log.string() + "' 2>&1";
        EXPECT_EQ(std::system(cmd.c_str()), 0) << readBytes(log);
        EXPECT_NE(readBytes(log).find("navaid.identifier="), std::string::npos);
    }
}

TEST_F(CaseFileTest, PositionsNearTheEquatorKeepTheirSignAndVersionLineEndsAreTolerated) {
    const auto dict = FieldDictionary::forEdition(Edition::Field);
    std::string text = kCase;
    // A version line with a trailing blank, a south latitude and an east
    // longitude of less than one degree, written as the engine reads them.
    text.replace(0, 17, "CRV Version 5.0.6 ");
    text.replace(text.find(" 39 20 15"), 9, " -0 20 15");
    text.replace(text.find("   77 45 40"), 11, "   -0 45 40");
    const fs::path p = dir_ / "neg.dat";
    writeBytes(p, text);
    auto data = crv::editors::LoadDataFile(p.string(), dict);
    ASSERT_TRUE(data) << data.error();
    ASSERT_TRUE(crv::editors::SaveDataFile(p.string(), *data, dict, false));
    const std::string bytes = readBytes(p);
    EXPECT_EQ(bytes.substr(0, 19), "CRV Version 5.0.6\r\n");
    EXPECT_NE(bytes.find(" ABC 275 108.100  -0 20 15   -0 45 40   420"), std::string::npos) << bytes;
}

TEST_F(CaseFileTest, OldLayoutsAreUpgradedAndReadKeepingAnExistingBackup) {
    const auto dict = FieldDictionary::forEdition(Edition::Scientific);
    for (const char* name : {"upgrade_oldest", "upgrade_v0", "upgrade_v0b", "upgrade_v1"}) {
        SCOPED_TRACE(name);
        const std::string original = readBytes(std::string(CRV_UPGRADE_DATA) + name + ".dat");
        const fs::path p = dir_ / "old.dat";
        writeBytes(p, original);
        writeBytes(dir_ / "old_old.dat", "an earlier backup");
        auto data = crv::editors::LoadDataFile(p.string(), dict);
        ASSERT_TRUE(data) << data.error();
        EXPECT_EQ(readBytes(p), readBytes(std::string(CRV_UPGRADE_DATA) + name + "_expected.dat"));
        EXPECT_EQ(readBytes(dir_ / "old_old.dat"), "an earlier backup");
        EXPECT_EQ(readBytes(dir_ / "old_old2.dat"), original);
        fs::remove(dir_ / "old_old2.dat");
    }
}

TEST_F(CaseFileTest, EngineRunOnAModelWrittenCaseGivesTheSampleReport) {
    const auto dict = FieldDictionary::forEdition(Edition::Scientific);
    for (const char* name : {"SampleILS.dat", "SampleVOR.dat", "SampleCOM.dat"}) {
        SCOPED_TRACE(name);
        const fs::path sample = dir_ / "Data" / name;
        auto data = crv::editors::LoadDataFile(sample.string(), dict);
        ASSERT_TRUE(data) << data.error();
        fs::remove_all(dir_ / "orig");
        fs::remove_all(dir_ / "model");
        fs::create_directories(dir_ / "orig");
        fs::create_directories(dir_ / "model");
        fs::copy_file(sample, dir_ / "orig" / "Rfi.plt");
        ASSERT_TRUE(crv::editors::SaveDataFile((dir_ / "model" / "Rfi.plt").string(), *data, dict, true));
        for (const char* run : {"orig", "model"}) {
            const std::string cmd =
                "cd '" + dir_.string() + "' && " + CRV50_EXE + " --quiet run " + run + " >/dev/null 2>&1";
            ASSERT_EQ(std::system(cmd.c_str()), 0) << run;
        }
        const std::string report = readBytes(dir_ / "orig" / "Rfi.txt");
        EXPECT_FALSE(report.empty());
        EXPECT_EQ(readBytes(dir_ / "model" / "Rfi.txt"), report);
    }
}

TEST_F(CaseFileTest, SampleCasesPassTheSaveChecksInBothEditions) {
    // The samples carry the checked mark: the editor's checks must agree.
    for (Edition edition : {Edition::Field, Edition::Scientific}) {
        const auto dict = FieldDictionary::forEdition(edition);
        for (const char* name : {"SampleILS.dat", "SampleVOR.dat", "SampleCOM.dat"}) {
            SCOPED_TRACE(name);
            crv::editors::CaseDocument doc(dict);
            const std::string user = (dir_ / "User").string();
            doc.table.setPatternFiles(crv::editors::ScanHorizontalPatterns(user),
                                      crv::editors::ScanVerticalPatterns(user));
            auto opened = doc.open((dir_ / "Data" / name).string(), {});
            ASSERT_TRUE(opened) << opened.error();
            const auto findings = doc.saveChecks();
            EXPECT_TRUE(findings.errorFree) << findings.message(name);
        }
    }
}
