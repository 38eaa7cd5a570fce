#include "case_input.h"

#include <gtest/gtest.h>

#include <functional>

#include "case_folder.h"
#include "failure.h"

namespace crv::engine {
namespace {

using test::CaseFolder;
using test::setColumns;

// Reads the case and returns the failure message, or "" when it was read.
std::string readFailure(EngineState& state, const std::string& folder) {
    try {
        ReadData(state, folder);
    } catch (const EngineFailure& e) {
        EXPECT_EQ(e.routine(), "ReadData       ");
        return e.message();
    }
    return {};
}

class CaseInput : public ::testing::Test {
protected:
    void SetUp() override {
        lines = test::ilsCaseLines();
        folder.writeUser("FmHor03.pat", test::patternLines("Three-bay directional", "1 2", 10.0,
                                                           test::descendingPercent));
    }
    std::string read(const std::vector<std::string>& caseLines, const char* eol = "\r\n") {
        folder.writeCase(caseLines, eol);
        return readFailure(state, folder.run);
    }
    CaseFolder folder;
    std::vector<std::string> lines;
    EngineState state;
};

TEST_F(CaseInput, ReadsTheTwoStationIlsCase) {
    ASSERT_EQ(read(lines), "");
    const Facility& n = state.navaid;
    EXPECT_EQ(n.identifier, "ILX");
    EXPECT_DOUBLE_EQ(n.runwayHeadingDeg, 123.0);
    EXPECT_DOUBLE_EQ(n.frequencyMHz, 110.1);
    EXPECT_EQ(n.frequencyKHz, 110100);
    EXPECT_NEAR(n.latitude, 40.50416666666667, 1e-12);
    EXPECT_NEAR(n.longitude, 75.34166666666667, 1e-12);
    EXPECT_DOUBLE_EQ(n.fieldElevationFt, 500.0);
    EXPECT_DOUBLE_EQ(n.runwayLengthFt, 8000.0);
    EXPECT_DOUBLE_EQ(n.transmitterPower, 15.0);
    EXPECT_EQ(n.arrayType, 6);  // 0, the ILS default, reads as 6
    EXPECT_EQ(n.serviceVolumeType, 0);
    EXPECT_DOUBLE_EQ(n.serviceVolumeRadiusNmi, 18.0);
    EXPECT_DOUBLE_EQ(n.serviceVolumeHeightFt, 4500.0);

    // The ignored line is not stored but still counts: ordinals 1 and 3.
    ASSERT_EQ(state.stations.size(), 2u);
    const Station& a = state.slot(1);
    EXPECT_EQ(a.callSign, "WAAA-FM");
    EXPECT_EQ(a.ordinal, 1);
    EXPECT_TRUE(a.proponent);
    EXPECT_EQ(a.frequencyKHz, 101100);
    EXPECT_NEAR(a.latitude, 40.0 + 35.0 / 60.0, 1e-12);
    EXPECT_NEAR(a.longitude, 75.0 + 25.0 / 60.0, 1e-12);
    EXPECT_DOUBLE_EQ(a.erpKw, 50.0);
    EXPECT_DOUBLE_EQ(a.antennaElevationFt, 800.0);
    EXPECT_EQ(a.elementType, 12);
    EXPECT_EQ(a.horizontalPattern, 3);
    EXPECT_DOUBLE_EQ(a.rotationDeg, 45.0);
    EXPECT_EQ(a.licenceStatus, "LIC");
    const Station& c = state.slot(2);
    EXPECT_EQ(c.callSign, "WCCC");
    EXPECT_EQ(c.ordinal, 3);
    EXPECT_FALSE(c.proponent);
    EXPECT_EQ(c.frequencyKHz, 98500);
    EXPECT_EQ(c.elementType, 57);
    EXPECT_EQ(c.licenceStatus, "CP");

    EXPECT_EQ(state.proponents, std::vector<std::int16_t>{1});
    const CaseOptions& o = state.options;
    EXPECT_EQ(o.gridType, 1);
    EXPECT_EQ(o.intermodType, 0);
    EXPECT_EQ(o.antennaRejection, 40);  // scientific edition: kept
    EXPECT_EQ(o.criteriaType, 2);
    EXPECT_EQ(o.cutoffType, 3);
    EXPECT_EQ(o.outputStyle, 2);
    EXPECT_DOUBLE_EQ(o.gridAltitudeFt, 3000.0);
    EXPECT_DOUBLE_EQ(o.gridAngleDeg, 45.0);
    EXPECT_DOUBLE_EQ(o.horIncrementFt, 1000.0);
    EXPECT_DOUBLE_EQ(o.vrtIncrementFt, 500.0);
    EXPECT_EQ(o.prescreen, 1);
    EXPECT_EQ(o.observeIcaoMinimum, 0);
    EXPECT_FALSE(o.regressionCriteria);
    EXPECT_DOUBLE_EQ(o.gridAngleUsedDeg, 45.0);

    EXPECT_EQ(state.texts.airspaceCase, "ILX TEST CASE");
    EXPECT_EQ(state.texts.site, "Lakeside Municipal");
    EXPECT_EQ(state.texts.date, "01/02/24");
    EXPECT_EQ(state.texts.labels, (std::vector<std::string>{"ILS Localizer (default)", "ILS U.S. Standard"}));

    EXPECT_EQ(state.paths.runFolder, folder.run);
    EXPECT_EQ(state.paths.userFolder, folder.user);
    EXPECT_TRUE(state.scientific);
    // Pattern 3, percent values: point k is (100 - k) %.
    EXPECT_TRUE(state.patterns.fmHorizontal[3].loaded);
    EXPECT_DOUBLE_EQ(state.patterns.fmHorizontal[3].values[0], 1.0);
    EXPECT_DOUBLE_EQ(state.patterns.fmHorizontal[3].values[36], 0.64);
    EXPECT_EQ(state.patterns.fmHorizontal[3].description, "Three-bay directional");
    EXPECT_FALSE(state.patterns.fmHorizontal[2].loaded);
}

TEST_F(CaseInput, LineEndingsDoNotMatter) {
    ASSERT_EQ(read(lines, "\r\n"), "");
    EngineState crlf = state;
    ASSERT_EQ(read(lines, "\n"), "");
    EXPECT_EQ(state.stations.size(), crlf.stations.size());
    EXPECT_EQ(state.slot(2).callSign, crlf.slot(2).callSign);
    EXPECT_EQ(state.slot(2).licenceStatus, crlf.slot(2).licenceStatus);
    EXPECT_EQ(state.texts.date, crlf.texts.date);
    EXPECT_EQ(state.texts.labels, crlf.texts.labels);
    EXPECT_EQ(state.navaid.serviceVolumeHeightFt, crlf.navaid.serviceVolumeHeightFt);
}

TEST_F(CaseInput, AcceptsOnlyVersionsFrom502To506) {
    const std::pair<const char*, bool> cases[] = {
        {"CRV Version 5.0.1", false}, {"CRV Version 5.0.2", true}, {"CRV Version 5.0.4", true},
        {"CRV Version 5.0.6", true},  {"CRV Version 5.0.7", false}, {"", false},
        {" ILX 123 110.100", false},  // the oldest layout has no version line
    };
    for (const auto& [version, accepted] : cases) {
        lines[test::kVersionLine] = version;
        EXPECT_EQ(read(lines), accepted ? "" : "Could not read obsolete data file") << version;
    }
}

TEST_F(CaseInput, FieldEditionForcesRejectionAndCutoffToTheCriteria) {
    folder.setEdition("FLD");
    ASSERT_EQ(read(lines), "");
    EXPECT_FALSE(state.scientific);
    EXPECT_EQ(state.options.criteriaType, 2);
    EXPECT_EQ(state.options.antennaRejection, 2);
    EXPECT_EQ(state.options.cutoffType, 2);

    // The range checks see the forced values: criteria 7 forces cutoff 7.
    lines[test::kOptionsLine] = "  1  0 40  7  3  2  3000  45  1000 500  1  0";
    EXPECT_EQ(read(lines), "Invalid cutoff criteria type");
    folder.setEdition("SCI");
    EXPECT_EQ(read(lines), "");
    EXPECT_EQ(state.options.cutoffType, 3);
    EXPECT_TRUE(state.options.regressionCriteria);
}

struct Mutation {
    const char* name;
    std::function<void(std::vector<std::string>&)> change;
    std::string message;  // "" = accepted
};

TEST_F(CaseInput, RefusesBadValuesWithTheirMessage) {
    auto navaid = [](int first, int last, std::string text) {
        return [=](std::vector<std::string>& l) {
            l[test::kNavaidLine] = setColumns(l[test::kNavaidLine], first, last, text);
        };
    };
    auto station = [](std::size_t line, int first, int last, std::string text) {
        return [=](std::vector<std::string>& l) { l[line] = setColumns(l[line], first, last, text); };
    };
    auto options = [](std::string text) {
        return [=](std::vector<std::string>& l) { l[test::kOptionsLine] = text; };
    };
    const std::string line3 = " in line 3 of simulation data file";
    const Mutation cases[] = {
        {"array type 39", navaid(55, 56, "39"), "Invalid navaid array type"},
        {"array type -1", navaid(55, 56, "-1"), "Invalid navaid array type"},
        {"service volume 9", navaid(58, 59, "9"), "Invalid navaid service volume type"},
        {"VOR antenna on a localizer volume", navaid(55, 56, "36"),
         "Navaid array type 36 cannot be used with service volume type 0: the localizer model takes array types "
         "1 to 35 and 38."},
        {"localizer array on a COM volume", navaid(58, 59, "8"),
         "Navaid array type 6 cannot be used with service volume type 8: the VHF COM model takes array types 1 "
         "and 37."},
        {"constant level on any volume",
         [](std::vector<std::string>& l) {
             l[1] = setColumns(setColumns(l[1], 55, 56, "1"), 58, 59, "6");
         },
         ""},
        {"zero transmitter power", navaid(51, 53, "0"),
         "Invalid navaid transmitter power in line 2 of simulation data file (it must be greater than 0)."},
        {"negative transmitter power", navaid(51, 53, "-5"),
         "Invalid navaid transmitter power in line 2 of simulation data file (it must be greater than 0)."},
        {"zero power with a constant level",
         [](std::vector<std::string>& l) {
             l[1] = setColumns(setColumns(l[1], 51, 53, "0"), 55, 56, "1");
         },
         ""},
        {"zero navaid frequency", navaid(10, 16, "0.000"),
         "Invalid navaid frequency in line 2 of simulation data file (it must be greater than 0 MHz)."},
        {"duplicated frequency", station(test::kFirstStation, 10, 16, "110.100"),
         "Navaid frequency is duplicated in input data file"},
        {"duplicated frequency on an ignored line", station(test::kIgnoredStation, 10, 16, "110.100"), ""},
        {"element type 64", station(test::kFirstStation, 54, 55, "64"), "Invalid radiating element type"},
        {"element type -1", station(test::kFirstStation, 54, 55, "-1"), "Invalid radiating element type"},
        {"pattern 26", station(test::kFirstStation, 57, 58, "26"), "Invalid FM horizontal pattern number"},
        {"pattern -1", station(test::kFirstStation, 57, 58, "-1"), "Invalid FM horizontal pattern number"},
        {"zero ERP", station(test::kFirstStation, 39, 46, "0.0000"),
         "Invalid ERP of RF source WAAA-FM" + line3 + " (it must be greater than 0)."},
        {"zero ERP on an ignored line", station(test::kIgnoredStation, 39, 46, "0.0000"), ""},
        {"negative frequency", station(test::kFirstStation, 10, 16, "-98.100"),
         "Invalid frequency of RF source WAAA-FM" + line3 + " (it must be greater than 0 MHz)."},
        {"grid type 13", options(" 13  0 40  2  3  2  3000  45  1000 500  1  0"), "Invalid simulation grid type"},
        {"grid type 0", options("  0  0 40  2  3  2  3000  45  1000 500  1  0"), "Invalid simulation grid type"},
        {"intermod 7", options("  1  7 40  2  3  2  3000  45  1000 500  1  0"), "Invalid intermod calculation type"},
        {"rejection 64", options("  1  0 64  2  3  2  3000  45  1000 500  1  0"), "Invalid antenna rejection type"},
        {"criteria 8", options("  1  0 40  8  3  2  3000  45  1000 500  1  0"), "Invalid interference criteria type"},
        {"cutoff 7", options("  1  0 40  2  7  2  3000  45  1000 500  1  0"), "Invalid cutoff criteria type"},
        {"commas in the options line", options("1,0,40,2,3,2,3000,45,1000,500,1,0"), ""},
        {"grid altitude beyond a single real", options("  1  0 40  2  3  2  1e300  45  1000 500  1  0"),
         "The value \"1e300\" in line 7 of simulation data file is out of range:\r" + folder.run + "Rfi.plt"},
    };
    for (const auto& c : cases) {
        auto changed = lines;
        c.change(changed);
        EXPECT_EQ(read(changed), c.message) << c.name;
    }
}

TEST_F(CaseInput, RefusesFilesThatEndEarlyOrHoldNoNumber) {
    const std::string path = folder.run + "Rfi.plt";
    auto upTo = [&](std::size_t n) { return std::vector<std::string>(lines.begin(), lines.begin() + n); };
    EXPECT_EQ(read({}), "The simulation data file ends early (no version line):\r" + path);
    EXPECT_EQ(read(upTo(1)), "The simulation data file ends early (no navaid line):\r" + path);
    EXPECT_EQ(read(upTo(4)), "The simulation data file ends early (no line \" $$$$\" after the RF sources):\r" + path);
    EXPECT_EQ(read(upTo(6)), "The simulation data file ends early (no options line):\r" + path);
    EXPECT_EQ(read(upTo(7)), "The simulation data file ends early (no case line):\r" + path);
    EXPECT_EQ(read(upTo(8)), "");  // the label lines are optional

    auto shortOptions = lines;
    shortOptions[test::kOptionsLine] = "  1  0 40  2  3  2  3000  45  1000 500  1";
    EXPECT_EQ(read(shortOptions),
              "The options line (line 7) of the simulation data file holds fewer than 12 values:\r" + path);

    auto badErp = lines;
    badErp[test::kFirstStation] = setColumns(badErp[test::kFirstStation], 39, 46, "5O.0000");
    EXPECT_EQ(read(badErp),
              "Could not read the number \"5O.0000\" in line 3, columns 39-46, of simulation data file:\r" + path);
    auto badOption = lines;
    badOption[test::kOptionsLine] = "  1  0 40  2  3  2  3000  45  1000 500  1.5  0";
    EXPECT_EQ(read(badOption), "Could not read the number \"1.5\" in line 7 of simulation data file:\r" + path);

    // A line far beyond the fixed columns is not a case file: the reader
    // stops there instead of reading on.
    auto longLine = lines;
    longLine[test::kNavaidLine] += std::string(600, ' ');
    EXPECT_EQ(read(longLine),
              "Could not read simulation data file (line 2 is longer than 512 characters):\r" + path);

    std::filesystem::remove(path);
    EXPECT_EQ(readFailure(state, folder.run), "Could not open simulation data file:\r" + path);
}

TEST_F(CaseInput, AFailedReadLeavesTheStateAsItWas) {
    ASSERT_EQ(read(lines), "");
    auto bad = lines;
    bad[test::kNavaidLine] = setColumns(bad[test::kNavaidLine], 55, 56, "39");
    bad[test::kFirstStation] = setColumns(bad[test::kFirstStation], 2, 8, "WZZZ");
    ASSERT_NE(read(bad), "");
    EXPECT_EQ(state.slot(1).callSign, "WAAA-FM");
    EXPECT_EQ(state.navaid.arrayType, 6);
}

TEST_F(CaseInput, HonoursTheSignOfMinusZeroDegrees) {
    lines[test::kNavaidLine] = setColumns(lines[test::kNavaidLine], 28, 31, "-0");
    lines[test::kSecondStation] = setColumns(lines[test::kSecondStation], 18, 20, "-0");
    ASSERT_EQ(read(lines), "");
    EXPECT_NEAR(state.navaid.longitude, -(20.0 / 60.0 + 30.0 / 3600.0), 1e-12);
    EXPECT_NEAR(state.slot(2).latitude, -(20.0 / 60.0), 1e-12);
    EXPECT_NEAR(state.navaid.latitude, 40.50416666666667, 1e-12);
}

TEST_F(CaseInput, GridTypes4And6AimAtTheFirstProponent) {
    // Both stations proponents: the list runs from the last slot to the first.
    lines[test::kSecondStation] = setColumns(lines[test::kSecondStation], 64, 65, "1");
    for (const char* grid : {"4", "6"}) {
        lines[test::kOptionsLine] = setColumns(lines[test::kOptionsLine], 1, 3, grid);
        ASSERT_EQ(read(lines), "");
        EXPECT_EQ(state.proponents, (std::vector<std::int16_t>{2, 1}));
        // Bearing navaid -> slot 2 is 142.0495 degrees; a localizer volume adds 180.
        EXPECT_NEAR(state.options.gridAngleUsedDeg, 322.0495061155832, 1e-9) << grid;
    }
    lines[test::kNavaidLine] = setColumns(setColumns(lines[test::kNavaidLine], 55, 56, "36"), 58, 59, "5");
    ASSERT_EQ(read(lines), "");
    EXPECT_NEAR(state.options.gridAngleUsedDeg, 142.04950611558317, 1e-9);

    // Other grid types use the options line's angle, wrapped.
    lines[test::kOptionsLine] = "  2  0 40  2  3  2  3000 -90  1000 500  1  0";
    ASSERT_EQ(read(lines), "");
    EXPECT_DOUBLE_EQ(state.options.gridAngleUsedDeg, 270.0);
}

TEST_F(CaseInput, GridTypes4And6NeedAProponent) {
    lines[test::kFirstStation] = setColumns(lines[test::kFirstStation], 64, 65, "0");
    lines[test::kOptionsLine] = setColumns(lines[test::kOptionsLine], 1, 3, "4");
    EXPECT_EQ(read(lines),
              "Grid types 4 and 6 aim the vertical grid at the first proponent, but no RF source of the case is "
              "marked as proponent.");
    lines[test::kOptionsLine] = setColumns(lines[test::kOptionsLine], 1, 3, "5");
    EXPECT_EQ(read(lines), "");
    EXPECT_TRUE(state.proponents.empty());
}

// A case with `stored` RF sources after `ignored` ignored lines.
std::vector<std::string> manyStations(const std::vector<std::string>& base, int ignored, int stored) {
    std::vector<std::string> out(base.begin(), base.begin() + test::kFirstStation);
    std::string line = base[test::kSecondStation];
    for (int i = 0; i < ignored; ++i) out.push_back(setColumns(line, 64, 65, "2"));
    for (int i = 0; i < stored; ++i) {
        char mhz[16];
        std::snprintf(mhz, sizeof mhz, "%7.3f", 88.0 + 0.01 * i);
        std::string call = "W" + std::to_string(i);
        call.resize(7, ' ');
        out.push_back(setColumns(setColumns(line, 10, 16, mhz), 2, 8, call));
    }
    out.insert(out.end(), base.begin() + test::kEndLine, base.end());
    return out;
}

TEST_F(CaseInput, LimitsStationCountAndOrdinal) {
    EXPECT_EQ(read(manyStations(lines, 0, kMaxStations)), "");
    EXPECT_EQ(state.stations.size(), 1280u);
    EXPECT_EQ(read(manyStations(lines, 0, kMaxStations + 1)),
              "The simulation data file holds more than 1280 RF sources (ignored lines not counted).");
    // 15 ignored lines put the last station at ordinal 1295, the last one a
    // result file name can carry; one more and it cannot be named.
    EXPECT_EQ(read(manyStations(lines, 15, kMaxStations)), "");
    EXPECT_EQ(state.stations.back().ordinal, 1295);
    EXPECT_EQ(read(manyStations(lines, 16, kMaxStations)),
              "RF source W1279 in line 1298 of simulation data file is RF-source line 1296; result files can name "
              "RF-source lines only up to 1295.");
}

}  // namespace
}  // namespace crv::engine
