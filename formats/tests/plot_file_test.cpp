#include "crv/formats/plot_file.h"

#include <gtest/gtest.h>

#include "test_support.h"

using namespace crv::formats;
using crv::test::readBytes;

namespace {
PlotHeader sampleHeader(const char* fileName, const char* t1, const char* t2, float runway) {
    PlotHeader h;
    h.airspaceCase = "TEST CASE";
    h.site = "Springfield Muni";
    h.date = "12/09/26";
    h.fileName = fileName;
    h.title1 = t1;
    h.title2 = t2;
    h.headingDeg = 275;
    h.frequencyMHz = 108.1f;
    h.fieldElevationFt = 650;
    h.runwayLengthFt = runway;
    h.serviceVolumeType = 0;
    h.navaidId = "ISP";
    h.gridType = 1;
    h.gridAltitudeFt = 2000;
    h.gridAngleDeg = 95;
    return h;
}
}  // namespace

TEST(PlotFile, ReceiverPointFileIsByteExact) {
    const std::string path = crv::test::scratchFolder("plx") + "Rcvr_Loc.plx";
    RecordWriter w;
    ASSERT_TRUE(w.open(path));
    w.writeHeader(sampleHeader("Rcvr_Loc.plx", "ISP receiver points", "", 9000));
    w.writeRecord(encodeReceiverPoint({0, 10.5f, 270.25f, 2006.8f, 38.5f, 77.25f, -62.5f}));
    w.writeRecord(encodeReceiverPoint({3, 1.25f, 45.0f, 1506.8f, 38.52f, 77.2f, -70.0f}));
    w.writeRecord(encodeReceiverPoint({kSectionEnd, 0, 0, 0, 0, 0, 0}));
    ASSERT_TRUE(w.close());
    EXPECT_EQ(readBytes(path), readBytes(CRV_TEST_DATA "receiver_points.plx"));
}

TEST(PlotFile, InterferencePlotFileIsByteExactWithRoundingAndSaturation) {
    const std::string path = crv::test::scratchFolder("plt") + "01____A2.plt";
    RecordWriter w;
    ASSERT_TRUE(w.open(path));
    w.writeHeader(sampleHeader("01____A2.plt", "A2 interference", "from WAAA", 8000));
    // 12.5 dB rounds away from zero; 359.5 degrees is stored as -0.5 x 100.
    w.writeRecord(encodeInterferencePoint(makeInterferencePoint(12.5, 10.5, 359.5, 2000.5, -3.5f)));
    // 400 nmi and -40000 ft do not fit 16 bits: they saturate, never wrap.
    w.writeRecord(encodeInterferencePoint(makeInterferencePoint(-2.5, 400.0, 90.0, -40000.0, 0.0f)));
    w.writeRecord(encodeInterferencePoint(sectionEndPoint()));
    ASSERT_TRUE(w.close());
    EXPECT_EQ(readBytes(path), readBytes(CRV_TEST_DATA "interference.plt"));
}

TEST(PlotFile, ReaderReadsBackHeaderAndPoints) {
    RecordReader r;
    ASSERT_TRUE(r.open(CRV_TEST_DATA "receiver_points.plx"));
    std::string error;
    auto h = readPlotHeader(r, error);
    ASSERT_TRUE(h) << error;
    EXPECT_EQ(h->fileName, "Rcvr_Loc.plx");
    EXPECT_EQ(h->navaidId, "ISP");
    EXPECT_FLOAT_EQ(h->runwayLengthFt, 9000);
    EXPECT_EQ(h->gridType, 1);
    int points = 0;
    while (auto rec = r.next()) {
        auto p = decodeReceiverPoint(*rec);
        ASSERT_TRUE(p);
        if (p->id == kSectionEnd) break;
        ++points;
    }
    EXPECT_EQ(points, 2);
    EXPECT_FALSE(r.damaged());
}

TEST(PlotFile, DamagedFilesAreReportedNotReadPast) {
    const std::string good = readBytes(CRV_TEST_DATA "interference.plt");
    const std::string dir = crv::test::scratchFolder("damaged");
    struct Case {
        const char* name;
        std::string bytes;
    } cases[] = {
        {"truncated", good.substr(0, good.size() - 6)},
        {"trailer", [&] {
             std::string b = good;
             b[b.size() - 1] = 0x7f;  // last trailing length marker
             return b;
         }()},
        {"huge-length", std::string("\xff\xff\xff\x7f", 4) + "abc"},
        {"half-marker", std::string("\x02\x00", 2)},
    };
    for (const auto& c : cases) {
        const std::string path = dir + c.name;
        crv::test::writeBytes(path, c.bytes);
        RecordReader r;
        ASSERT_TRUE(r.open(path));
        int records = 0;
        while (r.next()) ++records;
        EXPECT_TRUE(r.damaged()) << c.name;
        EXPECT_LT(records, 22) << c.name;
    }
}

TEST(PlotFile, SaturationAndRounding) {
    struct Case {
        double in;
        std::int16_t out;
    } cases[] = {{0.5, 1}, {-0.5, -1}, {1.49, 1}, {32766.6, 32767}, {1e9, 32767}, {-1e9, -32767}, {40000, 32767}};
    for (const auto& c : cases) EXPECT_EQ(saturate16(c.in), c.out) << c.in;
}
