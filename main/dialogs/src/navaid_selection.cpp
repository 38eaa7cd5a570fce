#include "crv/main/dialogs/navaid_selection.h"

#include "crv/common/conversions.h"
#include "crv/common/file_system.h"
#include "crv/common/lat_lon.h"
#include "crv/common/text_utils.h"
#include "crv/formats/case_file.h"
#include "crv/formats/search_lines.h"
#include "crv/formats/search_map_files.h"
#include "crv/main/dialogs/manual_navaid.h"

namespace crv::main {

using namespace crv::common;
using crv::formats::textAt;
namespace nav = crv::formats::navaid_line;
namespace line_ = crv::formats::navaid_search_line;

namespace {

constexpr char kCRs = '\r';

std::string rtrim(std::string s) {
    while (!s.empty() && s.back() == ' ') s.pop_back();
    return s;
}

// A line whose type cannot be read lists as a localizer, as the search
// files never hold one.
int svTypeOf(const std::string& line) { return crv::formats::serviceVolumeType(line).value_or(0); }

std::string at(const std::string& line, crv::formats::Columns c) { return std::string(textAt(line, c)); }

NavaidItem itemOf(const std::string& line, int n, bool inside, bool scientific) {
    NavaidItem item;
    item.key = "N" + formatDecimal(n, 0, 4);
    item.lineNumber = n;
    item.inside = inside;
    const int type = svTypeOf(line);
    item.columns[0] = std::string(scientific && inside ? "* " : "  ") + at(line, nav::identifier);
    item.columns[1] = at(line, nav::frequency);
    item.columns[2] = type <= 4 ? at(line, nav::runwayHeading) : (type <= 7 ? "VOR" : "COM");
    item.columns[3] = FormatLatLon(ParseLatLon(at(line, nav::latitude)), 1, 1);
    item.columns[4] = FormatLatLon(ParseLatLon(at(line, nav::longitude)), 2, 1);
    // The state, then the first 20 characters of the name.
    item.columns[5] = rtrim(" " + at(line, line_::state) + "  " + at(line, {line_::name.first, line_::name.first + 19}));
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
    // The file of the current layout with its " $$$" terminator and the
    // proponent line after it, no larger than a search writes: anything else
    // would be read past its end.
    auto file = crv::formats::readNavaidSearchFile(path);
    if (!file) {
        const bool incomplete = file.error().find("incomplete") != std::string::npos;
        list.error = incomplete ? " The navaid search file " + path + " is incomplete or of an old layout. " + kCRs +
                                      " Search the databases again. "
                                : " Could not read the navaid search file " + path + ". ";
        return list;
    }
    list.proponentRecord = file->proponentRecord;
    const double propLat = ParseLatLon(textAt(list.proponentRecord, crv::formats::rf_source_line::latitude));
    const double propLon = ParseLatLon(textAt(list.proponentRecord, crv::formats::rf_source_line::longitude));
    const bool scientific = modelType == "SCI";
    int n = 0;
    for (const std::string& line : file->facilityLines) {
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
        arrayType = rules.GetAntennaType ? rules.GetAntennaType(at(line, line_::antennaDescription)) : 0;
        crv::formats::putText(record, nav::transmitterPower, " 15");
    } else if (type == 4) {
        arrayType = 35;
        crv::formats::putText(record, nav::transmitterPower, "  1");
    } else if (type <= 7) {
        arrayType = 36;
    }
    crv::formats::putText(record, nav::arrayType, FormatField(arrayType, 2, 0));
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
