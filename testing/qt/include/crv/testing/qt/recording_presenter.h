#pragma once
// The tests' message presenter: records every message and answers from a
// script (Ok, or the first button, once the script is used up). Shows
// nothing. In crv_testing_qt, which only tests and benchmarks link, so no
// program carries a presenter that shows nothing.
#include <vector>

#include "crv/common/messages.h"

namespace crv::testing {

class RecordingPresenter : public crv::common::MessagePresenter {
public:
    crv::common::MessageAnswer present(const crv::common::Message& message) override;
    std::vector<crv::common::Message> messages;
    std::vector<crv::common::MessageAnswer> answers;  // consumed front first
};

}  // namespace crv::testing
