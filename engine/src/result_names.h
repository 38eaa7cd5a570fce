#pragma once
// Result plot files name each station by its ordinal among the case's
// RF-source lines, as two base-36 digits: ordinal 5 is "05", 36 is "10",
// 40 is "14". The case reader refuses ordinals above 1295 ("ZZ").
#include <string>

namespace crv::engine {

std::string base36Ordinal(int ordinal);

// 12-character names of the interference plot files.
std::string a2PlotName(int ordinal, bool combinedAB);  // "05____A2.plt" or "05__A2B2.plt"
std::string b2PlotName(int ordinal);                   // "05____B2.plt"
std::string b1TwoSignalPlotName(int ordinal1, int ordinal2);               // "05_14___.plt"
std::string b1ThreeSignalPlotName(int ordinal1, int ordinal2, int ordinal3);  // "05_14_1Z.plt"

}  // namespace crv::engine
