// Benchmark: the program's resident memory across simulation runs. Builds the
// program of an edition as main() does (offscreen), puts the largest case
// (crv_bench make DIR largest) into a private workspace's data folder, and
// runs it RUNS times (default 3) through the program's own run path (the run
// controller behind Simulation > Run, with its progress window and result
// pauses, and the engine library), each into an emptied output folder.
// Prints the resident memory before the first run, as each run ends and 5 s
// later (the engine keeps the large blocks a run freed 3 s for the next
// export, then the program gives back what the run freed); no pass or fail. The target: after a run the
// resident memory comes back to within about 50 MB of what it was before.
//
//   run_memory_bench CASEFILE [fld|sci] [RUNS]
#include <malloc.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include <QApplication>
#include <QEventLoop>
#include <QTemporaryDir>
#include <QTimer>

#include "crv/main/app/qt/program.h"
#include "crv/main/app/qt/program_setup.h"

namespace fs = std::filesystem;

namespace {

double residentMb() {
    std::ifstream statm("/proc/self/statm");
    long pages = 0, resident = 0;
    statm >> pages >> resident;
    return double(resident) * double(::sysconf(_SC_PAGESIZE)) / (1024.0 * 1024.0);
}

// The program's event loop runs for `length`, as it does between a user's commands.
void idle(std::chrono::milliseconds length) {
    QEventLoop loop;
    QTimer::singleShot(length, &loop, &QEventLoop::quit);
    loop.exec();
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: run_memory_bench CASEFILE [fld|sci] [RUNS]\n");
        return 2;
    }
    const fs::path caseFile = argv[1];
    const bool scientific = argc > 2 && std::string(argv[2]) == "sci";
    const int runs = argc > 3 ? std::max(1, std::atoi(argv[3])) : 3;
    if (!fs::is_regular_file(caseFile)) {
        std::fprintf(stderr, "no case file %s\n", caseFile.c_str());
        return 2;
    }
    QTemporaryDir dir;
    const std::string ws = dir.path().toStdString() + "/";
    for (const char* sub : {"Data", "Output", "User", "tmp"}) fs::create_directories(ws + sub);
    fs::copy_file(caseFile, ws + "Data/Largest.dat");
    const std::string settings = ws + "settings.ini";
    std::ofstream(settings) << "[Paths]\nData Folder=" << ws << "Data/\nOutput Folder=" << ws
                            << "Output/\nUser Folder=" << ws << "User/\n";
    ::setenv("CORVANE_SETTINGS", settings.c_str(), 1);
    ::setenv("TMPDIR", (ws + "tmp").c_str(), 1);
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);

    const auto edition = scientific ? crv::resources::Edition::Scientific : crv::resources::Edition::Field;
    crv::main::qt::prepareProcess(edition);
    QApplication app(argc, argv);
    crv::main::qt::ProgramSetup setup(edition);
    crv::main::qt::Program& program = setup.program();
    idle(std::chrono::milliseconds(500));
    std::printf("edition %s, case %s, %d runs\n", scientific ? "CRV_Sci" : "CRV", caseFile.c_str(), runs);
    std::printf("resident before the first run: %8.1f MB\n", residentMb());
    const std::string out = ws + "Output/Largest/";
    for (int r = 1; r <= runs; ++r) {
        fs::remove_all(out);
        fs::create_directories(out);
        const auto start = std::chrono::steady_clock::now();
        program.runControl().RunSimulation(out, "Largest.dat");
        const double s = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        std::size_t files = 0;
        for (const auto& e : fs::directory_iterator(out)) files += e.is_regular_file() ? 1 : 0;
        QCoreApplication::processEvents();
        std::printf("run %d: %.1f s with the result pauses, %zu files\n", r, s, files);
        std::printf("  resident as the run ends:     %8.1f MB\n", residentMb());
        idle(std::chrono::milliseconds(5000));
        std::printf("  resident 5 s later:           %8.1f MB\n", residentMb());
    }
    // What the main thread's heap holds then: in use, and free but kept.
    const struct mallinfo2 heap = mallinfo2();
    std::printf("main heap then: %.1f MB in use, %.1f MB free\n", double(heap.uordblks) / 1048576.0,
                double(heap.fordblks) / 1048576.0);
    program.window().close();
    return 0;
}
