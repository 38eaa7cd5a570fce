#pragma once
// Whether three FM stations form an intermodulation product near the navaid
// frequency. Worked in whole kHz so that a window of 0 means exactly on channel.
#include <cstdint>

#include "state.h"

namespace crv::engine {

struct Imod3Match {
    bool match = false;
    double productMHz = 0;  // the first product inside the window
};

// Slots are 1-based station slots; windowKHz is the half-width of the window
// around the navaid's kHz frequency.
Imod3Match Imod3Chk(const EngineState& state, std::int32_t windowKHz, int slotI, int slotJ, int slotK);

}  // namespace crv::engine
