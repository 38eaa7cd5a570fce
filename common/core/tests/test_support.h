#pragma once
// Fixtures shared by the common core tests: a presenter that records what
// would have been shown, and the shared scratch folder and file helpers.
#include <sys/stat.h>
#include <unistd.h>

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "crv/common/messages.h"
#include "crv/testing/files.h"

namespace crv::common::testing {

class RecordingPresenter : public MessagePresenter {
public:
    MessageAnswer present(const Message& message) override {
        shown.push_back(message);
        return answer;
    }
    std::vector<Message> shown;
    MessageAnswer answer = MessageAnswer::Ok;
};

// The shared scratch folder and whole-file helpers (testing/).
using crv::testing::existsAt;
using crv::testing::readBytes;
using crv::testing::ScratchFolder;
using crv::testing::writeBytes;

// The file's inode: a file replaced (even by the same bytes) gets another.
inline ino_t inodeOf(const std::string& path) {
    struct stat st {};
    return ::lstat(path.c_str(), &st) == 0 ? st.st_ino : 0;
}

inline void makeFolder(const std::string& path) { ::mkdir(path.c_str(), 0777); }

}  // namespace crv::common::testing
