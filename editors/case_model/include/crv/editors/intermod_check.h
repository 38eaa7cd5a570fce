#pragma once
// The intermodulation and data-validity check of the RF-source rows: which
// rows take part (proponents and every station forming a product with a
// proponent in the navaid window) and whether any of them holds bad data.
#include <cstdint>
#include <vector>

namespace crv::editors {

// Row flags of the RF-source table.
enum RowFlag : std::int32_t {
    RowOutOfRange = 2,   // a cell holds out-of-range data
    RowTakesPart = 4,    // takes part in the simulation
    RowProponent = 8,
    RowIgnored = 16,
};

struct IntermodResult {
    std::vector<std::int32_t> flags;  // the row flags with RowTakesPart recomputed
    bool ok = true;                   // no row that takes part is out of range
};

// option: the value of "Intermod Calculations" (0..6). frequencies are the
// rows' frequencies in MHz, navaidMHz the navaid frequency; both as read into
// single precision.
IntermodResult CheckIntermods(const std::vector<std::int32_t>& flags, const std::vector<float>& frequencies,
                              float navaidMHz, int option);

// Half-width of the window in MHz of an option, 0 for none.
double intermodHalfWidth(int option);

}  // namespace crv::editors
