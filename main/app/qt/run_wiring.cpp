#include "crv/main/app/qt/run_wiring.h"

#include <malloc.h>

#include <QCoreApplication>
#include <QTimer>

#include "crv/binding/engine_api.h"
#include "crv/common/ui/qt/frm_progress.h"
#include "crv/common/ui/qt/recent_files_menu.h"
#include "crv/main/app/qt/program.h"
#include "crv/main/app/qt/run_questions.h"
#include "crv/main/run/run_controller.h"
#include "crv/main/run/search_area.h"

namespace crv::main::qt {

namespace {
// The engine keeps the large blocks a run freed for a few seconds (for the
// next export) and then unmaps them; what the run freed in the allocator's
// heaps stays resident until it is given back. Once the engine's blocks are
// gone, free heap memory goes back to the system too, so the program after a
// run is about as large as before it.
void releaseFreedMemory() {
    constexpr int kAfterEngineKeepsMs = 4000;  // the engine keeps blocks 3 s
    QTimer::singleShot(kAfterEngineKeepsMs, qApp, [] { ::malloc_trim(0); });
}

class ControllerRun : public RunControl {
public:
    explicit ControllerRun(crv::main::run::RunController& c) : c_(c) {}
    void SearchForProponents(float lat, float lon, float radius, std::int32_t& count) override {
        c_.SearchForProponents(lat, lon, radius, count);
    }
    void SearchForNavaids(std::int32_t& count) override { c_.SearchForNavaids(count); }
    void SearchForRFSources(std::int32_t& count) override { c_.SearchForRFSources(count); }
    void RunSimulation(const std::string& folder, const std::string& file) override {
        c_.RunSimulation(folder, file);
        releaseFreedMemory();
    }
    void PrintResults(const std::string& folder) override { c_.PrintResults(folder); }
    void requestCancel() override { c_.requestCancel(); }

private:
    crv::main::run::RunController& c_;
};
}  // namespace

struct RunWiring::Parts {
    QWidget* parent = nullptr;
    std::unique_ptr<crv::common::ui::frmProgress> progress;
    std::unique_ptr<QtRunQuestions> questions;
    std::unique_ptr<crv::main::run::RunController> controller;
    std::unique_ptr<ControllerRun> run;
};

RunWiring::RunWiring(Program& program, crv::binding::EngineApi& engine) : parts_(std::make_unique<Parts>()) {
    Parts& p = *parts_;
    p.parent = &program.window();
    p.progress = std::make_unique<crv::common::ui::frmProgress>(&program.window());
    p.questions = std::make_unique<QtRunQuestions>(p.parent, program.editionCode, program.presenter);
    crv::main::run::RunServices s;
    s.state = &program.state;
    s.settings = &program.store;
    s.engine = &engine;
    s.progress = p.progress.get();
    s.messages = &program.presenter;
    s.questions = p.questions.get();
    // The viewers are looked up at each call: main() may wire them later.
    s.viewers.DisplayReports = [&program](const std::string& d, const std::string& f, bool autoPrint) {
        program.entries.DisplayReports(d, f, autoPrint);
    };
    s.viewers.DisplayPlots = [&program](const std::string& d, const std::string& f, bool autoPrint) {
        program.entries.DisplayPlots(d, f, autoPrint);
    };
    s.recentMenu = &crv::common::ui::RecentFilesNotifier::instance();
    s.processEvents = [] { QCoreApplication::processEvents(); };
    p.controller = std::make_unique<crv::main::run::RunController>(std::move(s));
    p.run = std::make_unique<ControllerRun>(*p.controller);
    program.setRunControl(*p.run);

    auto* e = &engine;
    program.rules.CheckNavaidDistance = [e](int svType, double radius, double lat, double lon,
                                            const std::string& line) {
        return crv::main::run::CheckNavaidDistance(*e, static_cast<std::int16_t>(svType), static_cast<float>(radius),
                                                   static_cast<float>(lat), static_cast<float>(lon), line);
    };
    program.rules.GetAntennaType = [](const std::string& description) {
        return static_cast<int>(crv::main::run::GetAntennaType(description));
    };
}

RunWiring::~RunWiring() = default;

QtRunQuestions& RunWiring::questions() { return *parts_->questions; }
crv::main::run::RunController& RunWiring::controller() { return *parts_->controller; }
crv::common::ui::frmProgress& RunWiring::progress() { return *parts_->progress; }

}  // namespace crv::main::qt
