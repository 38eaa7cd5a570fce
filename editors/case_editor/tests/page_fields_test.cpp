// Page fields of the case data editor, driven without a window.
#include <gtest/gtest.h>

#include "crv/common/lat_lon.h"
#include "crv/editors/case_editor/page_fields.h"
#include "crv/editors/case_file.h"
#include "recording.h"

using namespace crv::editors;
using crv::resources::Edition;

namespace {

const std::vector<std::string> kCaseLines = {
    "CRV Version 5.0.6",
    " ABC 275 108.100  39 20 15   77 45 40   250  9000  15 38  0   0     0",
    " QKAA    106.100  39 21 18   77 38 02  50.0000  1378 13  1  30  1 LIC     0",
    " $$$$",
    "  1  1  1  1  1  1         0 2000 500  0  0",
    " CASE            SITE                      03/14/24 30",
};

struct Fixture {
    explicit Fixture(Edition e) : dict(FieldDictionary::forEdition(e)), pages(dict, state, presenter) {
        auto data = ReadCaseLines(kCaseLines, dict);
        EXPECT_TRUE(data) << data.error();
        if (data) pages.load(*data);
        state.currentPage = 2;
    }
    FieldDictionary dict;
    EditorState state;
    test::Recorder presenter;
    PageFields pages;
    FieldBox& f(int n) { return *pages.field(n); }
    // Types a text into a field as keys, as the window forwards them.
    std::string type(int n, const std::string& keys) {
        std::string out = pages.field(n)->value;
        for (char c : keys) {
            std::int16_t k = static_cast<unsigned char>(c);
            if (pages.keyPress(n, k) == KeyAction::Pass) out += static_cast<char>(k);
        }
        pages.textChanged(n, out);
        return out;
    }
};

struct Place {
    const char* label;
    int column;
    int row;
};

}  // namespace

// Both editions lay their pages out in columns of six rows; gaps take a row,
// hidden fields none.
TEST(PageFields, LayoutFollowsEachEditionsDictionary) {
    const Place fld2[] = {{"Navaid ID", 0, 0},       {"Runway Heading", 0, 1},   {"Frequency", 0, 2},
                          {"Latitude", 0, 3},        {"Longitude", 0, 4},        {"Field Elevation", 1, 0},
                          {"Runway Length", 1, 1},   {"Array Type", 1, 3},       {"Service Volume Type", 1, 4}};
    const Place sci2[] = {{"Transmitter Power", 1, 2}, {"Array Type", 1, 3}};
    const Place fld4[] = {{"Grid Type", 0, 0},     {"Intermod Calculations", 0, 1}, {"Interference Criteria", 0, 2},
                          {"Output Style", 0, 3},  {"Grid Altitude", 1, 0},         {"Grid Angle", 1, 1},
                          {"Coarse Grid Prescreening", 1, 4}};
    const Place sci4[] = {{"Antenna Rejection", 0, 2}, {"Cutoff Criteria", 0, 4}, {"Output Style", 0, 5},
                          {"Observe ICAO Minimum", 1, 5}};
    auto check = [](Fixture& fx, int page, const auto& places) {
        for (const Place& p : places) {
            const int n = fx.pages.fieldNumber(page, p.label);
            ASSERT_NE(n, 0) << p.label;
            EXPECT_EQ(fx.f(n).gridColumn, p.column) << p.label;
            EXPECT_EQ(fx.f(n).gridRow, p.row) << p.label;
            EXPECT_TRUE(fx.f(n).visible) << p.label;
        }
    };
    Fixture fld(Edition::Field), sci(Edition::Scientific);
    check(fld, 2, fld2);
    check(fld, 4, fld4);
    check(sci, 2, sci2);
    check(sci, 4, sci4);
    EXPECT_FALSE(fld.f(fld.pages.fieldNumber(2, "Transmitter Power")).visible);
    EXPECT_FALSE(fld.f(fld.pages.svRadiusField).visible);
    EXPECT_FALSE(sci.f(sci.pages.svHeightField).visible);
    EXPECT_EQ(fld.pages.firstField(1), 16);
    EXPECT_LE(sci.pages.lastField(4), 50);
    // Field edition: the increments are read-only whatever the grid type.
    EXPECT_FALSE(fld.f(fld.pages.horizontalIncrementField).enabled);
    EXPECT_FALSE(fld.f(fld.pages.verticalIncrementField).enabled);
}

TEST(PageFields, LoadFormatsValuesAndNarrowsFlag16Ranges) {
    Fixture fx(Edition::Field);
    EXPECT_EQ(fx.f(fx.pages.frequencyField).value, "108.100");
    EXPECT_FLOAT_EQ(fx.f(fx.pages.frequencyField).record.maximum, 117.999f);
    EXPECT_EQ(fx.f(fx.pages.latitudeField).value.substr(0, 2), "N ");
    EXPECT_EQ(fx.f(fx.pages.latitudeField).maskText[0], 'N');
    // Grid type 1 has no altitude; type 3 with an empty one and a field
    // elevation of 250 fills in 1250.
    EXPECT_EQ(fx.f(fx.pages.gridAltitudeField).value, "");
    EXPECT_FALSE(fx.f(fx.pages.gridAltitudeField).enabled);
    fx.state.currentPage = 4;
    fx.pages.gotFocus(fx.pages.gridTypeField);
    fx.pages.listClick(fx.pages.gridTypeField, 3 - 1);
    EXPECT_EQ(fx.f(fx.pages.gridAltitudeField).value, " 1250");
    EXPECT_TRUE(fx.f(fx.pages.gridAltitudeField).enabled);
    EXPECT_FALSE(fx.f(fx.pages.gridAngleField).enabled);
    CaseData back;
    fx.pages.store(back);
    EXPECT_EQ(back.optionsPage[0], "3");
    EXPECT_EQ(back.casePage[1], "SITE");
    fx.pages.RestoreFieldRanges();
    EXPECT_FLOAT_EQ(fx.f(fx.pages.frequencyField).record.maximum, 136.0f);
}

TEST(PageFields, CommitChecksAndMarksOnlyRealChanges) {
    Fixture fx(Edition::Field);
    fx.state.currentPage = 4;
    fx.pages.gotFocus(fx.pages.gridTypeField);
    fx.pages.listClick(fx.pages.gridTypeField, 3 - 1);
    ASSERT_TRUE(fx.pages.CommitFieldEdit());
    fx.state.modified = false;
    const int alt = fx.pages.gridAltitudeField;
    fx.pages.gotFocus(alt);
    // Retyping the same value does not make the case modified.
    fx.f(alt).value = "";
    fx.type(alt, "1250");
    ASSERT_TRUE(fx.pages.CommitFieldEdit());
    EXPECT_EQ(fx.f(alt).value, " 1250");
    EXPECT_FALSE(fx.state.modified);
    // Letters never reach a number field; an out-of-range value is refused
    // and keeps the field in edit.
    fx.pages.gotFocus(alt);
    fx.f(alt).value = "";
    EXPECT_EQ(fx.type(alt, "-x1000"), "-1000");
    EXPECT_FALSE(fx.pages.CommitFieldEdit());
    EXPECT_EQ(fx.state.editState, 1);
    ASSERT_EQ(fx.presenter.messages.size(), 1u);
    EXPECT_EQ(fx.presenter.messages[0].title, "Input Error");
    EXPECT_FALSE(fx.state.modified);
    // The refused field gets the focus back (after the message box): that is
    // no new entry, and Escape still puts back the value the field had when
    // the user entered it, not the refused text.
    fx.pages.gotFocus(alt);
    std::int16_t esc = 27;
    fx.pages.keyPress(alt, esc);
    EXPECT_EQ(fx.f(alt).value, " 1250");
    EXPECT_EQ(fx.state.editState, 0);
    // Leaving now commits nothing new: the file keeps what the box shows.
    EXPECT_TRUE(fx.pages.CommitFieldEdit());
    EXPECT_FALSE(fx.state.modified);
    EXPECT_EQ(fx.f(alt).value, " 1250");
    // A later visit starts a new entry with the value then held.
    fx.pages.gotFocus(alt);
    fx.f(alt).value = "";
    fx.type(alt, "1300");
    ASSERT_TRUE(fx.pages.CommitFieldEdit());
    fx.pages.gotFocus(alt);
    fx.pages.keyPress(alt, esc = 27);
    EXPECT_EQ(fx.f(alt).value, " 1300");
}

TEST(PageFields, ConfirmedFieldsAskOnceAndFrequencyMakesTheCheckDue) {
    Fixture fx(Edition::Field);
    const int n = fx.pages.runwayHeadingField;
    ASSERT_TRUE(fx.f(n).record.has(ConfirmChange));
    fx.pages.gotFocus(n);
    fx.presenter.answers = {crv::common::MessageAnswer::No};
    std::int16_t k = '9';
    EXPECT_EQ(fx.pages.keyPress(n, k), KeyAction::Swallow);
    ASSERT_EQ(fx.presenter.messages.size(), 1u);
    EXPECT_EQ(fx.presenter.messages[0].title, "Warning");
    EXPECT_EQ(fx.presenter.messages[0].text,
              " Changing this parameter is inconsistent with \r the navaid data obtained during the search. \r\r"
              " Continue with the change? ");
    EXPECT_EQ(fx.state.editState, 0);
    fx.presenter.answers = {crv::common::MessageAnswer::Yes};
    fx.f(n).value = "";
    fx.type(n, "280");
    EXPECT_EQ(fx.presenter.messages.size(), 2u);  // asked once per edit, not per key
    ASSERT_TRUE(fx.pages.CommitFieldEdit());
    EXPECT_TRUE(fx.state.modified);
    EXPECT_FALSE(fx.state.checkDue);
    const int f = fx.pages.frequencyField;
    fx.pages.gotFocus(f);
    fx.f(f).value = "";
    fx.type(f, "109.9");
    ASSERT_TRUE(fx.pages.CommitFieldEdit());
    EXPECT_EQ(fx.f(f).value, "109.900");
    EXPECT_EQ(fx.presenter.messages.size(), 2u);
    EXPECT_TRUE(fx.state.checkDue);
    EXPECT_TRUE(fx.state.imodsEnabled);
}

// Pasted text meets the same filter as typed keys.
TEST(PageFields, PasteGoesThroughTheKeyFilter) {
    Fixture fx(Edition::Field);
    fx.state.currentPage = 1;
    const int site = fx.pages.siteField;
    fx.pages.gotFocus(site);
    EXPECT_EQ(fx.pages.filterPaste(site, "Quen\r\nfield\tIntl\x7f"), "QuenfieldIntl");
    const int id = fx.pages.fieldNumber(2, "Navaid ID");
    fx.state.currentPage = 2;
    fx.pages.gotFocus(id);
    EXPECT_EQ(fx.pages.filterPaste(id, "ab\nc"), "ABC");
    fx.state.currentPage = 4;
    fx.pages.gotFocus(fx.pages.gridAltitudeField);
    EXPECT_EQ(fx.pages.filterPaste(fx.pages.gridAltitudeField, "1,2\n5x0"), "1250");
    // A position takes pasted digits into its mask places.
    fx.state.currentPage = 2;
    const int lat = fx.pages.latitudeField;
    fx.pages.gotFocus(lat);
    fx.presenter.answers = {crv::common::MessageAnswer::Yes, crv::common::MessageAnswer::Yes};
    EXPECT_EQ(fx.pages.filterPaste(lat, "s4\n1"), "");
    EXPECT_EQ(fx.f(lat).value.substr(0, 5), "S 41\xB0");
}

TEST(PageFields, EscapeInAPositionRestoresTheHemisphere) {
    Fixture fx(Edition::Field);
    const int lat = fx.pages.latitudeField;
    fx.pages.gotFocus(lat);
    const std::string before = fx.f(lat).value;
    fx.presenter.answers = {crv::common::MessageAnswer::Yes};
    std::int16_t k = 'S';
    EXPECT_EQ(fx.pages.keyPress(lat, k), KeyAction::Swallow);
    EXPECT_EQ(fx.f(lat).maskText[0], 'S');
    std::int16_t esc = 27;
    fx.pages.keyPress(lat, esc);
    EXPECT_EQ(fx.f(lat).maskText[0], 'N');
    EXPECT_EQ(fx.f(lat).value, before);
}

TEST(PageFields, ServiceVolumeAndGridTypeDriveTheirFields) {
    Fixture fx(Edition::Scientific);
    const int sv = fx.pages.svTypeField, grid = fx.pages.gridTypeField;
    float askedLat = 0;
    fx.pages.proponentBearing = [&](float lat, float) -> std::optional<float> {
        askedLat = lat;
        return 30.0f;
    };
    fx.state.currentPage = 4;
    fx.pages.gotFocus(grid);
    // Grid type 6: the bearing to the proponent turned round for a localizer.
    fx.pages.listClick(grid, 6 - 1);
    EXPECT_EQ(fx.f(fx.pages.gridAngleField).value, "210");
    EXPECT_NEAR(askedLat, 39.3375, 1e-3);
    EXPECT_FALSE(fx.f(fx.pages.gridAngleField).enabled);
    EXPECT_FALSE(fx.pages.relAngleEnabled());
    EXPECT_TRUE(fx.f(fx.pages.verticalIncrementField).enabled);
    // Grid type 5: the user's heading, preset from the runway heading.
    fx.pages.model().commitField(fx.pages.gridAngleField, "");
    fx.pages.listClick(grid, 5 - 1);
    EXPECT_EQ(fx.f(fx.pages.gridAngleField).value, "275");
    EXPECT_TRUE(fx.pages.relAngleEnabled());
    ASSERT_TRUE(fx.pages.CommitFieldEdit());
    EXPECT_TRUE(fx.state.modified);
    // A VHF COM volume has no runway and no relative angle, whatever the grid.
    fx.pages.RestoreFieldRanges();
    fx.state.currentPage = 2;
    fx.pages.gotFocus(sv);
    fx.presenter.answers = {crv::common::MessageAnswer::Yes};
    fx.pages.listClick(sv, 8);
    EXPECT_FALSE(fx.f(fx.pages.runwayHeadingField).enabled);
    EXPECT_FALSE(fx.f(fx.pages.runwayLengthField).enabled);
    EXPECT_FALSE(fx.pages.relAngleEnabled());
    fx.pages.UpdateGridFields();
    EXPECT_FALSE(fx.pages.relAngleEnabled());
    // VOR-type volumes take the bearing itself.
    fx.pages.listClick(sv, 6);
    fx.pages.listClick(grid, 4 - 1);
    EXPECT_EQ(fx.f(fx.pages.gridAngleField).value, " 30");
}

TEST(PageFields, ConfirmTextsOfTheSimulationPage) {
    Fixture fx(Edition::Field);
    fx.state.currentPage = 4;
    fx.presenter.answers = {crv::common::MessageAnswer::Yes};
    EXPECT_FALSE(fx.pages.ConfirmFieldChange());
    EXPECT_EQ(fx.presenter.messages.back().text,
              " If Horizontal Increment is greater than 1000 feet, \r the \"Coarse Grid Prescreening\" option should "
              "\r NOT be selected.  This reduces the chance of \r missing small areas of interference. \r\r"
              " Continue with the change? ");
    fx.state.currentPage = 1;
    EXPECT_FALSE(fx.pages.ConfirmFieldChange());
    EXPECT_EQ(fx.presenter.messages.size(), 1u);
}
