#pragma once
// The engine bound by name: libcrv50.so is opened at the first call (from the
// program's own folder, then its ../lib, then the system's search path) and
// each export is looked up at its own first call and kept for the life of the
// process.
// A program without the library starts and runs until its first engine call,
// which then throws EngineError naming what is missing.
#include <array>
#include <mutex>
#include <string>
#include <vector>

#include "crv/binding/engine_api.h"

namespace crv::binding {

inline constexpr const char* kEngineLibraryName = "libcrv50.so";

// Where the library is looked for, in order, for a program in
// `executableFolder` (ending in "/"): beside it (the build folder, or a
// program unpacked anywhere), in its ../lib (an installed prefix, PREFIX/bin
// and PREFIX/lib), then by name through the dynamic loader (LD_LIBRARY_PATH,
// the system's library folders). The first file there is the one opened.
std::vector<std::string> engineLibraryCandidates(const std::string& executableFolder);

class EngineLibrary : public EngineApi {
public:
    // `libraryPath` "" means the first of engineLibraryCandidates(executableFolder()).
    explicit EngineLibrary(std::string libraryPath = {});

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
    void DistLL(float distanceNmi, float bearingDeg, float latitude, float longitude, float& newLatitude,
                float& newLongitude) override;
    void LLDist(float latitude1, float longitude1, float latitude2, float longitude2, float& distanceNmi,
                float& bearingDeg) override;
    bool busy() const override;

    // Opens the library and looks up every export now; throws EngineError
    // for the first one missing. The driver uses it to fail early.
    void bindAll();

private:
    enum class Export { Grid, Evaluate, B1_2Sig, B1_3Sig, GrndCOM, SearchDB, SortFile, DistLL, LLDist, Count };
    void* bound(Export which, const char* name);
    void* symbol(const char* name);

    std::string libraryPath_;
    void* handle_ = nullptr;
    std::array<void*, static_cast<std::size_t>(Export::Count)> exports_{};
    std::mutex lock_;
};

// The one instance the program uses.
EngineLibrary& sharedEngine();

// The folder of the running executable, ending in "/" ("" when unknown).
std::string executableFolder();

}  // namespace crv::binding
