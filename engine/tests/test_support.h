#pragma once
// Small helpers shared by the engine tests: a fresh scratch folder per test,
// whole-file reads, environment variables set for a scope, and a captured
// message box.
#include <sys/resource.h>

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "crv/platform/message_box.h"

namespace crv::test {

// Sets an environment variable for the life of the object and puts the old
// value (or its absence) back afterwards, so later tests see the process as
// it was.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const std::string& value) : name_(name) {
        if (const char* old = std::getenv(name)) old_ = old;
        ::setenv(name, value.c_str(), 1);
    }
    ~ScopedEnv() {
        if (old_) ::setenv(name_, old_->c_str(), 1);
        else ::unsetenv(name_);
    }
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

private:
    const char* name_;
    std::optional<std::string> old_;
};

// Files of this process may not grow past `bytes` while the object lives: a
// write beyond fails (EFBIG) as it would on a full disk, instead of ending
// the process.
class ScopedFileSizeLimit {
public:
    explicit ScopedFileSizeLimit(rlim_t bytes) {
        ::getrlimit(RLIMIT_FSIZE, &old_);
        previous_ = std::signal(SIGXFSZ, SIG_IGN);
        struct rlimit small = old_;
        small.rlim_cur = bytes;
        ::setrlimit(RLIMIT_FSIZE, &small);
    }
    ~ScopedFileSizeLimit() {
        ::setrlimit(RLIMIT_FSIZE, &old_);
        std::signal(SIGXFSZ, previous_);
    }
    ScopedFileSizeLimit(const ScopedFileSizeLimit&) = delete;
    ScopedFileSizeLimit& operator=(const ScopedFileSizeLimit&) = delete;

private:
    struct rlimit old_ {};
    void (*previous_)(int) = SIG_DFL;
};

inline std::string readBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

inline void writeBytes(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary);
    out << bytes;
}

// A folder of its own under the build's temporary area, emptied on creation.
inline std::string scratchFolder(const std::string& name) {
    auto dir = std::filesystem::temp_directory_path() / ("crv-test-" + name);
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    return dir.string() + "/";
}

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
