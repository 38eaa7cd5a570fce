// The report heading and the pattern plot files, against goldens written out
// from the layouts (data/report_heading/make_expected.py).
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>

#include "case_folder.h"
#include "case_input.h"
#include "crv/formats/numbers.h"
#include "crv/formats/pattern_plot_file.h"
#include "report_heading.h"

using namespace crv::engine;
namespace fs = std::filesystem;

namespace {
const std::string kExpected = std::string(CRV_TEST_DATA) + "report_heading/";

EngineState readCase(test::CaseFolder& folder, std::vector<std::string> lines) {
    folder.writeUser("FmHor03.pat", test::patternLines("Three", "1 2", 10, test::descendingPercent));
    folder.writeCase(lines);
    EngineState state;
    ReadData(state, folder.run);
    return state;
}

std::string heading(const EngineState& state, const std::string& run) {
    ReportFile report;
    report.create(run, "test");
    WriteHeader(state, report);
    report.close("test");
    return test::readBytes(run + "Rfi.txt");
}
}  // namespace

TEST(ReportHeading, MatchesTheGolden) {
    test::CaseFolder folder;
    const EngineState state = readCase(folder, test::ilsCaseLines());
    EXPECT_EQ(heading(state, folder.run), test::readBytes(kExpected + "Rfi.txt"));
    EXPECT_EQ(test::readBytes(folder.run + "FmHorU03.ptx"), test::readBytes(kExpected + "FmHorU03.ptx"));
    // Element types 12 and 57 are in use; the default array (6) has a table pattern.
    for (const char* name : {"FmVrt12.ptx", "FmVrt57.ptx", "LocHor06.ptx"}) {
        std::string error;
        const auto plot = crv::formats::readPatternPlotFile(folder.run + name, error);
        ASSERT_TRUE(plot) << error;
        EXPECT_EQ(plot->rows.size(), 181u) << name;
    }
    std::string error;
    const auto loc = crv::formats::readPatternPlotFile(folder.run + "LocHor06.ptx", error);
    ASSERT_TRUE(loc && loc->gainDbi);
    EXPECT_DOUBLE_EQ(*loc->gainDbi, 17.0);  // array type 6
    EXPECT_DOUBLE_EQ(loc->rows[0].db, 0.0);
    EXPECT_DOUBLE_EQ(loc->rows[180].angleDeg, 180.0);
    // Element type 12 at the horizon reads the table at 1 degree, where it
    // holds -0.0 dB: printed as the report prints a zero, without a sign.
    const auto vertical = test::splitLines(test::readBytes(folder.run + "FmVrt12.ptx"));
    ASSERT_GT(vertical.size(), 6u);
    EXPECT_EQ(vertical[6], "             0.0            100.00               0.00");
}

// The pattern plot's F fields print as the report's do: exact halves away
// from zero, no sign on a value that rounds to zero, the leading zero dropped
// when the field is too narrow, asterisks when the value does not fit.
TEST(ReportHeading, PatternPlotNumbersPrintAsTheReportDoes) {
    struct Case {
        double value;
        int width, decimals;
        const char* text;
    };
    const Case cases[] = {
        {-0.004, 19, 2, "               0.00"}, {-0.0, 6, 2, "  0.00"},   {0.125, 5, 2, " 0.13"},
        {-0.125, 6, 2, " -0.13"},                 {12.25, 4, 1, "12.3"},     {9.96, 4, 1, "10.0"},
        {-0.5, 3, 1, "-.5"},                      {0.5, 3, 1, "0.5"},        {100.0, 4, 1, "****"},
        {std::nan(""), 4, 1, "****"},             {-12.5, 5, 1, "-12.5"},    {359.96, 15, 1, "          360.0"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(crv::formats::fixedField(c.value, c.width, c.decimals), c.text) << c.value;
}

// A VOR case without patterns or proponents: elevation line only, no
// directional-antenna table, no "FmHorU" file; the constant-beam element gets
// no pattern file; the field edition lists two model lines.
TEST(ReportHeading, OmniFacilityInTheFieldEdition) {
    test::CaseFolder folder("FLD");
    auto lines = test::ilsCaseLines();
    lines[test::kNavaidLine] = test::setColumns(lines[test::kNavaidLine], 55, 56, "36");
    lines[test::kNavaidLine] = test::setColumns(lines[test::kNavaidLine], 58, 59, " 5");
    lines[test::kFirstStation] = test::setColumns(lines[test::kFirstStation], 54, 58, "55  0");
    lines[test::kFirstStation] = test::setColumns(lines[test::kFirstStation], 64, 65, " 0");
    const EngineState state = readCase(folder, lines);
    const auto text = test::splitLines(heading(state, folder.run));
    const std::string all = test::joinLines(text, "\n");
    EXPECT_NE(all.find(" Facility Elevation:      500 ft MSL\n"), std::string::npos);
    EXPECT_EQ(all.find("Runway"), std::string::npos);
    EXPECT_EQ(all.find("directional antenna"), std::string::npos);
    EXPECT_EQ(all.find("Receiver antenna rejection"), std::string::npos);
    EXPECT_EQ(all.find("  *"), std::string::npos);
    EXPECT_NE(all.find(" Facility antenna type:"), std::string::npos);
    EXPECT_FALSE(fs::exists(folder.run + "FmHorU03.ptx"));
    EXPECT_FALSE(fs::exists(folder.run + "FmVrt55.ptx"));
    EXPECT_TRUE(fs::exists(folder.run + "FmVrt57.ptx"));
    // Range and radial are measured from the navaid: WAAA-FM lies north-west.
    for (const auto& l : text) {
        if (l.find("WAAA-FM") != std::string::npos) {
            EXPECT_NE(l.find("324.25"), std::string::npos) << l;
        }
    }
}

TEST(ReportHeading, ConstantLocalizerHasNoPatternFile) {
    test::CaseFolder folder;
    auto lines = test::ilsCaseLines();
    lines[test::kNavaidLine] = test::setColumns(lines[test::kNavaidLine], 55, 56, " 1");
    const EngineState state = readCase(folder, lines);
    const std::string all = heading(state, folder.run);
    EXPECT_NE(all.find("\r\n Constant localizer level of -86.0 dBm\r\n"), std::string::npos);
    EXPECT_EQ(all.find("Facility antenna type"), std::string::npos);
    for (const auto& e : fs::directory_iterator(folder.run)) {
        EXPECT_NE(e.path().filename().string().rfind("LocHor", 0), 0u) << e.path();
    }
}
