// The first two searches of the new-case workflow: FM stations around the
// site the user entered, then navaid and COM facilities around the proponent.
#include <algorithm>

#include "crv/common/configuration.h"
#include "crv/common/conversions.h"
#include "crv/common/error_report.h"
#include "crv/common/file_system.h"
#include "crv/common/lat_lon.h"
#include "crv/formats/case_file.h"
#include "crv/main/run/run_controller.h"
#include "crv/main/run/search_area.h"
#include "crv/platform/text_file.h"
#include "run_guard.h"
#include "run_support.h"

namespace crv::main::run {

using crv::common::Message;
using crv::common::MessageIcon;
using detail::kCR;

namespace {

Message notFound(std::string text, std::string title) {
    Message m;
    m.text = std::move(text);
    m.title = std::move(title);
    m.icon = MessageIcon::Exclamation;
    return m;
}

// The navaid search reaches as far as the widest widened service area that
// can still hold the proponent: a high-altitude VOR's 40 + 30 nmi for the
// navaid database, the largest COM service radius in the COM database + 30
// for the COM database; never less than 60 nmi.
constexpr float kNavaidSearchFloor = 60.0f;
constexpr double kSelectionLimitNmi = 30.0;

float navaidSearchRadius() {
    double reach = kNavaidSearchFloor;
    for (std::int16_t type = 0; type <= 7; ++type)
        reach = std::max(reach, widenedReachNmi(type, 0.0, kSelectionLimitNmi));
    return static_cast<float>(reach);
}

float comSearchRadius(const std::string& comDatabase) {
    return static_cast<float>(std::max<double>(
        kNavaidSearchFloor, widenedReachNmi(8, largestComServiceRadiusNmi(comDatabase), kSelectionLimitNmi)));
}

}  // namespace

void RunController::SearchForProponents(float latitude, float longitude, float radiusNmi, std::int32_t& count) {
    count = 0;
    RunGuard guard(*this);
    if (!guard.ok()) return;
    if (!crv::common::EnsureTempFolder(*s_.state, *s_.messages)) return;
    auto& progress = *s_.progress;
    const std::string temp = s_.state->TempFolder;
    // Only "RfiSrch1.tmp" is read afterwards (by the proponent selection);
    // the report lines of the FM search are never left behind.
    auto abort = [&] {
        progress.Remove();
        crv::common::DeleteFiles(temp + "RfiSrch?.tmp");
        count = 0;
    };
    try {
        progress.Initialize(std::string(1, kCR) + "Searching for FM facilities...");
        crv::common::DeleteFiles(temp + "RfiSrch?.tmp");
        SearchParams record{};
        record.option = 1;
        record.centreLatitude = latitude;
        record.centreLongitude = longitude;
        record.radiusNmi = radiusNmi;
        std::int16_t status = 0, hits = 0;
        s_.engine->SearchDB(CRV_DB_FM, record, progressFunction(), status, hits);
        if (status != CRV_STATUS_DONE) return abort();
        crv::platform::removeFile(temp + "RfiSrch2.tmp");
        if (hits <= 0) {
            crv::platform::removeFile(temp + "RfiSrch1.tmp");
            progress.Remove();
            s_.messages->present(notFound(std::string(" No FM facilities found. ") + kCR + kCR +
                                              " Modify search parameters " + kCR + " or select Manual Entry. ",
                                          "Proponent Search"));
            return;
        }
        progress.FinalMsg(hits == 1 ? std::string("One FM facility found.")
                                    : detail::countText(hits) + " FM facilities found.");
        progress.Remove();
        count = hits;
    } catch (const std::exception& e) {
        crv::common::ShowUnexpectedError(*s_.messages, "SearchForProponents", e.what());
        abort();
    } catch (...) {
        crv::common::ShowUnexpectedError(*s_.messages, "SearchForProponents", "Unknown error");
        abort();
    }
}

void RunController::SearchForNavaids(std::int32_t& count) {
    count = 0;
    RunGuard guard(*this);
    if (!guard.ok()) return;
    if (!crv::common::EnsureTempFolder(*s_.state, *s_.messages)) return;
    auto& progress = *s_.progress;
    auto& state = *s_.state;
    const std::string pattern = state.TempFolder + "RfiSrch?.tmp";
    auto abort = [&] {
        progress.Remove();
        crv::common::DeleteFiles(pattern);
        count = 0;
    };
    try {
        SearchParams record{};
        record.option = 1;
        namespace src = crv::formats::rf_source_line;
        record.centreLatitude =
            static_cast<float>(crv::common::ParseLatLon(crv::formats::textAt(state.ProponentRecord, src::latitude)));
        record.centreLongitude =
            static_cast<float>(crv::common::ParseLatLon(crv::formats::textAt(state.ProponentRecord, src::longitude)));
        crv::common::DeleteFiles(pattern);
        const std::string header = std::string("Searching for navaid facilities:") + kCR + kCR;

        std::int32_t navHits = 0, comHits = 0;
        float searched = kNavaidSearchFloor;
        if (state.UseQVADB > 0) {
            progress.Initialize(header + "Searching QVA database...");
            record.radiusNmi = navaidSearchRadius();
            searched = std::max(searched, record.radiusNmi);
            std::int16_t status = 0, hits = 0;
            s_.engine->SearchDB(CRV_DB_NAVAID, record, progressFunction(), status, hits);
            if (status != CRV_STATUS_DONE) return abort();
            navHits = hits;
        }
        if (state.UseCOMDB > 0) {
            progress.Initialize(header + "Searching COM database...");
            record.radiusNmi = comSearchRadius(state.COMDatabase);
            searched = std::max(searched, record.radiusNmi);
            std::int16_t status = 0, hits = 0;
            s_.engine->SearchDB(CRV_DB_COM, record, progressFunction(), status, hits);
            if (status == CRV_STATUS_CANCELLED) return abort();
            if (status == CRV_STATUS_DONE) comHits = hits;  // a failed COM search keeps the navaid hits
        }
        record.radiusNmi = searched;  // the report names the widest radius searched
        std::int32_t total = navHits + comHits;
        if (total == 0) {
            progress.Remove();
            s_.messages->present(notFound(
                std::string(" No navaid facilities found. ") + kCR + " Retry search or select 'Manual Entry'. ",
                "Navaid Search"));
        } else {
            progress.Initialize(header + "Writing output files...");
            std::int16_t written = static_cast<std::int16_t>(std::min<std::int32_t>(total, 32767));
            std::int16_t cancel = 0;
            WriteNavReports(record, written, cancel);
            if (cancel != 0) return abort();
            total = written;
            progress.FinalMsg(total == 1 ? std::string("One navaid facility found.")
                                         : detail::countText(total) + " navaid facilities found.");
            progress.Remove();
            s_.processEvents();
        }
        crv::common::DeleteFiles(pattern);
        count = total;
    } catch (const std::exception& e) {
        crv::common::ShowUnexpectedError(*s_.messages, "SearchForNavaids", e.what());
        abort();
    } catch (...) {
        crv::common::ShowUnexpectedError(*s_.messages, "SearchForNavaids", "Unknown error");
        abort();
    }
}

}  // namespace crv::main::run
