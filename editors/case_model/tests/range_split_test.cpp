#include "crv/editors/range_split.h"

#include <gtest/gtest.h>

using namespace crv::editors;
using crv::resources::Edition;

namespace {
FieldRecord navaidField(const char* label) {
    for (const auto& r : FieldDictionary::forEdition(Edition::Field).pageRecords(2))
        if (r.label == label) return r;
    throw std::runtime_error(label);
}
}  // namespace

TEST(SplitAtExtraValue, BoundariesOfTheSplitFields) {
    const struct { const char* label; float value; float min; float max; } cases[] = {
        {"Frequency", 118.0f, 118.0f, 136.0f},
        {"Frequency", 117.95f, 108.0f, 117.999f},
        {"Runway Length", 2000.0f, 2000.0f, 15000.0f},
        {"Runway Length", 1999.0f, 0.0f, 1999.0f},
        {"Service Volume Type", 8.0f, 8.0f, 8.0f},
        {"Service Volume Type", 3.0f, 0.0f, 7.0f},
    };
    for (const auto& c : cases) {
        FieldRecord r = navaidField(c.label);
        SplitAtExtraValue(r, c.value);
        EXPECT_FLOAT_EQ(r.minimum, c.min) << c.label << " " << c.value;
        EXPECT_FLOAT_EQ(r.maximum, c.max) << c.label << " " << c.value;
    }
    FieldRecord svType = navaidField("Service Volume Type");
    SplitAtExtraValue(svType, 8.0f);
    const auto options = FieldDictionary::forEdition(Edition::Field).optionTexts(svType);
    ASSERT_EQ(options.size(), 1u);
    EXPECT_EQ(options[0], "VHF COM");
    FieldRecord localizer = navaidField("Service Volume Type");
    SplitAtExtraValue(localizer, 3.0f);
    const auto eight = FieldDictionary::forEdition(Edition::Field).optionTexts(localizer);
    ASSERT_EQ(eight.size(), 8u);
    EXPECT_EQ(eight[0], "ILS, U.S. Standard");
}

TEST(SplitAtExtraValue, FieldsWithoutTheFlagKeepTheirRange) {
    FieldRecord r = navaidField("Field Elevation");
    SplitAtExtraValue(r, 5.0f);
    EXPECT_FLOAT_EQ(r.minimum, -999.0f);
    EXPECT_FLOAT_EQ(r.maximum, 99999.0f);
}
