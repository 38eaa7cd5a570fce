#include "file_units.h"

#include <bitset>
#include <mutex>

#include "failure.h"

namespace crv::engine {

namespace {
std::mutex unitMutex;
std::bitset<256> unitsInUse;

// The caller holds unitMutex.
int lowestFreeUnit() {
    for (int u = 1; u <= 255; ++u)
        if (!unitsInUse[static_cast<std::size_t>(u)]) return u;
    return 0;
}
}  // namespace

int GetUnit() {
    std::lock_guard lock(unitMutex);
    return lowestFreeUnit();
}

FileUnit::FileUnit(std::string_view routine) : number_(0) {
    std::lock_guard lock(unitMutex);
    number_ = lowestFreeUnit();
    if (number_ == 0) fail(routine, "No free file unit: all 255 are in use.");
    unitsInUse[static_cast<std::size_t>(number_)] = true;
}

FileUnit::~FileUnit() {
    std::lock_guard lock(unitMutex);
    unitsInUse[static_cast<std::size_t>(number_)] = false;
}

}  // namespace crv::engine
