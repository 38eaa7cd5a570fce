#pragma once
// One open case as the case data editor works on it: its pages, its RF-source
// table and the modified and check-due flags, opened all or nothing and saved
// after the checks that decide the checked mark.
#include <string>
#include <vector>

#include "crv/editors/case_file.h"
#include "crv/editors/case_pages.h"
#include "crv/editors/rf_table.h"
#include "crv/platform/expected.h"

namespace crv::editors {

// What the save-time checks found. The texts are the parts of the save
// warning, each "" when it does not apply.
struct SaveFindings {
    bool errorFree = true;
    bool checkRan = false;        // the check was due and ran (without its offer)
    bool dummyOffered = false;    // that run found invalid data
    std::string invalidDataText;  // CR + " Invalid RF source data. "
    std::string patternText;      // CR + " Pattern file NAME.pat not found. "
    std::string proponentText;    // CR + " No proponent selected. " or the vertical-grid text
    // Values the engine or the field ranges refuse (page fields, a station on
    // the navaid frequency, RF positions): each keeps the mark off as well.
    std::vector<std::string> dataErrors;

    // " Errors in FILE: " CR and the texts that apply; "" when error-free.
    std::string message(const std::string& caseFile) const;
};

class CaseDocument {
public:
    explicit CaseDocument(const FieldDictionary& dictionary);

    const FieldDictionary& dictionary() const { return *dictionary_; }
    CasePages pages;
    RfTable table;

    bool modified() const { return pages.modified || table.modified; }
    bool checkDue() const { return pages.checkDue || table.checkDue; }
    void setModified(bool on);
    void setCheckDue(bool on);

    // Reads a case file. Parsed in full first: on failure the case shown so
    // far stays exactly as it was. On success the rows are sorted, flagged
    // and range-checked, the dependent fields set, the flags cleared and the
    // check made due. Returns the list codes the running edition does not
    // offer and replaced by defaults ("label: code"), for the editor to show.
    // A file without RF-source rows gets one row of defaults.
    crv::platform::Expected<std::vector<std::string>> open(const std::string& path, const LLDistFunction& lldist);

    // Runs the check: recomputes the rows that take part and clears the
    // check-due flag.
    CheckOutcome CheckIntermods();

    // The save-time checks: the check when it is due, then the rows, the
    // pattern files, the proponents and the data the engine would refuse.
    SaveFindings saveChecks();

    // The case as the writer takes it (rows sorted first).
    CaseData caseData();

    // saveChecks, then the file through a temporary file; the modified flag
    // is cleared only when the file was written.
    crv::platform::Expected<SaveFindings> save(const std::string& path);

private:
    const FieldDictionary* dictionary_;
};

}  // namespace crv::editors
