// The driver's "readcase" command and the evaluation exports' case read.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>

#include "case_folder.h"
#include "crv/platform/message_box.h"
#include "crv50.h"

namespace crv::engine {
namespace {

using test::CaseFolder;
using test::setColumns;

struct DriverRun {
    int status;
    std::string out;
    std::string err;
};

DriverRun runDriver(const std::string& arguments, const std::string& scratch) {
    const std::string errFile = scratch + "stderr.txt";
    const std::string command = std::string(CRV_BIN_DIR) + "crv50 " + arguments + " 2>" + errFile;
    FILE* p = ::popen(command.c_str(), "r");
    std::string out;
    char buf[4096];
    std::size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, p)) > 0) out.append(buf, n);
    const int status = ::pclose(p);
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, out, test::readBytes(errFile)};
}

void writeIlsCase(CaseFolder& folder, std::vector<std::string> lines) {
    folder.writeCase(lines);
    folder.writeUser("FmHor03.pat", test::patternLines("Three-bay", "1 2", 10.0, test::descendingPercent));
}

TEST(ReadCaseCommand, PrintsWhatTheEngineRead) {
    CaseFolder folder;
    writeIlsCase(folder, test::ilsCaseLines());
    const DriverRun r = runDriver("readcase " + folder.run, folder.root);
    ASSERT_EQ(r.status, 0) << r.err;
    for (const char* line : {"navaid.identifier=ILX\n", "navaid.frequency_khz=110100\n", "navaid.array_type=6\n",
                             "stations=2\n", "station.1.ordinal=1\n", "station.1.call_sign=WAAA-FM\n",
                             "station.1.proponent=1\n", "station.2.ordinal=3\n", "station.2.call_sign=WCCC\n",
                             "proponents=1\n", "options.grid_type=1\n", "options.antenna_rejection_type=40\n",
                             "options.cutoff_type=3\n", "grid_angle_used=45\n", "edition=SCI\n"})
        EXPECT_NE(r.out.find(line), std::string::npos) << line << r.out;
}

TEST(ReadCaseCommand, FailsWithTheMessage) {
    CaseFolder folder;
    auto lines = test::ilsCaseLines();
    lines[test::kNavaidLine] = setColumns(lines[test::kNavaidLine], 55, 56, "39");
    writeIlsCase(folder, lines);
    const DriverRun r = runDriver("readcase " + folder.run, folder.root);
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, "crv50: ReadData: Invalid navaid array type\n");
}

std::string lastMessage;
void capture(const std::string& text, const std::string&, crv::platform::MessageIcon, void*) { lastMessage = text; }

TEST(EvaluationExports, ReadTheCaseFirst) {
    CaseFolder folder;
    auto lines = test::ilsCaseLines();
    lines[test::kNavaidLine] = setColumns(lines[test::kNavaidLine], 58, 59, "9");
    writeIlsCase(folder, lines);
    crv::platform::setMessagePresenter(capture, nullptr);
    std::int16_t status = -1;
    std::int32_t points = -1;
    ::Grid(folder.run.c_str(), nullptr, &status, &points);
    EXPECT_EQ(status, 2);
    EXPECT_EQ(points, 0);
    EXPECT_EQ(lastMessage, "An error occurred in procedure ReadData:\r\rInvalid navaid service volume type");
    std::int16_t cases = -1;
    ::Evaluate(folder.run.c_str(), nullptr, &status, &cases);
    EXPECT_EQ(status, 2);
    EXPECT_EQ(lastMessage, "An error occurred in procedure ReadData:\r\rInvalid navaid service volume type");
    crv::platform::setMessagePresenter(nullptr, nullptr);
}

}  // namespace
}  // namespace crv::engine
