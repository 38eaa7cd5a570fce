// The new case's save dialog: ".dat" goes on the typed file name before the
// question about an existing file, and No never lets the file be replaced.
#include "crv/main/run/save_file_choice.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <deque>
#include <filesystem>
#include <fstream>

namespace crv::main::run {
namespace {

namespace fs = std::filesystem;
using crv::common::Message;
using crv::common::MessageAnswer;

class ScriptedPresenter : public crv::common::MessagePresenter {
public:
    std::vector<Message> asked;
    std::deque<MessageAnswer> answers;
    MessageAnswer present(const Message& m) override {
        asked.push_back(m);
        const MessageAnswer a = answers.empty() ? MessageAnswer::No : answers.front();
        if (!answers.empty()) answers.pop_front();
        return a;
    }
};

TEST(WithDefaultExtension, LooksAtTheFileNameOnly) {
    struct Case {
        const char* path;
        const char* expected;
    } cases[] = {
        {"/data/ABC_loc", "/data/ABC_loc.dat"},
        {"/my.data/v1.2/ABC_loc", "/my.data/v1.2/ABC_loc.dat"},  // dots in the folders
        {"/data/ABC_loc.dat", "/data/ABC_loc.dat"},
        {"/data/notes.txt", "/data/notes.txt"},
        {"ABC", "ABC.dat"},
        {"", ""},
        {"/data/", "/data/"},
    };
    for (const auto& c : cases) EXPECT_EQ(withDefaultExtension(c.path, ".dat"), c.expected) << c.path;
    EXPECT_EQ(withDefaultExtension("/data/ABC", ""), "/data/ABC");
}

class ChooseSaveFile : public ::testing::Test {
protected:
    void SetUp() override {
        folder = fs::temp_directory_path() / ("crv-save.choice-" + std::to_string(::getpid()));
        fs::create_directories(folder);
        std::ofstream(folder / "ABC_loc.dat", std::ios::binary) << "finished case\r\n";
        request.title = "Save Data File As";
        request.defaultExt = ".dat";
        request.initialDir = folder.string() + "/";
        request.fileName = "ABC_loc.dat";
    }
    void TearDown() override { fs::remove_all(folder); }

    // A dialog that answers each showing with the next typed name ("" cancels).
    std::function<std::string(const SaveFileRequest&)> typing(std::deque<std::string> names) {
        return [this, names](const SaveFileRequest& r) mutable {
            shown.push_back(r);
            const std::string n = names.front();
            names.pop_front();
            return n.empty() ? n : folder.string() + "/" + n;
        };
    }

    fs::path folder;
    SaveFileRequest request;
    std::vector<SaveFileRequest> shown;
    ScriptedPresenter presenter;
};

TEST_F(ChooseSaveFile, AnExistingCaseTypedWithoutItsExtensionIsAskedAbout) {
    // No: the dialog comes back on the same name; then the user cancels.
    presenter.answers = {MessageAnswer::No};
    EXPECT_EQ(chooseSaveFile(request, typing({"ABC_loc", ""}), presenter), "");
    ASSERT_EQ(presenter.asked.size(), 1u);
    EXPECT_EQ(presenter.asked[0].text, " ABC_loc.dat already exists. \r Do you want to replace it? ");
    EXPECT_EQ(presenter.asked[0].title, "Save Data File As");
    EXPECT_EQ(presenter.asked[0].buttons, crv::common::MessageButtons::YesNo);
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(shown[1].fileName, "ABC_loc.dat");
    EXPECT_EQ(shown[1].initialDir, folder.string() + "/");

    // No, then a new name: that one is taken without a question.
    presenter.asked.clear();
    shown.clear();
    presenter.answers = {MessageAnswer::No};
    EXPECT_EQ(chooseSaveFile(request, typing({"ABC_loc", "ABC_new"}), presenter), folder.string() + "/ABC_new.dat");
    EXPECT_EQ(presenter.asked.size(), 1u);

    // Yes: the existing file's path, with its extension.
    presenter.asked.clear();
    presenter.answers = {MessageAnswer::Yes};
    EXPECT_EQ(chooseSaveFile(request, typing({"ABC_loc"}), presenter), folder.string() + "/ABC_loc.dat");
}

TEST_F(ChooseSaveFile, NewNamesAndCancelAskNothing) {
    EXPECT_EQ(chooseSaveFile(request, typing({"XYZ_vor"}), presenter), folder.string() + "/XYZ_vor.dat");
    EXPECT_EQ(chooseSaveFile(request, typing({""}), presenter), "");
    EXPECT_TRUE(presenter.asked.empty());
    // A folder with a dot in its name still gets the extension on the file.
    fs::create_directories(folder / "v1.2");
    EXPECT_EQ(chooseSaveFile(request, typing({"v1.2/ABC_loc"}), presenter), folder.string() + "/v1.2/ABC_loc.dat");
    EXPECT_TRUE(presenter.asked.empty());
}

}  // namespace
}  // namespace crv::main::run
