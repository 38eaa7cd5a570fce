// crv50: runs the engine's exports on a folder, for tests and for users.
// Output: one key=value per line on standard output; errors on standard error.
// Exit status: 0 done, 1 cancelled, 2 failed.
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "crv/binding/engine_library.h"
#include "crv/formats/case_file.h"
#include "crv/platform/folder_lock.h"
#include "crv/platform/numbers.h"
#include "crv/platform/output_file.h"
#include "crv/platform/temp_folder.h"
#include "crv/platform/text_file.h"
#include "output.h"
#include "sort_file.h"

using crv::binding::EngineApi;

namespace {

constexpr const char* kUsageHead = R"(usage: crv50 [--quiet] COMMAND ARGUMENTS

Commands (one key=value per line on standard output; exit 0 done, 1 cancelled, 2 failed):
)";

constexpr const char* kUsageTail = R"(
A RUNFOLDER holds the case copy "Rfi.plt"; it is used by one run at a time (a
second command on a folder in use is refused). A backslash or control
character in a printed value is written as a C escape (\\, \n, \xHH), so each
value is one line. Latitudes and longitudes are decimal
degrees, longitude positive west: latitudes -90..90, longitudes -180..180,
distances 0..10800 nmi. Interrupt (Ctrl-C) cancels a long command.
--quiet turns the progress display on standard error off; --version prints the
version.
)";

bool quiet = false;
// Messages the engine showed (through the host hook below) since the start.
std::atomic<int> engineMessages{0};
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

// The exit status of a command that ended with the engine's status.
int exitFor(int status) { return status == CRV_STATUS_DONE ? 0 : (status == CRV_STATUS_CANCELLED ? 1 : 2); }

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
// file of the same name in the current folder, in place (one write at the
// end, as concurrent searches in one folder append), refusing a link, FIFO,
// folder or read-only file there.
bool appendResults(const std::string& tempFolder, const char* name) {
    auto bytes = crv::platform::readRegularFile(tempFolder + name, std::size_t{1} << 30);
    if (!bytes) return !crv::platform::fileExists(tempFolder + name);  // none written
    crv::platform::OutputFile out;
    auto done = out.open(name, crv::platform::WriteMode::Append);
    if (done) {
        if (std::fwrite(bytes->data(), 1, bytes->size(), out.get()) != bytes->size()) {
            done = crv::platform::makeError(std::string("Could not write ") + name + ": " + std::strerror(errno));
            out.abandon();
        } else {
            done = out.close();
        }
    }
    if (!done) std::fprintf(stderr, "crv50: the search results were not kept: %s\n", done.error().c_str());
    return static_cast<bool>(done);
}

// A key text whose every group the engine reads as the user meant it.
bool sortKeysReadable(const std::string& keyText, long long recordLength) {
    const std::string unclear = crv::engine::firstUnclearSortKey(keyText, static_cast<int>(recordLength));
    if (unclear.empty()) return true;
    std::fprintf(stderr,
                 "crv50: cannot read the sort key \"%s\": each key is START:END or START:END:D "
                 "(descending) or START:END:A, columns 1..%lld\n",
                 crv::driver::printable(unclear).c_str(), recordLength);
    return false;
}

// Holds the run folder for the command's length: a second run in one folder
// would write its sections into the first one's report.
bool lockRunFolder(crv::platform::FolderLock& lock, const std::string& folder) {
    if (lock.tryLock(folder)) return true;
    std::fprintf(stderr, "crv50: the run folder %s is in use by another run; wait for it to end\n",
                 crv::driver::printable(folder).c_str());
    return false;
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
    auto print = [&](const char* key, long long value) {
        crv::driver::printValue((printName ? step + "." : std::string()) + key, std::to_string(value));
    };
    if (step == "grid") {
        int32_t points = 0;
        f.Grid(folder, progressCallback, status, points);
        endProgressLine();
        print("status", status);
        print("points", points);
    } else if (step == "evaluate" || step == "grndcom") {
        int16_t cases = 0;
        if (step == "evaluate")
            f.Evaluate(folder, progressCallback, status, cases);
        else
            f.GrndCOM(folder, progressCallback, status, cases);
        endProgressLine();
        print("status", status);
        print("cases", cases);
    } else {
        int16_t cases = 0;
        int32_t combinations = 0;
        if (step == "b1-2sig")
            f.B1_2Sig(folder, progressCallback, status, cases, combinations);
        else
            f.B1_3Sig(folder, progressCallback, status, cases, combinations);
        endProgressLine();
        print("status", status);
        print("cases", cases);
        print("combinations", combinations);
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
    if (text == "fm" || text == "1") return CRV_DB_FM;
    if (text == "navaid" || text == "2") return CRV_DB_NAVAID;
    if (text == "com" || text == "3") return CRV_DB_COM;
    return 0;
}

}  // namespace

// The engine's message boxes reach the driver here (the library finds this
// function in the executable): shown on standard error as the layer would
// show them, and counted, so that an export without a status (SortFile)
// that reported a failure still ends the command with status 2.
extern "C" __attribute__((visibility("default"))) void crv_host_show_message(const char* text, const char* title,
                                                                             int /*icon*/) {
    std::string shown = text ? text : "";
    for (char& c : shown)
        if (c == '\r') c = '\n';
    endProgressLine();
    std::fprintf(stderr, "%s: %s\n", title ? title : "", shown.c_str());
    std::fflush(stderr);
    ++engineMessages;
}

int configCommand();                                // config.cpp: links the engine's own path loader
int readCaseCommand(const std::string& runFolder);  // readcase.cpp: the engine's case reader

namespace {

using Arguments = std::vector<std::string>;  // the command's name first

// lldist and distll: positions on the globe and distances within half its
// circumference; anything else has no answer, and would not even fit the
// single precision the exports take.
int positionCommand(const Arguments& args, bool fromTwoPoints) {
    EngineApi& f = crv::binding::sharedEngine();
    double v[4];
    for (int i = 0; i < 4; ++i)
        if (!toReal(args[static_cast<std::size_t>(i) + 1].c_str(), v[i])) return 2;
    auto text = [&](int i) { return args[static_cast<std::size_t>(i) + 1].c_str(); };
    const bool ok =
        fromTwoPoints
            ? inRange("latitude", text(0), v[0], -90, 90) && inRange("longitude", text(1), v[1], -180, 180) &&
                  inRange("latitude", text(2), v[2], -90, 90) && inRange("longitude", text(3), v[3], -180, 180)
            : inRange("distance", text(0), v[0], 0, 10800) && inRange("bearing", text(1), v[1], -1e6, 1e6) &&
                  inRange("latitude", text(2), v[2], -90, 90) && inRange("longitude", text(3), v[3], -180, 180);
    if (!ok) return 2;
    float a = 0, b = 0;
    if (fromTwoPoints) {
        f.LLDist(static_cast<float>(v[0]), static_cast<float>(v[1]), static_cast<float>(v[2]), static_cast<float>(v[3]),
                 a, b);
        crv::driver::printValue("distance", real(a));
        crv::driver::printValue("bearing", real(b));
    } else {
        f.DistLL(static_cast<float>(v[0]), static_cast<float>(v[1]), static_cast<float>(v[2]), static_cast<float>(v[3]),
                 a, b);
        crv::driver::printValue("latitude", real(a));
        crv::driver::printValue("longitude", real(b));
    }
    return 0;
}

int sortCommand(const Arguments& args) {
    EngineApi& f = crv::binding::sharedEngine();
    auto len = crv::platform::parseInteger(args[3]);
    if (!len || *len < 1 || *len > 32767) {
        std::fprintf(stderr, "crv50: record length must be 1..32767\n");
        return 2;
    }
    const std::string& file = args[1];
    if (const std::string what = crv::platform::whatStandsAt(file); !what.empty()) {
        std::fprintf(stderr, "crv50: cannot sort %s: %s\n", crv::driver::printable(file).c_str(), what.c_str());
        return 2;
    }
    if (!crv::platform::fileExists(file)) {
        std::fprintf(stderr, "crv50: no such file: %s\n", crv::driver::printable(file).c_str());
        return 2;
    }
    if (!sortKeysReadable(args[2], *len)) return 2;
    // The export has no status: a failure is its message (a folder that
    // takes no new file, a full disk), and the file is then as it was.
    const int messagesBefore = engineMessages;
    f.SortFile(file, args[2], static_cast<int32_t>(*len));
    if (engineMessages != messagesBefore) return 2;
    auto lines = crv::platform::readTextLines(file);
    if (!lines) {
        std::fprintf(stderr, "crv50: %s\n", crv::driver::printable(lines.error()).c_str());
        return 2;
    }
    std::string keys;
    for (const auto& k : crv::engine::parseSortKeys(args[2], static_cast<int>(*len)))
        keys += (keys.empty() ? "" : " ") + std::to_string(k.start) + ":" + std::to_string(k.end) + ":" +
                (k.ascending ? "A" : "D");
    crv::driver::printValue("sorted", file);
    crv::driver::printValue("records", std::to_string(lines->size()));
    crv::driver::printValue("keys", keys);
    return 0;
}

// The evaluation steps in the order a whole run takes them.
const std::vector<std::string> kSteps = {"grid", "evaluate", "b1-2sig", "b1-3sig", "grndcom"};

// One evaluation step, named by the command.
int stepCommand(const Arguments& args) {
    const std::string& step = args[0];
    const std::string folder = folderArgument(args[1].c_str());
    // Only a VHF COM volume has a ground facility to check; a case the
    // driver cannot read is left to the engine, which says why.
    if (step == "grndcom") {
        const int type = serviceVolumeType(folder);
        if (type >= 0 && type != 8) {
            std::fprintf(stderr,
                         "crv50: grndcom needs a VHF COM case (service-volume type 8); %sRfi.plt has "
                         "service-volume type %d\n",
                         crv::driver::printable(folder).c_str(), type);
            return 2;
        }
    }
    crv::platform::FolderLock lock;
    if (!lockRunFolder(lock, folder)) return 2;
    return exitFor(runStep(crv::binding::sharedEngine(), step, folder, false));
}

int runCommand(const Arguments& args) {
    const std::string folder = folderArgument(args[1].c_str());
    crv::platform::FolderLock lock;
    if (!lockRunFolder(lock, folder)) return 2;
    const bool com = serviceVolumeType(folder) == 8;
    for (const auto& s : kSteps) {
        if (s == "grndcom" && !com) break;
        const int16_t status = runStep(crv::binding::sharedEngine(), s, folder, true);
        if (status != CRV_STATUS_DONE) return exitFor(status);
    }
    return 0;
}

int searchCommand(const Arguments& args) {
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
        if (!inRange("a search value", args[static_cast<std::size_t>(i) + 3].c_str(), v[i], -1e30, 1e30)) return 2;
    CrvSearchParams p{static_cast<int32_t>(*option), static_cast<float>(v[0]), static_cast<float>(v[1]),
                      static_cast<float>(v[2]),      static_cast<float>(v[3]), static_cast<float>(v[4]),
                      static_cast<float>(v[5]),      static_cast<float>(v[6]), static_cast<float>(v[7])};
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
    crv::binding::sharedEngine().SearchDB(db, p, progressCallback, status, count);
    endProgressLine();
    // Cancelled searches keep the lines found so far, as the engine does.
    if (!appendResults(*temp, "RfiSrch1.tmp") || !appendResults(*temp, "RfiSrch2.tmp")) return 2;
    crv::driver::printValue("status", std::to_string(status));
    crv::driver::printValue("count", std::to_string(count));
    return exitFor(status);
}

// A command of the driver: its name, how many arguments it takes, whether it
// calls the engine library (config and readcase link the engine's code and
// work without the library), what runs it, and its lines in the help: the
// first shows the arguments, the text after it (one help line a "\n") goes in
// the column beside.
struct Command {
    const char* name;
    std::size_t arguments;
    bool usesLibrary;
    int (*handler)(const Arguments& args);
    const char* synopsis;  // the arguments as the help shows them
    const char* help;
};

const Command kCommands[] = {
    {"lldist", 4, true, [](const Arguments& a) { return positionCommand(a, true); }, "LAT1 LON1 LAT2 LON2",
     "distance= and bearing= from point 1 to point 2"},
    {"distll", 4, true, [](const Arguments& a) { return positionCommand(a, false); }, "DISTANCE BEARING LAT LON",
     "latitude= and longitude= of the point reached"},
    {"sort", 3, true, sortCommand, "FILE KEYTEXT RECLEN",
     "sort a fixed-length record file in place,\n"
     "KEYTEXT like \"10:52:A 67:69:D\" (sorted=,\n"
     "records=, keys=); a key group it cannot\n"
     "read, or a direction other than A or D,\n"
     "is refused"},
    {"config", 0, false, [](const Arguments&) { return configCommand(); }, "",
     "the engine's folders, databases and edition"},
    {"readcase", 1, false, [](const Arguments& a) { return readCaseCommand(a[1]); }, "RUNFOLDER",
     "read the case as the evaluations do and print the\n"
     "navaid, stations (slot, ordinal), option codes,\n"
     "proponent slots and the grid angle used"},
    {"grid", 1, true, stepCommand, "RUNFOLDER", "build the receiver grid (status=, points=)"},
    {"evaluate", 1, true, stepCommand, "RUNFOLDER", "A2/B2 and brute-force evaluation (status=, cases=)"},
    {"b1-2sig", 1, true, stepCommand, "RUNFOLDER", "two-signal B1 (status=, cases=, combinations=)"},
    {"b1-3sig", 1, true, stepCommand, "RUNFOLDER", "three-signal B1 (status=, cases=, combinations=)"},
    {"grndcom", 1, true, stepCommand, "RUNFOLDER",
     "ground COM evaluation (status=, cases=); only a\n"
     "VHF COM case (service-volume type 8) has a\n"
     "ground facility"},
    {"run", 1, true, runCommand, "RUNFOLDER",
     "grid, evaluate, b1-2sig, b1-3sig (and grndcom for\n"
     "service-volume type 8), stopping at the first\n"
     "non-zero status"},
    {"search", 10, true, searchCommand, "DB OPTION CLAT CLON F1LAT F1LON F2LAT F2LON RADIUS FREQ",
     "search a facility database (status=, count=);\n"
     "DB is fm, navaid or com (or 1, 2, 3); OPTION 0\n"
     "frequency, 1 circle, 2 ellipse, 3 VOR circle,\n"
     "4 COM circle; positions in decimal degrees,\n"
     "longitude positive west; RADIUS in nmi; FREQ in\n"
     "MHz (0 = any). Results are appended to\n"
     "RfiSrch1.tmp and RfiSrch2.tmp in the current\n"
     "folder (the engine writes them in this run's\n"
     "own temporary folder, which goes when the run\n"
     "ends); the caller deletes them before a new\n"
     "search. With a frequency (always for OPTION 0)\n"
     "the lines go instead to FrNNNNNN.tmp (kHz) in\n"
     "the current folder.\n"
     "The database paths come from the settings."},
};

// The help: each command's name and arguments, its text in a column beside
// them (below them when they reach into it).
std::string usage() {
    constexpr std::size_t kColumn = 36;
    std::string text = kUsageHead;
    for (const Command& c : kCommands) {
        std::string line = std::string("  ") + c.name + (*c.synopsis ? " " : "") + c.synopsis;
        const std::string_view help = c.help;
        std::size_t from = 0;
        while (from < help.size()) {
            const std::size_t end = std::min(help.find('\n', from), help.size());
            if (line.size() + 2 > kColumn) {
                text += line + "\n";
                line.clear();
            }
            line.resize(kColumn, ' ');
            line += help.substr(from, end - from);
            text += line + "\n";
            line.clear();
            from = end + 1;
        }
    }
    return text + kUsageTail;
}

const Command* findCommand(const std::string& name) {
    for (const Command& c : kCommands)
        if (name == c.name) return &c;
    return nullptr;
}

}  // namespace

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
            std::fputs(usage().c_str(), stdout);
            return 0;
        } else
            args.push_back(a);
    }
    if (args.empty()) {
        std::fputs(usage().c_str(), stderr);
        return 2;
    }
    showProgress = !quiet && ::isatty(STDERR_FILENO);
    std::signal(SIGINT, onInterrupt);

    const Command* command = findCommand(args[0]);
    auto argumentsFit = [&] {
        if (args.size() == command->arguments + 1) return true;
        std::fprintf(stderr, "crv50: %s takes %zu arguments (see crv50 --help)\n", command->name, command->arguments);
        return false;
    };
    if (command && !command->usesLibrary) return argumentsFit() ? command->handler(args) : 2;

    // A missing library or export, or a path the engine cannot take, ends
    // the command with its message.
    try {
        crv::binding::sharedEngine().bindAll();
        if (!command) {
            std::fprintf(stderr, "crv50: unknown command %s (see crv50 --help)\n", args[0].c_str());
            return 2;
        }
        return argumentsFit() ? command->handler(args) : 2;
    } catch (const crv::binding::EngineError& e) {
        endProgressLine();
        std::fprintf(stderr, "crv50: %s\n", e.what());
        return 2;
    }
}
