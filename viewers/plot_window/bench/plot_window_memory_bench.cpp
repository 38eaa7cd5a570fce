// Benchmark: paging through a long run. A list of N pages (default 1,500, as
// large runs give) of the sample interference plot is paged through once, as
// the window does it: each page built when shown, its screen picture rendered
// at 1.5 device pixels per pixel, only the kept pages' pictures held. Prints
// the peak resident memory and the time; no pass or fail. The target: well
// under 1 GB for any run.
#include "crv/common/drawing/qt/qt_output.h"
#include "crv/viewers/plot_window_controller.h"
#include "crv50.h"

#include <QGuiApplication>
#include <QImage>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <set>

#include <sys/resource.h>

using namespace crv::common;
using namespace crv::viewers;

namespace {

class Silent : public MessagePresenter {
public:
    MessageAnswer present(const Message& m) override {
        std::fprintf(stderr, "%s\n", m.text.c_str());
        return MessageAnswer::Ok;
    }
};

double peakMb() {
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return u.ru_maxrss / 1024.0;
}

}  // namespace

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    const int pages = argc > 1 ? std::atoi(argv[1]) : 1500;
    const std::string folder = CRV_PLOT_DATA;
    std::vector<std::string> names(static_cast<std::size_t>(pages), "ils_07____A2.plt");
    PlotWindowController c;
    c.setList(folder, names);
    PlotBuildContext ctx;
    ctx.geodesy = {&::DistLL, &::LLDist};
    // A page picture of a laptop screen scaled by 1.5: 1000 x 1309 pixels
    // shown, 1500 x 1963 device pixels drawn.
    const PlotSurface surface{1500, 1963};
    std::map<std::uint64_t, QImage> images;
    Silent presenter;
    const auto start = std::chrono::steady_clock::now();
    const double before = peakMb();
    do {
        if (!c.ShowPlotPage(
                [&](int n) { return buildPlotPage(folder, c.page(n).FileName, false, false, false, surface, ctx); },
                presenter))
            return 1;
        const PlotPage& p = c.currentPage();
        images.emplace(p.buildId, renderPicture(p.picture, p.surface));
        std::set<std::uint64_t> live;
        for (int n = 1; n <= c.PlotCount(); ++n)
            if (c.page(n).Built) live.insert(c.page(n).buildId);
        for (auto it = images.begin(); it != images.end();)
            it = live.count(it->first) ? std::next(it) : images.erase(it);
    } while (c.next());
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf(
        "%d pages paged through in %.1f s; peak resident memory %.0f MB (%.0f MB before the first page); "
        "%zu pictures kept\n",
        pages, seconds, peakMb(), before, images.size());
    return 0;
}
