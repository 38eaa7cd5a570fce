// The sample workspace generator against the engine's search: the databases
// it writes must be framed and sorted as the search expects, and the COM
// facility at 38N 77W on 118.000 MHz must come out as "DW0".
#include <gtest/gtest.h>

#include <unistd.h>
#include "crv/platform/temp_folder.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "crv/platform/settings_store.h"
#include "crv/testing/files.h"
#include "crv50.h"
#include "test_support.h"

namespace fs = std::filesystem;
using crv::testing::readBytes;

namespace {

TEST(SampleWorkspace, DatabasesAreSearchableAndDeterministic) {
    const fs::path dir = fs::temp_directory_path() / ("crv-sample-" + std::to_string(::getpid()));
    fs::remove_all(dir);
    fs::create_directories(dir / "tmp");
    fs::permissions(dir / "tmp", fs::perms::owner_all, fs::perm_options::replace);
    const std::string generator = std::string(CRV_BIN_DIR) + "crv_sample";
    ASSERT_EQ(std::system((generator + " " + (dir / "a").string() + " >/dev/null").c_str()), 0);
    ASSERT_EQ(std::system((generator + " " + (dir / "b").string() + " >/dev/null").c_str()), 0);
    for (const char* f : {"db/FMALL.dat", "db/FMSHORT.dat", "db/A108M118.dat", "db/G118M136.dat", "Data/SampleILS.dat",
                          "User/LocHor.pat", "User/Receiver.cal"})
        EXPECT_EQ(readBytes(dir / "a" / f), readBytes(dir / "b" / f)) << f;
    EXPECT_EQ(fs::file_size(dir / "a/db/FMALL.dat") % 111, 0u);
    EXPECT_EQ(fs::file_size(dir / "a/db/FMALL.dat") / 111, 300u);
    EXPECT_EQ(fs::file_size(dir / "a/db/FMSHORT.dat") % 105, 0u);

    const crv::test::ScopedEnv tmp("TMPDIR", (dir / "tmp").string());
    const crv::test::ScopedEnv settings("CORVANE_SETTINGS", (dir / "settings.ini").string());
    crv::platform::SettingsStore store;
    ASSERT_TRUE(store.setMany("Paths", {{"FCC Database", (dir / "a/db/FMALL.dat").string()},
                                        {"QVA Database", (dir / "a/db/A108M118.dat").string()},
                                        {"COM Database", (dir / "a/db/G118M136.dat").string()}}));
    const fs::path results = fs::path(crv::platform::privateTempFolder().value()) / "RfiSrch1.tmp";

    CrvSearchParams p{1, 38.0f, 77.0f, 0, 0, 0, 0, 1.0f, 0};
    int16_t status = -1, count = -1;
    SearchDB(CRV_DB_COM, &p, nullptr, &status, &count);
    ASSERT_EQ(status, 0);
    ASSERT_EQ(count, 1);
    EXPECT_EQ(readBytes(results).substr(0, 17), " DW0   0 118.000 ");

    // The whole region, every database: everything but the deleted FM
    // licences and the navaid of unknown service volume is found.
    const std::string fm = readBytes(dir / "a/db/FMALL.dat");
    int deleted = 0;
    for (std::size_t r = 0; r + 111 <= fm.size(); r += 111) deleted += fm.compare(r + 81, 3, "DEL") == 0;
    EXPECT_GT(deleted, 0);
    for (int16_t db : {CRV_DB_FM, CRV_DB_NAVAID, CRV_DB_COM}) {
        fs::remove(results);
        CrvSearchParams all{1, 38.8f, 77.6f, 0, 0, 0, 0, 200.0f, 0};
        SearchDB(db, &all, nullptr, &status, &count);
        EXPECT_EQ(status, 0);
        const int expected = db == CRV_DB_FM ? 300 - deleted : db == CRV_DB_NAVAID ? 39 : 40;
        EXPECT_EQ(count, expected) << "database " << db;
    }
    fs::remove_all(dir);
}

std::vector<std::string> crlfLines(const std::string& bytes) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (auto end = bytes.find("\r\n"); end != std::string::npos; end = bytes.find("\r\n", start)) {
        lines.push_back(bytes.substr(start, end - start));
        start = end + 2;
    }
    EXPECT_EQ(start, bytes.size()) << "the last line ends without CR LF";
    return lines;
}

// The case editor shows the eight option-text lines after the case line and
// the report heading prints them; they must name the codes the case holds.
// The texts are the editor's option lists, written out here by hand.
TEST(SampleWorkspace, CasesCarryTheCheckedMarkAndMatchingOptionTexts) {
    const fs::path dir = fs::temp_directory_path() / ("crv-sample-cases-" + std::to_string(::getpid()));
    fs::remove_all(dir);
    ASSERT_EQ(std::system((std::string(CRV_BIN_DIR) + "crv_sample " + dir.string() + " >/dev/null").c_str()), 0);
    const std::map<int, std::string> arrays{
        {36, "VOR, Generic"}, {37, "VHF COM, Generic"}, {38, "User-Specified Horizontal Radiation Pattern"}};
    const std::map<int, std::string> volumes{{0, "ILS, U.S. Standard"}, {6, "VOR, Low Altitude"}, {8, "VHF COM"}};
    const std::map<int, std::string> grids{{1, "Horizontal Only, Bottom of FPSV"}};
    const std::map<int, std::string> intermods{{1, "3rd Order Within 200 kHz"}, {2, "3rd Order On-Channel Only"}};
    const std::map<int, std::string> rejections{
        {1, "QVA Antenna Regression Curve"}, {2, "4417.09 VHF COM"}, {4, "ICAO 1998 Model"}};
    const std::map<int, std::string> criteria{
        {1, "QVA Empirical Regression"}, {2, "4417.09 VHF COM"}, {4, "ICAO 1998 Receiver"}};
    const std::map<int, std::string> cutoffs{
        {1, "QVA Empirical Cutoff"}, {2, "4417.09 VHF COM"}, {4, "ICAO 1998 Cutoff"}};
    const std::map<int, std::string> styles{{1, "Print Short Summaries"}, {2, "Print Extended Summaries"}};
    auto text = [](const std::map<int, std::string>& table, int code) {
        const auto it = table.find(code);
        return it == table.end() ? "(code " + std::to_string(code) + ")" : it->second;
    };
    for (const char* name : {"SampleILS.dat", "SampleVOR.dat", "SampleCOM.dat"}) {
        SCOPED_TRACE(name);
        const auto lines = crlfLines(readBytes(dir / "Data" / name));
        ASSERT_GE(lines.size(), 14u);
        EXPECT_EQ(lines[0], "CRV Version 5.0.6");
        // Navaid line: checked by the editor, so the mark Chr(127) sits in column 71.
        ASSERT_EQ(lines[1].size(), 71u);
        EXPECT_EQ(lines[1][70], '\x7f');
        EXPECT_EQ(lines[1][69], ' ');
        const int arrayType = std::stoi(lines[1].substr(54, 2));
        const int volumeType = std::stoi(lines[1].substr(57, 2));
        const auto end = std::find(lines.begin(), lines.end(), " $$$$");
        ASSERT_NE(end, lines.end());
        int proponents = 0, ignored = 0;
        for (auto l = lines.begin() + 2; l != end; ++l) {
            EXPECT_EQ(l->size(), 75u) << *l;
            const int status = std::stoi(l->substr(63, 2));
            proponents += status == 1;
            ignored += status == 2;
        }
        EXPECT_GE(proponents, 1);
        ASSERT_EQ(lines.end() - end, 11) << "terminator, options, case line and eight option texts";
        std::istringstream options(*(end + 1));
        int grid = 0, intermod = 0, rejection = 0, criterion = 0, cutoff = 0, style = 0;
        options >> grid >> intermod >> rejection >> criterion >> cutoff >> style;
        const std::vector<std::string> expected{
            text(arrays, arrayType),     text(volumes, volumeType), text(grids, grid),     text(intermods, intermod),
            text(rejections, rejection), text(criteria, criterion), text(cutoffs, cutoff), text(styles, style)};
        for (std::size_t i = 0; i < expected.size(); ++i) EXPECT_EQ(*(end + 3 + i), " " + expected[i]) << i;
        if (std::string(name) != "SampleVOR.dat") {
            EXPECT_EQ(ignored, 1);
        }
    }
    fs::remove_all(dir);
}

}  // namespace
