#include "crv/main/run/run_controller.h"

#include <ctime>
#include <stdexcept>

#include "crv/common/conversions.h"
#include "crv/common/text_utils.h"

namespace crv::main::run {

crv::common::Message engineBusyMessage() {
    crv::common::Message m;
    m.text = std::string(" A search or simulation is already running. ") + crv::common::kCR +
             " Wait for it to finish, or cancel it first. ";
    m.title = "Warning";
    m.icon = crv::common::MessageIcon::Exclamation;
    return m;
}

RunController::RunController(RunServices services) : s_(std::move(services)) {
    if (!s_.state || !s_.settings || !s_.engine || !s_.progress || !s_.messages || !s_.questions)
        throw std::invalid_argument("RunController needs every service");
    if (!s_.processEvents) s_.processEvents = [] {};
    if (!s_.today) {
        s_.today = [] {
            const std::time_t now = std::time(nullptr);
            std::tm local{};
            ::localtime_r(&now, &local);
            char text[16];
            std::strftime(text, sizeof text, "%m/%d/%y", &local);  // always "/", whatever the locale
            return std::string(text);
        };
    }
}

void RunController::ProgressCallback(std::int32_t percent, std::int16_t& cancel) {
    s_.progress->Value(percent);
    cancel = (s_.progress->Canceled() || cancelRequested_) ? 1 : 0;
}

crv::binding::Progress RunController::progressFunction() {
    return [this](std::int32_t percent) {
        std::int16_t cancel = 0;
        ProgressCallback(percent, cancel);
        return cancel != 0;
    };
}

}  // namespace crv::main::run
