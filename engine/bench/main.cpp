// crv_bench: the engine's benchmark.
//
//   crv_bench make RUNFOLDER   writes the stress case "Rfi.plt" into RUNFOLDER
//   crv_bench run RUNFOLDER    runs Grid, Evaluate, B1_2Sig and B1_3Sig on it
//                              and prints each export's wall time and rates,
//                              the whole run's time and the peak memory
//
// The thread count comes from CRV_THREADS (default: the machine's cores), so
// `CRV_THREADS=1 crv_bench run F` gives the single-thread reference.
#include <sys/resource.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <thread>

#include "crv/binding/engine_library.h"
#include "stress_case.h"

namespace {

const crv::binding::Progress noProgress;  // no progress, no cancel

double seconds(std::chrono::steady_clock::time_point since) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

double peakMemoryMiB() {
    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024.0;  // ru_maxrss is in KiB
}

std::string threadsText() {
    if (const char* env = std::getenv("CRV_THREADS"); env && *env) return env;
    return std::to_string(std::thread::hardware_concurrency()) + " (all cores)";
}

int make(const std::string& folder) {
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    if (ec || !crv::bench::writeStressCase(folder)) {
        std::fprintf(stderr, "crv_bench: could not write the stress case into %s\n", folder.c_str());
        return 2;
    }
    std::printf("stress case written to %sRfi.plt (%d stations, %d proponents)\n", folder.c_str(),
                crv::bench::kStressStations, crv::bench::kStressProponents);
    return 0;
}

int run(const std::string& folder) {
    crv::binding::EngineLibrary& f = crv::binding::sharedEngine();
    try {
        f.bindAll();
    } catch (const crv::binding::EngineError& e) {
        std::fprintf(stderr, "crv_bench: %s\n", e.what());
        return 2;
    }
    std::printf("threads: %s\n", threadsText().c_str());
    const auto start = std::chrono::steady_clock::now();
    int16_t status = 0;

    auto t = std::chrono::steady_clock::now();
    int32_t points = 0;
    f.Grid(folder, noProgress, status, points);
    std::printf("Grid      status=%d  %8.3f s  points=%d\n", status, seconds(t), points);
    if (status != 0) return 2;

    t = std::chrono::steady_clock::now();
    int16_t cases = 0;
    f.Evaluate(folder, noProgress, status, cases);
    double s = seconds(t);
    // Evaluate checks every point against every proponent.
    const double pointChecks = static_cast<double>(points) * crv::bench::kStressProponents;
    std::printf("Evaluate  status=%d  %8.3f s  cases=%d  points/s=%.3g  point-proponents/s=%.3g\n", status, s, cases,
                points / s, pointChecks / s);
    if (status != 0) return 2;

    for (int signals = 2; signals <= 3; ++signals) {
        t = std::chrono::steady_clock::now();
        int32_t combinations = 0;
        cases = 0;
        if (signals == 2)
            f.B1_2Sig(folder, noProgress, status, cases, combinations);
        else
            f.B1_3Sig(folder, noProgress, status, cases, combinations);
        s = seconds(t);
        // Each combination examined is checked at every receiver point (an
        // upper bound when prescreening skips some).
        const double pointCombinations = static_cast<double>(points) * combinations;
        std::printf("B1_%dSig   status=%d  %8.3f s  cases=%d  combinations=%d  points/s=%.3g  "
                    "point-combinations/s=%.3g\n",
                    signals, status, s, cases, combinations, points / s, pointCombinations / s);
        if (status != 0) return 2;
    }
    std::printf("total     %8.3f s\npeak memory %.1f MiB\n", seconds(start), peakMemoryMiB());
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3 || (std::string(argv[1]) != "make" && std::string(argv[1]) != "run")) {
        std::fputs("usage: crv_bench make RUNFOLDER | crv_bench run RUNFOLDER\n", stderr);
        return 2;
    }
    std::string folder = argv[2];
    if (folder.back() != '/') folder += '/';
    return std::string(argv[1]) == "make" ? make(folder) : run(folder);
}
