#include "crv/common/dialog_services.h"

#include "crv/common/conversions.h"
#include "crv/common/file_system.h"
#include "crv/common/math_utils.h"

namespace crv::common {

void AddRecentFile(AppState& state, const std::string& path, crv::platform::SettingsStore& store,
                   RecentFilesMenu* menu) {
    auto& list = state.RecentFiles;
    int p = kRecentFileCount - 1;  // a new path pushes every entry down
    for (int i = 0; i < kRecentFileCount - 1; ++i) {
        if (list[static_cast<std::size_t>(i)] == path) {
            p = i;
            break;
        }
    }
    for (int j = p; j >= 1; --j) list[static_cast<std::size_t>(j)] = list[static_cast<std::size_t>(j - 1)];
    list[0] = path;
    (void)SaveRecentFiles(state, store);
    if (menu) menu->UpdateRecentFilesMenu(state);
}

std::vector<std::string> RecentFileCaptions(const AppState& state) {
    std::vector<std::string> captions;
    for (const auto& entry : state.RecentFiles) {
        if (entry.empty()) break;
        if (!state.DataFolder.empty() && entry.compare(0, state.DataFolder.size(), state.DataFolder) == 0)
            captions.push_back(entry.substr(state.DataFolder.size()));
        else
            captions.push_back(entry);
    }
    return captions;
}

std::string checkDatabasesText(const std::string& list) {
    std::string text = " Before any database searches may be performed, ";
    text += kCR;
    text += " you must set the directory path and select for ";
    text += kCR;
    text += " use the following file(s): ";
    text += kCR;
    text += kCR;
    text += list;
    text += kCR;
    text += kCR;
    text += " Please select \"Location of Files\" from the Tools menu. ";
    return text;
}

bool CheckDatabases(AppState& state, bool newCase, MessagePresenter& presenter) {
    if (!FileExists(state.FCCDatabase)) state.UseFCCDB = 0;
    if (!FileExists(state.QVADatabase)) state.UseQVADB = 0;
    if (!FileExists(state.COMDatabase)) state.UseCOMDB = 0;
    bool ok = true;
    std::string list;
    if (state.UseFCCDB == 0) {
        ok = false;
        list += std::string(1, kTab) + " FM database " + kCR;
    }
    if (newCase && state.UseQVADB == 0 && state.UseCOMDB == 0) {
        ok = false;
        list += std::string(1, kTab) + " Navaid and/or COM database " + kCR;
    }
    if (!ok) presenter.present({checkDatabasesText(list), "Warning", MessageIcon::Exclamation, MessageButtons::Ok});
    return ok;
}

Placement PlaceForm(const WindowRect& main, bool mainMinimized, float statusBarHeight, float dialogWidth,
                    float dialogHeight, const ScreenMetrics& metrics) {
    const float cx = main.left + main.width / 2;
    const float cy = main.top + (static_cast<float>(metrics.CaptionHeight) + main.height +
                                 static_cast<float>(metrics.MenuHeight) - statusBarHeight) /
                                    2;
    const float x = cx - dialogWidth / 2;
    const float y = cy - dialogHeight / 2;
    // The upper bound first: a window larger than the work area starts at
    // its left or top edge, so its caption and menus stay within reach and
    // only its far side runs off the screen.
    const float x2 = static_cast<float>(
        MaxOf(MinOf(x, double(metrics.WorkAreaWidth) + metrics.WorkAreaLeft - dialogWidth), metrics.WorkAreaLeft));
    const float y2 = static_cast<float>(
        MaxOf(MinOf(y, double(metrics.WorkAreaHeight) + metrics.WorkAreaTop - dialogHeight), metrics.WorkAreaTop));
    Placement placed;
    placed.dialogLeft = x2;
    placed.dialogTop = y2;
    placed.mainLeft = main.left;
    placed.mainTop = main.top;
    if (!mainMinimized && (x2 != x || y2 != y)) {
        placed.moveMain = true;
        placed.mainLeft = main.left + (x2 - x);
        placed.mainTop = main.top + (y2 - y);
    }
    return placed;
}

int gradientDrawWidth(int clientHeightPixels) {
    return static_cast<int>(roundHalfEven(MaxOf(2, clientHeightPixels / 240 + 1)));
}

}  // namespace crv::common
