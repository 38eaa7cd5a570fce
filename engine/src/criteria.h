#pragma once
// Receiver models: how much of an FM signal the aircraft antenna rejects, and
// at what FM level a receiver suffers adjacent-channel (A2) or overload (B2)
// interference. Each model is chosen by an option code of the case. These are
// pure functions of their arguments and of the case as read, so the
// evaluations may call them from any thread.
//
// Frequencies are MHz, levels dBm, gains and rejections dB.
#include <utility>
#include <vector>

#include "state.h"

namespace crv::engine {

// A threshold that does not apply to a receiver model: no FM level reaches it.
inline constexpr double kNeverDbm = 99.9;

// Rejection of the receiver antenna at a frequency, by the case's antenna
// rejection type (1..63).
double AntRej(const EngineState& state, double frequencyMHz);

// The same for an explicit type; the calibration table serves type 63
// (frequency MHz, rejection dB, in file order).
double antennaRejectionDb(int rejectionType, const std::vector<std::pair<double, double>>& calibration,
                          double frequencyMHz);

// A receiver with one combined A2/B2 threshold (criteria types 1, 5 and 7)
// rather than separate A2 and B2 thresholds.
inline bool CombinedAB(const EngineState& state) { return state.options.regressionCriteria; }

struct InterferenceThresholds {
    double threshold1Dbm = kNeverDbm;  // A2, or the combined A2/B2 threshold when CombinedAB
    double threshold2Dbm = kNeverDbm;  // B2
};

// A2/B2 thresholds for an FM station's frequency at a receiver point whose
// navaid level is navaidLevelDbm, by the case's interference criteria type.
InterferenceThresholds IntThresh(const EngineState& state, double fmFrequencyMHz, double navaidLevelDbm);

// Option-code guards. The case reader refuses codes outside these ranges, so a
// code out of range here is an internal fault: it fails the export (status 2)
// rather than let a model return an arbitrary value.
void requireAntennaRejectionType(int rejectionType);
void requireCriteriaType(int criteriaType);
void requireCutoffType(int cutoffType);

}  // namespace crv::engine
