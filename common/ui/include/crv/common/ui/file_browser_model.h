#pragma once
// What the file browser lists and returns, without a widget: the seven file
// kinds with their captions, file types and start folders, the listing of a
// folder (kind 2 only finished case files), the columns and their sort, the
// item selected first, the "|"-joined selection and the state kept for the
// next opening. The dialog (frm_file_sel.h) only shows this model.
#include <cstdint>
#include <ctime>
#include <string>
#include <vector>

#include "crv/common/app_state.h"
#include "crv/common/file_descriptions.h"

namespace crv::common::ui {

// The columns the list can show, by what they hold. The date columns sort by
// the file's time, the size column by its length in bytes.
enum class BrowserColumn { FileName, Description, DateTime, Date, Size };

struct FileType {
    std::string label;    // "Simulation plots (*.plt)"
    std::string pattern;  // "*.plt", or several joined by ";"
};

enum class StartFolder { Data, Output, User };

struct KindSetup {
    std::string caption;
    std::vector<FileType> types;
    int startType = 0;  // 0-based index into types
    StartFolder folder = StartFolder::Data;
    bool multiple = false;
};

inline constexpr int kFirstKind = 1;
inline constexpr int kLastKind = 7;

bool isValidKind(int kind);
// The setup of a kind (1 to 7); an unknown kind gives kind 1's.
const KindSetup& kindSetup(int kind);
// The visible columns of a kind, "File Name" first.
std::vector<BrowserColumn> columnsOf(int kind);
// The column heading ("Size (byt)", "Date and Time", ...).
std::string columnTitle(BrowserColumn column);
// The sort a kind starts with.
BrowserColumn startSortColumn(int kind);
bool startSortAscending(int kind);

// "mm/dd/yy  hh:mm am/pm" and "mm/dd/yy" in local time.
std::string formatDateTime(std::time_t t);
std::string formatDate(std::time_t t);

// A case file the case editor has passed: the line after the "CRV Version"
// line (or the first line of an old file without one) ends in the character
// 127. A file that cannot be read is not one.
bool isFinishedCaseFile(const std::string& path);

struct FileItem {
    std::string name;         // as the file system spells it
    std::string description;  // kinds 3 to 7
    std::string tip;          // kinds 4 to 7
    std::int64_t sizeBytes = 0;
    std::time_t modified = 0;
    long modifiedNs = 0;  // sub-second part, so files of one second still sort by time
    int key = 0;          // running number in listing order, 1 first
};

// State kept for the next opening with reload.
struct BrowserSavedState {
    bool valid = false;
    int kind = 0;
    std::string folder;   // ends in "/"
    int typeIndex = 0;
    int selectedIndex = -1;  // 0-based row of the first selected item, -1 none
};

class FileBrowserModel {
public:
    // The start folders of the kinds come from here when the browser starts fresh.
    explicit FileBrowserModel(const crv::common::AppState& state) : state_(state) {}

    // Starts fresh for `kind` or, when `reload` and the saved state is of the
    // same kind, keeps type, sort and folder. Returns the folder to open.
    std::string start(int kind, bool reload);
    bool reloading() const { return reload_; }
    // The opening is done: later fills select as a fresh start does.
    void opened() { reload_ = false; }

    int FileKind() const { return kind_; }
    const std::string& SelPath() const { return selPath_; }
    const std::string& SelFile() const { return selFile_; }

    int typeIndex() const { return typeIndex_; }
    // The file type chosen; kind 3 with a plot type becomes kind 4 and kind 4
    // with the report type becomes kind 3, each with its own columns and sort.
    // Returns true when the kind changed. The list is filled again.
    bool setTypeIndex(int index);

    // The folder selected in the tree: SelPath, the station names of its
    // "Rfi.plt" (kinds 3 and 4) and the list.
    void selectFolder(const std::string& folder);
    // Reads the folder again with the current type.
    void fill();

    const std::vector<FileItem>& items() const { return items_; }
    std::vector<BrowserColumn> columns() const { return columnsOf(kind_); }
    BrowserColumn sortColumn() const { return sortColumn_; }
    bool sortAscending() const { return ascending_; }
    // A click on a column heading: the same column reverses the order; another
    // column sorts descending, except File Name and Description (ascending).
    void columnClicked(BrowserColumn column);

    // The row to select after a fill, -1 when the list is empty: on a reload the
    // saved row (when it exists), else "Rfi.txt" for kind 3, else the first row.
    int initialRow() const;

    // OK with these rows selected: SelFile is their names in list order joined
    // by "|". Returns false (nothing selected) when SelFile is "".
    bool accept(std::vector<int> rows);
    // Cancel, the window closed, or OK with nothing selected and the question
    // answered with Cancel: SelPath and SelFile become "".
    void cancel();
    // Remembers the state for the next reload; `selectedRow` is the first
    // selected row or -1.
    void saveState(int selectedRow);

    // The cell text of a row (sizes whole, in bytes).
    std::string cellText(const FileItem& item, BrowserColumn column) const;
    const crv::common::StationTables& stations() const { return stations_; }

private:
    void sortItems();
    void restartSort();

    const crv::common::AppState& state_;
    int kind_ = 1;
    int typeIndex_ = 0;
    bool reload_ = false;
    std::string selPath_;
    std::string selFile_;
    BrowserColumn sortColumn_ = BrowserColumn::FileName;
    bool ascending_ = true;
    std::vector<FileItem> items_;
    int rfiTxtRow_ = -1;
    BrowserSavedState saved_;
    crv::common::StationTables stations_;
};

}  // namespace crv::common::ui
