#include "crv/platform/numbers.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>

using namespace crv::platform;

TEST(Numbers, ParseReal) {
    struct Case {
        const char* text;
        std::optional<double> expected;
    } cases[] = {
        {"12", 12},         {" -1.5 ", -1.5},  {"+3", 3},         {".5", 0.5},      {"5.", 5},
        {"1E3", 1000},      {"1.5D-2", 0.015}, {"-0", -0.0},      {"101.500", 101.5}, {"", std::nullopt},
        {"   ", std::nullopt}, {"1,5", std::nullopt}, {"12abc", std::nullopt}, {"--1", std::nullopt},
        {"inf", std::nullopt}, {"nan", std::nullopt}, {"1e999", HUGE_VAL}, {"1e-999", 0.0},
    };
    for (const auto& c : cases) {
        const auto v = parseReal(c.text);
        ASSERT_EQ(v.has_value(), c.expected.has_value()) << c.text;
        if (v) {
            EXPECT_DOUBLE_EQ(*v, *c.expected) << c.text;
        }
    }
}

TEST(Numbers, ParseInteger) {
    EXPECT_EQ(parseInteger(" 42 "), 42);
    EXPECT_EQ(parseInteger("-7"), -7);
    EXPECT_EQ(parseInteger("+5"), 5);
    EXPECT_FALSE(parseInteger("4.5"));
    EXPECT_FALSE(parseInteger(""));
    EXPECT_FALSE(parseInteger("-"));
}

TEST(Numbers, ColumnsNeverReadPastTheLine) {
    const std::string line = " ISP 275 108.100";
    EXPECT_EQ(columns(line, 2, 4), "ISP");
    EXPECT_EQ(columns(line, 10, 16), "108.100");
    EXPECT_EQ(columns(line, 15, 30), "00");
    EXPECT_EQ(columns(line, 40, 45), "");
    EXPECT_EQ(columns(line, 5, 3), "");
}

TEST(Numbers, FreeFormatSplitting) {
    const auto f = splitFreeFormat(" 1, 2,,3\t 4.5 ");
    ASSERT_EQ(f.size(), 4u);
    EXPECT_EQ(f[0], "1");
    EXPECT_EQ(f[2], "3");
    EXPECT_EQ(f[3], "4.5");
    EXPECT_TRUE(splitFreeFormat("  ").empty());
}

TEST(Numbers, Formatting) {
    EXPECT_EQ(formatFixed(101.5, 3), "101.500");
    EXPECT_EQ(formatFixed(-0.004, 2), "-0.00");
    EXPECT_EQ(formatFixed(2.5, 0), "2");  // as printf: halves to even on the binary value
    EXPECT_EQ(formatShortest(0.1), "0.1");
    EXPECT_EQ(formatShortest(45.96266555786133f), "45.962666");
}

TEST(Numbers, IndependentOfTheProcessLocale) {
    // A German desktop writes decimal commas; data files never do.
    const char* set = std::setlocale(LC_ALL, "de_DE.UTF-8");
    if (set == nullptr) GTEST_SKIP() << "de_DE.UTF-8 is not installed (scripts/deps.sh generates it)";
    char probe[32];
    std::snprintf(probe, sizeof probe, "%.1f", 1.5);
    EXPECT_STREQ(probe, "1,5");  // the locale really is active
    EXPECT_DOUBLE_EQ(*parseReal("101.500"), 101.5);
    EXPECT_FALSE(parseReal("101,500"));
    EXPECT_EQ(formatFixed(101.5, 2), "101.50");
    EXPECT_EQ(formatShortest(0.25), "0.25");
    std::setlocale(LC_ALL, "C");
}
