#include "crv/main/app/entry_points.h"

namespace crv::main {

using crv::common::Message;

Message missingPartMessage(const std::string& what) {
    return {" This program was built without " + what + ". ", "CRV Error", crv::common::MessageIcon::Exclamation,
            crv::common::MessageButtons::Ok};
}

void fillMissingEntries(EntryPoints& e, crv::common::MessagePresenter& presenter) {
    auto* p = &presenter;
    auto say = [p](const std::string& what) { p->present(missingPartMessage(what)); };
    if (!e.EditDataFile)
        e.EditDataFile = [say](std::int32_t& result) {
            say("the case data editor");
            result = 1;
        };
    if (!e.EditRadiationPattern) e.EditRadiationPattern = [say] { say("the radiation pattern editor"); };
    if (!e.EditCalibrationData) e.EditCalibrationData = [say] { say("the calibration data editor"); };
    if (!e.EditRcvrTestPts) e.EditRcvrTestPts = [say] { say("the simulation test points editor"); };
    if (!e.DisplayReports)
        e.DisplayReports = [say](const std::string&, const std::string&, bool) { say("the report viewer"); };
    if (!e.DisplayPlots)
        e.DisplayPlots = [say](const std::string&, const std::string&, bool) { say("the plot window"); };
    if (!e.ModifyParameters)
        e.ModifyParameters = [say](bool& changed) {
            say("the plot parameters dialog");
            changed = false;
        };
    if (!e.ShowFiles)
        e.ShowFiles = [say](int, bool) {
            say("the file browser");
            return FileSelection{};
        };
    if (!e.ShowPaths) e.ShowPaths = [say] { say("the Location of Files dialog"); };
    if (!e.ShowOptions) e.ShowOptions = [say] { say("the Options dialog"); };
    if (!e.SetUpPrinter)
        e.SetUpPrinter = [say] {
            say("the printer set-up");
            return false;
        };
    if (!e.ShowHelp) e.ShowHelp = [say](const std::string&) { say("the help window"); };
}

}  // namespace crv::main
