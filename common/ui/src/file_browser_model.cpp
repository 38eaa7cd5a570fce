#include "crv/common/ui/file_browser_model.h"

#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstdio>

#include "crv/common/file_system.h"
#include "crv/common/text_utils.h"
#include "crv/platform/text_file.h"

namespace crv::common::ui {

namespace {

using crv::common::AddBackslash;
using crv::common::equalsNoCase;
using crv::common::startsWithNoCase;

const std::vector<FileType> kResultTypes = {
    {"Report files (*.txt)", "*.txt"},
    {"Simulation plots (*.plt)", "*.plt"},
    {"Receiver positions (*.plx)", "*.plx"},
    {"Antenna patterns (*.ptx)", "*.ptx"},
    {"All plot files (*.plt, *.plx, *.ptx)", "*.plt;*.plx;*.ptx"},
};

const KindSetup kKinds[] = {
    {" Select a Data File to Edit", {{"Data files (*.dat)", "*.dat"}}, 0, StartFolder::Data, false},
    {" Select Simulation Data Files", {{"Valid data files (*.dat)", "*.dat"}}, 0, StartFolder::Data, true},
    {" Select Reports or Plots to Display", kResultTypes, 0, StartFolder::Output, true},
    {" Select Reports or Plots to Display", kResultTypes, 1, StartFolder::Output, true},
    {" Select a Pattern File to Edit", {{"Radiation patterns (*.pat)", "*.pat"}}, 0, StartFolder::User, false},
    {" Select a Calibration Data File to Edit", {{"Calibration data (*.cal)", "*.cal"}}, 0, StartFolder::User,
     false},
    {" Select a Receiver Points File to Edit", {{"Receiver test points (*.pts)", "*.pts"}}, 0, StartFolder::User,
     false},
};

std::string twoDigits(int v) {
    char buf[8];
    std::snprintf(buf, sizeof buf, "%02d", v % 100);
    return buf;
}

bool localTime(std::time_t t, std::tm& out) { return ::localtime_r(&t, &out) != nullptr; }

// Names as the list compares them: letter case aside, then as spelled.
bool nameLess(const std::string& a, const std::string& b) {
    const std::string ua = crv::common::upperAscii(a);
    const std::string ub = crv::common::upperAscii(b);
    if (ua != ub) return ua < ub;
    return a < b;
}

}  // namespace

bool isValidKind(int kind) { return kind >= kFirstKind && kind <= kLastKind; }

const KindSetup& kindSetup(int kind) { return kKinds[isValidKind(kind) ? kind - 1 : 0]; }

std::vector<BrowserColumn> columnsOf(int kind) {
    switch (kind) {
    case 1:
    case 2: return {BrowserColumn::FileName, BrowserColumn::DateTime, BrowserColumn::Size};
    case 4: return {BrowserColumn::FileName, BrowserColumn::Description, BrowserColumn::Size};
    default: return {BrowserColumn::FileName, BrowserColumn::Description, BrowserColumn::Date};
    }
}

std::string columnTitle(BrowserColumn column) {
    switch (column) {
    case BrowserColumn::FileName: return "File Name";
    case BrowserColumn::Description: return "Description";
    case BrowserColumn::DateTime: return "Date and Time";
    case BrowserColumn::Date: return "Date";
    case BrowserColumn::Size: return "Size (byt)";
    }
    return {};
}

BrowserColumn startSortColumn(int kind) {
    if (kind == 1 || kind == 2) return BrowserColumn::DateTime;
    if (kind == 4) return BrowserColumn::Size;
    return BrowserColumn::FileName;
}

bool startSortAscending(int kind) { return startSortColumn(kind) == BrowserColumn::FileName; }

std::string formatDate(std::time_t t) {
    std::tm tm{};
    if (!localTime(t, tm)) return {};
    return twoDigits(tm.tm_mon + 1) + "/" + twoDigits(tm.tm_mday) + "/" + twoDigits(tm.tm_year);
}

std::string formatDateTime(std::time_t t) {
    std::tm tm{};
    if (!localTime(t, tm)) return {};
    const int hour12 = tm.tm_hour % 12 == 0 ? 12 : tm.tm_hour % 12;
    return formatDate(t) + "  " + twoDigits(hour12) + ":" + twoDigits(tm.tm_min) + (tm.tm_hour < 12 ? " am" : " pm");
}

bool isFinishedCaseFile(const std::string& path) {
    crv::platform::LineReader reader;
    if (!reader.open(path)) return false;
    std::string line;
    if (!reader.next(line)) return false;
    if (startsWithNoCase(line, "CRV Version") && !reader.next(line)) return false;
    return !line.empty() && line.back() == '\x7f';
}

std::string FileBrowserModel::start(int kind, bool reload) {
    if (!isValidKind(kind)) kind = 1;
    reload_ = reload && saved_.valid && saved_.kind == kind;
    items_.clear();
    rfiTxtRow_ = -1;
    if (reload_) {
        kind_ = saved_.kind;
        typeIndex_ = saved_.typeIndex;
        return saved_.folder;
    }
    kind_ = kind;
    const KindSetup& setup = kindSetup(kind);
    typeIndex_ = setup.startType;
    restartSort();
    switch (setup.folder) {
    case StartFolder::Data: return state_.DataFolder;
    case StartFolder::Output: return state_.OutputFolder;
    case StartFolder::User: return state_.UserFolder;
    }
    return state_.DataFolder;
}

void FileBrowserModel::restartSort() {
    sortColumn_ = startSortColumn(kind_);
    ascending_ = startSortAscending(kind_);
}

bool FileBrowserModel::setTypeIndex(int index) {
    const int count = static_cast<int>(kindSetup(kind_).types.size());
    if (index < 0 || index >= count) return false;
    typeIndex_ = index;
    bool switched = false;
    if (kind_ == 3 && index > 0) {
        kind_ = 4;
        switched = true;
    } else if (kind_ == 4 && index == 0) {
        kind_ = 3;
        switched = true;
    }
    if (switched) {
        restartSort();
        // The station names are read for both kinds; nothing more to read.
    }
    fill();
    return switched;
}

void FileBrowserModel::selectFolder(const std::string& folder) {
    selPath_ = AddBackslash(folder);
    if (kind_ == 3 || kind_ == 4) crv::common::ReadStationNames(stations_, selPath_);
    fill();
}

void FileBrowserModel::fill() {
    items_.clear();
    rfiTxtRow_ = -1;
    if (selPath_.empty()) return;

    // One pass over the folder; each pattern piece then picks its names in
    // directory order, so the running keys follow the pieces as listed.
    std::vector<std::string> names;
    if (DIR* dir = ::opendir(selPath_.c_str())) {
        while (const dirent* e = ::readdir(dir)) {
            if (e->d_type == DT_DIR) continue;
            std::string name = e->d_name;
            if (name == "." || name == "..") continue;
            names.push_back(std::move(name));
        }
        ::closedir(dir);
    }

    std::string patterns = kindSetup(kind_).types[static_cast<std::size_t>(typeIndex_)].pattern;
    std::vector<bool> taken(names.size(), false);
    int key = 0;
    for (std::string piece = crv::common::NextToken(";", patterns); !piece.empty();
         piece = crv::common::NextToken(";", patterns)) {
        for (std::size_t n = 0; n < names.size(); ++n) {
            if (taken[n] || !crv::common::matchesPattern(names[n], piece)) continue;
            const std::string path = selPath_ + names[n];
            struct stat st {};
            // Skipped silently: anything gone or unreadable since the folder was read, and folders.
            if (::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) continue;
            if (kind_ == 2 && !isFinishedCaseFile(path)) continue;
            taken[n] = true;
            FileItem item;
            item.name = names[n];
            item.sizeBytes = static_cast<std::int64_t>(st.st_size);
            item.modified = st.st_mtim.tv_sec;
            item.modifiedNs = st.st_mtim.tv_nsec;
            item.key = ++key;
            if (kind_ >= 3) item.description = crv::common::DescribeFile(item.name, stations_);
            if (kind_ >= 4) item.tip = crv::common::FileToolTip(selPath_, item.name, stations_);
            items_.push_back(std::move(item));
        }
    }
    sortItems();
}

void FileBrowserModel::sortItems() {
    const BrowserColumn column = sortColumn_;
    auto less = [column](const FileItem& a, const FileItem& b) {
        switch (column) {
        case BrowserColumn::FileName: return nameLess(a.name, b.name);
        case BrowserColumn::Description: {
            const std::string ua = crv::common::upperAscii(a.description);
            const std::string ub = crv::common::upperAscii(b.description);
            if (ua != ub) return ua < ub;
            return nameLess(a.name, b.name);
        }
        case BrowserColumn::DateTime:
        case BrowserColumn::Date:
            if (a.modified != b.modified) return a.modified < b.modified;
            if (a.modifiedNs != b.modifiedNs) return a.modifiedNs < b.modifiedNs;
            return nameLess(a.name, b.name);
        case BrowserColumn::Size:
            if (a.sizeBytes != b.sizeBytes) return a.sizeBytes < b.sizeBytes;
            return nameLess(a.name, b.name);
        }
        return false;
    };
    if (ascending_)
        std::stable_sort(items_.begin(), items_.end(), less);
    else
        std::stable_sort(items_.begin(), items_.end(), [&](const FileItem& a, const FileItem& b) { return less(b, a); });
    rfiTxtRow_ = -1;
    if (kind_ == 3) {
        for (std::size_t i = 0; i < items_.size(); ++i)
            if (equalsNoCase(items_[i].name, "Rfi.txt")) {
                rfiTxtRow_ = static_cast<int>(i);
                break;
            }
    }
}

void FileBrowserModel::columnClicked(BrowserColumn column) {
    if (column == sortColumn_) {
        ascending_ = !ascending_;
    } else {
        sortColumn_ = column;
        ascending_ = column == BrowserColumn::FileName || column == BrowserColumn::Description;
    }
    sortItems();
}

int FileBrowserModel::initialRow() const {
    if (items_.empty()) return -1;
    if (reload_ && saved_.selectedIndex >= 0)
        return saved_.selectedIndex < static_cast<int>(items_.size()) ? saved_.selectedIndex : 0;
    if (rfiTxtRow_ >= 0) return rfiTxtRow_;
    return 0;
}

bool FileBrowserModel::accept(std::vector<int> rows) {
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    std::string joined;
    for (int row : rows) {
        if (row < 0 || row >= static_cast<int>(items_.size())) continue;
        if (!joined.empty()) joined += '|';
        joined += items_[static_cast<std::size_t>(row)].name;
    }
    selFile_ = joined;
    return !selFile_.empty();
}

void FileBrowserModel::cancel() {
    selPath_.clear();
    selFile_.clear();
}

void FileBrowserModel::saveState(int selectedRow) {
    saved_.valid = true;
    saved_.kind = kind_;
    // After a cancel SelPath is ""; the folder shown is still the one to come back to.
    if (!selPath_.empty()) saved_.folder = selPath_;
    saved_.typeIndex = typeIndex_;
    saved_.selectedIndex = selectedRow;
    reload_ = false;
}

std::string FileBrowserModel::cellText(const FileItem& item, BrowserColumn column) const {
    switch (column) {
    case BrowserColumn::FileName: return item.name;
    case BrowserColumn::Description: return item.description;
    case BrowserColumn::DateTime: return formatDateTime(item.modified);
    case BrowserColumn::Date: return formatDate(item.modified);
    case BrowserColumn::Size: return std::to_string(item.sizeBytes);
    }
    return {};
}

}  // namespace crv::common::ui
