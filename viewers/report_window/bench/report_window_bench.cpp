// Opens a 10,000-page report in the report viewer's window (offscreen) the
// way DisplayReports does (font, window size, read, page index, first page
// shown) and then shows every page in turn, timing both.
#include "crv/viewers/report_window/qt/frm_report.h"

#include <QApplication>
#include <QLabel>
#include <QPlainTextEdit>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    namespace fs = std::filesystem;
    using clock = std::chrono::steady_clock;
    const fs::path dir = fs::temp_directory_path() / "crv_report_window_bench";
    fs::create_directories(dir);
    {
        std::ofstream out(dir / "Rfi.txt", std::ios::binary);
        const std::string line(78, 'x');
        for (int page = 0; page < 10000; ++page) {
            for (int l = 0; l < 55; ++l) out << line << "\r\n";
            out << "\f\r\n";
        }
    }
    crv::viewers::ReportViewerServices services;
    crv::viewers::frmReport window(services);
    const auto t0 = clock::now();
    window.setReports(dir.string() + "/", "Rfi.txt");
    window.ChooseScreenFont();
    window.SizeReportWindow();
    window.LoadFile();
    const auto t1 = clock::now();
    const int pages = window.controller().PageCount();
    double worst = 0;
    for (int p = 2; p <= pages; ++p) {
        const auto a = clock::now();
        window.cmdNextPage_Click();
        worst = std::max(worst, std::chrono::duration<double, std::milli>(clock::now() - a).count());
    }
    const auto t2 = clock::now();
    const auto ms = [](auto d) { return std::chrono::duration<double, std::milli>(d).count(); };
    std::printf(
        "report of %d screen pages (%d lines a page, %.1f MB): open %.1f ms; every page %.3f ms on "
        "average, %.3f ms at most (%s)\n",
        pages, window.controller().LinesPerPage(), window.controller().text().size() / 1e6, ms(t1 - t0),
        ms(t2 - t1) / std::max(1, pages - 1), worst, window.pageLabel()->text().toUtf8().constData());
    fs::remove_all(dir);
    return pages >= 10000 ? 0 : 1;
}
