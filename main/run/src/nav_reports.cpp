// The navaid search files: the plot file of every facility found, its
// subsets by facility kind, and the paged report.
#include <array>
#include <memory>
#include <optional>

#include "crv/common/conversions.h"
#include "crv/common/error_report.h"
#include "crv/common/lat_lon.h"
#include "crv/formats/case_file.h"
#include "crv/formats/report_pages.h"
#include "crv/formats/search_lines.h"
#include "crv/formats/search_map_files.h"
#include "crv/main/run/run_controller.h"
#include "run_support.h"

namespace crv::main::run {

using crv::formats::textAt;
using detail::StagedFile;
namespace rpt = crv::formats::navaid_report_line;

namespace {
const std::string S(7, ' ');

// The sort keys of the search results first, so distinct lines keep their
// order; the rest of the line after them, so identical lines always end up
// next to each other.
constexpr const char* kNavPlotKeys = "10:59:A 1:9:A 60:145:A";
constexpr const char* kNavReportKeys = "15:57:A 1:14:A 58:100:A";
}  // namespace

void RunController::WriteNavReports(const SearchParams& record, std::int16_t& total, std::int16_t& cancel) {
    auto& state = *s_.state;
    const std::string id =
        detail::safeNamePart(std::string(textAt(state.ProponentRecord, crv::formats::kNavaidSearchFileId)));
    const std::string out = state.OutputFolder;
    const std::array<std::string, 4> prefixes = {"nav@", "loc@", "vor@", "com@"};
    std::array<std::string, 5> targets;
    for (std::size_t i = 0; i < 4; ++i) targets[i] = out + prefixes[i] + id + ".plt";
    targets[4] = out + "nav@" + id + ".txt";

    std::array<std::unique_ptr<StagedFile>, 5> files;
    auto cleanUp = [&] {
        cancel = -1;
        for (std::size_t i = 0; i < files.size(); ++i) {
            if (files[i]) files[i]->discard();
            crv::platform::removeFile(targets[i]);
        }
    };
    try {
        const std::string src1 = state.TempFolder + "RfiSrch1.tmp";
        const std::string src2 = state.TempFolder + "RfiSrch2.tmp";
        s_.engine->SortFile(src1, kNavPlotKeys, 145);
        const auto lines = detail::readLines(src1);
        for (std::size_t i = 0; i < 4; ++i) {
            files[i] = std::make_unique<StagedFile>(targets[i]);
            files[i]->writeLine(crv::formats::kVersionText);
        }
        detail::ProgressSteps steps(*s_.progress, 2 * static_cast<std::int32_t>(total) + 15, 5, cancelRequested_);
        std::int32_t written = 0;
        std::array<int, 4> perFile{};
        std::optional<std::string> previous;
        for (const auto& line : lines) {
            if (!previous || line != *previous) {
                files[0]->writeLine(line);
                ++written;
                previous = line;
                const int type = crv::formats::serviceVolumeType(line).value_or(0);
                const std::size_t subset = type <= 4 ? 1 : (type <= 7 ? 2 : 3);
                files[subset]->writeLine(line);
                ++perFile[subset];
            }
            if (steps.advance()) return cleanUp();
        }
        if (written > 32767) throw detail::RunError("Overflow: more than 32767 facilities found.");
        for (std::size_t i = 0; i < 4; ++i) {
            files[i]->writeLine(crv::formats::kFacilityTerminator);
            files[i]->writeLine(state.ProponentRecord);
            files[i]->close();
        }

        s_.engine->SortFile(src2, kNavReportKeys, 100);
        const auto reportLines = detail::readLines(src2);
        files[4] = std::make_unique<StagedFile>(targets[4]);
        StagedFile& report = *files[4];
        report.writeLine(S + "Circular Search Centered on  " + crv::common::FormatLatLon(record.centreLatitude, 1, 1) +
                         "   " + crv::common::FormatLatLon(record.centreLongitude, 2, 1));
        report.writeLine("");
        report.writeLine(S + "Search Radius =" + detail::printNumber(record.radiusNmi) + "Nautical Miles");
        report.writeLine("");
        report.writeLine("");
        int pageLines = 5;
        bool newPage = true;
        std::optional<std::string> previousReport;
        steps.skip(10);
        for (const auto& line : reportLines) {
            if (!previousReport || line != *previousReport) {
                if (newPage) {
                    report.writeLine(S + "Idnt   Crs     Freq    Latitude   Longitude   " + "Pwr   Elev   Hdg   Rng");
                    report.writeLine(S + std::string(15, ' ') + "MHz" + std::string(29, ' ') +
                                     "W     ft   true   nmi");
                    report.writeLine(S + std::string(68, '_'));
                    pageLines += 3;
                    newPage = false;
                }
                report.writeLine("");
                report.writeLine(S + std::string(textAt(line, rpt::facility)));
                pageLines += 2;
                const std::string nameState(textAt(line, rpt::nameAndState));
                if (nameState.find_first_not_of(' ') != std::string::npos) {
                    report.writeLine(S + nameState);
                    ++pageLines;
                }
                previousReport = line;
            }
            if (pageLines >= crv::formats::kSearchReportPageLines) {
                report.writeLine(crv::formats::kPageBreakLine);
                newPage = true;
                pageLines = 1;
            }
            if (steps.advance()) return cleanUp();
        }
        report.close();

        // Everything is written: the files take their names; an empty
        // subset leaves no file behind.
        for (std::size_t i = 0; i < 5; ++i) {
            const auto slash = targets[i].rfind('/');
            detail::removeAnyCase(targets[i].substr(0, slash + 1), targets[i].substr(slash + 1));
            if (i >= 1 && i <= 3 && perFile[i] == 0) {
                files[i]->discard();
                crv::platform::removeFile(targets[i]);
            } else {
                files[i]->commit();
            }
        }
        total = static_cast<std::int16_t>(written);
        cancel = 0;
    } catch (const std::exception& e) {
        crv::common::ShowUnexpectedError(*s_.messages, "WriteNavReports", e.what());
        cleanUp();
    } catch (...) {
        crv::common::ShowUnexpectedError(*s_.messages, "WriteNavReports", "Unknown error");
        cleanUp();
    }
}

}  // namespace crv::main::run
