#include "crv/common/service_volume.h"

#include <cmath>

namespace crv::common {

ServiceVolumeSize GetServiceVolume(int svType) {
    switch (svType) {
    case 0:
    case 2:
        return {10.0, 18.0, 1000.0, 4500.0};
    case 1:
    case 3:
        return {17.0, 25.0, 1000.0, 6250.0};
    case 4:
        return {10.0, 18.0, 0.0, 10000.0};
    case 5:
        return {25.0, 25.0, 1000.0, 12000.0};
    case 6:
    case 7:
        return {40.0, 40.0, 1000.0, 18000.0};
    default:
        return {};
    }
}

double MinServiceAltitude(int svType, double d) {
    if (svType == 5) {
        if (d < 6.5) return 0.0;
        if (d < 10.5) return 37.5 * d - 225.0;
        if (d < 14.5) return 43.75 * d - 310.0;
        if (d < 19.5) return 55.0 * d - 475.0;
        if (d <= 25.0) return 72.2 * d - 805.0;
        return 12000.0;
    }
    if (svType == 6 || svType == 7) {
        if (d < 10.0) return 0.0;
        if (d < 15.0) return 14.0 * d - 108.0;
        if (d < 21.0) return 22.0 * d - 225.0;
        if (d < 26.0) return 30.0 * d - 410.0;
        if (d < 33.0) return 42.86 * d - 775.0;
        if (d <= 40.0) return 57.0 * d - 1280.0;
        return 18000.0;
    }
    return 0.0;
}

double ServiceVolumeRange(double altitudeFt, int svType, double maxRangeNmi, double floorFt,
                          double ceilingFt) {
    if (!(maxRangeNmi > 0.0) || !std::isfinite(maxRangeNmi) || std::isnan(altitudeFt)) return -1.0;
    if (altitudeFt < 0.0 || altitudeFt > ceilingFt) return -1.0;
    if (altitudeFt >= floorFt) return maxRangeNmi;
    const double step = maxRangeNmi / 250.0;
    for (int i = 1; i <= 250; ++i) {
        const double r = i * step;
        if (MinServiceAltitude(svType, r) >= altitudeFt) return r <= maxRangeNmi ? r : maxRangeNmi;
    }
    // The floor never reaches the altitude inside the volume (a non-VOR type,
    // or an altitude between the published floor and the caller's floor).
    return maxRangeNmi;
}

}  // namespace crv::common
