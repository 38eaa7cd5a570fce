// The edition the engine works in: the running program's own code, handed
// down in CRV_EDITION, wins over the "Model Type" stored in the shared
// settings file, which names whichever edition started last.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "paths.h"
#include "test_support.h"

using namespace crv::engine;

namespace {
class EnvValue {
public:
    EnvValue(const char* name, const char* value) : name_(name) {
        if (const char* old = std::getenv(name)) saved_ = old, had_ = true;
        if (value)
            ::setenv(name, value, 1);
        else
            ::unsetenv(name);
    }
    ~EnvValue() {
        if (had_)
            ::setenv(name_, saved_.c_str(), 1);
        else
            ::unsetenv(name_);
    }

private:
    const char* name_;
    std::string saved_;
    bool had_ = false;
};
}  // namespace

TEST(Edition, EnvironmentWinsOverTheStoredModelType) {
    const std::string path = crv::test::scratchFolder("edition-env") + "settings.ini";
    struct Case {
        const char* stored;
        const char* env;  // nullptr: not set
        bool scientific;
    } cases[] = {{"FLD", "SCI", true}, {"SCI", "FLD", false}, {"SCI", nullptr, true},
                 {"FLD", nullptr, false}, {"SCI", "", true},  {"", "SCI", true}};
    for (const auto& c : cases) {
        crv::test::writeBytes(path, std::string("[General]\nModel Type=") + c.stored + "\n");
        EnvValue settings("CORVANE_SETTINGS", path.c_str());
        EnvValue edition("CRV_EDITION", c.env);
        EngineState state;
        GetPaths(state);
        EXPECT_EQ(state.scientific, c.scientific) << c.stored << " / " << (c.env ? c.env : "(unset)");
    }
}
