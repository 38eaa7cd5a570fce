// Every label of a page can be read: the value labels of an axis never run
// into each other, on any plot kind, on the screen and on letter or A4 paper;
// the facility map's identifiers stand upright and clear of the symbols.
// Boxes are measured from the recordings with the installed fonts, as the
// targets place text, not read off pixels.
#include "crv/common/drawing/qt/qt_output.h"
#include "crv/common/drawing/text_layout.h"
#include "crv/formats/plot_file.h"
#include "crv/viewers/plot_builders.h"
#include "crv50.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <filesystem>
#include <functional>
#include <map>
#include <tuple>

#include <unistd.h>

using namespace crv::common;
using namespace crv::viewers;
namespace fs = std::filesystem;

namespace {

const std::string kData = CRV_PLOT_DATA;
const Geodesy kGeodesy{&::DistLL, &::LLDist};

// A target the recording is played on, in device pixels.
struct Target {
    const char* name;
    double widthPx, heightPx;
};

// The 7.5 x 10 inch page as printed at 300 dpi inside half-inch margins, kept
// in its proportions: on letter it fills 7.5 x 10 inches; on A4 (8.27 x 11.69)
// the width limits it to 7.27 x 9.69 inches.
constexpr Target kLetter{"letter", 2250, 3000};
constexpr Target kA4{"A4", 7.27 * 300, 7.27 / 7.5 * 10 * 300};

struct Box {
    std::array<double, 4> xs, ys;  // corners, turned with the text
};

struct Label {
    rec::Text text;
    Box box;
};

// Each text of a recording with the box it covers on the target: the font's
// em height follows the page's vertical scale in whole pixels, as the player
// sets it.
std::vector<Label> labelsOf(const Recording& r, const Target& t) {
    const double sx = t.widthPx / kPageWidth, sy = t.heightPx / kPageHeight;
    const QtTextMetrics metrics;
    Font font;
    std::vector<Label> out;
    for (const Command& c : r.commands) {
        if (const auto* f = std::get_if<rec::SelectFont>(&c)) font = f->font;
        const auto* text = std::get_if<rec::Text>(&c);
        if (!text) continue;
        const double emPx = std::max(1.0, std::round(std::fabs(double(font.height)) * sy));
        const TextExtent e = metrics.measure(font, emPx, decodeText(text->text));
        const TextOrigin o =
            textOrigin(text->anchor.x * sx, text->anchor.y * sy, text->align, text->angleDeg, e.width, e.height);
        const double a = text->angleDeg * M_PI / 180, ca = std::cos(a), sa = std::sin(a);
        Box b;
        const double dx[4] = {0, e.width, e.width, 0}, dy[4] = {0, 0, e.height, e.height};
        for (int i = 0; i < 4; ++i) {
            b.xs[i] = o.x + dx[i] * ca + dy[i] * sa;
            b.ys[i] = o.y - dx[i] * sa + dy[i] * ca;
        }
        out.push_back({*text, b});
    }
    return out;
}

// Whether two unturned boxes share more than an edge.
bool overlap(const Box& a, const Box& b) {
    const auto [ax0, ax1] = std::minmax_element(a.xs.begin(), a.xs.end());
    const auto [ay0, ay1] = std::minmax_element(a.ys.begin(), a.ys.end());
    const auto [bx0, bx1] = std::minmax_element(b.xs.begin(), b.xs.end());
    const auto [by0, by1] = std::minmax_element(b.ys.begin(), b.ys.end());
    return *ax0 < *bx1 && *bx0 < *ax1 && *ay0 < *by1 && *by0 < *ay1;
}

// The labels of one axis share their line: a row under or over a horizontal
// axis (centred on the tick, one anchor y), a column beside a vertical one
// (one anchor x, left or right aligned). Returns the overlapping pairs.
std::vector<std::string> axisCollisions(const Recording& r, const Target& t) {
    std::map<std::tuple<char, int, int>, std::vector<Label>> rows;
    for (const Label& l : labelsOf(r, t)) {
        if (l.text.angleDeg != 0) continue;
        const int align = l.text.align;
        if (align == 3 || align == 5) rows[{'x', l.text.anchor.y, align}].push_back(l);
        if (align == 1 || align == 7) rows[{'y', l.text.anchor.x, align}].push_back(l);
    }
    std::vector<std::string> found;
    for (const auto& [key, labels] : rows)
        for (std::size_t i = 0; i < labels.size(); ++i)
            for (std::size_t j = i + 1; j < labels.size(); ++j)
                if (overlap(labels[i].box, labels[j].box))
                    found.push_back("\"" + labels[i].text.text + "\" and \"" + labels[j].text.text + "\" on " + t.name);
    return found;
}

// A plot file of a service-volume type, made from the ILS sample's header with
// a few points, so every navaid type gets its own axes.
class AllPlotKinds : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() / ("plot_labels_" + std::to_string(::getpid()));
        fs::create_directories(dir_);
    }
    void TearDown() override { fs::remove_all(dir_); }

    std::string simulationFile(int svType, float comRadius) {
        crv::formats::RecordReader reader;
        EXPECT_TRUE(reader.open(kData + "ils_07____A2.plt"));
        std::string error;
        auto h = crv::formats::readPlotHeader(reader, error);
        EXPECT_TRUE(h) << error;
        h->serviceVolumeType = std::int16_t(svType);
        h->gridType = 8;
        h->serviceVolumeRadiusNmi = comRadius;
        h->serviceVolumeHeightFt = 10000;
        const std::string name = "sv" + std::to_string(svType) + "_" + std::to_string(int(comRadius)) + ".plt";
        crv::formats::RecordWriter w;
        EXPECT_TRUE(w.open((dir_ / name).string()));
        w.writeHeader(*h);
        for (int i = 1; i <= 5; ++i)
            w.writeRecord(crv::formats::encodeInterferencePoint(
                crv::formats::makeInterferencePoint(3 * i, 2.0 * i, 270 + 10 * i, 1500, 0)));
        w.writeRecord(crv::formats::encodeInterferencePoint(crv::formats::sectionEndPoint()));
        EXPECT_TRUE(w.close());
        return name;
    }
    fs::path dir_;
};

using Drawer = std::function<void(Plot&)>;

void expectReadableAxes(const std::string& what, const Drawer& draw) {
    // The screen picture at 1 and 1.5 device pixels per pixel, and the
    // metafile on both papers.
    for (const PlotSurface s : {PlotSurface{750, 1000}, PlotSurface{1125, 1500}}) {
        auto plot = BeginPlot(s, true, "Corvane");
        draw(*plot);
        const PlotOutput out = EndPlot(std::move(plot));
        const Target screen{"screen", double(s.widthPx), double(s.heightPx)};
        for (const auto& c : axisCollisions(out.picture, screen)) ADD_FAILURE() << what << ": " << c;
        for (const Target& paper : {kLetter, kA4})
            for (const auto& c : axisCollisions(out.metafile->recording, paper)) ADD_FAILURE() << what << ": " << c;
    }
}

TEST_F(AllPlotKinds, AxisLabelsNeverOverlap) {
    // ILS 0-3, TLS 4, VOR 5-7, COM 8 with small and large service volumes.
    const std::vector<std::pair<int, float>> types{{0, 0}, {1, 0},  {2, 0},  {3, 0},  {4, 0},   {5, 0},   {6, 0},
                                                   {7, 0}, {8, 25}, {8, 50}, {8, 60}, {8, 100}, {8, 120}, {8, 200}};
    for (const auto& [sv, radius] : types) {
        const std::string file = simulationFile(sv, radius);
        expectReadableAxes(file,
                           [&](Plot& p) { ASSERT_TRUE(PlotSimulationFile(p, dir_.string(), file, LevelBands{})); });
    }
    for (const char* file : {"ils_07____A2.plt", "vor_01__A2B2.plt", "com_01____B2.plt", "Rcvr_Loc.plx"})
        expectReadableAxes(file, [&](Plot& p) { ASSERT_TRUE(PlotSimulationFile(p, kData, file, LevelBands{})); });
    for (const auto& [file, polar] :
         {std::pair{"LocHorU.ptx", true}, std::pair{"LocHorU.ptx", false}, std::pair{"FmVrt00.ptx", false}})
        for (const bool db : {true, false})
            expectReadableAxes(file, [&, file = file, polar = polar](Plot& p) {
                ASSERT_TRUE(PlotAntennaPattern(p, kData, file, polar, db));
            });
    expectReadableAxes("nav@QKV.plt", [&](Plot& p) {
        ASSERT_TRUE(PlotFacilityLocations(p, kData, "nav@QKV.plt", "QKV LOC 27", kGeodesy));
    });
    for (const char* file : {"Rfi.plt", "fm@QVT.plt"})
        expectReadableAxes(file, [&](Plot& p) { ASSERT_TRUE(PlotEmitterLocations(p, kData, file, kGeodesy)); });
}

// Segments of a box's outline against a line segment.
bool segmentsCross(double ax, double ay, double bx, double by, double cx, double cy, double dx, double dy) {
    auto side = [](double px, double py, double qx, double qy, double rx, double ry) {
        return (qx - px) * (ry - py) - (qy - py) * (rx - px);
    };
    const double d1 = side(cx, cy, dx, dy, ax, ay), d2 = side(cx, cy, dx, dy, bx, by);
    const double d3 = side(ax, ay, bx, by, cx, cy), d4 = side(ax, ay, bx, by, dx, dy);
    return ((d1 > 0) != (d2 > 0)) && ((d3 > 0) != (d4 > 0));
}

bool insideBox(const Box& b, double x, double y) {
    bool in = false;
    for (int i = 0, j = 3; i < 4; j = i++)
        if ((b.ys[i] > y) != (b.ys[j] > y) && x < (b.xs[j] - b.xs[i]) * (y - b.ys[i]) / (b.ys[j] - b.ys[i]) + b.xs[i])
            in = !in;
    return in;
}

bool boxMeetsSegment(const Box& b, double x0, double y0, double x1, double y1) {
    if (insideBox(b, x0, y0) || insideBox(b, x1, y1)) return true;
    for (int i = 0, j = 3; i < 4; j = i++)
        if (segmentsCross(b.xs[j], b.ys[j], b.xs[i], b.ys[i], x0, y0, x1, y1)) return true;
    return false;
}

// The localizer identifiers of the facility map: QKV lies 1.5 nmi from the
// centre with its course 275 (its text would cover the centre cross), QTA has
// course 095 (its text turned by 175 degrees would stand on its head).
TEST(FacilityMapIdentifiers, UprightAndClearOfTheirSectorAndTheCross) {
    auto plot = BeginPlot({750, 1000}, true, "Corvane");
    auto page = PlotFacilityLocations(*plot, kData, "nav@QKV.plt", "QKV LOC 27", kGeodesy);
    ASSERT_TRUE(page) << page.error();
    const PlotOutput out = EndPlot(std::move(plot));
    const double nmiToPage = 5.75 / 140 * 1000;  // the 140 nmi square is 5.75 in; 1000 page units an inch
    const double cx = (1.2 + 2.875 - 0.5) * 1000, cy = (1.75 + 2.875 - 0.5) * 1000;  // the map centre
    for (const auto& [recording, target] :
         {std::pair{&out.picture, Target{"screen", 750, 1000}}, std::pair{&out.metafile->recording, kLetter}}) {
        const double sx = target.widthPx / kPageWidth, sy = target.heightPx / kPageHeight;
        // The segments each localizer drew before its identifier: its outline.
        std::vector<std::array<double, 4>> since;
        PagePoint at{};
        int seen = 0;
        const auto labels = labelsOf(*recording, target);
        std::size_t next = 0;
        for (const Command& c : recording->commands) {
            if (const auto* m = std::get_if<rec::MoveTo>(&c)) at = m->to;
            if (const auto* l = std::get_if<rec::LineTo>(&c)) {
                since.push_back({at.x * sx, at.y * sy, l->to.x * sx, l->to.y * sy});
                at = l->to;
            }
            if (!std::holds_alternative<rec::Text>(c)) continue;
            const Label& label = labels[next++];
            if (label.text.text == "QKV" || label.text.text == "QTA") {
                ++seen;
                EXPECT_GT(label.text.angleDeg, -90.0) << label.text.text << " stands on its head";
                EXPECT_LE(label.text.angleDeg, 90.0) << label.text.text << " stands on its head";
                std::vector<std::array<double, 4>> segments = since;
                const double arm = 5 * nmiToPage;
                segments.push_back({(cx - arm) * sx, cy * sy, (cx + arm) * sx, cy * sy});
                segments.push_back({cx * sx, (cy - arm) * sy, cx * sx, (cy + arm) * sy});
                for (const auto& s : segments)
                    EXPECT_FALSE(boxMeetsSegment(label.box, s[0], s[1], s[2], s[3]))
                        << label.text.text << " on " << target.name << " covers the line from (" << s[0] << ", " << s[1]
                        << ") to (" << s[2] << ", " << s[3] << ")";
            }
            since.clear();
        }
        EXPECT_EQ(seen, 2) << target.name;
    }
}

// The numbers of the RF sources stand clear of the cross at the centre of a
// VOR's emitter map (source 4 lies on it).
TEST(EmitterMapLabels, ClearOfTheCentreCross) {
    auto plot = BeginPlot({750, 1000}, true, "Corvane");
    auto page = PlotEmitterLocations(*plot, kData, "fm@QVT.plt", kGeodesy);
    ASSERT_TRUE(page) << page.error();
    const double R = page->panel.DataRect.xmax;
    const PlotOutput out = EndPlot(std::move(plot));
    const double arm = R / 20 * 5.75 / (2 * R) * 1000;  // page units
    const double cx = 3575, cy = 4125;                  // the map centre
    for (const auto& [recording, target] :
         {std::pair{&out.picture, Target{"screen", 750, 1000}}, std::pair{&out.metafile->recording, kLetter}}) {
        const double sx = target.widthPx / kPageWidth, sy = target.heightPx / kPageHeight;
        int numbers = 0;
        for (const Label& l : labelsOf(*recording, target)) {
            if (l.text.text.empty() || l.text.text.find_first_not_of("0123456789") != std::string::npos) continue;
            ++numbers;
            EXPECT_FALSE(boxMeetsSegment(l.box, (cx - arm) * sx, cy * sy, (cx + arm) * sx, cy * sy) ||
                         boxMeetsSegment(l.box, cx * sx, (cy - arm) * sy, cx * sx, (cy + arm) * sy))
                << "source " << l.text.text << " covers the centre cross on " << target.name;
        }
        EXPECT_EQ(numbers, 4) << target.name;
    }
}

}  // namespace
