#include "crv/main/app/entry_points.h"

namespace crv::main {

using crv::common::Message;

Message notAvailableMessage(const std::string& what) {
    return {" " + what + " is not available yet. ", "Corvane", crv::common::MessageIcon::Information,
            crv::common::MessageButtons::Ok};
}

void fillMissingEntries(EntryPoints& e, crv::common::MessagePresenter& presenter) {
    auto* p = &presenter;
    auto say = [p](const std::string& what) { p->present(notAvailableMessage(what)); };
    if (!e.EditDataFile)
        e.EditDataFile = [say](std::int32_t& result) {
            say("The case data editor");
            result = 1;
        };
    if (!e.EditRadiationPattern) e.EditRadiationPattern = [say] { say("The radiation pattern editor"); };
    if (!e.EditCalibrationData) e.EditCalibrationData = [say] { say("The calibration data editor"); };
    if (!e.EditRcvrTestPts) e.EditRcvrTestPts = [say] { say("The simulation test points editor"); };
    if (!e.DisplayReports)
        e.DisplayReports = [say](const std::string&, const std::string&, bool) { say("The report viewer"); };
    if (!e.DisplayPlots)
        e.DisplayPlots = [say](const std::string&, const std::string&, bool) { say("The plot window"); };
    if (!e.ModifyParameters)
        e.ModifyParameters = [say](bool& changed) {
            say("The plot parameters dialog");
            changed = false;
        };
    if (!e.ShowFiles)
        e.ShowFiles = [say](int, bool) {
            say("The file browser");
            return FileSelection{};
        };
    if (!e.ShowPaths) e.ShowPaths = [say] { say("The Location of Files dialog"); };
    if (!e.ShowOptions) e.ShowOptions = [say] { say("The Options dialog"); };
    if (!e.SetUpPrinter)
        e.SetUpPrinter = [say] {
            say("Printer set-up");
            return false;
        };
    if (!e.ShowHelp) e.ShowHelp = [say](const std::string&) { say("Help"); };
}

}  // namespace crv::main
