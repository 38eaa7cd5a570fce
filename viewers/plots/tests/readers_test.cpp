// Damaged files are refused with a message naming them; level classes and
// their edges.
#include "crv/formats/plot_file.h"
#include "crv/viewers/plot_builders.h"
#include "crv50.h"
#include "special_files.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <limits>
#include <sstream>
#include "crv/testing/files.h"

using namespace crv::common;
using namespace crv::viewers;
namespace fs = std::filesystem;
using crv::testing::readBytes;

namespace {

const std::string kData = CRV_PLOT_DATA;

class DamagedFiles : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() / ("plot_readers_" + std::to_string(::getpid()));
        fs::create_directories(dir_);
    }
    void TearDown() override { fs::remove_all(dir_); }
    std::string write(const std::string& name, const std::string& bytes) {
        crv::testing::writeBytes(dir_ / name, bytes);
        return name;
    }
    crv::platform::Expected<SimulationPage> simulation(const std::string& name) {
        auto plot = BeginPlot({750, 1000}, true, "");
        return PlotSimulationFile(*plot, dir_.string(), name, LevelBands{});
    }
    crv::platform::Expected<PatternPage> pattern(const std::string& name, bool polar = true) {
        auto plot = BeginPlot({750, 1000}, true, "");
        return PlotAntennaPattern(*plot, dir_.string() + "/", name, polar, true);
    }
    fs::path dir_;
};

TEST_F(DamagedFiles, PlotFilesAreRefusedNamingTheFile) {
    const std::string good = readBytes(kData + "ils_07____A2.plt");
    ASSERT_GT(good.size(), 400u);
    // The last record is the section separator: 4 + 12 + 4 bytes.
    std::string badMarker = good;
    badMarker[badMarker.size() - 1] = '\x7f';  // trailing length marker of the separator
    struct Case {
        const char* name;
        std::string bytes;
    } cases[] = {
        {"empty.plt", ""},
        {"short_header.plt", good.substr(0, 120)},
        {"no_separator.plt", good.substr(0, good.size() - 20)},
        {"cut_record.plt", good.substr(0, good.size() - 7)},
        {"bad_marker.plt", badMarker},
    };
    for (const auto& c : cases) {
        auto page = simulation(write(c.name, c.bytes));
        ASSERT_FALSE(page) << c.name;
        EXPECT_NE(page.error().find(c.name), std::string::npos) << page.error();
    }
    auto missing = simulation("not_there.plt");
    ASSERT_FALSE(missing);
    EXPECT_NE(missing.error().find("not_there.plt"), std::string::npos);
}

// Header values size the panels: a COM volume without a radius or height, or
// one no case can hold, and a value that is not a number are refused.
TEST_F(DamagedFiles, HeaderValuesNoRunWritesAreRefused) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    struct Case {
        float radius, height, heading;
        const char* why;
    } cases[] = {
        {0.0f, 10000.0f, 0.0f, "no radius or height"},
        {30.0f, 0.0f, 0.0f, "no radius or height"},
        {5000.0f, 10000.0f, 0.0f, "the service volume radius 5000 is outside 0 to 999"},
        {30.0f, 3e38f, 0.0f, "the header's service volume height 3e+38 is not a value a run writes"},
        {30.0f, 10000.0f, nan, "the header's heading nan is not a value a run writes"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.why);
        crv::formats::PlotHeader h;
        h.fileName = "01____B2.plt";
        h.serviceVolumeType = 8;
        h.gridType = 1;
        h.serviceVolumeRadiusNmi = c.radius;
        h.serviceVolumeHeightFt = c.height;
        h.headingDeg = c.heading;
        crv::formats::RecordWriter w;
        ASSERT_TRUE(w.open((dir_ / "com.plt").string()));
        w.writeHeader(h);
        w.writeRecord(crv::formats::encodeInterferencePoint(crv::formats::makeInterferencePoint(5, 3, 90, 2000, 0)));
        w.writeRecord(crv::formats::encodeInterferencePoint(crv::formats::sectionEndPoint()));
        ASSERT_TRUE(w.close());
        auto page = simulation("com.plt");
        ASSERT_FALSE(page);
        EXPECT_NE(page.error().find("com.plt"), std::string::npos);
        EXPECT_NE(page.error().find(c.why), std::string::npos) << page.error();
    }
}

TEST_F(DamagedFiles, SearchFilesWithoutTheirEndLine) {
    const Geodesy geo{&::DistLL, &::LLDist};
    std::string nav = readBytes(kData + "nav@QKV.plt");
    nav = nav.substr(0, nav.find(" $$$"));
    std::string fm = readBytes(kData + "Rfi.plt");
    fm = fm.substr(0, fm.find(" $$$$"));
    auto plot = BeginPlot({750, 1000}, true, "");
    auto a = PlotFacilityLocations(*plot, dir_.string(), write("nav@cut.plt", nav), "", geo);
    ASSERT_FALSE(a);
    EXPECT_NE(a.error().find("nav@cut.plt"), std::string::npos) << a.error();
    auto b = PlotEmitterLocations(*plot, dir_.string(), write("fm@cut.plt", fm), geo);
    ASSERT_FALSE(b);
    EXPECT_NE(b.error().find("fm@cut.plt"), std::string::npos) << b.error();
}

// Every page reader refuses what it cannot read at once, naming the file:
// nothing waits on a FIFO or streams a device, and a read error is not taken
// for a header that ends early.
TEST_F(DamagedFiles, SpecialFilesAreRefusedNamingThem) {
    const Geodesy geo{&::DistLL, &::LLDist};
    using Reader = std::function<crv::platform::Expected<bool>(Plot&, const std::string&)>;
    auto ok = [](const auto& r) {
        return r ? crv::platform::Expected<bool>(true) : crv::platform::makeError(r.error());
    };
    const std::pair<const char*, Reader> readers[] = {
        {"ils_07____A2.plt",
         [&](Plot& p, const std::string& n) { return ok(PlotSimulationFile(p, dir_.string(), n, {})); }},
        {"LocHorU.ptx",
         [&](Plot& p, const std::string& n) { return ok(PlotAntennaPattern(p, dir_.string(), n, true, true)); }},
        {"nav@QKV.plt",
         [&](Plot& p, const std::string& n) { return ok(PlotFacilityLocations(p, dir_.string(), n, "", geo)); }},
        {"fm@QVT.plt",
         [&](Plot& p, const std::string& n) { return ok(PlotEmitterLocations(p, dir_.string(), n, geo)); }},
    };
    for (const auto& special : crv::test_files::specialFiles())
        for (const auto& [name, read] : readers) {
            SCOPED_TRACE(std::string(special.what) + " as " + name);
            const std::string path = (dir_ / name).string();
            crv::test_files::removeSpecial(path);
            if (!special.make(path)) continue;
            auto plot = BeginPlot({750, 1000}, true, "");
            const auto page = read(*plot, name);
            ASSERT_FALSE(page);
            EXPECT_EQ(page.error().rfind(special.verb + path, 0), 0u) << page.error();
        }
}

// A map spans its search radius in ticks: a radius or a position no program
// writes is refused with the file, the line and the value, before drawing.
TEST_F(DamagedFiles, MapValuesOutOfRangeAreRefused) {
    const Geodesy geo{&::DistLL, &::LLDist};
    const std::string nav = readBytes(kData + "nav@QKV.plt");
    const std::string fm = readBytes(kData + "fm@QVT.plt");
    auto replaced = [](std::string text, const std::string& from, const std::string& to) {
        const auto at = text.find(from);
        EXPECT_NE(at, std::string::npos) << from;
        return at == std::string::npos ? text : text.replace(at, from.size(), to);
    };
    const std::string oldLayout =
        " QVT   0 112.000  38 40 00   78 10 00  1210 0 100 6 0 0 0 99999999\r\n"
        "     QVAA 107.700  38 45 39   78 02 45  40.0000  1476 19  0   0  1 LIC\r\n"
        " 999\r\n";
    struct Case {
        const char* name;
        std::string text;
        const char* why;
    } cases[] = {
        {"fm@COM.plt", replaced(fm, "36  6   0     0 ", "37  8 99999999     0"),
         "the service volume radius 99999999 in line 2 is outside 0 to 999"},
        {"fm@OLD.plt", oldLayout, "the search radius 99999999 in line 1 is outside 0 to 99"},
        {"fm@LAT.plt", replaced(fm, "38 30 09   78 12 13", "2147483648 30 09   78 12 13"),
         "the latitude 2147483648.5 in line 4 is outside -90 to 90"},
        {"fm@LON.plt", replaced(fm, "38 40 00   78 10 00", "38 40 00   1e300 10 00"),
         "the longitude 1e+300 in line 2 is outside -180 to 180"},
        {"nav@LAT.plt", replaced(nav, " QNEW    107.900  39 21 00", " QNEW    107.900  2147483648 21 00"),
         "the latitude 2147483648.35 in line 9 is outside -90 to 90"},
        {"nav@TYP.plt", replaced(nav, "   300     0   0  0  8  30 10000", "   300     0   0  0  2147483648  30 10000"),
         "the service volume type 2147483648 in line 6 is outside -99 to 99"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        auto plot = BeginPlot({750, 1000}, true, "");
        const std::string name = write(c.name, c.text);
        const auto page = c.name[0] == 'n' ? PlotFacilityLocations(*plot, dir_.string(), name, "", geo)
                                           : PlotEmitterLocations(*plot, dir_.string(), name, geo);
        ASSERT_FALSE(page);
        EXPECT_NE(page.error().find(name), std::string::npos) << page.error();
        EXPECT_NE(page.error().find(c.why), std::string::npos) << page.error();
    }
}

TEST_F(DamagedFiles, MapNearThePoleEnds) {
    const Geodesy geo{&::DistLL, &::LLDist};
    std::string nav = readBytes(kData + "nav@QKV.plt");
    const auto at = nav.find(" QNEW    107.900  39 21 00");
    ASSERT_NE(at, std::string::npos);
    nav.replace(at, 26, " QNEW    107.900  89 59 00");
    auto plot = BeginPlot({750, 1000}, true, "");
    auto page = PlotFacilityLocations(*plot, dir_.string(), write("nav@pole.plt", nav), "", geo);
    ASSERT_TRUE(page) << page.error();
    EXPECT_NEAR(page->centreLat, 89.9833, 1e-3);
    // No latitude label beyond the pole.
    for (const Command& c : plot->picture().recording().commands)
        if (const auto* t = std::get_if<rec::Text>(&c)) {
            EXPECT_NE(t->text, "90.5");
        }
}

// The first versions' layout: no version record, 2 bytes before each record,
// fixed record sizes, titles of 60 and 73 characters.
std::string oldLayoutFile() {
    std::string b;
    auto text = [&](std::string t, std::size_t n) {
        t.resize(n, ' ');
        b += std::string(2, '\0') + t;
    };
    auto real = [&](float v) {
        char c[4];
        std::memcpy(c, &v, 4);
        b += std::string(2, '\0') + std::string(c, 4);
    };
    auto i16 = [&](std::int16_t v) {
        b += std::string(2, '\0');
        b += char(v & 0xFF);
        b += char((v >> 8) & 0xFF);
    };
    text("OLD CASE", 15);
    text("OLD SITE", 25);
    text("01/02/99", 8);
    text("07____A2.PLT", 12);
    text("Old title one", 60);
    text("Old title two", 73);
    real(95);
    real(108.1f);
    real(420);
    real(9000);
    i16(0);
    text("QKV", 3);
    real(18);
    real(4500);
    i16(1);
    real(0);
    real(0);
    auto point = [&](std::int16_t level, std::int16_t d100, std::int16_t a100, std::int16_t alt) {
        b += std::string(2, '\0');
        for (std::int16_t v : {level, d100, a100, alt}) {
            b += char(v & 0xFF);
            b += char((v >> 8) & 0xFF);
        }
        b += std::string(4, '\0');
    };
    point(12, 500, 9500, 2000);
    point(9999, 0, 0, 0);
    return b;
}

TEST_F(DamagedFiles, FilesOfTheFirstVersionsAreRead) {
    write("old.plt", oldLayoutFile());
    auto plot = BeginPlot({750, 1000}, true, "");
    auto page = PlotSimulationFile(*plot, dir_.string(), "old.plt", LevelBands{});
    ASSERT_TRUE(page) << page.error();
    EXPECT_FLOAT_EQ(page->course, 95.0f);
    bool title = false, point = false;
    for (const Command& c : plot->metafile()->recording().commands) {
        if (const auto* t = std::get_if<rec::Text>(&c)) title = title || t->text == "Old title two";
        if (const auto* m = std::get_if<rec::Marks>(&c)) point = point || m->text == "4";  // 12 dB: class 4
    }
    EXPECT_TRUE(title);
    EXPECT_TRUE(point);
    // Cut short inside the point records: refused.
    const std::string cut = oldLayoutFile();
    auto bad = simulation(write("old_cut.plt", cut.substr(0, cut.size() - 5)));
    ASSERT_FALSE(bad);
    EXPECT_NE(bad.error().find("old_cut.plt"), std::string::npos);
}

TEST_F(DamagedFiles, TheSoundFileStillDraws) {
    write("ok.plt", readBytes(kData + "ils_07____A2.plt"));
    auto page = simulation("ok.plt");
    ASSERT_TRUE(page) << page.error();
    EXPECT_EQ(page->svType, 0);
    EXPECT_FLOAT_EQ(page->fieldElevation, 420.0f);
    EXPECT_FLOAT_EQ(page->course, 275.0f);
    EXPECT_FALSE(page->canceled);
}

std::string patternText(const std::vector<std::string>& points) {
    std::string s =
        "    Localizer pattern description:  test\r\n    Gain:  14.0 dBi\r\n\r\n   Angle\r\n  (deg)\r\n\r\n";
    for (const auto& p : points) s += p + "\r\n";
    return s;
}

TEST_F(DamagedFiles, PatternFilesOutOfBoundsAreRefused) {
    std::vector<std::string> many;
    for (int i = 0; i <= 361; ++i) many.push_back(" " + std::to_string(i) + ".0  100.00  0.00");
    struct Case {
        const char* name;
        std::string text;
        const char* why;
    } cases[] = {
        {"LocHorMany.ptx", patternText(many), "more than 361"},
        {"LocHorOne.ptx", patternText({" 0.0  100.00  0.00"}), "fewer than two"},
        {"LocHorOrder.ptx", patternText({" 0.0 100 0", " 20.0 50 -6", " 10.0 40 -8"}), "ascending"},
        {"LocHorText.ptx", patternText({" 0.0 100 0", " ten 50 -6"}), "not three numbers"},
        {"LocHorShort.ptx", "    only a title\r\n", "heading lines"},
        {"LocHorFar.ptx", patternText({" 0.0 100 0", " 1e300 50 -6"}), "line 8 (1e+300 50 -6) is outside"},
        {"LocHorHuge.ptx", patternText({" 0.0 1e308 0", " 5.0 50 -6"}), "line 7 (0 1e+308 0) is outside"},
    };
    for (const auto& c : cases) {
        auto page = pattern(write(c.name, c.text));
        ASSERT_FALSE(page) << c.name;
        EXPECT_NE(page.error().find(c.name), std::string::npos) << page.error();
        EXPECT_NE(page.error().find(c.why), std::string::npos) << page.error();
    }
    // 361 points is the most a page holds, and is drawn.
    many.pop_back();
    auto full = pattern(write("LocHorFull.ptx", patternText(many)));
    EXPECT_TRUE(full) << full.error();
}

TEST(LevelClasses, EdgesAndBands) {
    const auto t = levelThresholds(3, 3);  // 3, 6, ..., 39
    EXPECT_EQ(t[0], 3);
    EXPECT_EQ(t[12], 39);
    struct Case {
        int level, cls;
    } cases[] = {{-32768, 1}, {3, 1}, {4, 2}, {6, 2}, {39, 13}, {40, 14}, {32767, 14}};
    for (const auto& c : cases) EXPECT_EQ(levelClass(t, c.level), c.cls) << c.level;
    // A band running past the 16-bit range stays at its edge instead of wrapping.
    const auto high = levelThresholds(32000, 100);
    EXPECT_EQ(high[12], 32767);
    EXPECT_EQ(high[7], 32700);
    const auto low = levelThresholds(-32700, -100);
    EXPECT_EQ(low[12], -32768);
}

TEST(LevelClasses, StoredLevelsAreClampedBeforeRounding) {
    EXPECT_EQ(levelToInt16(2.5), 2);
    EXPECT_EQ(levelToInt16(3.5), 4);
    EXPECT_EQ(levelToInt16(-92.5), -92);
    EXPECT_EQ(levelToInt16(1e9), 32767);
    EXPECT_EQ(levelToInt16(-1e9), -32768);
    EXPECT_EQ(levelToInt16(std::numeric_limits<double>::infinity()), 32767);
    EXPECT_EQ(levelToInt16(std::nan("")), -32768);
}

TEST(PageKinds, ChosenByName) {
    struct Case {
        const char* name;
        PageKind kind;
    } cases[] = {{"nav@QKV.plt", PageKind::FacilityMap}, {"LOC@x.plt", PageKind::FacilityMap},
                 {"com@a", PageKind::FacilityMap},       {"fm@QKV.plt", PageKind::EmitterMap},
                 {"rfi.PLT", PageKind::EmitterMap},      {"LocHorU.ptx", PageKind::Pattern},
                 {"07____A2.plt", PageKind::Simulation}, {"Rcvr_Loc.plx", PageKind::Simulation}};
    for (const auto& c : cases) EXPECT_EQ(pageKindOf(c.name), c.kind) << c.name;
}

}  // namespace
