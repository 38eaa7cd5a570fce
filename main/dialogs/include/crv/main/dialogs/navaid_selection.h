#pragma once
// The navaid selection list (frmNavSel): the facilities of the navaid search
// plot file "nav@????.plt", each edition's 30 nmi rule, and the navaid record
// of the chosen facility.
#include <array>
#include <functional>
#include <string>
#include <vector>

#include "crv/common/messages.h"
#include "crv/main/dialogs/list_sort.h"

namespace crv::main {

// The service-area rules of the run controller's geometry, handed in so the
// list can be tested with rules of its own.
struct NavaidRules {
    // True when the proponent lies inside the facility's service area widened by `radiusNmi`.
    std::function<bool(int svType, double radiusNmi, double proponentLat, double proponentLon,
                       const std::string& navaidLine)>
        CheckNavaidDistance;
    // The array type of a localizer's antenna description (columns 102-136); 0 when none applies.
    std::function<int(const std::string& description)> GetAntennaType;
};

inline constexpr double kNavaidLimitNmi = 30.0;

struct NavaidItem {
    std::string key;                     // "N" + the facility line's number, "0000"
    std::array<std::string, 6> columns;  // ID, frequency, course, latitude, longitude, location
    int lineNumber = 0;                  // 1-based among the facility lines
    bool inside = false;
};

struct NavaidList {
    std::string fileName;                   // the file listed (no folder)
    std::vector<std::string> facilityLines;  // every facility line, in file order
    std::string proponentRecord;            // the line after the terminator
    std::vector<NavaidItem> items;          // the listed facilities, in file order
    std::string error;                      // the message that ends the selection, "" when listed
};

inline const std::array<const char*, 6> kNavaidHeaders = {"   ID", "Freq   ", "Crs  ", "Latitude", "Longitude",
                                                           "  Location"};
inline constexpr const char* kNavaidSelectionTitle = "Navaid Selection";

// The first "nav@????.plt" of the output folder (names compared without
// letter case), "" when there is none.
std::string FindNavaidSearchFile(const std::string& outputFolder);

// Lists the file of the output folder by the edition's rule: the field
// edition lists only the facilities inside the widened area; the scientific
// edition lists all and marks those inside with "* ". A file without its
// " $$$" terminator (or in the old "999" layout), and an empty list, end the
// selection with a message in `error`.
NavaidList ListNavaids(const std::string& outputFolder, const std::string& modelType, const NavaidRules& rules);
// The same from a named file (tests).
NavaidList ListNavaidFile(const std::string& path, const std::string& modelType, const NavaidRules& rules);

// The navaid record of a facility line: its first 72 characters with the
// transmitter power and array type set by the facility kind.
std::string NavaidRecordOfLine(const std::string& line, const NavaidRules& rules);

// The messages shown when the list opens.
crv::common::Message AsteriskNote();                // scientific edition
std::string ExplainText(std::size_t listedCount);   // field edition's label

}  // namespace crv::main
