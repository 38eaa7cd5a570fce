#pragma once
// The pattern and calibration files the case reader loads from the user
// folder, read by the site-file unit (crv/formats/site_files.h). Each fails
// under the routine name it is given, with the unit's message naming the
// file; a file is read whole or not at all.
#include <string>
#include <string_view>

#include "state.h"

namespace crv::engine {

enum class PatternKind { Localizer, FmHorizontal, FmVertical };

// Reads a ".pat" file: description, kind and scale (and the gain of a
// localizer pattern), then 37 points stored as linear field ratios.
// Returns the localizer gain (0 for the FM kinds).
double readPatternFile(const std::string& path, PatternKind kind, Pattern& pattern, std::string_view routine);

// "Antenna.cal": up to 100 (frequency MHz, loss dB) pairs after two heading lines.
void readAntennaCalibration(const std::string& path, std::vector<std::pair<double, double>>& table,
                            std::string_view routine);

// "Receiver.cal": the thresholds for the receiver levels -101, -96, ..., -51 dBm
// into entries 1..11.
void readReceiverCalibration(const std::string& path, std::array<double, 12>& table, std::string_view routine);

}  // namespace crv::engine
