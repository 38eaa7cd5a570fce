// Grid types 8 and 12: the user's own receiver points, and the general
// assessment method's fixed points and station columns.
#include <cmath>

#include "crv/formats/site_files.h"
#include "failure.h"
#include "geodesy.h"
#include "grid.h"
#include "grid_volume.h"

namespace crv::engine {

namespace {

constexpr const char* kUserPointsFile = "RcvrTest.pts";

// Points from `topFt` down in steps of the vertical increment while above the
// floor (id -slot), then the floor itself (id slot).
void stationColumn(const GridContext& grid, int slot, double distanceNmi, double azimuthDeg, double latitude,
                   double longitude, double floorFt, double topFt, std::vector<GridPoint>& out) {
    const double step = grid.state.options.vrtIncrementFt;
    const auto id = static_cast<std::int16_t>(slot);
    if (topFt > floorFt) {
        for (long long k = 0;; ++k) {
            const double h = topFt - static_cast<double>(k) * step;
            if (!(h > floorFt)) break;
            out.push_back({static_cast<std::int16_t>(-id), distanceNmi, azimuthDeg, h, latitude, longitude});
        }
    }
    out.push_back({id, distanceNmi, azimuthDeg, floorFt, latitude, longitude});
}

// ---- grid type 8 ----

// The points of "RcvrTest.pts" in file order, placed around the navaid.
std::vector<GridPoint> readUserPoints(const GridContext& grid) {
    const std::string path = grid.state.paths.userFolder + kUserPointsFile;
    const auto read = crv::formats::readTestPoints(path, static_cast<std::size_t>(kMaxGridPoints));
    if (!read) fail(kGridGRoutine, read.error());
    const Facility& nav = grid.state.navaid;
    std::vector<GridPoint> points;
    points.reserve(read->size());
    for (const crv::formats::TestPoint& t : *read) {
        GridPoint p;
        if (t.format == 0) {
            double range = t.first;
            double bearing = t.second;
            if (range < 0) {
                range = -range;
                bearing -= 180.0;
            }
            bearing = WrapAng(bearing, 0.0, 360.0);
            const LatLon at = DistLL(range, bearing + 180.0, nav.latitude, nav.longitude);
            p = {0, range, bearing, t.altitudeFt, at.latitude, at.longitude};
        } else {
            const DistBearing db = LLDist(nav.latitude, nav.longitude, t.first, t.second);
            p = {0, db.distanceNmi, reverseAzimuth(db.bearingDeg), t.altitudeFt, t.first, t.second};
        }
        points.push_back(p);
    }
    return points;
}

void userPoints(const GridContext& grid, GridBatch& batch) {
    const std::vector<GridPoint> points = readUserPoints(grid);
    if (points.empty())
        fail(kGridGRoutine, "No receiver locations defined.  Check format\rof user-defined receiver points file.");
    for (const GridPoint& p : points) batch.add({1, [p](std::vector<GridPoint>& out) { out.push_back(p); }});
}

// ---- grid type 12 ----

struct FixedPoint {
    double distanceNmi, offCourseDeg, heightFt;
};

// The method's fixed points on and around the localizer course; the points
// 12..22 are repeated on the other side of the course as 23..33.
constexpr FixedPoint kFixedPoints[22] = {
    {0, 0, 0},           {1.62, 0, 0},          {3.24, 0, 492.1},      {4.86, 0, 984.3},
    {6.48, 0, 1476.4},   {8.1, 0, 1968.5},      {11.47, 0, 1968.5},    {14.85, 0, 1968.5},
    {18.22, 0, 1968.5},  {21.6, 0, 1968.5},     {25.0, 0, 1968.5},     {17.0, -35, 1968.5},
    {4.16, -35, 1968.5}, {6.97, -25.5, 1968.5}, {10.15, -17.2, 1968.5}, {13.44, -12.9, 1968.5},
    {17.0, -10, 1968.5}, {20.14, -8.6, 1968.5}, {23.49, -7.3, 1968.5}, {9.99, -35, 1968.5},
    {12.96, -27.6, 1968.5}, {15.98, -22.1, 1968.5},
};

void localizerStation(const GridContext& grid, int slot, std::vector<GridPoint>& out) {
    const Facility& nav = grid.state.navaid;
    const Station& st = grid.state.slot(slot);
    const ServiceVolume& v = grid.volume;
    const DistBearing db = LLDist(nav.latitude, nav.longitude, st.latitude, st.longitude);
    const double d = db.distanceNmi;
    const double az = reverseAzimuth(db.bearingDeg);
    const bool onCourse = d <= 6.4794817 && inSector(az, WrapAng(v.courseDeg - 7.5, 0.0, 360.0),
                                                     WrapAng(v.courseDeg + 7.5, 0.0, 360.0));
    double floor;
    if (onCourse)
        floor = st.antennaElevationFt;
    else if (InVolume(v, d, az))
        floor = std::max(st.antennaElevationFt + 492.126, nav.fieldElevationFt + 1974.0748);
    else
        return;
    const double top = volumeLimit(grid, 2, d).altitudeFt;
    stationColumn(grid, slot, d, az, st.latitude, st.longitude, floor, top, out);
}

void omniStation(const GridContext& grid, int slot, std::vector<GridPoint>& out) {
    const Facility& nav = grid.state.navaid;
    const Station& st = grid.state.slot(slot);
    const ServiceVolume& v = grid.volume;
    const double top = v.topFt + nav.fieldElevationFt;
    const double base = nav.fieldElevationFt + (v.type == 8 ? 40.0 : 16.000656);
    const DistBearing db = LLDist(nav.latitude, nav.longitude, st.latitude, st.longitude);
    double d = db.distanceNmi;
    const double az = reverseAzimuth(db.bearingDeg);
    double lower1, lower2;
    if (d <= v.rangeNmi + 1.6198704) {
        lower1 = st.antennaElevationFt + 984.252;
        lower2 = base + 1968.50390625;
    } else {
        lower1 = st.antennaElevationFt;
        lower2 = 1968.50390625;
    }
    double lat = st.latitude, lon = st.longitude;
    if (d > v.rangeNmi) {
        d = v.rangeNmi;
        const LatLon edge = DistLL(v.rangeNmi, db.bearingDeg, nav.latitude, nav.longitude);
        lat = edge.latitude;
        lon = edge.longitude;
    }
    double heightM;
    if (d < 50)
        heightM = 500;
    else if (d < 140)
        heightM = (0.56555 * d - 34.849) * d + 821.525;
    else
        heightM = 121.025 * d - 10046.9;
    const double floor = std::max({heightM / 0.3048 + base, lower1, lower2});
    stationColumn(grid, slot, d, az, lat, lon, floor, top, out);
}

void generalAssessment(const GridContext& grid, GridBatch& batch) {
    const GridContext* g = &grid;
    const ServiceVolume& v = grid.volume;
    if (v.sectored()) {
        const Facility& nav = grid.state.navaid;
        auto addFixed = [&](const FixedPoint& f, double sign) {
            const double az = WrapAng(v.courseDeg + sign * f.offCourseDeg, 0.0, 360.0);
            const LatLon p = DistLL(f.distanceNmi, az + 180.0, nav.latitude, nav.longitude);
            const GridPoint point{0, f.distanceNmi, az, nav.fieldElevationFt + f.heightFt, p.latitude, p.longitude};
            batch.add({1, [point](std::vector<GridPoint>& out) { out.push_back(point); }});
        };
        for (const FixedPoint& f : kFixedPoints) addFixed(f, 1.0);
        for (std::size_t k = 11; k < 22; ++k) addFixed(kFixedPoints[k], -1.0);
    }
    const int stations = static_cast<int>(grid.state.stations.size());
    for (int s = 1; s <= stations; ++s) {
        if (v.sectored())
            batch.add({1, [g, s](std::vector<GridPoint>& out) { localizerStation(*g, s, out); }});
        else
            batch.add({1, [g, s](std::vector<GridPoint>& out) { omniStation(*g, s, out); }});
    }
}

}  // namespace

void GridG(const GridContext& grid, GridBatch& batch) {
    if (grid.gridType == 8)
        userPoints(grid, batch);
    else
        generalAssessment(grid, batch);
    batch.flush();
}

}  // namespace crv::engine
