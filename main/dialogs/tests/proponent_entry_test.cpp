#include <gtest/gtest.h>

#include "crv/main/dialogs/proponent_entry.h"
#include "test_support.h"

using namespace crv::main;
using crv::common::AppState;
using crv::main::test::Recorder;
using crv::main::test::TempDir;

namespace {
AppState stateFor(const char* edition) {
    AppState s;
    s.ModelType = edition;
    return s;
}
}  // namespace

TEST(ProponentEntry, RadiusFieldOnlyInTheScientificEdition) {
    TempDir dir;
    crv::platform::SettingsStore store(dir.folder() + "s.ini");
    for (const char* edition : {"FLD", "SCI"}) {
        AppState s = stateFor(edition);
        ProponentEntryModel m(s, false);
        EXPECT_EQ(m.radiusVisible(), std::string(edition) == "SCI");
        EXPECT_EQ(m.fields().box(ProponentEntryModel::SearchRadius).text(), " 3");
        m.fields().box(ProponentEntryModel::SearchRadius).setText("12");
        Recorder r;
        ProponentEntryResult res;
        ASSERT_EQ(m.accept(s, store, r, res), -1);
        EXPECT_FALSE(res.Canceled);
        EXPECT_FALSE(res.Manual);
        // The field edition always searches 3 nmi around the site.
        EXPECT_FLOAT_EQ(res.SearchRadius, std::string(edition) == "SCI" ? 12.0f : 3.0f);
    }
}

TEST(ProponentEntry, RadiusAndFrequencyLimits) {
    struct Case {
        int field;
        const char* text;
        bool ok;
    };
    const Case cases[] = {
        {ProponentEntryModel::SearchRadius, "0", false},  {ProponentEntryModel::SearchRadius, "16", false},
        {ProponentEntryModel::SearchRadius, "15", true},  {ProponentEntryModel::Frequency, "87.9", false},
        {ProponentEntryModel::Frequency, "118.0", false}, {ProponentEntryModel::Frequency, "88.0", true},
        {ProponentEntryModel::Frequency, "117.9", true},
    };
    for (const Case& c : cases) {
        AppState s = stateFor("SCI");
        ProponentEntryModel m(s, c.field == ProponentEntryModel::Frequency);
        m.fields().box(c.field).setText(c.text);
        Recorder r;
        EXPECT_EQ(m.fields().validate(c.field, r), c.ok) << c.text;
        if (!c.ok) {
            ASSERT_EQ(r.messages.size(), 1u);
            EXPECT_EQ(r.messages[0].title, "Input Error");
        }
    }
    AppState s = stateFor("SCI");
    ProponentEntryModel m(s, true);
    m.fields().box(ProponentEntryModel::Frequency).setText("88");
    Recorder r;
    ASSERT_TRUE(m.fields().validate(ProponentEntryModel::Frequency, r));
    EXPECT_EQ(m.fields().box(ProponentEntryModel::Frequency).text(), " 88.000");
}

TEST(ProponentEntry, ManualEntryBuildsTheProponentRecord) {
    TempDir dir;
    crv::platform::SettingsStore store(dir.folder() + "s.ini");
    AppState s = stateFor("FLD");
    s.LastLatitude = "N 38\xB0 53' 24\"";
    s.LastLongitude = "W 077\xB0 02' 12\"";
    ProponentEntryModel m(s, false);
    m.setMethod(true);
    EXPECT_EQ(m.fields().box(ProponentEntryModel::Identifier).text(), "PROP");
    EXPECT_TRUE(m.fields().box(ProponentEntryModel::Frequency).enabled);
    EXPECT_FALSE(m.fields().box(ProponentEntryModel::SearchRadius).enabled);
    m.fields().box(ProponentEntryModel::Identifier).setText("WXYZ");
    m.fields().box(ProponentEntryModel::Frequency).setText("101.5");
    Recorder r;
    ProponentEntryResult res;
    ASSERT_EQ(m.accept(s, store, r, res), -1);
    EXPECT_TRUE(res.Manual);
    //                    1234567890123456789012345678901234567890123456789012
    EXPECT_EQ(s.ProponentRecord, " WXYZ    101.500  38 53 24   77 02 12   0.0000     0");
    EXPECT_EQ(s.ProponentRecord.size(), 52u);
}

TEST(ProponentEntry, OkRefusesAnEmptyManualFrequency) {
    TempDir dir;
    crv::platform::SettingsStore store(dir.folder() + "s.ini");
    AppState s = stateFor("FLD");
    ProponentEntryModel m(s, true);  // the frequency box starts empty
    Recorder r;
    ProponentEntryResult res;
    EXPECT_EQ(m.accept(s, store, r, res), ProponentEntryModel::Frequency);
    EXPECT_TRUE(res.Canceled);
    EXPECT_EQ(s.ProponentRecord, "");
    ASSERT_EQ(r.messages.size(), 1u);
    EXPECT_EQ(r.messages[0].text, " A valid number must be entered. ");
}

TEST(ProponentEntry, IdentifierTakesOnlyFileNameCharacters) {
    AppState s = stateFor("FLD");
    ProponentEntryModel m(s, true);
    for (char c : std::string("/\\.*?:\xE9")) {  // E9: a letter, but not one every file system names alike
        std::int16_t key = c;
        EXPECT_EQ(m.fields().filterKey(ProponentEntryModel::Identifier, key), crv::common::KeyVerdict::Rejected) << c;
    }
    m.fields().box(ProponentEntryModel::Identifier).setText("");
    std::int16_t key = 'k';
    EXPECT_EQ(m.fields().filterKey(ProponentEntryModel::Identifier, key), crv::common::KeyVerdict::Passed);
    EXPECT_EQ(key, 'K');
    // A full box (7) swallows the key, without the beep of a refusal, unless it replaces a selection.
    m.fields().box(ProponentEntryModel::Identifier).setText("ABCDEFG");
    key = 'h';
    EXPECT_EQ(m.fields().filterKey(ProponentEntryModel::Identifier, key), crv::common::KeyVerdict::Swallowed);
    EXPECT_EQ(key, 0);
    key = 'h';
    EXPECT_EQ(m.fields().filterKey(ProponentEntryModel::Identifier, key, true), crv::common::KeyVerdict::Passed);
    EXPECT_EQ(key, 'H');
    // A pasted name holding a slash is refused when the field is left.
    m.fields().box(ProponentEntryModel::Identifier).setText("A/B");
    Recorder r;
    EXPECT_FALSE(m.fields().validate(ProponentEntryModel::Identifier, r));
}

TEST(ProponentEntry, SouthernAndEasternSitesKeepTheirHemisphere) {
    TempDir dir;
    crv::platform::SettingsStore store(dir.folder() + "s.ini");
    AppState s = stateFor("FLD");
    s.LastLatitude = "S 00\xB0 30' 00\"";
    s.LastLongitude = "E 000\xB0 15' 00\"";
    ProponentEntryModel m(s, true);
    EXPECT_EQ(m.fields().box(ProponentEntryModel::Latitude).mask()[0], 'S');
    EXPECT_EQ(m.fields().box(ProponentEntryModel::Longitude).mask()[0], 'E');
    m.fields().box(ProponentEntryModel::Frequency).setText("99.1");
    Recorder r;
    ProponentEntryResult res;
    ASSERT_EQ(m.accept(s, store, r, res), -1);
    EXPECT_EQ(s.ProponentRecord.substr(17, 9), " -0 30 00");
    EXPECT_EQ(s.ProponentRecord.substr(27, 10), "  -0 15 00");
    EXPECT_EQ(s.LastLatitude, "S 00\xB0 30' 00\"");
}

TEST(ProponentEntry, FormatSwitchKeepsThePosition) {
    AppState s = stateFor("FLD");
    s.LastLatitude = "N 40\xB0 30' 00\"";
    ProponentEntryModel m(s, false);
    m.setLatLonFormat(2);
    EXPECT_EQ(m.fields().box(ProponentEntryModel::Latitude).text(), "N 40.5000\xB0");
    EXPECT_EQ(m.fields().check(ProponentEntryModel::Latitude).decimals, 2);
    m.setLatLonFormat(1);
    EXPECT_EQ(m.fields().box(ProponentEntryModel::Latitude).text(), "N 40\xB0 30' 00\"");
}

TEST(ProponentEntry, AirspaceCaseShownOnlyForManualAndStoredPadded) {
    TempDir dir;
    crv::platform::SettingsStore store(dir.folder() + "s.ini");
    AppState s = stateFor("FLD");
    s.AirspaceCase = "2002-AEA-1     ";
    EXPECT_EQ(ProponentEntryModel(s, true).fields().box(ProponentEntryModel::AirspaceCase).text(), "2002-AEA-1");
    ProponentEntryModel m(s, false);
    EXPECT_EQ(m.fields().box(ProponentEntryModel::AirspaceCase).text(), "");
    Recorder r;
    ProponentEntryResult res;
    ASSERT_EQ(m.accept(s, store, r, res), -1);
    EXPECT_EQ(s.AirspaceCase, std::string(15, ' '));
    EXPECT_EQ(store.get("General", "Airspace Case", "?"), std::string(15, ' '));
}
