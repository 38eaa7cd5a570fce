#pragma once
// How engine routines fail. A routine that meets a problem throws
// EngineFailure with its 15-character routine name and the message; the export
// boundary catches it, shows it once with ErrMsg and returns status 2. A cancel
// request travels the same way as CancelRequested and becomes status 1. Nothing
// thrown here ever crosses the C boundary.
#include <stdexcept>
#include <string>
#include <string_view>

namespace crv::engine {

class EngineFailure : public std::runtime_error {
public:
    EngineFailure(std::string_view routine, std::string message);
    const std::string& routine() const { return routine_; }
    const std::string& message() const { return message_; }

private:
    std::string routine_;
    std::string message_;
};

struct CancelRequested {};

[[noreturn]] void fail(std::string_view routine, std::string message);

// The text ErrMsg shows: "An error occurred in procedure " + routine + ":" +
// two carriage returns + message, cut to 260 characters and trimmed.
std::string errorText(std::string_view routine, std::string_view message);

// Shows the engine's one message box, title "CRV Error", exclamation icon.
void ErrMsg(std::string_view routine, std::string_view message);

}  // namespace crv::engine
