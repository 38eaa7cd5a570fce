// Each page drawn from files the engine wrote for the sample cases, compared
// with its recording kept as text; the screen picture of each page is saved
// for review. A changed page is left in the build tree as
// golden-candidates/plots/NAME.txt; the goldens are written only with
// CRV_UPDATE_GOLDENS=1 (viewers/plots/README.md).
#include "crv/testing/golden.h"
#include "crv/common/drawing/qt/qt_output.h"
#include "crv/testing/scoped_env.h"
#include "crv/viewers/plot_builders.h"
#include "crv50.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

using namespace crv::common;
using namespace crv::viewers;

namespace {

const std::string kData = CRV_PLOT_DATA;

std::string dump(const Recording& r) {
    std::ostringstream o;
    for (const Command& c : r.commands) {
        std::visit(
            [&](const auto& v) {
                using T = std::decay_t<decltype(v)>;
                if constexpr (std::is_same_v<T, rec::SelectPen>)
                    o << "pen " << std::hex << v.pen.colour << std::dec << " " << v.pen.width << "\n";
                else if constexpr (std::is_same_v<T, rec::SelectFont>)
                    o << "font " << v.font.face << " " << v.font.height << "\n";
                else if constexpr (std::is_same_v<T, rec::SetTextColour>)
                    o << "textcolour " << std::hex << v.colour << std::dec << "\n";
                else if constexpr (std::is_same_v<T, rec::MoveTo>)
                    o << "move " << v.to.x << " " << v.to.y << "\n";
                else if constexpr (std::is_same_v<T, rec::LineTo>)
                    o << "line " << v.to.x << " " << v.to.y << "\n";
                else if constexpr (std::is_same_v<T, rec::Text>)
                    o << "text " << v.anchor.x << " " << v.anchor.y << " " << v.align << " " << v.angleDeg << " "
                      << v.text << "\n";
                else if constexpr (std::is_same_v<T, rec::Marks>) {
                    for (const PagePoint& p : v.points) o << "mark " << v.text << " " << p.x << " " << p.y << "\n";
                } else if constexpr (std::is_same_v<T, rec::Fill>)
                    o << "fill " << std::hex << v.colour << std::dec << " " << v.seed.x << " " << v.seed.y << " "
                      << v.outline.size() << "\n";
            },
            c);
    }
    return o.str();
}

// A golden is only ever written when asked for (CRV_UPDATE_GOLDENS=1); a
// missing or unreadable golden is a failure, so a lost file cannot turn the
// comparison into a pass.
void compareWithGolden(const std::string& name, const PlotOutput& out) {
    ASSERT_TRUE(out.metafile);
    const std::string text = dump(out.metafile->recording);
    ASSERT_TRUE(crv::testing::matchesGolden(kData + "golden/" + name + ".txt", "plots/" + name + ".txt", text));
}

void savePicture(const std::string& name, const PlotOutput& out) {
    QDir().mkpath(CRV_SNAPSHOT_DIR);
    const QImage img = renderPicture(out.picture, out.surface);
    ASSERT_FALSE(img.isNull());
    EXPECT_TRUE(img.save(QString::fromStdString(std::string(CRV_SNAPSHOT_DIR) + name + ".png")));
}

constexpr PlotSurface kSurface{750, 1000};

PlotOutput simulationPage(const std::string& file) {
    auto plot = BeginPlot(kSurface, true, std::string("Corvane\0", 8) + file + std::string("\0\0", 2));
    auto page = PlotSimulationFile(*plot, kData, file, LevelBands{});
    EXPECT_TRUE(page) << page.error();
    return EndPlot(std::move(plot));
}

PlotOutput patternPage(const std::string& file, bool polar, bool db) {
    auto plot = BeginPlot(kSurface, true, std::string("Corvane\0", 8) + file + std::string("\0\0", 2));
    auto page = PlotAntennaPattern(*plot, kData, file, polar, db);
    EXPECT_TRUE(page) << page.error();
    return EndPlot(std::move(plot));
}

struct GoldenCase {
    const char* name;
    const char* file;
};

class SimulationGolden : public ::testing::TestWithParam<GoldenCase> {};

TEST_P(SimulationGolden, MatchesItsRecording) {
    const PlotOutput out = simulationPage(GetParam().file);
    savePicture(GetParam().name, out);
    compareWithGolden(GetParam().name, out);
}

INSTANTIATE_TEST_SUITE_P(Pages, SimulationGolden,
                         ::testing::Values(GoldenCase{"ils_interference", "ils_07____A2.plt"},
                                           GoldenCase{"vor_interference", "vor_01__A2B2.plt"},
                                           GoldenCase{"com_interference", "com_01____B2.plt"},
                                           GoldenCase{"receiver_points", "Rcvr_Loc.plx"}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(PatternGolden, PolarHorizontalLocalizerPattern) {
    const PlotOutput out = patternPage("LocHorU.ptx", true, true);
    savePicture("pattern_polar", out);
    compareWithGolden("pattern_polar", out);
}

TEST(PatternGolden, RectangularVerticalFmPattern) {
    const PlotOutput out = patternPage("FmVrt00.ptx", true, true);  // vertical: always rectangular
    savePicture("pattern_rectangular", out);
    compareWithGolden("pattern_rectangular", out);
}

const Geodesy kGeodesy{&::DistLL, &::LLDist};

PlotOutput mapPage(const std::string& file, bool facility) {
    auto plot = BeginPlot(kSurface, true, std::string("Corvane\0", 8) + file + std::string("\0\0", 2));
    auto page = facility ? PlotFacilityLocations(*plot, kData, file, "QKV LOC 27", kGeodesy)
                         : PlotEmitterLocations(*plot, kData, file, kGeodesy);
    EXPECT_TRUE(page) << page.error();
    return EndPlot(std::move(plot));
}

TEST(MapGolden, FacilityMap) {
    const PlotOutput out = mapPage("nav@QKV.plt", true);
    savePicture("facility_map", out);
    compareWithGolden("facility_map", out);
    // The facility with an unreadable latitude is left off; the others are labelled.
    const std::string text = dump(out.metafile->recording);
    for (const char* id : {" QKV\n", " QTA\n", " QVT\n", " QVH\n", " QCA\n", " LOC\n", " VOR\n", " COM\n",
                           "Note:  Localizer service volumes drawn to scale."})
        EXPECT_NE(text.find(id), std::string::npos) << id;
    EXPECT_EQ(text.find("QBD"), std::string::npos);
}

TEST(MapGolden, EmitterMapOfTheIlsRun) {
    const PlotOutput out = mapPage("Rfi.plt", false);
    savePicture("emitter_map_ils", out);
    compareWithGolden("emitter_map_ils", out);
    // The proponent's symbol and label are red in the metafile as on the screen.
    const std::string text = dump(out.metafile->recording);
    EXPECT_NE(text.find("pen ff 6"), std::string::npos);
    EXPECT_NE(text.find("textcolour ff"), std::string::npos);
}

TEST(MapGolden, EmitterMapOfAVorSearch) {
    const PlotOutput out = mapPage("fm@QVT.plt", false);
    savePicture("emitter_map_vor", out);
    compareWithGolden("emitter_map_vor", out);
}

// An emitter map names the case written in its file, whatever case the
// program has open.
TEST(MapGolden, EmitterMapsNameTheirOwnCase) {
    for (const auto& [file, line] : {std::pair{"fm@QVT.plt", "Airspace Case:  QVT VOR      Plot File:  fm@QVT.plt"},
                                     std::pair{"Rfi.plt", "Airspace Case:  QKV LOC 27      Plot File:  Rfi.plt"}}) {
        const PlotOutput out = mapPage(file, false);
        for (const Recording* r : {&out.picture, &out.metafile->recording}) {
            bool found = false;
            for (const Command& c : r->commands)
                if (const auto* t = std::get_if<rec::Text>(&c)) found = found || t->text == line;
            EXPECT_TRUE(found) << file;
        }
    }
}

// A golden that is not there fails the comparison and is not written: only
// the explicit regeneration writes goldens.
TEST(GoldenFiles, AMissingGoldenFailsAndIsNotWritten) {
    const crv::testing::ScopedEnv comparing("CRV_UPDATE_GOLDENS");
    static PlotOutput out;
    auto plot = BeginPlot(kSurface, true, std::string("Corvane\0Legend\0\0", 16));
    DrawLegend(*plot, LevelBands{});
    out = EndPlot(std::move(plot));
    const std::string golden = kData + "golden/no_such_page.txt";
    EXPECT_FATAL_FAILURE(compareWithGolden("no_such_page", out), "missing");
    EXPECT_FALSE(QFile::exists(QString::fromStdString(golden)));
}

TEST(Legend, DefaultBandsAndSavedPicture) {
    auto plot = BeginPlot(kSurface, true, std::string("Corvane\0Legend\0\0", 16));
    EXPECT_FALSE(DrawLegend(*plot, LevelBands{}));
    const PlotOutput out = EndPlot(std::move(plot));
    savePicture("legend", out);
    const std::string text = dump(out.metafile->recording);
    // Row 1: nav <= -99 and int <= 3; row 2: -99 < nav <= -93, 3 < int <= 6;
    // row 14: -27 < nav and 39 < int.
    for (const char* s : {" <= -99", " <= 3\n", "-99 < ", " <= -93", "3 < ", " <= 6\n", "-27 < ", "39 < "})
        EXPECT_NE(text.find(s), std::string::npos) << s;
    EXPECT_EQ(text.find(" <= -21"), std::string::npos);  // no 14th upper bound
}

TEST(EnhancedMetafile, IlsPageReadBackByAnIndependentReader) {
    const PlotOutput out = simulationPage("ils_07____A2.plt");
    QDir().mkpath(CRV_SNAPSHOT_DIR);
    const std::string emf = std::string(CRV_SNAPSHOT_DIR) + "ils_interference.emf";
    ASSERT_TRUE(SaveEnhMetafile(*out.metafile, emf));
    QTemporaryDir dir;
    const QString svg = dir.filePath("page.svg");
    QProcess conv;
    conv.start("emf2svg-conv", {"-i", QString::fromStdString(emf), "-o", svg});
    ASSERT_TRUE(conv.waitForFinished(60000));
    ASSERT_EQ(conv.exitCode(), 0) << conv.readAllStandardError().toStdString();
    QFile s(svg);
    ASSERT_TRUE(s.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(s.readAll());
    EXPECT_TRUE(text.contains("Corvane Plot"));
    EXPECT_TRUE(text.contains("Predicted Interference Areas"));
    EXPECT_TRUE(text.contains("Distance (nmi)"));
}

}  // namespace
