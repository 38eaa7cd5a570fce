// crv_bench: the engine's benchmark.
//
//   crv_bench make RUNFOLDER [stress|largest]
//                              writes a benchmark case "Rfi.plt" into
//                              RUNFOLDER (default: the stress case)
//   crv_bench run RUNFOLDER    runs Grid, Evaluate, B1_2Sig and B1_3Sig on it
//                              and prints each export's wall time and rates,
//                              the whole run's wall and CPU time, the peak
//                              memory and the machine's load average
//   crv_bench pair RUNFOLDER [PAIRS [THREADS[,THREADS...]]] [--busy K]
//                              alternates whole runs on one thread and on each
//                              THREADS count (default: the machine's cores),
//                              PAIRS rounds (default 5), in this one process,
//                              and prints wall and CPU time, the medians and
//                              their ratios: all counts then see the same
//                              machine load. --busy K keeps K cores busy with
//                              spinning processes for the whole measurement.
//                              Each round also times the same independent
//                              arithmetic on every thread at once: the most
//                              any parallel work gains on the machine then,
//                              and the least extra CPU time it spends.
//
// The thread count of `run` comes from CRV_THREADS (default: the machine's
// cores), so `CRV_THREADS=1 crv_bench run F` gives the single-thread reference.
#include <signal.h>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cmath>
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
    if (status != CRV_STATUS_DONE) return times;

    t = std::chrono::steady_clock::now();
    int16_t cases = 0;
    f.Evaluate(folder, noProgress, status, cases);
    double s = times.exportSeconds[1] = seconds(t);
    if (print) std::printf("Evaluate  status=%d  %8.3f s  cases=%d  points/s=%.3g\n", status, s, cases, points / s);
    if (status != CRV_STATUS_DONE) return times;

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
            std::printf(
                "B1_%dSig   status=%d  %8.3f s  cases=%d  combinations=%d  points/s=%.3g  "
                "point-combinations/s=%.3g\n",
                signals, status, s, cases, combinations, points / s, pointCombinations / s);
        if (status != CRV_STATUS_DONE) return times;
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

// The process's CPU time so far (user and system, all its threads; the busy
// load runs in child processes and is not counted).
double cpuSeconds() {
    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    const auto s = [](const timeval& t) {
        return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_usec) * 1e-6;
    };
    return s(usage.ru_utime) + s(usage.ru_stime);
}

std::string loadAverage() {
    std::FILE* f = std::fopen("/proc/loadavg", "r");
    if (!f) return "unknown";
    char text[64] = {};
    const bool ok = std::fgets(text, sizeof text, f) != nullptr;
    std::fclose(f);
    if (!ok) return "unknown";
    std::string s(text);
    // The 1-, 5- and 15-minute averages: the first three fields.
    std::size_t end = 0;
    for (int field = 0; field < 3 && end != std::string::npos; ++field) end = s.find(' ', end + 1);
    return s.substr(0, end);
}

int run(const std::string& folder) {
    crv::binding::EngineLibrary& f = crv::binding::sharedEngine();
    if (!bind(f)) return 2;
    std::printf("threads: %s, load average before: %s\n", threadsText().c_str(), loadAverage().c_str());
    const double cpuBefore = cpuSeconds();
    const RunTimes times = runOnce(f, folder, true);
    if (!times.ok) return 2;
    std::printf("total     %8.3f s  CPU %.3f s\npeak memory %.1f MiB\nload average after: %s\n", times.total,
                cpuSeconds() - cpuBefore, peakMemoryMiB(), loadAverage().c_str());
    return 0;
}

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    const std::size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

// K processes that each keep a core busy, as other programs do on a desktop,
// for as long as this object lives. They are started before the engine's
// threads exist and die with this process.
class BusyLoad {
public:
    explicit BusyLoad(int k) {
        for (int i = 0; i < k; ++i) {
            const pid_t pid = ::fork();
            if (pid == 0) {
                ::prctl(PR_SET_PDEATHSIG, SIGKILL);
                if (::getppid() == 1) ::_exit(0);  // the parent is already gone
                volatile unsigned long spin = 0;
                for (;;) spin = spin + 1;
            }
            if (pid > 0) children_.push_back(pid);
        }
    }
    ~BusyLoad() {
        for (const pid_t pid : children_) ::kill(pid, SIGKILL);
        for (const pid_t pid : children_) ::waitpid(pid, nullptr, 0);
    }
    int count() const { return static_cast<int>(children_.size()); }

private:
    std::vector<pid_t> children_;
};

// The same amount of independent arithmetic (of the kind the engine's levels
// are made of: arc tangents, cosines, logarithms) on each of `threads`
// threads at once, nothing shared, each share long enough that starting the
// threads does not count: the wall time over the thread count (one thread's
// share) and the CPU time over the thread count. One thread's figures over
// N threads' are the most any parallel work can gain on this machine under
// its present load, and the least CPU it can spend (the cores of a virtual
// machine are often less than whole cores, and their CPU time counts the
// time the host gives to others).
struct ArithmeticShare {
    double wall = 0;
    double cpu = 0;
};

double threadCpuSeconds() {
    timespec t{};
    ::clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

ArithmeticShare arithmeticShare(int threads) {
    constexpr long kSteps = 1600000;
    std::vector<double> sums(static_cast<std::size_t>(threads)), cpu(static_cast<std::size_t>(threads));
    const auto start = std::chrono::steady_clock::now();
    std::vector<std::thread> workers;
    for (int t = 0; t < threads; ++t)
        workers.emplace_back([&sums, &cpu, t] {
            const double cpuBefore = threadCpuSeconds();
            double s = 0;
            for (long i = 0; i < kSteps; ++i) {
                const double x = static_cast<double>(i + t) * 1e-6;
                s += std::atan2(std::sin(x), std::cos(0.5 * x) + 1.5) + std::log10(x + 1.0);
            }
            sums[static_cast<std::size_t>(t)] = s;
            cpu[static_cast<std::size_t>(t)] = threadCpuSeconds() - cpuBefore;
        });
    for (auto& w : workers) w.join();
    ArithmeticShare share;
    share.wall = seconds(start) / threads;
    for (const double c : cpu) share.cpu += c / threads;
    static volatile double sink;
    for (const double x : sums) sink = sink + x;
    return share;
}

// Whole runs on each thread count in turn (one thread first, as the
// reference), PAIRS rounds, in this one process: every count sees the same
// machine load, so their ratios stay meaningful on a shared machine. Each
// round also times independent arithmetic on each count (above), the
// machine's own limit beside the engine's ratios.
int pair(const std::string& folder, int pairs, std::vector<int> counts, int busy) {
    if (counts.empty() || counts.front() != 1) counts.insert(counts.begin(), 1);
    BusyLoad load(busy);
    if (load.count() != busy) {
        std::fprintf(stderr, "crv_bench: could not start the busy load\n");
        return 2;
    }
    crv::binding::EngineLibrary& f = crv::binding::sharedEngine();
    if (!bind(f)) return 2;
    std::printf("cores %u, busy processes %d, load average before: %s\n", std::thread::hardware_concurrency(), busy,
                loadAverage().c_str());
    std::vector<std::vector<RunTimes>> runs(counts.size());
    std::vector<std::vector<double>> cpu(counts.size());
    std::vector<std::vector<ArithmeticShare>> arithmetic(counts.size());
    for (int i = 0; i < pairs; ++i) {
        for (std::size_t k = 0; k < counts.size(); ++k) arithmetic[k].push_back(arithmeticShare(counts[k]));
        for (std::size_t k = 0; k < counts.size(); ++k) {
            ::setenv("CRV_THREADS", std::to_string(counts[k]).c_str(), 1);
            const double cpuBefore = cpuSeconds();
            const RunTimes t = runOnce(f, folder, false);
            const double used = cpuSeconds() - cpuBefore;
            if (!t.ok) {
                std::fprintf(stderr, "crv_bench: a run failed\n");
                return 2;
            }
            std::printf("round %d, %2d thread%s: total %.3f s, CPU %.3f s (", i + 1, counts[k],
                        counts[k] == 1 ? " " : "s", t.total, used);
            for (int e = 0; e < kExports; ++e)
                std::printf("%s%s %.3f", e ? ", " : "", kExportNames[e], t.exportSeconds[e]);
            std::printf(")\n");
            runs[k].push_back(t);
            cpu[k].push_back(used);
        }
    }
    std::printf("load average after: %s\n", loadAverage().c_str());
    std::printf("\nmedians of %d rounds, busy processes %d\n%-12s", pairs, busy, "");
    for (const int n : counts) std::printf(" %7d thr", n);
    for (std::size_t k = 1; k < counts.size(); ++k) std::printf("  1/%d", counts[k]);
    if (counts.size() >= 3) std::printf("  %d/%d", counts[counts.size() - 2], counts.back());
    std::printf("\n");
    auto row = [&](const char* name, auto pick) {
        std::vector<double> m;
        for (std::size_t k = 0; k < counts.size(); ++k) {
            std::vector<double> v;
            for (std::size_t r = 0; r < runs[k].size(); ++r) v.push_back(pick(k, r));
            m.push_back(median(v));
        }
        std::printf("%-12s", name);
        for (const double x : m) std::printf(" %9.3f s", x);
        for (std::size_t k = 1; k < m.size(); ++k) std::printf(" %5.2f", m[k] > 0 ? m[0] / m[k] : 0.0);
        // The last two counts (N - 1 and N): above 1 when N is the faster.
        if (m.size() >= 3) std::printf(" %5.2f", m.back() > 0 ? m[m.size() - 2] / m.back() : 0.0);
        std::printf("\n");
    };
    for (int e = 0; e < kExports; ++e)
        row(kExportNames[e],
            [&](std::size_t k, std::size_t r) { return runs[k][r].exportSeconds[static_cast<std::size_t>(e)]; });
    row("whole run", [&](std::size_t k, std::size_t r) { return runs[k][r].total; });
    row("CPU time", [&](std::size_t k, std::size_t r) { return cpu[k][r]; });
    row("arithmetic", [&](std::size_t k, std::size_t r) { return arithmetic[k][r].wall; });
    row("arith. CPU", [&](std::size_t k, std::size_t r) { return arithmetic[k][r].cpu; });
    std::printf(
        "(ratios: the first thread count's time over the other's; for CPU time below 1 means more CPU.\n"
        " arithmetic: the wall and CPU time of one thread's share of the same independent work done on\n"
        " every thread at once; its ratios are the most that parallel work can gain on this machine now\n"
        " and the least extra CPU it can spend)\n");
    std::printf("peak memory of the process %.1f MiB\n", peakMemoryMiB());
    return 0;
}

int usage() {
    std::fputs(
        "usage: crv_bench make RUNFOLDER [stress|largest]\n"
        "       crv_bench run RUNFOLDER\n"
        "       crv_bench pair RUNFOLDER [PAIRS [THREADS[,THREADS...]]] [--busy K]\n",
        stderr);
    return 2;
}

// "7,8" -> {7, 8}; empty on anything else.
std::vector<int> threadCounts(const std::string& text) {
    std::vector<int> counts;
    std::size_t at = 0;
    while (at <= text.size()) {
        const std::size_t comma = std::min(text.find(',', at), text.size());
        const std::string part = text.substr(at, comma - at);
        char* end = nullptr;
        const long n = std::strtol(part.c_str(), &end, 10);
        if (part.empty() || *end != '\0' || n < 1 || n > 256) return {};
        counts.push_back(static_cast<int>(n));
        at = comma + 1;
    }
    return counts;
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    int busy = 0;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] != "--busy") continue;
        if (i + 1 >= args.size()) return usage();
        busy = std::atoi(args[i + 1].c_str());
        if (busy < 0 || busy > 256) return usage();
        args.erase(args.begin() + static_cast<long>(i), args.begin() + static_cast<long>(i) + 2);
        break;
    }
    if (args.size() < 2) return usage();
    const std::string command = args[0];
    std::string folder = args[1];
    if (folder.back() != '/') folder += '/';
    if (busy > 0 && command != "pair") return usage();
    if (command == "make" && args.size() <= 3) return make(folder, args.size() == 3 ? args[2] : "stress");
    if (command == "run" && args.size() == 2) return run(folder);
    if (command == "pair" && args.size() <= 4) {
        const int pairs = args.size() >= 3 ? std::atoi(args[2].c_str()) : 5;
        const std::vector<int> counts = args.size() >= 4
                                            ? threadCounts(args[3])
                                            : std::vector<int>{static_cast<int>(std::thread::hardware_concurrency())};
        if (pairs < 1 || counts.empty()) return usage();
        return pair(folder, pairs, counts, busy);
    }
    return usage();
}
