#include "crv/common/messages.h"

#include "crv/common/error_report.h"

namespace crv::common {

MessageAnswer PlatformMessagePresenter::present(const Message& message) {
    crv::platform::showMessage(message.text, message.title, message.icon);
    switch (message.buttons) {
        case MessageButtons::Ok: return MessageAnswer::Ok;
        case MessageButtons::OkCancel: return MessageAnswer::Cancel;
        case MessageButtons::YesNo: return MessageAnswer::No;
        case MessageButtons::YesNoCancel:
        case MessageButtons::RetryCancel: return MessageAnswer::Cancel;
    }
    return MessageAnswer::Cancel;
}

std::string unexpectedErrorText(std::string_view procedure, std::string_view description) {
    std::string text = " An unexpected error has occurred in ";
    text += kCR;
    text += " procedure " + std::string(procedure) + ": ";
    text += kCR;
    text += kCR;
    text += " " + std::string(description) + " ";
    return text;
}

void ShowUnexpectedError(MessagePresenter& presenter, std::string_view procedure, std::string_view description) {
    presenter.present({unexpectedErrorText(procedure, description), "CRV Error", MessageIcon::Exclamation,
                       MessageButtons::Ok});
}

}  // namespace crv::common
