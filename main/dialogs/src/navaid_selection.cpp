#include "crv/main/dialogs/navaid_selection.h"

#include "crv/common/conversions.h"
#include "crv/common/file_system.h"
#include "crv/common/lat_lon.h"
#include "crv/common/text_utils.h"
#include "crv/main/dialogs/manual_navaid.h"
#include "crv/platform/text_file.h"

namespace crv::main {

using namespace crv::common;

namespace {

constexpr char kCRs = '\r';

std::string rtrim(std::string s) {
    while (!s.empty() && s.back() == ' ') s.pop_back();
    return s;
}

bool isTerminator(const std::string& line) { return Mid(line, 2, 3) == "$$$"; }

int svTypeOf(const std::string& line) { return static_cast<int>(roundHalfEven(Val(Mid(line, 58, 2)))); }

NavaidItem itemOf(const std::string& line, int n, bool inside, bool scientific) {
    NavaidItem item;
    item.key = "N" + formatDecimal(n, 0, 4);
    item.lineNumber = n;
    item.inside = inside;
    const int type = svTypeOf(line);
    item.columns[0] = std::string(scientific && inside ? "* " : "  ") + Mid(line, 2, 3);
    item.columns[1] = Mid(line, 10, 7);
    item.columns[2] = type <= 4 ? Mid(line, 6, 3) : (type <= 7 ? "VOR" : "COM");
    item.columns[3] = FormatLatLon(ParseLatLon(Mid(line, 18, 9)), 1, 1);
    item.columns[4] = FormatLatLon(ParseLatLon(Mid(line, 28, 10)), 2, 1);
    item.columns[5] = rtrim(" " + Mid(line, 99, 2) + "  " + Mid(line, 74, 20));
    return item;
}

}  // namespace

std::string FindNavaidSearchFile(const std::string& outputFolder) {
    if (outputFolder.empty()) return {};
    for (const DirEntry& e : FindEntries(outputFolder, "nav@????.plt"))
        if (!e.isFolder) return e.name;
    return {};
}

NavaidList ListNavaids(const std::string& outputFolder, const std::string& modelType, const NavaidRules& rules) {
    const std::string name = FindNavaidSearchFile(outputFolder);
    if (name.empty()) {
        NavaidList list;
        list.error = std::string(" Could not find a navaid search file. ") + kCRs +
                     " Select \"Database Search\" or \"Manual Entry\" " + kCRs + " from the Navaid menu. ";
        return list;
    }
    NavaidList list = ListNavaidFile(AddBackslash(outputFolder) + name, modelType, rules);
    list.fileName = name;
    return list;
}

NavaidList ListNavaidFile(const std::string& path, const std::string& modelType, const NavaidRules& rules) {
    NavaidList list;
    auto lines = crv::platform::readTextLines(path);
    if (!lines) {
        list.error = " Could not read the navaid search file " + path + ". ";
        return list;
    }
    // The file must be of the current layout and end its facility list with
    // " $$$" followed by the proponent line; anything else would be read past
    // its end.
    std::size_t terminator = lines->size();
    for (std::size_t i = 1; i < lines->size(); ++i)
        if (isTerminator((*lines)[i])) {
            terminator = i;
            break;
        }
    if (lines->empty() || (*lines)[0].find("CRV Version") == std::string::npos || terminator + 1 >= lines->size()) {
        list.error = " The navaid search file " + path + " is incomplete or of an old layout. " + kCRs +
                     " Search the databases again. ";
        return list;
    }
    list.proponentRecord = (*lines)[terminator + 1];
    const double propLat = ParseLatLon(Mid(list.proponentRecord, 18, 9));
    const double propLon = ParseLatLon(Mid(list.proponentRecord, 28, 10));
    const bool scientific = modelType == "SCI";
    int n = 0;
    for (std::size_t i = 1; i < terminator; ++i) {
        const std::string& line = (*lines)[i];
        if (line.empty()) continue;
        list.facilityLines.push_back(line);
        ++n;
        const bool inside = rules.CheckNavaidDistance &&
                            rules.CheckNavaidDistance(svTypeOf(line), kNavaidLimitNmi, propLat, propLon, line);
        if (!scientific && !inside) continue;
        list.items.push_back(itemOf(line, n, inside, scientific));
    }
    if (list.items.empty())
        list.error = std::string(" No navaids were found that were within the ") + kCRs +
                     " search radius  of the current proponent. ";
    return list;
}

std::string NavaidRecordOfLine(const std::string& line, const NavaidRules& rules) {
    std::string record = leftSet(line, kNavaidRecordLength);
    const int type = svTypeOf(line);
    int arrayType = 37;
    if (type <= 3) {
        arrayType = rules.GetAntennaType ? rules.GetAntennaType(Mid(line, 102, 35)) : 0;
        PutColumns(record, 51, 3, " 15");
    } else if (type == 4) {
        arrayType = 35;
        PutColumns(record, 51, 3, "  1");
    } else if (type <= 7) {
        arrayType = 36;
    }
    PutColumns(record, 55, 2, FormatField(arrayType, 2, 0));
    return record;
}

Message AsteriskNote() {
    return {std::string(" All facilities marked with an asterisk (*) fall ") + kCRs + " within the " + "30" +
                " nmi limit and must be evaluated. ",
            kNavaidSelectionTitle, MessageIcon::None, MessageButtons::Ok};
}

std::string ExplainText(std::size_t listedCount) {
    return "Only the " + std::to_string(listedCount) + " navaids that actually\rfall within the 30 nmi limit are shown.";
}

}  // namespace crv::main
