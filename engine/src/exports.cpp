// The nine exports of libcrv50.so. Each zeroes its status and counts first,
// then runs its work behind the export boundary (runExport), which turns every
// failure into status 2 after one message and every cancel into status 1.
#include "crv50.h"

#include <cstring>

#include "evaluation_exports.h"
#include "export_call.h"
#include "fixed_text.h"
#include "geodesy.h"
#include "sort_file.h"

using namespace crv::engine;

namespace {
template <class T>
void zero(T* p) {
    if (p) *p = 0;
}
template <class T>
T& orScratch(T* p, T& scratch) {
    return p ? *p : scratch;
}
void setStatus(std::int16_t* status, std::int16_t value) {
    if (status) *status = value;
}
// A call that did not finish reports no results: counts from part of a
// failed run would read as a complete one.
template <class... T>
void setStatus(std::int16_t* status, std::int16_t value, T*... counts) {
    setStatus(status, value);
    if (value != CRV_STATUS_DONE) (zero(counts), ...);
}
}  // namespace

extern "C" {

CRV50_API void Grid(const char* runFolder, CrvProgressCallback callback, int16_t* status, int32_t* points) {
    zero(status);
    zero(points);
    int32_t scratch = 0;
    Progress progress(callback);
    setStatus(status, runExport("Grid           ", [&] { runGrid(runFolder, progress, orScratch(points, scratch)); }),
              points);
}

CRV50_API void Evaluate(const char* runFolder, CrvProgressCallback callback, int16_t* status, int16_t* cases) {
    zero(status);
    zero(cases);
    int16_t scratch = 0;
    Progress progress(callback);
    setStatus(status,
              runExport("Evaluate       ", [&] { runEvaluate(runFolder, progress, orScratch(cases, scratch)); }),
              cases);
}

CRV50_API void B1_2Sig(const char* runFolder, CrvProgressCallback callback, int16_t* status, int16_t* cases,
                       int32_t* combinations) {
    zero(status);
    zero(cases);
    zero(combinations);
    int16_t s1 = 0;
    int32_t s2 = 0;
    Progress progress(callback);
    setStatus(status,
              runExport("B1_2Sig        ",
                        [&] { runB1_2Sig(runFolder, progress, orScratch(cases, s1), orScratch(combinations, s2)); }),
              cases, combinations);
}

CRV50_API void B1_3Sig(const char* runFolder, CrvProgressCallback callback, int16_t* status, int16_t* cases,
                       int32_t* combinations) {
    zero(status);
    zero(cases);
    zero(combinations);
    int16_t s1 = 0;
    int32_t s2 = 0;
    Progress progress(callback);
    setStatus(status,
              runExport("B1_3Sig        ",
                        [&] { runB1_3Sig(runFolder, progress, orScratch(cases, s1), orScratch(combinations, s2)); }),
              cases, combinations);
}

CRV50_API void GrndCOM(const char* runFolder, CrvProgressCallback callback, int16_t* status, int16_t* cases) {
    zero(status);
    zero(cases);
    int16_t scratch = 0;
    Progress progress(callback);
    setStatus(status, runExport("GrndCOM        ", [&] { runGrndCOM(runFolder, progress, orScratch(cases, scratch)); }),
              cases);
}

CRV50_API void SearchDB(int16_t database, const CrvSearchParams* params, CrvProgressCallback callback, int16_t* status,
                        int16_t* count) {
    zero(status);
    zero(count);
    int16_t scratch = 0;
    Progress progress(callback);
    setStatus(status,
              runExport("SearchDB       ", [&] { runSearchDB(database, params, progress, orScratch(count, scratch)); }),
              count);
}

CRV50_API void SortFile(const char* file, const char* keyText, int16_t recordLength) {
    runExport("SortFile       ", [&] {
        const std::string path = argumentText(file, 260, "SortFile       ", "file name");
        const std::string keys = keyText ? trimRightCopy(std::string_view(keyText, ::strnlen(keyText, 80))) : "";
        sortRecordFile(path, keys, recordLength);
    });
}

CRV50_API void DistLL(float distanceNmi, float bearingDeg, float latitude, float longitude, float* newLatitude,
                      float* newLongitude) {
    const LatLon p = crv::engine::DistLL(distanceNmi, bearingDeg, latitude, longitude);
    if (newLatitude) *newLatitude = static_cast<float>(p.latitude);
    if (newLongitude) *newLongitude = static_cast<float>(p.longitude);
}

CRV50_API void LLDist(float latitude1, float longitude1, float latitude2, float longitude2, float* distanceNmi,
                      float* bearingDeg) {
    const DistBearing d = crv::engine::LLDist(latitude1, longitude1, latitude2, longitude2);
    if (distanceNmi) *distanceNmi = static_cast<float>(d.distanceNmi);
    // A bearing just below 360 can round to 360 in single precision; callers
    // rely on [0, 360).
    float bearing = static_cast<float>(d.bearingDeg);
    if (bearing >= 360.0f) bearing = 0.0f;
    if (bearingDeg) *bearingDeg = bearing;
}

}  // extern "C"
