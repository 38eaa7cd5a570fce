#include "editor_steps.h"

#include <exception>

#include "crv/platform/text_file.h"
#include "text_field.h"

namespace crv::editors::detail {

using common::kCR;
using common::MessageAnswer;
using common::MessageButtons;
using common::MessageIcon;

SavePrompt askToSaveFirst(common::MessagePresenter& presenter, const std::string& text, const std::string& title,
                          const std::function<bool()>& commitPending, const std::function<bool()>& saveDataAs) {
    switch (presenter.present({text, title, MessageIcon::Question, MessageButtons::YesNoCancel})) {
        case MessageAnswer::Yes:
            if (!commitPending()) return SavePrompt::Stop;
            return saveDataAs() ? SavePrompt::Go : SavePrompt::Stop;
        case MessageAnswer::No: return SavePrompt::Go;
        default: return SavePrompt::Stop;
    }
}

bool remindOfTheModelName(common::MessagePresenter& presenter, const std::string& which, MessageIcon icon) {
    const std::string text = "Remember, in order to be used by the " + std::string(1, kCR) + "model, " + which + "." +
                             kCR + kCR + "However, you may use any name you " + kCR + "wish at this time. ";
    return presenter.present({text, "Please Note", icon, MessageButtons::OkCancel}) == MessageAnswer::Ok;
}

std::string askWhereToSave(SiteEditorHost& host, const FileDialogRequest& request, std::string& fileTitle) {
    const std::string path = host.askSaveFile(request);
    if (!path.empty()) followChosenFile(host, path, fileTitle);
    return path;
}

void followChosenFile(SiteEditorHost& host, const std::string& path, std::string& fileTitle) {
    fileTitle = nameOf(path);
    host.state().UserFolder = folderOf(path);
    host.savePaths();
}

bool writeOrReport(common::MessagePresenter& presenter, const std::string& path, const std::string& bytes) {
    if (auto written = platform::writeFileAtomic(path, bytes); !written) {
        presenter.present({" The file could not be written: " + std::string(1, kCR) + " " + path + " " + kCR + " " +
                               written.error() + " ",
                           "Save", MessageIcon::Critical, MessageButtons::Ok});
        return false;
    }
    return true;
}

void sayMarkedValuesRemain(common::MessagePresenter& presenter, MarkedBy cause) {
    const std::string text =
        cause == MarkedBy::FileRead
            ? " Some values read from the file are outside their range and are marked in the table. " +
                  std::string(1, kCR) + " Correct them before saving. "
            : " Some values do not fit the position format now chosen and are marked in the table. " +
                  std::string(1, kCR) + " Correct them, or choose the format they were entered in, before saving. ";
    presenter.present({text, "Save", MessageIcon::Exclamation, MessageButtons::Ok});
}

bool readOrReport(common::MessagePresenter& presenter, const std::string& path, const std::string& title,
                  std::size_t maxBytes, std::string& bytes) {
    std::string error;
    try {
        // Only a regular file is read, and never more than its format holds:
        // a folder, a FIFO or a device would otherwise fail deep in a stream,
        // wait for a writer or stream without end.
        auto read = platform::readRegularFile(path, maxBytes);
        if (read) {
            bytes = std::move(*read);
            return true;
        }
        error = read.error();
    } catch (const std::exception& e) {
        error = "Could not read " + path + ": " + e.what();
    }
    presenter.present({" " + error + " ", title, MessageIcon::Critical, MessageButtons::Ok});
    return false;
}

std::string trimBlanks(const std::string& s) {
    const auto a = s.find_first_not_of(' ');
    if (a == std::string::npos) return {};
    return s.substr(a, s.find_last_not_of(' ') - a + 1);
}

}  // namespace crv::editors::detail
