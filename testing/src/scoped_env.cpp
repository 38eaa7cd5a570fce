#include "crv/testing/scoped_env.h"

#include <cstdlib>

namespace crv::testing {

ScopedEnv::ScopedEnv(const char* name, const std::string& value) : name_(name) {
    if (const char* old = std::getenv(name)) old_ = old;
    ::setenv(name, value.c_str(), 1);
}

ScopedEnv::ScopedEnv(const char* name) : name_(name) {
    if (const char* old = std::getenv(name)) old_ = old;
    ::unsetenv(name);
}

ScopedEnv::~ScopedEnv() {
    if (old_)
        ::setenv(name_.c_str(), old_->c_str(), 1);
    else
        ::unsetenv(name_.c_str());
}

}  // namespace crv::testing
