// The widened search area around a navaid and the antenna-type rules.
#include <gtest/gtest.h>

#include <cmath>

#include "crv/binding/fake_engine.h"
#include "crv/main/run/search_area.h"
#include "records.h"

using namespace crv::main::run;
using crv::binding::FakeEngine;
using crv::main::run::test::navaidRecord;
using crv::main::run::test::proponentRecord;

namespace {

float distanceTo(FakeEngine& e, float lat1, float lon1, float lat2, float lon2, float* bearing = nullptr) {
    float d = 0, b = 0;
    e.LLDist(lat1, lon1, lat2, lon2, d, b);
    if (bearing) *bearing = b;
    return d;
}

}  // namespace

TEST(SetSearchArea, ExpandedLocalizerEllipseLiesAlongTheBackCourse) {
    FakeEngine engine;
    // Course 90: the service area extends west of the localizer (bearing 270).
    const std::string nav = navaidRecord("IAB", "90", "109.100", "38 00 00", "77 00 00", 1);
    SearchParams r{};
    bool inside = false;
    SetSearchArea(engine, 1, 0.0f, "", nav, inside, r);
    EXPECT_TRUE(inside);
    EXPECT_EQ(r.option, 2);
    EXPECT_FLOAT_EQ(r.centreLatitude, 38.0f);
    EXPECT_FLOAT_EQ(r.centreLongitude, 77.0f);
    EXPECT_FLOAT_EQ(r.radiusNmi, 13.0f);
    // c = sqrt(13^2 - 9.85^2) = 8.4839; foci at 13 - c and 13 + c.
    float b1 = 0, b2 = 0;
    EXPECT_NEAR(distanceTo(engine, 38, 77, r.focus1Latitude, r.focus1Longitude, &b1), 4.516, 0.002);
    EXPECT_NEAR(distanceTo(engine, 38, 77, r.focus2Latitude, r.focus2Longitude, &b2), 21.484, 0.002);
    EXPECT_NEAR(b1, 270.0, 0.01);
    EXPECT_NEAR(b2, 270.0, 0.01);
    EXPECT_EQ(r.frequencyMHz, 0.0f);
}

TEST(SetSearchArea, CirclesAndTheProponentTest) {
    FakeEngine engine;
    // One degree of latitude is 60 nmi: a proponent 0.5 degrees north is 30 nmi away.
    const std::string north30 = proponentRecord("WAAA", "98.100", "38 30 00", "77 00 00");
    struct Case {
        int type;
        int svRadius;
        float radius;
        int option;
        float expectedRadius;
        bool inside;
    } cases[] = {
        {5, 0, 0.0f, 3, 25.0f, false},   // VOR terminal: 25 nmi
        {5, 0, 5.0f, 3, 30.0f, true},    // widened to 30: on the edge counts as inside
        {6, 0, 0.0f, 3, 40.0f, true},    // low altitude: 40
        {7, 0, 30.0f, 3, 70.0f, true},   // high altitude: 40 + 30
        {8, 20, 5.0f, 4, 25.0f, false},  // VHF COM: its own radius + the search radius
        {8, 20, 10.0f, 4, 30.0f, true},
    };
    for (const auto& c : cases) {
        const std::string nav = navaidRecord("ABC", "0", "115.000", "38 00 00", "77 00 00", c.type, c.svRadius);
        SearchParams r{};
        bool inside = !c.inside;
        SetSearchArea(engine, static_cast<std::int16_t>(c.type), c.radius, north30, nav, inside, r);
        SCOPED_TRACE("type " + std::to_string(c.type) + " radius " + std::to_string(c.radius));
        EXPECT_EQ(r.option, c.option);
        EXPECT_FLOAT_EQ(r.radiusNmi, c.expectedRadius);
        EXPECT_EQ(inside, c.inside);
        EXPECT_EQ(CheckNavaidDistance(engine, static_cast<std::int16_t>(c.type), c.radius, 38.5f, 77.0f, nav),
                  c.inside);
    }
}

TEST(SetSearchArea, ProponentInsideTheEllipseOnlyAlongTheCourse) {
    FakeEngine engine;
    // Standard localizer, course 0: the area lies south (bearing 180). With
    // radius 30, A = 39.7 and the ellipse reaches 9.7 + 39.7 = 49.4 nmi south
    // but only 39.7 - 9.7 = 30 nmi north.
    const std::string nav = navaidRecord("IXY", "0", "109.300", "38 00 00", "77 00 00", 0);
    struct Case {
        const char* lat;
        bool inside;
    } cases[] = {{"37 12 00", true},    // 48 nmi south
                 {"37 09 00", false},   // 51 nmi south
                 {"38 29 00", true},    // 29 nmi north
                 {"38 31 00", false}};  // 31 nmi north
    for (const auto& c : cases) {
        SearchParams r{};
        bool inside = !c.inside;
        SetSearchArea(engine, 0, 30.0f, proponentRecord("WAAA", "98.100", c.lat, "77 00 00"), nav, inside, r);
        EXPECT_EQ(inside, c.inside) << c.lat;
    }
}

TEST(SetSearchArea, BlankCourseGetsTheCircleHoldingTheEllipse) {
    FakeEngine engine;
    const std::string nav = navaidRecord("IZZ", "-1", "109.500", "38 00 00", "77 00 00", 0);
    SearchParams r{};
    bool inside = false;
    // 45 nmi north: outside any ellipse along a made-up course 179, inside the
    // 9.7 + 39.7 nmi circle.
    SetSearchArea(engine, 0, 30.0f, proponentRecord("WAAA", "98.100", "38 45 00", "77 00 00"), nav, inside, r);
    EXPECT_EQ(r.option, 3);
    EXPECT_NEAR(r.radiusNmi, 49.4f, 1e-4);
    EXPECT_TRUE(inside);
}

TEST(WidenedReach, NavaidSearchRadiusCoversEveryWidenedArea) {
    EXPECT_NEAR(widenedReachNmi(0, 0, 30), 49.4, 1e-5);  // 9.7 + 9.7 + 30
    EXPECT_NEAR(widenedReachNmi(1, 0, 30), 56.0, 1e-5);  // 13 + 13 + 30
    EXPECT_NEAR(widenedReachNmi(5, 0, 30), 55.0, 1e-9);
    EXPECT_NEAR(widenedReachNmi(7, 0, 30), 70.0, 1e-9);
    EXPECT_NEAR(widenedReachNmi(8, 50, 30), 80.0, 1e-9);
}

namespace {
// Code in characters 1-2, D2 in 5-14, D3 in 16-35.
std::string description(const std::string& code, const std::string& d2, const std::string& d3) {
    std::string s(35, ' ');
    s.replace(0, code.size(), code);
    s.replace(4, d2.size(), d2);
    s.replace(15, d3.size(), d3);
    return s;
}
}  // namespace

TEST(GetAntennaType, RulesInOrder) {
    struct Case {
        const char* code;
        const char* d2;
        const char* d3;
        int type;
    } cases[] = {
        {"04", "", "CA1339 8 LOOP", 2},
        {"99", "", "FA8844", 3},
        {"99", "", "FA9320", 4},
        {"99", "", "FA9325", 5},
        {"99", "", "FA9912", 6},
        {"99", "", "FA9759", 8},
        {"99", "WAVEG", "", 13},
        {"12", "MVRING", "", 14},
        {"11", "MVRING", "", 0},       // further test fails: no type, no fallback for 11
        {"99", "", "STAN 37", 19},
        {"99", "", "1204", 17},
        {"13", "", "AIL TWIN", 20},
        {"12", "VRING", "AIL", 3},      // rule 10 fails, the code decides: VRING
        {"17", "", "MK-XII", 6},
        {"20", "", "MK-XII", 7},
        {"05", "", "MK-1", 6},          // rule 11 fails, nothing from code 5, MK 1 family: 6
        {"17", "", "1100 ASI", 6},
        {"17", "TRAVEL", "GRN-27", 9},
        {"17", "PARAB", "GRN-27 (N)", 10},
        {"17", "PARAB", "GRN-27 (W)", 11},
        {"99", "", "MRN7", 12},
        {"23", "", "GRN-29", 8},
        {"28", "", "GRN30", 8},
        {"04", "", "LOOP ARRAY", 2},
        {"14", "TRAV WAVE", "", 4},
        {"14", "DIPOLE", "", 17},
        {"15", "", "", 18},
        {"16", "", "", 15},
        {"17", "TRAVEL 6", "", 9},
        {"17", "TRV", "", 5},
        {"17", "LPD", "", 6},
        {"20", "", "", 7},
        {"23", "", "", 8},
        {"99", "", "UNKNOWN MODEL", 0},
        {"  ", "", "", 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(GetAntennaType(description(c.code, c.d2, c.d3)), c.type)
            << c.code << " / " << c.d2 << " / " << c.d3;
}
