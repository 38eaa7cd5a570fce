// One simulation run of a case data file, and the printing of its results.
#include "crv/common/case_file_upgrade.h"
#include "crv/common/conversions.h"
#include "crv/common/error_report.h"
#include "crv/common/file_system.h"
#include "crv/common/text_utils.h"
#include "crv/formats/case_file.h"
#include "crv/main/run/run_controller.h"
#include "crv/platform/folder_lock.h"
#include "run_guard.h"
#include "run_support.h"

namespace crv::main::run {

using crv::common::Message;
using crv::common::MessageIcon;
using detail::kCR;

namespace {

// "No", "One case of" or the count and " cases of".
std::string casesPrefix(std::int16_t cases) {
    if (cases == 0) return "No";
    if (cases == 1) return "One case of";
    return detail::countText(cases) + " cases of";
}

bool isSearchPlot(const std::string& name) {
    const auto at = name.find('@');
    if (at == std::string::npos) return false;
    const std::string prefix = crv::common::upperAscii(name.substr(0, at + 1));
    return prefix == "LOC@" || prefix == "NAV@" || prefix == "VOR@" || prefix == "COM@" || prefix == "FM@";
}

}  // namespace

void RunController::RunSimulation(const std::string& runFolder, const std::string& caseFile) {
    RunGuard guard(*this);
    if (!guard.ok()) return;
    auto& progress = *s_.progress;
    const std::string folder = crv::common::AddBackslash(runFolder);
    // One run at a time in a folder, whichever program or driver runs it:
    // two would write their sections into one report.
    crv::platform::FolderLock folderLock;
    if (!folderLock.tryLock(folder)) {
        Message busy;
        busy.text = " The run folder " + folder + " is in use by another run. " + kCR +
                    " Wait for it to end, or run this case in another folder. ";
        busy.title = "Run Simulation";
        busy.icon = MessageIcon::Exclamation;
        s_.messages->present(busy);
        return;
    }
    bool shown = false;
    auto endPath = [&] {
        crv::common::DeleteFiles(folder + "RfiG.txt");
        if (shown) progress.Remove();
    };
    try {
        const std::string path = s_.state->DataFolder + caseFile;
        const auto firstLines = detail::readLines(path);
        const int version = crv::common::GetFileVersion(firstLines.empty() ? std::string() : firstLines[0]);
        if (version != 2) {
            auto upgraded = crv::common::UpgradeDataFile(path, version);
            if (!upgraded) throw detail::RunError(upgraded.error());
        }
        detail::removeAnyCase(folder, "Rfi.plt");
        detail::copyFileReplacing(path, folder + "Rfi.plt");

        const std::string header = "Running simulation for " + caseFile + ":" + kCR + kCR;
        std::int16_t status = 0, cases = 0;
        std::int32_t points = 0, combinations = 0;
        // A Cancel the engine did not see (clicked as a step ended) still
        // stops the run: no later step starts.
        auto canceled = [&] { return progress.Canceled(); };

        progress.Initialize(header + "Generating grid of receiver positions...");
        shown = true;
        s_.engine->Grid(folder, progressFunction(), status, points);
        if (status != CRV_STATUS_DONE || canceled()) return endPath();
        if (points == 0) {
            progress.Remove();
            shown = false;
            Message m;
            m.text = " No grid points generated. ";
            m.title = "Error";
            m.icon = MessageIcon::Exclamation;
            s_.messages->present(m);
            return endPath();
        }
        progress.FinalMsg(points == 1 ? std::string("One grid point generated.")
                                      : detail::countText(points) + " grid points generated.");
        if (canceled()) return endPath();

        progress.Initialize(header + "Checking for A2 and/or B2 interference...");
        s_.engine->Evaluate(folder, progressFunction(), status, cases);
        if (status != CRV_STATUS_DONE || canceled()) return endPath();
        if (cases == 0)
            progress.FinalMsg("No A2/B2 interference found.");
        else if (cases == 1)
            progress.FinalMsg("One case of A2/B2 interference found.");
        else
            progress.FinalMsg(detail::countText(cases) + " cases of A2/B2 interference found.");
        if (canceled()) return endPath();

        progress.Initialize(header + "Checking for two-signal B1 interference...");
        s_.engine->B1_2Sig(folder, progressFunction(), status, cases, combinations);
        if (status != CRV_STATUS_DONE || canceled()) return endPath();
        progress.FinalMsg(casesPrefix(cases) + " two-signal B1 interference found" + kCR + "in " +
                          detail::countText(combinations) + " intermod combinations.");
        if (canceled()) return endPath();

        progress.Initialize(header + "Checking for three-signal B1 interference...");
        s_.engine->B1_3Sig(folder, progressFunction(), status, cases, combinations);
        if (status != CRV_STATUS_DONE || canceled()) return endPath();
        progress.FinalMsg(casesPrefix(cases) + " three-signal B1 interference found" + kCR + "in " +
                          detail::countText(combinations) + " intermod combinations.");
        if (canceled()) return endPath();

        // The ground step belongs to a VHF COM facility (type 8 on the navaid line).
        const auto lines = detail::readLines(path);
        const std::string navaidLine = lines.size() >= 2 ? lines[1] : std::string();
        if (crv::formats::serviceVolumeType(navaidLine) == 8) {
            progress.Initialize(header + "Checking for interference at ground facility...");
            s_.engine->GrndCOM(folder, progressFunction(), status, cases);
            if (status != CRV_STATUS_DONE || canceled()) return endPath();
            progress.FinalMsg(casesPrefix(cases) + " interference found" + kCR + "at the ground facility location.");
        }
        endPath();
    } catch (const std::exception& e) {
        crv::common::ShowUnexpectedError(*s_.messages, "RunSimulation", e.what());
        endPath();
    } catch (...) {
        crv::common::ShowUnexpectedError(*s_.messages, "RunSimulation", "Unknown error");
        endPath();
    }
}

void RunController::PrintResults(const std::string& runFolder) {
    const std::string folder = crv::common::AddBackslash(runFolder);
    const auto reports = crv::common::FindEntries(folder, "Rfi.txt");
    for (const auto& e : reports) {
        if (e.isFolder) continue;
        if (!s_.viewers.DisplayReports) throw detail::RunError("The report viewer is not available.");
        s_.viewers.DisplayReports(folder, e.name, true);
        break;
    }
    std::string plots;
    for (const auto& e : crv::common::FindEntries(folder, "*.plt")) {
        if (e.isFolder || isSearchPlot(e.name)) continue;
        plots += e.name + "|";
    }
    if (plots.empty()) return;
    plots.pop_back();
    if (!s_.viewers.DisplayPlots) throw detail::RunError("The plot window is not available.");
    s_.viewers.DisplayPlots(folder, plots, true);
}

}  // namespace crv::main::run
