#pragma once
// The B1 evaluation of one combination at every receiver point, screened:
// whole blocks of points are ruled out from the level table's bounds, the
// rest are compared with their thresholds two points at a time, and only the
// points that exceed get the full point-by-point work of the criteria.
#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <utility>
#include <vector>

#include "b1_combination.h"
#include "criteria_b1.h"
#include "crv/formats/plot_file.h"
#include "receiver_point_file.h"
#include "state.h"
#include "station_point_levels.h"

namespace crv::engine::b1 {

// The receiver points as the inner loop reads them: the navaid level of every
// point in one plain array and, per block of the level table, the range of the
// navaid levels in it.
struct PointColumns {
    std::vector<double> navaidDbm;     // NaN at section ends
    std::vector<double> blockLowest;   // per block; +infinity for a block without points
    std::vector<double> blockHighest;  // per block; -infinity for a block without points
    std::vector<char> blockHasEnd;     // per block: holds a section end
    double lowest = std::numeric_limits<double>::infinity();
    double highest = -std::numeric_limits<double>::infinity();

    explicit PointColumns(const ReceiverPointFile& points) {
        constexpr std::size_t kBlock = StationPointLevels::kBlockPoints;
        const std::size_t n = points.points.size();
        const std::size_t blocks = (n + kBlock - 1) / kBlock;
        navaidDbm.assign(n, std::numeric_limits<double>::quiet_NaN());
        blockLowest.assign(blocks, lowest);
        blockHighest.assign(blocks, highest);
        blockHasEnd.assign(blocks, 0);
        for (std::size_t p = 0; p < n; ++p) {
            const auto& rec = points.points[p];
            const std::size_t b = p / kBlock;
            if (rec.id == kSectionEnd) {
                blockHasEnd[b] = 1;
                continue;
            }
            const double ld = rec.levelDbm;
            navaidDbm[p] = ld;
            if (ld < blockLowest[b]) blockLowest[b] = ld;  // NaN never is
            if (ld > blockHighest[b]) blockHighest[b] = ld;
        }
        for (std::size_t b = 0; b < blocks; ++b) {
            lowest = std::min(lowest, blockLowest[b]);
            highest = std::max(highest, blockHighest[b]);
        }
    }
};

// The threshold as a function of the navaid level (and the product level),
// for the criteria types whose threshold the inner loop can work out itself. Each form does the
// threshold routine's arithmetic in the routine's order, so the loop decides
// exactly as the routine would; the routine still runs for every point that
// reaches the threshold (it also sets the trigger levels the checks read).
enum class ThresholdForm {
    Linear,    // types 1 and 6: (K + S Ld) + D
    Unit,      // types 3 and 4: (Ld + K) + D
    Constant,  // type 2: -10 + D, against the strongest signal
    Other,     // types 5 and 7: only the routine knows
};

inline ThresholdForm thresholdForm(int criteriaType) {
    switch (criteriaType) {
        case 1:
        case 6: return ThresholdForm::Linear;
        case 2: return ThresholdForm::Constant;
        case 3:
        case 4: return ThresholdForm::Unit;
        default: return ThresholdForm::Other;
    }
}

// The loop works on two points at once (the width every x86-64 processor has)
// in GCC's portable vector type: each lane does the scalar arithmetic exactly
// (no contraction, no fast math).
using Lanes = double __attribute__((vector_size(2 * sizeof(double))));
constexpr std::size_t kLanes = 2;

template <ThresholdForm F, std::size_t N, typename V>
inline V thresholdOf(const B1Block<N>& b, V ld) {
    if constexpr (F == ThresholdForm::Linear)
        return (b.lineConstantDb + b.lineSlope * ld) + b.productOffsetDb;
    else if constexpr (F == ThresholdForm::Unit)
        return (ld + b.lineConstantDb) + b.productOffsetDb;
    else
        return V{} + (-10.0 + b.productOffsetDb);  // the constant in V's shape (0 + c is c)
}

// productLevel: for criteria type 2 the strongest signal, for the others the
// signals' sum (the doubled one twice), in the same order of operations.
template <ThresholdForm F, std::size_t N, typename V>
inline V productOf(const std::array<V, N>& l) {
    if constexpr (F == ThresholdForm::Constant) {
        V m = l[0];
        for (std::size_t k = 1; k < N; ++k) m = m < l[k] ? l[k] : m;  // as max_element: the first of equals
        return m;
    } else if constexpr (N == 2) {
        return 2.0 * l[0] + l[1];
    } else {
        return l[0] + l[1] + l[2];
    }
}

// The lowest threshold over navaid levels in [lo, hi]. Rounding is monotonic,
// so this is never above the threshold worked out at any level in the range.
template <ThresholdForm F, std::size_t N>
inline double lowestThreshold(const B1Block<N>& b, double lo, double hi) {
    if constexpr (F == ThresholdForm::Linear)
        return thresholdOf<F, N>(b, b.lineSlope >= 0 ? lo : hi);
    else
        return thresholdOf<F, N>(b, lo);
}

// How far each point's product level lies above its threshold, for the
// `count` points of a block: two points at a time with plain loads, adds and
// compares, no calls and no branches. `gain` holds each signal's path terms
// and `ld` the navaid levels, both from the block's first point. A point
// exceeds exactly when its product level is above its threshold, and then
// (IEEE arithmetic, infinities included) the difference is above zero; NaN
// never is.
template <ThresholdForm F, std::size_t N>
inline void excessOverThreshold(const std::array<double, N>& termDb, const std::array<const double*, N>& gain,
                                const B1Block<N>& b, const double* ld, std::size_t count, double* excess) {
    std::size_t i = 0;
    for (; i + kLanes <= count; i += kLanes) {
        std::array<Lanes, N> l;
        for (std::size_t k = 0; k < N; ++k) {
            Lanes g;
            std::memcpy(&g, gain[k] + i, sizeof g);
            l[k] = termDb[k] + g;
        }
        Lanes navaid;
        std::memcpy(&navaid, ld + i, sizeof navaid);
        const Lanes e = productOf<F, N>(l) - thresholdOf<F, N>(b, navaid);
        std::memcpy(excess + i, &e, sizeof e);
    }
    for (; i < count; ++i) {
        std::array<double, N> l;
        for (std::size_t k = 0; k < N; ++k) l[k] = termDb[k] + gain[k][i];
        excess[i] = productOf<F, N>(l) - thresholdOf<F, N>(b, ld[i]);
    }
}

// Whether no point of block `blk` can exceed the threshold, given for each
// signal a value its path terms in the block do not exceed: the product of
// those levels stays at or below the block's lowest threshold.
template <ThresholdForm F, std::size_t N>
bool blockCannotExceed(const std::array<double, N>& termDb, const std::array<double, N>& largestGainDb,
                       const B1Block<N>& b, const PointColumns& cols, std::size_t blk) {
    std::array<double, N> l;
    for (std::size_t k = 0; k < N; ++k) l[k] = termDb[k] + largestGainDb[k];
    return productOf<F, N>(l) <= lowestThreshold<F, N>(b, cols.blockLowest[blk], cols.blockHighest[blk]);
}

template <std::size_t N>
class CombinationEvaluation {
    static constexpr std::size_t kBlock = StationPointLevels::kBlockPoints;

public:
    CombinationEvaluation(const EngineState& state, const Combination<N>& c, const ReceiverPointFile& points,
                          const PointColumns& cols, const StationPointLevels& levels)
        : state_(state), c_(c), points_(points), cols_(cols), levels_(levels), block_(c.block) {
        for (std::size_t k = 0; k < N; ++k) {
            termDb_[k] = c.termDb[k];
            bound_[k] = levels.blockBoundRow(c.slots[k]);
        }
        r_.triggered = true;
    }

    CombinationResult<N> run() {
        const bool debug = state_.options.outputStyle == 3;
        const ThresholdForm form = thresholdForm(state_.options.criteriaType);
        // The debugging output prints every point; the forms the loop cannot
        // work out go point by point through the threshold routine.
        if (debug || form == ThresholdForm::Other) {
            std::array<double, N> largest;
            for (std::size_t blk = 0; blk < levels_.blockCount(); ++blk) {
                load(blk, largest);
                visitAll(blk);
            }
            return std::move(r_);
        }
        switch (form) {
            case ThresholdForm::Linear: screened<ThresholdForm::Linear>(); break;
            case ThresholdForm::Unit: screened<ThresholdForm::Unit>(); break;
            case ThresholdForm::Constant: screened<ThresholdForm::Constant>(); break;
            case ThresholdForm::Other: break;
        }
        return std::move(r_);
    }

private:
    // Blocks that cannot exceed anywhere are skipped whole: first by the
    // level table's bounds, without the block's values, then by the values'
    // own largest. The others are screened with the loop's own arithmetic,
    // and only the points that exceed go through the full point-by-point work
    // (which decides again, exactly as without the screen, and leaves out the
    // points tied to other stations). Blocks holding a section end are walked
    // point by point. A combination that cannot exceed anywhere finds no
    // point, whatever the sections.
    template <ThresholdForm F>
    void screened() {
        const std::size_t n = points_.points.size();
        {
            std::array<double, N> l;
            for (std::size_t k = 0; k < N; ++k) l[k] = termDb_[k] + levels_.largestBoundDb(c_.slots[k]);
            if (productOf<F, N>(l) <= lowestThreshold<F, N>(block_, cols_.lowest, cols_.highest)) return;
        }
        alignas(64) std::array<double, kBlock> excess;
        std::array<double, N> largest;
        for (std::size_t blk = 0, p0 = 0; p0 < n; ++blk, p0 += kBlock) {
            if (cols_.blockHasEnd[blk]) {
                load(blk, largest);
                visitAll(blk);
                continue;
            }
            for (std::size_t k = 0; k < N; ++k) largest[k] = bound_[k][blk];
            if (blockCannotExceed<F, N>(termDb_, largest, block_, cols_, blk)) continue;
            load(blk, largest);
            if (blockCannotExceed<F, N>(termDb_, largest, block_, cols_, blk)) continue;
            const std::size_t count = std::min(n, p0 + kBlock) - p0;
            excessOverThreshold<F, N>(termDb_, gain_, block_, cols_.navaidDbm.data() + p0, count, excess.data());
            for (std::size_t i = 0; i < count; ++i)
                if (excess[i] > 0) visit(p0 + i);
        }
    }

    // Makes block blk's path terms the current ones, with their largest.
    void load(std::size_t blk, std::array<double, N>& largest) {
        for (std::size_t k = 0; k < N; ++k)
            gain_[k] = levels_.blockValues(c_.slots[k], blk, scratch_[k].data(), largest[k]);
        blockStart_ = blk * kBlock;
    }

    void visitAll(std::size_t blk) {
        for (std::size_t p = blk * kBlock; p < std::min(points_.points.size(), (blk + 1) * kBlock); ++p) visit(p);
    }

    // The full work of one point of the current block, section ends included.
    void visit(std::size_t p) {
        const bool debug = state_.options.outputStyle == 3;
        const bool twoSections = state_.options.gridType == 6 || state_.options.gridType == 7;
        const auto& rec = points_.points[p];
        if (rec.id == kSectionEnd) {
            if (r_.plotOpen) r_.plot.push_back(crv::formats::sectionEndPoint());
            if (!firstSectionEnded_) {
                firstSectionEnded_ = true;
                r_.firstSectionCount = r_.pointCount;
            }
            return;
        }
        // Id 0 serves every station; +-s ties a point (a column of the general
        // assessment method) to station s.
        const int id = std::abs(static_cast<int>(rec.id));
        bool used = id == 0;
        for (const int s : c_.slots) used = used || id == s;
        if (!used) return;

        std::array<double, N> level{};
        for (std::size_t k = 0; k < N; ++k) {
            level[k] = c_.termDb[k] + gain_[k][p - blockStart_];
            block_.signals[k].levelDbm = level[k];
        }
        const double sig = productLevel<N>(state_, level);
        const double th = threshold<N>(state_, block_, rec.levelDbm);
        const bool above = sig > th;
        if (!above && !debug) return;

        for (std::size_t k = 0; k < N; ++k) block_.signals[k].distanceNmi = levels_.distanceNmi(c_.slots[k], p);
        const PointCheck check = checkPoint<N>(state_, block_, CriteriaPoint{rec.levelDbm, rec.altitudeFt});
        // The notes speak of the points that reached the threshold; the
        // debugging output checks the others too but must not change the notes.
        if (above) {
            r_.flags |= check.raised;
            if (check.valid) {
                if (!r_.plotOpen) {
                    r_.plotOpen = true;
                    // Keep the plot's sections in step with the point file's.
                    if (twoSections && firstSectionEnded_) r_.plot.push_back(crv::formats::sectionEndPoint());
                }
                r_.plot.push_back(crv::formats::makeInterferencePoint(sig - th, rec.distanceNmi, rec.azimuthDeg,
                                                                      rec.altitudeFt, static_cast<float>(sig)));
                ++r_.pointCount;
            }
        }
        if (debug) {
            DebugPoint<N> d{};
            d.distanceNmi = rec.distanceNmi;
            d.azimuthDeg = rec.azimuthDeg;
            d.altitudeFt = rec.altitudeFt;
            d.navaidDbm = rec.levelDbm;
            for (std::size_t k = 0; k < N; ++k) {
                d.levelDbm[k] = level[k];
                d.triggerDbm[k] = block_.signals[k].triggerDbm;
                d.cutoffDbm[k] = block_.signals[k].cutoffDbm;
                d.masked[k] = block_.signals[k].masked;
                d.belowCutoff[k] = block_.signals[k].belowCutoff;
                d.beyondSight[k] = block_.signals[k].beyondLineOfSight;
            }
            d.productDbm = sig;
            d.thresholdDbm = th;
            d.valid = check.valid;
            d.belowTrigger = block_.belowTrigger;
            d.plotOpen = r_.plotOpen;
            r_.debug.push_back(d);
        }
    }

    const EngineState& state_;
    const Combination<N>& c_;
    const ReceiverPointFile& points_;
    const PointColumns& cols_;
    const StationPointLevels& levels_;
    B1Block<N> block_;
    std::array<double, N> termDb_;         // the signals' base level terms
    std::array<const double*, N> bound_;   // their rows of block bounds
    std::array<const double*, N> gain_{};  // their path terms in the current block
    std::size_t blockStart_ = 0;           // the current block's first point
    // Where a block's values go while another thread works them out.
    std::array<std::array<double, kBlock>, N> scratch_;
    CombinationResult<N> r_;
    bool firstSectionEnded_ = false;
};

}  // namespace crv::engine::b1
