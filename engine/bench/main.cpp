// crv_bench: the engine's benchmark.
//
//   crv_bench make RUNFOLDER [stress|largest]
//                              writes a benchmark case "Rfi.plt" into
//                              RUNFOLDER (default: the stress case)
//   crv_bench run RUNFOLDER    runs Grid, Evaluate, B1_2Sig and B1_3Sig on it
//                              and prints each export's wall time and rates,
//                              the whole run's time and the peak memory
//   crv_bench pair RUNFOLDER [PAIRS [THREADS]]
//                              alternates whole runs on one thread and on
//                              THREADS threads (default: the machine's cores),
//                              PAIRS pairs (default 5), in this one process,
//                              and prints the medians and their ratios: both
//                              figures then see the same machine load
//
// The thread count of `run` comes from CRV_THREADS (default: the machine's
// cores), so `CRV_THREADS=1 crv_bench run F` gives the single-thread reference.
#include <sys/resource.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "crv/binding/engine_library.h"
#include "stress_case.h"

namespace {

constexpr int kExports = 4;
constexpr std::array<const char*, kExports> kExportNames{"Grid", "Evaluate", "B1_2Sig", "B1_3Sig"};

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

int make(const std::string& folder, const std::string& which) {
    const crv::bench::BenchCase* c = nullptr;
    if (which == "stress") c = &crv::bench::kStressCase;
    if (which == "largest") c = &crv::bench::kLargestCase;
    if (!c) {
        std::fprintf(stderr, "crv_bench: no case named %s (stress, largest)\n", which.c_str());
        return 2;
    }
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    if (ec || !crv::bench::writeBenchCase(folder, *c)) {
        std::fprintf(stderr, "crv_bench: could not write the %s case into %s\n", c->name, folder.c_str());
        return 2;
    }
    std::printf("%s case written to %sRfi.plt (%d stations, %d proponents, %d ft grid)\n", c->name, folder.c_str(),
                c->stations, c->proponents, c->spacingFt);
    return 0;
}

struct RunTimes {
    std::array<double, kExports> exportSeconds{};
    double total = 0;
    bool ok = false;
};

// One whole run; prints a line per export when `print` is set.
RunTimes runOnce(crv::binding::EngineLibrary& f, const std::string& folder, bool print) {
    RunTimes times;
    const auto start = std::chrono::steady_clock::now();
    int16_t status = 0;

    auto t = std::chrono::steady_clock::now();
    int32_t points = 0;
    f.Grid(folder, noProgress, status, points);
    times.exportSeconds[0] = seconds(t);
    if (print) std::printf("Grid      status=%d  %8.3f s  points=%d\n", status, times.exportSeconds[0], points);
    if (status != 0) return times;

    t = std::chrono::steady_clock::now();
    int16_t cases = 0;
    f.Evaluate(folder, noProgress, status, cases);
    double s = times.exportSeconds[1] = seconds(t);
    if (print) std::printf("Evaluate  status=%d  %8.3f s  cases=%d  points/s=%.3g\n", status, s, cases, points / s);
    if (status != 0) return times;

    for (int signals = 2; signals <= 3; ++signals) {
        t = std::chrono::steady_clock::now();
        int32_t combinations = 0;
        cases = 0;
        if (signals == 2)
            f.B1_2Sig(folder, noProgress, status, cases, combinations);
        else
            f.B1_3Sig(folder, noProgress, status, cases, combinations);
        s = times.exportSeconds[static_cast<std::size_t>(signals)] = seconds(t);
        // Each combination examined is checked at every receiver point (an
        // upper bound when prescreening skips some).
        const double pointCombinations = static_cast<double>(points) * combinations;
        if (print)
            std::printf("B1_%dSig   status=%d  %8.3f s  cases=%d  combinations=%d  points/s=%.3g  "
                        "point-combinations/s=%.3g\n",
                        signals, status, s, cases, combinations, points / s, pointCombinations / s);
        if (status != 0) return times;
    }
    times.total = seconds(start);
    times.ok = true;
    return times;
}

bool bind(crv::binding::EngineLibrary& f) {
    try {
        f.bindAll();
        return true;
    } catch (const crv::binding::EngineError& e) {
        std::fprintf(stderr, "crv_bench: %s\n", e.what());
        return false;
    }
}

int run(const std::string& folder) {
    crv::binding::EngineLibrary& f = crv::binding::sharedEngine();
    if (!bind(f)) return 2;
    std::printf("threads: %s\n", threadsText().c_str());
    const RunTimes times = runOnce(f, folder, true);
    if (!times.ok) return 2;
    std::printf("total     %8.3f s\npeak memory %.1f MiB\n", times.total, peakMemoryMiB());
    return 0;
}

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    const std::size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

int pair(const std::string& folder, int pairs, int threads) {
    crv::binding::EngineLibrary& f = crv::binding::sharedEngine();
    if (!bind(f)) return 2;
    const std::array<int, 2> counts{1, threads};
    std::array<std::vector<RunTimes>, 2> runs;
    for (int i = 0; i < pairs; ++i) {
        for (std::size_t k = 0; k < 2; ++k) {
            ::setenv("CRV_THREADS", std::to_string(counts[k]).c_str(), 1);
            const RunTimes t = runOnce(f, folder, false);
            if (!t.ok) {
                std::fprintf(stderr, "crv_bench: a run failed\n");
                return 2;
            }
            std::printf("pair %d, %d thread%s: total %.3f s (", i + 1, counts[k], counts[k] == 1 ? "" : "s", t.total);
            for (int e = 0; e < kExports; ++e) std::printf("%s%s %.3f", e ? ", " : "", kExportNames[e], t.exportSeconds[e]);
            std::printf(")\n");
            runs[k].push_back(t);
        }
    }
    std::printf("\nmedians of %d alternating pairs      1 thread   %2d threads   ratio\n", pairs, threads);
    auto row = [&](const char* name, auto pick) {
        std::array<double, 2> m{};
        for (std::size_t k = 0; k < 2; ++k) {
            std::vector<double> v;
            for (const RunTimes& t : runs[k]) v.push_back(pick(t));
            m[k] = median(v);
        }
        std::printf("%-36s %8.3f s  %8.3f s   %5.2f\n", name, m[0], m[1], m[1] > 0 ? m[0] / m[1] : 0.0);
    };
    for (int e = 0; e < kExports; ++e)
        row(kExportNames[e], [e](const RunTimes& t) { return t.exportSeconds[static_cast<std::size_t>(e)]; });
    row("whole run", [](const RunTimes& t) { return t.total; });
    std::printf("peak memory of the process %.1f MiB\n", peakMemoryMiB());
    return 0;
}

int usage() {
    std::fputs("usage: crv_bench make RUNFOLDER [stress|largest]\n"
               "       crv_bench run RUNFOLDER\n"
               "       crv_bench pair RUNFOLDER [PAIRS [THREADS]]\n",
               stderr);
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) return usage();
    const std::string command = argv[1];
    std::string folder = argv[2];
    if (folder.back() != '/') folder += '/';
    if (command == "make" && argc <= 4) return make(folder, argc == 4 ? argv[3] : "stress");
    if (command == "run" && argc == 3) return run(folder);
    if (command == "pair" && argc <= 5) {
        const int pairs = argc >= 4 ? std::atoi(argv[3]) : 5;
        const int threads = argc >= 5 ? std::atoi(argv[4]) : static_cast<int>(std::thread::hardware_concurrency());
        if (pairs < 1 || threads < 1) return usage();
        return pair(folder, pairs, threads);
    }
    return usage();
}
