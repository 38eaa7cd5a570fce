#pragma once
// An environment variable set (or removed) for a scope: the old value, or its
// absence, comes back afterwards, so later tests see the process as it was.
#include <optional>
#include <string>

namespace crv::testing {

class ScopedEnv {
public:
    // Sets `name` to `value` until the end of the scope.
    ScopedEnv(const char* name, const std::string& value);
    // Removes `name` until the end of the scope.
    explicit ScopedEnv(const char* name);
    ~ScopedEnv();
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

private:
    std::string name_;
    std::optional<std::string> old_;
};

}  // namespace crv::testing
