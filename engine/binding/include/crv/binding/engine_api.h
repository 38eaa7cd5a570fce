#pragma once
// The engine's nine exports as the programs and the driver call them. The
// real implementation binds libcrv50.so by name at the first call
// (engine_library.h); tests use FakeEngine (fake_engine.h).
//
// Texts are passed as they are: a folder or file argument of 260 bytes or
// more is refused with EngineError before the engine sees it, never cut.
// One call at a time: a call entered while another runs (from inside a
// progress callback) throws EngineBusy and leaves the running call alone.
#include <cstdint>
#include <functional>
#include <stdexcept>
#include <string>

#include "crv50.h"

namespace crv::binding {

using SearchParams = CrvSearchParams;

// Thrown for a missing library or export, a path the engine cannot take, or a
// second call while one runs. what() is a complete sentence for the user.
class EngineError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class EngineBusy : public EngineError {
public:
    using EngineError::EngineError;
};

// Called on the caller's thread with the percent done; returns true to ask
// the engine to cancel. An exception it throws never reaches the engine: the
// call is cancelled and the exception is thrown again once the engine has
// returned.
using Progress = std::function<bool(std::int32_t percent)>;

inline constexpr std::size_t kMaxEnginePath = 260;  // a path must be shorter
inline constexpr std::size_t kMaxEngineKey = 80;

class EngineApi {
public:
    virtual ~EngineApi() = default;

    virtual void Grid(const std::string& runFolder, const Progress& progress, std::int16_t& status,
                      std::int32_t& points) = 0;
    virtual void Evaluate(const std::string& runFolder, const Progress& progress, std::int16_t& status,
                          std::int16_t& cases) = 0;
    virtual void B1_2Sig(const std::string& runFolder, const Progress& progress, std::int16_t& status,
                         std::int16_t& cases, std::int32_t& combinations) = 0;
    virtual void B1_3Sig(const std::string& runFolder, const Progress& progress, std::int16_t& status,
                         std::int16_t& cases, std::int32_t& combinations) = 0;
    virtual void GrndCOM(const std::string& runFolder, const Progress& progress, std::int16_t& status,
                         std::int16_t& cases) = 0;
    virtual void SearchDB(std::int16_t database, const SearchParams& params, const Progress& progress,
                          std::int16_t& status, std::int16_t& count) = 0;
    virtual void SortFile(const std::string& file, const std::string& keyText, std::int32_t recordLength) = 0;
    virtual void DistLL(float distanceNmi, float bearingDeg, float latitude, float longitude, float& newLatitude,
                        float& newLongitude) = 0;
    virtual void LLDist(float latitude1, float longitude1, float latitude2, float longitude2, float& distanceNmi,
                        float& bearingDeg) = 0;

    // True while an engine call is running (a progress callback is on the stack).
    virtual bool busy() const = 0;
};

}  // namespace crv::binding
