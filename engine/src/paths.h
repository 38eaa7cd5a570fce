#pragma once
#include "state.h"

namespace crv::engine {

// Fills the path block and the edition from the settings store, over the
// defaults: database names "FMALL.dat", "A108M118.dat", "G118M136.dat",
// folders "Data/", "Output/", "User/" relative to the current folder, the
// private temporary folder, edition "FLD". The environment value CRV_EDITION,
// when set, names the edition over the stored "Model Type". Sets ScientificFlag.
// Fails when a stored path does not fit 259 characters or the temporary
// folder is unsafe.
void GetPaths(EngineState& state);

}  // namespace crv::engine
