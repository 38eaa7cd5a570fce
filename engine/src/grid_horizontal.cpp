// The horizontal grid: rings around every station, the regular grid over the
// volume, and for a localizer or TLS the points along the sector edges.
#include <cmath>

#include "geodesy.h"
#include "grid.h"

namespace crv::engine {

namespace {

const double kSin35 = std::sin(35.0 * kDegToRad);

// Writes the point when the altitude of the grid type is valid there.
void addAt(const GridContext& grid, std::vector<GridPoint>& out, std::int16_t id, double distanceNmi,
           double azimuthDeg, double latitude, double longitude) {
    const VolumeAltitude alt = volumeLimit(grid, grid.gridType, distanceNmi);
    if (!alt.valid) return;
    out.push_back({id, distanceNmi, azimuthDeg, alt.altitudeFt, latitude, longitude});
}

// Four points on each ring around station `slot`: along the course, against
// it, and to either side.
void stationRings(const GridContext& grid, int slot, std::vector<GridPoint>& out) {
    const Station& st = grid.state.slot(slot);
    const Facility& nav = grid.state.navaid;
    const double course = grid.volume.courseDeg;
    const double bearings[4] = {course, course + 180.0, course - 90.0, course + 90.0};
    const double lonScale = std::fabs(std::cos(st.latitude * kDegToRad));
    for (double radiusFt : stationOffsetsFt(grid.volume)) {
        const double r = radiusFt / kFtPerNmi;
        for (double beta : bearings) {
            const double b = beta * kDegToRad;
            const double lat = st.latitude + r * std::cos(b) / 60.0;
            const double lon = st.longitude - r * std::sin(b) / lonScale / 60.0;
            const DistBearing db = LLDist(nav.latitude, nav.longitude, lat, lon);
            const double az = reverseAzimuth(db.bearingDeg);
            if (!InVolume(grid.volume, db.distanceNmi, az)) continue;
            addAt(grid, out, static_cast<std::int16_t>(slot), db.distanceNmi, az, lat, lon);
        }
    }
}

// Row y of the regular grid: x from `first` to `last` along the course.
void regularRow(const GridContext& grid, double spacingNmi, long long y, long long first, long long last,
                std::vector<GridPoint>& out) {
    const Facility& nav = grid.state.navaid;
    const double dy = static_cast<double>(y) * spacingNmi;
    for (long long x = first; x <= last; ++x) {
        const double dx = static_cast<double>(x) * spacingNmi;
        const double distance = Hypot(dx, dy);
        const double az = WrapAng(std::atan2(static_cast<double>(y), static_cast<double>(x)) * kRadToDeg +
                                      grid.volume.courseDeg,
                                  0.0, 360.0);
        if (!InVolume(grid.volume, distance, az)) continue;
        const VolumeAltitude alt = volumeLimit(grid, grid.gridType, distance);
        if (!alt.valid) continue;
        const LatLon p = DistLL(distance, az + 180.0, nav.latitude, nav.longitude);
        out.push_back({0, distance, az, alt.altitudeFt, p.latitude, p.longitude});
    }
}

// Points just inside the edges of the +-35 and +-10 degree sectors, which the
// regular grid only meets at its spacing. They are checked against the
// altitude rule alone: the first ones lie nearer the localizer than the
// volume starts.
void sectorEdges(const GridContext& grid, std::vector<GridPoint>& out) {
    const ServiceVolume& v = grid.volume;
    const Facility& nav = grid.state.navaid;
    const double reverse = WrapAng(v.courseDeg + 180.0, 0.0, 360.0);
    const double stepFt = (v.type == 2 || v.type == 3) ? 1000.0 : v.locToThresholdFt / 10.0;
    const int lastStep = v.type == 4 ? 10 : 9;
    auto add = [&](double distance, double bearing) {
        const double b = WrapAng(bearing, 0.0, 360.0);
        const LatLon p = DistLL(distance, b, nav.latitude, nav.longitude);
        addAt(grid, out, 0, distance, reverseAzimuth(b), p.latitude, p.longitude);
    };
    for (double side : {34.99, -34.99})
        for (int k = 1; k <= lastStep; ++k) add(k * stepFt / kFtPerNmi, reverse + side);
    for (double side : {34.99, -34.99}) add(v.range35Nmi - 0.01, reverse + side);
    for (double side : {9.99, -9.99}) add(v.rangeNmi - 0.01, reverse + side);
}

}  // namespace

std::vector<double> stationOffsetsFt(const ServiceVolume& volume) {
    const double step = volume.sectored() ? 50.0 : 100.0;
    const double largest = volume.sectored() ? 1150.0 : 8500.0;
    std::vector<double> offsets;
    double increment = step;
    for (double r = 100.0; r <= largest; r += increment, increment += step) offsets.push_back(r);
    return offsets;
}

VolumeAltitude volumeLimit(const GridContext& grid, int gridType, double distanceNmi) {
    return VolumeLimit(grid.volume, gridType, grid.state.options.gridAltitudeFt, distanceNmi);
}

void GridH(const GridContext& grid, GridBatch& batch, double spacingNmi, bool firstPass) {
    const ServiceVolume& v = grid.volume;
    const GridContext* g = &grid;
    const int stations = static_cast<int>(grid.state.stations.size());
    for (int s = 1; s <= stations; ++s)
        batch.add({1, [g, s](std::vector<GridPoint>& out) { stationRings(*g, s, out); }});

    const long long n = std::llround(v.rangeNmi / spacingNmi);
    const long long m = v.sectored() ? std::llround(kSin35 * v.range35Nmi / spacingNmi) : n;
    const long long first = v.sectored() ? 0 : -n;
    for (long long y = m; y >= -m; --y)
        batch.add({n - first + 1, [g, spacingNmi, y, first, n](std::vector<GridPoint>& out) {
                       regularRow(*g, spacingNmi, y, first, n, out);
                   }});

    if (v.sectored() && firstPass) batch.add({24, [g](std::vector<GridPoint>& out) { sectorEdges(*g, out); }});
    batch.flush();
}

}  // namespace crv::engine
