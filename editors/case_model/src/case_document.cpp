// Opening and saving one case with the editor's checks.
#include "crv/editors/case_document.h"

#include "crv/common/text_utils.h"

namespace crv::editors {

using crv::platform::Expected;
using crv::platform::makeError;

std::string SaveFindings::message(const std::string& caseFile) const {
    if (errorFree) return {};
    std::string text = " Errors in " + caseFile + ": \r" + invalidDataText + patternText + proponentText;
    for (const auto& e : dataErrors) text += "\r " + e + " ";
    return text;
}

CaseDocument::CaseDocument(const FieldDictionary& dictionary)
    : pages(dictionary), table(dictionary), dictionary_(&dictionary) {}

void CaseDocument::setModified(bool on) {
    pages.modified = on;
    table.modified = on;
}

void CaseDocument::setCheckDue(bool on) {
    pages.checkDue = on;
    table.checkDue = on;
}

Expected<std::vector<std::string>> CaseDocument::open(const std::string& path, const LLDistFunction& lldist) {
    auto data = LoadDataFile(path, *dictionary_);
    if (!data) return makeError(data.error());
    std::vector<std::string> replaced = data->replacedCodes;

    // Built aside and taken over whole, so a failure cannot leave half a case.
    RfTable newTable = table;  // keeps the pattern options of the user folder
    newTable.loadRows(data->rows, &replaced);
    if (newTable.rowCount() == 0) newTable.InsertDefaultRow(1);
    CasePages newPages = pages;
    newPages.load(*data, std::nullopt);
    std::optional<float> bearing;
    if (lldist)
        bearing = newTable.ProponentBearing(static_cast<float>(newPages.navaidLatitude()),
                                            static_cast<float>(newPages.navaidLongitude()), lldist);
    newPages.UpdateGridFields(bearing);

    table = std::move(newTable);
    pages = std::move(newPages);
    setModified(false);
    setCheckDue(true);
    return replaced;
}

CheckOutcome CaseDocument::CheckIntermods() {
    const CheckOutcome out = table.CheckIntermods(pages.navaidFrequencyText(), pages.intermodOption());
    setCheckDue(false);
    return out;
}

SaveFindings CaseDocument::saveChecks() {
    // Checked in the order the file will hold the rows.
    table.SortRFSources();
    SaveFindings f;
    if (checkDue()) {
        const CheckOutcome out = CheckIntermods();
        f.checkRan = true;
        f.dummyOffered = out.dummyOffered;
        f.errorFree = out.ok;
    }
    if (table.invalidRows()) {
        f.errorFree = false;
        f.invalidDataText = "\r Invalid RF source data. ";
    }
    const std::string missing = table.missingPattern();
    if (!missing.empty()) {
        f.errorFree = false;
        f.patternText = "\r Pattern file " + missing + ".pat not found. ";
    }
    const int proponents = table.proponentCount();
    if (proponents == 0) {
        f.errorFree = false;
        f.proponentText = "\r No proponent selected. ";
    } else if (proponents > 1) {
        const int grid = pages.fieldNumber(4, "Grid Type");
        const int option = grid ? pages.selectedOption(grid) : -1;
        const auto options = grid ? pages.optionTexts(grid) : std::vector<std::string>{};
        if (option >= 0 && option < static_cast<int>(options.size()) &&
            options[static_cast<std::size_t>(option)].find("Proponent") != std::string::npos) {
            f.errorFree = false;
            f.proponentText = "\r Multiple proponents not allowed with vertical grid. ";
        }
    }
    f.dataErrors = caseDataErrors(pages, table);
    if (!f.dataErrors.empty()) f.errorFree = false;
    return f;
}

CaseData CaseDocument::caseData() {
    table.SortRFSources();
    CaseData d;
    pages.store(d);
    d.rows = table.rowPieces();
    return d;
}

Expected<SaveFindings> CaseDocument::save(const std::string& path) {
    SaveFindings findings = saveChecks();
    auto written = SaveDataFile(path, caseData(), *dictionary_, findings.errorFree);
    if (!written) return makeError(written.error());
    setModified(false);
    return findings;
}

}  // namespace crv::editors
