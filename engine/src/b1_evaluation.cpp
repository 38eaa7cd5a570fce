// B1 intermodulation: two- and three-signal products of FM stations near the
// navaid frequency, checked at every receiver point.
//
// Combinations are independent of each other, so they are evaluated on all
// threads, each with its own criteria working block; everything they produce
// (plot records, report and debug lines, counts, note flags) is kept per
// combination and written on this thread in list order. The files therefore do
// not depend on the thread count. FM levels come from a table built once per
// call for the stations of the combinations that need it; a combination reads
// it block by block and skips the blocks (or the whole combination) whose
// largest levels cannot reach the threshold, so only the few points that
// exceed get the full point-by-point work.
#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <limits>
#include <optional>

#include "case_input.h"
#include "criteria.h"
#include "criteria_b1.h"
#include "crv/platform/output_file.h"
#include "crv/platform/text_file.h"
#include "edit_list.h"
#include "evaluation_exports.h"
#include "failure.h"
#include "fixed_text.h"
#include "geodesy.h"
#include "imod_lists.h"
#include "large_memory.h"
#include "parallel.h"
#include "plot_header.h"
#include "receiver_point_file.h"
#include "report_file.h"
#include "result_names.h"
#include "station_point_levels.h"

namespace crv::engine {

namespace {

namespace fs = std::filesystem;
using crv::formats::InterferencePoint;
using crv::formats::kSectionEnd;

// The texts and layouts that differ between the two- and three-signal checks.
template <std::size_t N>
struct B1Texts;

template <>
struct B1Texts<2> {
    static constexpr const char* routine = "B1_2Sig        ";
    static constexpr const char* listName = kImod2ListName;
    static constexpr const char* debugName = "B1_2Sig.dbg";
    static constexpr const char* noList =
        "(/,/,1X,'There are no 2-signal intermodulation ','combinations for this data file.')";
    static constexpr const char* heading = "(/,1X,'Evaluation of 2-signal intermodulation interference')";
    static constexpr const char* summaryHeading = "(/,1X,'2-signal intermodulation summary for above data:',/)";
    static constexpr const char* caption1 = "(1X,'Freq1   ID   Call   Freq2   ID   Call    ','IMod  Offset   #Pts')";
    static constexpr const char* caption2 = "(1X,' MHz                 MHz                 ',' MHz    kHz')";
    static constexpr const char* row = "(1X,2(F6.2,1X,I4,1X,A7,1X),F7.3,2X,I3,2X,I6)";
    static constexpr const char* splitRow = "(1X,2(F6.2,1X,I4,1X,A7,1X),F7.3,2X,I3,1X,I6,A1)";
    static constexpr const char* splitRest = "(54X,I6,A1)";
    static constexpr const char* debugCaption =
        "(5X,'DISRX  ',8X,'RAD    ',8X,'RXELEV ',8X,'NAVDBM ',8X,'PDBM(1)',/,"
        "6X,'PDBM(2)',8X,'SIG2   ',8X,'B1TH2  ',8X,'REJ(1) ',8X,'REJ(2) ',/,"
        "7X,'TL(1)  ',8X,'TL(2)  ',8X,'PCUT(1)',8X,'PCUT(2)',/,"
        "8X,'VALID/SOME2F/TRGFLG',2X,'2 X (ABFLG/CUTFLG/SITFLG)',2X,'FAIL2F')";
    static constexpr const char* debugValues = "(1X,5(E14.4,1X),/,2X,5(E14.4,1X),/,3X,4(E14.4,1X))";
    static constexpr const char* debugFlags = "(8X,3(3L1,2X),L1,/)";
    static constexpr const char* debugFileLine = "(1X,7(E14.4,1X))";
    static constexpr const char* noInterference = "(1X,'No 2-signal intermodulation interference found.')";
    static constexpr const char* noteMasked =
        "(/,1X,'Note:  Some 2-signal points masked ','by adjacent-channel / overload interference.')";
    static constexpr const char* noteSight = "(/,1X,'Note:  Some 2-signal points beyond ','line-of-site distance.')";
    static constexpr const char* noteCutoff = "(/,1X,'Note:  Some 2-signal points below ','cutoff level.')";
    static constexpr const char* noteTrigger = "(/,1X,'Note:  Some 2-signal points below ','trigger level.')";
    static constexpr const char* title1 = "('Intermodulation (B1) plot:  ',A,' (',I3,') & ',A,' (',I3,')')";
    static constexpr const char* title2 = "('Frequencies:',2(2X,A,' = ',F7.3,' MHz'))";
};

template <>
struct B1Texts<3> {
    static constexpr const char* routine = "B1_3Sig        ";
    static constexpr const char* listName = kImod3ListName;
    static constexpr const char* debugName = "B1_3Sig.dbg";
    static constexpr const char* noList =
        "(/,/,/,1X,'There are no 3-signal intermodulation ','combinations for this data file.')";
    static constexpr const char* heading = "(/,/,1X,'Evaluation of 3-signal intermodulation interference')";
    static constexpr const char* summaryHeading = "(/,1X,'3-signal intermodulation summary for above data:',/)";
    static constexpr const char* caption1 =
        "(1X,'Freq1   ID   Call   Freq2   ID   Call   ','Freq3   ID   Call    IMod  Offset   #Pts')";
    static constexpr const char* caption2 =
        "(1X,' MHz                 MHz                ',' MHz                  MHz    kHz')";
    static constexpr const char* row = "(1X,3(F6.2,1X,I4,1X,A7,1X),F7.3,2X,I3,2X,I6)";
    static constexpr const char* splitRow = "(1X,3(F6.2,1X,I4,1X,A7,1X),F7.3,2X,I3,1X,I6,A1)";
    static constexpr const char* splitRest = "(74X,I6,A1)";
    static constexpr const char* debugCaption =
        "(5X,'DISRX  ',8X,'RAD    ',8X,'RXELEV ',8X,'NAVDBM ',8X,'PDBM(1)',/,"
        "6X,'PDBM(2)',8X,'PDBM(3)',8X,'SIG3   ',8X,'B1TH3  ',8X,'REJ(1) ',/,"
        "7X,'REJ(2) ',8X,'REJ(3) ',8X,'TL(1)  ',8X,'TL(2)  ',8X,'TL(3)  ',/,"
        "8X,'PCUT(1)',8X,'PCUT(2)',8X,'PCUT(3)',/,"
        "9X,'VALID/SOME3F/TRGFLG',2X,'3 X (ABFLG/CUTFLG/SITFLG)',2X,'FAIL3F')";
    static constexpr const char* debugValues =
        "(1X,5(E14.4,1X),/,2X,5(E14.4,1X),/,3X,5(E14.4,1X),/,4X,3(E14.4,1X))";
    static constexpr const char* debugFlags = "(9X,4(3L1,2X),L1,/)";
    static constexpr const char* debugFileLine = "(1X,8(E14.4,1X))";
    static constexpr const char* noInterference = "(1X,'No 3-signal intermodulation interference found.')";
    static constexpr const char* noteMasked =
        "(/,1X,'Note:  Some 3-signal points masked ','by adjacent-channel / overload interference.')";
    static constexpr const char* noteSight = "(/,1X,'Note:  Some 3-signal points beyond ','line-of-site distance.')";
    static constexpr const char* noteCutoff = "(/,1X,'Note:  Some 3-signal points below ','cutoff level.')";
    static constexpr const char* noteTrigger = "(/,1X,'Note:  Some 3-signal points below ','trigger level.')";
    static constexpr const char* title1 = "('Intermod (B1) plot:  ',2(A,' (',I3,'), '),'& ',A,' (',I3,')')";
    static constexpr const char* title2 = "('Frequencies:',3(2X,A,' = ',F7.3),' MHz')";
};

// One distinct combination, set up once from its list record.
template <std::size_t N>
struct Combination {
    std::size_t record = 0;           // its index in the list
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
    if constexpr (N == 2) return 2 * level[0] + level[1];
    else return level[0] + level[1] + level[2];
}

template <std::size_t N>
double threshold(const EngineState& state, B1Block<N>& block, double navaidDbm) {
    if constexpr (N == 2) return B1Thresh2(state, block, navaidDbm);
    else return B1Thresh3(state, block, navaidDbm);
}

template <std::size_t N>
PointCheck checkPoint(const EngineState& state, B1Block<N>& block, const CriteriaPoint& point) {
    if constexpr (N == 2) return CheckPt2(state, block, point);
    else return CheckPt3(state, block, point);
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
            termDb[s] = receiverLevel ? 10 * std::log10(st.erpKw) - 16.35 - rejectionDb[s]
                                      : 10 * std::log10(st.erpKw) + 24.36 - 20 * std::log10(st.frequencyMHz) -
                                            rejectionDb[s];
        }
    }
};

template <std::size_t N>
Combination<N> setUp(const EngineState& state, const StationTerms& terms, const ImodRecord& record,
                     std::size_t index) {
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
    if constexpr (N == 2) SetCrit2(state, c.block, frequency[0], frequency[1]);
    else SetCrit3(state, c.block, frequency[0], frequency[1], frequency[2]);
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

// The receiver points as the inner loop reads them: the navaid level of every
// point in one plain array and, per block of the level table, the range of the
// navaid levels in it.
struct PointColumns {
    std::vector<double> navaidDbm;       // NaN at section ends
    std::vector<double> blockLowest;     // per block; +infinity for a block without points
    std::vector<double> blockHighest;    // per block; -infinity for a block without points
    std::vector<char> blockHasEnd;       // per block: holds a section end
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

ThresholdForm thresholdForm(int criteriaType) {
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
    if constexpr (F == ThresholdForm::Linear) return (b.lineConstantDb + b.lineSlope * ld) + b.productOffsetDb;
    else if constexpr (F == ThresholdForm::Unit) return (ld + b.lineConstantDb) + b.productOffsetDb;
    else return V{} + (-10.0 + b.productOffsetDb);  // the constant in V's shape (0 + c is c)
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
    if constexpr (F == ThresholdForm::Linear) return thresholdOf<F, N>(b, b.lineSlope >= 0 ? lo : hi);
    else return thresholdOf<F, N>(b, lo);
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

// Share of the progress bar on a large case for the levels when they are all
// worked out before the list walk, and for their bounds when the walk works
// them out as it goes (the list walk has the rest).
constexpr double kLevelsShare = 90;
constexpr double kBoundsShare = 10;

// Progress of the phases before the list walk, reported from the calling
// thread between work items: on a large case the bar moves through the
// phase's share of it, and the cancel word is read at least every 200 ms; a
// small case makes no calls here, so it sees the list walk's calls alone,
// whatever the timing.
class PhaseProgress {
public:
    PhaseProgress(Progress& progress, bool large) : progress_(progress), large_(large) {}
    // The next polls move the bar from `from` to `to` (percent); the bar
    // shows `from` at once.
    void begin(double from, double to) {
        if (!large_) return;
        progress_.setSpan(from, to);
        reported_ = 0;
        last_ = std::chrono::steady_clock::now();
        progress_.checkpoint(0, 1);
    }
    void poll(std::size_t done, std::size_t total) {
        if (!large_) return;
        const long percent = total == 0 ? 100 : std::lround(static_cast<double>(done) * 100.0 / static_cast<double>(total));
        const auto now = std::chrono::steady_clock::now();
        if (percent == reported_ && now - last_ < std::chrono::milliseconds(200)) return;
        reported_ = percent;
        last_ = now;
        progress_.checkpoint(static_cast<double>(done), static_cast<double>(total));
    }
    void end() {
        if (large_) progress_.setSpan(0, 100);
    }

private:
    Progress& progress_;
    bool large_;
    long reported_ = -1;
    std::chrono::steady_clock::time_point last_ = std::chrono::steady_clock::now();
};

// The coarse grid may be used only when this run's grid wrote it: same grid,
// and not older than the receiver-point file (a vertical-only grid writes
// none, and a file left from an earlier run must not decide anything). The
// debugging style prescreens like the others, so that it finds exactly the
// cases they find; only its printout is longer.
std::optional<ReceiverPointFile> coarseGrid(const EngineState& state, const ReceiverPointFile& fine,
                                            std::string_view routine) {
    const int gridType = state.options.gridType;
    if (state.options.prescreen == 0 || gridType == 8 || gridType == 12) return std::nullopt;
    const std::string finePath = state.paths.runFolder + "Rcvr_Loc.plx";
    const std::string coarsePath = state.paths.runFolder + "Rcvr8Loc.plx";
    std::error_code ec;
    if (!fs::is_regular_file(coarsePath, ec)) return std::nullopt;
    const auto coarseTime = fs::last_write_time(coarsePath, ec);
    if (ec) return std::nullopt;
    const auto fineTime = fs::last_write_time(finePath, ec);
    if (ec || coarseTime < fineTime) return std::nullopt;
    ReceiverPointFile coarse = readReceiverPointFile(coarsePath, routine);
    const auto& a = coarse.header;
    const auto& b = fine.header;
    if (a.gridType != b.gridType || a.gridAltitudeFt != b.gridAltitudeFt || a.gridAngleDeg != b.gridAngleDeg ||
        a.frequencyMHz != b.frequencyMHz || trimRightCopy(a.navaidId) != trimRightCopy(b.navaidId))
        return std::nullopt;
    return coarse;
}

std::int16_t plusOne(std::int16_t n) { return n < 32767 ? static_cast<std::int16_t>(n + 1) : n; }

// Deletes what a cancelled or failed call leaves unless disarmed.
struct Cleanup {
    ReportFile& report;
    crv::platform::TextWriter& debug;
    std::string listPath;
    bool armed = true;
    ~Cleanup() {
        if (!armed) return;
        report.discard();
        debug.discard();
        crv::platform::removeFile(listPath);
    }
};

template <std::size_t N>
class B1Run {
    using Texts = B1Texts<N>;

public:
    B1Run(const EngineState& state, Progress& progress, std::int16_t& cases, std::int32_t& combinations)
        : state_(state), progress_(progress), cases_(cases), combinations_(combinations) {}

    void run() {
        const std::string listPath = state_.paths.tempFolder + Texts::listName;
        ReportFile report;
        crv::platform::TextWriter debug;
        Cleanup cleanup{report, debug, listPath};
        report.append(state_.paths.runFolder, Texts::routine);

        // The list file is written beside the work that follows (nothing
        // here reads it back); it is whole before the call removes it.
        ListLines listLines;
        ListFile listFile;
        const int count =
            N == 2 ? ListImod2(state_, listPath, b1WindowKHz(state_), {}, Texts::routine, &listLines, &listFile)
                   : ListImod3(state_, listPath, b1WindowKHz(state_), {}, Texts::routine, &listLines, &listFile);
        if (count == 0) {
            report.write(Texts::noList);
            report.close(Texts::routine);
            cleanup.armed = false;
            return;
        }

        // The list as written (it stays on disk for the length of the call, as before).
        const ImodRecords records =
            parseImodList(listLines, static_cast<int>(N), listPath, Texts::routine);
        listFile.freeLines(std::move(listLines));
        const ReceiverPointFile points = readReceiverPointFile(state_.paths.runFolder + "Rcvr_Loc.plx", Texts::routine);
        const std::optional<ReceiverPointFile> coarse = coarseGrid(state_, points, Texts::routine);
        if (state_.options.outputStyle == 3) {
            const std::string path = state_.paths.runFolder + Texts::debugName;
            if (auto opened = debug.open(path, crv::platform::WriteMode::Replace); !opened)
                fail(Texts::routine, "Could not create debugging file:\r" + opened.error());
        }

        report.write(Texts::heading);
        report.separator();

        // Number the distinct combinations (a repeated record is the same
        // combination found for another proponent): counted per part of the
        // list on all threads, then numbered on all threads from each part's
        // first number.
        constexpr std::size_t kPart = 16384;
        const std::size_t parts = (records.size() + kPart - 1) / kPart;
        std::vector<std::size_t> firstOfPart(parts + 1, 0);
        parallelFor(0, parts, [&](std::size_t part) {
            for (std::size_t i = part * kPart; i < std::min(records.size(), (part + 1) * kPart); ++i)
                if (!records[i].repeat) ++firstOfPart[part + 1];
        });
        for (std::size_t part = 0; part < parts; ++part) firstOfPart[part + 1] += firstOfPart[part];
        UnwrittenVector<std::size_t> comboOfRecord(records.size());
        UnwrittenVector<std::size_t> recordOfCombo(firstOfPart[parts]);
        parallelFor(0, parts, [&](std::size_t part) {
            std::size_t c = firstOfPart[part];
            for (std::size_t i = part * kPart; i < std::min(records.size(), (part + 1) * kPart); ++i) {
                if (records[i].repeat) {
                    comboOfRecord[i] = SIZE_MAX;
                    continue;
                }
                comboOfRecord[i] = c;
                recordOfCombo[c++] = i;
            }
        });
        // On a large case the levels take most of the call: they fill the
        // first part of the progress bar, the list walk the rest. A small
        // case reports the list walk alone.
        const bool large = points.points.size() * recordOfCombo.size() >= 2'000'000;
        PhaseProgress phase(progress_, large);

        // A combination is set up where it is needed (the prescreen, then the
        // walk) rather than kept: a million of them set up at once are a third
        // of a gigabyte, and fresh memory costs more to touch than the set-up.
        const StationTerms terms(state_);
        const auto setUpCombination = [&](std::size_t c) {
            return setUp<N>(state_, terms, records[recordOfCombo[c]], recordOfCombo[c]);
        };
        const std::size_t combinationCount = recordOfCombo.size();

        // Prescreen on all threads.
        LargeVector<char> triggered(combinationCount, 1);
        if (coarse) {
            phase.begin(0, 0);
            parallelFor(
                0, combinationCount,
                [&](std::size_t c) { triggered[c] = prescreen<N>(state_, setUpCombination(c), *coarse); },
                [&](std::size_t done) { phase.poll(done, combinationCount); });
        }

        // Levels of the stations that take part in a triggered combination.
        std::vector<int> slots;
        std::vector<std::atomic<unsigned char>> wanted(state_.stations.size() + 1);
        parallelFor(0, (combinationCount + kPart - 1) / kPart, [&](std::size_t part) {
            for (std::size_t c = part * kPart; c < std::min(combinationCount, (part + 1) * kPart); ++c)
                if (triggered[c])
                    for (std::size_t k = 0; k < N; ++k) {
                        // Read first: a store to a flag already set would
                        // take its cache line from every other thread.
                        auto& flag = wanted[static_cast<std::size_t>(records[recordOfCombo[c]].slots[k])];
                        if (!flag.load(std::memory_order_relaxed)) flag.store(1, std::memory_order_relaxed);
                    }
        });
        for (std::size_t s = 1; s < wanted.size(); ++s)
            if (wanted[s].load(std::memory_order_relaxed)) slots.push_back(static_cast<int>(s));
        // Where the values are worked out as the walk needs them, the
        // table's build is the bounds alone and the walk takes the most time.
        const double levelsShare = StationPointLevels::fillsWhenUsed(state_, slots) ? kBoundsShare : kLevelsShare;
        phase.begin(0, levelsShare);
        const StationPointLevels levels = StationPointLevels::build(
            state_, points, slots, [&](std::size_t done, std::size_t total) { phase.poll(done, total); });
        const PointColumns columns(points);
        phase.end();

        // Walk the list in order, each distinct combination written as soon
        // as it and those before it are evaluated, while the threads go on
        // with those after it. Combinations go out in small chunks: their
        // cost differs a lot (most are rejected whole, the first to read a
        // block works its levels out), and a thread that loses its core holds
        // up only its own chunk. A short list goes out in smaller chunks, so
        // that every thread has a share.
        if (large) progress_.setSpan(levelsShare, 100);
        const std::size_t kChunk = std::clamp<std::size_t>(combinationCount / 512, 1, 16);
        // The threads may run far ahead of the writing: a chunk that works
        // out many levels must not leave them waiting for room. With
        // debugging output a combination keeps every point's printout until
        // it is written, so fewer are kept ahead.
        const std::size_t ahead = state_.options.outputStyle == 3 ? 16 : 8192;
        std::vector<std::vector<CombinationResult<N>>> results(ahead);
        const auto total = static_cast<double>(records.size() + (N == 2 ? 1 : 2));
        const std::size_t step =
            N == 2 ? 1 : static_cast<std::size_t>(std::clamp<long>(std::lround(total / 20), 1, 25));
        std::size_t i = 0;  // the next list record to walk
        const auto walkTo = [&](std::size_t end, std::vector<CombinationResult<N>>* chunk, std::size_t first) {
            for (; i <= end && i <= records.size(); ++i) {
                if ((i + 1) % step == 0) progress_.checkpoint(static_cast<double>(i + 1), total);
                if (i == records.size() || records[i].repeat) continue;
                const std::size_t c = comboOfRecord[i];
                ++combinations_;
                CombinationResult<N>& r = (*chunk)[c - first];
                write(r.key, r, report, debug);
                r.plotPath.clear();  // reached: kept, whatever follows
            }
        };
        const std::size_t chunks = (combinationCount + kChunk - 1) / kChunk;
        try {
            parallelOrdered(
                chunks, ahead,
                [&](std::size_t k) {
                    std::vector<CombinationResult<N>>& out = results[k % ahead];
                    const std::size_t first = k * kChunk, end = std::min(combinationCount, first + kChunk);
                    out.assign(end - first, {});
                    for (std::size_t c = first; c < end; ++c) {
                        const Combination<N> combination = setUpCombination(c);
                        if (triggered[c])
                            out[c - first] = CombinationEvaluation<N>(state_, combination, points, columns, levels).run();
                        out[c - first].key = CombinationKey<N>(combination);
                        // The plot files are written here, on all threads: each
                        // has its own name (the stations'), and its bytes do not
                        // depend on the order. A failed or cancelled call removes
                        // them with the other result files.
                        if (out[c - first].plotOpen) {
                            out[c - first].plotPath = writePlot(out[c - first].key, out[c - first]);
                            out[c - first].plot = {};
                        }
                    }
                },
                [&](std::size_t k) {
                    // The records up to this chunk's last combination.
                    const std::size_t last = std::min(combinationCount, (k + 1) * kChunk) - 1;
                    walkTo(recordOfCombo[last], &results[k % ahead], k * kChunk);
                    // The slot keeps its room for the chunk it takes next (freed here, it
                    // would be allocated again on another thread).
                    for (CombinationResult<N>& r : results[k % ahead]) r = {};
                });
        } catch (...) {
            // A cancel or failure keeps no plot file of a combination the
            // walk had not reached (a failed call removes the others too).
            for (const auto& chunk : results)
                for (const CombinationResult<N>& r : chunk)
                    if (!r.plotPath.empty()) crv::platform::removeFile(r.plotPath);
            throw;
        }
        walkTo(records.size(), nullptr, 0);  // the repeats after the last combination, and the final mark

        if (cases_ == 0) {
            if (state_.options.outputStyle >= 2) report.line("");
            report.write(Texts::noInterference);
        }
        if (flags_.anyMasked) report.write(Texts::noteMasked);
        if (state_.scientific && flags_.anyBeyondLineOfSight) report.write(Texts::noteSight);
        if (flags_.anyBelowCutoff) report.write(Texts::noteCutoff);
        if (flags_.anyBelowTrigger) report.write(Texts::noteTrigger);

        listFile.finish();
        crv::platform::removeFile(listPath);
        report.close(Texts::routine);
        if (debug.isOpen()) {
            const std::string path = debug.path();
            if (!debug.close()) fail(Texts::routine, "Could not write debugging file:\r" + path);
        }
        cleanup.armed = false;
    }

private:
    void write(const CombinationKey<N>& c, const CombinationResult<N>& r, ReportFile& report,
               crv::platform::TextWriter& debug) {
        const bool debugging = state_.options.outputStyle == 3;
        const std::int16_t casesBefore = cases_;
        if (debugging && !r.debug.empty()) {
            static const EditFormat values(Texts::debugValues);
            static const EditFormat flags(Texts::debugFlags);
            static const EditFormat fileLine(Texts::debugFileLine);
            report.line("");
            report.separator();
            report.write(Texts::debugCaption);
            report.separator();
            for (const DebugPoint<N>& d : r.debug) {
                std::vector<EditValue> v{d.distanceNmi, d.azimuthDeg, d.altitudeFt, d.navaidDbm};
                for (double x : d.levelDbm) v.emplace_back(x);
                v.emplace_back(d.productDbm);
                v.emplace_back(d.thresholdDbm);
                for (double x : c.rejectionDb) v.emplace_back(x);
                for (double x : d.triggerDbm) v.emplace_back(x);
                for (double x : d.cutoffDbm) v.emplace_back(x);
                report.write(values, v);
                std::vector<EditValue> f{d.valid, casesBefore > 0 || d.plotOpen, d.belowTrigger};
                for (std::size_t k = 0; k < N; ++k) {
                    f.emplace_back(d.masked[k]);
                    f.emplace_back(d.belowCutoff[k]);
                    f.emplace_back(d.beyondSight[k]);
                }
                f.emplace_back(d.plotOpen);
                report.write(flags, f);
                std::vector<EditValue> line{d.distanceNmi, d.azimuthDeg, d.altitudeFt, d.navaidDbm};
                for (double x : d.levelDbm) line.emplace_back(x);
                line.emplace_back(d.thresholdDbm);
                for (const auto& l : fileLine.format(line)) debug.writeLine(l);
            }
            captionDue_ = true;
        }
        if (r.plotOpen) cases_ = plusOne(cases_);  // its plot file is written
        flags_ |= r.flags;

        if (debugging) {
            report.separator();
            report.write(Texts::summaryHeading);
        }
        if (state_.options.outputStyle >= 2 || r.pointCount >= 1) {
            if (captionDue_) {
                report.write(Texts::caption1);
                report.write(Texts::caption2);
                report.separator();
                captionDue_ = false;
            }
            std::vector<EditValue> v;
            for (const int s : c.slots) {
                const Station& st = state_.slot(s);
                v.emplace_back(st.frequencyMHz);
                v.emplace_back(static_cast<long long>(st.ordinal));
                v.emplace_back(st.callSign);
            }
            v.emplace_back(c.productMHz);
            v.emplace_back(static_cast<long long>(c.deltaKHz));
            if (state_.options.gridType == 6 || state_.options.gridType == 7) {
                v.emplace_back(static_cast<long long>(r.firstSectionCount));
                v.emplace_back(std::string("H"));
                report.write(Texts::splitRow, v);
                report.write(Texts::splitRest, {static_cast<long long>(r.pointCount - r.firstSectionCount),
                                                std::string("V")});
            } else {
                v.emplace_back(static_cast<long long>(r.pointCount));
                report.write(Texts::row, v);
            }
        }
        if (debugging) {
            report.line("");
            debug.writeLine("");
        }
    }

    // Writes the combination's plot file and returns its path.
    std::string writePlot(const CombinationKey<N>& c, const CombinationResult<N>& r) const {
        std::array<const Station*, N> st{};
        for (std::size_t k = 0; k < N; ++k) st[k] = &state_.slot(c.slots[k]);
        std::string name;
        if constexpr (N == 2) name = b1TwoSignalPlotName(st[0]->ordinal, st[1]->ordinal);
        else name = b1ThreeSignalPlotName(st[0]->ordinal, st[1]->ordinal, st[2]->ordinal);
        std::vector<EditValue> t1, t2;
        for (const Station* s : st) {
            t1.emplace_back(trimRightCopy(s->callSign));
            t1.emplace_back(static_cast<long long>(s->ordinal));
            t2.emplace_back(padded(s->callSign, 7));
            t2.emplace_back(s->frequencyMHz);
        }
        const std::string title1 = editLines(Texts::title1, t1).front();
        const std::string title2 = editLines(Texts::title2, t2).front();

        crv::formats::RecordWriter writer;
        PlotHdr(state_, writer, name, title1, title2, Texts::routine);
        const std::string path = writer.path();
        try {
            for (const InterferencePoint& p : r.plot) writer.writeRecord(crv::formats::encodeInterferencePoint(p));
        } catch (...) {
            writer.discard();
            throw;
        }
        if (!writer.close()) {
            crv::platform::removeFile(path);
            fail(Texts::routine, "Could not write plot file:\r" + path);
        }
        return path;
    }

    const EngineState& state_;
    Progress& progress_;
    std::int16_t& cases_;
    std::int32_t& combinations_;
    B1StickyFlags flags_;
    bool captionDue_ = true;
};

template <std::size_t N>
void runB1(const char* runFolder, Progress& progress, std::int16_t& cases, std::int32_t& combinations) {
    EngineState& state = sharedState();
    ReadData(state, argumentText(runFolder, 260, B1Texts<N>::routine, "run folder"));
    // Results a killed run left half-written under temporary names go first.
    crv::platform::removeStrayTemporaries(state.paths.runFolder);
    if (state.options.intermodType == 0) return;
    B1Run<N>(state, progress, cases, combinations).run();
}

}  // namespace

void runB1_2Sig(const char* runFolder, Progress& progress, std::int16_t& cases, std::int32_t& combinations) {
    runB1<2>(runFolder, progress, cases, combinations);
}

void runB1_3Sig(const char* runFolder, Progress& progress, std::int16_t& cases, std::int32_t& combinations) {
    runB1<3>(runFolder, progress, cases, combinations);
}

}  // namespace crv::engine
