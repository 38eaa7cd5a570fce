// Times the intermodulation check on a table of 1280 RF sources, and reading,
// checking and writing a case of that size.
#include "crv/editors/case_document.h"
#include "crv/editors/case_file.h"
#include "crv/common/conversions.h"
#include "crv/editors/intermod_check.h"

#include <chrono>
#include <filesystem>
#include <string>
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

    // Writing and reading a case of 1280 sources.
    const auto dict = FieldDictionary::forEdition(crv::resources::Edition::Scientific);
    CaseData data;
    data.casePage = {"BENCH", "SITE", "03/14/24", "30"};
    data.navaidPage = {"ABC", "275", "108.100", " 39 20 15", "  77 45 40", "420", "9000", "15", "0", "0", "0", "0"};
    data.optionsPage = {"1", "1", "1", "1", "1", "1", "1000", "0", "2000", "500", "0", "0"};
    for (std::size_t r = 0; r < n; ++r)
        data.rows.push_back({"Q" + std::to_string(1000 + r) + "  ", crv::common::formatDecimal(f[r], 3), " 39 21 18",
                             "  77 38 02", "50.0000", "1378", "13", "0", "30", flags[r] ? "1" : "0", "LIC", "0"});
    const std::string path = (std::filesystem::temp_directory_path() / "crv_case_bench.dat").string();
    const auto t0 = std::chrono::steady_clock::now();
    const auto saved = SaveDataFile(path, data, dict, true);
    const auto t1 = std::chrono::steady_clock::now();
    const auto read = LoadDataFile(path, dict);
    const auto t2 = std::chrono::steady_clock::now();
    std::printf("SaveDataFile, %zu sources: %.1f ms (%s)\n", n, std::chrono::duration<double, std::milli>(t1 - t0).count(),
                saved ? "ok" : saved.error().c_str());
    std::printf("LoadDataFile, %zu sources: %.1f ms (%s)\n", n, std::chrono::duration<double, std::milli>(t2 - t1).count(),
                read ? "ok" : read.error().c_str());

    // The editor's round: open (read, sort, flag, range-check), run the check
    // that opening makes due, and save with the save-time checks.
    CaseDocument doc(dict);
    const auto t3 = std::chrono::steady_clock::now();
    const auto opened = doc.open(path, {});
    const auto t4 = std::chrono::steady_clock::now();
    const auto checked = doc.CheckIntermods();
    const auto t5 = std::chrono::steady_clock::now();
    doc.setModified(true);
    const auto written = doc.save(path);
    const auto t6 = std::chrono::steady_clock::now();
    auto ms = [](auto a, auto b) { return std::chrono::duration<double, std::milli>(b - a).count(); };
    std::printf("CaseDocument, %zu sources: open %.1f ms (%s), check %.1f ms (%s), save %.1f ms (%s); "
                "read + check + write %.1f ms\n",
                n, ms(t3, t4), opened ? "ok" : opened.error().c_str(), ms(t4, t5), checked.ok ? "ok" : "invalid data",
                ms(t5, t6), written ? "ok" : written.error().c_str(), ms(t3, t6));
    std::filesystem::remove(path);
}
