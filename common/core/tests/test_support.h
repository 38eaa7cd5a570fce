#pragma once
// Fixtures shared by the common core tests: a scratch folder, file helpers and
// a presenter that records what would have been shown.
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "crv/common/messages.h"

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

// A fresh folder per test, removed afterwards; path() ends in "/".
class ScratchFolder {
public:
    ScratchFolder() {
        std::string templ = std::string(::testing::TempDir()) + "crvcore-XXXXXX";
        char* made = ::mkdtemp(templ.data());
        path_ = std::string(made ? made : templ.c_str()) + "/";
    }
    ~ScratchFolder() { (void)std::system(("rm -rf '" + path_ + "'").c_str()); }
    const std::string& path() const { return path_; }
    std::string operator/(const std::string& name) const { return path_ + name; }

private:
    std::string path_;
};

inline void writeFile(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary);
    out << bytes;
}

inline std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

inline bool exists(const std::string& path) {
    struct stat st {};
    return ::lstat(path.c_str(), &st) == 0;
}

// The file's inode: a file replaced (even by the same bytes) gets another.
inline ino_t inodeOf(const std::string& path) {
    struct stat st {};
    return ::lstat(path.c_str(), &st) == 0 ? st.st_ino : 0;
}

inline void makeFolder(const std::string& path) { ::mkdir(path.c_str(), 0777); }

}  // namespace crv::common::testing
