#include "result_names.h"

#include <stdexcept>

namespace crv::engine {

std::string base36Ordinal(int ordinal) {
    static constexpr char digits[] = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ";
    if (ordinal < 0 || ordinal > 36 * 36 - 1)
        throw std::out_of_range("station ordinal " + std::to_string(ordinal) + " has no two-digit name");
    return {digits[ordinal / 36], digits[ordinal % 36]};
}

std::string a2PlotName(int ordinal, bool combinedAB) {
    return base36Ordinal(ordinal) + (combinedAB ? "__A2B2.plt" : "____A2.plt");
}

std::string b2PlotName(int ordinal) { return base36Ordinal(ordinal) + "____B2.plt"; }

std::string b1TwoSignalPlotName(int ordinal1, int ordinal2) {
    return base36Ordinal(ordinal1) + "_" + base36Ordinal(ordinal2) + "___.plt";
}

std::string b1ThreeSignalPlotName(int ordinal1, int ordinal2, int ordinal3) {
    return base36Ordinal(ordinal1) + "_" + base36Ordinal(ordinal2) + "_" + base36Ordinal(ordinal3) + ".plt";
}

}  // namespace crv::engine
