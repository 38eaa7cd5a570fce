// Every format unit reads the files the system wrote and writes them back
// byte for byte, under a locale whose decimal separator is a comma (as a Qt
// program runs on a German desktop): the sample workspace that crv_sample
// writes and the goldens of the engine, the run controller and the viewers.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "crv/formats/case_file.h"
#include "crv/formats/facility_records.h"
#include "crv/formats/file_lines.h"
#include "crv/formats/pattern_plot_file.h"
#include "crv/formats/plot_file.h"
#include "crv/formats/rcvr_points_file.h"
#include "crv/formats/report_pages.h"
#include "crv/formats/search_lines.h"
#include "crv/formats/search_map_files.h"
#include "crv/formats/site_files.h"
#include "crv/formats/user_data_file.h"
#include "test_support.h"

namespace crv::formats {
namespace {

namespace fs = std::filesystem;
using crv::test::readBytes;

const std::string kSource = CRV_SOURCE_DIR;

// The sample workspace, written once for all tests of this file.
const std::string& sampleWorkspace() {
    static const std::string folder = [] {
        const std::string dir = crv::test::scratchFolder("sample");
        const std::string command = std::string(CRV_SAMPLE_EXE) + " '" + dir + "' > /dev/null";
        EXPECT_EQ(std::system(command.c_str()), 0) << command;
        return dir;
    }();
    return folder;
}

std::vector<std::string> linesOf(const std::string& path) {
    const auto lines = readFileLines(path, std::size_t(64) << 20);
    EXPECT_TRUE(lines) << (lines ? "" : lines.error());
    return lines ? *lines : std::vector<std::string>{};
}

std::string joined(const std::vector<std::string>& lines) {
    std::string bytes;
    for (const auto& l : lines) bytes += l + "\r\n";
    return bytes;
}

std::string trimmedRight(std::string s) {
    while (!s.empty() && s.back() == ' ') s.pop_back();
    return s;
}

#define COMMA_LOCALE()                                                                          \
    crv::test::CommaLocale commaLocale;                                                         \
    if (!commaLocale.active()) GTEST_SKIP() << "de_DE.UTF-8 is not installed (scripts/deps.sh)"

// A case data file line by line through its readers and writers: the
// editor's saved cases, a run's case copy, and the new case file the
// workflow writes (its navaid line waiting for the checked mark).
TEST(RoundTrip, CaseFiles) {
    COMMA_LOCALE();
    const std::vector<std::string> files = {
        sampleWorkspace() + "Data/SampleILS.dat", sampleWorkspace() + "Data/SampleVOR.dat",
        sampleWorkspace() + "Data/SampleCOM.dat", kSource + "/viewers/plots/tests/data/Rfi.plt",
        kSource + "/main/run/tests/data/fm@QKV.plt"};
    for (const std::string& path : files) {
        SCOPED_TRACE(path);
        const auto lines = linesOf(path);
        ASSERT_GE(lines.size(), 5u);
        std::vector<std::string> written{kVersionText};
        NavaidMark mark = NavaidMark::None;
        const auto navaid = readNavaidLine(lines[1], &mark);
        ASSERT_TRUE(navaid);
        written.push_back(writeNavaidLine(*navaid, mark));
        std::size_t i = 2;
        for (; i < lines.size() && textAt(lines[i], rf_source_line::terminatorMark) != "$$$$"; ++i) {
            const auto source = readRfSourceLine(lines[i]);
            ASSERT_TRUE(source) << lines[i];
            written.push_back(writeRfSourceLine(*source));
        }
        ASSERT_LT(i + 2, lines.size());
        written.emplace_back(kRfSourceTerminator);
        const auto options = readOptionsLine(lines[i + 1]);
        const auto caseLine = readCaseLine(lines[i + 2]);
        ASSERT_TRUE(options && caseLine);
        written.push_back(writeOptionsLine(*options));
        written.push_back(writeCaseLine(*caseLine));
        for (std::size_t k = i + 3; k < lines.size(); ++k) written.push_back(optionTextLine(lines[k].substr(1)));
        EXPECT_EQ(joined(written), readBytes(path));
    }
}

// The navaid search plot files through the file's reader and writer, and
// each facility line the engine's search wrote (the run controller's
// goldens) through the search-line unit: the sort left the lines without
// their trailing blanks. The viewer's map file was laid out by hand.
TEST(RoundTrip, SearchPlotFilesAndSearchLines) {
    COMMA_LOCALE();
    int facilityLines = 0;
    for (const char* name : {"/main/run/tests/data/nav@QKAD.plt", "/main/run/tests/data/loc@QKAD.plt",
                             "/main/run/tests/data/vor@QKAD.plt", "/main/run/tests/data/com@QKAD.plt",
                             "/viewers/plots/tests/data/nav@QKV.plt"}) {
        const std::string path = kSource + name;
        SCOPED_TRACE(path);
        const auto file = readNavaidSearchFile(path);
        ASSERT_TRUE(file) << file.error();
        EXPECT_EQ(joined(navaidSearchFileLines(*file)), readBytes(path));
        const auto map = readFacilityMap(path);
        EXPECT_TRUE(map) << map.error();
        if (std::string(name).find("/main/run/") == std::string::npos) continue;
        for (const std::string& line : file->facilityLines) {
            const auto fields = readNavaidSearchLine(line);
            ASSERT_TRUE(fields) << line;
            EXPECT_EQ(trimmedRight(writeNavaidSearchLine(*fields)), line);
            ++facilityLines;
        }
    }
    EXPECT_GT(facilityLines, 10);
    const std::string fm = kSource + "/main/run/tests/data/fm@QKV.plt";
    EXPECT_TRUE(readEmitterMap(fm));
}

// The search result lines no file of the goldens holds whole (the proponent
// line and the two report lines): their writers' lines read back unchanged.
TEST(RoundTrip, SearchResultLinesOfEveryKind) {
    COMMA_LOCALE();
    DmsPosition south;
    south.latDeg = 0;
    south.latMin = 30;
    south.latSec = 5;
    south.latNegative = true;
    south.lonDeg = -151;
    south.lonMin = 12;
    south.lonSec = 30;
    south.lonNegative = true;
    const std::string proponent =
        writeFmProponentLine({"WQABxxx", 101.5, south, 50.0, 492, "NORTHFIELD", "PA", "LIC"});
    EXPECT_EQ(proponent,
              " WQABxxx 101.500  -0 30 05 -151 12 30  50.0000   492 NORTHFIELD                     PA LIC");
    const std::string navReport = writeNavaidReportLine(
        {'I', "IOP", -1, 110.1, south, 15, 350, 303.4, 9.5, "HARLOW REGIONAL", "PA"});
    const std::string rfReport = writeRfSourceReportLine(
        {"VABC   ", 112.0, "VOR", south, 0.0503, 1234, 45.0, 12.0, "TESSALY VORTAC", "ZA"});
    const auto p = readFmProponentLine(proponent);
    const auto n = readNavaidReportLine(navReport);
    const auto r = readRfSourceReportLine(rfReport);
    ASSERT_TRUE(p && n && r);
    EXPECT_EQ(writeFmProponentLine(*p), proponent);
    EXPECT_EQ(writeNavaidReportLine(*n), navReport);
    EXPECT_EQ(writeRfSourceReportLine(*r), rfReport);
    EXPECT_TRUE(p->position.latNegative);
    EXPECT_DOUBLE_EQ(p->position.latitude, -(30.0 / 60.0 + 5.0 / 3600.0));
}

// Pattern plot files of both writers: the engine's listing and the pattern
// editor's Plot command.
TEST(RoundTrip, PatternPlotFiles) {
    COMMA_LOCALE();
    for (const char* name : {"/engine/tests/data/report_heading/FmHorU03.ptx", "/viewers/plots/tests/data/LocHorU.ptx",
                             "/viewers/plots/tests/data/FmVrt00.ptx"}) {
        const std::string path = kSource + name;
        SCOPED_TRACE(path);
        std::string error;
        const auto data = readPatternPlotFile(path, error);
        ASSERT_TRUE(data) << error;
        EXPECT_GE(data->rows.size(), 181u);
        PatternPlot plot{data->style, data->caption, data->description, data->gainDbi, data->rows};
        EXPECT_EQ(joined(patternPlotLines(plot)), readBytes(path));
    }
}

// Receiver-point and interference plot files: the header, every point and
// every section end decoded and encoded again.
TEST(RoundTrip, PlotFiles) {
    COMMA_LOCALE();
    std::vector<std::string> files = {kSource + "/formats/tests/data/receiver_points.plx",
                                      kSource + "/formats/tests/data/interference.plt",
                                      kSource + "/viewers/plots/tests/data/Rcvr_Loc.plx"};
    for (const auto& folder : {"/engine/tests/data/sample_runs", "/engine/tests/data/grid"})
        for (const auto& entry : fs::recursive_directory_iterator(kSource + folder)) {
            const std::string ext = entry.path().extension().string();
            if ((ext == ".plt" && entry.path().filename() != "Rfi.plt") || ext == ".plx")
                files.push_back(entry.path().string());
        }
    ASSERT_GT(files.size(), 20u);
    const std::string out = crv::test::scratchFolder("plot-round-trip") + "copy";
    for (const std::string& path : files) {
        SCOPED_TRACE(path);
        auto walk = readPlotFile(path);
        ASSERT_TRUE(walk) << walk.error();
        const auto header = walk->header();
        ASSERT_TRUE(header) << walk->error();
        const bool receiverPoints = header->fileName == "Rcvr_Loc.plx" || header->fileName == "Rcvr8Loc.plx";
        RecordWriter writer;
        ASSERT_TRUE(writer.open(out));
        writer.writeHeader(*header);
        while (const auto record = walk->next()) {
            if (receiverPoints) {
                const auto p = decodeReceiverPoint(*record);
                ASSERT_TRUE(p);
                // The vertical grid's section end carries its plane's azimuth
                // in seven reals.
                writer.writeRecord(record->size() == 30 ? encodeVerticalSectionEnd(p->altitudeFt)
                                                        : encodeReceiverPoint(*p));
            } else {
                const auto p = decodeInterferencePoint(*record);
                ASSERT_TRUE(p);
                writer.writeRecord(encodeInterferencePoint(*p));
            }
        }
        EXPECT_TRUE(walk->error().empty()) << walk->error();
        ASSERT_TRUE(writer.close());
        EXPECT_EQ(readBytes(out), readBytes(path));
    }
}

// The site files of the sample workspace through the editors' readers and
// writers, and the run's readers take them.
TEST(RoundTrip, SiteFiles) {
    COMMA_LOCALE();
    const std::string user = sampleWorkspace() + "User/";
    for (const char* name : {"LocHor.pat", "FmHor01.pat", "FmHor03.pat", "FmVrt1.pat", "FmVrt6.pat"}) {
        SCOPED_TRACE(name);
        const std::string bytes = readBytes(user + name);
        const UserDataRead read = readUserDataFile(bytes, true);
        EXPECT_EQ(read.badCount, 0);
        EXPECT_EQ(writeUserDataFile(read.data), bytes);
        const PatternFileKind kind = name[0] == 'L'   ? PatternFileKind::Localizer
                                     : name[2] == 'H' ? PatternFileKind::FmHorizontal
                                                      : PatternFileKind::FmVertical;
        EXPECT_TRUE(readPatternFile(user + name, kind));
    }
    for (const char* name : {"Antenna.cal", "Receiver.cal"}) {
        SCOPED_TRACE(name);
        const std::string bytes = readBytes(user + name);
        const UserDataRead read = readUserDataFile(bytes, false);
        EXPECT_EQ(read.badCount, 0);
        EXPECT_EQ(writeUserDataFile(read.data), bytes);
    }
    EXPECT_TRUE(readAntennaCalibration(user + "Antenna.cal"));
    EXPECT_TRUE(readReceiverCalibration(user + "Receiver.cal"));
    const std::string points = readBytes(user + "RcvrTest.pts");
    const RcvrPointsFileRead read = readRcvrPointsFile(points);
    EXPECT_EQ(read.read.badCount, 0);
    EXPECT_EQ(writeRcvrPointsFile(read.data), points);
    const auto run = readTestPoints(user + "RcvrTest.pts", 5'000'000);
    ASSERT_TRUE(run) << run.error();
    EXPECT_EQ(run->size(), read.data.points.size());
}

// The search reports' pages are the writer's pages: each ends at a form-feed
// line, and the pages put together with those lines are the report. The
// engine's report has no form feeds.
TEST(RoundTrip, ReportPages) {
    COMMA_LOCALE();
    for (const char* name : {"/main/run/tests/data/nav@QKAD.txt", "/main/run/tests/data/fm@QKV.txt",
                             "/engine/tests/data/sample_runs/ILS/Rfi.txt"}) {
        const std::string path = kSource + name;
        SCOPED_TRACE(path);
        const std::string text = readBytes(path);
        const ReportPages pages = ReportPages::paginate(text, kPrintedLinesPerPage);
        ASSERT_GE(pages.pageCount(), 1);
        const bool search = text.find(kFormFeed) != std::string::npos;
        std::vector<std::string> lines;
        for (int page = 1; page <= pages.pageCount(); ++page) {
            const auto pageLines = pages.pageLines(text, page);
            lines.insert(lines.end(), pageLines.begin(), pageLines.end());
            if (search && (page < pages.pageCount() || text.ends_with(std::string(kPageBreakLine) + "\r\n")))
                lines.emplace_back(kPageBreakLine);
        }
        EXPECT_EQ(joined(lines), text);
    }
}

// The sample databases' records: the position columns decoded and written
// again, the frequency read with its implied decimals.
TEST(RoundTrip, DatabaseRecords) {
    COMMA_LOCALE();
    struct Database {
        const char* name;
        Columns frequency;
        int impliedDecimals;
    } databases[] = {{"db/FMALL.dat", fm_database_record::frequency, fm_database_record::kFrequencyImpliedDecimals},
                     {"db/A108M118.dat", navaid_database_record::frequency,
                      navaid_database_record::kFrequencyImpliedDecimals},
                     {"db/G118M136.dat", com_database_record::frequency, com_database_record::kFrequencyImpliedDecimals}};
    for (const Database& d : databases) {
        SCOPED_TRACE(d.name);
        const auto records = linesOf(sampleWorkspace() + d.name);
        ASSERT_GT(records.size(), 30u);
        for (const std::string& record : records) {
            const auto position = positionOf(record);
            ASSERT_TRUE(position) << record;
            EXPECT_EQ(writeDatabasePosition(*position), record.substr(0, 22));
            const auto mhz = databaseReal(record, d.frequency, d.impliedDecimals);
            ASSERT_TRUE(mhz) << record;
            EXPECT_GT(*mhz, 87.0);
            EXPECT_LT(*mhz, 137.0);
        }
    }
}

}  // namespace
}  // namespace crv::formats
