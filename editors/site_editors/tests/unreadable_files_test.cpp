// Open and Import on files that cannot be read: each says which file and why,
// returns, and leaves the editor with the data it had, still working.
#include <gtest/gtest.h>

#include "crv/common/data_file_read.h"
#include "crv/editors/rcvr_points_editor.h"
#include "crv/editors/user_data_editor.h"
#include "fake_host.h"
#include "special_files.h"

using namespace crv::editors;
using test::FakeHost;

namespace {

std::string patternFile() {
    UserData d = newUserData(3);
    d.description = "Kept pattern             ";
    for (std::size_t i = 0; i < d.values.size(); ++i) d.values[i] = 100.0 - static_cast<double>(i);
    return writeUserDataFile(d);
}

// The last message names the file after the expected verb.
void expectRefusal(const FakeHost& host, const std::string& verb, const std::string& path) {
    ASSERT_FALSE(host.messages.empty());
    EXPECT_NE(host.messages.back().text.find(verb + path), std::string::npos) << host.messages.back().text;
}

}  // namespace

TEST(UnreadableFiles, PatternEditorKeepsItsData) {
    for (const auto& special : crv::test_files::specialFiles()) {
        SCOPED_TRACE(special.what);
        FakeHost host;
        test::writeBytes(host.folder + "good.pat", patternFile());
        UserDataEditor ed(host, true);
        host.openPaths = {host.folder + "good.pat"};
        ASSERT_TRUE(ed.Open());
        const std::string bad = host.folder + "bad.pat";
        if (!special.make(bad)) continue;
        host.openPaths = {bad};
        EXPECT_FALSE(ed.Open());
        expectRefusal(host, special.verb, bad);
        EXPECT_EQ(ed.fileTitle(), "good.pat");
        EXPECT_EQ(ed.descriptionText(), "Kept pattern");
        EXPECT_EQ(ed.cellText(1), " 99.00");
        // Still usable: the good file opens again.
        host.openPaths = {host.folder + "good.pat"};
        EXPECT_TRUE(ed.Open());
    }
}

TEST(UnreadableFiles, CalibrationEditorRefusesTheFile) {
    for (const auto& special : crv::test_files::specialFiles()) {
        SCOPED_TRACE(special.what);
        FakeHost host;
        UserDataEditor ed(host, false);
        const std::string bad = host.folder + "Antenna.cal";
        if (!special.make(bad)) continue;
        host.openPaths = {bad};
        EXPECT_FALSE(ed.Open());
        expectRefusal(host, special.verb, bad);
        EXPECT_EQ(ed.fileTitle(), "untitled");
    }
}

TEST(UnreadableFiles, PointsEditorOpenAndImportKeepTheList) {
    for (const auto& special : crv::test_files::specialFiles()) {
        SCOPED_TRACE(special.what);
        FakeHost host;
        test::writeBytes(host.folder + "good.pts", "Kept points\r\n 0 \r\n 5.500  120.0   2000\r\n");
        RcvrPointsEditor ed(host);
        host.openPaths = {host.folder + "good.pts"};
        ASSERT_TRUE(ed.Open());
        const std::string bad = host.folder + "RcvrTest.pts";
        if (!special.make(bad)) continue;
        host.openPaths = {bad};
        EXPECT_FALSE(ed.Open());
        expectRefusal(host, special.verb, bad);
        host.openPaths = {bad};
        EXPECT_FALSE(ed.Import());
        expectRefusal(host, special.verb, bad);
        EXPECT_EQ(ed.fileTitle(), "good.pts");
        EXPECT_EQ(ed.descriptionText(), "Kept points");
        EXPECT_EQ(ed.cellText(0, 1), " 5.500");
        EXPECT_EQ(ed.cellText(0, 3), " 2000");
        host.openPaths = {host.folder + "good.pts"};
        EXPECT_TRUE(ed.Import());
    }
}

// A file past what the format can hold is refused whole, not read on.
TEST(UnreadableFiles, AnOversizedFileIsRefused) {
    FakeHost host;
    const std::string big = host.folder + "big.pat";
    test::writeBytes(big, std::string(crv::common::kSiteFileMaxBytes + 1, '1'));
    UserDataEditor ed(host, true);
    host.openPaths = {big};
    EXPECT_FALSE(ed.Open());
    expectRefusal(host, "Could not read ", big);
    EXPECT_EQ(ed.fileTitle(), "untitled");
}

// Numbers no cell can hold are named with the file, the line and the value.
TEST(UnreadableFiles, NonFiniteValuesAreNamed) {
    FakeHost host;
    test::writeBytes(host.folder + "far.pts", "Far\r\n 0 \r\n1 2 3\r\n1e308 0 1000\r\n");
    RcvrPointsEditor ed(host);
    host.openPaths = {host.folder + "far.pts"};
    ASSERT_TRUE(ed.Open());
    EXPECT_NE(host.messages.back().text.find("1 point of " + host.folder + "far.pts has values outside the allowed "
                                             "range (the first on line 4: \"1e308 0 1000\")"),
              std::string::npos)
        << host.messages.back().text;

    test::writeBytes(host.folder + "gain.pat", "Loc\r\n 3  0  1e999\r\n0 50\r\n5 1e400\r\n");
    UserDataEditor pat(host, true);
    host.openPaths = {host.folder + "gain.pat"};
    ASSERT_TRUE(pat.Open());
    EXPECT_NE(host.messages.back().text.find("2 values of " + host.folder +
                                             "gain.pat are outside the allowed range (the first on line 2: "
                                             "\"1e999\"); the gain reads as 0; the others are marked"),
              std::string::npos)
        << host.messages.back().text;
    EXPECT_TRUE(pat.cellInvalid(1));
    EXPECT_FALSE(pat.Save());
}
