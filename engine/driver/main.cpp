// crv50: runs the engine's exports on a folder, for tests and for users.
// Output: one key=value per line on standard output; errors on standard error.
// Exit status: 0 done, 1 cancelled, 2 failed.
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdint>
#include <cstring>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "crv/binding/engine_library.h"
#include "crv/formats/case_file.h"
#include "crv/platform/numbers.h"
#include "crv/platform/temp_folder.h"
#include "crv/platform/text_file.h"
#include "sort_file.h"

using crv::binding::EngineApi;

namespace {

constexpr const char* kUsage = R"(usage: crv50 [--quiet] COMMAND ARGUMENTS

Commands (one key=value per line on standard output; exit 0 done, 1 cancelled, 2 failed):
  lldist LAT1 LON1 LAT2 LON2        distance= and bearing= from point 1 to point 2
  distll DISTANCE BEARING LAT LON   latitude= and longitude= of the point reached
  sort FILE KEYTEXT RECLEN          sort a fixed-length record file in place,
                                    KEYTEXT like "10:52:A 67:69:D" (sorted=,
                                    records=, keys=); a key group it cannot
                                    read is refused
  config                            the engine's folders, databases and edition
  readcase RUNFOLDER                read the case as the evaluations do and print the
                                    navaid, stations (slot, ordinal), option codes,
                                    proponent slots and the grid angle used
  grid RUNFOLDER                    build the receiver grid (status=, points=)
  evaluate RUNFOLDER                A2/B2 and brute-force evaluation (status=, cases=)
  b1-2sig RUNFOLDER                 two-signal B1 (status=, cases=, combinations=)
  b1-3sig RUNFOLDER                 three-signal B1 (status=, cases=, combinations=)
  grndcom RUNFOLDER                 ground COM evaluation (status=, cases=); only a
                                    VHF COM case (service-volume type 8) has a
                                    ground facility
  run RUNFOLDER                     grid, evaluate, b1-2sig, b1-3sig (and grndcom for
                                    service-volume type 8), stopping at the first
                                    non-zero status
  search DB OPTION CLAT CLON F1LAT F1LON F2LAT F2LON RADIUS FREQ
                                    search a facility database (status=, count=);
                                    DB is fm, navaid or com (or 1, 2, 3); OPTION 0
                                    frequency, 1 circle, 2 ellipse, 3 VOR circle,
                                    4 COM circle; positions in decimal degrees,
                                    longitude positive west; RADIUS in nmi; FREQ in
                                    MHz (0 = any). Results are appended to
                                    RfiSrch1.tmp and RfiSrch2.tmp in the current
                                    folder (the engine writes them in this run's
                                    own temporary folder, which goes when the run
                                    ends); the caller deletes them before a new
                                    search. With a frequency (always for OPTION 0)
                                    the lines go instead to FrNNNNNN.tmp (kHz) in
                                    the current folder.
                                    The database paths come from the settings.

A RUNFOLDER holds the case copy "Rfi.plt". Latitudes and longitudes are decimal
degrees, longitude positive west: latitudes -90..90, longitudes -180..180,
distances 0..10800 nmi. Interrupt (Ctrl-C) cancels a long command.
--quiet turns the progress display on standard error off; --version prints the
version.
)";

bool quiet = false;
bool showProgress = false;
volatile std::sig_atomic_t interrupted = 0;
const char* currentStep = "";

void onInterrupt(int) { interrupted = 1; }

// Shows the percent on a terminal; Ctrl-C asks the engine to cancel.
bool progress(int32_t percent) {
    if (showProgress) {
        std::fprintf(stderr, "\r%-10s %3d%%", currentStep, static_cast<int>(percent));
        std::fflush(stderr);
    }
    return interrupted != 0;
}
const crv::binding::Progress progressCallback = progress;

void endProgressLine() {
    if (showProgress) {
        std::fprintf(stderr, "\r%*s\r", 16, "");
        std::fflush(stderr);
    }
}

int exitFor(int status) { return status == 0 ? 0 : (status == 1 ? 1 : 2); }

bool toReal(const char* text, double& out) {
    auto v = crv::platform::parseReal(text);
    if (!v) {
        std::fprintf(stderr, "crv50: not a number: %s\n", text);
        return false;
    }
    out = *v;
    return true;
}

// A value the single-precision exports can take, within the given range.
bool inRange(const char* what, const char* text, double v, double low, double high) {
    if (v >= low && v <= high) return true;
    std::fprintf(stderr, "crv50: %s must be %s..%s: %s\n", what, crv::platform::formatShortest(low).c_str(),
                 crv::platform::formatShortest(high).c_str(), text);
    return false;
}

// Appends the lines the search wrote in this run's temporary folder to the
// file of the same name in the current folder.
bool appendResults(const std::string& tempFolder, const char* name) {
    auto bytes = crv::platform::readRegularFile(tempFolder + name, std::size_t{1} << 30);
    if (!bytes) return !crv::platform::fileExists(tempFolder + name);  // none written
    std::FILE* out = std::fopen(name, "ab");
    bool ok = out && std::fwrite(bytes->data(), 1, bytes->size(), out) == bytes->size();
    if (out) ok = std::fclose(out) == 0 && ok;
    if (!ok) std::fprintf(stderr, "crv50: could not append the search results to %s: %s\n", name, std::strerror(errno));
    return ok;
}

// "start:end" or "start:end:direction", columns 1..record length.
bool sortKeysReadable(const std::string& keyText, long long recordLength) {
    std::size_t i = 0;
    while (i < keyText.size()) {
        while (i < keyText.size() && keyText[i] == ' ') ++i;
        const std::size_t first = i;
        while (i < keyText.size() && keyText[i] != ' ') ++i;
        if (i == first) break;
        const std::string group = keyText.substr(first, i - first);
        const auto c1 = group.find(':');
        const auto c2 = c1 == std::string::npos ? std::string::npos : group.find(':', c1 + 1);
        std::optional<long long> start, end;
        if (c1 != std::string::npos) {
            start = crv::platform::parseInteger(group.substr(0, c1));
            end = crv::platform::parseInteger(group.substr(c1 + 1, c2 == std::string::npos ? c2 : c2 - c1 - 1));
        }
        const bool direction = c2 == std::string::npos || group.size() - c2 - 1 == 1;
        if (!start || !end || !direction || *start < 1 || *start > *end || *end > recordLength) {
            std::fprintf(stderr,
                         "crv50: cannot read the sort key \"%s\": each key is START:END or START:END:D "
                         "(descending) or START:END:A, columns 1..%lld\n",
                         group.c_str(), recordLength);
            return false;
        }
    }
    return true;
}

std::string real(double v) {
    // Shortest text of the single the engine returned: stable and exact.
    return crv::platform::formatShortest(static_cast<float>(v));
}

std::string folderArgument(const char* text) {
    std::string folder = text;
    if (folder.empty() || folder.back() != '/') folder += '/';
    return folder;
}

int16_t runStep(EngineApi& f, const std::string& step, const std::string& folder, bool printName) {
    int16_t status = 0;
    currentStep = step.c_str();
    auto prefix = [&](const char* key) { return (printName ? step + "." : std::string()) + key; };
    if (step == "grid") {
        int32_t points = 0;
        f.Grid(folder, progressCallback, status, points);
        endProgressLine();
        std::printf("%s=%d\n%s=%d\n", prefix("status").c_str(), status, prefix("points").c_str(), points);
    } else if (step == "evaluate" || step == "grndcom") {
        int16_t cases = 0;
        if (step == "evaluate")
            f.Evaluate(folder, progressCallback, status, cases);
        else
            f.GrndCOM(folder, progressCallback, status, cases);
        endProgressLine();
        std::printf("%s=%d\n%s=%d\n", prefix("status").c_str(), status, prefix("cases").c_str(), cases);
    } else {
        int16_t cases = 0;
        int32_t combinations = 0;
        if (step == "b1-2sig")
            f.B1_2Sig(folder, progressCallback, status, cases, combinations);
        else
            f.B1_3Sig(folder, progressCallback, status, cases, combinations);
        endProgressLine();
        std::printf("%s=%d\n%s=%d\n%s=%d\n", prefix("status").c_str(), status, prefix("cases").c_str(), cases,
                    prefix("combinations").c_str(), combinations);
    }
    std::fflush(stdout);
    return status;
}

// Service-volume type of the case copy: columns 58-59 of the navaid line.
int serviceVolumeType(const std::string& folder) {
    // Only the first two lines: the navaid line is the second.
    crv::platform::LineReader in;
    in.setMaxLineLength(512);
    std::string line;
    if (!in.open(folder + "Rfi.plt") || !in.next(line) || !in.next(line)) return -1;
    return crv::formats::serviceVolumeType(line).value_or(-1);
}

int16_t databaseNumber(const std::string& text) {
    if (text == "fm" || text == "1") return 1;
    if (text == "navaid" || text == "2") return 2;
    if (text == "com" || text == "3") return 3;
    return 0;
}

}  // namespace

int configCommand();  // config.cpp: links the engine's own path loader
int readCaseCommand(const std::string& runFolder);  // readcase.cpp: the engine's case reader

int runCommand(const std::vector<std::string>& args);

int main(int argc, char** argv) {
    std::vector<std::string> args;
    for (int i = 1; i < argc; ++i) {
        std::string a = argv[i];
        if (a == "--quiet" || a == "-q")
            quiet = true;
        else if (a == "--version") {
            std::printf("crv50 %s\n", CRV_VERSION);
            return 0;
        } else if (a == "--help" || a == "-h") {
            std::fputs(kUsage, stdout);
            return 0;
        } else
            args.push_back(a);
    }
    if (args.empty()) {
        std::fputs(kUsage, stderr);
        return 2;
    }
    showProgress = !quiet && ::isatty(STDERR_FILENO);
    std::signal(SIGINT, onInterrupt);

    const std::string cmd = args[0];
    auto need = [&](std::size_t n) {
        if (args.size() != n + 1) {
            std::fprintf(stderr, "crv50: %s takes %zu arguments (see crv50 --help)\n", cmd.c_str(), n);
            return false;
        }
        return true;
    };

    if (cmd == "config") return need(0) ? configCommand() : 2;
    if (cmd == "readcase") return need(1) ? readCaseCommand(args[1]) : 2;

    // A missing library or export, or a path the engine cannot take, ends
    // the command with its message.
    try {
        crv::binding::sharedEngine().bindAll();
        return runCommand(args);
    } catch (const crv::binding::EngineError& e) {
        endProgressLine();
        std::fprintf(stderr, "crv50: %s\n", e.what());
        return 2;
    }
}

int runCommand(const std::vector<std::string>& args) {
    EngineApi& f = crv::binding::sharedEngine();
    const std::string cmd = args[0];
    auto need = [&](std::size_t n) {
        if (args.size() != n + 1) {
            std::fprintf(stderr, "crv50: %s takes %zu arguments (see crv50 --help)\n", cmd.c_str(), n);
            return false;
        }
        return true;
    };

    if (cmd == "lldist" || cmd == "distll") {
        if (!need(4)) return 2;
        double v[4];
        for (int i = 0; i < 4; ++i)
            if (!toReal(args[static_cast<std::size_t>(i) + 1].c_str(), v[i])) return 2;
        auto text = [&](int i) { return args[static_cast<std::size_t>(i) + 1].c_str(); };
        // Positions on the globe and distances within half its circumference;
        // anything else has no answer, and would not even fit the single
        // precision the exports take.
        const bool ok =
            cmd == "lldist"
                ? inRange("latitude", text(0), v[0], -90, 90) && inRange("longitude", text(1), v[1], -180, 180) &&
                      inRange("latitude", text(2), v[2], -90, 90) && inRange("longitude", text(3), v[3], -180, 180)
                : inRange("distance", text(0), v[0], 0, 10800) && inRange("bearing", text(1), v[1], -1e6, 1e6) &&
                      inRange("latitude", text(2), v[2], -90, 90) && inRange("longitude", text(3), v[3], -180, 180);
        if (!ok) return 2;
        float a = 0, b = 0;
        if (cmd == "lldist") {
            f.LLDist(static_cast<float>(v[0]), static_cast<float>(v[1]), static_cast<float>(v[2]),
                     static_cast<float>(v[3]), a, b);
            std::printf("distance=%s\nbearing=%s\n", real(a).c_str(), real(b).c_str());
        } else {
            f.DistLL(static_cast<float>(v[0]), static_cast<float>(v[1]), static_cast<float>(v[2]),
                     static_cast<float>(v[3]), a, b);
            std::printf("latitude=%s\nlongitude=%s\n", real(a).c_str(), real(b).c_str());
        }
        return 0;
    }
    if (cmd == "sort") {
        if (!need(3)) return 2;
        auto len = crv::platform::parseInteger(args[3]);
        if (!len || *len < 1 || *len > 32767) {
            std::fprintf(stderr, "crv50: record length must be 1..32767\n");
            return 2;
        }
        if (!crv::platform::fileExists(args[1])) {
            std::fprintf(stderr, "crv50: no such file: %s\n", args[1].c_str());
            return 2;
        }
        if (!sortKeysReadable(args[2], *len)) return 2;
        f.SortFile(args[1], args[2], static_cast<int32_t>(*len));
        auto lines = crv::platform::readTextLines(args[1]);
        if (!lines) {
            std::fprintf(stderr, "crv50: %s\n", lines.error().c_str());
            return 2;
        }
        std::string keys;
        for (const auto& k : crv::engine::parseSortKeys(args[2], static_cast<int>(*len)))
            keys += (keys.empty() ? "" : " ") + std::to_string(k.start) + ":" + std::to_string(k.end) + ":" +
                    (k.ascending ? "A" : "D");
        std::printf("sorted=%s\nrecords=%zu\nkeys=%s\n", args[1].c_str(), lines->size(), keys.c_str());
        return 0;
    }
    static const std::vector<std::string> steps = {"grid", "evaluate", "b1-2sig", "b1-3sig", "grndcom"};
    for (const auto& s : steps)
        if (cmd == s) {
            if (!need(1)) return 2;
            const std::string folder = folderArgument(args[1].c_str());
            // Only a VHF COM volume has a ground facility to check; a case the
            // driver cannot read is left to the engine, which says why.
            if (cmd == "grndcom") {
                const int type = serviceVolumeType(folder);
                if (type >= 0 && type != 8) {
                    std::fprintf(stderr,
                                 "crv50: grndcom needs a VHF COM case (service-volume type 8); %sRfi.plt has "
                                 "service-volume type %d\n",
                                 folder.c_str(), type);
                    return 2;
                }
            }
            return exitFor(runStep(f, cmd, folder, false));
        }
    if (cmd == "run") {
        if (!need(1)) return 2;
        const std::string folder = folderArgument(args[1].c_str());
        const bool com = serviceVolumeType(folder) == 8;
        for (const auto& s : steps) {
            if (s == "grndcom" && !com) break;
            const int16_t status = runStep(f, s, folder, true);
            if (status != 0) return exitFor(status);
        }
        return 0;
    }
    if (cmd == "search") {
        if (!need(10)) return 2;
        const int16_t db = databaseNumber(args[1]);
        if (db == 0) {
            std::fprintf(stderr, "crv50: database must be fm, navaid or com\n");
            return 2;
        }
        auto option = crv::platform::parseInteger(args[2]);
        if (!option) {
            std::fprintf(stderr, "crv50: not a search option: %s\n", args[2].c_str());
            return 2;
        }
        if (*option < INT32_MIN || *option > INT32_MAX) {
            std::fprintf(stderr, "crv50: not a search option: %s\n", args[2].c_str());
            return 2;
        }
        double v[8];
        for (int i = 0; i < 8; ++i)
            if (!toReal(args[static_cast<std::size_t>(i) + 3].c_str(), v[i])) return 2;
        // The engine checks the values itself; they must only fit the single
        // precision it takes them in.
        for (int i = 0; i < 8; ++i)
            if (!inRange("a search value", args[static_cast<std::size_t>(i) + 3].c_str(), v[i], -1e30, 1e30))
                return 2;
        CrvSearchParams p{static_cast<int32_t>(*option),
                          static_cast<float>(v[0]),
                          static_cast<float>(v[1]),
                          static_cast<float>(v[2]),
                          static_cast<float>(v[3]),
                          static_cast<float>(v[4]),
                          static_cast<float>(v[5]),
                          static_cast<float>(v[6]),
                          static_cast<float>(v[7])};
        int16_t status = 0, count = 0;
        currentStep = "search";
        // The result files of this run only: the engine's temporary folder
        // belongs to this process and is empty before its first search.
        auto temp = crv::platform::privateTempFolder();
        if (!temp) {
            std::fprintf(stderr, "crv50: %s\n", temp.error().c_str());
            return 2;
        }
        for (const char* name : {"RfiSrch1.tmp", "RfiSrch2.tmp"}) crv::platform::removeFile(*temp + name);
        f.SearchDB(db, p, progressCallback, status, count);
        endProgressLine();
        // Cancelled searches keep the lines found so far, as the engine does.
        if (!appendResults(*temp, "RfiSrch1.tmp") || !appendResults(*temp, "RfiSrch2.tmp")) return 2;
        std::printf("status=%d\ncount=%d\n", status, count);
        return exitFor(status);
    }
    std::fprintf(stderr, "crv50: unknown command %s (see crv50 --help)\n", cmd.c_str());
    return 2;
}
