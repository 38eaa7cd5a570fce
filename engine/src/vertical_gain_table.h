#pragma once
// The built-in vertical radiation tables of the FM broadcast antenna types the
// case data file can name by radiating element type (0..56). They are computed
// once, on first use, and never change afterwards, so any number of threads may
// read them.
namespace crv::engine {

inline constexpr int kVerticalGainRows = 181;     // elevation 0 to 90 degrees in steps of 0.5
inline constexpr int kVerticalGainColumns = 19;   // columns 1..19

// Gain in dB of table column `column` (1..19) at row `row` (0..180, elevation
// row / 2 degrees), one decimal as the table is kept.
double verticalGainDb(int row, int column);

// Element type 56: a gain that moves linearly with frequency, given per row as
// a slope and the value at 112 MHz.
struct Type56Row {
    double slopeDbPerMHz;
    double valueAt112MHzDb;
};
Type56Row elementType56Row(int row);

}  // namespace crv::engine
