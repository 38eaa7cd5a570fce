#include "crv/main/run/save_file_choice.h"

#include <filesystem>
#include <system_error>

namespace crv::main::run {

using crv::common::kCR;

std::string withDefaultExtension(const std::string& path, const std::string& ext) {
    if (path.empty() || ext.empty()) return path;
    const auto slash = path.rfind('/');
    const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    if (name.empty() || name.find('.') != std::string::npos) return path;
    return path + ext;
}

std::string chooseSaveFile(const SaveFileRequest& request,
                           const std::function<std::string(const SaveFileRequest&)>& dialog,
                           crv::common::MessagePresenter& presenter) {
    SaveFileRequest ask = request;
    for (;;) {
        const std::string path = withDefaultExtension(dialog(ask), request.defaultExt);
        if (path.empty()) return {};
        std::error_code ec;
        // A dangling link or a name that cannot be looked at is no free name either.
        const bool taken = std::filesystem::symlink_status(path, ec).type() != std::filesystem::file_type::not_found;
        if (!request.promptOverwrite || !taken) return path;
        const auto slash = path.rfind('/');
        const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
        crv::common::Message question;
        question.text = " " + name + " already exists. " + kCR + " Do you want to replace it? ";
        question.title = request.title;
        question.icon = crv::common::MessageIcon::Exclamation;
        question.buttons = crv::common::MessageButtons::YesNo;
        if (presenter.present(question) == crv::common::MessageAnswer::Yes) return path;
        ask.initialDir = slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
        ask.fileName = name;
    }
}

}  // namespace crv::main::run
