#pragma once
// A scripted program around the editors: answers questions from a queue,
// records every message and what the dialogs were asked.
#include <deque>
#include <filesystem>
#include <string>
#include <vector>

#include "crv/editors/site_editor_host.h"
#include "crv/testing/files.h"

namespace crv::editors::test {

class FakeHost : public SiteEditorHost, public common::MessagePresenter {
public:
    FakeHost() {
        folder = scratch_.path();
        app.UserFolder = folder;
        app.TempFolder = folder;
    }

    common::MessageAnswer present(const common::Message& m) override {
        messages.push_back(m);
        if (answers.empty())
            return m.buttons == common::MessageButtons::Ok ? common::MessageAnswer::Ok : common::MessageAnswer::Cancel;
        const auto a = answers.front();
        answers.pop_front();
        return a;
    }
    common::MessagePresenter& presenter() override { return *this; }
    common::AppState& state() override { return app; }
    void savePaths() override { ++pathSaves; }
    std::string showFiles(int kind, bool keep) override {
        browsed.push_back({kind, keep});
        return next(openPaths);
    }
    std::string askSaveFile(const FileDialogRequest& r) override {
        saveRequests.push_back(r);
        return next(savePaths_);
    }
    std::string askOpenFile(const FileDialogRequest& r) override {
        openRequests.push_back(r);
        return next(openPaths);
    }
    void displayPlots(const std::string& f, const std::string& name) override {
        plotted.push_back(f + name);
        plotExisted = std::filesystem::exists(f + name);
    }
    void showHelp(const std::string& topic) override { help.push_back(topic); }

    std::string folder;
    common::AppState app;
    std::deque<common::MessageAnswer> answers;
    std::vector<common::Message> messages;
    std::deque<std::string> openPaths, savePaths_;
    std::vector<std::pair<int, bool>> browsed;
    std::vector<FileDialogRequest> saveRequests, openRequests;
    std::vector<std::string> plotted, help;
    bool plotExisted = false;
    int pathSaves = 0;

private:
    crv::testing::ScratchFolder scratch_{"crv-site"};

    static std::string next(std::deque<std::string>& q) {
        if (q.empty()) return {};
        auto s = q.front();
        q.pop_front();
        return s;
    }
};

using crv::testing::readBytes;
using crv::testing::writeBytes;

}  // namespace crv::editors::test
