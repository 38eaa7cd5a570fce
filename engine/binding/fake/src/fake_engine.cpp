#include "crv/binding/fake_engine.h"

#include <cmath>

namespace crv::binding {

namespace {
constexpr double kPi = 3.14159265358979323846;

// Default script of a long export: two progress points, cancel honoured.
bool defaultProgress(const Progress& progress, std::int16_t& status) {
    for (int percent : {50, 100}) {
        if (progress && progress(percent)) {
            status = CRV_STATUS_CANCELLED;
            return false;
        }
    }
    return true;
}

class BusyScope {
public:
    explicit BusyScope(bool& busy) : busy_(busy) {
        if (busy_) throw EngineBusy("The engine is busy with another search or simulation; wait for it to finish.");
        busy_ = true;
    }
    ~BusyScope() { busy_ = false; }

private:
    bool& busy_;
};
}  // namespace

void FakeEngine::runLong(const char* name, const RunScript& script, const std::string& folder, const Progress& progress,
                         std::int16_t& st, std::int16_t& cs, std::int32_t& count32, std::int32_t defaultCount32) {
    calls.push_back({name, folder});
    BusyScope scope(busy_);
    st = 0;
    cs = 0;
    count32 = 0;
    if (script) {
        script(folder, progress, st, cs, count32);
        return;
    }
    if (!defaultProgress(progress, st)) return;
    st = status;
    cs = cases;
    count32 = defaultCount32;
}

void FakeEngine::Grid(const std::string& runFolder, const Progress& progress, std::int16_t& st, std::int32_t& pts) {
    std::int16_t unused = 0;
    runLong("Grid", onGrid, runFolder, progress, st, unused, pts, points);
}

void FakeEngine::Evaluate(const std::string& runFolder, const Progress& progress, std::int16_t& st, std::int16_t& cs) {
    std::int32_t unused = 0;
    runLong("Evaluate", onEvaluate, runFolder, progress, st, cs, unused, 0);
}

void FakeEngine::B1_2Sig(const std::string& runFolder, const Progress& progress, std::int16_t& st, std::int16_t& cs,
                         std::int32_t& comb) {
    runLong("B1_2Sig", onB1_2Sig, runFolder, progress, st, cs, comb, combinations);
}

void FakeEngine::B1_3Sig(const std::string& runFolder, const Progress& progress, std::int16_t& st, std::int16_t& cs,
                         std::int32_t& comb) {
    runLong("B1_3Sig", onB1_3Sig, runFolder, progress, st, cs, comb, combinations);
}

void FakeEngine::GrndCOM(const std::string& runFolder, const Progress& progress, std::int16_t& st, std::int16_t& cs) {
    std::int32_t unused = 0;
    runLong("GrndCOM", onGrndCOM, runFolder, progress, st, cs, unused, 0);
}

void FakeEngine::SearchDB(std::int16_t database, const SearchParams& params, const Progress& progress, std::int16_t& st,
                          std::int16_t& count) {
    calls.push_back({"SearchDB", std::to_string(database)});
    BusyScope scope(busy_);
    st = 0;
    count = 0;
    if (onSearchDB) {
        onSearchDB(database, params, progress, st, count);
        return;
    }
    const std::int16_t hits = searchIndex_ < searchHits.size() ? searchHits[searchIndex_] : 0;
    ++searchIndex_;
    if (!defaultProgress(progress, st)) return;
    st = status;
    count = hits;
}

void FakeEngine::SortFile(const std::string& file, const std::string& keyText, std::int32_t recordLength) {
    calls.push_back({"SortFile", file});
    if (onSortFile) onSortFile(file, keyText, recordLength);
}

void FakeEngine::DistLL(float distanceNmi, float bearingDeg, float latitude, float longitude, float& newLatitude,
                        float& newLongitude) {
    const double b = bearingDeg * kPi / 180.0;
    const double lat2 = latitude + distanceNmi * std::cos(b) / 60.0;
    const double meanLat = (latitude + lat2) / 2.0 * kPi / 180.0;
    newLatitude = static_cast<float>(lat2);
    newLongitude = static_cast<float>(longitude - distanceNmi * std::sin(b) / (60.0 * std::cos(meanLat)));
}

void FakeEngine::LLDist(float latitude1, float longitude1, float latitude2, float longitude2, float& distanceNmi,
                        float& bearingDeg) {
    const double meanLat = (latitude1 + latitude2) / 2.0 * kPi / 180.0;
    const double north = (latitude2 - latitude1) * 60.0;
    const double east = -(longitude2 - longitude1) * 60.0 * std::cos(meanLat);
    distanceNmi = static_cast<float>(std::hypot(north, east));
    double bearing = std::atan2(east, north) * 180.0 / kPi;
    if (bearing < 0) bearing += 360.0;
    bearingDeg = static_cast<float>(bearing);
}

std::string FakeEngine::callNames() const {
    std::string names;
    for (const auto& c : calls) {
        if (!names.empty()) names += ' ';
        names += c.name;
    }
    return names;
}

}  // namespace crv::binding
