// The edition the engine works in: the running program's own code, handed
// down in CRV_EDITION, wins over the "Model Type" stored in the shared
// settings file, which names whichever edition started last.
#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "paths.h"
#include "test_support.h"

using namespace crv::engine;

TEST(Edition, EnvironmentWinsOverTheStoredModelType) {
    const std::string path = crv::test::scratchFolder("edition-env") + "settings.ini";
    struct Case {
        const char* stored;
        const char* env;  // nullptr: not set
        bool scientific;
    } cases[] = {{"FLD", "SCI", true},    {"SCI", "FLD", false}, {"SCI", nullptr, true},
                 {"FLD", nullptr, false}, {"SCI", "", true},     {"", "SCI", true}};
    for (const auto& c : cases) {
        crv::test::writeBytes(path, std::string("[General]\nModel Type=") + c.stored + "\n");
        crv::testing::ScopedEnv settings("CORVANE_SETTINGS", path);
        std::optional<crv::testing::ScopedEnv> edition;
        if (c.env)
            edition.emplace("CRV_EDITION", c.env);
        else
            edition.emplace("CRV_EDITION");
        EngineState state;
        GetPaths(state);
        EXPECT_EQ(state.scientific, c.scientific) << c.stored << " / " << (c.env ? c.env : "(unset)");
    }
}
