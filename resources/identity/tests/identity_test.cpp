#include <gtest/gtest.h>

#include "crv/resources/identity.h"

using crv::resources::Edition;
using crv::resources::identityOf;

TEST(Identity, EachEditionHasItsOwnStrings) {
    struct Case {
        Edition edition;
        const char* title;
        const char* description;
    };
    for (const Case& c : {Case{Edition::Field, "CRV", "Corvane"},
                          Case{Edition::Scientific, "CRV_Sci", "Corvane (Scientific)"}}) {
        const auto id = identityOf(c.edition);
        EXPECT_EQ(id.title, c.title);
        EXPECT_EQ(id.fileDescription, c.description);
        EXPECT_EQ(id.version, "5.0.7");
        EXPECT_EQ(id.comments, "February 28, 2002");
        EXPECT_EQ(id.company, "QVA");
        EXPECT_EQ(id.product, "Corvane");
        EXPECT_EQ(id.caption, " Corvane 5.0");  // the leading blank is kept
    }
}

TEST(Identity, CrLfLinesAndCommentsAreRead) {
    const auto id = crv::resources::parseIdentity("# c\r\ntitle=X\r\n\r\nunknown=1\r\n");
    EXPECT_EQ(id.title, "X");
    EXPECT_THROW(crv::resources::parseIdentity("title X\n"), std::runtime_error);
}
