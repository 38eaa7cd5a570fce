#include "crv/editors/field_dictionary.h"

#include <gtest/gtest.h>

#include "crv/formats/case_file.h"

#include <stdexcept>
#include <utility>
#include <vector>

using crv::editors::FieldColumns;
using crv::editors::FieldDictionary;
using crv::editors::FieldRecord;
using crv::editors::FieldType;
using crv::resources::Edition;

namespace {

const FieldDictionary& dictionary(Edition e) {
    static const FieldDictionary fld = FieldDictionary::forEdition(Edition::Field);
    static const FieldDictionary sci = FieldDictionary::forEdition(Edition::Scientific);
    return e == Edition::Field ? fld : sci;
}

const FieldRecord& byLabel(const std::vector<FieldRecord>& records, const std::string& label) {
    for (const auto& r : records)
        if (r.label == label) return r;
    throw std::runtime_error("no field " + label);
}

std::vector<std::pair<int, int>> pairs(const std::vector<FieldColumns>& columns) {
    std::vector<std::pair<int, int>> out;
    for (const auto& c : columns) out.emplace_back(c.first, c.last);
    return out;
}

}  // namespace

TEST(FieldDictionary, EachEditionCarriesItsCodeAndPageCounts) {
    const struct { Edition e; const char* code; std::size_t counts[4]; } cases[] = {
        {Edition::Field, "FLD", {4, 14, 12, 14}},
        {Edition::Scientific, "SCI", {4, 13, 12, 12}},
    };
    for (const auto& c : cases) {
        const FieldDictionary& d = dictionary(c.e);
        EXPECT_EQ(d.editionCode(), c.code);
        for (int page = 1; page <= 4; ++page) EXPECT_EQ(d.pageRecords(page).size(), c.counts[page - 1]) << c.code << page;
    }
}

// Every entry the pages and the table read exists, and every list names as
// many option texts as its range holds.
TEST(FieldDictionary, EveryEntryAReaderNeedsExistsInBothEditions) {
    for (Edition e : {Edition::Field, Edition::Scientific}) {
        const FieldDictionary& d = dictionary(e);
        for (int page = 1; page <= 4; ++page) {
            for (const FieldRecord& r : d.pageRecords(page)) {
                if (r.type == FieldType::List) {
                    EXPECT_NO_THROW(d.optionTexts(r)) << r.label;
                }
                if (r.isGap()) {
                    EXPECT_EQ(r.label, "SKIP");
                }
            }
        }
    }
}

// The column layout from the dictionary, written out here by hand from the
// layout of the case data file.
TEST(FieldDictionary, FileColumnsMatchTheEngineCaseReader) {
    const std::vector<std::pair<int, int>> page1 = {{2, 16}, {18, 42}, {44, 51}, {53, 54}};
    const std::vector<std::pair<int, int>> navaid = {{2, 4},   {6, 8},   {10, 16}, {18, 26}, {28, 37}, {39, 43},
                                                     {45, 49}, {51, 53}, {55, 56}, {58, 59}, {61, 63}, {65, 69}};
    const std::vector<std::pair<int, int>> station = {{2, 8},   {10, 16}, {18, 26}, {28, 37}, {39, 46}, {48, 52},
                                                      {54, 55}, {57, 58}, {60, 62}, {64, 65}, {67, 69}, {71, 75}};
    for (Edition e : {Edition::Field, Edition::Scientific}) {
        const FieldDictionary& d = dictionary(e);
        EXPECT_EQ(pairs(d.fileColumns(1)), page1);
        EXPECT_EQ(pairs(d.fileColumns(2)), navaid);
        EXPECT_EQ(pairs(d.fileColumns(3)), station);
        EXPECT_EQ(d.fileColumns(4).size(), 12u);  // the twelve values of the options line
    }
}

// The dictionary's columns are the case-file unit's, which the engine's case
// reader, the new-case writer and the sample workspace use: every page, the
// options line included.
TEST(FieldDictionary, FileColumnsAreTheCaseFileUnits) {
    namespace f = crv::formats;
    using Columns = std::vector<std::pair<int, int>>;
    auto of = [](std::initializer_list<f::Columns> list) {
        Columns out;
        for (const f::Columns& c : list) out.emplace_back(c.first, c.last);
        return out;
    };
    namespace cl = f::case_line;
    namespace nl = f::navaid_line;
    namespace rl = f::rf_source_line;
    namespace ol = f::options_line;
    const Columns page1 = of({cl::airspaceCase, cl::site, cl::date, cl::searchRadius});
    const Columns page2 = of({nl::identifier, nl::runwayHeading, nl::frequency, nl::latitude, nl::longitude,
                              nl::fieldElevation, nl::runwayLength, nl::transmitterPower, nl::arrayType,
                              nl::serviceVolumeType, nl::serviceVolumeRadius, nl::serviceVolumeHeight});
    const Columns page3 = of({rl::callSign, rl::frequency, rl::latitude, rl::longitude, rl::erp, rl::antennaElevation,
                              rl::elementType, rl::horizontalPattern, rl::rotation, rl::proponentStatus,
                              rl::licenceStatus, rl::dummyMask});
    const Columns page4 = of({ol::gridType, ol::intermodType, ol::antennaRejection, ol::criteriaType, ol::cutoffType,
                              ol::outputStyle, ol::gridAltitude, ol::gridAngle, ol::horizontalIncrement,
                              ol::verticalIncrement, ol::prescreening, ol::observeIcaoMinimum});
    for (Edition e : {Edition::Field, Edition::Scientific}) {
        const FieldDictionary& d = dictionary(e);
        EXPECT_EQ(pairs(d.fileColumns(1)), page1);
        EXPECT_EQ(pairs(d.fileColumns(2)), page2);
        EXPECT_EQ(pairs(d.fileColumns(3)), page3);
        EXPECT_EQ(pairs(d.fileColumns(4)), page4);
    }
}

TEST(FieldDictionary, EditionsDifferWhereExpected) {
    const auto fld2 = dictionary(Edition::Field).pageRecords(2);
    const auto sci2 = dictionary(Edition::Scientific).pageRecords(2);
    EXPECT_TRUE(byLabel(fld2, "Transmitter Power").has(crv::editors::Hidden));
    EXPECT_FALSE(byLabel(sci2, "Transmitter Power").has(crv::editors::Hidden));
    EXPECT_EQ(fld2[9].type, FieldType::Gap);
    EXPECT_EQ(byLabel(fld2, "Array Type").baseId, 672);
    EXPECT_EQ(byLabel(sci2, "Array Type").baseId, 656);

    const FieldRecord& freq = byLabel(fld2, "Frequency");
    EXPECT_TRUE(freq.has(crv::editors::SplitAtExtra));
    EXPECT_FLOAT_EQ(freq.extra, 118.0f);
    EXPECT_EQ(freq.decimals, 3);

    const auto& fldD = dictionary(Edition::Field);
    const auto& sciD = dictionary(Edition::Scientific);
    EXPECT_EQ(fldD.optionTexts(byLabel(fldD.pageRecords(4), "Antenna Rejection")).size(), 2u);
    const auto rejection = sciD.optionTexts(byLabel(sciD.pageRecords(4), "Antenna Rejection"));
    ASSERT_EQ(rejection.size(), 63u);
    EXPECT_EQ(rejection[11], "5 dB Attenuation");  // value 12
    EXPECT_EQ(rejection[61], "55 dB Attenuation");  // value 62
    EXPECT_EQ(fldD.optionTexts(byLabel(fldD.pageRecords(4), "Grid Type")).size(), 8u);
    EXPECT_EQ(sciD.optionTexts(byLabel(sciD.pageRecords(4), "Grid Type")).size(), 12u);
}

TEST(FieldDictionary, RfSourceColumnsKeepHeadersAndSmallestErp) {
    const auto page3 = dictionary(Edition::Field).pageRecords(3);
    EXPECT_EQ(page3[0].header, "     Station     \nID");
    EXPECT_EQ(page3[0].defaultText, "XXXX   ");
    EXPECT_FLOAT_EQ(page3[4].minimum, 0.0001f);
    EXPECT_EQ(dictionary(Edition::Field).optionTexts(page3[7]).size(), 1u);  // pattern list: value 0 alone

}

TEST(FieldDictionary, ParseErrorsNameTheLine) {
    const struct { const char* text; const char* expected; } cases[] = {
        {"# c\n16 FLD\n", "line 2"},
        {"16 \"A\"\n16 \"B\"\n", "given twice"},
        {"16 \"A\\q\"\n", "unknown escape"},
        {"x \"A\"\n", "bad id"},
    };
    for (const auto& c : cases) {
        try {
            FieldDictionary::parse(c.text);
            ADD_FAILURE() << c.text;
        } catch (const std::runtime_error& e) {
            EXPECT_NE(std::string(e.what()).find(c.expected), std::string::npos) << e.what();
        }
    }
    const FieldDictionary d = FieldDictionary::parse("16 \"a \\\"b\\\" \\\\ \\nc \"\r\n");
    EXPECT_EQ(d.text(16), std::optional<std::string>("a \"b\" \\ \nc "));
    EXPECT_THROW(d.pageRecords(1), std::runtime_error);  // no count at id 32
}
