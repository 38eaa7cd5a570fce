// The vertical plane: columns of points along one azimuth from the navaid,
// with extra columns either side of every station near the plane.
#include <cmath>

#include "geodesy.h"
#include "grid.h"

namespace crv::engine {

namespace {

// One column at distance x (nmi) along the plane of azimuth P.
void column(const GridContext& grid, double planeDeg, double x, std::int16_t id, std::vector<GridPoint>& out) {
    const Facility& nav = grid.state.navaid;
    const LatLon p = DistLL(x, planeDeg + 180.0, nav.latitude, nav.longitude);
    const double floor = volumeLimit(grid, 1, x).altitudeFt;
    const double top = volumeLimit(grid, 2, x).altitudeFt;
    auto add = [&](double altitudeFt) { out.push_back({id, x, planeDeg, altitudeFt, p.latitude, p.longitude}); };
    switch (grid.gridType) {
    case 9:
        add(floor);
        return;
    case 10:
        add(top);
        return;
    case 11: {
        const double alt = grid.state.options.gridAltitudeFt;
        if (alt >= floor && alt <= top) add(alt);
        return;
    }
    default: {
        const double step = grid.state.options.vrtIncrementFt;
        for (long long k = 0;; ++k) {
            const double h = top - static_cast<double>(k) * step;
            if (!(h > floor)) break;
            add(h);
        }
        add(floor);
    }
    }
}

}  // namespace

double GridV(const GridContext& grid, GridBatch& batch, double spacingNmi) {
    const ServiceVolume& v = grid.volume;
    const Facility& nav = grid.state.navaid;
    const GridContext* g = &grid;
    const double plane = WrapAng(grid.state.options.gridAngleUsedDeg + (v.sectored() ? 0.0 : 180.0), 0.0, 360.0);
    const std::vector<double> offsets = stationOffsetsFt(v);
    const double largestNmi = offsets.back() / kFtPerNmi;

    const int stations = static_cast<int>(grid.state.stations.size());
    for (int s = 1; s <= stations; ++s) {
        const Station& st = grid.state.slot(s);
        const DistBearing db = LLDist(nav.latitude, nav.longitude, st.latitude, st.longitude);
        const double t = WrapAng(reverseAzimuth(db.bearingDeg) - plane, -180.0, 180.0);
        const double r = db.distanceNmi;
        std::vector<double> columns;
        if (r <= v.rangeNmi + largestNmi && std::fabs(t) <= 90.0 && r * std::sin(std::fabs(t) * kDegToRad) <= largestNmi) {
            const double o = r * std::cos(t * kDegToRad);
            for (double a : offsets)
                for (double x : {o - a / kFtPerNmi, o + a / kFtPerNmi})
                    if (InVolume(v, x, plane)) columns.push_back(x);
        }
        batch.add({1, [g, plane, s, columns](std::vector<GridPoint>& out) {
                       for (double x : columns) column(*g, plane, x, static_cast<std::int16_t>(s), out);
                   }});
    }

    const long long levels =
        grid.gridType >= 9 ? 1
                           : static_cast<long long>(std::floor((v.topFt - v.floorFt) / grid.state.options.vrtIncrementFt)) + 1;
    for (long long k = 0;; ++k) {
        const double x = static_cast<double>(k) * spacingNmi;
        if (x > v.rangeNmi) break;
        batch.add({levels, [g, plane, x](std::vector<GridPoint>& out) {
                       if (InVolume(g->volume, x, plane)) column(*g, plane, x, 0, out);
                   }});
    }
    batch.flush();
    return plane;
}

}  // namespace crv::engine
