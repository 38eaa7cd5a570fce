#pragma once
// The common reports that go through the program's presenter (appPresenter()):
// the unexpected-error box and the database check before a search.
#include <string_view>

#include "crv/common/app_state.h"

namespace crv::common::ui {

// " An unexpected error has occurred in ..." with the exclamation icon and
// the title "CRV Error".
void ShowUnexpectedError(std::string_view procedure, std::string_view description);

// Clears the use flag of a database whose file is gone; false (after the
// "Warning" naming what is missing) when a search cannot run.
bool CheckDatabases(crv::common::AppState& state, bool newCase);

}  // namespace crv::common::ui
