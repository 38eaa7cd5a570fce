#include "state.h"

namespace crv::engine {

EngineState& sharedState() {
    static EngineState state;
    return state;
}

}  // namespace crv::engine
