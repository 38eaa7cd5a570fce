#pragma once
// One receiver point of the A2/B2 evaluation for one proponent: whether the
// point is the proponent's to check, its FM level and thresholds, and what the
// point counts as. A pure function of the case, the point and the station's
// precomputed path term, so the points of a proponent are evaluated on all
// threads and only assembled in file order.
#include <string>
#include <vector>

#include "crv/formats/plot_file.h"
#include "state.h"

namespace crv::engine {

// What stays the same for every point of one proponent.
struct A2B2Station {
    int slot = 0;
    double rejectionDb = 0;    // AntRej at the station's frequency
    double stationTermDb = 0;  // base level term K of FMLevel
    bool checkA2 = true;       // criteria type other than 2
    bool checkB2 = true;       // separate B2 threshold (not CombinedAB)
    bool debugging = false;    // output style 3
};

// The station's base level term K: ERP in kW, frequency in MHz, less the
// receiver antenna's rejection. Criteria types 3 and 4 are calibrated on a
// different reference, hence their own constant.
double a2b2StationTermDb(const EngineState& state, const Station& station, double rejectionDb);

struct A2B2Point {
    bool considered = false;  // tied to this proponent and in line of sight (or printed for debugging)
    bool beyondLineOfSight = false;
    bool a2 = false;          // counted: FM level above the A2 (or combined) threshold
    bool b2 = false;          // counted: FM level above the B2 threshold
    double levelDbm = 0;
    double threshold1Dbm = 0;
    double threshold2Dbm = 0;
    // Output style 3 only: the point's lines in the report and in "A2B2.dbg".
    std::vector<std::string> reportLines;
    std::string debugLine;
};

// True when the point is beyond the radio horizon of the station: the horizon
// distance is not greater than the distance (a point exactly at the horizon is
// beyond it here).
bool beyondRadioHorizon(double stationElevationFt, double fieldElevationFt, double pointAltitudeFt,
                        double distanceNmi);

// Evaluates one point record (not a section end). A point beyond line of sight
// is never counted; with debugging it is still evaluated and printed.
A2B2Point evaluateA2B2Point(const EngineState& state, const A2B2Station& station,
                            const crv::formats::ReceiverPoint& point, double pathGainDb, double distanceNmi);

}  // namespace crv::engine
