#include "edit_list.h"

#include <gtest/gtest.h>

#include <clocale>

using namespace crv::engine;

TEST(EditList, Fields) {
    struct Case {
        std::string got, expected;
    } cases[] = {
        {editInteger(42, 5), "   42"},
        {editInteger(-42, 3), "-42"},
        {editInteger(1234, 3), "***"},
        {editInteger(7, 2, 2), "07"},
        {editInteger(5, 4, 2), "  05"},
        {editFixed(108.1, 7, 3), "108.100"},
        {editFixed(-0.001, 6, 2), "  0.00"},   // no minus on a value that rounds to zero
        {editFixed(0.5, 3, 2), ".50"},         // the leading zero gives way in a narrow field
        {editFixed(1234.5, 5, 1), "*****"},
        {editFixed(-86.0, 6, 1), " -86.0"},
        {editExponent(1234.5, 11, 4), " 0.1235E+04"},
        {editExponent(-0.00012, 11, 3), " -0.120E-03"},
        {editExponent(0.0, 10, 3), " 0.000E+00"},
        {editExponent(1e120, 10, 3), " 0.100+121"},
        {editExponent(1.0, 5, 3), "*****"},
    };
    for (const auto& c : cases) EXPECT_EQ(c.got, c.expected);
}

TEST(EditList, HeadingLinesWithTabsLiteralsAndNewLines) {
    EXPECT_EQ(editLines("(1X,'Corvane, Version 5.0',/)", {}),
              (std::vector<std::string>{" Corvane, Version 5.0", ""}));
    EXPECT_EQ(editLines("(1X,'Airspace Case:',T25,A15,/,1X,'Site:',T25,A25,/)",
                        {std::string("TEST CASE"), std::string("Springfield")}),
              (std::vector<std::string>{" Airspace Case:         TEST CASE      ",
                                        " Site:                  Springfield              ", ""}));
    // Degree sign as one byte, apostrophe doubled inside a literal.
    EXPECT_EQ(editLines("(1X,'Facility Latitude:',T24,I4,A1,1X,I2.2,'''',1X,I2.2,'\"')",
                        {38LL, std::string("\xb0"), 5LL, 7LL}),
              (std::vector<std::string>{" Facility Latitude:      38\xb0 05' 07\""}));
}

TEST(EditList, GroupsRepeatsAndStopping) {
    // A station row of the heading: a repeated group of position fields.
    const EditFormat row("(2X,A1,1X,I4,2X,A7,1X,F7.3,2(I4,1X,I2.2,1X,I2.2,1X),F8.4,1X,I5,1X,F6.2,2X,F6.2,2X,A3)");
    const auto lines = row.format({std::string("*"), 1LL, std::string("WAAA-FM"), 98.1, 38LL, 50LL, 24LL, 77LL, 2LL,
                                   5LL, 50.0, 350LL, 12.345, 271.5, std::string("LIC")});
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0], "  *    1  WAAA-FM  98.100  38 50 24   77 02 05  50.0000   350  12.35  271.50  LIC");
    // Output stops at the first data descriptor without a value.
    EXPECT_EQ(editLines("(1X,'N=',I3,' and ',I3)", {5LL}), (std::vector<std::string>{" N=  5 and "}));
    EXPECT_EQ(editLines("(3I3)", {1LL, 2LL, 3LL}), (std::vector<std::string>{"  1  2  3"}));
    EXPECT_EQ(editLines("(/,/,1X,'X')", {}), (std::vector<std::string>{"", "", " X"}));
    EXPECT_EQ(editLines("(1X,L3)", {true}), (std::vector<std::string>{"   T"}));
    EXPECT_THROW(editLines("(I3)", {1LL, 2LL}), std::invalid_argument);
    EXPECT_THROW(EditFormat("(I3,Q)"), std::invalid_argument);
}

TEST(EditList, IndependentOfTheProcessLocale) {
    if (!std::setlocale(LC_ALL, "de_DE.UTF-8")) GTEST_SKIP() << "de_DE.UTF-8 not installed";
    EXPECT_EQ(editFixed(108.1, 7, 3), "108.100");
    EXPECT_EQ(editExponent(1234.5, 11, 4), " 0.1235E+04");
    std::setlocale(LC_ALL, "C");
}

TEST(EditList, ExactTiesRoundAwayFromZero) {
    EXPECT_EQ(editFixed(0.125, 5, 2), " 0.13");
    EXPECT_EQ(editFixed(-0.125, 5, 2), "-0.13");
    EXPECT_EQ(editFixed(2.5, 3, 0), " 3.");
    EXPECT_EQ(editFixed(9.995, 6, 2), "  9.99");  // 9.995 lies just below in binary
    EXPECT_EQ(editFixed(99.96, 5, 1), "100.0");
    EXPECT_EQ(editExponent(0.99996, 10, 4), "0.1000E+01");
}

// The list records' products: every whole number of kHz the engine can make
// (and some it cannot) prints as the general F field prints kHz * 0.001.
TEST(EditList, MHzOfWholeKHzAsTheGeneralField) {
    for (std::int32_t kHz = -2000; kHz <= 1001000; ++kHz)
        ASSERT_EQ(editMHzOfKHz(kHz, 7), editFixed(kHz * 0.001, 7, 3)) << kHz;
    for (const std::int32_t kHz : {0, 999, 1000, 9999, 10000, 99999, 100000, 108100, 999999, 1000000})
        for (const int width : {4, 5, 6, 8}) EXPECT_EQ(editMHzOfKHz(kHz, width), editFixed(kHz * 0.001, width, 3)) << kHz;
}
