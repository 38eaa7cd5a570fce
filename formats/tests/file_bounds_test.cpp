// Every reader of the system's files refuses a file larger than its format
// can hold from its size, naming the file, instead of reading it first: the
// files here are sparse, a gigabyte that costs no disk and must cost no time.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>

#include "crv/formats/case_file.h"
#include "crv/formats/file_lines.h"
#include "crv/formats/pattern_plot_file.h"
#include "crv/formats/plot_file.h"
#include "crv/formats/search_map_files.h"
#include "test_support.h"

namespace crv::formats {
namespace {

std::string errorOf(const crv::platform::Expected<NavaidSearchFile>& r) { return r ? "" : r.error(); }
std::string errorOf(const crv::platform::Expected<FacilityMap>& r) { return r ? "" : r.error(); }
std::string errorOf(const crv::platform::Expected<EmitterMap>& r) { return r ? "" : r.error(); }
std::string errorOf(const crv::platform::Expected<PlotFileWalk>& r) { return r ? "" : r.error(); }

TEST(FileBounds, FilesLargerThanTheirFormatAreRefusedFromTheirSize) {
    const std::string dir = crv::test::scratchFolder("bounds");
    const std::string version = "CRV Version 5.0.6\r\n";
    struct Case {
        const char* name;
        std::string start;  // what the file begins with, before the zeros
        std::size_t bound;
        bool readAtBound;   // small enough to read whole here
        std::function<std::string(const std::string&)> read;
    } cases[] = {
        {"nav@QKAD.plt", version, kNavaidSearchFileMaxBytes, true,
         [](const std::string& p) { return errorOf(readNavaidSearchFile(p)); }},
        {"loc@QKAD.plt", version, kNavaidSearchFileMaxBytes, true,
         [](const std::string& p) { return errorOf(readFacilityMap(p)); }},
        {"fm@QKV.plt", version, kCaseFileMaxBytes, true,
         [](const std::string& p) { return errorOf(readEmitterMap(p)); }},
        {"07____A2.plt", std::string("\x14\0\0\0CRV Version 5.0.6   \x14\0\0\0", 28), kPlotFileMaxBytes, false,
         [](const std::string& p) { return errorOf(readPlotFile(p)); }},
        {"LocHorU.ptx", "    Localizer pattern description:  x\r\n", kPatternPlotFileMaxBytes, true,
         [](const std::string& p) {
             std::string error;
             return readPatternPlotFile(p, error) ? std::string() : error;
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string path = dir + c.name;
        crv::test::writeBytes(path, c.start);
        std::filesystem::resize_file(path, std::uintmax_t(1) << 30);
        EXPECT_EQ(c.read(path), "Could not read " + path + ": larger than " + std::to_string(c.bound) + " bytes");
        if (!c.readAtBound) continue;
        // At its bound a file is read (and then judged by its content).
        std::filesystem::resize_file(path, c.bound);
        EXPECT_EQ(c.read(path).find("larger than"), std::string::npos);
    }
}

// The navaid search files' bound is the largest file the workflow writes:
// 32767 facility lines of 136 columns, the version line, the terminator and
// the proponent record, each with its CR LF.
TEST(FileBounds, NavaidSearchFileBoundIsTheLargestTheWorkflowWrites) {
    EXPECT_EQ(kNavaidSearchFileMaxBytes, 19u + 32767u * 138u + 6u + 54u);
    EXPECT_EQ(kInterferencePlotFileMaxBytes, 423u + 5000002u * 20u);
}

}  // namespace
}  // namespace crv::formats
