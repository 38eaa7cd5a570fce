#include "crv/main/dialogs/proponent_selection.h"

#include "crv/common/conversions.h"
#include "crv/common/lat_lon.h"
#include "crv/formats/search_lines.h"
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
    namespace fm = crv::formats::fm_proponent_line;
    using crv::formats::textAt;
    item.columns[0] = std::string(crv::platform::trimBlanks(textAt(line, fm::callSign)));
    item.columns[1] = std::string(textAt(line, fm::frequency));
    item.columns[2] = std::string(textAt(line, fm::licenceStatus));
    item.columns[3] = FormatLatLon(ParseLatLon(textAt(line, fm::latitude)), 1, 1);
    item.columns[4] = FormatLatLon(ParseLatLon(textAt(line, fm::longitude)), 2, 1);
    // The state, then the first 20 characters of the city.
    item.columns[5] = rtrim(" " + std::string(textAt(line, fm::state)) + "  " +
                            std::string(textAt(line, {fm::city.first, fm::city.first + 19})));
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
