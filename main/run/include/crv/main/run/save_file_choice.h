#pragma once
// The rules around a save dialog that the dialog itself does not keep: the
// default extension goes on the file name the user typed, and replacing a
// file that exists is asked first, after the extension is on (a case typed as
// "ABC_loc" is the existing "ABC_loc.dat" and must not be rewritten unasked).
#include <functional>
#include <string>

#include "crv/common/messages.h"
#include "crv/main/run/run_ui.h"

namespace crv::main::run {

// `ext` (".dat") appended when the file name, not the folder, has no "."; ""
// stays "".
std::string withDefaultExtension(const std::string& path, const std::string& ext);

// Runs `dialog` (the chosen full path, "" on cancel) until the user has a name
// that is new or agrees to replace the existing file; No shows the dialog
// again on the same name. Returns the full path with its extension, or "".
std::string chooseSaveFile(const SaveFileRequest& request,
                           const std::function<std::string(const SaveFileRequest&)>& dialog,
                           crv::common::MessagePresenter& presenter);

}  // namespace crv::main::run
