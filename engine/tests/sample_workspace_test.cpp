// The sample workspace generator against the engine's search: the databases
// it writes must be framed and sorted as the search expects, and the COM
// facility at 38N 77W on 118.000 MHz must come out as "DW0".
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "crv/platform/settings_store.h"
#include "crv50.h"

namespace fs = std::filesystem;

namespace {

std::string slurp(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

TEST(SampleWorkspace, DatabasesAreSearchableAndDeterministic) {
    const fs::path dir = fs::temp_directory_path() / ("crv-sample-" + std::to_string(::getpid()));
    fs::remove_all(dir);
    fs::create_directories(dir / "tmp");
    fs::permissions(dir / "tmp", fs::perms::owner_all, fs::perm_options::replace);
    const std::string generator = std::string(CRV_BIN_DIR) + "crv_sample";
    ASSERT_EQ(std::system((generator + " " + (dir / "a").string() + " >/dev/null").c_str()), 0);
    ASSERT_EQ(std::system((generator + " " + (dir / "b").string() + " >/dev/null").c_str()), 0);
    for (const char* f : {"db/FMALL.dat", "db/FMSHORT.dat", "db/A108M118.dat", "db/G118M136.dat",
                          "Data/SampleILS.dat", "User/LocHor.pat", "User/Receiver.cal"})
        EXPECT_EQ(slurp(dir / "a" / f), slurp(dir / "b" / f)) << f;
    EXPECT_EQ(fs::file_size(dir / "a/db/FMALL.dat") % 111, 0u);
    EXPECT_EQ(fs::file_size(dir / "a/db/FMALL.dat") / 111, 300u);
    EXPECT_EQ(fs::file_size(dir / "a/db/FMSHORT.dat") % 105, 0u);

    ::setenv("TMPDIR", (dir / "tmp").c_str(), 1);
    ::setenv("CORVANE_SETTINGS", (dir / "settings.ini").c_str(), 1);
    crv::platform::SettingsStore store;
    ASSERT_TRUE(store.setMany("Paths", {{"FCC Database", (dir / "a/db/FMALL.dat").string()},
                                        {"QVA Database", (dir / "a/db/A108M118.dat").string()},
                                        {"COM Database", (dir / "a/db/G118M136.dat").string()}}));
    const fs::path results = dir / "tmp" / ("corvane-" + std::to_string(::getuid())) / "RfiSrch1.tmp";

    CrvSearchParams p{1, 38.0f, 77.0f, 0, 0, 0, 0, 1.0f, 0};
    int16_t status = -1, count = -1;
    SearchDB(CRV_DB_COM, &p, nullptr, &status, &count);
    ASSERT_EQ(status, 0);
    ASSERT_EQ(count, 1);
    EXPECT_EQ(slurp(results).substr(0, 17), " DW0   0 118.000 ");

    // The whole region, every database: everything but the deleted FM
    // licences and the navaid of unknown service volume is found.
    const std::string fm = slurp(dir / "a/db/FMALL.dat");
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

}  // namespace
