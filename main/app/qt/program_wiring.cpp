#include "program_wiring.h"

#include <memory>

#include "crv/main/app/qt/program.h"
#include "frm_rcvr_pts.h"
#include "frm_user_data.h"
#include "plot_dialogs.h"
#include "qt_site_editor_host.h"

namespace crv::main::qt {

void wireEditorsAndViewers(Program& program) {
    // The site editors' host lives as long as the program.
    static std::unique_ptr<editors::QtSiteEditorHost> host;
    host = std::make_unique<editors::QtSiteEditorHost>(program.state, program.store, &program.window());
    host->fileBrowser = [&program](int kind, bool keep) -> std::string {
        const FileSelection chosen = program.entries.ShowFiles(kind, keep);
        return chosen.SelFile.empty() ? std::string() : chosen.SelPath + chosen.SelFile;
    };
    host->plotWindow = [&program](const std::string& folder, const std::string& file) {
        program.entries.DisplayPlots(folder, file, false);
    };
    program.entries.EditRadiationPattern = [&program] {
        editors::EditRadiationPattern(*host, &program.window());
    };
    program.entries.EditCalibrationData = [&program] { editors::EditCalibrationData(*host, &program.window()); };
    program.entries.EditRcvrTestPts = [&program] { editors::EditRcvrTestPts(*host, &program.window()); };
    program.entries.ModifyParameters = [&program](bool& changed) {
        changed = viewers::ModifyParameters(program.state, program.store, &program.window());
    };
}

}  // namespace crv::main::qt
