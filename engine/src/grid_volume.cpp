#include "grid_volume.h"

#include <algorithm>
#include <cmath>

#include "geodesy.h"

namespace crv::engine {

namespace {

struct VolumeRow {
    double range35Nmi, rangeNmi, topFt, floorFt;
};

// Ranges and heights of the fixed service-volume types 0..7.
constexpr VolumeRow kVolumes[8] = {
    {10, 18, 4500, 1000},  {17, 25, 6250, 1000},  {10, 18, 4500, 1000},  {17, 25, 6250, 1000},
    {10, 18, 10000, 0},    {0, 25, 12000, 1000},  {0, 40, 18000, 1000},  {0, 40, 18000, 1000},
};

const double kTan2 = std::tan(2.0 * kDegToRad);
const double kTan7 = std::tan(7.0 * kDegToRad);
const double kTan15 = std::tan(15.0 * kDegToRad);
const double kSin35 = std::sin(35.0 * kDegToRad);

bool isHorizontalGrid(int gridType) { return (gridType >= 1 && gridType <= 3) || gridType == 6 || gridType == 7; }
bool isVerticalGrid(int gridType) { return gridType >= 4 && gridType <= 7; }

}  // namespace

ServiceVolume serviceVolumeFor(const EngineState& state) {
    const Facility& nav = state.navaid;
    ServiceVolume v;
    v.type = nav.serviceVolumeType;
    v.fieldElevationFt = nav.fieldElevationFt;
    if (v.type >= 0 && v.type <= 7) {
        const VolumeRow& row = kVolumes[v.type];
        v.range35Nmi = row.range35Nmi;
        v.rangeNmi = row.rangeNmi;
        v.topFt = row.topFt;
        v.floorFt = row.floorFt;
    } else {
        v.rangeNmi = nav.serviceVolumeRadiusNmi;
        v.topFt = nav.serviceVolumeHeightFt;
        v.floorFt = 0;
    }
    if (v.sectored()) {
        v.courseDeg = nav.runwayHeadingDeg;
        v.locToThresholdFt = (v.type == 2 || v.type == 3) ? 0.0 : nav.runwayLengthFt + 1000.0;
        v.edge35StartDeg = WrapAng(v.courseDeg - 35.0, 0.0, 360.0);
        v.edge10StartDeg = WrapAng(v.courseDeg - 10.0, 0.0, 360.0);
        v.edge10EndDeg = WrapAng(v.courseDeg + 10.0, 0.0, 360.0);
        v.edge35EndDeg = WrapAng(v.courseDeg + 35.0, 0.0, 360.0);
    } else {
        v.courseDeg = 0;
        v.locToThresholdFt = nav.runwayLengthFt + 1000.0;
        v.edge35StartDeg = v.edge10StartDeg = 0;
        v.edge10EndDeg = v.edge35EndDeg = 360;
    }
    return v;
}

bool inSector(double azimuthDeg, double startDeg, double endDeg) {
    if (startDeg <= endDeg) return azimuthDeg >= startDeg && azimuthDeg <= endDeg;
    return azimuthDeg >= startDeg || azimuthDeg <= endDeg;
}

bool InVolume(const ServiceVolume& volume, double distanceNmi, double azimuthDeg) {
    if (!(distanceNmi >= kMinPointDistanceNmi && distanceNmi <= volume.rangeNmi)) return false;
    if (!volume.sectored()) return true;
    const bool inside = distanceNmi <= volume.range35Nmi
                            ? inSector(azimuthDeg, volume.edge35StartDeg, volume.edge35EndDeg)
                            : inSector(azimuthDeg, volume.edge10StartDeg, volume.edge10EndDeg);
    if (!inside) return false;
    if (volume.type == 4 && distanceNmi < volume.locToThresholdFt / kFtPerNmi) return false;
    return true;
}

double volumeFloorFt(const ServiceVolume& volume, double distanceNmi) {
    const double d = distanceNmi;
    switch (volume.type) {
    case 0:
    case 1:
    case 2:
    case 3: {
        const double e = d * kFtPerNmi;
        const double a = volume.locToThresholdFt;
        if (e <= a) return 0;
        if (e >= a + volume.floorFt / kTan2) return volume.floorFt;
        return kTan2 * (e - a);
    }
    case 5:
        if (d < 6.5) return 0;
        if (d < 10.5) return 37.5 * d - 225;
        if (d < 14.5) return 43.75 * d - 310;
        if (d < 19.5) return 55 * d - 475;
        if (d <= 25) return 72.2 * d - 800;
        return volume.topFt;
    case 6:
    case 7:
        if (d < 10) return 0;
        if (d < 15) return 14 * d - 108;
        if (d < 21) return 22 * d - 225;
        if (d < 26) return 30 * d - 410;
        if (d < 33) return 42.86 * d - 775;
        if (d <= 40) return 57 * d - 1280;
        return volume.topFt;
    default:  // 4 and 8
        return volume.floorFt;
    }
}

double volumeTopFt(const ServiceVolume& volume, double distanceNmi) {
    const double e = distanceNmi * kFtPerNmi;
    if (volume.type <= 3) return std::min(e * kTan7, volume.topFt);
    if (volume.type == 4) return std::min(e * kTan15, volume.topFt);
    return volume.topFt;
}

VolumeAltitude VolumeLimit(const ServiceVolume& volume, int gridType, double gridAltitudeFt, double distanceNmi) {
    const double field = volume.fieldElevationFt;
    switch (gridType) {
    case 1:
    case 6:
    case 7:
    case 9:
        return {field + volumeFloorFt(volume, distanceNmi), true};
    case 2:
    case 10:
        return {field + volumeTopFt(volume, distanceNmi), true};
    case 3:
    case 11: {
        const bool valid = field + volumeFloorFt(volume, distanceNmi) <= gridAltitudeFt &&
                           gridAltitudeFt <= field + volumeTopFt(volume, distanceNmi);
        return {gridAltitudeFt, valid};
    }
    default:
        return {0, false};
    }
}

WorkEstimate GridCount(const EngineState& state, const ServiceVolume& volume) {
    const int gridType = state.options.gridType;
    const double c = static_cast<double>(state.stations.size());
    const double dx = state.options.horIncrementFt;
    const double rSteps = volume.rangeNmi * kFtPerNmi / dx;
    const bool coarsePass = state.options.prescreen != 0 && isHorizontalGrid(gridType);
    WorkEstimate w;
    double total = 0;
    if (gridType == 8) {
        total = 1000;
    } else if (gridType == 12) {
        total = c + (volume.sectored() ? 33 : 0);
    } else {
        double grid = 0;
        double extra = 0;
        if (isHorizontalGrid(gridType)) {
            if (volume.sectored()) {
                grid += (rSteps + 1) * (kSin35 * 2 * volume.range35Nmi * kFtPerNmi / dx + 1);
                extra += 24;
            } else {
                grid += (2 * rSteps + 1) * (2 * rSteps + 1);
            }
        }
        if (isVerticalGrid(gridType)) {
            grid += (rSteps + 1) * ((volume.topFt - volume.floorFt) / state.options.vrtIncrementFt + 1);
        }
        if (gridType >= 9 && gridType <= 11) grid += rSteps + 1;
        w.gridPoints = grid;
        // The coarse pass lays the same grid at 8 times the spacing: 1/64 of
        // the points, counted generously as 1/8.
        total = (coarsePass ? grid * 1.125 : grid) + extra + (coarsePass ? 2 * c : c);
    }
    if (!std::isfinite(total)) total = 1e18;
    total = std::trunc(total);
    if (!(total >= 1)) total = 1;
    w.expectedUnits = total;
    w.stepUnits = std::clamp<long long>(std::llround(total / 20.0), 1, 250);
    return w;
}

}  // namespace crv::engine
