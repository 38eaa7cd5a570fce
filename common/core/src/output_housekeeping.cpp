#include "crv/common/output_housekeeping.h"

#include <unistd.h>

#include <vector>

#include "crv/common/file_system.h"
#include "crv/common/text_utils.h"

namespace crv::common {

namespace {

bool isNavaidSearchPlot(const std::string& name) {
    return containsNoCase(name, "loc@") || containsNoCase(name, "nav@") || containsNoCase(name, "vor@") ||
           containsNoCase(name, "com@");
}

bool plotIsOutput(const std::string& name, int mode) {
    switch (mode) {
        case 0: return true;
        case 1: return !isNavaidSearchPlot(name);
        case 2: return !isNavaidSearchPlot(name) && !containsNoCase(name, "fm@");
        default: return false;
    }
}

bool reportIsOutput(const std::string& name, int mode) {
    switch (mode) {
        case 0: return true;
        case 1: return !containsNoCase(name, "nav@");
        case 2: return !containsNoCase(name, "nav@") && !containsNoCase(name, "fm@");
        default: return false;
    }
}

// A run folder: a real sub-folder (never a link) that holds the run copy.
bool isRunFolder(const std::string& folder, const DirEntry& entry) {
    return entry.isFolder && !entry.isLink && FileExists(folder + entry.name + "/rfi.plt");
}

bool countsAsOutput(const std::string& folder, const DirEntry& entry, int mode) {
    const std::string& name = entry.name;
    if (containsNoCase(name, ".ptx") || containsNoCase(name, ".plx")) return true;
    if (containsNoCase(name, ".plt")) return plotIsOutput(name, mode);
    if (!containsNoCase(name, ".txt")) return isRunFolder(folder, entry);
    return reportIsOutput(name, mode);
}

}  // namespace

std::string checkOutputDirText(int mode) {
    std::string text = " All plot (*.plt, *.plx, *.ptx), report (*.txt), metafile (*.emf) and debug (*.dbg) files ";
    text += kCR;
    if (mode == 1) text += std::string(" (except navaid search files: nav@\?\?\?\?) ") + kCR;
    if (mode == 2) text += std::string(" (except search files: nav@\?\?\?\? and/or fm@\?\?\?) ") + kCR;
    text += " from the previous analysis will be deleted at this time. ";
    text += kCR;
    text += kCR;
    text += " If you wish to save these files, select \"Cancel\" and ";
    text += kCR;
    text += " then either change the current output directory or ";
    text += kCR;
    text += " copy the files to a different directory. ";
    text += kCR;
    text += kCR;
    text += " Do you wish to continue with the current process? ";
    return text;
}

void CheckOutputDir(const std::string& outputFolder, int mode, bool ask, bool& cancel, MessagePresenter& presenter) {
    // An empty setting names no folder. Made into "/" it would point the
    // deletion at the root folder, and read as "here" at whatever folder the
    // program was started from: neither holds this user's previous analysis.
    const std::string folder = outputFolder.empty() ? std::string() : AddBackslash(outputFolder);
    bool found = false;
    for (const auto& entry : folder.empty() ? std::vector<DirEntry>() : FindEntries(folder, "*.*")) {
        if (countsAsOutput(folder, entry, mode)) {
            found = true;
            break;
        }
    }
    if (!found) {
        if (ask) cancel = false;
        return;
    }
    if (ask) {
        cancel = false;
        const auto answer = presenter.present(
            {checkOutputDirText(mode), "Warning", MessageIcon::Exclamation, MessageButtons::OkCancel});
        if (answer != MessageAnswer::Ok) {
            cancel = true;
            return;
        }
    }
    DeleteOutputFiles(mode, folder);
}

void DeleteOutputFiles(int mode, const std::string& folder) {
    if (folder.empty()) return;  // no folder named: nothing of ours to delete
    const std::string dir = AddBackslash(folder);
    for (const auto& entry : FindEntries(dir, "*")) {
        if (!isRunFolder(dir, entry)) continue;
        DeleteOutputFiles(mode, dir + entry.name + "/");
        // Fails, as it should, while anything is left in the folder.
        ::rmdir((dir + entry.name).c_str());
    }
    for (const auto& entry : FindEntries(dir, "*.plt"))
        if (!entry.isFolder && plotIsOutput(entry.name, mode)) ::unlink((dir + entry.name).c_str());
    for (const auto& entry : FindEntries(dir, "*.txt"))
        if (!entry.isFolder && reportIsOutput(entry.name, mode)) ::unlink((dir + entry.name).c_str());
    for (const char* pattern : {"*.ptx", "*.plx", "*.emf", "*.dbg"}) DeleteFiles(dir + pattern);
}

}  // namespace crv::common
