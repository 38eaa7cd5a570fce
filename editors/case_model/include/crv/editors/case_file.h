#pragma once
// Reading and writing the case data file: the version line, the navaid line,
// the RF-source lines up to " $$$$", the options line, the case line and the
// option-text lines the engine prints in its report. The columns come from
// the field dictionary: each field is a blank and then exactly its width.
#include <string>
#include <vector>

#include "crv/editors/field_dictionary.h"
#include "crv/platform/expected.h"

namespace crv::editors {

// One case as held between the file and the editor. Each page holds one text
// per non-gap field of the page, in dictionary order:
//  text/date: the trimmed text; integer/real: the number's text; position:
//  the file's degrees-minutes-seconds piece; list and check box: the code.
// RF rows keep their pieces untrimmed (the table shows them that way).
struct CaseData {
    std::vector<std::string> casePage;     // page 1
    std::vector<std::string> navaidPage;   // page 2
    std::vector<std::vector<std::string>> rows;  // page 3
    std::vector<std::string> optionsPage;  // page 4
    bool checkedMark = false;              // the navaid line carried the mark
    // List values the file held outside the running edition's range, replaced
    // by the field default: "label: code" each, for the editor to tell the user.
    std::vector<std::string> replacedCodes;
};

// Parses the lines of a current-layout file (line 1 the version line). All
// or nothing: a failure names the line and leaves no partial result.
crv::platform::Expected<CaseData> ReadCaseLines(const std::vector<std::string>& lines,
                                                const FieldDictionary& dictionary);

// Reads a case file, bringing an older layout to the current one first. A
// file that is not a case data file is refused and left as it was.
crv::platform::Expected<CaseData> LoadDataFile(const std::string& path, const FieldDictionary& dictionary);

// One page's line(s): pages 1, 2 and 4 give one line (page 2 with the checked
// mark when errorFree), page 3 every row and the terminator. Fails, naming
// the field, on a value the layout cannot hold (a number wider than its field,
// a call sign beginning "$$$$") instead of writing it cut.
crv::platform::Expected<std::vector<std::string>> WritePage(int page, const CaseData& data,
                                                           const FieldDictionary& dictionary, bool errorFree);

// The whole file as lines, without line ends.
crv::platform::Expected<std::vector<std::string>> CaseFileLines(const CaseData& data,
                                                               const FieldDictionary& dictionary, bool errorFree);

// Writes the file (Windows-1252 bytes as held, CR LF) through a temporary file
// in the same folder renamed over the target, keeping its permissions. A
// failure leaves the old file whole and is returned, never success.
crv::platform::Expected<void> SaveDataFile(const std::string& path, const CaseData& data,
                                           const FieldDictionary& dictionary, bool errorFree);

}  // namespace crv::editors
