// Which combinations the intermodulation lists hold, for a navaid at 108.1 MHz.
#include <gtest/gtest.h>

#include <cmath>

#include "case_folder.h"
#include "crv/platform/text_file.h"
#include "imod_lists.h"
#include "test_support.h"

namespace crv::engine {
namespace {

EngineState stateWith(const std::vector<std::pair<double, bool>>& stations, int intermod, int criteria) {
    EngineState s;
    s.navaid.frequencyMHz = 108.1;
    s.navaid.frequencyKHz = 108100;
    s.options.intermodType = static_cast<std::int16_t>(intermod);
    s.options.criteriaType = static_cast<std::int16_t>(criteria);
    for (const auto& [mhz, proponent] : stations) {
        Station st;
        st.frequencyMHz = mhz;
        st.frequencyKHz = static_cast<std::int32_t>(std::lround(mhz * 1000));
        st.proponent = proponent;
        s.stations.push_back(st);
    }
    for (int slot = static_cast<int>(s.stations.size()); slot >= 1; --slot)
        if (s.stations[static_cast<std::size_t>(slot - 1)].proponent) s.proponents.push_back(static_cast<std::int16_t>(slot));
    return s;
}

std::vector<std::string> listOf(const EngineState& s, int signals) {
    // A folder per list kind: the tests may run as parallel processes.
    const std::string path = crv::test::scratchFolder("imod-list-" + std::to_string(signals)) + "list.tmp";
    const int n = signals == 2 ? ListImod2(s, path, b1WindowKHz(s), {}, "B1_2Sig        ")
                               : ListImod3(s, path, b1WindowKHz(s), {}, "B1_3Sig        ");
    if (n == 0) {
        EXPECT_FALSE(crv::platform::fileExists(path));
        return {};
    }
    auto lines = crv::platform::readTextLines(path);
    EXPECT_EQ(lines->size(), static_cast<std::size_t>(n));
    return *lines;
}

TEST(ImodLists, TwoSignalProductsByOption) {
    struct Case {
        const char* what;
        std::vector<std::pair<double, bool>> stations;
        int intermod, criteria;
        std::vector<std::string> expected;
    };
    const std::vector<Case> cases{
        {"on channel, B doubled", {{98.1, true}, {103.1, false}}, 2, 3, {"    1    2    1 108.100"}},
        {"200 kHz off, window 200", {{98.1, true}, {103.2, false}}, 1, 3, {"    1    2    1 108.300"}},
        {"200 kHz off, on-channel option", {{98.1, true}, {103.2, false}}, 2, 3, {}},
        {"200 kHz off, criteria type 2 window 100", {{98.1, true}, {103.2, false}}, 1, 2, {}},
        {"fifth order 3 x 98.1 - 2 x 93.1, third-order options", {{98.1, true}, {93.1, false}}, 1, 3, {}},
        {"fifth order, type 5", {{98.1, true}, {93.1, false}}, 5, 3, {"    1    1    2 108.100"}},
        {"fifth order, type 6", {{98.1, true}, {93.1, false}}, 6, 3, {"    1    1    2 108.100"}},
        // Each proponent finds the pair; sorted, the lower proponent comes first.
        {"pair marked twice", {{98.1, true}, {103.1, true}}, 1, 3,
         {"    1    2    1 108.100", "    2    2    1 108.100"}},
        // One proponent: steps a (later slots), b (proponent doubled), c (earlier slots), unsorted.
        {"one proponent, list order",
         {{103.1, false}, {98.1, true}, {103.15, false}, {88.1, false}},
         1, 3,
         {"    2    3    2 108.200", "    2    2    4 108.100", "    2    1    2 108.100"}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(listOf(stateWith(c.stations, c.intermod, c.criteria), 2), c.expected) << c.what;
    }
}

TEST(ImodLists, ThreeSignalTriplesWithTheProponent) {
    // 98.1 + 105.0 - 95.0 = 108.1; the triple of the two others (no proponent)
    // 105.0 + 103.2 - 100.1 = 108.1 is not listed.
    const auto s = stateWith({{98.1, true}, {105.0, false}, {95.0, false}, {103.2, false}, {100.1, false}}, 2, 3);
    EXPECT_EQ(listOf(s, 3), (std::vector<std::string>{"    1    1    2    3 108.100"}));

    // Two proponents in one triple: one record each, adjacent after the sort,
    // and read back the second is marked as a repeat.
    const auto twice = stateWith({{98.1, true}, {105.0, true}, {95.0, false}}, 2, 3);
    const auto lines = listOf(twice, 3);
    EXPECT_EQ(lines, (std::vector<std::string>{"    1    1    2    3 108.100", "    2    1    2    3 108.100"}));
    const std::string path = crv::test::scratchFolder("imod-list-3-read") + "list.tmp";
    ListImod3(twice, path, 0, {}, "B1_3Sig        ");
    const auto records = readImodList(path, 3, "B1_3Sig        ");
    ASSERT_EQ(records.size(), 2u);
    EXPECT_FALSE(records[0].repeat);
    EXPECT_TRUE(records[1].repeat);
    EXPECT_EQ(records[1].proponent, 2);
    EXPECT_DOUBLE_EQ(records[0].productMHz, 108.1);
}

}  // namespace
}  // namespace crv::engine
