#include "crv/editors/case_pages.h"
#include "crv/editors/rf_table.h"

#include <gtest/gtest.h>

using namespace crv::editors;
using crv::resources::Edition;

namespace {

const std::string deg = "\xB0";

const FieldDictionary& dict(Edition e) {
    static const FieldDictionary f = FieldDictionary::forEdition(Edition::Field);
    static const FieldDictionary s = FieldDictionary::forEdition(Edition::Scientific);
    return e == Edition::Field ? f : s;
}

// Navaid line, columns as the engine reads them: heading 6-8, frequency 10-16,
// elevation 39-43, runway 45-49, power 51-53, array 55-56, type 58-59.
std::string navaidLine(const std::string& freq = "108.100", const std::string& svType = " 0",
                       const std::string& lat = " 39 20 15") {
    return " ABC 275 " + freq + " " + lat + "   77 45 40   250  9000  15 38 " + svType + "   0     0";
}

// Options line: grid 2-3, intermod 5-6, ..., altitude 20-24, angle 26-28,
// horizontal increment 30-33, vertical increment 35-37.
std::string optionsLine(const std::string& grid = " 1", const std::string& altitude = "     ",
                        const std::string& angle = "   ", const std::string& vrt = "500") {
    return " " + grid + "  1  1  1  1  1 " + altitude + " " + angle + " 2000 " + vrt + "  0  0";
}

std::vector<std::string> caseLines(const std::string& nav, const std::string& opts,
                                   const std::string& rf = " QKAA    106.100  39 21 18   77 38 02  50.0000  1378 13  1  30  1 LIC     0") {
    return {"CRV Version 5.0.6", nav, rf, " $$$$", opts, " ABC-123         Somewhere                 01/02/03 30"};
}

CaseData read(const std::vector<std::string>& lines, Edition e = Edition::Field) {
    auto d = ReadCaseLines(lines, dict(e));
    EXPECT_TRUE(d) << (d ? "" : d.error());
    return d ? *d : CaseData{};
}

struct Editor {
    explicit Editor(Edition e = Edition::Field) : pages(dict(e)), table(dict(e)) {}
    void load(const std::vector<std::string>& lines, Edition e = Edition::Field, std::optional<float> bearing = {}) {
        CaseData d = read(lines, e);
        table.loadRows(d.rows);
        pages.load(d, bearing);
    }
    int n(int page, const char* label) const {
        const int number = pages.fieldNumber(page, label);
        EXPECT_NE(number, 0) << label;
        return number;
    }
    const PageField& f(int page, const char* label) const { return pages.field(n(page, label)); }
    CasePages pages;
    RfTable table;
};

TEST(CasePages, FieldNumbersFollowTheDictionary) {
    CasePages p(dict(Edition::Field));
    EXPECT_EQ(p.firstField(1), 16);
    EXPECT_EQ(p.lastField(1), 19);   // four records on page 1
    EXPECT_EQ(p.firstField(2), 20);
    EXPECT_EQ(p.lastField(2), 33);   // fourteen, gaps included
    EXPECT_EQ(p.firstField(4), 34);
    EXPECT_EQ(p.lastField(4), 47);
    EXPECT_EQ(p.fieldNumber(1, "Site"), 17);
    EXPECT_EQ(p.fieldNumber(2, "Frequency"), 22);
    EXPECT_EQ(p.fieldNumber(4, "Grid Type"), 34);
    EXPECT_EQ(p.fieldNumber(4, "Site"), 0);
}

TEST(CasePages, LoadShowsTheValuesAndSplitsTheRanges) {
    Editor e;
    e.load(caseLines(navaidLine(), optionsLine()));
    EXPECT_EQ(e.f(2, "Navaid ID").text, "ABC");
    EXPECT_EQ(e.f(2, "Runway Heading").text, "275");
    EXPECT_EQ(e.f(2, "Frequency").text, "108.100");
    EXPECT_EQ(e.f(2, "Latitude").text, "N 39" + deg + " 20' 15\"");
    EXPECT_EQ(e.f(2, "Longitude").text, "W 077" + deg + " 45' 40\"");
    EXPECT_EQ(e.f(2, "Field Elevation").text, "  250");
    EXPECT_EQ(e.f(2, "Array Type").text, "38");
    EXPECT_EQ(e.f(1, "Site").text, "Somewhere");
    EXPECT_EQ(e.f(1, "Date").text, "01/02/03");
    EXPECT_FLOAT_EQ(e.f(2, "Frequency").record.minimum, 108.0f);
    EXPECT_FLOAT_EQ(e.f(2, "Frequency").record.maximum, 117.999f);
    EXPECT_FLOAT_EQ(e.f(2, "Runway Length").record.minimum, 2000.0f);
    EXPECT_EQ(e.pages.optionTexts(e.n(2, "Service Volume Type")).size(), 8u);
    EXPECT_EQ(e.pages.selectedOption(e.n(2, "Service Volume Type")), 0);
    EXPECT_EQ(e.pages.erpHeader(), "HP ERP");
    EXPECT_TRUE(e.pages.rangeErrors().empty());

    // The next case restores the ranges before its own split.
    e.load(caseLines(navaidLine("122.800", " 8"), optionsLine()));
    EXPECT_FLOAT_EQ(e.f(2, "Frequency").record.minimum, 118.0f);
    EXPECT_FLOAT_EQ(e.f(2, "Frequency").record.maximum, 136.0f);
    ASSERT_EQ(e.pages.optionTexts(e.n(2, "Service Volume Type")).size(), 1u);
    EXPECT_EQ(e.pages.selectedOption(e.n(2, "Service Volume Type")), 0);
    EXPECT_EQ(e.pages.erpHeader(), "VP ERP");
    EXPECT_EQ(e.pages.erpLabel(), "VP Effective Radiated Power (kW)");
}

TEST(CasePages, StoredPagesWriteTheSameLines) {
    for (Edition ed : {Edition::Field, Edition::Scientific}) {
        // Fields the grid type leaves unused are written as 0.
        for (const auto& lines : {caseLines(navaidLine(), optionsLine(" 3", " 1500", "  0")),
                                  caseLines(navaidLine("122.800", " 8", " -0 30 00"), optionsLine(" 5", "    0", " 90")),
                                  caseLines(navaidLine(), optionsLine(" 6", "    0", "185"))}) {
            Editor e(ed);
            e.load(lines, ed, 5.0f);
            CaseData d;
            e.pages.store(d);
            d.rows = e.table.rowPieces();
            auto out = CaseFileLines(d, dict(ed), false);
            ASSERT_TRUE(out) << out.error();
            out->resize(lines.size());
            EXPECT_EQ(*out, lines);
        }
    }
}

TEST(CasePages, FieldsThatFollowTheServiceVolumeType) {
    struct Case {
        const char* svType;
        const char* grid;
        bool runway;
        bool relAngle;
    } cases[] = {
        {" 0", " 5", true, true}, {" 4", " 7", true, true}, {" 0", " 1", true, false},
        {" 5", " 5", false, false}, {" 8", " 9", false, false}, {" 3", "11", true, true},
    };
    for (const auto& c : cases) {
        Editor e(Edition::Scientific);
        e.load(caseLines(navaidLine("108.100", c.svType), optionsLine(c.grid)), Edition::Scientific);
        EXPECT_EQ(e.f(2, "Runway Heading").enabled, c.runway) << c.svType << c.grid;
        EXPECT_EQ(e.f(2, "Runway Length").enabled, c.runway) << c.svType << c.grid;
        EXPECT_EQ(e.pages.relativeAngleEnabled(), c.relAngle) << c.svType << c.grid;
    }
}

TEST(CasePages, FieldsThatFollowTheGridType) {
    struct Case {
        const char* from;  // grid type read from the file
        const char* grid;  // grid type chosen afterwards
        const char* altitudeIn;
        const char* angleIn;
        std::optional<float> bearing;
        const char* altitude;
        bool altitudeOn;
        const char* angle;
        bool angleOn;
        bool horOn, vrtOn, coarseOn;
    } cases[] = {
        // Grid type 1 empties the altitude; type 3 then fills in the field
        // elevation 250 + 1000, right-aligned in 5.
        {" 1", " 3", " 3000", " 45", {}, " 1250", true, "", false, true, false, true},
        {" 3", " 3", " 3000", " 45", {}, " 3000", true, "", false, true, false, true},
        {" 3", " 1", " 3000", " 45", {}, "", false, "", false, true, false, true},
        // An emptied angle takes the runway heading.
        {" 1", " 5", " 3000", " 45", {}, "", false, "275", true, true, true, true},
        {" 5", " 5", " 3000", " 45", {}, "", false, " 45", true, true, true, true},
        // Localizer: the bearing to the proponent turned by 180 degrees,
        // rounded before it is wrapped.
        {" 6", " 6", "    0", " 45", 10.0f, "", false, "190", false, true, true, true},
        {" 6", " 6", "    0", "  0", 179.6f, "", false, "  0", false, true, true, true},
        {" 4", " 4", "    0", "  0", 179.4f, "", false, "359", false, true, true, true},
        {" 4", " 4", "    0", " 45", {}, "", false, "", false, true, true, true},
        {" 8", " 8", "    0", "  0", {}, "", false, "", false, false, false, false},
        {"12", "12", "    0", "  0", {}, "", false, "", false, false, true, false},
        {" 1", "11", "    0", "  0", {}, " 1250", true, "275", true, true, false, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string("grid ") + c.from + " -> " + c.grid);
        Editor e(Edition::Scientific);
        e.load(caseLines(navaidLine(), optionsLine(c.from, c.altitudeIn, c.angleIn)), Edition::Scientific, c.bearing);
        if (std::string(c.from) != c.grid) {
            e.pages.commitField(e.n(4, "Grid Type"), c.grid);
            e.pages.UpdateDependentFields();
            e.pages.UpdateGridFields(c.bearing);
        }
        EXPECT_EQ(e.f(4, "Grid Altitude").text, c.altitude);
        EXPECT_EQ(e.f(4, "Grid Altitude").enabled, c.altitudeOn);
        EXPECT_EQ(e.f(4, "Grid Angle").text, c.angle);
        EXPECT_EQ(e.f(4, "Grid Angle").enabled, c.angleOn);
        EXPECT_EQ(e.f(4, "Horizontal Increment").enabled, c.horOn);
        EXPECT_EQ(e.f(4, "Vertical Increment").enabled, c.vrtOn);
        EXPECT_EQ(e.f(4, "Coarse Grid Prescreening").enabled, c.coarseOn);
    }
    // A VOR takes the bearing itself.
    Editor vor(Edition::Scientific);
    vor.load(caseLines(navaidLine("113.000", " 5"), optionsLine(" 6")), Edition::Scientific, 10.0f);
    EXPECT_EQ(vor.f(4, "Grid Angle").text, " 10");
    // The field edition's increments are read-only for every grid type.
    for (const char* grid : {" 1", " 5", " 6"}) {
        Editor e;
        e.load(caseLines(navaidLine(), optionsLine(grid)));
        EXPECT_FALSE(e.f(4, "Horizontal Increment").enabled) << grid;
        EXPECT_FALSE(e.f(4, "Vertical Increment").enabled) << grid;
    }
}

TEST(CasePages, GridAngleIsRoundedThenWrapped) {
    struct Case {
        double angle;
        int degrees;
    } cases[] = {{359.5, 0}, {359.49, 359}, {360.0, 0}, {0.4, 0}, {-0.4, 0}, {-0.6, 359}, {539.6, 180}, {180.5, 181}};
    for (const auto& c : cases) EXPECT_EQ(gridAngleDegrees(c.angle), c.degrees) << c.angle;
}

TEST(CasePages, CommitMarksModifiedAndCheckDue) {
    Editor e;
    e.load(caseLines(navaidLine(), optionsLine()));
    struct Case {
        int page;
        const char* label;
        const char* text;
        bool changed, due;
    } cases[] = {
        {2, "Field Elevation", "  250", false, false},
        {2, "Field Elevation", "  300", true, false},
        {2, "Frequency", "109.900", true, true},
        {4, "Intermod Calculations", "2", true, true},
        {1, "Site", "Elsewhere", true, false},
    };
    for (const auto& c : cases) {
        e.pages.modified = e.pages.checkDue = false;
        const FieldCommit out = e.pages.commitField(e.n(c.page, c.label), c.text);
        EXPECT_EQ(out.changed, c.changed) << c.label;
        EXPECT_EQ(e.pages.modified, c.changed) << c.label;
        EXPECT_EQ(out.checkDue, c.due) << c.label;
        EXPECT_EQ(e.pages.checkDue, c.due) << c.label;
    }
    EXPECT_EQ(e.pages.intermodOption(), 2);
    // Compared with the text the field had when it got the focus.
    e.pages.modified = false;
    EXPECT_FALSE(e.pages.commitField(e.n(1, "Site"), "Elsewhere", std::string("Elsewhere")).changed);
    EXPECT_TRUE(e.pages.commitField(e.n(1, "Site"), "Elsewhere", std::string("Somewhere")).changed);
    EXPECT_TRUE(e.pages.modified);
}

TEST(CasePages, RangeErrorsOfPageFields) {
    struct Case {
        std::string nav;
        std::string opts;
        int page;
        const char* label;
        const char* typed;  // committed after loading; nullptr for none
        const char* says;   // nullptr: no error
    } cases[] = {
        {navaidLine("108.100", " 0", " 95 00 00"), optionsLine(), 0, "", nullptr, "Latitude"},
        {navaidLine(), optionsLine(), 2, "Longitude", "W 181\xB0 00' 00\"", "Longitude"},
        {navaidLine(), optionsLine(), 2, "Field Elevation", "100000", "Field Elevation"},
        {navaidLine(), optionsLine(), 2, "Field Elevation", "99999", nullptr},
        // Past the split: a localizer frequency of 118 is outside 108..117.999.
        {navaidLine(), optionsLine(), 2, "Frequency", "118.000", "Frequency"},
        {navaidLine(), optionsLine(), 2, "Frequency", "117.950", nullptr},
        {navaidLine(), optionsLine(), 2, "Runway Length", " 1999", "Runway Length"},
        // An unused increment may hold anything; a used one may not.
        {navaidLine(), optionsLine(" 1", "     ", "   ", "  0"), 0, "", nullptr, nullptr},
        {navaidLine(), optionsLine(" 5", "     ", "   ", "  0"), 0, "", nullptr, "Vertical Increment"},
        {navaidLine(), optionsLine(), 2, "Navaid ID", "", "Navaid ID"},
        {navaidLine(), optionsLine(), 1, "Date", "13/45/02", "Date"},
    };
    for (const auto& c : cases) {
        Editor e(Edition::Scientific);
        e.load(caseLines(c.nav, c.opts), Edition::Scientific);
        if (c.typed) e.pages.commitField(e.n(c.page, c.label), c.typed);
        const auto errors = e.pages.rangeErrors();
        if (!c.says) {
            EXPECT_TRUE(errors.empty()) << c.label << " " << (errors.empty() ? "" : errors[0]);
            continue;
        }
        ASSERT_EQ(errors.size(), 1u) << c.says;
        EXPECT_EQ(errors[0].rfind(c.says, 0), 0u) << errors[0];
    }
}

TEST(CasePages, NavaidDataTheEngineRefusesKeepsTheMarkOff) {
    // Navaid line: power 51-53, array type 55-56, type 58-59, radius 61-63.
    auto nav = [](const std::string& power, const std::string& array, const std::string& type,
                  const std::string& radius) {
        return " ABC 275 118.100  39 20 15   77 45 40   250  9000 " + power + " " + array + " " + type + " " + radius +
               "     0";
    };
    struct Case {
        std::string nav;
        const char* says;  // nullptr: no error
    } cases[] = {
        {nav(" 50", "37", " 8", " 50"), nullptr},
        {nav(" 50", " 1", " 8", " 50"), nullptr},      // constant level: any model
        {nav(" 50", "36", " 8", " 50"), "Array Type 36 cannot"},
        {nav("  0", "37", " 8", " 50"), "Transmitter Power"},
        {nav("  0", " 1", " 8", " 50"), nullptr},      // type 1 needs no power
        {nav(" 50", "37", " 8", "  0"), "Service Volume Radius"},
    };
    for (const auto& c : cases) {
        // The field edition hides power and radius: their ranges do not count,
        // what the engine refuses does.
        Editor e;
        e.load(caseLines(c.nav, optionsLine()));
        const auto errors = caseDataErrors(e.pages, e.table);
        if (!c.says) {
            EXPECT_TRUE(errors.empty()) << c.nav << ": " << (errors.empty() ? "" : errors[0]);
            continue;
        }
        ASSERT_EQ(errors.size(), 1u) << c.nav;
        EXPECT_EQ(errors[0].rfind(c.says, 0), 0u) << errors[0];
    }
}

TEST(CasePages, MoreRfSourcesThanARunTakesKeepTheMarkOff) {
    struct Case {
        int sources;
        int ignored;
        std::size_t errors;
    } cases[] = {{1280, 0, 0}, {1281, 0, 1}, {1295, 15, 0}, {1296, 16, 1}};
    for (const auto& c : cases) {
        Editor e;
        e.load(caseLines(navaidLine(), optionsLine()));
        for (int i = 0; i < c.sources - 1; ++i) e.table.InsertDefaultRow(1);
        // Ignored rows placed first count as lines but not as sources.
        for (int i = 1; i <= c.ignored; ++i) e.table.SetPropStatus(i, "I");
        EXPECT_EQ(caseDataErrors(e.pages, e.table).size(), c.errors) << c.sources << " " << c.ignored;
    }
}

TEST(CasePages, StationOnTheNavaidFrequencyAndBadPositionsKeepTheMarkOff) {
    struct Case {
        std::string rf;
        std::size_t errors;
        const char* says;
    } cases[] = {
        {" QKAA    106.100  39 21 18   77 38 02  50.0000  1378 13  1  30  1 LIC     0", 0, ""},
        {" QKAA    108.100  39 21 18   77 38 02  50.0000  1378 13  1  30  1 LIC     0", 1, "navaid frequency"},
        {" QKAA    108.100  39 21 18   77 38 02  50.0000  1378 13  1  30  2 LIC     0", 0, ""},  // ignored
        {" QKAA    106.100  91 21 18   77 38 02  50.0000  1378 13  1  30  0 LIC     0", 1, "Latitude"},
        {" QKAA    106.100  39 21 18 -181 38 02  50.0000  1378 13  1  30  0 LIC     0", 1, "Longitude"},
        // Taking no part in the check does not make these readable to the engine.
        {" QKAA      0.000  39 21 18   77 38 02  50.0000  1378 13  1  30  0 LIC     0", 1, "frequency"},
        {" QKAA    106.100  39 21 18   77 38 02   0.0000  1378 13  1  30  0 LIC     0", 1, "ERP"},
        {" QKAA      0.000  39 21 18   77 38 02   0.0000  1378 13  1  30  2 LIC     0", 0, ""},  // ignored
    };
    for (const auto& c : cases) {
        Editor e;
        e.load(caseLines(navaidLine(), optionsLine(), c.rf));
        const auto errors = caseDataErrors(e.pages, e.table);
        ASSERT_EQ(errors.size(), c.errors) << c.rf;
        if (c.errors) {
            EXPECT_NE(errors[0].find(c.says), std::string::npos) << errors[0];
        }
    }
}

}  // namespace
