// Times the intermodulation check on a table of 1280 RF sources.
#include "crv/editors/intermod_check.h"

#include <chrono>
#include <cstdio>
#include <random>
#include <utility>

int main() {
    using namespace crv::editors;
    constexpr std::size_t n = 1280;
    std::mt19937 rng(1);
    std::uniform_int_distribution<int> khz(8800, 10800), kind(0, 99);
    std::vector<std::int32_t> flags(n);
    std::vector<float> f(n);
    for (std::size_t r = 0; r < n; ++r) {
        flags[r] = kind(rng) < 2 ? RowProponent : 0;  // about 25 proponents
        f[r] = static_cast<float>(khz(rng) / 100.0);
    }
    // 109.9 MHz: many products hit and the search ends early; 135.9 MHz: no
    // third-order product reaches the window, every pair and triple is tested.
    for (const auto& [navaid, option] : {std::pair{109.9f, 1}, std::pair{109.9f, 5}, std::pair{135.9f, 2},
                                         std::pair{135.9f, 1}}) {
        const auto t0 = std::chrono::steady_clock::now();
        const auto r = CheckIntermods(flags, f, navaid, option);
        const auto t1 = std::chrono::steady_clock::now();
        int part = 0;
        for (auto fl : r.flags) part += (fl & RowTakesPart) ? 1 : 0;
        std::printf("CheckIntermods, %zu sources, navaid %.1f MHz, option %d: %.1f ms (%d take part)\n", n, navaid, option,
                    std::chrono::duration<double, std::milli>(t1 - t0).count(), part);
    }
}
