#pragma once
// ReadData: one simulation case into the engine's state. Reads the case copy
// "Rfi.plt" in the run folder and the pattern and calibration files the case
// needs from the user folder. Every evaluation export calls it first.
#include <string>

#include "state.h"

namespace crv::engine {

inline constexpr const char* kReadDataRoutine = "ReadData       ";

// Largest RF-source line ordinal a stored station may have: result plot files
// name a station by its ordinal in two base-36 digits.
inline constexpr int kMaxStationOrdinal = 36 * 36 - 1;  // 1295

// Fills `state` from the folder (which may end in "/" or not). Throws
// EngineFailure ("ReadData       " and the message) on the first problem; the
// state is then left exactly as it was, never half-read.
void ReadData(EngineState& state, const std::string& runFolder);

}  // namespace crv::engine
