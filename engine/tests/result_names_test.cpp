#include "result_names.h"

#include <gtest/gtest.h>

#include <stdexcept>

using namespace crv::engine;

TEST(ResultNames, Base36OrdinalsAndPlotNames) {
    struct Case {
        std::string got, expected;
    } cases[] = {
        {base36Ordinal(5), "05"},          {base36Ordinal(36), "10"},
        {base36Ordinal(40), "14"},         {base36Ordinal(1295), "ZZ"},
        {a2PlotName(5, false), "05____A2.plt"}, {a2PlotName(5, true), "05__A2B2.plt"},
        {b2PlotName(36), "10____B2.plt"},  {b1TwoSignalPlotName(5, 40), "05_14___.plt"},
        {b1ThreeSignalPlotName(1, 36, 71), "01_10_1Z.plt"},
    };
    for (const auto& c : cases) EXPECT_EQ(c.got, c.expected);
    EXPECT_EQ(b1ThreeSignalPlotName(1, 2, 3).size(), 12u);
    EXPECT_THROW(base36Ordinal(1296), std::out_of_range);
}
