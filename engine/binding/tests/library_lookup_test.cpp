// Where a program finds libcrv50.so: beside itself (the build folder), in its
// ../lib (an installed prefix), then through the dynamic loader's path. Each
// layout is laid out for real in a scratch folder with a copy of the driver,
// which binds the library exactly as the programs do.
#include <dlfcn.h>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "crv/binding/engine_library.h"

namespace fs = std::filesystem;
using crv::binding::engineLibraryCandidates;

namespace {

TEST(EngineLibraryLookup, CandidatesInOrder) {
    struct Case {
        std::string folder;
        std::vector<std::string> expected;
    };
    const Case cases[] = {
        {"/usr/bin/", {"/usr/bin/libcrv50.so", "/usr/bin/../lib/libcrv50.so", "libcrv50.so"}},
        {"/opt/corvane/bin/",
         {"/opt/corvane/bin/libcrv50.so", "/opt/corvane/bin/../lib/libcrv50.so", "libcrv50.so"}},
        // The executable's folder unknown (no /proc): only the loader's path.
        {"", {"libcrv50.so"}},
    };
    for (const Case& c : cases) EXPECT_EQ(engineLibraryCandidates(c.folder), c.expected) << c.folder;
}

struct Result {
    int status = -1;
    std::string output;  // standard output and error together
};

Result runCommand(const std::string& command) {
    Result r;
    FILE* pipe = ::popen((command + " 2>&1").c_str(), "r");
    if (!pipe) return r;
    char buf[512];
    while (std::fgets(buf, sizeof buf, pipe)) r.output += buf;
    const int raw = ::pclose(pipe);
    r.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    return r;
}

// A scratch prefix with the driver in bin/ and the library wherever a case
// puts it; a file that is not a library stands for a damaged copy.
class LookupLayout : public ::testing::Test {
protected:
    void SetUp() override {
        root_ = fs::temp_directory_path() / ("crv-lookup-" + std::to_string(::getpid()));
        fs::remove_all(root_);
        fs::create_directories(root_ / "bin");
        fs::create_directories(root_ / "lib");
        fs::create_directories(root_ / "elsewhere");
        fs::copy_file(std::string(CRV_BIN_DIR) + "crv50", root_ / "bin" / "crv50");
    }
    void TearDown() override { fs::remove_all(root_); }

    void putLibrary(const fs::path& folder) {
        fs::copy_file(std::string(CRV_BIN_DIR) + "libcrv50.so", folder / "libcrv50.so");
    }
    void putDamaged(const fs::path& folder) { std::ofstream(folder / "libcrv50.so") << "not a library\n"; }
    // The driver's distance command needs the library; LD_LIBRARY_PATH as given.
    Result distance(const std::string& libraryPath = {}) {
        return runCommand("env -u LD_LIBRARY_PATH " +
                          (libraryPath.empty() ? std::string() : "LD_LIBRARY_PATH=" + libraryPath + " ") +
                          (root_ / "bin" / "crv50").string() + " lldist 38 77 39 77");
    }

    fs::path root_;
};

TEST_F(LookupLayout, FoundBesideInLibOrOnTheLibraryPath) {
    putLibrary(root_ / "lib");
    Result r = distance();
    EXPECT_EQ(r.status, 0) << r.output;
    EXPECT_EQ(r.output, "distance=60\nbearing=0\n");

    // Beside the program comes first: a damaged copy in ../lib is never read.
    fs::remove(root_ / "lib" / "libcrv50.so");
    putDamaged(root_ / "lib");
    putLibrary(root_ / "bin");
    r = distance();
    EXPECT_EQ(r.status, 0) << r.output;

    // Neither folder: the loader's path.
    fs::remove(root_ / "bin" / "libcrv50.so");
    fs::remove(root_ / "lib" / "libcrv50.so");
    putLibrary(root_ / "elsewhere");
    r = distance((root_ / "elsewhere").string());
    EXPECT_EQ(r.status, 0) << r.output;
}

TEST_F(LookupLayout, ADamagedCopyIsReportedNotPassedOver) {
    putDamaged(root_ / "bin");
    putLibrary(root_ / "lib");
    const Result r = distance();
    EXPECT_EQ(r.status, 2) << r.output;
    EXPECT_NE(r.output.find("cannot be loaded"), std::string::npos) << r.output;
    EXPECT_NE(r.output.find((root_ / "bin" / "libcrv50.so").string()), std::string::npos) << r.output;
}

TEST_F(LookupLayout, MissingEverywhereNamesWhereItLooked) {
    // With the package installed, the system's own copy is found by name.
    if (void* installed = ::dlopen("libcrv50.so", RTLD_NOW | RTLD_LOCAL)) {
        ::dlclose(installed);
        GTEST_SKIP() << "libcrv50.so is installed in the system's library folders";
    }
    const Result r = distance((root_ / "elsewhere").string());
    EXPECT_EQ(r.status, 2) << r.output;
    const std::string bin = (root_ / "bin").string() + "/";
    EXPECT_NE(r.output.find("The engine library libcrv50.so cannot be loaded"), std::string::npos) << r.output;
    EXPECT_NE(r.output.find("not in " + bin + " nor " + bin + "../lib/"), std::string::npos) << r.output;
}

}  // namespace
