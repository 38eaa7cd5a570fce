#pragma once
// An engine for tests: every export is a script. The default script of each
// long export moves the progress to 50 and 100 (stopping with status 1 when
// the callback asks to cancel) and returns status 0 with the counts set in
// the public members. Tests replace any script to write files or fail.
#include <functional>
#include <string>
#include <vector>

#include "crv/binding/engine_api.h"

namespace crv::binding {

class FakeEngine : public EngineApi {
public:
    struct Call {
        std::string name;  // "Grid", "SearchDB", ...
        std::string text;  // run folder, file, or the database number
    };

    // Results of the default scripts.
    std::int16_t status = 0;
    std::int32_t points = 10;
    std::int16_t cases = 0;
    std::int32_t combinations = 0;
    std::vector<std::int16_t> searchHits;  // hits per SearchDB call in turn; 0 past the end

    // A script gets the call's text argument and the progress; it sets the
    // status and the counts through the references.
    using RunScript = std::function<void(const std::string& runFolder, const Progress&, std::int16_t& status,
                                         std::int16_t& cases, std::int32_t& count32)>;
    using SearchScript = std::function<void(std::int16_t database, const SearchParams&, const Progress&,
                                            std::int16_t& status, std::int16_t& count)>;
    RunScript onGrid, onEvaluate, onB1_2Sig, onB1_3Sig, onGrndCOM;
    SearchScript onSearchDB;
    std::function<void(const std::string& file, const std::string& key, std::int32_t recordLength)> onSortFile;

    std::vector<Call> calls;

    void Grid(const std::string& runFolder, const Progress& progress, std::int16_t& status,
              std::int32_t& points) override;
    void Evaluate(const std::string& runFolder, const Progress& progress, std::int16_t& status,
                  std::int16_t& cases) override;
    void B1_2Sig(const std::string& runFolder, const Progress& progress, std::int16_t& status, std::int16_t& cases,
                 std::int32_t& combinations) override;
    void B1_3Sig(const std::string& runFolder, const Progress& progress, std::int16_t& status, std::int16_t& cases,
                 std::int32_t& combinations) override;
    void GrndCOM(const std::string& runFolder, const Progress& progress, std::int16_t& status,
                 std::int16_t& cases) override;
    void SearchDB(std::int16_t database, const SearchParams& params, const Progress& progress,
                  std::int16_t& status, std::int16_t& count) override;
    void SortFile(const std::string& file, const std::string& keyText, std::int32_t recordLength) override;
    // Flat earth, 60 nmi per degree, longitude positive west and scaled by
    // the cosine of the mean latitude, as the engine computes it.
    void DistLL(float distanceNmi, float bearingDeg, float latitude, float longitude, float& newLatitude,
                float& newLongitude) override;
    void LLDist(float latitude1, float longitude1, float latitude2, float longitude2, float& distanceNmi,
                float& bearingDeg) override;
    bool busy() const override { return busy_; }

    // The names of the calls made, in order ("Grid Evaluate ...").
    std::string callNames() const;

private:
    void runLong(const char* name, const RunScript& script, const std::string& folder, const Progress& progress,
                 std::int16_t& status, std::int16_t& cases, std::int32_t& count32, std::int32_t defaultCount32);
    bool busy_ = false;
    std::size_t searchIndex_ = 0;
};

}  // namespace crv::binding
