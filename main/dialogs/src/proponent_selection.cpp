#include "crv/main/dialogs/proponent_selection.h"

#include "crv/common/conversions.h"
#include "crv/common/lat_lon.h"
#include "crv/platform/numbers.h"
#include "crv/platform/text_file.h"

namespace crv::main {

using namespace crv::common;

namespace {
std::string rtrim(std::string s) {
    while (!s.empty() && s.back() == ' ') s.pop_back();
    return s;
}
}  // namespace

ProponentItem ProponentItemOf(const std::string& line, int lineNumber) {
    ProponentItem item;
    item.lineNumber = lineNumber;
    item.key = "P" + formatDecimal(lineNumber, 0, 4);
    item.columns[0] = std::string(crv::platform::trimBlanks(Mid(line, 2, 7)));
    item.columns[1] = Mid(line, 10, 7);
    item.columns[2] = Mid(line, 88, 3);
    item.columns[3] = FormatLatLon(ParseLatLon(Mid(line, 18, 9)), 1, 1);
    item.columns[4] = FormatLatLon(ParseLatLon(Mid(line, 28, 10)), 2, 1);
    item.columns[5] = rtrim(" " + Mid(line, 85, 2) + "  " + Mid(line, 54, 20));
    return item;
}

ProponentList ReadProponentList(const std::string& path) {
    ProponentList list;
    auto lines = crv::platform::readTextLines(path);
    if (!lines) {
        list.error = " Could not read the FM search results " + path + ". ";
        return list;
    }
    for (const std::string& line : *lines) {
        if (line.empty()) continue;
        list.stationLines.push_back(line);
        list.items.push_back(ProponentItemOf(line, static_cast<int>(list.stationLines.size())));
    }
    if (list.items.empty()) list.error = " No FM facilities found. ";
    return list;
}

std::string ProponentRecordOf(const ProponentList& list, const ProponentItem& item) {
    const auto n = static_cast<std::size_t>(item.lineNumber);
    if (n < 1 || n > list.stationLines.size()) return {};
    return leftSet(list.stationLines[n - 1], 52);
}

}  // namespace crv::main
