#pragma once
// What the main window asks of the search and run controller and of the
// new-case dialogs. The program binds the real ones; tests script fakes.
#include <cstdint>
#include <string>

namespace crv::main {

class RunControl {
public:
    virtual ~RunControl() = default;
    virtual void SearchForProponents(float latitude, float longitude, float radiusNmi, std::int32_t& count) = 0;
    virtual void SearchForNavaids(std::int32_t& count) = 0;
    virtual void SearchForRFSources(std::int32_t& count) = 0;
    virtual void RunSimulation(const std::string& runFolder, const std::string& caseFile) = 0;
    virtual void PrintResults(const std::string& runFolder) = 0;
    // Asks a running engine call to stop at its next progress point.
    virtual void requestCancel() {}
};

class NewCaseDialogs {
public:
    virtual ~NewCaseDialogs() = default;
    // frmPropData.GetParams: Manual is read on entry.
    virtual void GetParams(float& latitude, float& longitude, float& searchRadius, bool& manual, bool& canceled) = 0;
    // frmPropSel.SelectProponent.
    virtual void SelectProponent(bool& canceled, bool& manual) = 0;
    // frmNavSel.SelectNavaid.
    virtual void SelectNavaid(bool& canceled) = 0;
    // frmNavData.ManualNavaidEntry.
    virtual void ManualNavaidEntry(bool& canceled) = 0;
};

}  // namespace crv::main
