#include <gtest/gtest.h>

#include "crv/viewers/report_print.h"

using namespace crv::viewers;

namespace {
std::string numberedLines(int count) {
    std::string text;
    for (int i = 1; i <= count; ++i) text += "L" + std::to_string(i) + "\r\n";
    return text;
}
std::vector<int> numbers(const std::vector<PrintedPage>& pages) {
    std::vector<int> n;
    for (const auto& p : pages) n.push_back(p.number);
    return n;
}
}  // namespace

TEST(ReportPrint, HundredTwentyLinesGiveThreePages) {
    const auto pages = printedPages(numberedLines(120), 1, 999);
    ASSERT_EQ(pages.size(), 3u);
    EXPECT_EQ(pages[0].lines.size(), 58u);
    EXPECT_EQ(pages[1].lines.size(), 58u);
    EXPECT_EQ(pages[2].lines, (std::vector<std::string>{"L117", "L118", "L119", "L120"}));
    EXPECT_EQ(footerHeader("Rfi.txt"), " File:  Rfi.txt");
    EXPECT_EQ(footerPage(3), "Page 3 ");
}

TEST(ReportPrint, RangeCountsPrintedPages) {
    // Form feeds every 10 lines: each block is one printed page whatever the screen paging.
    std::string text;
    for (int block = 1; block <= 5; ++block) text += numberedLines(10) + "\f\r\n";
    struct Case {
        int from, to;
        std::vector<int> printed;
    };
    const Case cases[] = {
        {1, 999, {1, 2, 3, 4, 5}}, {2, 3, {2, 3}}, {5, 5, {5}}, {4, 10, {4, 5}}, {6, 9, {}}, {3, 2, {}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(numbers(printedPages(text, c.from, c.to)), c.printed) << c.from << ".." << c.to;
    }
}

TEST(ReportPrint, PagesBeyond999ArePrinted) {
    const auto pages = printedPages(numberedLines(58 * 1001), 1000, 1001);
    ASSERT_EQ(numbers(pages), (std::vector<int>{1000, 1001}));
    EXPECT_EQ(pages[1].lines.back(), "L58058");
}

TEST(ReportPrint, FormFeedAfterFullPageStartsNoEmptyPage) {
    const auto pages = printedPages(numberedLines(58) + "\f\r\n" + "x\r\n", 1, 999);
    EXPECT_EQ(numbers(pages), (std::vector<int>{1, 2}));
}

TEST(ReportPrint, Geometry) {
    // Letter at 600 dpi: 5100 x 6600, unprintable edge 100 x 120.
    // marginX = max(510, 100) = 510; marginY = max(600, 120) = 600.
    // left 410, right 5100-100-510 = 4490, top 480, lineHeight (6600-1200)/58 = 93.1 -> 93,
    // footerY = 6480 - 300 - 93 = 6087.
    const auto g = printGeometry(600, 600, 5100, 6600, 100, 120);
    EXPECT_EQ(g.left, 410);
    EXPECT_EQ(g.right, 4490);
    EXPECT_EQ(g.top, 480);
    EXPECT_EQ(g.lineHeight, 93);
    EXPECT_EQ(g.footerY, 6087);
    // An unprintable edge wider than the margin: the margin becomes the edge.
    const auto wide = printGeometry(100, 100, 850, 1100, 90, 150);
    EXPECT_EQ(wide.left, 0);
    EXPECT_EQ(wide.top, 0);
}
