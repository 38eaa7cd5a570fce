#include "search_db.h"

#include <sys/stat.h>

#include <cmath>
#include <optional>
#include <vector>

#include "crv/platform/text_file.h"
#include "evaluation_exports.h"
#include "facility_database.h"
#include "failure.h"
#include "file_units.h"
#include "geodesy.h"
#include "paths.h"

namespace crv::engine {

namespace {
constexpr const char* kRoutine = "SearchDB       ";

bool within(double v, double limit) { return v >= -limit && v <= limit; }  // false for NaN

SearchParameters widen(const CrvSearchParams& p) {
    return {p.option,          p.centreLatitude,  p.centreLongitude, p.focus1Latitude, p.focus1Longitude,
            p.focus2Latitude, p.focus2Longitude, p.radiusNmi,       p.frequencyMHz};
}

// Whole-degree cells from the minimum to the maximum; a window that starts
// south of the equator (or east of Greenwich) is walked from its maximum down,
// which is the byte order of the negative keys.
std::vector<int> cellRange(double minimum, double maximum) {
    const int first = static_cast<int>(std::trunc(minimum));
    const int last = static_cast<int>(std::trunc(maximum));
    std::vector<int> cells;
    if (minimum >= 0)
        for (int c = first; c <= last; ++c) cells.push_back(c);
    else
        for (int c = last; c >= first; --c) cells.push_back(c);
    return cells;
}

struct Database {
    DatabaseKind kind;
    std::string missingMessage;
    int recordLength;  // with CR LF; 0 = found from the first record
};

Database databaseOf(std::int16_t number) {
    switch (number) {
        case CRV_DB_FM:
            return {{"FCC", "OpenFCC        ", "ReadFCC        "}, "Could not find FCC database file:", 0};
        case CRV_DB_NAVAID:
            return {{"QVA", "OpenQVA        ", "ReadQVA        "}, "Could not find QVA database file:", 137};
        default:
            return {{"COM", "OpenCOM        ", "ReadCOM        "}, "Could not find COM database file:", 142};
    }
}

const std::string& databasePath(const PathBlock& paths, std::int16_t number) {
    return number == CRV_DB_FM ? paths.fmDatabase : number == CRV_DB_NAVAID ? paths.navaidDatabase : paths.comDatabase;
}

// A result file opened for the length of one search.
class ResultFile {
public:
    ResultFile(const std::string& path, bool append, std::string_view routine) : unit_(routine), routine_(routine) {
        // Written in place: a cancelled search keeps the lines found so far.
        const auto mode = append ? crv::platform::WriteMode::Append : crv::platform::WriteMode::Truncate;
        if (auto opened = writer_.open(path, mode); !opened) fail(routine, opened.error());
    }
    void write(const std::string& line) { writer_.writeLine(line); }
    void close() {
        if (auto closed = writer_.close(); !closed) fail(routine_, closed.error());
    }

private:
    FileUnit unit_;
    std::string_view routine_;
    crv::platform::TextWriter writer_;
};

// "Fr" + the frequency in kHz as six digits + ".tmp".
std::string frequencyFileName(std::int32_t kHz) {
    char name[32];
    std::snprintf(name, sizeof name, "Fr%06d.tmp", static_cast<int>(kHz));
    return name;
}
}  // namespace

void checkSearchArguments(std::int16_t database, const CrvSearchParams* params) {
    if (database < 1 || database > 3) fail(kRoutine, "Invalid database selection");
    if (params == nullptr) fail(kRoutine, "Invalid search option");
    const CrvSearchParams& p = *params;
    if (p.option < 0 || p.option > 4) fail(kRoutine, "Invalid search option");
    if (p.option == 0) {
        if (!(p.frequencyMHz > 0) || frequencyKHzOf(p.frequencyMHz) < 0)
            fail(kRoutine, "Invalid frequency for search option 0");
        return;
    }
    if (!within(p.centreLatitude, 90.01)) fail(kRoutine, "Invalid center latitude value");
    if (!within(p.centreLongitude, 180.01)) fail(kRoutine, "Invalid center longitude value");
    if (p.option == 2) {
        if (!within(p.focus1Latitude, 90.01)) fail(kRoutine, "Invalid latitude value for focus 1");
        if (!within(p.focus1Longitude, 180.01)) fail(kRoutine, "Invalid longitude value for focus 1");
        if (!within(p.focus2Latitude, 90.01)) fail(kRoutine, "Invalid latitude value for focus 2");
        if (!within(p.focus2Longitude, 180.01)) fail(kRoutine, "Invalid longitude value for focus 2");
    }
    // A negative or unreadable radius would give a window turned inside out.
    if (!(p.radiusNmi >= 0) || !std::isfinite(p.radiusNmi)) fail(kRoutine, "Invalid search radius");
}

SearchWindow LatLonWindow(const SearchParameters& p) {
    double latLow = p.centreLatitude, latHigh = p.centreLatitude;
    double lonLow = p.centreLongitude, lonHigh = p.centreLongitude;
    if (p.option == 2) {
        latLow = std::min(p.focus1Latitude, p.focus2Latitude);
        latHigh = std::max(p.focus1Latitude, p.focus2Latitude);
        lonLow = std::min(p.focus1Longitude, p.focus2Longitude);
        lonHigh = std::max(p.focus1Longitude, p.focus2Longitude);
    }
    const double d = p.radiusNmi / 60.0;
    SearchWindow w;
    w.latitudeMin = std::max(latLow - d, -90.0);
    w.latitudeMax = std::min(latHigh + d, 90.0);
    const double middle = (w.latitudeMin + w.latitudeMax) / 2.0;
    // The longitude half-width must hold the circle where a degree of
    // longitude is shortest, at the window's poleward edge: sized at the
    // middle latitude it would miss facilities just inside the radius near the
    // east and west edges.
    const double poleward = std::max(std::fabs(w.latitudeMin), std::fabs(w.latitudeMax));
    if (std::fabs(middle) >= 89.0 || poleward >= 89.99) {
        w.longitudeMin = -180.0;
        w.longitudeMax = 180.0;
        return w;
    }
    const double e = d / std::cos(poleward * kDegToRad);
    w.longitudeMin = std::max(lonLow - e, -180.0);
    w.longitudeMax = std::min(lonHigh + e, 180.0);
    return w;
}

int InArea(const SearchParameters& p, const SearchWindow& w, double latitude, double longitude, HitGeometry& hit) {
    if (latitude < w.latitudeMin || latitude > w.latitudeMax || longitude < w.longitudeMin ||
        longitude > w.longitudeMax)
        return kOutsideWindow;
    DistBearing db{};
    if (p.option == 2) {
        const DistBearing d1 = LLDist(p.focus1Latitude, p.focus1Longitude, latitude, longitude);
        const DistBearing d2 = LLDist(p.focus2Latitude, p.focus2Longitude, latitude, longitude);
        db.distanceNmi = (d1.distanceNmi + d2.distanceNmi) / 2.0;
    } else {
        db = LLDist(p.centreLatitude, p.centreLongitude, latitude, longitude);
    }
    if (db.distanceNmi > p.radiusNmi) return kOutsideRadius;
    if (p.option == 2) {
        db = LLDist(latitude, longitude, p.centreLatitude, p.centreLongitude);
    } else if ((p.option == 3 || p.option == 4) && db.distanceNmi > 0) {
        // The RF-source report gives the bearing from the station to the facility.
        db.bearingDeg -= 180.0;
        if (db.bearingDeg < 0) db.bearingDeg += 360.0;
    }
    hit.option = p.option;
    hit.distanceNmi = db.distanceNmi;
    hit.bearingDeg = db.bearingDeg;
    return kInside;
}

void runSearchDB(std::int16_t database, const CrvSearchParams* params, Progress& progress, std::int16_t& count) {
    count = 0;
    EngineState& state = sharedState();
    GetPaths(state);
    checkSearchArguments(database, params);
    const SearchParameters p = widen(*params);
    const bool filter = p.option == 0 || p.frequencyMHz > 0;
    const std::int32_t wantedKHz = filter ? frequencyKHzOf(p.frequencyMHz) : -1;

    // The open procedure.
    const Database spec = databaseOf(database);
    const std::string& path = databasePath(state.paths, database);
    // Missing is "Could not find"; a folder or special file in its place is
    // refused by the open below ("Could not open").
    struct stat st {};
    if (path.empty() || ::stat(path.c_str(), &st) != 0) fail(spec.kind.openRoutine, spec.missingMessage + "\r" + path);
    const DatabaseFile db(path, spec.recordLength, spec.kind);
    std::optional<ResultFile> unit1, unit2;
    if (!filter) {
        unit1.emplace(state.paths.tempFolder + "RfiSrch1.tmp", true, spec.kind.openRoutine);
        if (database != CRV_DB_FM || p.option >= 2)
            unit2.emplace(state.paths.tempFolder + "RfiSrch2.tmp", true, spec.kind.openRoutine);
    } else {
        // The frequency-search file goes to the current working folder.
        unit1.emplace(frequencyFileName(wantedKHz), false, kRoutine);
    }

    std::int32_t hits = 0;
    // A record cut short at the end of the file reads as position 0, 0 and
    // frequency 0 and is never written.
    auto readRecord = [&](long n) {
        if (!db.readable(n)) {
            FacilityRecord missing;
            missing.number = n;
            return missing;
        }
        const RecordSource source{spec.kind.label, spec.kind.readRoutine, db.path(), n};
        std::string raw = db.read(n);
        return database == CRV_DB_FM ? ReadFCC(std::move(raw), source)
               : database == CRV_DB_NAVAID ? ReadQVA(std::move(raw), source)
                                           : ReadCOM(std::move(raw), source);
    };
    auto writeRecord = [&](const FacilityRecord& r, const HitGeometry& hit) {
        const RecordSource source{spec.kind.label, spec.kind.readRoutine, db.path(), r.number};
        const SearchLines lines = database == CRV_DB_FM       ? WriteFCC(r, db.longLayout(), hit, source)
                                  : database == CRV_DB_NAVAID ? WriteQVA(r, hit, source)
                                                              : WriteCOM(r, hit);
        if (!lines.line1.empty() && unit1) unit1->write(lines.line1);
        if (!lines.line2.empty() && unit2) unit2->write(lines.line2);
        if (lines.counted && hits < INT32_MAX) ++hits;
    };
    // A cancel keeps what was appended: close the files before leaving.
    auto checkpoint = [&](double done, double expected) {
        if (progress.report(done, expected)) {
            if (unit1) unit1->close();
            if (unit2) unit2->close();
            throw CancelRequested{};
        }
    };

    const long n = db.count();
    if (p.option == 0) {
        HitGeometry hit;
        hit.option = 0;
        for (long i = 1; i <= n; ++i) {
            const FacilityRecord r = readRecord(i);
            if (db.readable(i) && r.frequencyKHz == wantedKHz) writeRecord(r, hit);
            if (i % 10 == 0) checkpoint(static_cast<double>(i), static_cast<double>(n));
        }
    } else {
        const SearchWindow window = LatLonWindow(p);
        const std::vector<int> latCells = cellRange(window.latitudeMin, window.latitudeMax);
        const std::vector<int> lonCells = cellRange(window.longitudeMin, window.longitudeMax);
        const double cellsVisited = static_cast<double>(latCells.size() * lonCells.size());
        double cellsDone = 0;
        // The record in hand and its cell key ("" when there is none).
        long current = 0;
        std::string currentKey;
        FacilityRecord record;
        for (int latCell : latCells) {
            for (int lonCell : lonCells) {
                const std::string target = cellKey(latCell, lonCell);
                if (currentKey != target) {
                    if (const long start = FindCellStart(db, target); start > 0) {
                        current = start;
                        record = readRecord(current);
                        currentKey = record.raw.substr(0, 7);
                    }
                }
                while (currentKey == target) {
                    HitGeometry hit;
                    if (InArea(p, window, record.position.latitude, record.position.longitude, hit) == kInside &&
                        (!filter || record.frequencyKHz == wantedKHz))
                        writeRecord(record, hit);
                    if (++current > n || !db.readable(current)) {
                        currentKey.clear();
                        break;
                    }
                    record = readRecord(current);
                    currentKey = record.raw.substr(0, 7);
                }
                checkpoint(++cellsDone, cellsVisited);
            }
        }
    }

    if (unit1) unit1->close();
    if (unit2) unit2->close();
    // The count crosses as 16 bits.
    count = static_cast<std::int16_t>(std::min<std::int32_t>(hits, 32767));
}

}  // namespace crv::engine
