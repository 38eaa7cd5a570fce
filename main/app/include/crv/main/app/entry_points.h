#pragma once
// The doors of the main window into the other parts of the program: the
// editors, the viewers, the common dialogs and help. The programs fill every
// one (ProgramSetup); an entry left empty is a fault of the build and says
// so as an error through the message presenter rather than doing nothing.
#include <cstdint>
#include <functional>
#include <string>

#include "crv/common/messages.h"

namespace crv::main {

// What the file browser returned: the folder, the "|"-joined file names ("" when
// cancelled) and the kind the user ended on (reports 3 and plots 4 switch).
struct FileSelection {
    std::string SelPath;
    std::string SelFile;
    int FileKind = 0;
};

struct EntryPoints {
    // frmDataEdit.EditDataFile: 1 exit, 2 run, 3 run and print.
    std::function<void(std::int32_t& editResult)> EditDataFile;
    std::function<void()> EditRadiationPattern;
    std::function<void()> EditCalibrationData;
    std::function<void()> EditRcvrTestPts;
    std::function<void(const std::string& dirPath, const std::string& fileList, bool autoPrint)> DisplayReports;
    std::function<void(const std::string& dirPath, const std::string& fileList, bool autoPrint)> DisplayPlots;
    std::function<void(bool& changed)> ModifyParameters;
    // frmFileSel.ShowFiles(kind, reload).
    std::function<FileSelection(int kind, bool reload)> ShowFiles;
    std::function<void()> ShowPaths;    // frmPaths, modal
    std::function<void()> ShowOptions;  // frmOptions, modal
    // SetUpPrinter: false when the user cancelled.
    std::function<bool()> SetUpPrinter;
    std::function<void(const std::string& topic)> ShowHelp;
};

// The error of an entry the program was built without ("the plot window").
crv::common::Message missingPartMessage(const std::string& what);

// Fills every empty entry with one that shows missingPartMessage (ShowFiles
// then returns an empty selection, SetUpPrinter false, EditDataFile 1).
void fillMissingEntries(EntryPoints& entries, crv::common::MessagePresenter& presenter);

}  // namespace crv::main
