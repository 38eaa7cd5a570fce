#pragma once
// B1 (intermodulation) receiver criteria: the threshold line of one
// combination of two or three FM signals, the threshold at a receiver point,
// and the checks that decide whether a point may count at all.
//
// Everything a combination needs between its calls lives in its own working
// block, owned by the caller: the evaluations run combinations and points on
// several threads, and a result must not depend on which thread ran what. The
// flags a report notes ("some points masked", ...) are handed back per point so
// the caller can merge them in its own order.
#include <array>
#include <cstddef>
#include <cstdint>

#include "criteria.h"
#include "state.h"

namespace crv::engine {

// One signal of a combination.
struct B1Signal {
    std::int16_t slot = 0;              // station slot, 1-based
    double levelDbm = 0;                // L(i): its level at the point, set by the caller
    double distanceNmi = 0;             // from the station to the point, set by the caller
    double threshold1Dbm = kNeverDbm;   // A2 (or combined) threshold at the point, used for masking
    double threshold2Dbm = kNeverDbm;   // B2 threshold at the point
    double cutoffDbm = -99.9;           // PCUT(i)
    double triggerDbm = 0;              // TL(i), criteria types 3 and 4
    double termDb = 0;                  // T(i), criteria types 3 and 4
    bool beyondLineOfSight = false;     // SITFLG(i)
    bool belowCutoff = false;           // CUTFLG(i)
    bool masked = false;                // ABFLG(i)
};

// The working block of one combination (N = 2 or 3 signals). For two signals,
// signal 1 is the one whose frequency is doubled in the product.
template <std::size_t N>
struct B1Block {
    std::array<B1Signal, N> signals{};
    std::int16_t proponentSlot = 0;     // the combination's "trigger" station
    std::int32_t deltaKHz = 0;          // Δ: the product's distance from the navaid frequency
    double lineConstantDb = 0;          // K
    double lineSlope = 0;               // S (dB per dB; criteria type 5 keeps x here)
    double productOffsetDb = 0;         // D
    bool belowTrigger = false;          // this point: every signal at or below its trigger level
};

using B1Block2 = B1Block<2>;
using B1Block3 = B1Block<3>;

// The flags a report notes once for a whole evaluation; the caller ORs them
// over every point it checked.
struct B1StickyFlags {
    bool anyBeyondLineOfSight = false;
    bool anyBelowCutoff = false;
    bool anyMasked = false;
    bool anyBelowTrigger = false;

    B1StickyFlags& operator|=(const B1StickyFlags& other) {
        anyBeyondLineOfSight = anyBeyondLineOfSight || other.anyBeyondLineOfSight;
        anyBelowCutoff = anyBelowCutoff || other.anyBelowCutoff;
        anyMasked = anyMasked || other.anyMasked;
        anyBelowTrigger = anyBelowTrigger || other.anyBelowTrigger;
        return *this;
    }
    bool operator==(const B1StickyFlags&) const = default;
};

// A receiver point as the criteria see it.
struct CriteriaPoint {
    double navaidLevelDbm = 0;  // Ld
    double altitudeFt = 0;
};

struct PointCheck {
    bool valid = true;       // VALID: the point may count as B1 interference
    B1StickyFlags raised;    // the sticky flags this point raised
};

// Line set-up of a combination from its signals' frequencies; block.deltaKHz
// must be set first.
void SetCrit2(const EngineState& state, B1Block2& block, double fAMHz, double fBMHz);
void SetCrit3(const EngineState& state, B1Block3& block, double f1MHz, double f2MHz, double f3MHz);

// B1 threshold at a navaid level; sets the trigger levels for criteria types 3 and 4.
double B1Thresh2(const EngineState& state, B1Block2& block, double navaidLevelDbm);
double B1Thresh3(const EngineState& state, B1Block3& block, double navaidLevelDbm);

// Whether the point may count: radio horizon, cutoff, masking by A2/B2 and the
// trigger level. The signals' levels and distances must be set for the point,
// and B1Thresh2/B1Thresh3 run for it (trigger levels). The masking thresholds
// are worked out here from the point's own navaid level.
PointCheck CheckPt2(const EngineState& state, B1Block2& block, const CriteriaPoint& point);
PointCheck CheckPt3(const EngineState& state, B1Block3& block, const CriteriaPoint& point);

}  // namespace crv::engine
