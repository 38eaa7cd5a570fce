// Three-signal intermodulation products near the navaid frequency.
#include <array>
#include <cstdint>
#include <cstdlib>

#include "criteria_imod3.h"

namespace crv::engine {

Imod3Match Imod3Chk(const EngineState& state, std::int32_t windowKHz, int slotI, int slotJ, int slotK) {
    const std::int32_t fi = state.slot(slotI).frequencyKHz;
    const std::int32_t fj = state.slot(slotJ).frequencyKHz;
    const std::int32_t fk = state.slot(slotK).frequencyKHz;
    const std::int32_t target = state.navaid.frequencyKHz;

    // Third-order products first, then (for the 3rd/5th order options) the
    // fifth-order ones; the first inside the window names the combination.
    const std::array<std::int32_t, 12> products{
        fi + fj - fk,         fj + fk - fi,         fi + fk - fj,
        2 * fi + fj - 2 * fk, 2 * fi + fk - 2 * fj, 2 * fj + fk - 2 * fi, 2 * fj + fi - 2 * fk,
        2 * fk + fi - 2 * fj, 2 * fk + fj - 2 * fi, 3 * fi - fj - fk,     3 * fj - fi - fk,
        3 * fk - fi - fj,
    };
    const int intermodType = state.options.intermodType;
    const std::size_t tried = (intermodType == 5 || intermodType == 6) ? products.size() : 3;

    for (std::size_t n = 0; n < tried; ++n) {
        if (std::abs(products[n] - target) <= windowKHz) return {true, products[n] * 0.001};
    }
    return {};
}

}  // namespace crv::engine
