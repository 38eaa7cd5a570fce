// Benchmark: an interference plot of 1,000,000 points (written with the
// engine's own file unit), its page built into a recording and the screen
// picture redrawn at screen size. Levels fall off with distance, with a
// little scatter, as real pages do. Prints the times; no pass or fail.
// CRV_BENCH_REDRAWS=N redraws N times first (for a profiler).
#include "crv/common/drawing/qt/qt_output.h"
#include "crv/formats/plot_file.h"
#include "crv/viewers/plot_builders.h"

#include <QGuiApplication>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <filesystem>

using namespace crv::common;
using namespace crv::viewers;
using Clock = std::chrono::steady_clock;

static double msSince(Clock::time_point t) {
    return std::chrono::duration<double, std::milli>(Clock::now() - t).count();
}

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    const int count = argc > 1 ? std::atoi(argv[1]) : 1000000;
    const auto dir = std::filesystem::temp_directory_path() / "crv_plot_bench";
    std::filesystem::create_directories(dir);
    crv::formats::PlotHeader h;
    h.airspaceCase = "BENCH";
    h.fileName = "07____A2.plt";
    h.headingDeg = 275;
    h.frequencyMHz = 108.1f;
    h.fieldElevationFt = 420;
    h.runwayLengthFt = 9000;
    h.serviceVolumeType = 1;
    h.gridType = 8;  // both panels draw every point
    crv::formats::RecordWriter w;
    if (!w.open((dir / "bench.plt").string())) return 1;
    w.writeHeader(h);
    for (int i = 0; i < count; ++i) {
        const double d = 0.5 + 17.0 * (i % 1000) / 1000.0;
        const double a = 275 - 30 + 60.0 * (i / 1000 % 1000) / 1000.0;
        w.writeRecord(crv::formats::encodeInterferencePoint(
            crv::formats::makeInterferencePoint(45 - 2.5 * d, d, a, 1000 + i % 3000, 0)));
    }
    w.writeRecord(crv::formats::encodeInterferencePoint(crv::formats::sectionEndPoint()));
    if (!w.close()) return 1;

    const PlotSurface screen{1200, 1600};
    auto t0 = Clock::now();
    auto plot = BeginPlot(screen, true, "bench");
    auto page = PlotSimulationFile(*plot, dir.string(), "bench.plt", LevelBands{});
    if (!page) {
        std::fprintf(stderr, "%s\n", page.error().c_str());
        return 1;
    }
    PlotOutput out = EndPlot(std::move(plot));
    const double build = msSince(t0);

    if (std::getenv("CRV_BENCH_REDRAWS"))
        for (int i = std::atoi(std::getenv("CRV_BENCH_REDRAWS")); i > 0; --i) renderPicture(out.picture, screen);
    t0 = Clock::now();
    QImage img = renderPicture(out.picture, screen);
    const double redraw = msSince(t0);
    t0 = Clock::now();
    const PlotSurface window{750, 1000};
    QImage small = renderPicture(out.picture, window);
    const double redrawSmall = msSince(t0);

    std::printf("points:                 %d (drawn in both panels)\n", count);
    std::printf("page build (file read, screen + metafile recordings): %.0f ms\n", build);
    std::printf("recorded commands:      screen %zu, metafile %zu, %zu bytes each\n", out.picture.commands.size(),
                out.metafile->recording.commands.size(), sizeof(Command));
    std::printf("redraw at %dx%d:        %.0f ms\n", screen.widthPx, screen.heightPx, redraw);
    std::printf("redraw at %dx%d:         %.0f ms (a whole page on a 1080-line screen)\n", window.widthPx,
                window.heightPx, redrawSmall);
    std::filesystem::remove_all(dir);
    return img.isNull() || small.isNull() ? 1 : 0;
}
