// The pattern and calibration files the case reader loads from the user folder.
#include <gtest/gtest.h>

#include <cmath>

#include "case_folder.h"
#include "case_input.h"
#include "failure.h"

namespace crv::engine {
namespace {

using test::CaseFolder;
using test::setColumns;

class UserFiles : public ::testing::Test {
protected:
    void SetUp() override {
        lines = test::ilsCaseLines();
        folder.writeUser("FmHor03.pat",
                         test::patternLines("Three-bay", "1 2", 10.0, test::descendingPercent));
    }
    std::string read() {
        folder.writeCase(lines);
        try {
            ReadData(state, folder.run);
        } catch (const EngineFailure& e) {
            return e.message();
        }
        return {};
    }
    void setOptions(const std::string& options) { lines[test::kOptionsLine] = options; }
    CaseFolder folder;
    std::vector<std::string> lines;
    EngineState state;
};

TEST_F(UserFiles, LocalizerPatternInDecibelsWithItsGain) {
    lines[test::kNavaidLine] = setColumns(lines[test::kNavaidLine], 55, 56, "38");
    // dB scale: point k is -k/2 dB.
    folder.writeUser("LocHor.pat", test::patternLines("Wide aperture LPD", "2 1 21.5", 5.0,
                                                      [](int k) { return -0.5 * k; }));
    ASSERT_EQ(read(), "");
    EXPECT_TRUE(state.patterns.localizer.loaded);
    EXPECT_DOUBLE_EQ(state.patterns.localizerGainDb, 21.5);
    EXPECT_EQ(state.patterns.localizer.description, "Wide aperture LPD");
    EXPECT_NEAR(state.patterns.localizer.values[0], 1.0, 1e-15);
    EXPECT_NEAR(state.patterns.localizer.values[2], std::pow(10.0, -1.0 / 20.0), 1e-15);
    EXPECT_NEAR(state.patterns.localizer.values[36], std::pow(10.0, -18.0 / 20.0), 1e-15);

    folder.writeUser("LocHor.pat", {"Wide aperture LPD", "2 1"});
    EXPECT_EQ(read(), "Line 2 of the localizer pattern file needs the kind, the scale and the gain:\r" + folder.user +
                          "LocHor.pat");
    std::filesystem::remove(folder.user + "LocHor.pat");
    EXPECT_EQ(read(), "Could not open localizer pattern file:\r" + folder.user + "LocHor.pat");
}

TEST_F(UserFiles, FmPatternsNeededByTheStationsOnly) {
    // Three stations share pattern 3; the ignored line names a missing pattern 7.
    lines[test::kSecondStation] = setColumns(lines[test::kSecondStation], 57, 58, "3");
    lines[test::kIgnoredStation] = setColumns(lines[test::kIgnoredStation], 57, 58, "7");
    lines[test::kSecondStation] = setColumns(lines[test::kSecondStation], 54, 55, "59");
    folder.writeUser("FmVrt2.pat", test::patternLines("Null fill", "1 2", 2.5, [](int k) { return 50.0 + k; }));
    ASSERT_EQ(read(), "");
    EXPECT_TRUE(state.patterns.fmHorizontal[3].loaded);
    EXPECT_FALSE(state.patterns.fmHorizontal[7].loaded);
    EXPECT_TRUE(state.patterns.fmVertical[2].loaded);
    EXPECT_DOUBLE_EQ(state.patterns.fmVertical[2].values[36], 0.86);

    std::filesystem::remove(folder.user + "FmVrt2.pat");
    EXPECT_EQ(read(), "Could not open FM vertical pattern file:\r" + folder.user + "FmVrt2.pat");

    auto shortPattern = test::patternLines("Three-bay", "1 2", 10.0, test::descendingPercent);
    shortPattern.pop_back();
    folder.writeUser("FmHor03.pat", shortPattern);
    EXPECT_EQ(read(), "The FM horizontal pattern file ends early (fewer than 37 points):\r" + folder.user +
                          "FmHor03.pat");
    shortPattern.push_back("360.0 6x.0");
    folder.writeUser("FmHor03.pat", shortPattern);
    EXPECT_EQ(read(), "Could not read the number \"6x.0\" in line 39 of FM horizontal pattern file:\r" + folder.user +
                          "FmHor03.pat");
    std::filesystem::remove(folder.user + "FmHor03.pat");
    EXPECT_EQ(read(), "Could not open FM horizontal pattern file:\r" + folder.user + "FmHor03.pat");
}

TEST_F(UserFiles, AntennaCalibrationTakesUpTo100Pairs) {
    setOptions("  1  0 63  2  3  2  3000  45  1000 500  1  0");
    auto calibration = [](int n) {
        std::vector<std::string> l = {"Loop antenna", "1"};
        for (int i = 0; i < n; ++i) l.push_back(std::to_string(88 + i) + " " + std::to_string(30 - i % 7));
        return l;
    };
    folder.writeUser("Antenna.cal", calibration(5));
    ASSERT_EQ(read(), "");
    ASSERT_EQ(state.patterns.antennaCalibration.size(), 5u);
    EXPECT_EQ(state.patterns.antennaCalibration[4], (std::pair<double, double>{92.0, 26.0}));

    folder.writeUser("Antenna.cal", calibration(150));
    ASSERT_EQ(read(), "");
    ASSERT_EQ(state.patterns.antennaCalibration.size(), 100u);
    EXPECT_EQ(state.patterns.antennaCalibration[99].first, 187.0);

    auto bad = calibration(3);
    bad.push_back("95.5");
    folder.writeUser("Antenna.cal", bad);
    EXPECT_EQ(read(), "Line 6 of the calibration file needs a frequency and a value:\r" + folder.user + "Antenna.cal");
    std::filesystem::remove(folder.user + "Antenna.cal");
    EXPECT_EQ(read(), "Could not open calibration file:\r" + folder.user + "Antenna.cal");

    // The field edition never uses the antenna calibration table.
    folder.setEdition("FLD");
    EXPECT_EQ(read(), "");
}

TEST_F(UserFiles, ReceiverCalibrationTakesTheThreshold) {
    setOptions("  1  1 40  7  3  2  3000  45  1000 500  1  0");
    std::vector<std::string> cal = {"Bench receiver", "2"};
    for (int i = 0; i < 11; ++i) cal.push_back(std::to_string(-101 + 5 * i) + "  " + std::to_string(-20 - i) + ".5");
    folder.writeUser("Receiver.cal", cal);
    ASSERT_EQ(read(), "");
    EXPECT_DOUBLE_EQ(state.patterns.receiverCalibration[1], -20.5);
    EXPECT_DOUBLE_EQ(state.patterns.receiverCalibration[11], -30.5);

    cal.pop_back();
    folder.writeUser("Receiver.cal", cal);
    EXPECT_EQ(read(), "The calibration file ends early (fewer than 11 receiver levels):\r" + folder.user +
                          "Receiver.cal");

    // Without intermodulation the receiver calibration is not needed.
    setOptions("  1  0 40  7  3  2  3000  45  1000 500  1  0");
    EXPECT_EQ(read(), "");
}

}  // namespace
}  // namespace crv::engine
