#include "a2b2_point.h"

#include <cmath>
#include <cstdlib>

#include "criteria.h"
#include "edit_list.h"
#include "geodesy.h"

namespace crv::engine {

double a2b2StationTermDb(const EngineState& state, const Station& station, double rejectionDb) {
    const int criteria = state.options.criteriaType;
    if (criteria == 3 || criteria == 4) return 10.0 * std::log10(station.erpKw) - 16.35 - rejectionDb;
    return 10.0 * std::log10(station.erpKw) + 24.36 - 20.0 * std::log10(station.frequencyMHz) - rejectionDb;
}

bool beyondRadioHorizon(double stationElevationFt, double fieldElevationFt, double pointAltitudeFt,
                        double distanceNmi) {
    const double horizonNmi = 1.23 * (std::sqrt(std::max(stationElevationFt - fieldElevationFt, 0.0)) +
                                      std::sqrt(std::max(pointAltitudeFt - fieldElevationFt, 0.0)));
    return !(horizonNmi > distanceNmi);
}

A2B2Point evaluateA2B2Point(const EngineState& state, const A2B2Station& station,
                            const crv::formats::ReceiverPoint& point, double pathGainDb, double distanceNmi) {
    A2B2Point r;
    // Id 0 serves every station; +s and -s (the points of station s's column)
    // belong to station s alone.
    if (point.id != 0 && std::abs(static_cast<int>(point.id)) != station.slot) return r;
    const Station& st = state.slot(station.slot);
    r.beyondLineOfSight =
        beyondRadioHorizon(st.antennaElevationFt, state.navaid.fieldElevationFt, point.altitudeFt, distanceNmi);
    if (r.beyondLineOfSight && !station.debugging) return r;
    r.considered = true;

    const InterferenceThresholds th = IntThresh(state, st.frequencyMHz, point.levelDbm);
    r.threshold1Dbm = th.threshold1Dbm;
    r.threshold2Dbm = th.threshold2Dbm;
    r.levelDbm = station.stationTermDb + pathGainDb;
    // Debugging output shows a point beyond the horizon but must not change
    // the results: such a point is never counted, plotted or reported.
    r.a2 = station.checkA2 && !r.beyondLineOfSight && r.levelDbm > r.threshold1Dbm;
    r.b2 = station.checkB2 && !r.beyondLineOfSight && r.levelDbm > r.threshold2Dbm;

    if (station.debugging) {
        const DistBearing db = LLDist(st.latitude, st.longitude, point.latitude, point.longitude);
        static const EditFormat first("(1X,5(E14.4,1X))");
        static const EditFormat second("(2X,3(E14.4,1X))");
        static const EditFormat flags("(7X,2(L1,1X),L1,/)");
        static const EditFormat file("(1X,7(E14.4,1X))");
        const double altitude = point.altitudeFt, navaid = point.levelDbm;
        r.reportLines = first.format({db.distanceNmi, db.bearingDeg, altitude, navaid, r.levelDbm});
        auto l2 = second.format({r.threshold1Dbm, r.threshold2Dbm, station.rejectionDb});
        r.reportLines.insert(r.reportLines.end(), l2.begin(), l2.end());
        auto l3 = flags.format({r.beyondLineOfSight, r.a2, r.b2});
        r.reportLines.insert(r.reportLines.end(), l3.begin(), l3.end());
        r.debugLine = file.format({db.distanceNmi, db.bearingDeg, altitude, navaid, r.levelDbm, r.threshold1Dbm,
                                   r.threshold2Dbm})
                          .front();
    }
    return r;
}

}  // namespace crv::engine
