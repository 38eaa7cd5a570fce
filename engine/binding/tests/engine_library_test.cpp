// The binding of libcrv50.so by name: what a missing library or export
// says, the refusal of a path the engine cannot take, one call at a time,
// and a progress callback that throws.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "crv/binding/engine_library.h"
#include "crv/testing/scoped_env.h"

namespace fs = std::filesystem;
using namespace crv::binding;

namespace {

const std::string kLibrary = std::string(CRV_BIN_DIR) + "libcrv50.so";

using crv::testing::ScopedEnv;

std::string message(const std::function<void()>& call) {
    try {
        call();
    } catch (const EngineError& e) {
        return e.what();
    }
    return "(no error)";
}

// A sample workspace with the ILS case as "Rfi.plt" in a run folder, and
// settings that point the engine at it.
class SampleRun : public ::testing::Test {
protected:
    void SetUp() override {
        root_ = fs::temp_directory_path() / ("crv-binding-" + std::to_string(::getpid()));
        fs::remove_all(root_);
        fs::create_directories(root_ / "tmp");
        fs::permissions(root_ / "tmp", fs::perms::owner_all, fs::perm_options::replace);
        const std::string ws = (root_ / "ws").string() + "/";
        ASSERT_EQ(std::system((std::string(CRV_BIN_DIR) + "crv_sample " + ws + " >/dev/null").c_str()), 0);
        fs::create_directories(root_ / "run");
        fs::copy_file(ws + "Data/SampleILS.dat", root_ / "run" / "Rfi.plt");
        std::ofstream(root_ / "settings.ini") << "[Paths]\nUser Folder=" << ws << "User/\n";
        tmp_ = std::make_unique<ScopedEnv>("TMPDIR", (root_ / "tmp").string());
        settings_ = std::make_unique<ScopedEnv>("CORVANE_SETTINGS", (root_ / "settings.ini").string());
    }
    void TearDown() override {
        settings_.reset();
        tmp_.reset();
        fs::remove_all(root_);
    }
    std::string run() const { return (root_ / "run").string() + "/"; }

    fs::path root_;
    std::unique_ptr<ScopedEnv> tmp_, settings_;
};

}  // namespace

TEST(EngineLibrary, MissingLibraryOrExportIsAClearErrorAtTheFirstCall) {
    EngineLibrary missing("/nonexistent/folder/libcrv50.so");  // nothing happens until a call
    float d = 0, b = 0;
    const std::string noLibrary = message([&] { missing.LLDist(38, 77, 39, 77, d, b); });
    EXPECT_NE(noLibrary.find("The engine library libcrv50.so cannot be loaded"), std::string::npos) << noLibrary;

    EngineLibrary other("libm.so.6");  // a library without the engine's exports
    EXPECT_EQ(message([&] { other.DistLL(1, 0, 38, 77, d, b); }),
              "The engine library libcrv50.so has no function DistLL.");
    EXPECT_THROW(other.bindAll(), EngineError);
}

TEST(EngineLibrary, PositionArithmeticThroughTheLibrary) {
    EngineLibrary engine(kLibrary);
    engine.bindAll();
    float d = 0, b = 0;
    engine.LLDist(38.0f, 77.0f, 39.0f, 77.0f, d, b);
    EXPECT_NEAR(d, 60.0f, 1e-4);
    EXPECT_NEAR(b, 0.0f, 1e-4);
    float lat = 0, lon = 0;
    engine.DistLL(60.0f, 180.0f, 38.0f, 77.0f, lat, lon);
    EXPECT_NEAR(lat, 37.0f, 1e-4);
    EXPECT_NEAR(lon, 77.0f, 1e-4);
}

TEST(EngineLibrary, PathsOfTwoHundredSixtyBytesAreRefusedNotCut) {
    EngineLibrary engine(kLibrary);
    std::int16_t status = -1;
    std::int32_t points = -1;
    const std::string longFolder = "/" + std::string(258, 'a') + "/";  // 260 bytes
    const std::string text = message([&] { engine.Grid(longFolder, {}, status, points); });
    EXPECT_NE(text.find("too long for the engine"), std::string::npos) << text;
    EXPECT_EQ(status, -1);  // the engine was never called
    EXPECT_THROW(engine.SortFile(longFolder + "x", "1:2:A", 10), EngineError);
    EXPECT_THROW(engine.SortFile("/tmp/x", std::string(81, '1'), 10), EngineError);
}

TEST_F(SampleRun, ProgressReachesTheCallerAndCancelStops) {
    EngineLibrary engine(kLibrary);
    std::int16_t status = -1;
    std::int32_t points = -1;
    int calls = 0;
    engine.Grid(
        run(),
        [&](std::int32_t percent) {
            EXPECT_GE(percent, 0);
            EXPECT_LE(percent, 100);
            EXPECT_TRUE(engine.busy());
            ++calls;
            return false;
        },
        status, points);
    EXPECT_EQ(status, 0);
    EXPECT_GT(points, 0);
    EXPECT_GT(calls, 0);
    EXPECT_FALSE(engine.busy());

    engine.Grid(
        run(), [](std::int32_t) { return true; }, status, points);
    EXPECT_EQ(status, 1);
    EXPECT_FALSE(fs::exists(run() + "Rcvr_Loc.plx"));  // a cancelled grid leaves no file
}

TEST_F(SampleRun, AnExceptionInTheCallbackCancelsAndIsThrownAfterTheCall) {
    EngineLibrary engine(kLibrary);
    std::int16_t status = -1;
    std::int32_t points = -1;
    EXPECT_THROW(engine.Grid(
                     run(), [](std::int32_t) -> bool { throw std::runtime_error("window gone"); }, status, points),
                 std::runtime_error);
    EXPECT_EQ(status, 1);
    EXPECT_FALSE(engine.busy());
    // The engine is usable again.
    engine.Grid(run(), {}, status, points);
    EXPECT_EQ(status, 0);
}

TEST_F(SampleRun, SecondCallDuringACallIsRefused) {
    EngineLibrary engine(kLibrary);
    std::int16_t status = -1, inner = -1, cases = -1;
    std::int32_t points = -1;
    bool refused = false;
    engine.Grid(
        run(),
        [&](std::int32_t) {
            try {
                engine.Evaluate(run(), {}, inner, cases);
            } catch (const EngineBusy&) {
                refused = true;
            }
            float d = 0, b = 0;
            engine.LLDist(38, 77, 39, 77, d, b);  // pure arithmetic is always allowed
            return false;
        },
        status, points);
    EXPECT_TRUE(refused);
    EXPECT_EQ(inner, -1);
    EXPECT_EQ(status, 0);
}
