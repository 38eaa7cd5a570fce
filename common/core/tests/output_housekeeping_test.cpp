#include "crv/common/output_housekeeping.h"

#include <gtest/gtest.h>

#include "test_support.h"

namespace crv::common {
namespace {

using testing::existsAt;
using testing::RecordingPresenter;
using testing::ScratchFolder;

class Housekeeping : public ::testing::Test {
protected:
    ScratchFolder dir;
    std::string out = dir / "Output/";
    RecordingPresenter presenter;

    void SetUp() override { testing::makeFolder(out); }
    void put(const std::string& name) { testing::writeBytes(out + name, "x"); }
    bool has(const std::string& name) { return existsAt(out + name); }
};

const std::string kTextTail =
    " from the previous analysis will be deleted at this time. \r\r"
    " If you wish to save these files, select \"Cancel\" and \r"
    " then either change the current output directory or \r"
    " copy the files to a different directory. \r\r"
    " Do you wish to continue with the current process? ";
const std::string kTextHead =
    " All plot (*.plt, *.plx, *.ptx), report (*.txt), metafile (*.emf) and debug (*.dbg) files \r";

TEST(CheckOutputDirText, NamesEveryKindItDeletesAndWhatEachModeKeeps) {
    EXPECT_EQ(checkOutputDirText(0), kTextHead + kTextTail);
    EXPECT_EQ(checkOutputDirText(1), kTextHead + " (except navaid search files: nav@\?\?\?\?) \r" + kTextTail);
    EXPECT_EQ(checkOutputDirText(2),
              kTextHead + " (except search files: nav@\?\?\?\? and/or fm@\?\?\?) \r" + kTextTail);
}

TEST_F(Housekeeping, NavaidSearchFilesAloneAreNoPreviousOutputForModes1And2) {
    put("nav@ABCD.plt");
    put("nav@ABCD.txt");
    for (int mode : {1, 2}) {
        bool cancel = true;
        CheckOutputDir(out, mode, true, cancel, presenter);
        EXPECT_FALSE(cancel);
        EXPECT_TRUE(presenter.shown.empty());
    }
    bool cancel = true;
    CheckOutputDir(out, 0, true, cancel, presenter);
    ASSERT_EQ(presenter.shown.size(), 1u);
    EXPECT_EQ(presenter.shown[0].text, checkOutputDirText(0));
    EXPECT_EQ(presenter.shown[0].title, "Warning");
    EXPECT_EQ(presenter.shown[0].buttons, MessageButtons::OkCancel);
    EXPECT_EQ(presenter.shown[0].icon, MessageIcon::Exclamation);
    EXPECT_FALSE(cancel);
    EXPECT_FALSE(has("nav@ABCD.plt"));
    EXPECT_FALSE(has("nav@ABCD.txt"));
}

TEST_F(Housekeeping, AMetafileAloneAsksNothingAndDeletesNothing) {
    put("Plot1.emf");
    bool cancel = true;
    CheckOutputDir(out, 0, true, cancel, presenter);
    EXPECT_FALSE(cancel);
    EXPECT_TRUE(presenter.shown.empty());
    EXPECT_TRUE(has("Plot1.emf"));
}

TEST_F(Housekeeping, CancelKeepsEveryFile) {
    put("Rfi.txt");
    put("01____A2.plt");
    presenter.answer = MessageAnswer::Cancel;
    bool cancel = false;
    CheckOutputDir(out, 2, true, cancel, presenter);
    EXPECT_TRUE(cancel);
    EXPECT_TRUE(has("Rfi.txt"));
    EXPECT_TRUE(has("01____A2.plt"));
}

TEST_F(Housekeeping, RunFoldersGoButOtherFoldersAreNeverTouched) {
    testing::makeFolder(out + "run1");
    testing::writeBytes(out + "run1/RFI.PLT", "x");  // the run copy in any letter case
    testing::writeBytes(out + "run1/01____A2.plt", "x");
    testing::writeBytes(out + "run1/Rfi.txt", "x");
    testing::makeFolder(out + "keep");
    testing::writeBytes(out + "keep/x.plt", "x");
    bool cancel = false;
    CheckOutputDir(out, 2, true, cancel, presenter);
    EXPECT_EQ(presenter.shown.size(), 1u);  // the run folder alone counts as output
    EXPECT_FALSE(has("run1"));
    EXPECT_TRUE(has("keep/x.plt"));
}

TEST_F(Housekeeping, EachModeKeepsItsSearchFiles) {
    struct Case {
        int mode;
        std::vector<std::string> kept;
    } cases[] = {
        {0, {"case.dat"}},
        {1, {"case.dat", "NAV@ABCD.PLT", "loc@ABCD.plt", "vor@ABCD.plt", "com@ABCD.plt", "nav@ABCD.txt"}},
        {2,
         {"case.dat", "NAV@ABCD.PLT", "loc@ABCD.plt", "vor@ABCD.plt", "com@ABCD.plt", "nav@ABCD.txt", "fm@XYZ.plt",
          "fm@XYZ.txt"}},
    };
    const std::vector<std::string> all = {"case.dat",     "NAV@ABCD.PLT", "loc@ABCD.plt", "vor@ABCD.plt",
                                          "com@ABCD.plt", "nav@ABCD.txt", "fm@XYZ.plt",   "fm@XYZ.txt",
                                          "Rfi.plt",      "Rfi.txt",      "01_02___.plt", "FmHor01.ptx",
                                          "Rcvr_Loc.plx", "P1.emf",       "A2B2.dbg",     "loc@ABCD.txt"};
    for (const auto& c : cases) {
        for (const auto& name : all) put(name);
        bool cancel = true;  // not asking: left as the caller set it
        CheckOutputDir(out, c.mode, false, cancel, presenter);
        EXPECT_TRUE(cancel);
        EXPECT_TRUE(presenter.shown.empty());
        for (const auto& name : all) {
            const bool keep = std::find(c.kept.begin(), c.kept.end(), name) != c.kept.end();
            EXPECT_EQ(has(name), keep) << "mode " << c.mode << " " << name;
        }
        testing::makeFolder(out);
        (void)std::system(("rm -f '" + out + "'*").c_str());
    }
}

TEST_F(Housekeeping, LinksAreRemovedAsLinksAndNeverFollowed) {
    const std::string outside = dir / "elsewhere/";
    testing::makeFolder(outside);
    testing::writeBytes(outside + "rfi.plt", "x");
    testing::writeBytes(outside + "01____A2.plt", "x");
    testing::writeBytes(outside + "report.txt", "x");
    ASSERT_EQ(::symlink(outside.c_str(), (out + "linked").c_str()), 0);
    ASSERT_EQ(::symlink((outside + "report.txt").c_str(), (out + "Rfi.txt").c_str()), 0);
    put("02____B2.plt");
    DeleteOutputFiles(0, out);
    EXPECT_FALSE(has("02____B2.plt"));
    EXPECT_FALSE(has("Rfi.txt"));  // the link itself
    EXPECT_TRUE(has("linked"));
    EXPECT_TRUE(existsAt(outside + "rfi.plt"));
    EXPECT_TRUE(existsAt(outside + "01____A2.plt"));
    EXPECT_TRUE(existsAt(outside + "report.txt"));
}

TEST_F(Housekeeping, AnEmptyFolderSettingNamesNoFolderAndDeletesNothing) {
    // Results lie in the working folder; an empty setting must not reach them
    // (nor the root folder that "" + "/" would make).
    put("01____A2.plt");
    put("Rfi.txt");
    put("Rcvr_Loc.plx");
    char previous[4096];
    ASSERT_NE(::getcwd(previous, sizeof previous), nullptr);
    ASSERT_EQ(::chdir(out.c_str()), 0);
    bool cancel = true;
    CheckOutputDir("", 0, true, cancel, presenter);
    DeleteOutputFiles(0, "");
    ASSERT_EQ(::chdir(previous), 0);
    EXPECT_FALSE(cancel);
    EXPECT_TRUE(presenter.shown.empty());
    EXPECT_TRUE(has("01____A2.plt"));
    EXPECT_TRUE(has("Rfi.txt"));
    EXPECT_TRUE(has("Rcvr_Loc.plx"));
}

TEST_F(Housekeeping, AMissingOutputFolderAsksNothing) {
    bool cancel = true;
    CheckOutputDir(dir / "nowhere/", 0, true, cancel, presenter);
    EXPECT_FALSE(cancel);
    EXPECT_TRUE(presenter.shown.empty());
}

}  // namespace
}  // namespace crv::common
