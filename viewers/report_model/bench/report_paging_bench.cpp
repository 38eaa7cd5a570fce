// Opens a 10,000-page report the way the viewer does (read, index the pages,
// show the first page) and then pages through all of it, timing both.
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "crv/viewers/report_files.h"
#include "crv/viewers/report_pages.h"

int main() {
    namespace fs = std::filesystem;
    using clock = std::chrono::steady_clock;
    const fs::path path = fs::temp_directory_path() / "crv_report_bench.txt";
    {
        std::ofstream out(path, std::ios::binary);
        std::string line(78, 'x');
        for (int page = 0; page < 10000; ++page) {
            for (int l = 0; l < 55; ++l) out << line << "\r\n";
            out << "\f\r\n";
        }
    }
    const auto t0 = clock::now();
    const auto text = crv::viewers::readReport(path.string());
    const auto pages = crv::viewers::ReportPages::paginate(*text, 55);
    const auto first = crv::viewers::pageText(pages.pageLines(*text, 1), 55);
    const auto t1 = clock::now();
    std::size_t chars = first.size();
    for (int p = 1; p <= pages.pageCount(); ++p) chars += pages.pageLines(*text, p).size();
    const auto t2 = clock::now();
    const auto ms = [](auto d) { return std::chrono::duration<double, std::milli>(d).count(); };
    std::printf("report of %d pages (%.1f MB): open %.1f ms, every page %.4f ms on average (%zu)\n",
                pages.pageCount(), text->size() / 1e6, ms(t1 - t0), ms(t2 - t1) / pages.pageCount(), chars);
    fs::remove(path);
    return pages.pageCount() == 10000 ? 0 : 1;
}
