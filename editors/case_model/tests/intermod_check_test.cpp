#include "crv/editors/intermod_check.h"

#include <gtest/gtest.h>

#include <random>

using namespace crv::editors;

namespace {

constexpr std::int32_t P = RowProponent, N = 0, I = RowIgnored, BAD = RowOutOfRange;

bool takesPart(const IntermodResult& r, std::size_t row) { return (r.flags[row] & RowTakesPart) != 0; }

// The set of rows that take part, enumerated straight from the definitions:
// every proponent, and every row that forms a product in the window with a
// proponent (and one more row). Order and early exits do not change the set.
std::vector<bool> bruteForce(const std::vector<std::int32_t>& flags, const std::vector<float>& f, float nav,
                             int option) {
    const std::size_t n = flags.size();
    std::vector<bool> part(n);
    for (std::size_t r = 0; r < n; ++r) part[r] = flags[r] & P;
    const double half = option == 1 || option == 3 ? 0.21 : option == 5 ? 0.16 : option == 0 ? -1 : 0.01;
    if (half < 0) return part;
    const float lo = static_cast<float>(double(nav) - half), hi = static_cast<float>(double(nav) + half);
    auto in = [&](double x) { const float v = static_cast<float>(x); return lo <= v && v <= hi; };
    const bool fifth = option >= 5;
    for (std::size_t p = 0; p < n; ++p) {
        if (!(flags[p] & P)) continue;
        const double a = f[p], a2 = static_cast<float>(f[p] + f[p]);
        for (std::size_t i = 0; i < n; ++i) {
            if (i == p || (flags[i] & I)) continue;
            const double b = f[i];
            if (in(a2 - b) || in(2 * b - a) || (fifth && (in(3 * b - 2 * a) || in(3 * a - 2 * b)))) part[i] = true;
            for (std::size_t j = 0; j < n; ++j) {
                if (j == p || j == i || (flags[j] & I)) continue;
                const double c = f[j];
                bool hit = in(a + b - c) || in(b + c - a);
                if (fifth)
                    hit = hit || in(a2 + b - 2 * c) || in(2 * b + c - a2) || in(2 * b + a - 2 * c) || in(3 * a - b - c) ||
                          in(3 * b - c - a);
                if (hit) part[i] = part[j] = true;
            }
        }
    }
    return part;
}

}  // namespace

TEST(CheckIntermods, WindowsOfTheOptions) {
    // 2 x 98.50 - 87.10 = 109.90; with 87.12 the product is 109.88.
    const struct { float station; int option; bool part; } cases[] = {
        {87.10f, 2, true}, {87.12f, 1, true}, {87.12f, 2, false}, {87.10f, 0, false},
        {87.12f, 3, true}, {87.12f, 4, false},
    };
    for (const auto& c : cases) {
        const auto r = CheckIntermods({P, N}, {98.50f, c.station}, 109.90f, c.option);
        EXPECT_TRUE(takesPart(r, 0));
        EXPECT_EQ(takesPart(r, 1), c.part) << c.station << " option " << c.option;
    }
}

TEST(CheckIntermods, FifthOrderOnlyWithOptionsFiveAndSix) {
    // 3 x 100 - 2 x 95.05 = 109.90
    for (int option : {1, 2, 5, 6}) {
        const auto r = CheckIntermods({P, N}, {95.05f, 100.0f}, 109.90f, option);
        EXPECT_EQ(takesPart(r, 1), option >= 5) << option;
    }
}

TEST(CheckIntermods, OkOnlyWhenNoRowThatTakesPartIsBad) {
    // A bad row outside every product keeps ok; a bad proponent does not;
    // ignored rows never take part.
    EXPECT_TRUE(CheckIntermods({P, N | BAD}, {98.5f, 90.0f}, 109.9f, 1).ok);
    EXPECT_FALSE(CheckIntermods({P | BAD, N}, {98.5f, 90.0f}, 109.9f, 0).ok);
    const auto ignored = CheckIntermods({P, I | BAD}, {98.5f, 87.1f}, 109.9f, 2);
    EXPECT_TRUE(ignored.ok);
    EXPECT_FALSE(takesPart(ignored, 1));
    EXPECT_TRUE(CheckIntermods({}, {}, 109.9f, 1).ok);
    // A stale "takes part" flag of a non-proponent is recomputed.
    EXPECT_FALSE(takesPart(CheckIntermods({P, RowTakesPart}, {98.5f, 90.0f}, 109.9f, 1), 1));
}

TEST(CheckIntermods, ThreeSignalProductsMarkBothStations) {
    // 98.5 + 100.4 - 89.0 = 109.9
    const auto r = CheckIntermods({P, N, N, N}, {98.5f, 100.4f, 89.0f, 93.0f}, 109.9f, 2);
    EXPECT_TRUE(takesPart(r, 1));
    EXPECT_TRUE(takesPart(r, 2));
    EXPECT_FALSE(takesPart(r, 3));
}

TEST(CheckIntermods, AgreesWithBruteForceOnRandomTables) {
    std::mt19937 rng(20261210);
    std::uniform_int_distribution<int> khz(8800, 10800), kind(0, 9), opt(0, 6), size(0, 14);
    int marked = 0;  // stations marked through a product: the tables must exercise them
    for (int trial = 0; trial < 400; ++trial) {
        const std::size_t n = static_cast<std::size_t>(size(rng));
        std::vector<std::int32_t> flags(n);
        std::vector<float> f(n);
        for (std::size_t r = 0; r < n; ++r) {
            const int k = kind(rng);
            flags[r] = k < 2 ? P : k == 2 ? I : N;
            if (kind(rng) < 2) flags[r] |= BAD;
            f[r] = static_cast<float>(khz(rng) / 100.0);
        }
        const float nav = static_cast<float>((khz(rng) + 2100) / 100.0);
        const int option = opt(rng);
        const auto r = CheckIntermods(flags, f, nav, option);
        const auto expected = bruteForce(flags, f, nav, option);
        bool ok = true;
        for (std::size_t i = 0; i < n; ++i) {
            EXPECT_EQ(takesPart(r, i), expected[i]) << "trial " << trial << " row " << i;
            if (expected[i] && (flags[i] & BAD)) ok = false;
            if (expected[i] && !(flags[i] & P)) ++marked;
        }
        EXPECT_EQ(r.ok, ok) << trial;
    }
    EXPECT_GT(marked, 50);
}
