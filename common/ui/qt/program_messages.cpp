#include "crv/common/ui/qt/program_messages.h"

#include "crv/common/dialog_services.h"
#include "crv/common/error_report.h"
#include "crv/common/ui/qt/message_presenter.h"

namespace crv::common::ui {

void ShowUnexpectedError(std::string_view procedure, std::string_view description) {
    crv::common::ShowUnexpectedError(appPresenter(), procedure, description);
}

bool CheckDatabases(crv::common::AppState& state, bool newCase) {
    return crv::common::CheckDatabases(state, newCase, appPresenter());
}

}  // namespace crv::common::ui
