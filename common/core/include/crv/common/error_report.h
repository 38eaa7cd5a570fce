#pragma once
// The report of last resort for run-time errors a procedure did not expect.
#include <string>
#include <string_view>

#include "crv/common/messages.h"

namespace crv::common {

// " An unexpected error has occurred in " CR " procedure <name>: " CR CR
// " <description> ".
std::string unexpectedErrorText(std::string_view procedure, std::string_view description);

// Shows that text with the exclamation icon, an OK button and the title "CRV Error".
void ShowUnexpectedError(MessagePresenter& presenter, std::string_view procedure, std::string_view description);

}  // namespace crv::common
