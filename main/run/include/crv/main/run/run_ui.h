#pragma once
// What the run controller asks of the user interface. The windows implement
// these; tests script them. No widget is reached from the controller.
#include <cstdint>
#include <functional>
#include <string>

namespace crv::main::run {

// The save dialog of a new case data file.
struct SaveFileRequest {
    std::string title;        // "Save Data File As"
    std::string filter;       // "Data Files (*.dat)|*.dat"
    std::string defaultExt;   // ".dat"
    std::string initialDir;   // ends in "/"
    std::string fileName;     // proposed name, no folder
    bool promptOverwrite = true;  // the dialog asks before an existing file is chosen
};

class RunQuestions {
public:
    virtual ~RunQuestions() = default;
    // frmSrchPar.GetParams: svType and srchRad hold the proposal on entry and
    // the user's choice on OK; on Cancel they are left alone.
    virtual void GetParams(bool backCrs, std::int16_t& svType, float& srchRad, bool& canceled) = 0;
    // The save dialog: the full path chosen, "" when the user cancelled. The
    // user has already agreed to replace an existing file of that name.
    virtual std::string SaveFileAs(const SaveFileRequest& request) = 0;
};

// The viewers' entries the controller prints through. An entry left empty
// makes PrintResults fail with a message naming the missing viewer.
struct ResultViewers {
    // frmReport.DisplayReports: dirPath ends in "/", fileList names joined by "|".
    std::function<void(const std::string& dirPath, const std::string& fileList, bool autoPrint)> DisplayReports;
    // frmPlotScreen.DisplayPlots (the parent is the main window).
    std::function<void(const std::string& dirPath, const std::string& fileList, bool autoPrint)> DisplayPlots;
};

}  // namespace crv::main::run
