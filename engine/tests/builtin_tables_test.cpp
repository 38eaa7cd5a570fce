// The built-in vertical gain and localizer pattern tables.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <sstream>

#include "localizer_pattern_table.h"
#include "vertical_gain_table.h"

namespace crv::engine {
namespace {

std::vector<double> values(const std::string& text) {
    std::istringstream in(text);
    std::vector<double> out;
    double v;
    while (in >> v) out.push_back(v);
    return out;
}

TEST(VerticalGainTable, PrintedRowsComeBackExactly) {
    const std::pair<int, const char*> rows[] = {
        {2, "-0.0 -0.0 -0.0 -0.0 -0.1 -0.0 -0.1 -0.0 -0.2 -0.0 -0.3 -0.1 -0.4 -0.1 -0.6 -0.2 -0.9 -0.2"},
        {10, "-0.0 -0.4 -0.9 -0.3 -1.7 -0.4 -2.8 -0.7 -4.3 -1.0 -8.5 -1.8 -16.8 -2.9 -27.1 -4.3 -15.5 -6.2"},
        {20, "-0.1 -1.5 -4.0 -1.0 -8.2 -1.8 -16.3 -2.9 -27.6 -4.3 -13.0 -8.5 -17.1 -16.7 -27.7 -28.0 -17.6 -15.7"},
        {90, "-3.0 -7.4 -19.2 -26.1 -18.9 -14.4 -15.1 -19.6 -19.8 -26.2 -20.2 -25.9 -34.1 -22.1 -22.6 -26.9 -34.1 "
             "-41.0"},
    };
    for (const auto& [row, text] : rows) {
        const auto expected = values(text);
        ASSERT_EQ(expected.size(), 18u);
        for (int c = 1; c <= 18; ++c)
            EXPECT_NEAR(verticalGainDb(row, c), expected[static_cast<std::size_t>(c - 1)], 1e-9)
                << "row " << row << " column " << c;
    }
}

TEST(VerticalGainTable, EndsAndNulls) {
    for (int c = 1; c <= 19; ++c) EXPECT_EQ(verticalGainDb(0, c), 0.0) << c;
    for (int c = 1; c <= 18; ++c) EXPECT_EQ(verticalGainDb(180, c), -99.0) << c;
    EXPECT_EQ(verticalGainDb(180, 19), -99.9);
    // Two bays a wavelength apart cancel at 30 degrees: the null is floored.
    EXPECT_EQ(verticalGainDb(60, 2), -99.0);
    // Column 19 is smooth and falls steadily to the zenith.
    for (int r = 1; r <= 180; ++r) EXPECT_LE(verticalGainDb(r, 19), verticalGainDb(r - 1, 19)) << r;
    for (int r = 0; r <= 180; ++r)
        for (int c = 1; c <= 19; ++c) {
            EXPECT_LE(verticalGainDb(r, c), 0.0);
            EXPECT_GE(verticalGainDb(r, c), -99.9);
        }
    EXPECT_THROW(verticalGainDb(181, 1), std::out_of_range);
    EXPECT_THROW(verticalGainDb(0, 20), std::out_of_range);
}

TEST(VerticalGainTable, ElementType56) {
    const double slopes[] = {0.101, 0.101, 0.100};
    const double at112[] = {-41.46, -20.96, -15.56};
    for (int r = 0; r < 3; ++r) {
        EXPECT_DOUBLE_EQ(elementType56Row(r).slopeDbPerMHz, slopes[r]);
        EXPECT_DOUBLE_EQ(elementType56Row(r).valueAt112MHzDb, at112[r]);
    }
    // The continuation joins the printed rows without a step and stays a
    // plausible antenna pattern.
    EXPECT_NEAR(elementType56Row(3).valueAt112MHzDb, -15.56 + 20 * std::log10(1.5), 0.5);
    for (int r = 0; r <= 180; ++r) {
        EXPECT_LE(elementType56Row(r).valueAt112MHzDb, 0.0);
        EXPECT_GT(elementType56Row(r).slopeDbPerMHz, 0.0);
    }
}

TEST(LocalizerPatternTable, PrintedRowsComeBackExactly) {
    const auto at10 = values(
        "-0.1 -5.4 -2.9 -11.7 -4.0 -11.8 -12.0 -6.8 -15.5 -10.4 -9.1 -9.1 -9.8 -11.6 -10.5 -7.1 -8.4 -10.2 -4.1 "
        "-14.0 -14.1 -16.7 -6.1 -12.4 -11.2 -3.0 -12.0 -12.1 -13.8 -10.6");
    const auto at90 = values(
        "-4.9 -20.0 -26.0 -26.0 -26.0 -26.0 -26.0 -26.0 -16.8 -31.4 -15.9 -14.1 -25.0 -12.0 -12.0 -20.0 -9.0 -20.0 "
        "-25.0 -50.0 -50.0 -41.5 -32.1 -54.2 -54.1 -60.0 -60.0 -68.4 -90.0 -90.0");
    const auto at180 = values(
        "0.0 -6.5 -22.1 -26.0 -20.1 -26.0 -26.0 -23.2 -6.3 -16.9 -10.0 -8.9 -7.6 -12.0 -12.0 -20.0 -9.0 -20.0 0.0 "
        "-19.4 0.0 -10.0 0.0 -27.0 -27.0 -60.0 -60.0 -8.0 -26.0 -26.0");
    ASSERT_EQ(at10.size(), 30u);
    ASSERT_EQ(at90.size(), 30u);
    ASSERT_EQ(at180.size(), 30u);
    for (int t = 2; t <= 31; ++t) {
        const auto i = static_cast<std::size_t>(t - 2);
        EXPECT_EQ(localizerPatternDb(t, 0), 0.0) << t;
        EXPECT_EQ(localizerPatternDb(t, 10), at10[i]) << t;
        EXPECT_EQ(localizerPatternDb(t, 90), at90[i]) << t;
        EXPECT_EQ(localizerPatternDb(t, 180), at180[i]) << t;
    }
    EXPECT_EQ(localizerArrayGainDb(2), 4.0);
    EXPECT_EQ(localizerArrayGainDb(26), 26.2);
    EXPECT_EQ(localizerArrayGainDb(31), 27.6);
}

TEST(LocalizerPatternTable, FilledRowsStayBetweenThePrintedOnes) {
    const int knots[] = {0, 10, 90, 180};
    for (int t = 2; t <= 31; ++t)
        for (int k = 0; k < 3; ++k) {
            const double a = localizerPatternDb(t, knots[k]), b = localizerPatternDb(t, knots[k + 1]);
            double previous = a;
            for (int deg = knots[k]; deg <= knots[k + 1]; ++deg) {
                const double v = localizerPatternDb(t, deg);
                // No overshoot, and steady between two printed rows.
                EXPECT_GE(v, std::min(a, b) - 1e-9) << t << " " << deg;
                EXPECT_LE(v, std::max(a, b) + 1e-9) << t << " " << deg;
                if (b <= a)
                    EXPECT_LE(v, previous + 1e-9) << t << " " << deg;
                else
                    EXPECT_GE(v, previous - 1e-9) << t << " " << deg;
                previous = v;
            }
        }
    EXPECT_THROW(localizerPatternDb(1, 0), std::out_of_range);
    EXPECT_THROW(localizerPatternDb(32, 0), std::out_of_range);
}

}  // namespace
}  // namespace crv::engine
