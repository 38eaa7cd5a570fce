// The facility database search through the SearchDB export: small databases
// built here, the result files read back and compared column by column.
// Expected lines were worked out by hand from the record and line layouts
// (and checked with a short script), never by running the search.
#include <gtest/gtest.h>

#include <unistd.h>
#include "crv/platform/temp_folder.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "crv/platform/message_box.h"
#include "crv/platform/settings_store.h"
#include "crv/testing/files.h"
#include "crv50.h"
#include "facility_database.h"
#include "facility_records.h"

namespace fs = std::filesystem;

namespace {

// A record built column by column (1-based), blanks elsewhere.
class Record {
public:
    explicit Record(std::size_t length) : text_(length, ' ') {}
    Record& at(int first, std::string_view value) {
        text_.replace(static_cast<std::size_t>(first - 1), value.size(), value);
        return *this;
    }
    const std::string& str() const { return text_; }

private:
    std::string text_;
};

// FM record: short layout 103 characters, long layout 109.
std::string fm(bool longLayout, std::string_view key, std::string_view lat, std::string_view lon, std::string_view call,
               std::string_view freq, std::string_view status, std::string_view erp1, std::string_view erp2,
               std::string_view heightM, std::string_view city = "NORTHFIELD") {
    Record r(longLayout ? 109 : 103);
    r.at(1, key).at(8, lat).at(15, lon).at(23, call).at(31, freq).at(36, "PA").at(38, city).at(82, status);
    r.at(94, erp1);
    if (longLayout)
        r.at(100, erp2).at(106, heightM);
    else
        r.at(100, heightM);
    return r.str();
}

// Navaid record, 135 characters.
std::string navaid(std::string_view key, std::string_view lat, std::string_view lon, std::string_view freq,
                   std::string_view bearing, std::string_view ident, std::string_view code,
                   std::string_view power = " 15", std::string_view name = "HARLOW REGIONAL") {
    Record r(135);
    r.at(1, key).at(8, lat).at(15, lon).at(23, freq).at(41, "PA  ").at(45, name).at(69, bearing).at(72, ident);
    r.at(80, "LOC").at(83, "ILS-CAT1").at(93, "350").at(99, "25").at(108, code).at(113, "RWY 27 FRONT");
    r.at(133, power);
    return r.str();
}

// COM record, 140 characters.
std::string com(std::string_view key, std::string_view lat, std::string_view lon, std::string_view freq,
                std::string_view radius = "", std::string_view height = "", std::string_view power = "50",
                std::string_view name = "CEDAR RIDGE RCO") {
    Record r(140);
    r.at(1, key).at(8, lat).at(15, lon).at(23, freq).at(41, "VA").at(45, name).at(93, "200").at(99, "40");
    r.at(131, power).at(134, radius).at(138, height);
    return r.str();
}

std::string framed(const std::vector<std::string>& records) {
    std::string bytes;
    for (const auto& r : records) bytes += r + "\r\n";
    return bytes;
}

using crv::testing::writeBytes;

std::vector<std::string> readLines(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::vector<std::string> lines;
    std::string line;
    while (std::getline(in, line)) {
        EXPECT_FALSE(line.empty() || line.back() != '\r') << "line not ended by CR LF in " << path;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(line);
    }
    return lines;
}

std::vector<std::string> messages;
void capture(const std::string& text, const std::string&, crv::platform::MessageIcon, void*) {
    messages.push_back(text);
}

int callbackCalls = 0;
int cancelAtCall = 0;  // 0 = never
void countingCallback(int32_t, int16_t* cancel) {
    ++callbackCalls;
    *cancel = (cancelAtCall != 0 && callbackCalls >= cancelAtCall) ? 1 : 0;
}

class SearchDBTest : public ::testing::Test {
protected:
    void SetUp() override {
        for (auto& [name, value] : savedEnvironment_) {
            const char* v = std::getenv(name);
            value = v ? std::optional<std::string>(v) : std::nullopt;
        }
        dir_ = fs::temp_directory_path() / ("crv-search-" + std::to_string(::getpid()) + "-" +
                                            ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir_);
        fs::create_directories(dir_ / "tmp");
        fs::permissions(dir_ / "tmp", fs::perms::owner_all, fs::perm_options::replace);
        ::setenv("TMPDIR", (dir_ / "tmp").c_str(), 1);
        ::setenv("CORVANE_SETTINGS", (dir_ / "settings.ini").c_str(), 1);
        oldCwd_ = fs::current_path();
        fs::current_path(dir_);
        crv::platform::SettingsStore store;
        ASSERT_TRUE(store.setMany("Paths", {{"FCC Database", (dir_ / "FMALL.dat").string()},
                                            {"QVA Database", (dir_ / "A108M118.dat").string()},
                                            {"COM Database", (dir_ / "G118M136.dat").string()}}));
        messages.clear();
        callbackCalls = 0;
        cancelAtCall = 0;
        crv::platform::setMessagePresenter(capture, nullptr);
    }
    void TearDown() override {
        crv::platform::setMessagePresenter(nullptr, nullptr);
        fs::current_path(oldCwd_);
        fs::remove_all(dir_);
        // The next test (in this process) must not look for its folders in
        // the one just removed.
        for (const auto& [name, value] : savedEnvironment_) {
            if (value)
                ::setenv(name, value->c_str(), 1);
            else
                ::unsetenv(name);
        }
    }

    fs::path result1() const { return fs::path(tempFolder()) / "RfiSrch1.tmp"; }
    fs::path result2() const { return fs::path(tempFolder()) / "RfiSrch2.tmp"; }
    // The process's own folder inside the user's (TMPDIR points into dir_).
    std::string tempFolder() const { return crv::platform::privateTempFolder().value(); }

    void database(const char* name, const std::vector<std::string>& records) {
        writeBytes(dir_ / name, framed(records));
    }

    struct Outcome {
        int16_t status;
        int16_t count;
    };
    Outcome search(int16_t db, int32_t option, float lat, float lon, float radius, float freq = 0, float f1lat = 0,
                   float f1lon = 0, float f2lat = 0, float f2lon = 0) {
        CrvSearchParams p{option, lat, lon, f1lat, f1lon, f2lat, f2lon, radius, freq};
        Outcome o{-1, -1};
        SearchDB(db, &p, countingCallback, &o.status, &o.count);
        return o;
    }

    fs::path dir_;
    fs::path oldCwd_;
    std::pair<const char*, std::optional<std::string>> savedEnvironment_[2] = {{"TMPDIR", {}},
                                                                               {"CORVANE_SETTINGS", {}}};
};

// Records used by several tests, around the centre 40 N 75 W.
const std::string kFmA =
    fm(false, " 40 075", " 401000", " 0750000", "WQAB-FM ", "101.5", "LIC   ", "  50.0", "", " 150");
const std::string kLineA = " WQAB    101.500  40 10 00   75 00 00  50.0000   492 NORTHFIELD                     PA LIC";

TEST_F(SearchDBTest, FmCircleWritesProponentLinesInBothLayouts) {
    for (bool longLayout : {false, true}) {
        fs::remove(result1());
        fs::remove(result2());
        database("FMALL.dat", {fm(longLayout, " 40 075", " 401000", " 0750000", "WQAB-FM ", "101.5", "LIC   ", "  50.0",
                                  "   0.0", " 150"),
                               // Implied decimal, blank in the call sign, only the second ERP.
                               fm(longLayout, " 40 075", " 401500", " 0751000", "K Z     ", " 1011", "CP    ", "   0.0",
                                  "  39.8", "  30"),
                               // Deleted licence: never written, never counted.
                               fm(longLayout, " 40 075", " 400500", " 0750500", "WDEL    ", " 99.9", "DEL   ", "   5.0",
                                  "   0.0", "  30"),
                               // Outside the 30 nmi radius.
                               fm(longLayout, " 40 075", " 405000", " 0750000", "WFAR    ", " 88.1", "LIC   ", "   5.0",
                                  "   0.0", "  30")});
        const auto o = search(CRV_DB_FM, 1, 40.0f, 75.0f, 30.0f);
        ASSERT_EQ(o.status, 0) << (messages.empty() ? "" : messages.back());
        EXPECT_EQ(o.count, 2);
        const auto lines = readLines(result1());
        ASSERT_EQ(lines.size(), 2u);
        EXPECT_EQ(lines[0], kLineA);
        // Second ERP only: the short layout has none, so the ERP is 0 there;
        // the long layout divides it by 39.8.
        const std::string erp = longLayout ? "  1.0000" : "  0.0000";
        EXPECT_EQ(lines[1], " KxZx    101.100  40 15 00   75 10 00" + std::string(" ") + erp +
                                "    98 NORTHFIELD                     PA CP ");
        EXPECT_FALSE(fs::exists(result2())) << "an FM circle writes no report";
    }
}

TEST_F(SearchDBTest, ErpRuleAndRfSourceLinesPerOption) {
    database("FMALL.dat",
             {fm(true, " 40 075", " 401000", " 0750000", "WQAB-FM ", "101.5", "LIC   ", "  50.0", "   0.0", " 150"),
              fm(true, " 40 075", " 401000", " 0750000", "WONE    ", "101.5", "LIC   ", "  39.8", "   0.0", " 150")});
    // Option 3: RF-source line and report, bearing from the station to the centre.
    auto o = search(CRV_DB_FM, 3, 40.0f, 75.0f, 30.0f);
    ASSERT_EQ(o.status, 0);
    EXPECT_EQ(o.count, 2);
    auto lines = readLines(result1());
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0], " WQAB    101.500  40 10 00   75 00 00  50.0000   492  0  0   0  0 LIC     0");
    auto report = readLines(result2());
    ASSERT_EQ(report.size(), 2u);
    EXPECT_EQ(report[0],
              " WQAB     101.500   LIC   40 10 00    75 00 00   50.0000    492   180    10   NORTHFIELD      "
              "          PA");
    // Option 4 prefers the second ERP; the first divided by 39.8 stands in.
    fs::remove(result1());
    fs::remove(result2());
    o = search(CRV_DB_FM, 4, 40.0f, 75.0f, 30.0f);
    ASSERT_EQ(o.status, 0);
    lines = readLines(result1());
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0].substr(38, 8), "  1.2563");  // 50 / 39.8
    EXPECT_EQ(lines[1].substr(38, 8), "  1.0000");  // 39.8 / 39.8
}

TEST_F(SearchDBTest, RadiusEdgeZeroRadiusAndEllipse) {
    // Due north of the centre by exactly half a degree: 30 nmi.
    database("FMALL.dat",
             {kFmA, fm(false, " 40 075", " 403000", " 0750000", "WEDG    ", " 95.5", "LIC   ", "   1.0", "", "  30")});
    struct Case {
        float radius;
        int count;
    };
    for (const Case c : {Case{30.0f, 2}, Case{29.99f, 1}, Case{0.0f, 0}}) {
        const auto o = search(CRV_DB_FM, 1, 40.0f, 75.0f, c.radius);
        ASSERT_EQ(o.status, 0);
        EXPECT_EQ(o.count, c.count) << "radius " << c.radius;
    }
    // Centred on a station, radius 0: its distance is the floor 0.00001 nmi.
    EXPECT_EQ(search(CRV_DB_FM, 1, 40.5f, 75.0f, 0.0f).count, 0);
    // An ellipse with foci 40N 75W and 40.5N 75W, semi-major axis 15.5 nmi:
    // station A (10 nmi from one focus, 20 from the other) and the edge
    // station (on a focus) are inside; the bearing and distance reported are
    // from the station to the centre 40.25N.
    fs::remove(result1());
    fs::remove(result2());
    const auto e = search(CRV_DB_FM, 2, 40.25f, 75.0f, 15.5f, 0, 40.0f, 75.0f, 40.5f, 75.0f);
    ASSERT_EQ(e.status, 0);
    EXPECT_EQ(e.count, 2);
    const auto report = readLines(result2());
    ASSERT_EQ(report.size(), 2u);
    EXPECT_EQ(report[0].substr(66, 9), "  0     5");  // A: 5 nmi south of the centre, looking north
    EXPECT_EQ(report[1].substr(66, 9), "180    15");  // edge station: 15 nmi north of it
}

TEST_F(SearchDBTest, CellsOnBothSidesOfZeroAreVisitedOnce) {
    // 51 N, around longitude 0: west positive, east negative ("-0" degrees
    // less than a degree east). Sorted by key: " 51 000" < " 51 001" < " 51-001".
    database("FMALL.dat",
             {fm(false, " 51 000", " 513000", "   02000", "WWST    ", " 90.1", "LIC   ", "   1.0", "", "  10"),
              fm(false, " 51 000", " 513000", "  -02000", "WEST    ", " 90.3", "LIC   ", "   1.0", "", "  10"),
              fm(false, " 51 001", " 513000", "   10100", "WWW1    ", " 90.5", "LIC   ", "   1.0", "", "  10"),
              fm(false, " 51-001", " 513000", "  -10100", "WEE1    ", " 90.7", "LIC   ", "   1.0", "", "  10"),
              // South of the equator cells sort after every northern one.
              fm(false, "-01 000", " -13000", "   00000", "WSOU    ", " 91.1", "LIC   ", "   1.0", "", "  10")});
    auto o = search(CRV_DB_FM, 1, 51.5f, 0.0f, 60.0f);
    ASSERT_EQ(o.status, 0);
    EXPECT_EQ(o.count, 4);
    auto lines = readLines(result1());
    ASSERT_EQ(lines.size(), 4u);
    std::vector<std::string> calls;
    for (const auto& l : lines) calls.push_back(l.substr(1, 4) + l.substr(27, 10));
    EXPECT_EQ(calls,
              (std::vector<std::string>{"WWW1   1 01 00", "WWST   0 20 00", "WEST  -0 20 00", "WEE1  -1 01 00"}));
    // A circle across the equator.
    fs::remove(result1());
    o = search(CRV_DB_FM, 1, 0.0f, 0.0f, 120.0f);
    ASSERT_EQ(o.status, 0);
    EXPECT_EQ(o.count, 1);
}

TEST_F(SearchDBTest, WideCircleAtSixtyNorthFindsFacilityNearItsEastEdge) {
    // 200 nmi around 60N 100W. A station at 60 12 00 N, 93 19 41 W lies
    // 199.91 nmi away (mean latitude 60.1), but 6.672 degrees of longitude
    // east: outside a window of 200/60/cos(60) = 6.667 degrees.
    database("FMALL.dat",
             {fm(false, " 60 093", " 601200", " 0931941", "WNE     ", " 99.1", "LIC   ", "   1.0", "", "  10")});
    const auto o = search(CRV_DB_FM, 1, 60.0f, 100.0f, 200.0f);
    ASSERT_EQ(o.status, 0);
    EXPECT_EQ(o.count, 1);
}

TEST_F(SearchDBTest, NavaidServiceVolumeCodesAndCourses) {
    struct Case {
        const char* code;
        const char* bearing;
        const char* ident;
        const char* written;
        int type;
        int course;
        int backCourse;
        char classLetter;
        int runwayLength;
    };
    const Case cases[] = {
        {"STD  ", "90 ", "ISTD    ", "IST", 0, 270, 0, 'I', 15000},
        {"OPT A", "180", "IOPA    ", "IOP", 1, 360, 0, 'I', 15000},
        {"OPT B", "270", "IOPB    ", "IOP", 0, 90, 1, 'I', 15000},
        {"OPT C", "   ", "IOPC    ", "IOP", 1, -1, 1, 'I', 15000},
        {"OPT T", "45 ", "TRM     ", "TRM", 5, 0, 0, 'V', 0},
        {"OPT L", "", "LO W    ", "LOx", 6, 0, 0, 'V', 0},
        {"OPT H", "", "HIG     ", "HIG", 7, 0, 0, 'V', 0},
    };
    std::vector<std::string> records;
    for (const auto& c : cases)
        records.push_back(navaid(" 40 075", " 400500", " 0751000", "1101000", c.bearing, c.ident, c.code));
    // An unknown code between known ones: skipped, not counted, and it does
    // not take the type of the record before it.
    records.insert(records.begin() + 3,
                   navaid(" 40 075", " 400500", " 0751000", "1101000", "90 ", "IBAD    ", "OPT Z"));
    database("A108M118.dat", records);
    const auto o = search(CRV_DB_NAVAID, 1, 40.0f, 75.0f, 30.0f);
    ASSERT_EQ(o.status, 0);
    EXPECT_EQ(o.count, 7);
    const auto lines = readLines(result1());
    const auto report = readLines(result2());
    ASSERT_EQ(lines.size(), 7u);
    ASSERT_EQ(report.size(), 7u);
    for (std::size_t i = 0; i < 7; ++i) {
        const Case& c = cases[i];
        const std::string& l = lines[i];
        SCOPED_TRACE(c.code);
        EXPECT_EQ(l.size(), 136u);
        EXPECT_EQ(l.substr(1, 3), c.written);
        EXPECT_EQ(std::stoi(l.substr(5, 3)), c.course);
        EXPECT_EQ(std::stoi(l.substr(44, 5)), c.runwayLength);
        EXPECT_EQ(std::stoi(l.substr(57, 2)), c.type);
        EXPECT_EQ(std::stoi(l.substr(70, 2)), c.backCourse);
        EXPECT_EQ(report[i][1], c.classLetter);
    }
    // One line byte for byte: OPT C with a blank bearing.
    EXPECT_EQ(lines[3],
              " IOP  -1 110.100  40 05 00   75 10 00   350 15000  15  0  1   0     0  1 HARLOW REGIONAL         "
              " PA LOC ILS-CAT1   RWY 27 FRONT        ");
    EXPECT_EQ(report[3],
              " IIOP    -1   110.100   40 05 00    75 10 00    15    350   303     9   HARLOW REGIONAL           PA");
}

TEST_F(SearchDBTest, NavaidRfSourcesAreTheVorsOnly) {
    database("A108M118.dat", {navaid(" 40 075", " 400500", " 0751000", "1101000", "90 ", "ILOC    ", "STD  "),
                              navaid(" 40 075", " 400500", " 0751000", "113.9000", "", "VOR     ", "OPT H", "200")});
    for (int option : {3, 4}) {
        fs::remove(result1());
        fs::remove(result2());
        const auto o = search(CRV_DB_NAVAID, option, 40.0f, 75.0f, 30.0f);
        ASSERT_EQ(o.status, 0);
        EXPECT_EQ(o.count, 1);
        const auto lines = readLines(result1());
        ASSERT_EQ(lines.size(), 1u);
        // 200 W is 0.2 kW; option 4 divides by 39.8. Elevation 350 + 25 ft.
        EXPECT_EQ(lines[0], std::string(" VVOR    113.900  40 05 00   75 10 00 ") +
                                (option == 4 ? "  0.0050" : "  0.2000") + "   375 56  0   0  0 VOR     0");
        const auto report = readLines(result2());
        ASSERT_EQ(report.size(), 1u);
        EXPECT_EQ(report[0].substr(20, 3), "VOR");
        EXPECT_EQ(report[0].substr(66, 3), "123");  // 303 reversed: from the VOR to the centre
    }
}

TEST_F(SearchDBTest, ComIdentifierDefaultsAndRfSourceErp) {
    database("G118M136.dat", {com(" 38 077", " 380000", " 0770000", "1180000"),
                              com(" 38 077", " 380000", " 0770000", "118.0750", "30", "45", "10")});
    auto o = search(CRV_DB_COM, 1, 38.0f, 77.0f, 10.0f);
    ASSERT_EQ(o.status, 0);
    EXPECT_EQ(o.count, 2);
    auto lines = readLines(result1());
    ASSERT_EQ(lines.size(), 2u);
    // Blank radius and height: 50 nmi, 10000 ft. 38N 77W on 118.000: "DW0".
    EXPECT_EQ(lines[0],
              " DW0   0 118.000  38 00 00   77 00 00   200     0  50  0  8  50 10000  0 CEDAR RIDGE RCO          VA"
              "                                    ");
    // 118.075 MHz: 75 kHz is 37.5 units, rounded to 38: 18038 = "DX2".
    EXPECT_EQ(lines[1].substr(1, 3), "DX2");
    EXPECT_EQ(lines[1].substr(60, 9), " 30  4500");
    EXPECT_EQ(lines[1].substr(50, 3), " 10");
    const auto report = readLines(result2());
    ASSERT_EQ(report.size(), 2u);
    EXPECT_EQ(report[0],
              " CDW0     0   118.000   38 00 00    77 00 00    50    200     0     0   CEDAR RIDGE RCO           VA");
    // As RF sources: ERP = W / 1000, divided by 39.8 except in a COM circle.
    for (int option : {3, 4}) {
        fs::remove(result1());
        o = search(CRV_DB_COM, option, 38.0f, 77.0f, 10.0f);
        ASSERT_EQ(o.status, 0);
        lines = readLines(result1());
        ASSERT_EQ(lines.size(), 2u);
        EXPECT_EQ(lines[0].substr(0, 9), " CDW0    ");
        EXPECT_EQ(lines[0].substr(38, 14), option == 4 ? "  0.0500   240" : "  0.0013   240");
        EXPECT_EQ(lines[0].substr(53, 2), "57");
        EXPECT_EQ(lines[0].substr(66, 3), "COM");
    }
}

TEST_F(SearchDBTest, ComIdentifierOfChannelsBetweenWholeKilohertz) {
    // The COM database holds four decimals: 118.0125 MHz is 6.25 units above
    // 118 (identifier 18006 = "DW6"), 118.0167 is 8.35 ("DW8"); rounding to
    // whole kHz first would give 6.5 and 8.5 and the next identifier.
    database("G118M136.dat",
             {com(" 38 077", " 380000", " 0770000", "118.0125"), com(" 38 077", " 380000", " 0770000", "1180167 ")});
    const auto o = search(CRV_DB_COM, 1, 38.0f, 77.0f, 10.0f);
    ASSERT_EQ(o.status, 0);
    const auto lines = readLines(result1());
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0].substr(1, 3), "DW6");
    EXPECT_EQ(lines[1].substr(1, 3), "DW8");
}

TEST_F(SearchDBTest, FrequencySearchComparesWholeKilohertz) {
    database("FMALL.dat",
             {fm(false, " 40 075", " 401000", " 0750000", "WONE    ", "101.1", "LIC   ", "   1.0", "", "  10"),
              fm(false, " 41 076", " 411000", " 0760000", "WTWO    ", " 1011", "LIC   ", "   1.0", "", "  10"),
              fm(false, " 42 077", " 421000", " 0770000", "WTRI    ", "101.3", "LIC   ", "   1.0", "", "  10")});
    // 101.1 as a single is 101.09999...: it must still equal both records.
    const auto o = search(CRV_DB_FM, 0, 0, 0, 0, 101.1f);
    ASSERT_EQ(o.status, 0);
    EXPECT_EQ(o.count, 2);
    const auto lines = readLines(dir_ / "Fr101100.tmp");
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0].substr(1, 4), "WONE");
    EXPECT_EQ(lines[1].substr(1, 4), "WTWO");
    EXPECT_FALSE(fs::exists(result1()));
    EXPECT_FALSE(fs::exists(result2()));
    // The file is rewritten from its start by the next search on that frequency.
    ASSERT_EQ(search(CRV_DB_FM, 0, 0, 0, 0, 101.1f).count, 2);
    EXPECT_EQ(readLines(dir_ / "Fr101100.tmp").size(), 2u);
    // Six digits with leading zeros, written even when nothing is found.
    ASSERT_EQ(search(CRV_DB_FM, 0, 0, 0, 0, 98.5f).count, 0);
    EXPECT_TRUE(fs::exists(dir_ / "Fr098500.tmp"));
    // A circle with a frequency: only the matching stations, again to the Fr file.
    const auto c = search(CRV_DB_FM, 1, 40.0f, 75.0f, 200.0f, 101.3f);
    ASSERT_EQ(c.status, 0);
    EXPECT_EQ(c.count, 1);
    EXPECT_EQ(readLines(dir_ / "Fr101300.tmp").size(), 1u);
    EXPECT_FALSE(fs::exists(result1()));
}

TEST_F(SearchDBTest, ArgumentChecksInOrder) {
    database("FMALL.dat", {kFmA});
    struct Case {
        int16_t db;
        CrvSearchParams p;
        const char* message;
    };
    const Case cases[] = {
        {0, {1, 40, 75, 0, 0, 0, 0, 10, 0}, "Invalid database selection"},
        {4, {1, 40, 75, 0, 0, 0, 0, 10, 0}, "Invalid database selection"},
        {1, {5, 40, 75, 0, 0, 0, 0, 10, 0}, "Invalid search option"},
        {1, {-1, 40, 75, 0, 0, 0, 0, 10, 0}, "Invalid search option"},
        {1, {0, 40, 75, 0, 0, 0, 0, 10, 0}, "Invalid frequency for search option 0"},
        {1, {1, 90.02f, 75, 0, 0, 0, 0, 10, 0}, "Invalid center latitude value"},
        {1, {3, 40, -180.02f, 0, 0, 0, 0, 10, 0}, "Invalid center longitude value"},
        {1, {2, 40, 75, 91, 0, 0, 0, 10, 0}, "Invalid latitude value for focus 1"},
        {1, {2, 40, 75, 40, 181, 0, 0, 10, 0}, "Invalid longitude value for focus 1"},
        {1, {2, 40, 75, 40, 75, -91, 0, 10, 0}, "Invalid latitude value for focus 2"},
        {1, {2, 40, 75, 40, 75, 40, 200, 10, 0}, "Invalid longitude value for focus 2"},
        {1, {1, 40, 75, 0, 0, 0, 0, -1, 0}, "Invalid search radius"},
    };
    for (const auto& c : cases) {
        messages.clear();
        int16_t status = -1, count = -1;
        SearchDB(c.db, &c.p, countingCallback, &status, &count);
        EXPECT_EQ(status, 2) << c.message;
        EXPECT_EQ(count, 0);
        ASSERT_EQ(messages.size(), 1u);
        EXPECT_EQ(messages[0], std::string("An error occurred in procedure SearchDB:\r\r") + c.message);
    }
    // The limits themselves are allowed; option 1 ignores the foci.
    EXPECT_EQ(search(CRV_DB_FM, 1, 90.0f, -180.0f, 10.0f, 0, 500, 500, 500, 500).status, 0);
    EXPECT_FALSE(fs::exists(result2()));
}

TEST_F(SearchDBTest, MissingOrMisframedDatabaseFailsNamingTheFile) {
    auto o = search(CRV_DB_NAVAID, 1, 40.0f, 75.0f, 30.0f);
    EXPECT_EQ(o.status, 2);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0], "An error occurred in procedure OpenQVA:\r\rCould not find QVA database file:\r" +
                               (dir_ / "A108M118.dat").string());
    EXPECT_FALSE(fs::exists(result1())) << "the result files are not opened";

    const std::string nav = navaid(" 40 075", " 400500", " 0751000", "1101000", "90 ", "IXY     ", "STD  ");
    struct Case {
        const char* what;
        int16_t db;
        const char* file;
        std::string bytes;
    };
    std::string lfOnly = nav + "\n" + nav + "\n";
    const Case cases[] = {
        {"record one character short", CRV_DB_NAVAID, "A108M118.dat", framed({nav.substr(1), nav.substr(1)})},
        {"LF-only lines of the right total", CRV_DB_NAVAID, "A108M118.dat", lfOnly + "\n\n"},
        {"second of three records one character short", CRV_DB_NAVAID, "A108M118.dat",
         framed({nav, nav.substr(1), nav})},
        {"shorter than one record", CRV_DB_NAVAID, "A108M118.dat", nav.substr(0, 40)},
        {"empty file", CRV_DB_COM, "G118M136.dat", ""},
        {"FM record of 104 characters", CRV_DB_FM, "FMALL.dat", framed({kFmA + " "})},
        {"FM LF-only", CRV_DB_FM, "FMALL.dat", kFmA + "\n" + kFmA + "\n"},
        {"FM second record misaligned", CRV_DB_FM, "FMALL.dat", framed({kFmA}) + kFmA + "\n\n"},
    };
    for (const auto& c : cases) {
        messages.clear();
        writeBytes(dir_ / c.file, c.bytes);
        o = search(c.db, 1, 40.0f, 75.0f, 30.0f);
        EXPECT_EQ(o.status, 2) << c.what;
        EXPECT_EQ(o.count, 0) << c.what;
        ASSERT_EQ(messages.size(), 1u) << c.what;
        EXPECT_NE(messages[0].find((dir_ / c.file).string()), std::string::npos) << c.what << ": " << messages[0];
    }
    // A record within the file that does not end as a record must is named.
    messages.clear();
    writeBytes(dir_ / "A108M118.dat", framed({nav, nav.substr(1), nav}));
    EXPECT_EQ(search(CRV_DB_NAVAID, 1, 40.0f, 75.0f, 30.0f).status, 2);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0],
              "An error occurred in procedure ReadQVA:\r\rQVA database file is not made of 135-character "
              "records ended by CR LF (record 2):\r" +
                  (dir_ / "A108M118.dat").string());
}

// The databases users have do not always end as they were written: an
// end-of-file mark after the last record, the last record without its CR LF,
// or the last record cut short. Every record whose first character is in the
// file counts (the search's own probe); a record cut short cannot be read and
// is never written; the whole records are searched as in an intact file, by
// area and by frequency.
TEST_F(SearchDBTest, DatabasesEndingAsUsersHaveThemAreSearched) {
    const std::vector<std::string> records = {
        navaid(" 40 075", " 400500", " 0751000", "1101000", "90 ", "IAAA    ", "STD  "),
        navaid(" 40 075", " 401000", " 0751000", "1103000", "90 ", "IBBB    ", "STD  "),
        navaid(" 40 075", " 401500", " 0751000", "1105000", "90 ", "ICCC    ", "STD  ")};
    const std::string intact = framed(records);
    struct Case {
        const char* what;
        std::string bytes;
        long count;     // records counted
        long readable;  // whole records
    } cases[] = {
        {"intact", intact, 3, 3},
        {"end-of-file mark after the last record", intact + "\x1a", 4, 3},
        {"last record without CR LF", intact.substr(0, intact.size() - 2), 3, 3},
        {"last record with the mark in place of its line end", intact.substr(0, intact.size() - 2) + "\x1a", 3, 3},
        {"last record with the mark in place of its LF", intact.substr(0, intact.size() - 1) + "\x1a", 3, 3},
        {"last record cut short", intact.substr(0, intact.size() - 60), 3, 2},
        {"only the key of the last record", intact.substr(0, 2 * 137 + 7), 3, 2},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        messages.clear();
        fs::remove(result1());
        fs::remove(result2());
        writeBytes(dir_ / "A108M118.dat", c.bytes);
        const crv::engine::DatabaseFile db((dir_ / "A108M118.dat").string(), 137,
                                           {"QVA", "OpenQVA        ", "ReadQVA        "});
        EXPECT_EQ(db.count(), c.count);
        for (long n = 1; n <= c.count; ++n) EXPECT_EQ(db.readable(n), n <= c.readable) << n;

        const auto area = search(CRV_DB_NAVAID, 1, 40.0f, 75.0f, 30.0f);
        EXPECT_EQ(area.status, 0);
        EXPECT_EQ(area.count, c.readable);
        EXPECT_TRUE(messages.empty()) << messages.front();
        const auto lines = readLines(result1());
        ASSERT_EQ(lines.size(), static_cast<std::size_t>(c.readable));
        for (std::size_t i = 0; i < lines.size(); ++i)
            EXPECT_EQ(lines[i].substr(1, 3), std::string("I") + "ABC"[i] + "ABC"[i]);

        // The frequency search walks every counted record: the cut one has
        // no frequency and matches nothing.
        const auto third = search(CRV_DB_NAVAID, 0, 0, 0, 0, 110.5f);
        EXPECT_EQ(third.status, 0);
        EXPECT_EQ(third.count, c.readable == 3 ? 1 : 0);
    }
}

TEST_F(SearchDBTest, CancelAfterFirstCellKeepsAppendedLines) {
    database("FMALL.dat",
             {fm(false, " 40 075", " 402000", " 0752000", "WONE    ", " 99.1", "LIC   ", "   1.0", "", "  10"),
              fm(false, " 40 076", " 402000", " 0760000", "WTWO    ", " 99.3", "LIC   ", "   1.0", "", "  10")});
    // 30 nmi around 40.5N 75.5W: cells 40-41 by 74-76, six cells; the first
    // callback comes after cell (40, 74), the second after (40, 75).
    cancelAtCall = 2;
    const auto o = search(CRV_DB_FM, 1, 40.5f, 75.5f, 30.0f);
    EXPECT_EQ(o.status, 1);
    EXPECT_EQ(o.count, 0);
    EXPECT_EQ(callbackCalls, 2);
    EXPECT_TRUE(messages.empty());
    const auto lines = readLines(result1());
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].substr(1, 4), "WONE");
}

TEST_F(SearchDBTest, TwoCallsAppendAndProgressPerCell) {
    database("FMALL.dat", {kFmA});
    database("G118M136.dat", {com(" 40 075", " 400000", " 0750000", "1180000")});
    ASSERT_EQ(search(CRV_DB_FM, 1, 40.0f, 75.0f, 30.0f).count, 1);
    // 30 nmi around 40N 75W: latitude cells 39, 40; longitude 74, 75.
    EXPECT_EQ(callbackCalls, 4);
    ASSERT_EQ(search(CRV_DB_COM, 1, 40.0f, 75.0f, 30.0f).count, 1);
    const auto lines = readLines(result1());
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0], kLineA);
    EXPECT_EQ(lines[1].substr(57, 2), " 8");
    EXPECT_EQ(readLines(result2()).size(), 1u);
}

TEST_F(SearchDBTest, HitCountSaturatesAt32767) {
    std::string bytes;
    const std::string r = kFmA + "\r\n";
    for (int i = 0; i < 32770; ++i) bytes += r;
    writeBytes(dir_ / "FMALL.dat", bytes);
    const auto o = search(CRV_DB_FM, 1, 40.0f, 75.0f, 30.0f);
    ASSERT_EQ(o.status, 0);
    EXPECT_EQ(o.count, 32767);
    EXPECT_EQ(readLines(result1()).size(), 32770u);
}

TEST(SearchDBUnits, CountRecordsProbesInStrides) {
    for (long n : {0L, 1L, 9L, 10L, 999L, 1000L, 1001L, 12345L}) {
        long probes = 0;
        const long found = crv::engine::CountRecords([&](long k) {
            ++probes;
            return k <= n;
        });
        EXPECT_EQ(found, n);
        EXPECT_LE(probes, n / 1000 + 40) << "probing, not reading every record";
    }
}

TEST(SearchDBUnits, CellKeysAndLeadingInt) {
    using crv::engine::cellKey;
    EXPECT_EQ(cellKey(38, 77), " 38 077");
    EXPECT_EQ(cellKey(0, 0), " 00 000");
    EXPECT_EQ(cellKey(-5, -3), "-05-003");
    EXPECT_EQ(cellKey(60, 122), " 60 122");
    EXPECT_EQ(cellKey(-90, -180), "-90-180");
    struct Case {
        const char* text;
        int value;
        bool found;
    };
    for (const Case c : {Case{"350   ", 350, true}, Case{" 350", 0, false}, Case{"-12", 0, false},
                         Case{"90 ", 90, true}, Case{"", 0, false}, Case{"10 W", 10, true}}) {
        bool found = true;
        EXPECT_EQ(crv::engine::LeadingInt(c.text, &found), c.value) << c.text;
        EXPECT_EQ(found, c.found) << c.text;
    }
}

TEST(SearchDBUnits, Base36StaysWithinThreeDigits) {
    // 38 N 77 W: a + b = 18000 = 13 * 1296 + 32 * 36 ("DW0"); f = NINT((MHz - 118) * 500).
    struct Case {
        double mhz;
        const char* id;
    };
    for (const Case c : {
             Case{118.0, "DW0"}, Case{118.075, "DX2"},  // 37.5 rounds up: 18038 = 13, 33, 2
             Case{118.0125, "DW6"},                     // 6.25: a channel between whole kHz
             Case{118.0167, "DW8"},                     // 8.35
             Case{118.017, "DW9"},                      // 8.5 rounds up
             Case{117.999, "DVZ"},                      // -0.5 rounds away from zero: 17999 = 13, 31, 35
             Case{0.0, "4D4"},                          // below 118 MHz: 18000 - 59000 reduced mod 46656 = 5656
         }) {
        crv::engine::FacilityRecord r;
        r.position.latDeg = 38;
        r.position.lonDeg = 77;
        r.frequencyMHz = c.mhz;
        r.frequencyKHz = crv::engine::frequencyKHzOf(c.mhz);
        EXPECT_EQ(crv::engine::Base36(r), c.id) << c.mhz;
    }
}

}  // namespace
