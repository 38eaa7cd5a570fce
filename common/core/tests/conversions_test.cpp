#include "crv/common/conversions.h"

#include <gtest/gtest.h>

#include <cmath>

#include "crv/common/text_utils.h"

namespace crv::common {
namespace {

TEST(Val, ReadsTheNumberAtTheStartOfATextOnly) {
    struct Case {
        const char* text;
        double value;
    } cases[] = {
        {"", 0},        {"abc", 0},       {"  12", 12},     {"\t-3.5xyz", -3.5}, {"+7", 7},
        {".5", 0.5},    {"5.", 5},        {"1E3", 1000},    {"1e3", 1000},       {"2D2", 200},
        {"1E", 1},      {"1E+", 1},       {"12 34", 12},    {"-", 0},            {"-.", 0},
        {"0.0001", 1e-4}, {"101.500 MHz", 101.5}, {"1E-400", 0},
    };
    for (const auto& c : cases) EXPECT_DOUBLE_EQ(Val(c.text), c.value) << c.text;
    EXPECT_TRUE(std::isinf(Val("1E999")));
}

TEST(Mid, NeverReadsOutOfBounds) {
    EXPECT_EQ(Mid("abcdef", 2, 3), "bcd");
    EXPECT_EQ(Mid("abcdef", 5, 10), "ef");
    EXPECT_EQ(Mid("abcdef", 7, 1), "");
    EXPECT_EQ(Mid("abcdef", 0, 2), "ab");
    EXPECT_EQ(Mid("abcdef", 3), "cdef");
    EXPECT_EQ(Mid("", 1, 1), "");
}

TEST(FormatField, RoundsHalvesAwayFromZeroOnTheShortestText) {
    struct Case {
        double value;
        int width, decimals;
        const char* text;
    } cases[] = {
        {3.14159, 8, 3, "   3.142"},
        {123456, 3, 0, "123"},        // too long: the first width characters
        {-2.5, 4, 0, "  -3"},         // half away from zero
        {2.5, 4, 0, "   3"},
        {0.5, 2, 0, " 1"},
        {2.675, 6, 2, "  2.68"},      // the double lies below 2.675; its shortest text does not
        {1.005, 6, 2, "  1.01"},
        {101.5, 8, 3, " 101.500"},
        {0.0001, 9, 4, "   0.0001"},
        {99.9996, 8, 3, " 100.000"},  // carry into the whole part
        {-0.4, 3, 0, "  0"},          // a zero shows no sign in a column file
        {0, 2, 0, " 0"},
        {12.0, 10, 3, "    12.000"},
        {1e20, 25, 0, "    100000000000000000000"},
        {-123.45, 4, 1, "-123"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FormatField(c.value, c.width, c.decimals), c.text) << c.value << " " << c.width << " " << c.decimals;
}

TEST(FormatDecimal, PadsTheWholePartForPictureFormats) {
    EXPECT_EQ(formatDecimal(7, 0, 3), "007");
    EXPECT_EQ(formatDecimal(5.5, 2, 2), "05.50");
    EXPECT_EQ(formatDecimal(38.5, 4, 3), "038.5000");
    EXPECT_EQ(formatDecimal(1.0 / 0.0, 2), "Infinity");
}

TEST(FormatGeneral, ShowsSinglesWithSevenSignificantDigitsWithoutTheLocale) {
    struct Case {
        float value;
        const char* text;
    } cases[] = {
        {0.0f, "0"},           {360.0f, "360"},        {-99.0f, "-99"},        {0.1f, "0.1"},
        {0.5f, "0.5"},         {1234567.0f, "1234567"}, {12345678.0f, "1.234568E+07"},
        {0.0001f, "0.0001"},   {0.00001f, "1E-05"},    {3.4e38f, "3.4E+38"},   {-1.5f, "-1.5"},
        {108.1f, "108.1"},
    };
    for (const auto& c : cases) EXPECT_EQ(formatGeneral(c.value), c.text) << c.text;
    EXPECT_EQ(Str(5.0), " 5");
    EXPECT_EQ(Str(-5.0), "-5");
}

TEST(RoundHalfEven, TakesTheEvenNeighbourOfAHalf) {
    EXPECT_EQ(roundHalfEven(0.5), 0);
    EXPECT_EQ(roundHalfEven(1.5), 2);
    EXPECT_EQ(roundHalfEven(2.5), 2);
    EXPECT_EQ(roundHalfEven(-2.5), -2);
    EXPECT_EQ(toInt16(40000), 32767);
    EXPECT_EQ(toInt16(-1e9), -32768);
    EXPECT_EQ(toInt16(std::nan("")), 0);
}

TEST(LeftSet, PadsOrCutsToTheFieldWidth) {
    EXPECT_EQ(leftSet("ABC", 5), "ABC  ");
    EXPECT_EQ(leftSet("ABCDEFG", 3), "ABC");
    EXPECT_EQ(leftSet("", 2), "  ");
}

}  // namespace
}  // namespace crv::common
