#include "crv/main/app/qt/program.h"

#include <stdexcept>

#include "crv/common/ui/qt/frm_file_sel.h"
#include "crv/common/ui/qt/frm_options.h"
#include "crv/common/ui/qt/frm_paths.h"
#include "crv/common/ui/qt/help.h"
#include "crv/common/ui/qt/printing.h"
#include "crv/common/ui/qt/recent_files_menu.h"
#include "crv/editors/field_dictionary.h"
#include "crv/main/dialogs/qt/frm_nav_data.h"
#include "crv/main/dialogs/qt/frm_nav_sel.h"
#include "crv/main/dialogs/qt/frm_prop_data.h"
#include "crv/main/dialogs/qt/frm_prop_sel.h"

static void initMainAppHelp() { Q_INIT_RESOURCE(main_app_help); }

namespace crv::main::qt {

QtNewCaseDialogs::QtNewCaseDialogs(QWidget*& parent, crv::common::AppState& state, crv::platform::SettingsStore& store,
                                   crv::common::MessagePresenter& presenter, const NavaidRules& rules)
    : parent_(parent), state_(state), store_(store), presenter_(presenter), rules_(rules) {}

void QtNewCaseDialogs::GetParams(float& latitude, float& longitude, float& searchRadius, bool& manual, bool& canceled) {
    frmPropData::GetParams(parent_, state_, store_, presenter_, latitude, longitude, searchRadius, manual, canceled);
}

void QtNewCaseDialogs::SelectProponent(bool& canceled, bool& manual) {
    frmPropSel::SelectProponent(parent_, state_, presenter_, canceled, manual);
}

void QtNewCaseDialogs::SelectNavaid(bool& canceled) {
    frmNavSel::SelectNavaid(parent_, state_, presenter_, rules_, canceled);
}

void QtNewCaseDialogs::ManualNavaidEntry(bool& canceled) {
    frmNavData::ManualNavaidEntry(parent_, state_, store_, presenter_, canceled);
}

// Passes every call to the run control the program was given last.
class Program::RunForwarder : public RunControl {
public:
    explicit RunForwarder(Program& p) : p_(p) {}
    // Every program is built with its run controller (ProgramSetup); one
    // missing is a fault of the build, reported by the command that met it.
    RunControl& target() const {
        if (!p_.runRef_) throw std::logic_error("The program has no run controller.");
        return *p_.runRef_;
    }
    void SearchForProponents(float a, float b, float c, std::int32_t& n) override {
        target().SearchForProponents(a, b, c, n);
    }
    void SearchForNavaids(std::int32_t& n) override { target().SearchForNavaids(n); }
    void SearchForRFSources(std::int32_t& n) override { target().SearchForRFSources(n); }
    void RunSimulation(const std::string& f, const std::string& c) override { target().RunSimulation(f, c); }
    void PrintResults(const std::string& f) override { target().PrintResults(f); }
    void requestCancel() override { target().requestCancel(); }

private:
    Program& p_;
};

std::string editionCodeOf(crv::resources::Edition edition) {
    return crv::editors::FieldDictionary::forEdition(edition).editionCode();
}

Program::Program(crv::resources::Edition e, crv::common::MessagePresenter& p, const std::string& settingsPath)
    : edition(e),
      editionCode(editionCodeOf(e)),
      identity(crv::resources::identityOf(e)),
      store(settingsPath.empty() ? crv::platform::settingsFilePath() : settingsPath),
      presenter(p) {
    initMainAppHelp();
    forwarder_ = std::make_unique<RunForwarder>(*this);
    dialogs_ = std::make_unique<QtNewCaseDialogs>(parentWidget_, state, store, presenter, rules);
    controller_ = std::make_unique<MainController>(
        MainServices{state, store, presenter, entries, *forwarder_, *dialogs_, identity});
    window_ = std::make_unique<frmMainMenu>(*controller_, state, presenter, identity.caption);
    parentWidget_ = window_.get();
}

Program::~Program() = default;

crv::common::ui::frmFileSel& Program::fileBrowser() {
    if (!browser_) browser_ = std::make_unique<crv::common::ui::frmFileSel>(state, &presenter, window_.get());
    return *browser_;
}

RunControl& Program::runControl() { return *forwarder_; }

void Program::wireCommonWindows() {
    if (!entries.ShowFiles)
        entries.ShowFiles = [this](int kind, bool reload) {
            fileBrowser();
            browser_->ShowFiles(kind, reload);
            return FileSelection{browser_->SelPath(), browser_->SelFile(), browser_->FileKind()};
        };
    if (!entries.ShowPaths)
        entries.ShowPaths = [this] {
            crv::common::ui::ShowPaths(window_.get(), state, store, &crv::common::ui::RecentFilesNotifier::instance(),
                                       presenter);
        };
    if (!entries.ShowOptions)
        entries.ShowOptions = [this] { crv::common::ui::ShowOptions(window_.get(), state, store, presenter); };
    if (!entries.SetUpPrinter) entries.SetUpPrinter = [this] { return crv::common::ui::SetUpPrinter(window_.get()); };
    if (!entries.ShowHelp)
        entries.ShowHelp = [](const std::string& topic) {
            crv::common::ui::showHelp(QString::fromLatin1(topic.c_str()));
        };
}

void Program::start() {
    wireCommonWindows();
    fillMissingEntries(entries, presenter);
    controller_->Startup(editionCode, &crv::common::ui::RecentFilesNotifier::instance());
    window_->startUp();
    window_->show();
}

}  // namespace crv::main::qt
