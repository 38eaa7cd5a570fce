#pragma once
// One B1 intermodulation combination: its set-up from the list record, what
// the report needs of it, what its evaluation produces, and the coarse-grid
// prescreen that decides whether it is evaluated at all.
#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "criteria.h"
#include "criteria_b1.h"
#include "crv/formats/plot_file.h"
#include "geodesy.h"
#include "imod_lists.h"
#include "receiver_point_file.h"
#include "state.h"

namespace crv::engine::b1 {

using crv::formats::InterferencePoint;
using crv::formats::kSectionEnd;

// One distinct combination, set up once from its list record.
template <std::size_t N>
struct Combination {
    std::size_t record = 0;  // its index in the list
    std::array<int, N> slots{};
    double productMHz = 0;
    std::array<double, N> rejectionDb{};  // REJ(k)
    std::array<double, N> termDb{};       // P(k): the station's base level term
    B1Block<N> block;                     // after SetCrit
};

// What the writing needs of a combination (kept with its result until it is
// written; the whole set-up is some hundreds of bytes more).
template <std::size_t N>
struct CombinationKey {
    std::array<int, N> slots{};
    double productMHz = 0;
    std::int32_t deltaKHz = 0;
    std::array<double, N> rejectionDb{};

    CombinationKey() = default;
    explicit CombinationKey(const Combination<N>& c)
        : slots(c.slots), productMHz(c.productMHz), deltaKHz(c.block.deltaKHz), rejectionDb(c.rejectionDb) {}
};

// What one point of a combination printed in the debugging output.
template <std::size_t N>
struct DebugPoint {
    double distanceNmi, azimuthDeg, altitudeFt, navaidDbm;
    std::array<double, N> levelDbm, triggerDbm, cutoffDbm;
    double productDbm, thresholdDbm;
    bool valid, belowTrigger, plotOpen;
    std::array<bool, N> masked, belowCutoff, beyondSight;
};

// Everything a combination produced, kept until it is written in list order.
template <std::size_t N>
struct CombinationResult {
    CombinationKey<N> key;
    bool triggered = false;
    int pointCount = 0;
    int firstSectionCount = 0;
    bool plotOpen = false;
    std::vector<InterferencePoint> plot;  // the records after the header, until written
    std::string plotPath;                 // the plot file once written
    B1StickyFlags flags;
    std::vector<DebugPoint<N>> debug;
};

template <std::size_t N>
double productLevel(const EngineState& state, const std::array<double, N>& level) {
    if (state.options.criteriaType == 2) return *std::max_element(level.begin(), level.end());
    if constexpr (N == 2)
        return 2 * level[0] + level[1];
    else
        return level[0] + level[1] + level[2];
}

template <std::size_t N>
double threshold(const EngineState& state, B1Block<N>& block, double navaidDbm) {
    if constexpr (N == 2)
        return B1Thresh2(state, block, navaidDbm);
    else
        return B1Thresh3(state, block, navaidDbm);
}

template <std::size_t N>
PointCheck checkPoint(const EngineState& state, B1Block<N>& block, const CriteriaPoint& point) {
    if constexpr (N == 2)
        return CheckPt2(state, block, point);
    else
        return CheckPt3(state, block, point);
}

// What a combination needs of each station, worked out once per station
// rather than once per combination it takes part in (a station is in
// thousands of them on a large case).
struct StationTerms {
    std::vector<double> rejectionDb;  // REJ by slot
    std::vector<double> termDb;       // P by slot: the base level term

    explicit StationTerms(const EngineState& state)
        : rejectionDb(state.stations.size() + 1), termDb(state.stations.size() + 1) {
        const bool receiverLevel = state.options.criteriaType == 3 || state.options.criteriaType == 4;
        for (std::size_t s = 1; s <= state.stations.size(); ++s) {
            const Station& st = state.slot(static_cast<int>(s));
            rejectionDb[s] = AntRej(state, st.frequencyMHz);
            termDb[s] = receiverLevel
                            ? 10 * std::log10(st.erpKw) - 16.35 - rejectionDb[s]
                            : 10 * std::log10(st.erpKw) + 24.36 - 20 * std::log10(st.frequencyMHz) - rejectionDb[s];
        }
    }
};

template <std::size_t N>
Combination<N> setUp(const EngineState& state, const StationTerms& terms, const ImodRecord& record, std::size_t index) {
    Combination<N> c;
    c.record = index;
    c.productMHz = record.productMHz;
    std::array<double, N> frequency{};
    for (std::size_t k = 0; k < N; ++k) {
        c.slots[k] = record.slots[k];
        const auto s = static_cast<std::size_t>(c.slots[k]);
        frequency[k] = state.slot(c.slots[k]).frequencyMHz;
        c.rejectionDb[k] = terms.rejectionDb[s];
        c.termDb[k] = terms.termDb[s];
        c.block.signals[k].slot = static_cast<std::int16_t>(c.slots[k]);
    }
    c.block.proponentSlot = static_cast<std::int16_t>(record.proponent);
    c.block.deltaKHz = productOffsetKHz(state, record.productMHz);
    if constexpr (N == 2)
        SetCrit2(state, c.block, frequency[0], frequency[1]);
    else
        SetCrit3(state, c.block, frequency[0], frequency[1], frequency[2]);
    return c;
}

// Coarse prescreen: whether the combination comes within 12 dB of its
// threshold anywhere on the coarse grid, with the stations' levels taken as
// free-space levels (no antenna patterns).
template <std::size_t N>
bool prescreen(const EngineState& state, const Combination<N>& c, const ReceiverPointFile& coarse) {
    B1Block<N> block = c.block;
    for (const auto& p : coarse.points) {
        if (p.id == kSectionEnd) continue;
        std::array<double, N> level{};
        for (std::size_t k = 0; k < N; ++k) {
            const Station& st = state.slot(c.slots[k]);
            const double d = LLDist(st.latitude, st.longitude, p.latitude, p.longitude).distanceNmi;
            const double dh = (p.altitudeFt - st.antennaElevationFt) / 6076.115;
            level[k] = c.termDb[k] - 20 * std::log10(std::sqrt(d * d + dh * dh));
        }
        const double sig = productLevel<N>(state, level);
        if (threshold<N>(state, block, p.levelDbm) - 12 < sig) return true;
    }
    return false;
}

}  // namespace crv::engine::b1
