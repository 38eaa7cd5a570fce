#include <gtest/gtest.h>

#include "crv/viewers/report_layout.h"
#include "crv/viewers/report_pages.h"

using namespace crv::viewers;

namespace {
std::string numberedLines(int count, const char* eol = "\r\n") {
    std::string text;
    for (int i = 1; i <= count; ++i) text += "L" + std::to_string(i) + eol;
    return text;
}
}  // namespace

TEST(ReportPages, PagesByLineCountAndFormFeeds) {
    struct Case {
        const char* name;
        std::string text;
        int linesPerPage;
        int pages;
    };
    const std::string full58ThenFF = numberedLines(58) + "\f\r\n" + numberedLines(3);
    const Case cases[] = {
        {"120 lines at 58", numberedLines(120), 58, 3},
        {"116 lines at 58", numberedLines(116), 58, 2},
        {"LF line ends", numberedLines(120, "\n"), 58, 3},
        {"form feed after a full page adds no page", full58ThenFF, 58, 2},
        {"form feeds in a row", "a\r\n\f\r\n\f\r\n\fx\r\nb\r\n", 58, 2},
        {"empty", "", 58, 0},
        {"no final line end", "a\r\nb", 1, 2},
        {"zero lines per page still moves on", numberedLines(5), 0, 5},
        {"negative lines per page", numberedLines(3), -4, 3},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ReportPages::paginate(c.text, c.linesPerPage).pageCount(), c.pages) << c.name;
    }
}

TEST(ReportPages, PageLinesStopAtFormFeedAndKeepText) {
    const std::string text = "one\r\ntwo\r\n\fthree\r\nfour\r\nfive\r\n";
    const auto pages = ReportPages::paginate(text, 2);
    // The form-feed line after the full first page makes no page of its own.
    ASSERT_EQ(pages.pageCount(), 2);
    EXPECT_EQ(pages.pageLines(text, 1), (std::vector<std::string>{"one", "two"}));
    EXPECT_EQ(pages.pageLines(text, 2), (std::vector<std::string>{"four", "five"}));
    EXPECT_TRUE(pages.pageLines(text, 3).empty());
    EXPECT_TRUE(pages.pageLines(text, 0).empty());
}

TEST(ReportPages, MoreThan999PagesAreAllReachable) {
    const std::string text = numberedLines(1500 * 2);
    const auto pages = ReportPages::paginate(text, 2);
    ASSERT_EQ(pages.pageCount(), 1500);
    EXPECT_EQ(pages.pageLines(text, 1500), (std::vector<std::string>{"L2999", "L3000"}));
    EXPECT_EQ(pageLabel(1500, pages.pageCount()), "Page 1500 of 1500");
}

TEST(ReportPages, TextAndLabels) {
    EXPECT_EQ(pageText({"a", "b"}, 2), "a\r\nb");
    EXPECT_EQ(pageText({"a", "b"}, 3), "a\r\nb\r\n");
    EXPECT_EQ(pageLabel(1, 0), "Page 1 of 0");
    EXPECT_EQ(reportLabel(2, 3), "Report 2 of 3");
}

TEST(ReportLayout, LinesPerPage) {
    struct Case {
        int avail, line, lines;
    };
    const Case cases[] = {
        {58 * 200, 200, 58}, {100 * 200, 200, 58}, {57 * 200, 200, 55}, {56 * 200 + 199, 200, 55},
        {55 * 200, 200, 55}, {10 * 200, 200, 10},  {150, 200, 1},       {-500, 200, 1},
        {10000, 0, 1},       {10000, -3, 1},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(linesPerPageFor(c.avail, c.line), c.lines) << c.avail << "/" << c.line;
    }
}

TEST(ReportLayout, LineHeightForWorkArea) {
    // 0.99 * 15000 = 14850; less 600 and 240 leaves 14010; /58 = 241.55 -> 242.
    EXPECT_EQ(lineTwipsFor(15000, 600, 240), 242);
}

TEST(ReportLayout, FontLoopIsBoundedAndKeepsLastFittingSize) {
    // 15 twips a pixel: 9 px = 135 twips; with line height 200, 13 px (195) fits, 14 px (210) not.
    EXPECT_EQ(growFontPixels(9, 200, [](int px) { return px * 15; }), 13);
    // Start size is kept even when it is already too tall.
    EXPECT_EQ(growFontPixels(9, 100, [](int px) { return px * 15; }), 9);
    // A font whose height never grows stops at the bound instead of looping on.
    EXPECT_EQ(growFontPixels(
                  9, 200, [](int) { return 0; }, 40),
              40);
}
