#pragma once
// Helpers of the format tests: the shared file helpers under their format
// test names, and the C library's locale set to one with a decimal comma for
// the length of a scope, the way a Qt program runs on a German desktop.
#include <clocale>
#include <string>

#include "crv/testing/files.h"

namespace crv::test {

// The shared file helpers (testing/).
using crv::testing::readBytes;
using crv::testing::scratchFolder;
using crv::testing::writeBytes;

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
