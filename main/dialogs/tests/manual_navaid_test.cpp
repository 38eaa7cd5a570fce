#include <gtest/gtest.h>

#include "crv/main/dialogs/manual_navaid.h"
#include "crv/main/dialogs/search_parameters.h"
#include "test_support.h"

using namespace crv::main;
using crv::common::AppState;
using crv::main::test::Recorder;
using crv::main::test::TempDir;
using M = ManualNavaidModel;

TEST(ManualNavaid, LoadPresetsTheLocalizer) {
    AppState s;
    M m(s);
    EXPECT_EQ(m.navaidType(), 1);
    EXPECT_EQ(m.fields().box(M::Identifier).text(), "ILS");
    EXPECT_EQ(m.fields().box(M::Frequency).text(), "110.100");
    EXPECT_EQ(m.fields().box(M::Heading).text(), "  0");
    EXPECT_EQ(m.fields().box(M::Elevation).text(), "    0");
    EXPECT_EQ(m.fields().box(M::SvRadius).text(), "  0");
    EXPECT_EQ(m.fields().box(M::SvHeight).text(), "    0");
    EXPECT_TRUE(m.fields().box(M::Heading).enabled);
    EXPECT_FALSE(m.fields().box(M::SvRadius).enabled);
    EXPECT_FALSE(m.fields().box(M::SvHeight).enabled);
}

TEST(ManualNavaid, FrequencyLimitsByType) {
    struct Case {
        int type;
        const char* text;
        bool ok;
        const char* message;
    };
    const Case cases[] = {
        {1, "108.0", false, " Value must be in the range 108.1 to 111.95. "},
        {2, "112.0", false, " Value must be in the range 108.1 to 111.95. "},
        {1, "108.1", true, nullptr},
        {1, "110.123", true, nullptr},
        {3, "108.0", true, nullptr},
        {3, "117.975", true, nullptr},
        {4, "117.9", false, " Value must be in the range 118 to 136. "},
        {1, "", false, " A valid number must be entered. "},
    };
    for (const Case& c : cases) {
        AppState s;
        M m(s);
        m.setNavaidType(c.type);
        m.fields().box(M::Frequency).setText(c.text);
        Recorder r;
        EXPECT_EQ(m.fields().validate(M::Frequency, r), c.ok) << c.type << " " << c.text;
        if (c.message) {
            ASSERT_EQ(r.messages.size(), 1u);
            EXPECT_EQ(r.messages[0].text, c.message);
        }
    }
    AppState s;
    M m(s);
    m.fields().box(M::Frequency).setText("108.1");
    Recorder r;
    ASSERT_TRUE(m.fields().validate(M::Frequency, r));
    EXPECT_EQ(m.fields().box(M::Frequency).text(), "108.100");
}

TEST(ManualNavaid, HeadingAndIdentifierChecks) {
    struct Case {
        int field;
        const char* text;
        bool ok;
    };
    for (const Case& c : {Case{M::Heading, "360", true}, Case{M::Heading, "361", false}, Case{M::Identifier, "", false},
                          Case{M::Identifier, "A.B", false}, Case{M::Identifier, "AB", true}}) {
        AppState s;
        M m(s);
        m.fields().box(c.field).setText(c.text);
        Recorder r;
        EXPECT_EQ(m.fields().validate(c.field, r), c.ok) << c.text;
    }
}

TEST(ManualNavaid, ComRecordWithDefaults) {
    TempDir dir;
    crv::platform::SettingsStore store(dir.folder() + "s.ini");
    AppState s;
    s.ProponentRecord = "something";
    s.LastLatitude = "N 38\xB0 53' 24\"";
    s.LastLongitude = "W 077\xB0 02' 12\"";
    M m(s);
    m.setNavaidType(4);
    Recorder r;
    ASSERT_EQ(m.accept(s, store, r), -1);
    const std::string& rec = s.NavaidRecord;
    ASSERT_EQ(rec.size(), 72u);
    EXPECT_EQ(rec.substr(1, 3), "COM");
    EXPECT_EQ(rec.substr(5, 3), "  0");
    EXPECT_EQ(rec.substr(9, 7), "127.000");
    EXPECT_EQ(rec.substr(17, 9), " 38 53 24");
    EXPECT_EQ(rec.substr(27, 10), "  77 02 12");
    EXPECT_EQ(rec.substr(44, 5), "15000");
    EXPECT_EQ(rec.substr(50, 3), " 10");
    EXPECT_EQ(rec.substr(54, 2), "37");
    EXPECT_EQ(rec.substr(57, 2), " 8");
    EXPECT_EQ(rec.substr(60, 3), "100");
    EXPECT_EQ(rec.substr(64, 5), " 1000");
    EXPECT_EQ(rec.substr(69, 1), " ");
    EXPECT_EQ(rec.substr(70, 2), " 0");
    EXPECT_EQ(s.ProponentRecord, "");  // a hand-entered facility has no proponent
}

TEST(ManualNavaid, OkRefusesAnEmptiedFrequency) {
    TempDir dir;
    crv::platform::SettingsStore store(dir.folder() + "s.ini");
    AppState s;
    M m(s);
    m.fields().box(M::Frequency).setText("");
    Recorder r;
    EXPECT_EQ(m.accept(s, store, r), M::Frequency);
    EXPECT_EQ(s.NavaidRecord, "");
}

TEST(ManualNavaid, SwitchingToVorResetsTheHeading) {
    AppState s;
    M m(s);
    m.fields().box(M::Heading).setText("123");
    m.setNavaidType(3);
    EXPECT_EQ(m.fields().box(M::Heading).text(), "  0");
    EXPECT_FALSE(m.fields().box(M::Heading).enabled);
    EXPECT_EQ(m.fields().box(M::Identifier).text(), "VOR");
}

TEST(ManualNavaid, NearTheEquatorAndGreenwichTheSignStays) {
    TempDir dir;
    crv::platform::SettingsStore store(dir.folder() + "s.ini");
    AppState s;
    s.LastLatitude = "S 00\xB0 20' 00\"";
    s.LastLongitude = "E 000\xB0 40' 30\"";
    M m(s);
    Recorder r;
    ASSERT_EQ(m.accept(s, store, r), -1);
    EXPECT_EQ(s.NavaidRecord.substr(17, 9), " -0 20 00");
    EXPECT_EQ(s.NavaidRecord.substr(27, 10), "  -0 40 30");
    // A southern latitude beyond a degree: the minus sign directly before the degrees.
    s.LastLatitude = "S 12\xB0 00' 00\"";
    M m2(s);
    ASSERT_EQ(m2.accept(s, store, r), -1);
    EXPECT_EQ(s.NavaidRecord.substr(17, 9), "-12 00 00");
}

TEST(NavaidRecord, LongTextsAreCutShortOnesLeftAligned) {
    NavaidRecordFields f;
    f.identifier = "AB";
    f.svType = " 0";
    const std::string r = BuildNavaidRecord(f);
    EXPECT_EQ(r.substr(1, 3), "AB ");
    f.identifier = "ABCDEF";
    EXPECT_EQ(BuildNavaidRecord(f).substr(1, 4), "ABC ");
}

TEST(SearchParameters, GroupsSelectionAndRadius) {
    struct Case {
        int in;
        std::size_t entries;
        int index;
        int chooseIndex;
        int out;
    };
    for (const Case& c : {Case{6, 3, 1, 2, 7}, Case{2, 4, 2, 2, 2}, Case{9, 1, 0, 0, 8}, Case{4, 1, 0, 0, 4}}) {
        SearchParametersModel m(c.in == 2, c.in, 25, "FLD");
        EXPECT_EQ(m.group().entries.size(), c.entries);
        EXPECT_EQ(m.listIndex(), c.index);
        EXPECT_EQ(m.backCourseNote(), c.in == 2);
        m.setListIndex(c.chooseIndex);
        int type = c.in;
        float radius = 25;
        Recorder r;
        ASSERT_EQ(m.accept(r, type, radius), -1);
        EXPECT_EQ(type, c.out);
        EXPECT_FLOAT_EQ(radius, 25);
    }
    EXPECT_EQ(SearchParametersModel(false, 6, 25, "FLD").group().entries[1], "Low-Altitude VOR");
}

TEST(SearchParameters, RadiusEditableOnlyInTheScientificEdition) {
    SearchParametersModel field(false, 0, 25.4f, "FLD");
    EXPECT_FALSE(field.radiusEditable());
    EXPECT_EQ(field.fields().box(0).text(), "25");
    for (auto [text, ok] : {std::pair{"0", false}, std::pair{"100", false}, std::pair{"99", true}}) {
        SearchParametersModel sci(false, 0, 25, "SCI");
        ASSERT_TRUE(sci.radiusEditable());
        sci.fields().box(0).setText(text);
        int type = 0;
        float radius = 25;
        Recorder r;
        EXPECT_EQ(sci.accept(r, type, radius) == -1, ok) << text;
        if (ok) {
            EXPECT_FLOAT_EQ(radius, 99);
        }
    }
}
