// The last search of the new-case workflow: the RF sources around the chosen
// navaid, written as the FM search files and a new case data file.
#include <cmath>

#include "crv/common/configuration.h"
#include "crv/common/conversions.h"
#include "crv/common/dialog_services.h"
#include "crv/common/error_report.h"
#include "crv/common/file_system.h"
#include "crv/common/text_utils.h"
#include "crv/formats/case_file.h"
#include "crv/main/run/run_controller.h"
#include "crv/main/run/search_area.h"
#include "run_guard.h"
#include "run_support.h"

namespace crv::main::run {

using crv::common::Message;
using crv::common::MessageIcon;
using crv::formats::textAt;
using detail::kCR;
namespace nav = crv::formats::navaid_line;

namespace {

const char* fileSuffix(int svType) {
    if (svType <= 4) return "_loc.dat";
    if (svType <= 7) return "_vor.dat";
    return "_com.dat";
}

}  // namespace

void RunController::SearchForRFSources(std::int32_t& count) {
    count = 0;
    RunGuard guard(*this);
    if (!guard.ok()) return;
    if (!crv::common::EnsureTempFolder(*s_.state, *s_.messages)) return;
    auto& state = *s_.state;
    auto& progress = *s_.progress;
    const std::string pattern = state.TempFolder + "RfiSrch?.tmp";
    bool progressShown = false;
    auto finish = [&] {
        if (progressShown) progress.Remove();
        crv::common::DeleteFiles(pattern);
        count = 0;
    };
    try {
        std::int16_t svType =
            static_cast<std::int16_t>(crv::formats::serviceVolumeType(state.NavaidRecord).value_or(0));
        // The back-course flag's digit, the record's last column.
        const int backCourseDigit = crv::formats::navaid_record::backCourse.last;
        const bool backCourse = textAt(state.NavaidRecord, {backCourseDigit, backCourseDigit}) == "1";
        float radius = 30.0f;

        if (state.ModelType == "SCI" || (svType != 4 && svType != 8)) {
            bool canceled = false;
            s_.questions->GetParams(backCourse, svType, radius, canceled);
            if (canceled) return;
        }
        if (svType == 7) {
            Message note;
            note.text = std::string(" High-Altitude VORs are modeled only ") + kCR +
                        " to 40 nautical miles radius and " + kCR + " 18,000 feet above ground level. ";
            note.title = "Note";
            s_.messages->present(note);
        }
        const double course = crv::common::Val(textAt(state.NavaidRecord, nav::runwayHeading));
        if (svType < 5 && course < 0) {
            // A blank database bearing: the search cannot lie along the course.
            Message warn;
            warn.text = " The course of navaid " + std::string(textAt(state.NavaidRecord, nav::identifier)) +
                        " is not known. " + kCR + " The search covers a circle around the navaid. ";
            warn.title = "Warning";
            warn.icon = MessageIcon::Exclamation;
            s_.messages->present(warn);
        } else if (svType == 2 || svType == 3) {
            const long turned = std::lround(crv::common::roundHalfEven(course + 180.0)) % 360;
            crv::formats::putText(state.NavaidRecord, nav::runwayHeading,
                                  crv::common::FormatField(static_cast<double>(turned), 3, 0));
        }
        crv::formats::putText(state.NavaidRecord, nav::serviceVolumeType, crv::common::FormatField(svType, 2, 0));

        SearchParams record{};
        bool inside = true;
        SetSearchArea(*s_.engine, svType, radius, state.ProponentRecord, state.NavaidRecord, inside, record);
        if (!inside) {
            Message warn;
            warn.text =
                std::string(" The proponent is not within the search radius ") + kCR + " of the selected navaid. ";
            if (state.ModelType == "SCI")
                warn.text += std::string(1, kCR) + kCR + " Select a different navaid or increase the " + kCR +
                             " search radius. ";
            warn.title = "Warning";
            warn.icon = MessageIcon::Exclamation;
            s_.messages->present(warn);
            return;
        }

        SaveFileRequest request;
        request.title = "Save Data File As";
        request.filter = "Data Files (*.dat)|*.dat";
        request.defaultExt = ".dat";
        request.initialDir = state.DataFolder;
        request.fileName =
            detail::safeNamePart(std::string(textAt(state.NavaidRecord, nav::identifier))) + fileSuffix(svType);
        const std::string fullPath = s_.questions->SaveFileAs(request);
        const auto slash = fullPath.rfind('/');
        const std::string title = slash == std::string::npos ? fullPath : fullPath.substr(slash + 1);
        if (title.empty()) return;

        crv::common::DeleteFiles(pattern);
        const std::string header = std::string("Searching for potential sources of interference:") + kCR + kCR;
        std::int32_t total = 0;
        struct Search {
            std::int16_t database;
            const char* text;
            bool used;
        } searches[] = {{CRV_DB_FM, "Searching FCC database...", true},
                        {CRV_DB_NAVAID, "Searching QVA database...", state.UseQVADB > 0},
                        {CRV_DB_COM, "Searching COM database...", state.UseCOMDB > 0}};
        for (const auto& search : searches) {
            if (!search.used) continue;
            progress.Initialize(header + search.text);
            progressShown = true;
            std::int16_t status = 0, hits = 0;
            s_.engine->SearchDB(search.database, record, progressFunction(), status, hits);
            if (status != CRV_STATUS_DONE) return finish();
            total += hits;
        }
        if (total > 32767) throw detail::RunError("Overflow: more than 32767 RF sources found.");
        if (total == 0) {
            progress.Remove();
            progressShown = false;
            Message none;
            none.text = std::string(" No RF sources found. ") + kCR + " Modify selected navaid or search parameters. ";
            none.title = "Simulation Search";
            none.icon = MessageIcon::Exclamation;
            s_.messages->present(none);
            crv::common::DeleteFiles(pattern);
            return;
        }

        progress.Initialize(header + "Writing output files...");
        std::int32_t n = total;
        bool cancel = false;
        writeRFSrcReports(record, radius, n, cancel, fullPath);
        if (cancel) return finish();

        // The new case exists: only now do the settings name it.
        state.CaseFile = title;
        state.DataFolder = fullPath.substr(0, fullPath.size() - title.size());
        (void)crv::common::SavePaths(state, *s_.settings);
        crv::common::AddRecentFile(state, state.DataFolder + state.CaseFile, *s_.settings, s_.recentMenu);

        progress.FinalMsg(n == 1 ? std::string("One RF source found.") : detail::countText(n) + " RF sources found.");
        progress.Remove();
        progressShown = false;
        s_.processEvents();
        crv::common::DeleteFiles(pattern);
        count = n;
    } catch (const std::exception& e) {
        crv::common::ShowUnexpectedError(*s_.messages, "SearchForRFSources", e.what());
        finish();
    } catch (...) {
        crv::common::ShowUnexpectedError(*s_.messages, "SearchForRFSources", "Unknown error");
        finish();
    }
}

}  // namespace crv::main::run
