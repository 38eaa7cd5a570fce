#include "crv/binding/engine_library.h"

#include <dlfcn.h>
#include <unistd.h>

#include <climits>
#include <exception>
#include <mutex>
#include <vector>

namespace crv::binding {

namespace {

// The engine's callback has no user data, so the running call's progress
// lives here; one call at a time makes one slot enough.
struct ActiveCall {
    const Progress* progress = nullptr;
    std::exception_ptr error;
};
thread_local ActiveCall* activeCall = nullptr;
bool callRunning = false;

extern "C" void progressTrampoline(int32_t percent, int16_t* cancel) {
    ActiveCall* call = activeCall;
    if (!call || !cancel) return;
    if (call->error) {  // keep asking until the engine stops
        *cancel = 1;
        return;
    }
    try {
        *cancel = (call->progress && *call->progress && (*call->progress)(percent)) ? 1 : 0;
    } catch (...) {
        call->error = std::current_exception();
        *cancel = 1;
    }
}

void checkText(const std::string& text, std::size_t limit, const char* what) {
    if (text.size() >= limit)
        throw EngineError(std::string("The ") + what + " is too long for the engine (" +
                          std::to_string(text.size()) + " characters; fewer than " + std::to_string(limit) +
                          " are allowed): " + text);
}

// Marks the engine busy for the length of one call and routes its callbacks.
class CallScope {
public:
    explicit CallScope(const Progress* progress) {
        if (callRunning)
            throw EngineBusy("The engine is busy with another search or simulation; wait for it to finish.");
        callRunning = true;
        call_.progress = progress;
        activeCall = &call_;
    }
    ~CallScope() {
        activeCall = nullptr;
        callRunning = false;
    }
    // After the engine returned: an exception from the callback goes on now.
    void finish() {
        if (call_.error) {
            auto e = call_.error;
            call_.error = nullptr;
            std::rethrow_exception(e);
        }
    }
    CrvProgressCallback callback() const { return call_.progress && *call_.progress ? &progressTrampoline : nullptr; }

private:
    ActiveCall call_;
};

}  // namespace

std::string executableFolder() {
    char buf[PATH_MAX];
    const ssize_t n = ::readlink("/proc/self/exe", buf, sizeof buf - 1);
    if (n <= 0) return {};
    std::string path(buf, static_cast<std::size_t>(n));
    const auto slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

std::vector<std::string> engineLibraryCandidates(const std::string& executableFolder) {
    std::vector<std::string> candidates;
    if (!executableFolder.empty()) {
        candidates.push_back(executableFolder + kEngineLibraryName);
        candidates.push_back(executableFolder + "../lib/" + kEngineLibraryName);
    }
    candidates.push_back(kEngineLibraryName);
    return candidates;
}

EngineLibrary::EngineLibrary(std::string libraryPath) : libraryPath_(std::move(libraryPath)) {}

void* EngineLibrary::bound(Export which, const char* name) {
    std::lock_guard<std::mutex> guard(lock_);
    void*& slot = exports_[static_cast<std::size_t>(which)];
    if (!slot) slot = symbol(name);
    return slot;
}

void* EngineLibrary::symbol(const char* name) {
    if (!handle_) {
        std::string where;
        if (!libraryPath_.empty()) {
            handle_ = ::dlopen(libraryPath_.c_str(), RTLD_NOW | RTLD_LOCAL);
        } else {
            // A copy that is there but does not load is reported, never
            // passed over for one further down the list: the program would
            // run an engine other than the one installed with it.
            const std::string folder = executableFolder();
            for (const std::string& candidate : engineLibraryCandidates(folder)) {
                const bool byName = candidate.find('/') == std::string::npos;
                if (!byName && ::access(candidate.c_str(), F_OK) != 0) continue;
                if (byName && !folder.empty()) where = " (not in " + folder + " nor " + folder + "../lib/)";
                handle_ = ::dlopen(candidate.c_str(), RTLD_NOW | RTLD_LOCAL);
                break;
            }
        }
        if (!handle_) {
            const char* err = ::dlerror();
            throw EngineError(std::string("The engine library libcrv50.so cannot be loaded: ") +
                              (err ? err : "not found") + where + ".");
        }
    }
    void* address = ::dlsym(handle_, name);
    if (!address)
        throw EngineError(std::string("The engine library libcrv50.so has no function ") + name + ".");
    return address;
}

// Each export is looked up at its first call and kept.
#define CRV_BOUND(name) const auto fn_##name = reinterpret_cast<decltype(&::name)>(bound(Export::name, #name));

void EngineLibrary::bindAll() {
    bound(Export::Grid, "Grid");
    bound(Export::Evaluate, "Evaluate");
    bound(Export::B1_2Sig, "B1_2Sig");
    bound(Export::B1_3Sig, "B1_3Sig");
    bound(Export::GrndCOM, "GrndCOM");
    bound(Export::SearchDB, "SearchDB");
    bound(Export::SortFile, "SortFile");
    bound(Export::DistLL, "DistLL");
    bound(Export::LLDist, "LLDist");
}

bool EngineLibrary::busy() const { return callRunning; }

void EngineLibrary::Grid(const std::string& runFolder, const Progress& progress, std::int16_t& status,
                         std::int32_t& points) {
    checkText(runFolder, kMaxEnginePath, "run folder");
    CRV_BOUND(Grid)
    CallScope scope(&progress);
    fn_Grid(runFolder.c_str(), scope.callback(), &status, &points);
    scope.finish();
}

void EngineLibrary::Evaluate(const std::string& runFolder, const Progress& progress, std::int16_t& status,
                             std::int16_t& cases) {
    checkText(runFolder, kMaxEnginePath, "run folder");
    CRV_BOUND(Evaluate)
    CallScope scope(&progress);
    fn_Evaluate(runFolder.c_str(), scope.callback(), &status, &cases);
    scope.finish();
}

void EngineLibrary::B1_2Sig(const std::string& runFolder, const Progress& progress, std::int16_t& status,
                            std::int16_t& cases, std::int32_t& combinations) {
    checkText(runFolder, kMaxEnginePath, "run folder");
    CRV_BOUND(B1_2Sig)
    CallScope scope(&progress);
    fn_B1_2Sig(runFolder.c_str(), scope.callback(), &status, &cases, &combinations);
    scope.finish();
}

void EngineLibrary::B1_3Sig(const std::string& runFolder, const Progress& progress, std::int16_t& status,
                            std::int16_t& cases, std::int32_t& combinations) {
    checkText(runFolder, kMaxEnginePath, "run folder");
    CRV_BOUND(B1_3Sig)
    CallScope scope(&progress);
    fn_B1_3Sig(runFolder.c_str(), scope.callback(), &status, &cases, &combinations);
    scope.finish();
}

void EngineLibrary::GrndCOM(const std::string& runFolder, const Progress& progress, std::int16_t& status,
                            std::int16_t& cases) {
    checkText(runFolder, kMaxEnginePath, "run folder");
    CRV_BOUND(GrndCOM)
    CallScope scope(&progress);
    fn_GrndCOM(runFolder.c_str(), scope.callback(), &status, &cases);
    scope.finish();
}

void EngineLibrary::SearchDB(std::int16_t database, const SearchParams& params, const Progress& progress,
                             std::int16_t& status, std::int16_t& count) {
    CRV_BOUND(SearchDB)
    CallScope scope(&progress);
    fn_SearchDB(database, &params, scope.callback(), &status, &count);
    scope.finish();
}

void EngineLibrary::SortFile(const std::string& file, const std::string& keyText, std::int32_t recordLength) {
    checkText(file, kMaxEnginePath, "file name");
    checkText(keyText, kMaxEngineKey + 1, "sort key");
    CRV_BOUND(SortFile)
    CallScope scope(nullptr);
    // The engine reads 16 bits of the record length.
    fn_SortFile(file.c_str(), keyText.c_str(), static_cast<std::int16_t>(recordLength));
}

void EngineLibrary::DistLL(float distanceNmi, float bearingDeg, float latitude, float longitude, float& newLatitude,
                           float& newLongitude) {
    CRV_BOUND(DistLL)
    fn_DistLL(distanceNmi, bearingDeg, latitude, longitude, &newLatitude, &newLongitude);
}

void EngineLibrary::LLDist(float latitude1, float longitude1, float latitude2, float longitude2, float& distanceNmi,
                           float& bearingDeg) {
    CRV_BOUND(LLDist)
    fn_LLDist(latitude1, longitude1, latitude2, longitude2, &distanceNmi, &bearingDeg);
}

EngineLibrary& sharedEngine() {
    static EngineLibrary engine;
    return engine;
}

}  // namespace crv::binding
