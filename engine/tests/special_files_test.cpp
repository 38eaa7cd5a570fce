// Every engine reader against what can stand in a file's place: a folder, a
// FIFO (which would block an open or a read for ever), a link to /dev/zero
// (which never ends) and a file whose read fails (a link to /proc/self/mem,
// listed as a regular file, answers a read with EIO). Each must return, with
// the reader's own "Could not open ..." message for the first three and "Could not
// read ..." for the last, naming the file.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <functional>

#include "case_folder.h"
#include "case_input.h"
#include "crv50.h"
#include "evaluate_fixture.h"
#include "failure.h"
#include "paths.h"
#include "pattern_files.h"
#include "crv/formats/plot_file.h"
#include "test_support.h"

namespace crv::engine {
namespace {

namespace fs = std::filesystem;
using test::CaseFolder;

enum class Kind { Folder, Fifo, DevZero, ReadError };

struct KindCase {
    const char* name;
    Kind kind;
    bool opens;  // true: the open succeeds and the read fails
};

constexpr KindCase kKinds[] = {
    {"folder", Kind::Folder, false},
    {"fifo", Kind::Fifo, false},
    {"dev/zero link", Kind::DevZero, false},
    {"read error", Kind::ReadError, true},
};

void makeSpecial(const std::string& path, Kind kind) {
    fs::remove_all(path);
    switch (kind) {
        case Kind::Folder: fs::create_directory(path); break;
        case Kind::Fifo: ASSERT_EQ(::mkfifo(path.c_str(), 0600), 0); break;
        case Kind::DevZero: fs::create_symlink("/dev/zero", path); break;
        case Kind::ReadError: fs::create_symlink("/proc/self/mem", path); break;
    }
}

// The engine's message of a call (an exception's text or a message box).
std::string failureOf(const std::function<void()>& call) {
    crv::test::MessageCapture capture;
    try {
        call();
    } catch (const EngineFailure& e) {
        return e.message();
    }
    return capture.messages().empty() ? std::string() : capture.messages().front().text;
}

struct Reader {
    const char* name;
    std::string file;        // under the case folder's root
    std::string openText;    // the message's start when the open is refused
    std::string readText;    // ... when the read fails
    std::function<void(CaseFolder&)> prepare;
    std::function<void(CaseFolder&, const std::string& path)> call;
};

TEST(SpecialFiles, EveryReaderRefusesWhatIsNotARegularFile) {
    const auto ilsCase = [](CaseFolder& f) {
        f.writeCase(test::ilsCaseLines());
        f.writeUser("FmHor03.pat", test::patternLines("Three-bay directional", "1 2", 10.0, test::descendingPercent));
    };
    const auto noop = [](CaseFolder&) {};
    const std::vector<Reader> readers = {
        {"case copy", "run/Rfi.plt", "Could not open simulation data file:\r", "Could not read simulation data file (",
         noop,
         [](CaseFolder& f, const std::string&) {
             EngineState s;
             ReadData(s, f.run);
         }},
        {"pattern", "user/FmHor03.pat", "Could not open FM horizontal pattern file:\r",
         "Could not read FM horizontal pattern file (", noop,
         [](CaseFolder&, const std::string& path) {
             Pattern p;
             readPatternFile(path, PatternKind::FmHorizontal, p, "ReadData       ");
         }},
        {"antenna calibration", "user/Antenna.cal", "Could not open calibration file:\r",
         "Could not read calibration file (", noop,
         [](CaseFolder&, const std::string& path) {
             std::vector<std::pair<double, double>> t;
             readAntennaCalibration(path, t, "ReadData       ");
         }},
        {"receiver calibration", "user/Receiver.cal", "Could not open calibration file:\r",
         "Could not read calibration file (", noop,
         [](CaseFolder&, const std::string& path) {
             std::array<double, 12> t{};
             readReceiverCalibration(path, t, "ReadData       ");
         }},
        {"test points", "user/RcvrTest.pts", "Could not open user-defined receiver points file:\r",
         "Could not read user-defined receiver points file (",
         [&](CaseFolder& f) {
             auto lines = test::ilsCaseLines();
             lines[test::kOptionsLine] = test::setColumns(lines[test::kOptionsLine], 1, 3, "8");
             f.writeCase(lines);
             f.writeUser("FmHor03.pat",
                         test::patternLines("Three-bay directional", "1 2", 10.0, test::descendingPercent));
         },
         [](CaseFolder& f, const std::string&) {
             std::int16_t status = -1;
             std::int32_t points = -1;
             ::Grid(f.run.c_str(), nullptr, &status, &points);
             EXPECT_EQ(status, 2);
             EXPECT_FALSE(fs::exists(f.run + "Rcvr_Loc.plx"));
         }},
        {"receiver points", "run/Rcvr_Loc.plx", "Could not open receiver point file:\r",
         "Could not read receiver point file (", ilsCase,
         [](CaseFolder& f, const std::string&) {
             std::int16_t status = -1, cases = -1;
             ::Evaluate(f.run.c_str(), nullptr, &status, &cases);
             EXPECT_EQ(status, 2);
             EXPECT_FALSE(fs::exists(f.run + "Rfi.txt"));
         }},
        {"FM database", "FMALL.dat", "Could not open FCC database file:\r", "Could not read FCC database file:\r",
         [](CaseFolder& f) {
             test::writeBytes(f.root + "settings.ini", "[Paths]\nFCC Database=" + f.root + "FMALL.dat\n");
         },
         [](CaseFolder&, const std::string&) {
             CrvSearchParams p{1, 40.0f, 75.0f, 0, 0, 0, 0, 10.0f, 0};
             std::int16_t status = -1, count = -1;
             ::SearchDB(CRV_DB_FM, &p, nullptr, &status, &count);
             EXPECT_EQ(status, 2);
         }},
        {"settings", "settings.ini", "Could not open ", "Could not read ", noop,
         [](CaseFolder&, const std::string&) {
             EngineState s;
             GetPaths(s);
         }},
        {"plot record reader", "run/01____A2.plt", "Could not open ", "Could not read ", noop,
         [](CaseFolder&, const std::string& path) {
             crv::formats::RecordReader r;
             std::string error;
             if (!r.open(path)) throw EngineFailure("test", r.error());
             if (!crv::formats::readPlotHeader(r, error)) throw EngineFailure("test", error);
         }},
    };
    for (const auto& reader : readers) {
        for (const auto& k : kKinds) {
            SCOPED_TRACE(std::string(reader.name) + ", " + k.name);
            CaseFolder folder;
            crv::test::ScopedEnv tmp("TMPDIR", folder.root);
            reader.prepare(folder);
            const std::string path = folder.root + reader.file;
            makeSpecial(path, k.kind);
            const std::string message = failureOf([&] { reader.call(folder, path); });
            const std::string& start = k.opens ? reader.readText : reader.openText;
            EXPECT_NE(message.find(start), std::string::npos) << message;
            EXPECT_NE(message.find(path), std::string::npos) << message;
        }
    }
}

}  // namespace
}  // namespace crv::engine
