#pragma once
// The heading of the simulation report: the case, its RF sources, the antenna
// patterns in use (with one pattern plot file each in the run folder) and the
// models the thresholds come from.
#include "report_file.h"
#include "state.h"

namespace crv::engine {

// Writes the heading to the open report; the pattern plot files go to
// state.paths.runFolder.
void WriteHeader(const EngineState& state, ReportFile& report);

// The directional-antenna table of the heading and the pattern plot files.
void WritePatterns(const EngineState& state, ReportFile& report);

}  // namespace crv::engine
