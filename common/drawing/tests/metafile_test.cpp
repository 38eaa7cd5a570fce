#include "crv/common/drawing/emf_writer.h"
#include "crv/common/drawing/metafile_export.h"
#include "crv/common/drawing/primitives.h"
#include "crv/common/drawing/text_layout.h"
#include "recording_helpers.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <vector>

namespace crv::common {
namespace {

// Every character 0.5 em wide, the line 1.2 em high.
class FixedMetrics : public TextMetrics {
public:
    TextExtent measure(const Font&, double emPx, const std::u16string& text) const override {
        TextExtent e;
        e.advances.assign(text.size(), 0.5 * emPx);
        e.width = 0.5 * emPx * text.size();
        e.height = 1.2 * emPx;
        return e;
    }
};

std::uint32_t u32At(const std::vector<std::uint8_t>& b, std::size_t at) {
    return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | static_cast<std::uint32_t>(b[at + 3]) << 24;
}
std::int32_t i32At(const std::vector<std::uint8_t>& b, std::size_t at) {
    return static_cast<std::int32_t>(u32At(b, at));
}

struct Record {
    std::size_t at;
    std::uint32_t type, size;
};

std::vector<Record> walk(const std::vector<std::uint8_t>& b) {
    std::vector<Record> out;
    for (std::size_t at = 0; at + 8 <= b.size();) {
        const Record r{at, u32At(b, at), u32At(b, at + 4)};
        out.push_back(r);
        if (r.size < 8) break;
        at += r.size;
    }
    return out;
}

EnhancedMetafile samplePlot() {
    auto plot = BeginPlot({640, 480}, true, std::string("Corvane\0A2.plt\0\0", 16));
    SetWorldWindow(*plot, {0, 7500, 0, 10000});
    DrawContext& dc = *plot->metafile();
    SetPenColor(dc, 0x0000FF);
    PlotBox(dc, 1000, 1000, 3000, 2000);
    FillArea(dc, 0x0000FF, 2000, 1500);
    SetPlotFont(dc, 0.2, "");
    PlotText(dc, "Az", 2000, 4000, 4, 0);
    PlotText(dc, "Up", 2000, 6000, 0, 90);
    return *EndPlot(std::move(plot)).metafile;
}

TEST(EnhancedMetafile, HeaderSizesCountsAndAlignment) {
    const std::vector<std::uint8_t> b = encodeEnhancedMetafile(samplePlot(), FixedMetrics());
    ASSERT_GE(b.size(), 108u);
    EXPECT_EQ(u32At(b, 0), 1u);              // header record
    EXPECT_EQ(u32At(b, 40), 0x464D4520u);    // " EMF"
    EXPECT_EQ(u32At(b, 44), 0x10000u);
    EXPECT_EQ(u32At(b, 48), b.size());       // nBytes
    // Frame in 0.01 mm: 33333 x 25000 for a 640 x 480 surface.
    EXPECT_EQ(i32At(b, 24), 0);
    EXPECT_EQ(i32At(b, 32), 33333);
    EXPECT_EQ(i32At(b, 36), 25000);
    // Reference device: 1920 x 1440 px, 508 x 381 mm (96 dpi).
    EXPECT_EQ(i32At(b, 72), 1920);
    EXPECT_EQ(i32At(b, 76), 1440);
    EXPECT_EQ(i32At(b, 80), 508);
    EXPECT_EQ(i32At(b, 84), 381);

    // Description "Corvane" NUL "A2.plt" NUL NUL in UTF-16 at offset 108.
    const std::u16string desc(u"Corvane\0A2.plt\0\0", 16);
    EXPECT_EQ(u32At(b, 60), desc.size());
    EXPECT_EQ(u32At(b, 64), 108u);
    for (std::size_t i = 0; i < desc.size(); ++i) {
        EXPECT_EQ(b[108 + 2 * i], static_cast<std::uint8_t>(desc[i])) << i;
        EXPECT_EQ(b[109 + 2 * i], 0) << i;
    }
    EXPECT_EQ(u32At(b, 4), 108u + 32u);  // header size: fixed part and description

    const std::vector<Record> records = walk(b);
    EXPECT_EQ(u32At(b, 52), records.size());  // nRecords
    std::size_t total = 0;
    for (const Record& r : records) {
        EXPECT_EQ(r.size % 4, 0u) << "record type " << r.type;
        total += r.size;
    }
    EXPECT_EQ(total, b.size());
    ASSERT_FALSE(records.empty());
    EXPECT_EQ(records.back().type, 14u);  // end of file
    EXPECT_EQ(records.back().size, 20u);
    EXPECT_EQ(u32At(b, records.back().at + 16), 20u);
    // Pen, font, brush and rotated font at most live at once, plus slot 0.
    EXPECT_EQ(u32At(b, 56) & 0xFFFF, 4u);
}

TEST(EnhancedMetafile, MappingRecordsFollowTheHeader) {
    const std::vector<std::uint8_t> b = encodeEnhancedMetafile(samplePlot(), FixedMetrics());
    const std::size_t at = 140;
    // SETMAPMODE anisotropic, SETWINDOWEXTEX 7500 x 10000, SETVIEWPORTEXTEX
    // 1260 x 945 (0x4EC, 0x3B1), SETBKMODE transparent.
    const std::uint8_t expected[] = {
        0x11, 0, 0, 0, 0x0C, 0, 0, 0, 0x08, 0,    0,    0,                              //
        0x09, 0, 0, 0, 0x10, 0, 0, 0, 0x4C, 0x1D, 0,    0, 0x10, 0x27, 0, 0,            //
        0x0B, 0, 0, 0, 0x10, 0, 0, 0, 0xEC, 0x04, 0,    0, 0xB1, 0x03, 0, 0,            //
        0x12, 0, 0, 0, 0x0C, 0, 0, 0, 0x01, 0,    0,    0,
    };
    ASSERT_GE(b.size(), at + sizeof expected);
    EXPECT_EQ(std::memcmp(b.data() + at, expected, sizeof expected), 0);
}

TEST(EnhancedMetafile, FontsPensFillAndTextAsRecorded) {
    const std::vector<std::uint8_t> b = encodeEnhancedMetafile(samplePlot(), FixedMetrics());
    const std::vector<Record> records = walk(b);
    std::vector<std::uint32_t> types;
    for (const Record& r : records) types.push_back(r.type);

    // The first font: Arial, -150 units, weight 400.
    const auto font = std::find_if(records.begin(), records.end(), [](const Record& r) { return r.type == 82; });
    ASSERT_NE(font, records.end());
    EXPECT_EQ(i32At(b, font->at + 12), -150);
    EXPECT_EQ(i32At(b, font->at + 28), 400);
    const char16_t arial[] = u"Arial";
    for (int i = 0; i < 6; ++i) EXPECT_EQ(b[font->at + 40 + 2 * i], static_cast<std::uint8_t>(arial[i]));

    // The red pen: width 6, colour 0x0000FF.
    int redPens = 0;
    for (const Record& r : records) {
        if (r.type == 38 && u32At(b, r.at + 24) == 0x0000FF) {
            ++redPens;
            EXPECT_EQ(i32At(b, r.at + 16), 6);
        }
    }
    EXPECT_EQ(redPens, 1);

    // The fill: a four-corner polygon of the box.
    const auto poly = std::find_if(records.begin(), records.end(), [](const Record& r) { return r.type == 3; });
    ASSERT_NE(poly, records.end());
    EXPECT_EQ(u32At(b, poly->at + 24), 4u);
    EXPECT_EQ(i32At(b, poly->at + 8), 1000);   // bounds left
    EXPECT_EQ(i32At(b, poly->at + 20), 2000);  // bounds bottom

    // Texts: "Az" centred at (2000, 4000) in a 200-unit font. On the 945 px
    // reference height the em is 18.9 px; each character 9.45 px = 56.25
    // units across (1260 px for 7500), the line 1.2 em = 240 units: top-left
    // (2000 - 56.25, 4000 - 120) -> (1944, 3880).
    std::vector<Record> texts;
    for (const Record& r : records) {
        if (r.type == 84) texts.push_back(r);
    }
    ASSERT_EQ(texts.size(), 2u);
    EXPECT_EQ(i32At(b, texts[0].at + 36), 1944);
    EXPECT_EQ(i32At(b, texts[0].at + 40), 3880);
    EXPECT_EQ(u32At(b, texts[0].at + 44), 2u);
    const std::uint32_t off = u32At(b, texts[0].at + 48);
    EXPECT_EQ(b[texts[0].at + off], 'A');
    EXPECT_EQ(b[texts[0].at + off + 2], 'z');
    const std::uint32_t offDx = u32At(b, texts[0].at + 72);
    EXPECT_EQ(i32At(b, texts[0].at + offDx), 56);  // 56.25 units
    // The turned text gets its own font with escapement 900, deleted after.
    const auto rotated = std::find_if(records.begin(), records.end(),
                                      [&](const Record& r) { return r.type == 82 && i32At(b, r.at + 20) == 900; });
    ASSERT_NE(rotated, records.end());
    EXPECT_EQ(i32At(b, texts[1].at + 36), 2000);  // align 0 at 90 degrees: at the point
    EXPECT_EQ(i32At(b, texts[1].at + 40), 6000);
}

TEST(TextOrigin, AlignmentsAndAngles) {
    // A text 100 x 20 at (500, 500).
    auto at = [](int align, double angle) { return textOrigin(500, 500, align, angle, 100, 20); };
    EXPECT_DOUBLE_EQ(at(0, 0).x, 500);
    EXPECT_DOUBLE_EQ(at(4, 0).x, 450);  // centred both ways
    EXPECT_DOUBLE_EQ(at(4, 0).y, 490);
    EXPECT_DOUBLE_EQ(at(8, 0).x, 400);  // bottom-right corner at the point
    EXPECT_DOUBLE_EQ(at(8, 0).y, 480);
    EXPECT_DOUBLE_EQ(at(0, 90).x, 500);  // no offset to turn
    EXPECT_DOUBLE_EQ(at(0, 90).y, 500);
    // Bottom-centre turned 90: the text runs up the page, its bottom at the point.
    EXPECT_NEAR(at(5, 90).x, 480, 1e-9);
    EXPECT_NEAR(at(5, 90).y, 550, 1e-9);
}

TEST(DecodeText, Utf8OrWindows1252) {
    EXPECT_EQ(decodeText("Az 12"), u"Az 12");
    EXPECT_EQ(decodeText("10\xC2\xB0"), u"10\u00B0");           // UTF-8 degree sign
    EXPECT_EQ(decodeText("10\xB0"), u"10\u00B0");               // Windows-1252 degree sign
    EXPECT_EQ(decodeText("\x80 5"), u"\u20AC 5");               // Windows-1252 euro
    EXPECT_EQ(decodeText(std::string("a\0b", 3)), std::u16string(u"a\0b", 3));
}

}  // namespace
}  // namespace crv::common
