#pragma once
// The facility searches of the new-case workflow, the search files they
// write and the simulation run, with the engine and the user interface as
// seams. Every engine call runs behind the progress display, one at a time.
#include <cstdint>
#include <functional>
#include <string>

#include "crv/binding/engine_api.h"
#include "crv/common/app_state.h"
#include "crv/common/configuration.h"
#include "crv/common/messages.h"
#include "crv/common/progress_display.h"
#include "crv/main/run/run_ui.h"
#include "crv/platform/settings_store.h"

namespace crv::main::run {

using crv::binding::SearchParams;

struct RunServices {
    crv::common::AppState* state = nullptr;
    crv::platform::SettingsStore* settings = nullptr;
    crv::binding::EngineApi* engine = nullptr;
    crv::common::ProgressDisplay* progress = nullptr;
    crv::common::MessagePresenter* messages = nullptr;
    RunQuestions* questions = nullptr;
    ResultViewers viewers;
    crv::common::RecentFilesMenu* recentMenu = nullptr;
    // Lets pending window events run (after a closing result line).
    std::function<void()> processEvents;
    // Today as "mm/dd/yy"; empty means the system clock.
    std::function<std::string()> today;
};

// The message shown when a search or run is asked for while one is running.
crv::common::Message engineBusyMessage();

class RunController {
public:
    explicit RunController(RunServices services);

    // FM stations around a site into "RfiSrch1.tmp" for the proponent
    // selection; count 0 after no hits, cancel or failure.
    void SearchForProponents(float latitude, float longitude, float radiusNmi, std::int32_t& count);
    // Navaid and COM facilities around the proponent into the navaid search
    // files; count = distinct facilities written.
    void SearchForNavaids(std::int32_t& count);
    // The RF sources around the chosen navaid into the FM search files and a
    // new case data file; count = RF-source lines of the new case.
    void SearchForRFSources(std::int32_t& count);
    // One simulation of `caseFile` (a name in DataFolder) in `runFolder`.
    void RunSimulation(const std::string& runFolder, const std::string& caseFile);
    // Prints "Rfi.txt" and every result plot of the run folder; throws when a
    // viewer is missing (the caller reports it).
    void PrintResults(const std::string& runFolder);

    // The search file writers; cancel is true (or -1) after Cancel or failure.
    void WriteNavReports(const crv::binding::SearchParams& record, std::int16_t& total, std::int16_t& cancel);
    void WriteRFSrcReports(const crv::binding::SearchParams& record, float radiusNmi, std::int16_t& count,
                           bool& cancel);

    // The engine's progress callback: moves the bar, sets cancel from the
    // display's Canceled flag or a cancel request.
    void ProgressCallback(std::int32_t percent, std::int16_t& cancel);

    // True while a search or run is in progress.
    bool busy() const { return busy_; }
    // Asks a running search or run to stop at its next progress point (the
    // main window closing during a call).
    void requestCancel() { cancelRequested_ = true; }

private:
    friend class RunGuard;
    crv::binding::Progress progressFunction();
    // WriteRFSrcReports with the new case file's full path.
    void writeRFSrcReports(const crv::binding::SearchParams& record, float radiusNmi, std::int32_t& count, bool& cancel,
                           const std::string& casePath);

    RunServices s_;
    bool busy_ = false;
    bool cancelRequested_ = false;
};

}  // namespace crv::main::run
