#pragma once
// The navaid's service volume as the receiver grid lays points into it: the
// ranges, heights and azimuth sectors of each service-volume type, which
// positions lie inside it, the altitude a grid type puts at a distance, and how
// much work a grid will be.
#include <cstdint>

#include "crv/formats/plot_file.h"

#include "state.h"

namespace crv::engine {

inline constexpr double kFtPerNmi = 6076.115;
// No receiver point is nearer the navaid than this: the models are not meant
// for the antenna's own near field.
inline constexpr double kMinPointDistanceNmi = 0.164;

// Largest number of receiver points a grid may make. Each point is a record of
// the receiver-point file that every evaluation reads whole and tests against
// every station, so a volume and spacing that would give more are refused
// before anything is written. The plot-file unit bounds the files it reads by
// the same number.
inline constexpr double kMaxGridPoints = static_cast<double>(crv::formats::kMaxReceiverPoints);

struct ServiceVolume {
    int type = 0;               // service-volume type 0..8
    double range35Nmi = 0;      // outer range of the +-35 degree sector (types 0..4)
    double rangeNmi = 0;        // R: the outer range
    double topFt = 0;           // H, above the field elevation
    double floorFt = 0;         // F, above the field elevation
    double courseDeg = 0;       // 0 for types 5..8
    double fieldElevationFt = 0;
    double locToThresholdFt = 0;  // localizer-to-threshold distance
    // Sector edges, each in [0, 360): course -35, -10, +10, +35 degrees.
    double edge35StartDeg = 0, edge10StartDeg = 0, edge10EndDeg = 0, edge35EndDeg = 0;

    bool sectored() const { return type <= 4; }
};

// The volume of the case's service-volume type. For a localizer the
// localizer-to-threshold distance is the runway length + 1000 ft, or 0 for a
// back-course volume (types 2 and 3).
ServiceVolume serviceVolumeFor(const EngineState& state);

// Whether an azimuth (degrees in [0, 360)) lies in the sector from start to
// end; a sector whose start is larger than its end wraps through 0.
bool inSector(double azimuthDeg, double startDeg, double endDeg);

// Whether a receiver point at this distance (nmi) and azimuth (receiver-point
// convention: bearing from the point to the navaid) lies in the volume.
bool InVolume(const ServiceVolume& volume, double distanceNmi, double azimuthDeg);

struct VolumeAltitude {
    double altitudeFt = 0;  // above mean sea level
    bool valid = false;
};

// The altitude grid type 1, 2, 3, 6, 7, 9, 10 or 11 puts at a distance: the
// floor (1, 6, 7, 9), the top (2, 10) or the case's grid altitude when it lies
// between them (3, 11). Other grid types give no valid altitude.
VolumeAltitude VolumeLimit(const ServiceVolume& volume, int gridType, double gridAltitudeFt, double distanceNmi);

// Floor and top heights (ft above the field) of the volume at a distance.
double volumeFloorFt(const ServiceVolume& volume, double distanceNmi);
double volumeTopFt(const ServiceVolume& volume, double distanceNmi);

struct WorkEstimate {
    double expectedUnits = 1;  // T, at least 1
    long long stepUnits = 1;   // S, 1..250
    double gridPoints = 0;     // the part of T that counts points of the regular grid and columns
};

// Expected work units of the case's grid (progress runs on these) and an
// estimate of the points the grid terms make.
WorkEstimate GridCount(const EngineState& state, const ServiceVolume& volume);

}  // namespace crv::engine
