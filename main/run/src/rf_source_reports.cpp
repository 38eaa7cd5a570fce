// The FM search files of an RF-source search and the new case data file,
// which starts as a copy of the FM search plot file.
#include <algorithm>
#include <filesystem>
#include <memory>
#include <optional>

#include "crv/common/conversions.h"
#include "crv/common/error_report.h"
#include "crv/common/lat_lon.h"
#include "crv/common/text_utils.h"
#include "crv/formats/case_file.h"
#include "crv/formats/report_pages.h"
#include "crv/formats/search_lines.h"
#include "crv/main/run/run_controller.h"
#include "run_support.h"

namespace crv::main::run {

using crv::common::FormatLatLon;
using crv::common::Val;
using crv::formats::textAt;
using detail::StagedFile;
namespace nav = crv::formats::navaid_line;
namespace src = crv::formats::rf_source_line;
namespace rpt = crv::formats::rf_source_report_line;

namespace {
const std::string kIndent(4, ' ');

// The sort keys of the search results first; then the call sign ahead of the
// status, so lines equal in columns 1-52 meet, the greatest status first.
constexpr const char* kSourceKeys = "10:52:A 1:9:A 67:69:D 53:80:A";
constexpr const char* kSourceReportKeys = "11:17:A 26:63:A 1:10:A 21:23:D 18:20:A 64:110:A";

// The options of a new case, by the navaid's service-volume type: the grid
// and models a first run of that kind of facility starts from.
std::string optionsLine(int svType, const std::string& navaid) {
    crv::formats::OptionsLine o{1, 1, 1, 1, 1, 1, 0, 0, 1000, 100, 1, 1};
    if (svType == 4) {
        o.verticalIncrementFt = 200;
    } else if (svType >= 5 && svType <= 7) {
        o.horizontalIncrementFt = 6076;
        o.verticalIncrementFt = 500;
        o.prescreening = 0;
    } else if (svType >= 8) {
        // A VHF COM volume is spaced by its own radius and height, 50 steps
        // each way; a wide spacing needs no coarse grid.
        o.antennaRejection = o.criteriaType = o.cutoffType = 2;
        const double radius = Val(textAt(navaid, nav::serviceVolumeRadius));
        const double height = Val(textAt(navaid, nav::serviceVolumeHeight));
        o.horizontalIncrementFt = std::clamp(crv::common::roundHalfEven(radius * 6076.115 / 50.0), 100.0, 9999.0);
        o.verticalIncrementFt = std::clamp(crv::common::roundHalfEven(height / 50.0), 10.0, 999.0);
        o.prescreening = o.horizontalIncrementFt > 1000 ? 0 : 1;
    }
    return crv::formats::writeOptionsLine(o);
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
    const std::string id = detail::safeNamePart(std::string(textAt(state.NavaidRecord, nav::identifier)));
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
        plot->writeLine(crv::formats::kVersionText);
        plot->writeLine(crv::formats::newCaseNavaidLine(state.NavaidRecord));

        const std::int32_t hits = count;
        detail::ProgressSteps steps(*s_.progress, 2 * hits + 20, 5, cancelRequested_);
        count = 0;
        const bool hasProponent = state.ProponentRecord.find_first_not_of(' ') != std::string::npos;
        bool proponentWritten = !hasProponent;
        // Frequencies compared in single precision, as the workflow has always
        // compared them.
        auto frequencyOf = [](std::string_view line) { return static_cast<float>(Val(textAt(line, src::frequency))); };
        const float proponentFreq = frequencyOf(state.ProponentRecord);
        const std::string proponentKey(textAt(state.ProponentRecord, src::station));
        const std::string proponentLine = crv::formats::proponentLine(state.ProponentRecord);
        const float navaidFreq = static_cast<float>(Val(textAt(state.NavaidRecord, nav::frequency)));
        std::optional<std::string> last52;

        for (const auto& source : lines) {
            std::string line = source;
            const float freq = frequencyOf(line);
            const bool skip = freq == navaidFreq || (last52 && textAt(line, src::proponentRecord) == *last52);
            if (!skip) {
                if (!proponentWritten) {
                    if (textAt(line, src::station) == proponentKey) {
                        // The search found the proponent itself: its line
                        // becomes the proponent's line (the status's last
                        // column, where a search writes "0").
                        const int status = src::proponentStatus.last;
                        crv::formats::putText(line, {status, status}, "1");
                        proponentWritten = true;
                    } else if (proponentFreq + 0.0005f < freq) {
                        plot->writeLine(proponentLine);
                        ++count;
                        proponentWritten = true;
                    }
                }
                plot->writeLine(line);
                ++count;
                last52 = std::string(textAt(line, src::proponentRecord));
            }
            if (steps.advance()) return cleanUp();
        }
        if (!proponentWritten) {
            plot->writeLine(proponentLine);
            ++count;
        }
        plot->writeLine(crv::formats::kRfSourceTerminator);
        const int svType = crv::formats::serviceVolumeType(state.NavaidRecord).value_or(0);
        plot->writeLine(optionsLine(svType, state.NavaidRecord));
        plot->writeLine(crv::formats::writeCaseLine({state.AirspaceCase, "", s_.today(), radiusNmi}));
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
            if (textAt(line, rpt::placeAndPower) != textAt(previous, rpt::placeAndPower) ||
                textAt(line, rpt::station) != textAt(previous, rpt::station)) {
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
                report->writeLine(kIndent + std::string(textAt(line, rpt::source)));
                pageLines += 2;
                const std::string second(textAt(line, rpt::nameAndState));
                if (second.find_first_not_of(' ') != std::string::npos) {
                    report->writeLine(kIndent + second);
                    ++pageLines;
                }
                previous = line;
                if (pageLines >= crv::formats::kSearchReportPageLines) {
                    report->writeLine(crv::formats::kPageBreakLine);
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
