#pragma once
// The sample workspace the generator writes, shared by the tests of whole
// runs: one per test suite, with a settings file pointing at it and a
// private temporary area.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>

#include "test_support.h"

namespace crv::test {

namespace fs = std::filesystem;

// One sample workspace for the whole suite, written by the generator the
// user runs, with a settings file pointing at it and a private temporary
// folder.
class SampleWorkspace : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        root_ = new std::string(scratchFolder("sample-runs-" + std::to_string(::getpid())));
        fs::create_directories(*root_ + "tmp");
        fs::permissions(*root_ + "tmp", fs::perms::owner_all, fs::perm_options::replace);
        const std::string ws = *root_ + "ws/";
        const std::string generate = std::string(CRV_BIN_DIR) + "crv_sample " + ws + " >/dev/null";
        generated_ = std::system(generate.c_str()) == 0;
        writeBytes(*root_ + "settings.ini", "[Paths]\nFCC Database=" + ws + "db/FMALL.dat\nQVA Database=" + ws +
                                                "db/A108M118.dat\nCOM Database=" + ws +
                                                "db/G118M136.dat\nData Folder=" + ws + "Data/\nOutput Folder=" +
                                                ws + "Output/\nUser Folder=" + ws +
                                                "User/\n[General]\nModel Type=SCI\n");
    }
    static void TearDownTestSuite() {
        fs::remove_all(*root_);
        delete root_;
        root_ = nullptr;
    }

    void SetUp() override {
        ASSERT_TRUE(generated_) << "crv_sample failed";
        tmp_.emplace("TMPDIR", *root_ + "tmp");
        settings_.emplace("CORVANE_SETTINGS", *root_ + "settings.ini");
    }
    void TearDown() override {
        settings_.reset();
        tmp_.reset();
    }

    static std::string sampleCase(const std::string& name) { return readBytes(*root_ + "ws/Data/Sample" + name + ".dat"); }

    // A fresh run folder holding `caseBytes` as "Rfi.plt".
    static std::string runFolder(const std::string& name, const std::string& caseBytes) {
        const std::string run = *root_ + "runs/" + name + "/";
        fs::remove_all(run);
        fs::create_directories(run);
        writeBytes(run + "Rfi.plt", caseBytes);
        return run;
    }

    static inline std::string* root_ = nullptr;
    static inline bool generated_ = false;

private:
    std::optional<ScopedEnv> tmp_, settings_;
};

}  // namespace crv::test
