#pragma once
// Clearing the results of a previous analysis from the output folder before a
// workflow step writes new ones, sparing the search files that the ongoing
// workflow still needs. Name tests ignore letter case.
//
// Clean-up modes:
//   0  keeps nothing                 (File > New, Navaid > Manual Entry)
//   1  keeps the navaid search files (Navaid > Select Navaid)
//   2  keeps every search file       (simulation runs, opening a case)
#include <string>

#include "crv/common/messages.h"

namespace crv::common {

// Looks for previous output in `outputFolder`; when there is some and `ask`,
// asks the "Warning" question (OK/Cancel) and sets cancel = true when the user
// declines, deleting nothing. Otherwise deletes with DeleteOutputFiles. When
// nothing counts as output and `ask`, cancel = false; when not asking, cancel
// is left as the caller set it. An empty `outputFolder` names no folder and
// holds no output.
void CheckOutputDir(const std::string& outputFolder, int mode, bool ask, bool& cancel, MessagePresenter& presenter);

// The question's text for a mode.
std::string checkOutputDirText(int mode);

// Deletes one folder's results by the mode's keep rule, recursing into run
// folders (sub-folders holding "rfi.plt") and removing them once empty.
// Links are removed as links; nothing outside the folder is ever followed.
// An empty `folder` deletes nothing.
void DeleteOutputFiles(int mode, const std::string& folder);

}  // namespace crv::common
