#pragma once
// The proponent selection list (frmPropSel): the stations of the FM search
// result file "RfiSrch1.tmp", one item per non-empty line, and the proponent
// record of the chosen one.
#include <array>
#include <string>
#include <vector>

#include "crv/main/dialogs/list_sort.h"

namespace crv::main {

struct ProponentItem {
    std::string key;                    // "P" + the line's number, "0000"
    std::array<std::string, 6> columns;  // call sign, frequency, licence, latitude, longitude, location
    int lineNumber = 0;                  // 1-based, counting non-empty lines
};

struct ProponentList {
    std::vector<ProponentItem> items;
    std::vector<std::string> stationLines;  // the non-empty lines, in file order
    std::string error;                      // the message when the file could not be read
};

inline const std::array<const char*, 6> kProponentHeaders = {"  Prop ID", "Freq  ", "Stat", "Latitude",
                                                              "Longitude", "  Location"};

// Reads the result file; a missing, unreadable or empty file gives an error text.
ProponentList ReadProponentList(const std::string& path);

// The item of one station line.
ProponentItem ProponentItemOf(const std::string& line, int lineNumber);

// The first 52 characters of the chosen station's line, blank-padded.
std::string ProponentRecordOf(const ProponentList& list, const ProponentItem& item);

}  // namespace crv::main
