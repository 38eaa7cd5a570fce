// The sample workspace's user files open and save unchanged, byte for byte,
// as the editors save them (patterns normalised).
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "case_folder.h"
#include "crv/editors/rcvr_points_file.h"
#include "crv/editors/user_data_file.h"

using namespace crv::editors;
namespace fs = std::filesystem;

TEST(SampleUserFiles, OpenAndSaveUnchanged) {
    const fs::path dir = fs::temp_directory_path() / ("crv-site-sample-" + std::to_string(::getpid()));
    fs::remove_all(dir);
    ASSERT_EQ(std::system((std::string(CRV_SAMPLE_EXE) + " " + dir.string() + " >/dev/null").c_str()), 0);
    int files = 0;
    for (const auto& entry : fs::directory_iterator(dir / "User")) {
        const std::string name = entry.path().filename().string();
        SCOPED_TRACE(name);
        const std::string bytes = crv::engine::test::readBytes(entry.path().string());
        const std::string ext = entry.path().extension().string();
        if (ext == ".pts") {
            const auto f = readRcvrPointsFile(bytes);
            EXPECT_EQ(f.read.badCount, 0);
            EXPECT_EQ(writeRcvrPointsFile(f.data), bytes);
        } else {
            const UserDataRead r = readUserDataFile(bytes, ext == ".pat");
            EXPECT_EQ(r.badCount, 0);
            UserData saved = r.data;
            if (ext == ".pat") NormalizePattern(saved);
            EXPECT_EQ(writeUserDataFile(saved), bytes);
        }
        ++files;
    }
    EXPECT_EQ(files, 13);
    fs::remove_all(dir);
}
