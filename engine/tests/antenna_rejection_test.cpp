// Antenna rejection models. Expected values are worked out by hand or by a
// short independent script from the model formulas.
#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "criteria.h"
#include "failure.h"

namespace crv::engine {
namespace {

struct Case {
    int type;
    double frequencyMHz;
    double expectedDb;
};

constexpr double kTol = 1e-6;

void expectCases(const std::vector<Case>& cases) {
    for (const Case& c : cases) {
        EXPECT_NEAR(antennaRejectionDb(c.type, {}, c.frequencyMHz), c.expectedDb, kTol)
            << "type " << c.type << " at " << c.frequencyMHz << " MHz";
    }
}

// Step tables: at its bound a frequency already gets the next step's value,
// just below the bound it still gets the step's own value.
struct StepBound {
    double boundMHz;
    double belowDb;  // value while f is below the bound
    double atDb;     // value at the bound (the next step)
};

void expectSteps(int type, const std::vector<StepBound>& steps) {
    for (const StepBound& s : steps) {
        EXPECT_NEAR(antennaRejectionDb(type, {}, s.boundMHz), s.atDb, kTol) << "type " << type << " at " << s.boundMHz;
        EXPECT_NEAR(antennaRejectionDb(type, {}, s.boundMHz - 0.001), s.belowDb, kTol)
            << "type " << type << " just below " << s.boundMHz;
    }
}

TEST(AntRej, LoopStepTableBoundsBelongToTheNextStep) {
    expectSteps(5, {{89.5, 33, 32},   {91, 32, 31},     {92.4, 31, 30},   {93.6, 30, 29},   {94.9, 29, 28},
                    {97.1, 28, 27},   {98.7, 27, 26},   {99.7, 26, 25},   {100.6, 25, 24},  {101.7, 24, 23},
                    {102.4, 23, 22},  {103.7, 22, 21},  {104.7, 21, 20},  {105.3, 20, 19},  {106.2, 19, 18},
                    {106.9, 18, 17},  {107.9, 17, 16},  {108.5, 16, 15},  {109.4, 15, 14},  {110.3, 14, 13},
                    {111.6, 13, 12},  {115, 12, 13},    {117, 13, 14}});
    expectCases({{5, 80, 33}, {5, 130, 14}});
}

TEST(AntRej, VeeStepTableBoundsBelongToTheNextStep) {
    expectSteps(7, {{89.8, 24.5, 23.5},  {91.6, 23.5, 21.5},  {92.8, 21.5, 20.5},  {93.8, 20.5, 19.5},
                    {95.2, 19.5, 18.5},  {97.4, 18.5, 17.5},  {99.4, 17.5, 16.5},  {100.6, 16.5, 15.5},
                    {104.3, 15.5, 14.5}, {106, 14.5, 13.5},   {108.4, 13.5, 12.5}, {109.3, 12.5, 11.5},
                    {110.1, 11.5, 10.5}, {111.2, 10.5, 9.5},  {112.2, 9.5, 8.5},   {112.8, 8.5, 7.5},
                    {113.6, 7.5, 6.5},   {114.1, 6.5, 5.5},   {114.7, 5.5, 4.5},   {115.3, 4.5, 3.5}});
    expectCases({{7, 88, 24.5}, {7, 118, 3.5}});
}

TEST(AntRej, LabLoopStepTableBoundsBelongToTheNextStep) {
    expectSteps(8, {{88.6, 38, 39.2},    {89.5, 39.2, 37.2},  {90.5, 37.2, 31.7},  {91.6, 31.7, 28.8},
                    {92.5, 28.8, 24.9},  {93.4, 24.9, 22},    {94.4, 22, 25.3},    {95.4, 25.3, 23.9},
                    {96.5, 23.9, 27.6},  {97.5, 27.6, 28.3},  {98.5, 28.3, 26.7},  {99.5, 26.7, 25.7},
                    {100.5, 25.7, 21.6}, {101.4, 21.6, 18.2}, {102.5, 18.2, 19.3}, {103.6, 19.3, 20.4},
                    {105.5, 20.4, 19.8}, {106.5, 19.8, 19.1}, {107.6, 19.1, 20.3}, {108.5, 20.3, 21.3},
                    {109.5, 21.3, 20.6}, {110.5, 20.6, 20},   {111.5, 20, 19.1},   {112.5, 19.1, 15.5}});
    expectCases({{8, 88, 38}, {8, 118, 15.5}});
}

TEST(AntRej, RegressionCurveJoinsTheLineAbove117_95) {
    // The cubic holds up to and including 117.95 MHz; the line takes over above.
    expectCases({{1, 80, 23.01552},
                 {1, 117.9, 9.301403999},
                 {1, 117.95, 9.363257568},
                 {1, 117.96, 13.45512},
                 {1, 130, 27.5961}});
}

TEST(AntRej, ComCurvePieces) {
    expectCases({{2, 87.9, 34.05},
                 {2, 88, 34},
                 {2, 99.9, 10.2},
                 {2, 100, 10},
                 {2, 107.9, 10},
                 {2, 108, 10},
                 {2, 174.9, 14.992747},
                 {2, 175, 15},
                 {2, 200, 15}});
}

TEST(AntRej, IcaoAndDualSlopeCurves) {
    expectCases({{3, 98, 24.5},
                 {4, 107.9, 12.62},
                 {3, 108, 12.5},
                 {4, 115, 12.5},
                 {6, 90, 16.5},
                 {6, 99.9, 11.55},
                 {6, 100, 11.5},
                 {6, 107.9, 3.6},
                 {6, 108, 3.5},
                 {6, 118, 3.5}});
}

TEST(AntRej, CessnaLoopPiecewiseJoins) {
    // At each join the upper piece applies; just below, the lower one.
    expectCases({{10, 88, 20.9},      {10, 88.99, 20.9},    {10, 89, 21},        {10, 89.99, 19.515},
                 {10, 90, 19.5},      {10, 91.99, 11.938},  {10, 92, 11.9},      {10, 93.99, 18.268},
                 {10, 94, 18.3},      {10, 96.99, 23.682},  {10, 97, 23.7},      {10, 98.99, 25.093},
                 {10, 99, 25.1},      {10, 100.99, 25.299}, {10, 101, 25.3},     {10, 101.99, 24.805},
                 {10, 102, 24.8},     {10, 105.99, 16.91975}, {10, 106, 16.9},   {10, 108.99, 16.003},
                 {10, 109, 16},       {10, 110.99, 14.209}, {10, 111, 14.2037},  {10, 113.99, 9.021133},
                 {10, 114, 9},        {10, 115.99, 7.01},   {10, 116, 7},        {10, 117.99, 5.9055},
                 {10, 118, 5.9},      {10, 130, 5.9}});
}

TEST(AntRej, FlightCheckConstantAndFixedAttenuations) {
    expectCases({{9, 88, 41.2887},
                 {9, 108, 6.3967},
                 {9, 118, 5.6607},
                 {11, 95, 13.2},
                 {12, 95, 5},
                 {30, 95, 23},
                 {62, 95, 55}});
}

TEST(AntRej, CalibrationTableIsAStepTableInFileOrder) {
    // Not sorted on purpose: the first pair whose frequency is not below f wins.
    const std::vector<std::pair<double, double>> table{{95, 20}, {90, 30}, {105, 10}};
    struct Row {
        double f;
        double expected;
    } rows[] = {
        {85, 20},    // 95 is the first pair not below 85
        {95, 20},    // equal counts as not below
        {95.01, 10}, // 90 is below, 105 is not
        {105, 10},
        {105.01, 0}, // above every tabulated frequency
    };
    for (const Row& r : rows) EXPECT_NEAR(antennaRejectionDb(63, table, r.f), r.expected, kTol) << r.f;
    EXPECT_EQ(antennaRejectionDb(63, {}, 100), 0.0);
}

TEST(AntRej, ReadsTheCaseOptionsAndCalibration) {
    EngineState state;
    state.options.antennaRejection = 63;
    state.patterns.antennaCalibration = {{100, 17.5}};
    EXPECT_NEAR(AntRej(state, 99), 17.5, kTol);
    state.options.antennaRejection = 5;
    EXPECT_NEAR(AntRej(state, 89.5), 32, kTol);
}

TEST(AntRej, TypeOutOfRangeFailsInsteadOfAnsweringGarbage) {
    for (int type : {0, -1, 64, 100}) {
        EXPECT_THROW(antennaRejectionDb(type, {}, 100), EngineFailure) << type;
    }
}

}  // namespace
}  // namespace crv::engine
