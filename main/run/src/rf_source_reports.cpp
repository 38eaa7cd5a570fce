// The FM search files of an RF-source search and the new case data file,
// which starts as a copy of the FM search plot file.
#include <filesystem>
#include <memory>
#include <optional>

#include "crv/common/conversions.h"
#include "crv/common/error_report.h"
#include "crv/common/lat_lon.h"
#include "crv/common/text_utils.h"
#include "crv/main/run/run_controller.h"
#include "run_support.h"

namespace crv::main::run {

using crv::common::FormatField;
using crv::common::FormatLatLon;
using crv::common::Mid;
using detail::StagedFile;

namespace {
const std::string kIndent(4, ' ');
constexpr int kPageLines = 56;
constexpr const char* kProponentTail = "  0  0   0  1 PRP     0";

// The Part-given keys first; then the call sign ahead of the status, so
// lines equal in columns 1-52 meet, the greatest status first.
constexpr const char* kSourceKeys = "10:52:A 1:9:A 67:69:D 53:80:A";
constexpr const char* kSourceReportKeys = "11:17:A 26:63:A 1:10:A 21:23:D 18:20:A 64:110:A";

std::string optionsLine(int svType, const std::string& navaid) {
    if (svType <= 3) return "  1  1  1  1  1  1     0   0 1000 100  1  1";
    if (svType == 4) return "  1  1  1  1  1  1     0   0 1000 200  1  1";
    if (svType <= 7) return "  1  1  1  1  1  1     0   0 6076 500  0  1";
    double horizontal = crv::common::roundHalfEven(crv::common::Val(Mid(navaid, 61, 3)) * 6076.115 / 50.0);
    horizontal = std::min(9999.0, std::max(100.0, horizontal));
    double vertical = crv::common::roundHalfEven(crv::common::Val(Mid(navaid, 65, 5)) / 50.0);
    vertical = std::min(999.0, std::max(10.0, vertical));
    return "  1  1  2  2  2  1     0   0" + FormatField(horizontal, 5, 0) + FormatField(vertical, 4, 0) +
           (horizontal > 1000 ? "  0" : "  1") + "  1";
}

std::string caseLine(const std::string& airspaceCase, const std::string& date, float radius) {
    std::string line(54, ' ');
    line.replace(1, 15, crv::common::leftSet(airspaceCase, 15));
    line.replace(43, 8, crv::common::leftSet(date, 8));
    line.replace(52, 2, FormatField(radius, 2, 0));
    return line;
}

std::string normalized(const std::string& path) {
    std::error_code ec;
    auto p = std::filesystem::weakly_canonical(path, ec);
    return ec ? path : p.string();
}
}  // namespace

void RunController::WriteRFSrcReports(const SearchParams& record, float radiusNmi, std::int16_t& count,
                                      bool& cancel) {
    std::int32_t n = count;
    writeRFSrcReports(record, radiusNmi, n, cancel, s_.state->DataFolder + s_.state->CaseFile);
    count = static_cast<std::int16_t>(cancel ? 0 : n);
}

void RunController::writeRFSrcReports(const SearchParams& record, float radiusNmi, std::int32_t& count,
                                      bool& cancel, const std::string& casePath) {
    auto& state = *s_.state;
    const std::string id = detail::safeNamePart(Mid(state.NavaidRecord, 2, 3));
    const std::string plotPath = state.OutputFolder + "fm@" + id + ".plt";
    const std::string reportPath = state.OutputFolder + "fm@" + id + ".txt";
    std::unique_ptr<StagedFile> plot, report, caseFile;
    // After Cancel or a failure the FM search files are gone; a case file
    // the user agreed to replace stays as it was.
    auto cleanUp = [&] {
        cancel = true;
        for (auto* f : {plot.get(), report.get(), caseFile.get()})
            if (f) f->discard();
        crv::platform::removeFile(plotPath);
        crv::platform::removeFile(reportPath);
    };
    try {
        if (normalized(casePath) == normalized(plotPath) || normalized(casePath) == normalized(reportPath))
            throw detail::RunError("The new case file cannot take the place of the FM search file " + plotPath +
                                   ".");
        const std::string src1 = state.TempFolder + "RfiSrch1.tmp";
        const std::string src2 = state.TempFolder + "RfiSrch2.tmp";
        s_.engine->SortFile(src1, kSourceKeys, 80);
        const auto lines = detail::readLines(src1);
        plot = std::make_unique<StagedFile>(plotPath);
        plot->writeLine(detail::kVersionLine);
        plot->writeLine(crv::common::leftSet(Mid(state.NavaidRecord, 1, 70), 70) + " ");

        const std::int32_t hits = count;
        detail::ProgressSteps steps(*s_.progress, 2 * hits + 20, 5, cancelRequested_);
        count = 0;
        const bool hasProponent = state.ProponentRecord.find_first_not_of(' ') != std::string::npos;
        bool proponentWritten = !hasProponent;
        const float proponentFreq = static_cast<float>(crv::common::Val(Mid(state.ProponentRecord, 10, 7)));
        const std::string proponentKey = Mid(state.ProponentRecord, 1, 37);
        const std::string proponentLine = crv::common::leftSet(state.ProponentRecord, 52) + kProponentTail;
        const float navaidFreq = static_cast<float>(crv::common::Val(Mid(state.NavaidRecord, 10, 7)));
        std::optional<std::string> last52;

        for (const auto& source : lines) {
            std::string line = source;
            const float freq = static_cast<float>(crv::common::Val(Mid(line, 10, 7)));
            const bool skip = freq == navaidFreq || (last52 && Mid(line, 1, 52) == *last52);
            if (!skip) {
                if (!proponentWritten) {
                    if (Mid(line, 1, 37) == proponentKey) {
                        if (line.size() < 65) line.resize(65, ' ');
                        line[64] = '1';
                        proponentWritten = true;
                    } else if (proponentFreq + 0.0005f < freq) {
                        plot->writeLine(proponentLine);
                        ++count;
                        proponentWritten = true;
                    }
                }
                plot->writeLine(line);
                ++count;
                last52 = Mid(line, 1, 52);
            }
            if (steps.advance()) return cleanUp();
        }
        if (!proponentWritten) {
            plot->writeLine(proponentLine);
            ++count;
        }
        plot->writeLine(" $$$$");
        const int svType = static_cast<int>(crv::common::roundHalfEven(crv::common::Val(Mid(state.NavaidRecord, 58, 2))));
        plot->writeLine(optionsLine(svType, state.NavaidRecord));
        plot->writeLine(caseLine(state.AirspaceCase, s_.today(), radiusNmi));
        plot->close();

        s_.engine->SortFile(src2, kSourceReportKeys, 110);
        const auto reportLines = detail::readLines(src2);
        report = std::make_unique<StagedFile>(reportPath);
        int pageLines = 0;
        if (record.option == 2) {
            report->writeLine(kIndent + "Elliptical Search Centered on " + FormatLatLon(record.focus1Latitude, 1, 1) +
                              "   " + FormatLatLon(record.focus1Longitude, 2, 1));
            report->writeLine(kIndent + std::string(26, ' ') + "and " + FormatLatLon(record.focus2Latitude, 1, 1) +
                              "   " + FormatLatLon(record.focus2Longitude, 2, 1));
            pageLines = 6;
        } else {
            report->writeLine(kIndent + "Circular Search Centered on " + FormatLatLon(record.centreLatitude, 1, 1) +
                              "   " + FormatLatLon(record.centreLongitude, 2, 1));
            pageLines = 5;
        }
        report->writeLine("");
        report->writeLine(kIndent + "Search Radius =" + detail::printNumber(radiusNmi) + "Nautical Miles");
        report->writeLine("");
        report->writeLine("");
        steps.skip(15);
        bool newPage = true;
        std::string previous;
        for (const auto& line : reportLines) {
            if (Mid(line, 26, 38) != Mid(previous, 26, 38) || Mid(line, 2, 16) != Mid(previous, 2, 16)) {
                if (newPage) {
                    report->writeLine(kIndent + "Call       Freq   Stat   Latitude   Longitude    " +
                                      "Power    Elev   Hdg   Rng");
                    report->writeLine(kIndent + std::string(11, ' ') + "MHz" + std::string(37, ' ') +
                                      "kW      ft   true   nmi");
                    report->writeLine(kIndent + std::string(74, '_'));
                    pageLines += 3;
                    newPage = false;
                }
                report->writeLine("");
                report->writeLine(kIndent + Mid(line, 2, 74));
                pageLines += 2;
                const std::string second = Mid(line, 76, 31);
                if (second.find_first_not_of(' ') != std::string::npos) {
                    report->writeLine(kIndent + second);
                    ++pageLines;
                }
                previous = line;
                if (pageLines >= kPageLines) {
                    report->writeLine("\f");
                    newPage = true;
                    pageLines = 1;
                }
            }
            if (steps.advance()) return cleanUp();
        }
        report->close();

        // The case file is a byte copy of the plot file; all three files
        // take their names only once all three are complete.
        caseFile = std::make_unique<StagedFile>(casePath);
        caseFile->close();
        detail::copyFileReplacing(plot->stagedPath(), caseFile->stagedPath());
        plot->commit();
        report->commit();
        caseFile->commit();
        cancel = false;
    } catch (const std::exception& e) {
        crv::common::ShowUnexpectedError(*s_.messages, "WriteRFSrcReports", e.what());
        cleanUp();
    } catch (...) {
        crv::common::ShowUnexpectedError(*s_.messages, "WriteRFSrcReports", "Unknown error");
        cleanUp();
    }
}

}  // namespace crv::main::run
