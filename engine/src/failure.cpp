#include "failure.h"

#include "crv/platform/message_box.h"
#include "fixed_text.h"

namespace crv::engine {

EngineFailure::EngineFailure(std::string_view routine, std::string message)
    : std::runtime_error(message), routine_(routine), message_(std::move(message)) {}

void fail(std::string_view routine, std::string message) { throw EngineFailure(routine, std::move(message)); }

std::string errorText(std::string_view routine, std::string_view message) {
    std::string text = "An error occurred in procedure " + trimRightCopy(routine) + ":\r\r" + trimRightCopy(message);
    // The message field of the engine holds 260 characters.
    if (text.size() > 260) text.resize(260);
    return trimRightCopy(text);
}

void ErrMsg(std::string_view routine, std::string_view message) {
    crv::platform::showMessage(errorText(routine, message), "CRV Error", crv::platform::MessageIcon::Exclamation);
}

}  // namespace crv::engine
