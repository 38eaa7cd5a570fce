#include "crv/viewers/report_print.h"

#include <algorithm>
#include <cmath>

#include "crv/viewers/report_pages.h"

namespace crv::viewers {

std::vector<PrintedPage> printedPages(std::string_view text, int fromPage, int toPage) {
    std::vector<PrintedPage> out;
    const ReportPages pages = ReportPages::paginate(text, kPrintedLinesPerPage);
    for (int number = std::max(fromPage, 1); number <= std::min(toPage, pages.pageCount()); ++number)
        out.push_back({number, pages.pageLines(text, number)});
    return out;
}

std::string footerHeader(const std::string& fileName) { return " File:  " + fileName; }

std::string footerPage(int number) { return "Page " + std::to_string(number) + " "; }

PrintGeometry printGeometry(double dpiX, double dpiY, double pageWidth, double pageHeight,
                            double offX, double offY) {
    // nearbyint rounds halves to even in the default rounding mode.
    const auto r = [](double v) { return static_cast<int>(std::nearbyint(v)); };
    const double marginX = std::nearbyint(std::max(0.85 * dpiX, offX));
    const double marginY = std::nearbyint(std::max(dpiY, offY));
    PrintGeometry g;
    g.left = r(marginX - offX);
    g.right = r(pageWidth - offX - marginX);
    g.top = r(marginY - offY);
    g.lineHeight = r((pageHeight - 2 * marginY) / kPrintedLinesPerPage);
    g.footerY = r((pageHeight - offY) - marginY / 2 - g.lineHeight);
    return g;
}

}  // namespace crv::viewers
