#pragma once
// Helpers of the format tests: whole files in and out, a fresh folder per
// test, and the C library's locale set to one with a decimal comma for the
// length of a scope, the way a Qt program runs on a German desktop.
#include <unistd.h>

#include <clocale>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace crv::test {

inline std::string readBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

inline void writeBytes(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
}

// A folder of its own under the test's temporary area, emptied on creation;
// the path ends in "/". The process's number is part of the name: the tests
// run in processes of their own, side by side.
// The folders are removed when the process ends.
inline std::string scratchFolder(const std::string& name) {
    struct Folders {
        std::vector<std::filesystem::path> made;
        ~Folders() {
            std::error_code ec;
            for (const auto& dir : made) std::filesystem::remove_all(dir, ec);
        }
    };
    static Folders folders;
    const auto dir = std::filesystem::path(::testing::TempDir()) /
                     ("crv-formats-" + std::to_string(::getpid()) + "-" + name);
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    folders.made.push_back(dir);
    return dir.string() + "/";
}

// LC_ALL set to a comma locale until the end of the scope, then back to what
// it was. active() is false when the machine has no such locale
// (scripts/deps.sh generates de_DE.UTF-8); the test then skips.
class CommaLocale {
public:
    explicit CommaLocale(const char* name = "de_DE.UTF-8") {
        if (const char* old = std::setlocale(LC_ALL, nullptr)) old_ = old;
        active_ = std::setlocale(LC_ALL, name) != nullptr;
    }
    ~CommaLocale() { std::setlocale(LC_ALL, old_.c_str()); }
    CommaLocale(const CommaLocale&) = delete;
    CommaLocale& operator=(const CommaLocale&) = delete;
    bool active() const { return active_; }

private:
    std::string old_ = "C";
    bool active_ = false;
};

}  // namespace crv::test
