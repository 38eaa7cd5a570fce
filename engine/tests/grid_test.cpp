// The receiver grid: byte goldens worked out independently (data/grid/
// make_goldens.py), whole-file invariants, thread-count invariance, and the
// failures that must leave no receiver-point file behind.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <cmath>
#include <filesystem>

#include "case_folder.h"
#include "crv50.h"
#include "grid_volume.h"
#include "receiver_point_file.h"
#include "state.h"
#include "test_support.h"

using namespace crv::engine;
namespace fs = std::filesystem;

namespace {

const std::string kGoldens = std::string(CRV_TEST_DATA) + "grid/";

struct GridResult {
    std::int16_t status = -1;
    std::int32_t points = -1;
};

GridResult runGridExport(const std::string& run, CrvProgressCallback callback = nullptr) {
    GridResult r;
    Grid(run.c_str(), callback, &r.status, &r.points);
    return r;
}

// A case folder holding one golden case's files.
void loadCase(test::CaseFolder& folder, const std::string& name) {
    fs::copy_file(kGoldens + name + "/Rfi.plt", folder.run + "Rfi.plt");
    if (fs::exists(kGoldens + name + "/RcvrTest.pts"))
        fs::copy_file(kGoldens + name + "/RcvrTest.pts", folder.user + "RcvrTest.pts");
}

int pointRecords(const ReceiverPointFile& file) {
    int n = 0;
    for (const auto& p : file.points) n += p.id != crv::formats::kSectionEnd;
    return n;
}

// Replaces the options line of a case file.
void setOptions(test::CaseFolder& folder, const std::string& options) {
    auto lines = test::splitLines(test::readBytes(folder.run + "Rfi.plt"));
    for (std::size_t i = 0; i < lines.size(); ++i)
        if (lines[i].rfind(" $$$$", 0) == 0) lines[i + 1] = options;
    folder.writeCase(lines);
}

}  // namespace

TEST(Grid, WritesTheGoldenReceiverPointFiles) {
    const char* cases[] = {"ils_type0",   "tls_top",     "vor_terminal", "com_small",  "grid8_code0",
                           "grid8_code1", "grid8_code2", "grid8_code3",  "grid12_ils", "grid12_vor",
                           "grid6_prescreen"};
    for (const char* name : cases) {
        SCOPED_TRACE(name);
        test::CaseFolder folder;
        loadCase(folder, name);
        const GridResult r = runGridExport(folder.run);
        ASSERT_EQ(r.status, 0);
        EXPECT_EQ(test::readBytes(folder.run + "Rcvr_Loc.plx"), test::readBytes(kGoldens + name + "/expected.plx"));
        const bool coarse = fs::exists(kGoldens + name + "/expected8.plx");
        ASSERT_EQ(fs::exists(folder.run + "Rcvr8Loc.plx"), coarse);
        if (coarse) {
            EXPECT_EQ(test::readBytes(folder.run + "Rcvr8Loc.plx"), test::readBytes(kGoldens + name + "/expected8.plx"));
        }
        const auto file = readReceiverPointFile(folder.run + "Rcvr_Loc.plx", "test");
        EXPECT_EQ(r.points, pointRecords(file));
    }
}

// Every point of an omnidirectional volume is inside it, and every altitude of
// every grid lies between the volume's floor and top at the point's distance.
TEST(Grid, PointsLieInsideTheVolume) {
    struct Case {
        const char* name;
        bool allInVolume;
    } cases[] = {{"vor_terminal", true}, {"com_small", true}, {"ils_type0", false}, {"tls_top", false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        test::CaseFolder folder;
        loadCase(folder, c.name);
        ASSERT_EQ(runGridExport(folder.run).status, 0);
        EngineState state;
        state.navaid.fieldElevationFt = 500;
        const auto file = readReceiverPointFile(folder.run + "Rcvr_Loc.plx", "test");
        state.navaid.serviceVolumeType = file.header.serviceVolumeType;
        state.navaid.runwayHeadingDeg = file.header.headingDeg;
        state.navaid.runwayLengthFt = file.header.runwayLengthFt - 1000.0;
        state.navaid.serviceVolumeRadiusNmi = file.header.serviceVolumeRadiusNmi;
        state.navaid.serviceVolumeHeightFt = file.header.serviceVolumeHeightFt;
        const ServiceVolume v = serviceVolumeFor(state);
        for (const auto& p : file.points) {
            if (p.id == crv::formats::kSectionEnd) continue;
            const double alt = p.altitudeFt - 6.8;
            EXPECT_GE(alt, 500 + volumeFloorFt(v, p.distanceNmi) - 0.01);
            EXPECT_LE(alt, 500 + volumeTopFt(v, p.distanceNmi) + 0.01);
            if (c.allInVolume) {
                EXPECT_TRUE(InVolume(v, p.distanceNmi, p.azimuthDeg)) << p.distanceNmi;
            }
        }
    }
}

TEST(Grid, FileIsTheSameWhateverTheThreadCount) {
    test::CaseFolder folder;
    loadCase(folder, "vor_terminal");
    setOptions(folder, "  1  0  3  1  1  1     0   0 1500 500  1  0");
    ::setenv("CRV_THREADS", "1", 1);
    ASSERT_EQ(runGridExport(folder.run).status, 0);
    const std::string one = test::readBytes(folder.run + "Rcvr_Loc.plx");
    const std::string oneCoarse = test::readBytes(folder.run + "Rcvr8Loc.plx");
    ::unsetenv("CRV_THREADS");
    ASSERT_EQ(runGridExport(folder.run).status, 0);
    EXPECT_GT(one.size(), 100000u);
    EXPECT_EQ(test::readBytes(folder.run + "Rcvr_Loc.plx"), one);
    EXPECT_EQ(test::readBytes(folder.run + "Rcvr8Loc.plx"), oneCoarse);
}

namespace {
int gCalls = 0;
int gLastPercent = -1;
bool gMonotonic = true;
void countingCallback(int32_t percent, int16_t* cancel) {
    ++gCalls;
    if (percent < gLastPercent) gMonotonic = false;
    gLastPercent = percent;
    *cancel = 0;
}
void cancellingCallback(int32_t, int16_t* cancel) { *cancel = 1; }
}  // namespace

TEST(Grid, ReportsProgressAndCancelsCleanly) {
    test::CaseFolder folder;
    loadCase(folder, "vor_terminal");
    setOptions(folder, "  1  0  3  1  1  1     0   0 3000 500  1  0");
    gCalls = 0;
    gLastPercent = -1;
    ASSERT_EQ(runGridExport(folder.run, countingCallback).status, 0);
    EXPECT_GE(gCalls, 10);
    EXPECT_TRUE(gMonotonic);
    EXPECT_LE(gLastPercent, 100);

    const GridResult r = runGridExport(folder.run, cancellingCallback);
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.points, 0);
    EXPECT_FALSE(fs::exists(folder.run + "Rcvr_Loc.plx"));
    EXPECT_FALSE(fs::exists(folder.run + "Rcvr8Loc.plx"));
}

TEST(Grid, RefusesCasesItCannotBuild) {
    struct Case {
        const char* name;
        const char* options;
        const char* routine;
        const char* messageStart;
    } cases[] = {
        // Grid altitude 100 ft lies below the floor everywhere (field 500 ft).
        {"ils_type0", "  3  0  3  1  1  1   100   0 6000 500  0  0", "GridH", "No receiver locations defined.  This is\r"},
        {"ils_type0", "  1  0  3  1  1  1     0   0    0 500  0  0", "Grid", "The horizontal grid increment must be"},
        {"ils_type0", "  9  0  3  1  1  1     0   0   -5 500  0  0", "Grid", "The horizontal grid increment must be"},
        {"ils_type0", "  4  0  3  1  1  1     0   0 6000   0  0  0", "Grid", "The vertical grid increment must be"},
        {"grid12_vor", " 12  0  3  1  1  1     0   0    0   0  0  0", "Grid", "The vertical grid increment must be"},
        {"vor_terminal", " 11  0  3  1  1  1 99000   0 6000 500  0  0", "GridV", "No receiver locations defined."},
        {"vor_terminal", "  1  0  3  1  1  1     0   0   10 500  0  0", "Grid", "This case would make about 923040099 receiver points"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.options);
        test::CaseFolder folder;
        loadCase(folder, c.name);
        setOptions(folder, c.options);
        test::writeBytes(folder.run + "Rcvr_Loc.plx", "stale");
        crv::test::MessageCapture capture;
        const GridResult r = runGridExport(folder.run);
        EXPECT_EQ(r.status, 2);
        ASSERT_EQ(capture.messages().size(), 1u);
        const std::string& text = capture.messages()[0].text;
        EXPECT_NE(text.find(std::string("procedure ") + c.routine + ":"), std::string::npos) << text;
        EXPECT_NE(text.find(c.messageStart), std::string::npos) << text;
        EXPECT_FALSE(fs::exists(folder.run + "Rcvr_Loc.plx"));
    }
}

TEST(Grid, GeneralMethodWithoutStationsFailsForAnOmniVolume) {
    test::CaseFolder folder;
    loadCase(folder, "grid12_vor");
    auto lines = test::splitLines(test::readBytes(folder.run + "Rfi.plt"));
    lines.erase(lines.begin() + 2, lines.begin() + 4);  // both stations
    folder.writeCase(lines);
    crv::test::MessageCapture capture;
    EXPECT_EQ(runGridExport(folder.run).status, 2);
    ASSERT_EQ(capture.messages().size(), 1u);
    EXPECT_NE(capture.messages()[0].text.find("GridG"), std::string::npos);
    EXPECT_FALSE(fs::exists(folder.run + "Rcvr_Loc.plx"));
}

// A vertical-only grid makes no coarse file, so one left by an earlier run
// must go: an evaluation would take it for this case's.
TEST(Grid, RemovesAStaleCoarseFile) {
    test::CaseFolder folder;
    loadCase(folder, "vor_terminal");
    setOptions(folder, "  9  0  3  1  1  1     0  90 6000 500  1  0");
    test::writeBytes(folder.run + "Rcvr8Loc.plx", "stale");
    ASSERT_EQ(runGridExport(folder.run).status, 0);
    EXPECT_FALSE(fs::exists(folder.run + "Rcvr8Loc.plx"));
    EXPECT_TRUE(fs::exists(folder.run + "Rcvr_Loc.plx"));
}

TEST(Grid, UserPointsFileProblems) {
    struct Case {
        const char* file;  // nullptr: no file
        const char* messageStart;
    } cases[] = {
        {nullptr, "Could not open user-defined receiver points file:\r"},
        {"Points\r\n0\r\n", "No receiver locations defined.  Check format\rof user-defined receiver points file."},
        {"Points\r\n7\r\n1 2 3\r\n", "Invalid position format code"},
        {"Points\r\n0\r\n1 2 3\r\n4 x 6\r\n", "Could not read line 4 of user-defined receiver points file:"},
        // Numbers that read but give no place: refused with the line and the
        // value, never turned into a point at infinity.
        {"Points\r\n0\r\n1e308 0 1000\r\n",
         "The range \"1e308\" in line 3 of user-defined receiver points file is out of range:\r"},
        {"Points\r\n0\r\n5 90 1000\r\n5 1e400 1000\r\n",
         "The number \"1e400\" in line 4 of user-defined receiver points file is out of range:\r"},
        {"Points\r\n2\r\n39.3 77.7 nan\r\n", "Could not read line 3 of user-defined receiver points file:\r"},
        {"Points\r\n2\r\n91 77.7 1000\r\n",
         "The latitude \"91\" in line 3 of user-defined receiver points file is out of range:\r"},
        {"Points\r\n3\r\n39 20.0 -181 0 1000\r\n",
         "The longitude \"-181\" in line 3 of user-defined receiver points file is out of range:\r"},
        {"Points\r\n0\r\n5 90 1e300\r\n",
         "The altitude \"1e300\" in line 3 of user-defined receiver points file is out of range:\r"},
    };
    for (const auto& c : cases) {
        test::CaseFolder folder;
        loadCase(folder, "grid8_code0");
        fs::remove(folder.user + "RcvrTest.pts");
        if (c.file) test::writeBytes(folder.user + "RcvrTest.pts", c.file);
        crv::test::MessageCapture capture;
        EXPECT_EQ(runGridExport(folder.run).status, 2);
        ASSERT_EQ(capture.messages().size(), 1u);
        EXPECT_NE(capture.messages()[0].text.find(c.messageStart), std::string::npos) << capture.messages()[0].text;
        EXPECT_FALSE(fs::exists(folder.run + "Rcvr_Loc.plx"));
    }
}

// Degrees, minutes and seconds of a test point combine as in the case file:
// the magnitude of minutes/60 + seconds/3600 is added to the degrees.
TEST(Grid, UserPointDegreesMinutesSecondsAsInTheCaseFile) {
    test::CaseFolder folder;
    loadCase(folder, "grid8_code1");
    test::writeBytes(folder.user + "RcvrTest.pts", "Mixed signs\r\n1\r\n40 35 -30 75 15 20 2500\r\n");
    ASSERT_EQ(runGridExport(folder.run).status, 0);
    const auto file = readReceiverPointFile(folder.run + "Rcvr_Loc.plx", "test");
    ASSERT_EQ(pointRecords(file), 1);
    const auto& p = file.points[0];
    // 40 + |35/60 - 30/3600| and 75 + |15/60 + 20/3600|; distance and azimuth
    // from the navaid at 40 30 15, 75 20 30 by the flat-earth rule.
    EXPECT_NEAR(p.latitude, 40.575, 1e-5);
    EXPECT_NEAR(p.longitude, 75.25555555555556, 1e-5);
    EXPECT_NEAR(p.distanceNmi, 5.786144722141438, 1e-5);
    EXPECT_NEAR(p.azimuthDeg, 222.73389713117518, 1e-4);
    EXPECT_NEAR(p.altitudeFt, 2506.8, 1e-3);
}

// ---- the volume rules ----

namespace {
ServiceVolume localizer(double courseDeg, int type = 0) {
    EngineState s;
    s.navaid.serviceVolumeType = static_cast<std::int16_t>(type);
    s.navaid.runwayHeadingDeg = courseDeg;
    s.navaid.runwayLengthFt = 8000;
    return serviceVolumeFor(s);
}
}  // namespace

TEST(GridVolume, SectorOfCourse10RunsThroughNorth) {
    const ServiceVolume v = localizer(10);
    EXPECT_DOUBLE_EQ(v.edge35StartDeg, 335);
    EXPECT_DOUBLE_EQ(v.edge35EndDeg, 45);
    struct {
        double distance, azimuth;
        bool inside;
    } cases[] = {{5, 335, true},  {5, 0, true},     {5, 45, true},    {5, 334.9, false}, {5, 45.1, false},
                 {5, 180, false}, {15, 0, true},    {15, 20, true},   {15, 20.1, false}, {15, 335, false},
                 {0.1, 10, false}, {0.164, 10, true}, {18, 10, true}, {18.01, 10, false}};
    for (const auto& c : cases) EXPECT_EQ(InVolume(v, c.distance, c.azimuth), c.inside) << c.distance << " " << c.azimuth;
}

TEST(GridVolume, TlsStartsAtTheThreshold) {
    const ServiceVolume v = localizer(90, 4);
    EXPECT_DOUBLE_EQ(v.locToThresholdFt, 9000);
    EXPECT_FALSE(InVolume(v, 8999.0 / kFtPerNmi, 90));
    EXPECT_TRUE(InVolume(v, 9001.0 / kFtPerNmi, 90));
}

TEST(GridVolume, LimitsByGridType) {
    const ServiceVolume v = localizer(0);  // a = 9000 ft, F = 1000, H = 4500
    const double d = 2.0;                   // e = 12152.23 ft
    const double e = d * kFtPerNmi;
    const double floor = std::tan(2.0 * M_PI / 180) * (e - 9000);
    const double top = e * std::tan(7.0 * M_PI / 180);
    EXPECT_NEAR(VolumeLimit(v, 1, 0, d).altitudeFt, floor, 1e-9);
    EXPECT_NEAR(VolumeLimit(v, 2, 0, d).altitudeFt, top, 1e-9);
    EXPECT_TRUE(VolumeLimit(v, 3, 500, d).valid);
    EXPECT_FALSE(VolumeLimit(v, 3, 50, d).valid);
    EXPECT_FALSE(VolumeLimit(v, 11, 2000, d).valid);
    EXPECT_DOUBLE_EQ(VolumeLimit(v, 1, 0, 10).altitudeFt, 1000);  // beyond the slope: F
    EXPECT_DOUBLE_EQ(VolumeLimit(v, 2, 0, 10).altitudeFt, 4500);  // H
}

TEST(GridVolume, WorkCountIsNeverZero) {
    EngineState s;
    s.navaid.serviceVolumeType = 5;
    s.options.gridType = 12;
    const WorkEstimate w = GridCount(s, serviceVolumeFor(s));
    EXPECT_EQ(w.expectedUnits, 1);
    EXPECT_EQ(w.stepUnits, 1);
    s.options.gridType = 1;
    s.options.horIncrementFt = 6076.115;  // R = 25: 51 x 51 points
    EXPECT_EQ(GridCount(s, serviceVolumeFor(s)).expectedUnits, 2601);
    EXPECT_EQ(GridCount(s, serviceVolumeFor(s)).stepUnits, 130);
}
