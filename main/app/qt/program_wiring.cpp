#include "crv/main/app/qt/program_wiring.h"

#include <memory>

#include <QApplication>

#include "crv/binding/engine_library.h"
#include "crv/editors/case_editor/qt/edit_data_file.h"
#include "crv/editors/site_editors/qt/frm_rcvr_pts.h"
#include "crv/editors/site_editors/qt/frm_user_data.h"
#include "crv/editors/site_editors/qt/qt_site_editor_host.h"
#include "crv/main/app/qt/program.h"
#include "crv/viewers/plot_dialogs/qt/plot_dialogs.h"
#include "crv/viewers/plot_window/qt/display_plots.h"
#include "crv/viewers/report_window/qt/display_reports.h"

namespace crv::main::qt {

namespace {
// The search maps place facilities with the engine's own geodesy.
void engineDistLL(float distance, float bearing, float lat, float lon, float* newLat, float* newLon) {
    crv::binding::sharedEngine().DistLL(distance, bearing, lat, lon, *newLat, *newLon);
}
void engineLLDist(float lat1, float lon1, float lat2, float lon2, float* distance, float* bearing) {
    crv::binding::sharedEngine().LLDist(lat1, lon1, lat2, lon2, *distance, *bearing);
}

// The plot window over `parent`, which it hides while it is shown.
void showPlots(Program& program, QWidget* parent, const std::string& folder, const std::string& files, bool autoPrint) {
    viewers::PlotWindowServices services;
    services.state = &program.state;
    services.store = &program.store;
    services.geodesy = {&engineDistLL, &engineLLDist};
    services.presenter = &program.presenter;
    services.fileBrowser = &program.fileBrowser();
    viewers::DisplayPlots(parent, folder, files, autoPrint, services);
}
}  // namespace

void wireEditorsAndViewers(Program& program) {
    program.entries.EditDataFile = [&program](std::int32_t& result) {
        editors::CaseEditorEnvironment env(program.state, program.store, program.presenter);
        env.edition = program.edition;
        env.mainWindow = &program.window();
        env.showFiles = [&program](bool reload) -> std::optional<std::pair<std::string, std::string>> {
            const FileSelection chosen = program.entries.ShowFiles(1, reload);
            if (chosen.SelFile.empty()) return std::nullopt;
            return std::make_pair(chosen.SelPath, chosen.SelFile);
        };
        env.lldist = &engineLLDist;
        env.showHelp = [&program](int topic) { program.entries.ShowHelp(editors::caseEditorHelpTopic(topic)); };
        result = editors::EditDataFile(env);
    };

    program.entries.DisplayPlots = [&program](const std::string& folder, const std::string& files, bool autoPrint) {
        showPlots(program, &program.window(), folder, files, autoPrint);
    };
    program.entries.DisplayReports = [&program](const std::string& folder, const std::string& files, bool autoPrint) {
        viewers::ReportViewerServices services;
        services.parent = &program.window();
        services.presenter = &program.presenter;
        services.fileBrowser = &program.fileBrowser();
        viewers::DisplayReports(folder, files, autoPrint, services);
    };

    // The site editors' host lives as long as the program.
    static std::unique_ptr<editors::QtSiteEditorHost> host;
    // The pattern editor's plot stands in for the editor, which it hides
    // while it is shown; the main window stays hidden behind both.
    auto plotWindow = [&program](const std::string& folder, const std::string& file) {
        QWidget* editor = &program.window();
        for (QWidget* w : QApplication::topLevelWidgets())
            if (qobject_cast<editors::frmUserData*>(w) && w->isVisible()) editor = w;
        showPlots(program, editor, folder, file, false);
    };
    host = std::make_unique<editors::QtSiteEditorHost>(program.state, program.store, plotWindow, &program.window());
    host->fileBrowser = [&program](int kind, bool keep) -> std::string {
        const FileSelection chosen = program.entries.ShowFiles(kind, keep);
        return chosen.SelFile.empty() ? std::string() : chosen.SelPath + chosen.SelFile;
    };
    program.entries.EditRadiationPattern = [&program] { editors::EditRadiationPattern(*host, &program.window()); };
    program.entries.EditCalibrationData = [&program] { editors::EditCalibrationData(*host, &program.window()); };
    program.entries.EditRcvrTestPts = [&program] { editors::EditRcvrTestPts(*host, &program.window()); };
    program.entries.ModifyParameters = [&program](bool& changed) {
        changed = viewers::ModifyParameters(program.state, program.store, &program.window());
    };
}

}  // namespace crv::main::qt
