// The report viewer's logic without a window: what is asked, paging past
// 999 pages, keys, a report that cannot be read, the print range in printed
// pages and Save As onto the report itself.
#include "crv/viewers/report_viewer_controller.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <climits>
#include <filesystem>
#include <fstream>
#include <sstream>
#include "crv/testing/files.h"

namespace fs = std::filesystem;
using namespace crv::viewers;

namespace {

std::string lines(int count, const std::string& prefix = "line ") {
    std::string s;
    for (int i = 1; i <= count; ++i) s += prefix + std::to_string(i) + "\r\n";
    return s;
}

class ReportViewerTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() / ("crv_report_viewer_" + std::to_string(::getpid()));
        fs::create_directories(dir_);
    }
    void TearDown() override { fs::remove_all(dir_); }
    void write(const std::string& name, const std::string& text) { crv::testing::writeBytes(dir_ / name, text); }
    std::string read(const std::string& name) { return crv::testing::readBytes(dir_ / name); }
    std::string folder() const { return dir_.string() + "/"; }
    fs::path dir_;
};

}  // namespace

TEST(ReportQuestions, SeveralReportsAskViewOrPrintAndAutoPrintPrints) {
    struct Case {
        const char* list;
        bool autoPrint, ask, print;
    } cases[] = {{"Rfi.txt", false, false, false},
                 {"Rfi.txt|nav@QKV.txt", false, true, false},
                 {"Rfi.txt|nav@QKV.txt", true, false, true},
                 {"Rfi.txt", true, false, true}};
    for (const Case& c : cases) {
        const ReportQuestions q = reportQuestions(c.list, c.autoPrint);
        EXPECT_EQ(q.ask, c.ask) << c.list;
        EXPECT_EQ(q.print, c.print) << c.list;
    }
}

TEST(PrintedPages, CountedInPagesOf58LinesWithoutEmptyPages) {
    EXPECT_EQ(printedPageCount(lines(120)), 3);
    EXPECT_EQ(printedPageCount(lines(116)), 2);
    // A form feed right after a full page makes no empty page.
    EXPECT_EQ(printedPageCount(lines(58) + "\f\r\n" + lines(3)), 2);
    EXPECT_EQ(printedPageCount(lines(10) + "\f\r\n" + lines(10)), 2);
    EXPECT_EQ(printedPageCount(""), 0);
}

TEST_F(ReportViewerTest, PagesPast999AreShownAndPrinted) {
    std::string text;
    for (int p = 1; p <= 1200; ++p) text += "page " + std::to_string(p) + "\r\n\f\r\n";
    write("long.txt", text);
    ReportViewerController c;
    c.setLinesPerPage(55);
    c.setList(folder(), "long.txt");
    ASSERT_FALSE(c.LoadFile());
    EXPECT_EQ(c.PageCount(), 1200);
    while (c.nextPage()) {}
    EXPECT_EQ(c.CurrentPage(), 1200);
    EXPECT_EQ(c.pageText(), "page 1200\r\n");
    EXPECT_EQ(c.pageLabelText(), "Page 1200 of 1200");
    EXPECT_EQ(c.printedPageTotal(), 1200);
    const auto last = c.pagesToPrint(1000, INT_MAX);
    ASSERT_EQ(last.size(), 201u);
    EXPECT_EQ(last.back().number, 1200);
    EXPECT_EQ(last.back().lines, std::vector<std::string>{"page 1200"});
}

TEST_F(ReportViewerTest, PrintRangeIsInPrintedPages) {
    // 120 lines on a screen of 20 lines: 6 screen pages, 3 printed pages.
    write("Rfi.txt", lines(120));
    ReportViewerController c;
    c.setLinesPerPage(20);
    c.setList(folder(), "Rfi.txt");
    ASSERT_FALSE(c.LoadFile());
    EXPECT_EQ(c.PageCount(), 6);
    EXPECT_EQ(c.printedPageTotal(), 3);
    const auto pages = c.pagesToPrint(2, 3);
    ASSERT_EQ(pages.size(), 2u);
    EXPECT_EQ(pages[0].number, 2);
    EXPECT_EQ(pages[0].lines.front(), "line 59");
    EXPECT_EQ(pages[0].lines.size(), 58u);
    EXPECT_EQ(pages[1].lines.size(), 4u);
    EXPECT_EQ(pages[1].lines.back(), "line 120");
}

TEST_F(ReportViewerTest, KeysAndButtonsAtTheEndsOfPagesAndReports) {
    write("a.txt", lines(30));
    write("b.txt", lines(5));
    ReportViewerController c;
    c.setLinesPerPage(20);
    c.setList(folder(), "|a.txt|b.txt||c.txt");  // the list ends at the empty name
    ASSERT_EQ(c.ReportCount(), 2);
    ASSERT_FALSE(c.LoadFile());
    EXPECT_EQ(c.caption(), " CRV Report -- a.txt");
    EXPECT_EQ(c.reportLabelText(), "Report 1 of 2");
    EXPECT_FALSE(c.prevPageEnabled());
    EXPECT_TRUE(c.nextPageEnabled());
    EXPECT_FALSE(c.prevReportEnabled());
    EXPECT_TRUE(c.nextReportEnabled());
    using K = ReportViewerController::KeyAction;
    EXPECT_EQ(c.key(false, false, false), K::Beep);  // Page Up on page 1
    EXPECT_EQ(c.key(true, false, false), K::Page);
    EXPECT_EQ(c.CurrentPage(), 2);
    EXPECT_EQ(c.pageText(), lines(30).substr(lines(20).size()));
    EXPECT_EQ(c.key(true, false, false), K::Beep);
    EXPECT_EQ(c.key(true, false, true), K::None);  // Ctrl+Page Down does nothing
    EXPECT_EQ(c.key(true, true, false), K::Report);
    ASSERT_FALSE(c.LoadFile());
    EXPECT_EQ(c.CurrentPage(), 1);
    EXPECT_EQ(c.reportLabelText(), "Report 2 of 2");
    EXPECT_EQ(c.key(true, true, false), K::Beep);  // Shift+Page Down on the last report
    EXPECT_EQ(c.CurrentReport(), 2);
    // A full page ends without a line break; a shorter one keeps its last.
    EXPECT_EQ(c.pageText(), lines(5));
}

TEST_F(ReportViewerTest, AReportThatCannotBeReadShowsNoPageAndSaysSo) {
    ReportViewerController c;
    c.setList(folder(), "missing.txt");
    const auto error = c.LoadFile();
    ASSERT_TRUE(error);
    EXPECT_EQ(error->rfind("Could not open " + folder() + "missing.txt", 0), 0u) << *error;
    // A folder in place of the report is said as such, not shown as an empty report.
    std::filesystem::create_directory(folder() + "Rfi.txt");
    c.setList(folder(), "Rfi.txt");
    const auto folderError = c.LoadFile();
    ASSERT_TRUE(folderError);
    EXPECT_EQ(*folderError, "Could not open " + folder() + "Rfi.txt: it is a folder");
    EXPECT_EQ(c.PageCount(), 0);
    EXPECT_EQ(c.pageLabelText(), "Page 1 of 0");
    EXPECT_FALSE(c.prevPageEnabled());
    EXPECT_FALSE(c.nextPageEnabled());
    EXPECT_EQ(c.pageText(), "");
}

TEST_F(ReportViewerTest, SaveAsOntoItselfKeepsTheReportAndFailuresAreReported) {
    const std::string text = lines(70);
    write("Rfi.txt", text);
    ReportViewerController c;
    c.setList(folder(), "Rfi.txt");
    ASSERT_FALSE(c.LoadFile());
    EXPECT_EQ(c.saveAs(folder() + "./Rfi.txt"), "");
    EXPECT_EQ(read("Rfi.txt"), text);
    fs::create_symlink(dir_ / "Rfi.txt", dir_ / "link.txt");
    EXPECT_EQ(c.saveAs(folder() + "link.txt"), "");
    EXPECT_EQ(read("Rfi.txt"), text);
    EXPECT_EQ(c.saveAs(folder() + "copy.txt"), "");
    EXPECT_EQ(read("copy.txt"), text);
    EXPECT_NE(c.saveAs(folder() + "no/such/folder/copy.txt"), "");
}
