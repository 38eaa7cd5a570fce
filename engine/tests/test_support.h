#pragma once
// Helpers shared by the engine tests: the shared file and environment helpers
// under their engine names, and a captured message box.
#include <string>
#include <vector>

#include "crv/platform/message_box.h"
#include "crv/testing/files.h"
#include "crv/testing/scoped_env.h"

namespace crv::test {

// The shared test support (testing/): environment variables for a scope,
// whole files, scratch folders and a file size limit.
using crv::testing::readBytes;
using crv::testing::ScopedEnv;
using crv::testing::ScopedFileSizeLimit;
using crv::testing::scratchFolder;
using crv::testing::writeBytes;

// Captures every message shown while it lives.
class MessageCapture {
public:
    struct Message {
        std::string text, title;
        crv::platform::MessageIcon icon;
    };
    MessageCapture() { crv::platform::setMessagePresenter(&MessageCapture::present, this); }
    ~MessageCapture() { crv::platform::setMessagePresenter(nullptr, nullptr); }
    const std::vector<Message>& messages() const { return messages_; }

private:
    static void present(const std::string& text, const std::string& title, crv::platform::MessageIcon icon,
                        void* self) {
        static_cast<MessageCapture*>(self)->messages_.push_back({text, title, icon});
    }
    std::vector<Message> messages_;
};

}  // namespace crv::test
