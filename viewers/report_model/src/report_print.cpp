#include "crv/viewers/report_print.h"

#include <algorithm>
#include <cmath>

#include "crv/viewers/report_pages.h"

namespace crv::viewers {

std::vector<PrintedPage> printedPages(std::string_view text, int fromPage, int toPage) {
    std::vector<PrintedPage> out;
    std::size_t pos = 0;
    int number = 0;
    while (pos < text.size()) {
        PrintedPage page;
        while (pos < text.size() && static_cast<int>(page.lines.size()) < kPrintedLinesPerPage) {
            const std::string_view line = nextLine(text, pos);
            if (!line.empty() && line[0] == kFormFeed) break;
            page.lines.emplace_back(line);
        }
        if (page.lines.empty()) continue;  // form feed at the top: no page
        page.number = ++number;
        if (number > toPage) break;
        if (number >= fromPage) out.push_back(std::move(page));
    }
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
