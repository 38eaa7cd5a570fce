#include "crv/common/text_utils.h"

#include <gtest/gtest.h>

namespace crv::common {
namespace {

TEST(LastPos, FindsTheLastOccurrenceOneBased) {
    EXPECT_EQ(LastPos("a/b/c", "/"), 4);
    EXPECT_EQ(LastPos("abc", "/"), 0);
    EXPECT_EQ(LastPos("abc", ""), 0);
    EXPECT_EQ(LastPos("abab", "ab"), 3);
}

TEST(NextToken, SkipsLeadingDelimitersAndConsumesTheOneAfter) {
    std::string text = ",,a,b";
    EXPECT_EQ(NextToken(",", text), "a");
    EXPECT_EQ(text, "b");
    EXPECT_EQ(NextToken(",", text), "b");
    EXPECT_EQ(text, "");
    EXPECT_EQ(NextToken(",", text), "");

    std::string blanks = "   ";
    EXPECT_EQ(NextToken(" ", blanks), "");
    EXPECT_EQ(blanks, "");

    std::string several = "12|34: 5";
    EXPECT_EQ(NextToken("|: ", several), "12");
    EXPECT_EQ(NextToken("|: ", several), "34");
    EXPECT_EQ(several, " 5");
    EXPECT_EQ(NextToken("|: ", several), "5");
}

TEST(SplitFields, TrimsAndStopsAtTheMaximum) {
    EXPECT_EQ(SplitFields("  a , b ,c  ", ",", 10), (std::vector<std::string>{"a", "b", "c"}));
    EXPECT_EQ(SplitFields("a,b,c", ",", 2), (std::vector<std::string>{"a", "b"}));
    EXPECT_EQ(SplitFields("a,,c", ",", 5), (std::vector<std::string>{"a", "", "c"}));
    EXPECT_TRUE(SplitFields("   ", ",", 5).empty());
    EXPECT_EQ(SplitFields("a|b", "|", 5), (std::vector<std::string>{"a", "b"}));
}

TEST(FolderEndings, AddAndRemoveOneSlash) {
    EXPECT_EQ(AddBackslash("/data"), "/data/");
    EXPECT_EQ(AddBackslash("/data/"), "/data/");
    EXPECT_EQ(AddBackslash(""), "/");
    EXPECT_EQ(RemoveBackslash("/data/"), "/data");
    EXPECT_EQ(RemoveBackslash("/data"), "/data");
}

TEST(ShortenPath, KeepsTheTailAndAsMuchOfTheStartAsFits) {
    const TextMeasure chars = [](std::string_view s) { return static_cast<double>(s.size()); };
    EXPECT_EQ(ShortenPath(chars, "/home/user/case.dat", 40), "/home/user/case.dat");
    // 19 characters into 15: the start is kept as far as it fits before ".../case.dat".
    EXPECT_EQ(ShortenPath(chars, "/home/user/case.dat", 15), "/ho.../case.dat");
    // Not even the tail fits: cut at the end.
    EXPECT_EQ(ShortenPath(chars, "/home/user/averyveryverylongname.dat", 10), ".../ave...");
}

TEST(CaseInsensitiveNames, CompareAsciiLettersWithoutCase) {
    EXPECT_TRUE(equalsNoCase("Rfi.plt", "RFI.PLT"));
    EXPECT_FALSE(equalsNoCase("Rfi.plt", "Rfi.plx"));
    EXPECT_TRUE(containsNoCase("XNAV@1234.PLT", "nav@"));
    EXPECT_TRUE(startsWithNoCase("Fm@ABC.txt", "fm@"));
    EXPECT_FALSE(startsWithNoCase("f", "fm@"));
}

}  // namespace
}  // namespace crv::common
