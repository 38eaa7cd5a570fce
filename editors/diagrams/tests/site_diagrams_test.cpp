// The case editor's diagrams, checked on what they record: which pictures
// exist, where the box goes, what is drawn in pink and red, and the labels.
#include <gtest/gtest.h>

#include <variant>

#include "crv/common/drawing/recording.h"
#include "crv/editors/site_diagrams.h"

using namespace crv::editors;
using namespace crv::common;

namespace {
constexpr Colour kPink = 0xB0B0FF, kRed = 0x0000FF;
constexpr PlotSurface kSvPx{136, 144}, kGridPx{216, 96};

struct Seen {
    std::vector<std::string> texts;
    std::vector<rec::Fill> fills;
    int redLines = 0, pinkLines = 0;
};
Seen inspect(const PlotOutput& out) {
    Seen s;
    Colour pen = kBlack;
    for (const Command& c : out.picture.commands) {
        if (auto* p = std::get_if<rec::SelectPen>(&c)) pen = p->pen.colour;
        if (std::holds_alternative<rec::LineTo>(c)) {
            s.redLines += pen == kRed;
            s.pinkLines += pen == kPink;
        }
        if (auto* t = std::get_if<rec::Text>(&c)) s.texts.push_back(t->text);
        if (auto* f = std::get_if<rec::Fill>(&c)) s.fills.push_back(*f);
    }
    return s;
}
bool has(const std::vector<std::string>& v, const std::string& t) { return std::find(v.begin(), v.end(), t) != v.end(); }

DiagramFields ils() {
    DiagramFields f;
    f.serviceVolumeType = 0;
    f.runwayHeadingDeg = 275;
    f.fieldElevationFt = 420;
    f.runwayLengthFt = 9000;
    return f;
}
DiagramFields vor() {
    DiagramFields f;
    f.serviceVolumeType = 5;
    f.fieldElevationFt = 420;
    return f;
}
}  // namespace

TEST(SiteDiagrams, BoxPlacementAndTiles) {
    const TwipsRect a = placeOnNavaidPage(kServiceVolumeBox, 9000, 2000, 1000);
    EXPECT_EQ(a.left, 9000 - 2040 - 2000 + 120);
    EXPECT_EQ(a.top, 640);
    const TwipsRect b = placeOnSimulationPage(kGridBox, 6000, 1500);
    EXPECT_EQ(b.left, 1380);
    EXPECT_EQ(b.top, 6000 - 1440 - 1500 + 120);

    struct {
        int type;
        std::optional<int> tile;
    } tiles[] = {{0, 4}, {1, std::nullopt}, {2, 0}, {6, 4}, {31, 29}, {32, std::nullopt}, {38, std::nullopt}};
    for (const auto& t : tiles) EXPECT_EQ(arrayTileFor(t.type), t.tile) << t.type;
    const SheetRect last = arrayTileRect(29);  // column 5, row 4
    EXPECT_DOUBLE_EQ(last.left, 250 + 2309 * 5);
    EXPECT_DOUBLE_EQ(last.top, 150 + 1305 * 4);
}

TEST(SiteDiagrams, VolumeSizesAndOffsets) {
    DiagramFields f = ils();
    EXPECT_NEAR(thresholdOffsetNmi(f), 10000 / 6076.115, 1e-12);
    f.serviceVolumeType = 2;  // back course: from the localizer itself
    EXPECT_EQ(thresholdOffsetNmi(f), 0);
    f.serviceVolumeType = 8;
    f.serviceVolumeRadiusNmi = 100;
    f.serviceVolumeHeightFt = 1000;
    const VolumeDims d = volumeDims(f);
    EXPECT_EQ(d.r2, 100);
    EXPECT_EQ(d.highAlt, 1000);
    EXPECT_EQ(d.r1, 0);
}

// Nothing to draw: the box is hidden, and nothing divides by a zero size.
TEST(SiteDiagrams, NoPictureWithoutAVolumeOrGrid) {
    DiagramFields com;
    com.serviceVolumeType = 8;  // radius and height still 0
    EXPECT_FALSE(DrawServiceVolumeDiagram(com, kSvPx));
    EXPECT_FALSE(DrawGridDiagram(com, kGridPx));
    DiagramFields f = ils();
    for (int g : {0, 8, 9}) {
        f.gridType = g;
        EXPECT_FALSE(DrawGridDiagram(f, kGridPx)) << g;
    }
    f.serviceVolumeType = 12;
    EXPECT_FALSE(DrawServiceVolumeDiagram(f, kSvPx));
    EXPECT_FALSE(DrawServiceVolumeDiagram(ils(), PlotSurface{0, 0}));
}

TEST(SiteDiagrams, ServiceVolumeLabels) {
    DiagramFields com;
    com.serviceVolumeType = 8;
    com.serviceVolumeRadiusNmi = 100;
    com.serviceVolumeHeightFt = 1000;
    const auto out = DrawServiceVolumeDiagram(com, kSvPx);
    ASSERT_TRUE(out);
    const Seen s = inspect(*out);
    EXPECT_EQ(s.texts, (std::vector<std::string>{"TOP", "SIDE", "100", "1000", "0", "100"}));
    const auto sector = DrawServiceVolumeDiagram(ils(), kSvPx);
    ASSERT_TRUE(sector);
    const Seen t = inspect(*sector);
    EXPECT_TRUE(has(t.texts, "18") && has(t.texts, "4500")) << "the standard ILS volume";
}

TEST(SiteDiagrams, GridShowsWhatTheFieldsAsk) {
    struct Case {
        const char* name;
        DiagramFields fields;
        bool pinkFill, red;
    };
    auto with = [](DiagramFields f, int g, float altitude, const char* angle) {
        f.gridType = g;
        f.gridAltitudeFt = altitude;
        f.gridAngleText = angle;
        return f;
    };
    const Case cases[] = {
        {"bottom of the volume", with(ils(), 1, 0, ""), true, true},
        {"altitude below the field", with(ils(), 3, 100, ""), false, false},
        {"altitude above the volume", with(ils(), 3, 420 + 4501, ""), false, false},
        {"altitude inside", with(ils(), 3, 420 + 2000, ""), true, true},
        {"vertical without an angle", with(ils(), 4, 0, ""), false, false},
        {"vertical on the course", with(ils(), 5, 0, "275"), true, true},
        {"vertical 40 degrees off", with(ils(), 5, 0, "315"), false, false},
        {"VOR radial", with(vor(), 5, 0, "90"), true, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const auto out = DrawGridDiagram(c.fields, kGridPx);
        ASSERT_TRUE(out);
        const Seen s = inspect(*out);
        const bool pink = std::any_of(s.fills.begin(), s.fills.end(), [](const rec::Fill& f) { return f.colour == kPink; });
        EXPECT_EQ(pink, c.pinkFill);
        EXPECT_EQ(s.redLines > 0, c.red);
        EXPECT_TRUE(has(s.texts, "TOP VIEW") && has(s.texts, "SIDE VIEW"));
    }
}

// A VOR radial of 90 degrees fills the right half of the side view, 270 the left.
TEST(SiteDiagrams, VorSideViewFillsTheHalfOfTheBearing) {
    for (const char* angle : {"90", "270"}) {
        DiagramFields f = vor();
        f.gridType = 5;
        f.gridAngleText = angle;
        const auto out = DrawGridDiagram(f, kGridPx);
        ASSERT_TRUE(out);
        const Seen s = inspect(*out);
        ASSERT_EQ(s.fills.size(), 1u);
        // The side view's centre line lies at page x 7500 * (1740 + 690) / 3240.
        const int centre = 7500 * (1740 + 690) / 3240;
        if (std::string(angle) == "90") EXPECT_GT(s.fills[0].seed.x, centre);
        else EXPECT_LT(s.fills[0].seed.x, centre);
    }
}
