#include "file_units.h"

#include <bitset>
#include <mutex>

#include "failure.h"

namespace crv::engine {

namespace {
std::mutex unitMutex;
std::bitset<256> unitsInUse;
}  // namespace

FileUnit::FileUnit(std::string_view routine) : number_(0) {
    std::lock_guard lock(unitMutex);
    for (int u = 1; u <= 255; ++u)
        if (!unitsInUse[static_cast<std::size_t>(u)]) {
            unitsInUse[static_cast<std::size_t>(u)] = true;
            number_ = u;
            return;
        }
    fail(routine, "No free file unit: all 255 are in use.");
}

FileUnit::~FileUnit() {
    std::lock_guard lock(unitMutex);
    unitsInUse[static_cast<std::size_t>(number_)] = false;
}

}  // namespace crv::engine
