#pragma once
// Recording fakes of the progress display, the message presenter and the
// questions, and a scratch workspace for the run controller's tests.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "crv/binding/fake_engine.h"
#include "crv/common/app_state.h"
#include "crv/common/messages.h"
#include "crv/common/progress_display.h"
#include "crv/main/run/run_controller.h"
#include "crv/platform/settings_store.h"
#include "crv/testing/files.h"

namespace crv::main::run::test {

namespace fs = std::filesystem;

class RecordingProgress : public crv::common::ProgressDisplay {
public:
    std::vector<std::string> events;  // "Initialize:...", "FinalMsg:...", "Remove"
    int valueCalls = 0;
    int cancelAtValue = -1;  // the Value call (1-based) at which the user presses Cancel
    // The FinalMsg call (1-based) at which a Cancel clicked as the step ended
    // comes through (the window then shows no result).
    int cancelAtFinal = -1;
    std::function<void()> onValue;
    std::int32_t maximum = 0;

    void Initialize(const std::string& message) override {
        events.push_back("Initialize:" + message);
        canceled_ = false;
    }
    void MaxValue(std::int32_t value) override { maximum = value; }
    void Value(std::int32_t) override {
        ++valueCalls;
        if (valueCalls == cancelAtValue) canceled_ = true;
        if (onValue) onValue();
    }
    bool Canceled() const override { return canceled_; }
    void FinalMsg(const std::string& message) override {
        if (++finalCalls_ == cancelAtFinal) {
            canceled_ = true;
            return;
        }
        events.push_back("FinalMsg:" + message);
    }
    void Remove() override { events.push_back("Remove"); }
    void cancel() { canceled_ = true; }

    std::vector<std::string> finals() const {
        std::vector<std::string> out;
        for (const auto& e : events)
            if (e.rfind("FinalMsg:", 0) == 0) out.push_back(e.substr(9));
        return out;
    }

private:
    int finalCalls_ = 0;
    bool canceled_ = false;
};

class RecordingPresenter : public crv::common::MessagePresenter {
public:
    std::vector<crv::common::Message> shown;
    crv::common::MessageAnswer present(const crv::common::Message& m) override {
        shown.push_back(m);
        return crv::common::MessageAnswer::Ok;
    }
    std::string texts() const {
        std::string all;
        for (const auto& m : shown) all += "[" + m.title + "]" + m.text + "\n";
        return all;
    }
};

class ScriptedQuestions : public RunQuestions {
public:
    // GetParams
    int paramsCalls = 0;
    bool cancelParams = false;
    std::int16_t chosenType = -1;  // -1 keeps the proposal
    float chosenRadius = -1;
    // SaveFileAs
    std::vector<SaveFileRequest> saveRequests;
    std::string savePath;  // "" = cancelled

    void GetParams(bool, std::int16_t& svType, float& srchRad, bool& canceled) override {
        ++paramsCalls;
        canceled = cancelParams;
        if (canceled) return;
        if (chosenType >= 0) svType = chosenType;
        if (chosenRadius >= 0) srchRad = chosenRadius;
    }
    std::string SaveFileAs(const SaveFileRequest& request) override {
        saveRequests.push_back(request);
        return savePath;
    }
};

using crv::testing::readBytes;
using crv::testing::writeBytes;

// Lines joined with CR LF, each ended by CR LF.
inline std::string crlf(const std::vector<std::string>& lines) {
    std::string out;
    for (const auto& l : lines) out += l + "\r\n";
    return out;
}

inline std::vector<std::string> crlfLines(const std::string& bytes) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (auto end = bytes.find("\r\n"); end != std::string::npos; end = bytes.find("\r\n", start)) {
        lines.push_back(bytes.substr(start, end - start));
        start = end + 2;
    }
    return lines;
}

// A workspace: Temp/, Output/, Data/ and a settings file of its own, an
// application state naming them, and a controller over the fakes.
class Workspace {
public:
    explicit Workspace(const std::string& name) {
        root = fs::temp_directory_path() /
               ("crv-run-" + name + "-" + std::to_string(::getpid()) + "-" + std::to_string(counter()++));
        fs::remove_all(root);
        for (const char* sub : {"Temp", "Output", "Data"}) fs::create_directories(root / sub);
        state.TempFolder = (root / "Temp").string() + "/";
        state.OutputFolder = (root / "Output").string() + "/";
        state.DataFolder = (root / "Data").string() + "/";
        state.ModelType = "FLD";
        state.UseQVADB = 1;
        state.UseCOMDB = 1;
        state.AirspaceCase = "TESTCASE       ";
        settings = std::make_unique<crv::platform::SettingsStore>((root / "settings.ini").string());
    }
    ~Workspace() { fs::remove_all(root); }

    RunController& controller(crv::binding::EngineApi& engine) {
        RunServices s;
        s.state = &state;
        s.settings = settings.get();
        s.engine = &engine;
        s.progress = &progress;
        s.messages = &messages;
        s.questions = &questions;
        s.viewers = viewers;
        if (!systemDate) s.today = [] { return std::string("12/10/26"); };
        ctl = std::make_unique<RunController>(std::move(s));
        return *ctl;
    }

    std::string temp(const std::string& name) const { return state.TempFolder + name; }
    std::string output(const std::string& name) const { return state.OutputFolder + name; }
    std::string data(const std::string& name) const { return state.DataFolder + name; }

    fs::path root;
    crv::common::AppState state;
    std::unique_ptr<crv::platform::SettingsStore> settings;
    RecordingProgress progress;
    RecordingPresenter messages;
    ScriptedQuestions questions;
    ResultViewers viewers;
    bool systemDate = false;  // the controller's own clock instead of 12/10/26
    std::unique_ptr<RunController> ctl;

private:
    static int& counter() {
        static int n = 0;
        return n;
    }
};

}  // namespace crv::main::run::test
