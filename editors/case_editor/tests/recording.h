#pragma once
// A presenter for the controller tests: records and answers from a script.
#include <vector>

#include "crv/common/messages.h"

namespace test {
struct Recorder : crv::common::MessagePresenter {
    crv::common::MessageAnswer present(const crv::common::Message& m) override {
        messages.push_back(m);
        if (answers.empty()) {
            switch (m.buttons) {
                case crv::common::MessageButtons::Ok: return crv::common::MessageAnswer::Ok;
                case crv::common::MessageButtons::OkCancel: return crv::common::MessageAnswer::Ok;
                default: return crv::common::MessageAnswer::Yes;
            }
        }
        auto a = answers.front();
        answers.erase(answers.begin());
        return a;
    }
    std::vector<crv::common::Message> messages;
    std::vector<crv::common::MessageAnswer> answers;
};
}  // namespace test
