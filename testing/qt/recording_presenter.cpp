#include "crv/testing/qt/recording_presenter.h"

namespace crv::testing {

using crv::common::Message;
using crv::common::MessageAnswer;
using crv::common::MessageButtons;

MessageAnswer RecordingPresenter::present(const Message& message) {
    messages.push_back(message);
    if (!answers.empty()) {
        MessageAnswer a = answers.front();
        answers.erase(answers.begin());
        return a;
    }
    switch (message.buttons) {
        case MessageButtons::YesNo:
        case MessageButtons::YesNoCancel: return MessageAnswer::Yes;
        case MessageButtons::RetryCancel: return MessageAnswer::Retry;
        default: return MessageAnswer::Ok;
    }
}

}  // namespace crv::testing
